#pragma once
// User-interaction services: message boxes, questions and the wait cursor.
// The model calls the free functions below; what answers them is installed with
// SetUserInterface: the Qt dialogs in korvane, the console in kvf, a script in tests.
#include <optional>
#include <string>

namespace kvf {

enum class TCursorKind { Default, HourGlass, SQLWait };
enum class TMessageKind { Error, Warning, Info };
enum class TYesNoCancel { Yes, No, Cancel };

class TUserInterface {
 public:
  virtual ~TUserInterface() = default;
  // A modal box with the icon (and beep) of its kind and one OK button.
  virtual void ShowMessage(TMessageKind kind, const std::string& text) = 0;
  // OK/Cancel (confirm) and OK/Abort questions; true for OK. `byDefault` is the
  // answer of a caller that cannot ask a person.
  virtual bool AskConfirm(const std::string& text, bool byDefault) = 0;
  virtual bool AskOkAbort(const std::string& text, bool byDefault) = 0;
  // 1 or 2 for the button pressed, 0 when the box was closed otherwise.
  virtual int AskTwoButtons(const std::string& text, const std::string& button1,
                            const std::string& button2, const std::string& caption,
                            int byDefault) = 0;
  virtual TYesNoCancel AskYesNoCancel(const std::string& text, TYesNoCancel byDefault) = 0;
  // nullopt when cancelled.
  virtual std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                              const std::string& value) = 0;
  virtual TCursorKind GetCursor() const = 0;
  virtual void SetCursor(TCursorKind cursor) = 0;
};

// Installs the process-wide implementation (not owned; null restores the console one).
void SetUserInterface(TUserInterface* ui);
TUserInterface& UserInterface();

// Each box first drops a non-default cursor to the default one and sets it back
// afterwards.
void ShowError(const std::string& text);
void ShowWarning(const std::string& text);
void ShowInfo(const std::string& text);
bool AskConfirm(const std::string& text, bool byDefault = true);
bool AskOkAbort(const std::string& text, bool byDefault = true);
void ShowErrorFor(const std::string& text, const std::string& detail);  // text + " [" + detail + "]!"
int AskTwoButtons(const std::string& text, const std::string& button1, const std::string& button2,
                  const std::string& caption, int byDefault = 1);
TYesNoCancel AskYesNoCancel(const std::string& text, TYesNoCancel byDefault = TYesNoCancel::Yes);
std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                    const std::string& value);

// The wait cursor has one process-wide slot: BeginWait remembers the current
// cursor there and sets the hour-glass; EndWait sets the remembered cursor and
// empties the slot (to the default cursor). Nested pairs therefore leave the
// hour-glass after the inner EndWait and the default cursor after the outer one.
void BeginWait();
void BeginSQLWait();
void EndWait();

// BeginWait/EndWait for a scope.
class TWaitGuard {
 public:
  explicit TWaitGuard(bool sql = false) { sql ? BeginSQLWait() : BeginWait(); }
  ~TWaitGuard() { EndWait(); }
  TWaitGuard(const TWaitGuard&) = delete;
  TWaitGuard& operator=(const TWaitGuard&) = delete;
};

// Messages to standard error; every question takes its default answer, or
// ConfirmAnswer for the OK/Cancel questions when it is set.
class TConsoleUserInterface : public TUserInterface {
 public:
  std::optional<bool> ConfirmAnswer;
  void ShowMessage(TMessageKind kind, const std::string& text) override;
  bool AskConfirm(const std::string& text, bool byDefault) override;
  bool AskOkAbort(const std::string& text, bool byDefault) override;
  int AskTwoButtons(const std::string& text, const std::string& button1, const std::string& button2,
                    const std::string& caption, int byDefault) override;
  TYesNoCancel AskYesNoCancel(const std::string& text, TYesNoCancel byDefault) override;
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& value) override;
  TCursorKind GetCursor() const override { return cursor_; }
  void SetCursor(TCursorKind cursor) override { cursor_ = cursor; }

 private:
  TCursorKind cursor_ = TCursorKind::Default;
};

// The message text with CR LF and lone CR turned into LF (for a terminal).
std::string ConsoleText(const std::string& text);

}  // namespace kvf
