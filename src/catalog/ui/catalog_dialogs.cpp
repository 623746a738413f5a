#include "catalog/ui/catalog_dialogs.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "catalog/rec_clipboard.h"
#include "catalog/table.h"
#include "catalog/ui/grid_view.h"
#include "core/error.h"
#include "core/prompts.h"

namespace kvf {
namespace {

void RussianButtons(QDialogButtonBox* box) {
  if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) ok->setText("OK");
  if (QPushButton* cancel = box->button(QDialogButtonBox::Cancel)) cancel->setText(QString::fromUtf8("Отмена"));
}

}  // namespace

TCurrencyDlg::TCurrencyDlg(TTable& currency, const QString& caption, QWidget* parent)
    : QDialog(parent), table_(currency) {
  setWindowTitle(caption);
  grid_ = new TGridView(currency, {{"Name", "Валюта", 12}, {"Value", "Курс", 15}}, this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  RussianButtons(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_);
  layout->addWidget(buttons);
  resize(grid_->horizontalHeader()->length() + 60, 280);
}

void TCurrencyDlg::done(int result) {
  try {
    if (table_.State() == TDataSetState::Edit || table_.State() == TDataSetState::Insert) table_.Post();
  } catch (const EKvfError& e) {
    ShowError(e.what());
    return;  // the dialog stays open with the row to mend
  }
  QDialog::done(result);
}

TPriceGroupDlg::TPriceGroupDlg(TTable& priceGroups, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8("Справочник ценновых групп (скидки)"));
  auto* pages = new QTabWidget(this);
  auto* page = new QWidget(pages);
  navigator_ = new TRecordNavigator(
      priceGroups,
      {TRecordNavigator::First, TRecordNavigator::Prior, TRecordNavigator::Next, TRecordNavigator::Last,
       TRecordNavigator::Insert, TRecordNavigator::Delete, TRecordNavigator::Edit, TRecordNavigator::Post,
       TRecordNavigator::Cancel, TRecordNavigator::Refresh},
      page);
  grid_ = new TGridView(priceGroups, {{"GroupID", "Код группы", 10}, {"Name", "Наименование", 28},
                                      {"Reduce_1", "Скидка, %", 10}},
                        page);
  TTable* table = &priceGroups;
  TGridView* grid = grid_;
  grid_->KeyHandlers().onCtrlC = [table, grid] { CopyToRecClipBoard(table, nullptr, false, grid); };
  grid_->KeyHandlers().onCtrlV = [table] { PasteFromRecClipBoard(table); };
  auto* pageLayout = new QVBoxLayout(page);
  pageLayout->addWidget(navigator_);
  pageLayout->addWidget(grid_);
  pages->addTab(page, QString::fromUtf8("Группы скидок"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  RussianButtons(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages);
  layout->addWidget(buttons);
  resize(grid_->horizontalHeader()->length() + 70, 360);
}

}  // namespace kvf
