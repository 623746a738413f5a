#pragma once
// TGridView: the data-aware grid of the program, a QTableView over a
// TTableModel. Clicking a row puts the table's cursor on it; the cursor moving
// elsewhere selects its row; multi-row selection marks rows for the record
// clipboard and for deleting; the shared grid keys (GridKeyAction) work on it.
// TRecordNavigator: the row of buttons that moves and edits the table.
#include <QTableView>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalog/grid_keys.h"
#include "catalog/rec_clipboard.h"

class QToolButton;

namespace kvf {

class TTable;
class TTableModel;

struct TGridColumn {
  std::string field;
  std::string caption;  // empty: the field name
  int widthChars = 0;   // 0: the field's own size
};

class TGridView : public QTableView, public TGridHost, public TGridSelection {
  Q_OBJECT

 public:
  TGridView(TTable& table, const std::vector<TGridColumn>& columns, QWidget* parent = nullptr);
  ~TGridView() override;

  TTableModel& Model() { return *model_; }
  TGridKeyHandlers& KeyHandlers() { return handlers_; }
  void SetAsksBeforeDelete(bool asks) { asks_ = asks; }

  // TGridHost
  std::string CurrentField() const override;
  std::vector<int> MarkedRows() const override;
  void ClearMarks() override;
  bool AsksBeforeDelete() const override { return asks_; }
  std::string ClipboardText() const override;
  void SetClipboardText(const std::string& text) override;
  void PasteIntoEditor(const std::string& text) override;

  // TGridSelection (the record clipboard): the marked rows, top to bottom.
  std::vector<TBookmark> SelectedRows() override;
  void ClearSelection() override { ClearMarks(); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TTable& table_;
  std::unique_ptr<TTableModel> model_;
  TGridKeyHandlers handlers_;
  bool asks_ = true;
};

class TRecordNavigator : public QWidget {
  Q_OBJECT

 public:
  enum TButton { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
  // The buttons in this order with the hints "Первая", "Предыдущая", ..., "Обновить экран".
  TRecordNavigator(TTable& table, const std::vector<TButton>& buttons, QWidget* parent = nullptr);
  QToolButton* Button(TButton which) const;
  void UpdateButtons();  // enabling follows the table's state

 private:
  TTable& table_;
  std::vector<std::pair<TButton, QToolButton*>> buttons_;
  int listener_ = 0;

 public:
  ~TRecordNavigator() override;
};

}  // namespace kvf
