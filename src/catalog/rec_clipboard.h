#pragma once
// The clipboard of whole table rows behind Ctrl+C / Ctrl+V in editable grids:
// rows copied from one table object can be pasted back into the same one.
#include <string>
#include <vector>

#include "catalog/table.h"

namespace kvf {

// The rows a grid has selected; the Qt grid implements it.
class TGridSelection {
 public:
  virtual ~TGridSelection() = default;
  virtual std::vector<TBookmark> SelectedRows() = 0;  // in the grid's selection order
  virtual void ClearSelection() = 0;
};

struct TRecField {
  std::string FieldName;
  TFieldValue Value;
};

class TRec {
 public:
  // Captures the current row: every declared field (fieldNames null), the
  // listed fields the table has in the list's order, or with `exclude` every
  // field not listed, in table order. Nothing on a missing or empty table.
  TRec(TTable* dataSet, bool exclude, const std::vector<std::string>* fieldNames);
  // False unless `dataSet` is the table the row came from; the caller has put
  // it into edit or insert state.
  bool AssignTo(TTable* dataSet) const;

  std::vector<TRecField> Fields;
  TTable* DataSet = nullptr;
};

class TRecClipBoard {
 public:
  void Clear();
  bool Empty() const { return Items.empty(); }
  void CopyRecords(TTable* dataSet, const std::vector<std::string>* fieldNames, TGridSelection* grid, bool exclude);
  void PasteRecords(TTable* dataSet);

  std::vector<TRec> Items;
  TTable* DataSet = nullptr;
};

TRecClipBoard& RecClipBoard();
void CopyToRecClipBoard(TTable* dataSet, const std::vector<std::string>* fieldNames, bool exclude,
                        TGridSelection* grid);
void PasteFromRecClipBoard(TTable* dataSet);

}  // namespace kvf
