// The progress window shows real progress and hides at the end.
#include <gtest/gtest.h>

#include "core/progress.h"
#include "core/ui/ani_form.h"
#include "support/qt_app.h"

namespace kvf {
namespace {

TEST(AniForm, ShowsTheStepsAndHidesAtTheEnd) {
  test::QtApp();
  TAniForm form;
  SetProgressSink(&form);
  {
    TProgress progress("Пересчет позиций", 40);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Процесс"));
    for (int i = 0; i < 3; ++i) progress.Step();
    EXPECT_EQ(form.CountText(), QString::fromUtf8("3 из 40"));
    EXPECT_EQ(form.BarValue(), 3);
    test::Screenshot(form, "ani-form");
  }
  EXPECT_FALSE(form.isVisible());
  SetProgressSink(nullptr);
}

}  // namespace
}  // namespace kvf
