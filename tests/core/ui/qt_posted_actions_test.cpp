#include <gtest/gtest.h>

#include <QCoreApplication>
#include <string>
#include <vector>

#include "core/configuration.h"
#include "core/ui/qt_posted_actions.h"
#include "support/qt_app.h"

namespace kvf {
namespace {

TEST(QtPostedActions, RunOnTheEventLoopAfterThePostingHandler) {
  test::QtApp();
  std::vector<std::string> ran;
  TPostedActions& queue = QtPostedActions();
  queue.Post(UM_OPENORDERLIST, [&] { ran.push_back("registry"); });
  queue.Post(UM_CURRENCYRATES, [&] {
    ran.push_back("rates");
    QtPostedActions().Post(UM_INITDOCUMENT, [&] { ran.push_back("document"); });
  });
  EXPECT_TRUE(ran.empty());  // not inside the handler that posted
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  EXPECT_EQ(ran, (std::vector<std::string>{"registry", "rates", "document"}));
  EXPECT_EQ(queue.Pending(), 0u);
}

}  // namespace
}  // namespace kvf
