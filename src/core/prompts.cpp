#include "core/prompts.h"

#include <cstdio>

namespace kvf {
namespace {

TConsoleUserInterface& ConsoleUi() {
  static TConsoleUserInterface ui;
  return ui;
}

TUserInterface* g_ui = nullptr;
TCursorKind g_waitSlot = TCursorKind::Default;

// Drops a non-default cursor while a box is shown.
template <typename F>
auto WithDefaultCursor(F&& show) {
  TUserInterface& ui = UserInterface();
  const TCursorKind previous = ui.GetCursor();
  if (previous == TCursorKind::Default) return show(ui);
  ui.SetCursor(TCursorKind::Default);
  struct Restore {
    TUserInterface& ui;
    TCursorKind cursor;
    ~Restore() { ui.SetCursor(cursor); }
  } restore{ui, previous};
  return show(ui);
}

void Begin(TCursorKind kind) {
  TUserInterface& ui = UserInterface();
  g_waitSlot = ui.GetCursor();
  ui.SetCursor(kind);
}

}  // namespace

void SetUserInterface(TUserInterface* ui) { g_ui = ui; }
TUserInterface& UserInterface() { return g_ui ? *g_ui : ConsoleUi(); }

void ShowError(const std::string& text) {
  WithDefaultCursor([&](TUserInterface& ui) { ui.ShowMessage(TMessageKind::Error, text); });
}
void ShowWarning(const std::string& text) {
  WithDefaultCursor([&](TUserInterface& ui) { ui.ShowMessage(TMessageKind::Warning, text); });
}
void ShowInfo(const std::string& text) {
  WithDefaultCursor([&](TUserInterface& ui) { ui.ShowMessage(TMessageKind::Info, text); });
}
bool AskConfirm(const std::string& text, bool byDefault) {
  return WithDefaultCursor([&](TUserInterface& ui) { return ui.AskConfirm(text, byDefault); });
}
bool AskOkAbort(const std::string& text, bool byDefault) {
  return WithDefaultCursor([&](TUserInterface& ui) { return ui.AskOkAbort(text, byDefault); });
}
void ShowErrorFor(const std::string& text, const std::string& detail) {
  ShowError(text + " [" + detail + "]!");
}
int AskTwoButtons(const std::string& text, const std::string& button1, const std::string& button2,
                  const std::string& caption, int byDefault) {
  return WithDefaultCursor([&](TUserInterface& ui) {
    return ui.AskTwoButtons(text, button1, button2, caption, byDefault);
  });
}
TYesNoCancel AskYesNoCancel(const std::string& text, TYesNoCancel byDefault) {
  return WithDefaultCursor([&](TUserInterface& ui) { return ui.AskYesNoCancel(text, byDefault); });
}
std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                    const std::string& value) {
  return WithDefaultCursor([&](TUserInterface& ui) { return ui.InputBox(caption, prompt, value); });
}

void BeginWait() { Begin(TCursorKind::HourGlass); }
void BeginSQLWait() { Begin(TCursorKind::SQLWait); }
void EndWait() {
  UserInterface().SetCursor(g_waitSlot);
  g_waitSlot = TCursorKind::Default;
}

std::string ConsoleText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

void TConsoleUserInterface::ShowMessage(TMessageKind kind, const std::string& text) {
  const char* prefix = kind == TMessageKind::Error ? "Ошибка: "
                       : kind == TMessageKind::Warning ? "Внимание: " : "";
  std::fprintf(stderr, "%s%s\n", prefix, ConsoleText(text).c_str());
}

bool TConsoleUserInterface::AskConfirm(const std::string& text, bool byDefault) {
  const bool answer = ConfirmAnswer.value_or(byDefault);
  std::fprintf(stderr, "%s\n-> %s\n", ConsoleText(text).c_str(), answer ? "OK" : "Отмена");
  return answer;
}

bool TConsoleUserInterface::AskOkAbort(const std::string& text, bool byDefault) {
  std::fprintf(stderr, "%s\n-> %s\n", ConsoleText(text).c_str(), byDefault ? "OK" : "Прервать");
  return byDefault;
}

int TConsoleUserInterface::AskTwoButtons(const std::string& text, const std::string& button1,
                                         const std::string& button2, const std::string&,
                                         int byDefault) {
  const std::string& chosen = byDefault == 1 ? button1 : byDefault == 2 ? button2 : std::string();
  std::fprintf(stderr, "%s\n-> %s\n", ConsoleText(text).c_str(), chosen.c_str());
  return byDefault;
}

TYesNoCancel TConsoleUserInterface::AskYesNoCancel(const std::string& text, TYesNoCancel byDefault) {
  const char* answer = byDefault == TYesNoCancel::Yes ? "Да" : byDefault == TYesNoCancel::No ? "Нет" : "Отмена";
  std::fprintf(stderr, "%s\n-> %s\n", ConsoleText(text).c_str(), answer);
  return byDefault;
}

std::optional<std::string> TConsoleUserInterface::InputBox(const std::string&, const std::string&,
                                                           const std::string& value) {
  return value;
}

}  // namespace kvf
