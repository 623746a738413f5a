// Any bytes given to the order and selection readers end in a read document or
// in EKvfError: never a crash, an overflow or a runaway allocation.
#include <cstddef>
#include <cstdint>
#include <string>

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
  return 0;
}
