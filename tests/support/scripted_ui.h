#pragma once
// A user interface for tests: records every box and answers questions from a
// queue (the caller's default when the queue is empty). Installs itself for its
// lifetime.
#include <deque>
#include <string>
#include <vector>

#include "core/prompts.h"

namespace kvf::test {

struct TShownBox {
  std::string kind;  // "error", "warning", "info", "confirm", "okabort", "two", "ync", "input"
  std::string text;
  TCursorKind cursor;  // the cursor while the box was shown
};

class TScriptedUi : public TUserInterface {
 public:
  TScriptedUi() { SetUserInterface(this); }
  ~TScriptedUi() override { SetUserInterface(nullptr); }

  std::vector<TShownBox> boxes;
  std::deque<int> answers;  // 1 = OK/Yes/button 1, 0 = Cancel/No/Abort, 2 = button 2, -1 cancel (ync)
  std::vector<TCursorKind> cursorHistory;

  void ShowMessage(TMessageKind kind, const std::string& text) override {
    Record(kind == TMessageKind::Error ? "error" : kind == TMessageKind::Warning ? "warning" : "info", text);
  }
  bool AskConfirm(const std::string& text, bool byDefault) override {
    Record("confirm", text);
    return Next(byDefault ? 1 : 0) == 1;
  }
  bool AskOkAbort(const std::string& text, bool byDefault) override {
    Record("okabort", text);
    return Next(byDefault ? 1 : 0) == 1;
  }
  int AskTwoButtons(const std::string& text, const std::string&, const std::string&, const std::string&,
                    int byDefault) override {
    Record("two", text);
    return Next(byDefault);
  }
  TYesNoCancel AskYesNoCancel(const std::string& text, TYesNoCancel byDefault) override {
    Record("ync", text);
    const int a = Next(byDefault == TYesNoCancel::Yes ? 1 : byDefault == TYesNoCancel::No ? 0 : -1);
    return a == 1 ? TYesNoCancel::Yes : a == 0 ? TYesNoCancel::No : TYesNoCancel::Cancel;
  }
  std::optional<std::string> InputBox(const std::string&, const std::string& prompt,
                                      const std::string& value) override {
    Record("input", prompt);
    return value;
  }
  TCursorKind GetCursor() const override { return cursor_; }
  void SetCursor(TCursorKind cursor) override {
    cursor_ = cursor;
    cursorHistory.push_back(cursor);
  }

 private:
  void Record(const char* kind, const std::string& text) { boxes.push_back({kind, text, cursor_}); }
  int Next(int byDefault) {
    if (answers.empty()) return byDefault;
    const int a = answers.front();
    answers.pop_front();
    return a;
  }
  TCursorKind cursor_ = TCursorKind::Default;
};

}  // namespace kvf::test
