#pragma once
// The keys every editable grid of the program shares (GridKeyAction), kept
// apart from any widget: the grid offers what it knows through TGridHost.
#include <functional>
#include <string>
#include <vector>

namespace kvf {

class TTable;

enum class TGridKey { Insert, Delete, C, V, B, Other };

struct TGridKeyState {
  bool shift = false;
  bool ctrl = false;
  bool editing = false;  // a cell editor is open
};

// What the grid widget knows and does for the key handler.
class TGridHost {
 public:
  virtual ~TGridHost() = default;
  virtual std::string CurrentField() const = 0;   // the current column's field
  virtual std::vector<int> MarkedRows() const = 0;  // view positions of the marked rows
  virtual void ClearMarks() = 0;
  virtual bool AsksBeforeDelete() const = 0;
  virtual std::string ClipboardText() const = 0;
  virtual void SetClipboardText(const std::string& text) = 0;
  virtual void PasteIntoEditor(const std::string& text) = 0;
};

struct TGridKeyHandlers {
  std::function<void()> onCtrlC, onCtrlV, onCtrlB;  // copy rows, paste rows, the grid's third action
};

// Acts on a key of an editable grid over `table`; true when the key was used
// (the widget then swallows it). Ctrl+Insert copies the current cell (a lookup
// column: its key field), Shift+Insert pastes into the cell (editing: into the
// editor; else the row goes into edit mode), Insert appends a row, Ctrl+C/V/B
// call the handlers (V and B on editable tables only), Ctrl+Delete deletes the
// current row or every marked row, asking "Удалить запись?" / "Удалить %d
// записей?" when the grid asks before deleting. Table errors propagate.
bool GridKeyAction(TTable& table, TGridHost& grid, TGridKey key, TGridKeyState state,
                   const TGridKeyHandlers& handlers = {});

}  // namespace kvf
