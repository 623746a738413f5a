#include "core/ui/qt_prompts.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace kvf {
namespace {

// The box text: CR LF and lone CR of the messages become line breaks.
QString BoxText(const std::string& text) { return QString::fromStdString(ConsoleText(text)); }

QWidget* Owner() { return QApplication::activeWindow(); }

struct TButton {
  const char* caption;
  QMessageBox::ButtonRole role;
};

// A modal box with the given buttons; the index of the button pressed, -1 when closed otherwise.
int Ask(QMessageBox::Icon icon, const QString& caption, const QString& text, std::initializer_list<TButton> buttons,
        int defaultButton, bool beep) {
  QMessageBox box(icon, caption, text, QMessageBox::NoButton, Owner());
  std::vector<QAbstractButton*> added;
  for (const TButton& b : buttons) added.push_back(box.addButton(QString::fromUtf8(b.caption), b.role));
  if (defaultButton >= 0 && defaultButton < static_cast<int>(added.size()))
    box.setDefaultButton(qobject_cast<QPushButton*>(added[static_cast<size_t>(defaultButton)]));
  if (beep) QApplication::beep();
  box.exec();
  for (size_t i = 0; i < added.size(); ++i)
    if (box.clickedButton() == added[i]) return static_cast<int>(i);
  return -1;
}

}  // namespace

void TQtUserInterface::ShowMessage(TMessageKind kind, const std::string& text) {
  const QMessageBox::Icon icon = kind == TMessageKind::Error     ? QMessageBox::Critical
                                 : kind == TMessageKind::Warning ? QMessageBox::Warning
                                                                 : QMessageBox::Information;
  Ask(icon, QString::fromUtf8(kBoxCaption), BoxText(text), {{"OK", QMessageBox::AcceptRole}}, 0,
      kind != TMessageKind::Info);
}

bool TQtUserInterface::AskConfirm(const std::string& text, bool byDefault) {
  return Ask(QMessageBox::Question, QString::fromUtf8(kBoxCaption), BoxText(text),
             {{"OK", QMessageBox::AcceptRole}, {"Отмена", QMessageBox::RejectRole}}, byDefault ? 0 : 1, false) == 0;
}

bool TQtUserInterface::AskOkAbort(const std::string& text, bool byDefault) {
  return Ask(QMessageBox::Question, QString::fromUtf8(kBoxCaption), BoxText(text),
             {{"OK", QMessageBox::AcceptRole}, {"Прервать", QMessageBox::RejectRole}}, byDefault ? 0 : 1, true) == 0;
}

int TQtUserInterface::AskTwoButtons(const std::string& text, const std::string& button1, const std::string& button2,
                                    const std::string& caption, int byDefault) {
  QMessageBox box(QMessageBox::Question, QString::fromStdString(caption), BoxText(text), QMessageBox::NoButton,
                  Owner());
  QPushButton* first = box.addButton(QString::fromStdString(button1), QMessageBox::AcceptRole);
  QPushButton* second = box.addButton(QString::fromStdString(button2), QMessageBox::RejectRole);
  box.setDefaultButton(byDefault == 2 ? second : first);
  QApplication::beep();
  box.exec();
  return box.clickedButton() == first ? 1 : box.clickedButton() == second ? 2 : 0;
}

TYesNoCancel TQtUserInterface::AskYesNoCancel(const std::string& text, TYesNoCancel byDefault) {
  const int pressed = Ask(QMessageBox::Question, QString::fromUtf8(kBoxCaption), BoxText(text),
                          {{"Да", QMessageBox::YesRole}, {"Нет", QMessageBox::NoRole},
                           {"Отмена", QMessageBox::RejectRole}},
                          static_cast<int>(byDefault), false);
  return pressed == 0 ? TYesNoCancel::Yes : pressed == 1 ? TYesNoCancel::No : TYesNoCancel::Cancel;
}

std::optional<std::string> TQtUserInterface::InputBox(const std::string& caption, const std::string& prompt,
                                                      const std::string& value) {
  bool ok = false;
  const QString text = QInputDialog::getText(Owner(), QString::fromStdString(caption), QString::fromStdString(prompt),
                                             QLineEdit::Normal, QString::fromStdString(value), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

void TQtUserInterface::SetCursor(TCursorKind cursor) {
  if (cursor == cursor_) return;
  if (cursor_ != TCursorKind::Default) QGuiApplication::restoreOverrideCursor();
  if (cursor == TCursorKind::HourGlass) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  if (cursor == TCursorKind::SQLWait) QGuiApplication::setOverrideCursor(Qt::BusyCursor);
  cursor_ = cursor;
}

}  // namespace kvf
