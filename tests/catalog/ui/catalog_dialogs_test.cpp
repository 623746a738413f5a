// The currency-rates and price-group dialogs on their tables.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include "catalog/rec_clipboard.h"
#include "catalog/dm.h"
#include "catalog/table.h"
#include "catalog/ui/catalog_dialogs.h"
#include "catalog/ui/grid_view.h"
#include "catalog/ui/table_model.h"
#include "support/catalog_fixture.h"
#include "support/qt_app.h"
#include "support/scripted_ui.h"

namespace kvf {
namespace {

class CatalogDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::QtApp();
    fx_.Insert("Currency.DB", {{"ID", int64_t{1}}, {"Name", std::string("RUB")}, {"Value", 1.0}});
    fx_.Insert("Currency.DB", {{"ID", int64_t{2}}, {"Name", std::string("EUR")}, {"Value", 95.5}});
    fx_.Insert("PriceGrp.DB", {{"GroupID", int64_t{1}}, {"Name", std::string("Базовая")}, {"Reduce_1", 0.0}});
    fx_.Insert("PriceGrp.DB", {{"GroupID", int64_t{2}}, {"Name", std::string("Оптовая")}, {"Reduce_1", -5.0}});
    fx_.OpenDM();
  }
  test::TScriptedUi ui_;
  test::TCatalogFixture fx_;
};

TEST_F(CatalogDialogsTest, TheCurrencyDialogPostsAnOpenEditOnClose) {
  TTable& cur = DM().T_Currency;
  for (const bool ok : {true, false}) {
    SCOPED_TRACE(ok ? "OK" : "Cancel");
    TCurrencyDlg dlg(cur, QString::fromUtf8("Курсы валют..."));
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8("Курсы валют..."));
    EXPECT_EQ(dlg.Grid().model()->headerData(1, Qt::Horizontal).toString(), QString::fromUtf8("Курс"));
    test::Screenshot(dlg, "currency-dialog");
    ASSERT_TRUE(cur.Locate({"ID"}, {int64_t{2}}));
    cur.Edit();
    cur.SetValue("Value", ok ? 96.0 : 97.0);
    ok ? dlg.accept() : dlg.reject();
    EXPECT_EQ(cur.State(), TDataSetState::Browse);
    EXPECT_EQ(cur.AsFloat("Value"), ok ? 96.0 : 97.0);  // posted whichever button closed
  }
}

TEST_F(CatalogDialogsTest, ThePriceGroupGridCopiesAndPastesRows) {
  TTable& groups = DM().T_PriceGrp;
  TPriceGroupDlg dlg(groups);
  dlg.show();
  EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8("Справочник ценновых групп (скидки)"));
  test::Screenshot(dlg, "price-group-dialog");
  TGridView& grid = dlg.Grid();
  grid.selectAll();  // both rows marked
  test::SendKey(grid, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(RecClipBoard().Items.size(), 2u);
  test::SendKey(grid, Qt::Key_V, Qt::ControlModifier);  // two rows: appended and posted
  EXPECT_EQ(groups.ViewCount(), 4);
  EXPECT_EQ(grid.model()->rowCount(), 4);
  groups.Last();
  EXPECT_EQ(groups.AsString("Name"), "Оптовая");
  EXPECT_EQ(groups.AsFloat("Reduce_1"), -5.0);
  EXPECT_EQ(groups.State(), TDataSetState::Browse);
}

}  // namespace
}  // namespace kvf
