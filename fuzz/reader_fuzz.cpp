// Any bytes given to the readers of order and selection files, of the catalog's
// CSV form and of a manufacturer's Paradox tables end in a read document or
// table or in EKvfError: never a crash, a hang, an overflow or a runaway
// allocation.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <unistd.h>

#include "catalog/catalog_files.h"
#include "catalog/paradox_import.h"
#include "catalog/schema.h"
#include "core/csv.h"

#include "core/error.h"
#include "core/prompts.h"
#include "core/spec_stream.h"
#include "engine/order.h"
#include "orders/selection.h"

namespace {

class TSilentUi : public kvf::TUserInterface {
 public:
  void ShowMessage(kvf::TMessageKind, const std::string&) override {}
  bool AskConfirm(const std::string&, bool) override { return true; }
  bool AskOkAbort(const std::string&, bool) override { return true; }
  int AskTwoButtons(const std::string&, const std::string&, const std::string&, const std::string&, int) override {
    return 1;
  }
  kvf::TYesNoCancel AskYesNoCancel(const std::string&, kvf::TYesNoCancel d) override { return d; }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string& v) override {
    return v;
  }
  kvf::TCursorKind GetCursor() const override { return kvf::TCursorKind::Default; }
  void SetCursor(kvf::TCursorKind) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TSilentUi ui;
  kvf::SetUserInterface(&ui);
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  try {
    kvf::TSpecStream s(bytes);
    kvf::TkvfOrder order;
    bool converted = false;
    order.LoadFromStream(s, converted);
    kvf::TSpecStream out;
    order.SaveToStream(out);
  } catch (const kvf::EKvfError&) {
  }
  try {
    kvf::TSpecStream s(bytes);
    kvf::TkvfOrderSelection selection;
    bool converted = false;
    selection.LoadFromStream(s, converted);
  } catch (const kvf::EKvfError&) {
  }
  try {  // a CSV table as the catalog build reads it: each cell by its column's field
    const kvf::TTableDef& def = kvf::TableDef("FrnSet.DB");
    const std::vector<kvf::TCsvRow> rows = kvf::ParseCsv(bytes);
    for (size_t r = 1; r < rows.size(); ++r)
      for (size_t c = 0; c < rows[r].cells.size() && c < rows[0].cells.size(); ++c) {
        const int index = def.StoredIndex(rows[0].cells[c]);
        if (index < 0) continue;
        kvf::TFieldValue value;
        std::string reason;
        kvf::ParseFieldText(def.stored[static_cast<size_t>(index)], rows[r].cells[c], value, reason);
      }
  } catch (const kvf::EKvfError&) {
  }
  if (kvf::ParadoxFileProblem(bytes).empty()) {  // pxlib reads files: only what the check lets through
    static const std::string file = "/tmp/kvf_fuzz_" + std::to_string(::getpid()) + ".DB";
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    try {
      kvf::ReadParadoxTable(file, kvf::TableDef("Catalog.DB"));
    } catch (const kvf::EKvfError&) {
    }
  }
  return 0;
}
