#pragma once
// The message boxes, questions and the wait cursor of the desktop program:
// modal Qt boxes with the icon (and beep) of their kind and Russian buttons,
// centred on the active window; the cursor as an application override cursor.
#include "core/prompts.h"

class QWidget;

namespace kvf {

class TQtUserInterface : public TUserInterface {
 public:
  void ShowMessage(TMessageKind kind, const std::string& text) override;
  bool AskConfirm(const std::string& text, bool byDefault) override;
  bool AskOkAbort(const std::string& text, bool byDefault) override;
  int AskTwoButtons(const std::string& text, const std::string& button1, const std::string& button2,
                    const std::string& caption, int byDefault) override;
  TYesNoCancel AskYesNoCancel(const std::string& text, TYesNoCancel byDefault) override;
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& value) override;
  TCursorKind GetCursor() const override { return cursor_; }
  void SetCursor(TCursorKind cursor) override;

 private:
  TCursorKind cursor_ = TCursorKind::Default;
};

// The caption of the program's boxes.
inline constexpr const char* kBoxCaption = "ФУРНИТУРА";

}  // namespace kvf
