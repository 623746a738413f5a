#include "catalog/rec_clipboard.h"

#include <algorithm>

#include "core/cp1251.h"

namespace kvf {
namespace {

bool Listed(const std::vector<std::string>& names, const std::string& name) {
  return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return SameTextI(n, name); });
}

// Re-enables the controls and returns to the remembered row, also on failure.
class TRestoreRow {
 public:
  explicit TRestoreRow(TTable& table) : table_(table), mark_(table.GetBookmark()) { table_.DisableControls(); }
  ~TRestoreRow() {
    try {
      table_.GotoBookmark(mark_);
    } catch (...) {
      // the row may be gone; the controls are still given back below
    }
    table_.EnableControls();
  }

 private:
  TTable& table_;
  TBookmark mark_;
};

}  // namespace

TRec::TRec(TTable* dataSet, bool exclude, const std::vector<std::string>* fieldNames) : DataSet(dataSet) {
  if (!dataSet || !dataSet->Active() || dataSet->IsEmpty()) return;
  const auto& declared = dataSet->Def().declared;
  if (fieldNames && !exclude) {
    for (const std::string& name : *fieldNames)
      if (const TFieldDef* f = dataSet->Def().FindDeclared(name)) Fields.push_back({f->name, dataSet->Value(f->name)});
    return;
  }
  for (const TFieldDef& f : declared)
    if (!fieldNames || !Listed(*fieldNames, f.name)) Fields.push_back({f.name, dataSet->Value(f.name)});
}

bool TRec::AssignTo(TTable* dataSet) const {
  if (!dataSet || dataSet != DataSet) return false;
  for (const TRecField& f : Fields)
    if (dataSet->Def().FindDeclared(f.FieldName)) dataSet->SetValue(f.FieldName, f.Value);
  return true;
}

void TRecClipBoard::Clear() {
  Items.clear();
  DataSet = nullptr;
}

void TRecClipBoard::CopyRecords(TTable* dataSet, const std::vector<std::string>* fieldNames, TGridSelection* grid,
                                bool exclude) {
  if (!dataSet || !dataSet->Active() || dataSet->IsEmpty()) return;
  Clear();
  DataSet = dataSet;
  const std::vector<TBookmark> selected = grid ? grid->SelectedRows() : std::vector<TBookmark>{};
  if (selected.size() > 1) {
    {
      TRestoreRow restore(*dataSet);
      for (TBookmark mark : selected)
        if (dataSet->GotoBookmark(mark)) Items.emplace_back(dataSet, exclude, fieldNames);
    }
    grid->ClearSelection();
    return;
  }
  Items.emplace_back(dataSet, exclude, fieldNames);
}

void TRecClipBoard::PasteRecords(TTable* dataSet) {
  if (!dataSet || dataSet != DataSet || Items.empty()) return;
  dataSet->DisableControls();
  struct TEnable {
    TTable* t;
    ~TEnable() { t->EnableControls(); }
  } enable{dataSet};
  if (Items.size() == 1) {
    if (dataSet->State() != TDataSetState::Edit && dataSet->State() != TDataSetState::Insert) dataSet->Edit();
    Items.front().AssignTo(dataSet);
    return;
  }
  for (const TRec& rec : Items) {
    dataSet->Insert();
    rec.AssignTo(dataSet);
    dataSet->Post();
  }
}

TRecClipBoard& RecClipBoard() {
  static TRecClipBoard clipboard;
  return clipboard;
}

void CopyToRecClipBoard(TTable* dataSet, const std::vector<std::string>* fieldNames, bool exclude,
                        TGridSelection* grid) {
  RecClipBoard().CopyRecords(dataSet, fieldNames, grid, exclude);
}

void PasteFromRecClipBoard(TTable* dataSet) { RecClipBoard().PasteRecords(dataSet); }

}  // namespace kvf
