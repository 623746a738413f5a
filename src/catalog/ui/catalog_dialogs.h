#pragma once
// The two dialogs over the tables the user maintains in the catalog: the
// currency rates ("Курсы валют") and the price groups ("Справочник ценновых
// групп (скидки)"), both on the shared grid.
#include <QDialog>

namespace kvf {

class TTable;
class TGridView;
class TRecordNavigator;

class TCurrencyDlg : public QDialog {
 public:
  // `caption`: the main window passes the caption of its menu item.
  TCurrencyDlg(TTable& currency, const QString& caption, QWidget* parent = nullptr);
  TGridView& Grid() { return *grid_; }
  void done(int result) override;  // a row still being edited is posted, whichever button closed

 private:
  TTable& table_;
  TGridView* grid_;
};

class TPriceGroupDlg : public QDialog {
 public:
  explicit TPriceGroupDlg(TTable& priceGroups, QWidget* parent = nullptr);
  TGridView& Grid() { return *grid_; }
  TRecordNavigator& Navigator() { return *navigator_; }

 private:
  TGridView* grid_;
  TRecordNavigator* navigator_;
};

}  // namespace kvf
