#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/configuration.h"
#include "core/error.h"
#include "core/posted_actions.h"
#include "support/scripted_ui.h"

namespace kvf {
namespace {

TEST(PostedActions, RunInTheOrderPostedAfterTheCurrentHandler) {
  test::TScriptedUi ui;
  int scheduled = 0;
  TPostedActions queue([&] { ++scheduled; });
  std::vector<std::string> ran;
  queue.Post(UM_OPENORDERLIST, [&] { ran.push_back("registry"); });
  queue.Post(UM_PRESENTATION, [&] {
    ran.push_back("presentation");
    queue.Post(UM_INITDOCUMENT, [&] { ran.push_back("posted while dispatching"); });
  });
  queue.Post(UM_CURRENCYRATES, [&] { throw EKvfError("Курсы не загружены"); });
  queue.Post(UM_RECALC, [&] { ran.push_back("recalc"); });
  EXPECT_TRUE(ran.empty());  // nothing runs inside the handler that posts
  EXPECT_EQ(scheduled, 1);   // one call of the loop for the whole burst
  EXPECT_EQ(queue.PendingMessages(), (std::vector<int>{UM_OPENORDERLIST, UM_PRESENTATION, UM_CURRENCYRATES, UM_RECALC}));
  queue.Dispatch();
  EXPECT_EQ(ran, (std::vector<std::string>{"registry", "presentation", "recalc"}));
  ASSERT_EQ(ui.boxes.size(), 1u);  // the failing action is reported, the others still ran
  EXPECT_EQ(ui.boxes[0].text, "Курсы не загружены");
  EXPECT_EQ(queue.PendingMessages(), (std::vector<int>{UM_INITDOCUMENT}));
  EXPECT_EQ(scheduled, 2);
  queue.Dispatch();
  EXPECT_EQ(ran.back(), "posted while dispatching");
  EXPECT_EQ(queue.Pending(), 0u);
  EXPECT_EQ(PostedMessageName(UM_OPENREGORDER), "UM_OPENREGORDER");
  EXPECT_EQ(PostedMessageName(7), "7");
}

}  // namespace
}  // namespace kvf
