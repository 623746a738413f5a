#pragma once
// TTableModel: a Qt item model over a catalog table object, the base of every
// data-aware grid. It reads the rows of the table's current view by position,
// so painting never moves the table's shared cursor and the engine never
// scrolls a grid; rows arrive in batches as the view scrolls (fetchMore), so a
// table of 100 000 rows opens at once. It follows the table's change events:
// a changed row repaints that row, a new view resets the model, and while the
// table's controls are disabled nothing happens until one change at the end.
// Editing goes through the table's own Edit/SetValue/Post on editable tables;
// a refused value is shown with ShowError and leaves the row as it was.
#include <QAbstractTableModel>
#include <string>
#include <vector>

namespace kvf {

class TTable;

class TTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // `fields`: the columns in order (empty: every field the table can read).
  explicit TTableModel(TTable& table, std::vector<std::string> fields = {}, QObject* parent = nullptr);
  ~TTableModel() override;

  static constexpr int kBatch = 256;  // rows fetched at a time

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  // A column's caption in place of its field name.
  bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

  const std::string& FieldAt(int column) const { return fields_[static_cast<size_t>(column)]; }
  // Puts the table's cursor on the row (what a click in the grid does).
  void StandOn(int row);

 signals:
  // The table's cursor went to `row` (-1: none or not known).
  void CurrentRowChanged(int row);

 private:
  void OnTableChange(int kind, int row, const std::string& field);

  TTable& table_;
  std::vector<std::string> fields_;
  std::vector<QString> captions_;
  int fetched_ = 0;     // rows shown so far
  int listener_ = 0;
};

}  // namespace kvf
