#include "catalog/grid_keys.h"

#include <fmt/format.h>

#include "catalog/table.h"
#include "core/prompts.h"

namespace kvf {
namespace {

// A lookup column stands for its key field.
std::string StoredField(const TTable& table, const std::string& field) {
  if (const TLookupDef* lookup = table.Def().FindLookup(field)) return lookup->keyField;
  return field;
}

void DeleteRows(TTable& table, TGridHost& grid) {
  if (table.IsEmpty()) return;
  const std::vector<int> marked = grid.MarkedRows();
  if (marked.empty()) {
    if (grid.AsksBeforeDelete() && !AskConfirm("Удалить запись?", false)) return;
    table.Delete();
    return;
  }
  if (grid.AsksBeforeDelete() && !AskConfirm(fmt::format("Удалить {} записей?", marked.size()), false)) return;
  std::vector<TBookmark> rows;  // positions move while rows go
  for (int pos : marked) rows.push_back(table.BookmarkAt(pos));
  table.DisableControls();
  try {
    for (TBookmark row : rows)
      if (row >= 0 && table.GotoBookmark(row)) table.Delete();
  } catch (...) {
    table.EnableControls();
    throw;
  }
  table.EnableControls();
  grid.ClearMarks();
}

}  // namespace

bool GridKeyAction(TTable& table, TGridHost& grid, TGridKey key, TGridKeyState state,
                   const TGridKeyHandlers& handlers) {
  const bool editable = table.Editable();
  switch (key) {
    case TGridKey::Insert:
      if (state.ctrl && !state.editing) {
        grid.SetClipboardText(table.AsString(StoredField(table, grid.CurrentField())));
        return true;
      }
      if (state.shift) {
        if (state.editing) {
          grid.PasteIntoEditor(grid.ClipboardText());
          return true;
        }
        if (!editable) return false;
        table.Edit();
        table.SetValue(StoredField(table, grid.CurrentField()), grid.ClipboardText());
        return true;
      }
      if (!state.ctrl && !state.editing && editable) {
        table.Append();
        return true;
      }
      return false;
    case TGridKey::Delete:
      if (!state.ctrl || !editable) return false;
      DeleteRows(table, grid);
      return true;
    case TGridKey::C:
      if (!state.ctrl || !handlers.onCtrlC) return false;
      handlers.onCtrlC();
      return true;
    case TGridKey::V:
      if (!state.ctrl || !editable || !handlers.onCtrlV) return false;
      handlers.onCtrlV();
      return true;
    case TGridKey::B:
      if (!state.ctrl || !editable || !handlers.onCtrlB) return false;
      handlers.onCtrlB();
      return true;
    case TGridKey::Other: return false;
  }
  return false;
}

}  // namespace kvf
