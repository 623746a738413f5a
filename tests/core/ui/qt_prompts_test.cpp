// The desktop program's message boxes under the offscreen platform: icon,
// caption, text, Russian buttons, the answer, and the cursor rule.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdlib>
#include <functional>

#include "core/prompts.h"
#include "core/ui/qt_prompts.h"
#include "support/qt_app.h"

namespace kvf {
namespace {

// What the next modal box showed, and the button that answered it.
struct TSeen {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString caption, text;
  QStringList buttons;
  QString defaultButton;
  Qt::CursorShape cursor = Qt::ArrowCursor;
  bool overrideCursor = false;
};

// Answers the next modal box by pressing the button captioned `press` (empty: closes it).
void Answer(TSeen& seen, const QString& press, const char* screenshot) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, &seen, press, screenshot] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    timer->stop();
    timer->deleteLater();
    if (const char* dir = std::getenv("KVF_SCREENSHOT_DIR"))
      modal->grab().save(QDir(dir).filePath(QString("box-") + screenshot + ".png"));
    seen.overrideCursor = QGuiApplication::overrideCursor() != nullptr;
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
      if (auto* input = qobject_cast<QInputDialog*>(modal)) {
        input->setTextValue(press);
        input->accept();
      }
      return;
    }
    seen.icon = box->icon();
    seen.caption = box->windowTitle();
    seen.text = box->text();
    for (QAbstractButton* b : box->buttons()) {
      seen.buttons << b->text();
      if (b == box->defaultButton()) seen.defaultButton = b->text();
    }
    for (QAbstractButton* b : box->buttons())
      if (b->text() == press) {
        b->click();
        return;
      }
    box->reject();
  });
  timer->start(5);
}

class QtPromptsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::QtApp();
    SetUserInterface(&ui_);
  }
  void TearDown() override { SetUserInterface(nullptr); }
  TQtUserInterface ui_;
};

TEST_F(QtPromptsTest, BoxesCarryTheIconCaptionTextAndButtonsOfTheirKind) {
  struct Case {
    const char* what;
    std::function<int()> ask;
    const char* press;
    QMessageBox::Icon icon;
    QStringList buttons;
    int answer;
  };
  const Case cases[] = {
      {"error", [] { ShowError("Ошибка сохранения заказа!\r\n(нет места)"); return 0; }, "OK", QMessageBox::Critical,
       {"OK"}, 0},
      {"warning", [] { ShowWarning("Внимание"); return 0; }, "OK", QMessageBox::Warning, {"OK"}, 0},
      {"info", [] { ShowInfo("Готово"); return 0; }, "OK", QMessageBox::Information, {"OK"}, 0},
      {"confirm-ok", [] { return int(AskConfirm("Удалить?")); }, "OK", QMessageBox::Question, {"OK", "Отмена"}, 1},
      {"confirm-cancel", [] { return int(AskConfirm("Удалить?")); }, "Отмена", QMessageBox::Question,
       {"OK", "Отмена"}, 0},
      {"ok-abort", [] { return int(AskOkAbort("Продолжить?")); }, "Прервать", QMessageBox::Question,
       {"OK", "Прервать"}, 0},
      {"two-buttons", [] { return AskTwoButtons("Сохранить как?", "Заказ", "Выборку", "Сохранение"); }, "Выборку",
       QMessageBox::Question, {"Заказ", "Выборку"}, 2},
      {"two-buttons-closed", [] { return AskTwoButtons("Сохранить как?", "Заказ", "Выборку", "Сохранение"); }, "",
       QMessageBox::Question, {"Заказ", "Выборку"}, 0},
      {"yes-no-cancel", [] { return int(AskYesNoCancel("Сохранить изменения?")); }, "Нет", QMessageBox::Question,
       {"Да", "Нет", "Отмена"}, int(TYesNoCancel::No)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TSeen seen;
    Answer(seen, QString::fromUtf8(c.press), c.what);
    EXPECT_EQ(c.ask(), c.answer);
    EXPECT_EQ(seen.icon, c.icon);
    QStringList shown = seen.buttons, expected = c.buttons;  // the platform's style decides their order
    shown.sort();
    expected.sort();
    EXPECT_EQ(shown, expected);
    EXPECT_FALSE(seen.text.contains('\r'));
  }
  TSeen seen;
  Answer(seen, "OK", "caption");
  ShowError("Ошибка загрузки заказа!\r\n(файл поврежден)");
  EXPECT_EQ(seen.caption, QString::fromUtf8(kBoxCaption));
  EXPECT_EQ(seen.text, QString::fromUtf8("Ошибка загрузки заказа!\n(файл поврежден)"));
  EXPECT_EQ(seen.defaultButton, "OK");
}

TEST_F(QtPromptsTest, TheWaitCursorHasOneSlotAndBoxesShowTheDefaultCursor) {
  BeginWait();
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  TSeen seen;
  Answer(seen, "OK", "under-wait");
  ShowInfo("Во время расчета");
  EXPECT_FALSE(seen.overrideCursor);  // the box is shown with the default cursor
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);  // and the wait cursor comes back
  BeginSQLWait();  // nested: the slot remembers the hour-glass
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
  EndWait();
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  EndWait();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(QtPromptsTest, TheInputBoxGivesTheTextOrNothing) {
  TSeen seen;
  Answer(seen, QString::fromUtf8("А-17"), "input");
  EXPECT_EQ(InputBox("Заказ", "Номер заказа:", "А-1"), std::optional<std::string>("А-17"));
}

}  // namespace
}  // namespace kvf
