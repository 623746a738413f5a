// The grid model over a table object: rows by position without moving the
// table's cursor, lazy batches, change events, editing through the table.
#include <gtest/gtest.h>

#include "catalog/dm.h"
#include "catalog/table.h"
#include "catalog/ui/table_model.h"
#include "support/catalog_fixture.h"
#include "support/scripted_ui.h"

namespace kvf {
namespace {

class TableModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 1; i <= 600; ++i)
      fx_.Insert("FrnArt.DB", {{"ID", std::string("E") + std::to_string(1000 + i)},
                               {"CatalogID", std::string("A") + std::to_string(i)}, {"Key", int64_t{i}}});
    fx_.Insert("Currency.DB", {{"ID", int64_t{1}}, {"Name", std::string("RUB")}, {"Value", 1.0}});
    fx_.Insert("Currency.DB", {{"ID", int64_t{2}}, {"Name", std::string("EUR")}, {"Value", 95.5}});
    fx_.OpenDM();
  }
  test::TScriptedUi ui_;
  test::TCatalogFixture fx_;
};

TEST_F(TableModelTest, ReadsRowsLazilyWithoutMovingTheCursor) {
  TTable& art = DM().T_FrnArt;
  ASSERT_TRUE(art.Locate({"CatalogID"}, {std::string("A300")}));
  TTableModel model(art, {"ID", "CatalogID"});
  EXPECT_EQ(model.columnCount(), 2);
  EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "CatalogID");
  EXPECT_EQ(model.rowCount(), TTableModel::kBatch);  // the first batch only
  EXPECT_EQ(model.data(model.index(0, 1)).toString(), "A1");
  EXPECT_EQ(model.data(model.index(255, 0)).toString(), "E1256");
  int inserted = 0;
  QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] { ++inserted; });
  while (model.canFetchMore({})) model.fetchMore({});
  EXPECT_EQ(model.rowCount(), 600);
  EXPECT_EQ(inserted, 2);  // 256 at first, then 256 and 88
  EXPECT_EQ(art.AsString("CatalogID"), "A300");  // the engine's cursor stayed where it was
  EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);  // the catalog is read-only
}

TEST_F(TableModelTest, FollowsTheTablesChangesAndItsSuspendedControls) {
  TTable& art = DM().T_FrnArt;
  TTableModel model(art, {"ID", "CatalogID"});
  int resets = 0, rows = -2;
  QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
  QObject::connect(&model, &TTableModel::CurrentRowChanged, [&](int row) { rows = row; });
  art.SetFilter("CatalogID = 'A7'");
  art.SetFiltered(true);
  EXPECT_EQ(resets, 1);
  EXPECT_EQ(model.rowCount(), 1);
  EXPECT_EQ(model.data(model.index(0, 1)).toString(), "A7");
  art.SetFiltered(false);
  EXPECT_EQ(model.rowCount(), TTableModel::kBatch);  // the whole view again
  {
    // an operation of the engine suspends the controls: the grid keeps showing the
    // whole view and hears one change at the end
    TFilterScope scope(art, "CatalogID = 'A9'");
    EXPECT_EQ(resets, 2);
    EXPECT_EQ(art.RecordCount(), 1);
  }
  EXPECT_EQ(resets, 3);
  EXPECT_EQ(model.rowCount(), TTableModel::kBatch);
  const int before = resets;
  art.DisableControls();
  art.SetFilter("CatalogID = 'A8'");
  art.SetFiltered(true);
  art.SetFiltered(false);
  EXPECT_EQ(resets, before);  // nothing while the controls are disabled
  art.EnableControls();
  EXPECT_EQ(resets, before + 1);
  art.First();
  art.Next();
  EXPECT_EQ(rows, 1);
  model.StandOn(5);
  EXPECT_EQ(art.RecNo(), 5);
  EXPECT_EQ(art.AsString("CatalogID"), "A6");
}

TEST_F(TableModelTest, EditsGoThroughTheTableAndARefusedValueChangesNothing) {
  TTable& cur = DM().T_Currency;
  TTableModel model(cur, {"ID", "Name", "Value"});
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_TRUE(model.flags(model.index(1, 2)) & Qt::ItemIsEditable);
  int changedRow = -1;
  QObject::connect(&model, &QAbstractItemModel::dataChanged,
                   [&](const QModelIndex& from, const QModelIndex&) { changedRow = from.row(); });
  EXPECT_TRUE(model.setData(model.index(1, 2), "96,25"));
  EXPECT_EQ(model.data(model.index(1, 2)).toString(), "96.25");
  EXPECT_EQ(changedRow, 1);  // one row repainted, no reset
  EXPECT_FALSE(model.setData(model.index(1, 1), "ЕВРОПА"));  // longer than the field
  ASSERT_FALSE(ui_.boxes.empty());
  EXPECT_EQ(ui_.boxes.back().kind, "error");
  EXPECT_EQ(model.data(model.index(1, 1)).toString(), "EUR");
  EXPECT_EQ(cur.State(), TDataSetState::Browse);
}

}  // namespace
}  // namespace kvf
