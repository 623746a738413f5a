#include "catalog/ui/grid_view.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>
#include <set>

#include "catalog/table.h"
#include "catalog/ui/table_model.h"
#include "core/error.h"
#include "core/prompts.h"

namespace kvf {
namespace {

std::vector<std::string> Fields(const std::vector<TGridColumn>& columns) {
  std::vector<std::string> fields;
  for (const TGridColumn& c : columns) fields.push_back(c.field);
  return fields;
}

TGridKey KeyOf(int key) {
  switch (key) {
    case Qt::Key_Insert: return TGridKey::Insert;
    case Qt::Key_Delete: return TGridKey::Delete;
    case Qt::Key_C: return TGridKey::C;
    case Qt::Key_V: return TGridKey::V;
    case Qt::Key_B: return TGridKey::B;
    default: return TGridKey::Other;
  }
}

}  // namespace

TGridView::TGridView(TTable& table, const std::vector<TGridColumn>& columns, QWidget* parent)
    : QTableView(parent), table_(table), model_(std::make_unique<TTableModel>(table, Fields(columns))) {
  setModel(model_.get());
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setAlternatingRowColors(true);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  verticalHeader()->hide();
  const int charWidth = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  for (size_t i = 0; i < columns.size(); ++i) {
    const TGridColumn& c = columns[i];
    if (!c.caption.empty()) model_->setHeaderData(static_cast<int>(i), Qt::Horizontal, QString::fromStdString(c.caption));
    if (c.widthChars > 0)  // never narrower than its caption
      setColumnWidth(static_cast<int>(i), std::max(c.widthChars * charWidth + 12,
                                                   horizontalHeader()->sectionSizeHint(static_cast<int>(i))));
  }
  connect(model_.get(), &TTableModel::CurrentRowChanged, this, [this](int row) {
    if (row >= 0 && row < model_->rowCount()) {
      const QSignalBlocker block(selectionModel());
      // the marks stay while the table walks them (copying, deleting); a single row follows the cursor
      const auto how = MarkedRows().empty() ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                                            : QItemSelectionModel::NoUpdate;
      selectionModel()->setCurrentIndex(model_->index(row, std::max(currentIndex().column(), 0)), how);
    }
  });
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) model_->StandOn(current.row());
          });
}

TGridView::~TGridView() { setModel(nullptr); }

std::string TGridView::CurrentField() const {
  const int column = std::max(currentIndex().column(), 0);
  return column < model_->columnCount() ? model_->FieldAt(column) : std::string();
}

std::vector<int> TGridView::MarkedRows() const {
  const QModelIndexList rows = selectionModel()->selectedRows();
  if (rows.size() < 2) return {};  // one selected row is the current row, not a marking
  std::set<int> sorted;
  for (const QModelIndex& i : rows) sorted.insert(i.row());
  return {sorted.begin(), sorted.end()};
}

std::vector<TBookmark> TGridView::SelectedRows() {
  std::vector<TBookmark> rows;
  for (int pos : MarkedRows()) rows.push_back(table_.BookmarkAt(pos));
  return rows;
}

void TGridView::ClearMarks() { selectionModel()->clearSelection(); }

std::string TGridView::ClipboardText() const { return QApplication::clipboard()->text().toStdString(); }

void TGridView::SetClipboardText(const std::string& text) {
  QApplication::clipboard()->setText(QString::fromStdString(text));
}

void TGridView::PasteIntoEditor(const std::string& text) {
  if (auto* editor = qobject_cast<QLineEdit*>(indexWidget(currentIndex()))) editor->insert(QString::fromStdString(text));
  else if (auto* focused = qobject_cast<QLineEdit*>(QApplication::focusWidget())) focused->insert(QString::fromStdString(text));
}

void TGridView::keyPressEvent(QKeyEvent* event) {
  const TGridKeyState state{(event->modifiers() & Qt::ShiftModifier) != 0,
                            (event->modifiers() & Qt::ControlModifier) != 0,
                            this->state() == QAbstractItemView::EditingState};
  try {
    if (GridKeyAction(table_, *this, KeyOf(event->key()), state, handlers_)) {
      event->accept();
      return;
    }
  } catch (const EKvfError& e) {
    ShowError(e.what());
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

TRecordNavigator::TRecordNavigator(TTable& table, const std::vector<TButton>& buttons, QWidget* parent)
    : QWidget(parent), table_(table) {
  static const char* const kHints[] = {"Первая",   "Предыдущая",     "Следующая",          "Последняя",
                                       "Новая",    "Удалить",        "Редактировать",      "Записать изменения",
                                       "Отказаться от изменений", "Обновить экран"};
  static const char* const kGlyphs[] = {"|◀", "◀", "▶", "▶|", "+", "−", "✎", "✔", "✖", "↻"};
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  for (TButton b : buttons) {
    auto* button = new QToolButton(this);
    button->setText(QString::fromUtf8(kGlyphs[b]));
    button->setToolTip(QString::fromUtf8(kHints[b]));
    button->setAutoRaise(true);
    layout->addWidget(button);
    buttons_.emplace_back(b, button);
    connect(button, &QToolButton::clicked, this, [this, b] {
      try {
        switch (b) {
          case First: table_.First(); break;
          case Prior: table_.Prior(); break;
          case Next: table_.Next(); break;
          case Last: table_.Last(); break;
          case Insert: table_.Append(); break;
          case Delete:
            if (AskConfirm("Удалить запись?", false)) table_.Delete();
            break;
          case Edit: table_.Edit(); break;
          case Post: table_.Post(); break;
          case Cancel: table_.Cancel(); break;
          case Refresh: table_.Refresh(); break;
        }
      } catch (const EKvfError& e) {
        ShowError(e.what());
      }
      UpdateButtons();
    });
  }
  layout->addStretch();
  listener_ = table_.AddListener([this](const TTableChange&) { UpdateButtons(); });
  UpdateButtons();
}

TRecordNavigator::~TRecordNavigator() { table_.RemoveListener(listener_); }

QToolButton* TRecordNavigator::Button(TButton which) const {
  for (const auto& [b, button] : buttons_)
    if (b == which) return button;
  return nullptr;
}

void TRecordNavigator::UpdateButtons() {
  const bool active = table_.Active();
  const bool editing = active && (table_.State() == TDataSetState::Edit || table_.State() == TDataSetState::Insert);
  const bool editable = active && table_.Editable();
  const bool empty = !active || table_.ViewCount() == 0;
  for (const auto& [b, button] : buttons_) {
    bool on = active;
    switch (b) {
      case First:
      case Prior:
      case Next:
      case Last: on = active && !empty && !editing; break;
      case Insert: on = editable && !editing; break;
      case Delete: on = editable && !empty && !editing; break;
      case Edit: on = editable && !empty && !editing; break;
      case Post:
      case Cancel: on = editing; break;
      case Refresh: on = active && !editing; break;
    }
    button->setEnabled(on);
  }
}

}  // namespace kvf
