#include <gtest/gtest.h>

#include "core/prompts.h"
#include "support/scripted_ui.h"

namespace kvf {
namespace {

TEST(WaitCursor, OneSlotMakesNestedPairsEndOnTheDefaultCursor) {
  test::TScriptedUi ui;
  BeginWait();
  EXPECT_EQ(ui.GetCursor(), TCursorKind::HourGlass);
  BeginSQLWait();
  EXPECT_EQ(ui.GetCursor(), TCursorKind::SQLWait);
  EndWait();
  EXPECT_EQ(ui.GetCursor(), TCursorKind::HourGlass);  // the slot held the hour-glass
  EndWait();
  EXPECT_EQ(ui.GetCursor(), TCursorKind::Default);  // the slot was emptied
  {
    TWaitGuard wait;
    EXPECT_EQ(ui.GetCursor(), TCursorKind::HourGlass);
  }
  EXPECT_EQ(ui.GetCursor(), TCursorKind::Default);
}

TEST(MessageBoxes, ShowTheDefaultCursorAndRestoreTheWaitCursor) {
  test::TScriptedUi ui;
  BeginWait();
  ShowErrorFor("Не найден артикул", "A-100");
  EXPECT_EQ(ui.GetCursor(), TCursorKind::HourGlass);
  EndWait();
  ShowWarning("w");
  ui.answers = {0, 2};
  EXPECT_FALSE(AskConfirm("c?"));
  EXPECT_EQ(AskTwoButtons("t?", "Да", "Нет", "Вопрос"), 2);
  EXPECT_TRUE(AskOkAbort("o?"));  // queue empty: the caller's default
  ASSERT_EQ(ui.boxes.size(), 5u);
  EXPECT_EQ(ui.boxes[0].text, "Не найден артикул [A-100]!");
  EXPECT_EQ(ui.boxes[0].cursor, TCursorKind::Default);
  EXPECT_EQ(ui.boxes[1].kind, "warning");
}

TEST(ConsoleText, TurnsWindowsLineBreaksIntoNewlines) {
  EXPECT_EQ(ConsoleText("a\r\nb\rc\nd"), "a\nb\nc\nd");
}

}  // namespace
}  // namespace kvf
