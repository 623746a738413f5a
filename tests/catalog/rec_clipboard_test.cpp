#include <gtest/gtest.h>

#include "catalog/rec_clipboard.h"
#include "support/catalog_fixture.h"
#include "support/scripted_ui.h"

namespace kvf {
namespace {

class TFakeSelection : public TGridSelection {
 public:
  std::vector<TBookmark> rows;
  std::vector<TBookmark> SelectedRows() override { return rows; }
  void ClearSelection() override { rows.clear(); }
};

class RecClipBoardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int id = 1; id <= 3; ++id)
      fx_.Insert("PriceGrp.DB", {{"GroupID", int64_t{id}}, {"Name", "Группа " + std::to_string(id)},
                                 {"Reduce_1", id * 1.5}});
    table_ = &fx_.OpenDM().T_PriceGrp;
  }
  std::vector<TBookmark> Marks() {
    std::vector<TBookmark> marks;
    for (table_->First(); !table_->Eof(); table_->Next()) marks.push_back(table_->GetBookmark());
    return marks;
  }
  test::TScriptedUi ui_;
  test::TCatalogFixture fx_;
  TTable* table_ = nullptr;
};

TEST_F(RecClipBoardTest, PastingOneRowOverwritesTheCurrentRowAndLeavesItInEdit) {
  table_->First();
  CopyToRecClipBoard(table_, nullptr, false, nullptr);
  table_->Next();
  PasteFromRecClipBoard(table_);
  EXPECT_EQ(table_->State(), TDataSetState::Edit);
  EXPECT_EQ(table_->AsString("Name"), "Группа 1");
  EXPECT_EQ(table_->AsFloat("Reduce_1"), 1.5);
  table_->Cancel();
  EXPECT_EQ(table_->AsString("Name"), "Группа 2");
}

TEST_F(RecClipBoardTest, PastingSelectedRowsAppendsPostedRowsAndRestoresTheRow) {
  const std::vector<TBookmark> marks = Marks();
  TFakeSelection grid;
  grid.rows = {marks[2], marks[0], marks[1]};
  table_->GotoBookmark(marks[1]);
  const std::vector<std::string> without = {"GroupID"};
  CopyToRecClipBoard(table_, &without, true, &grid);
  EXPECT_EQ(RecClipBoard().Items.size(), 3u);
  EXPECT_TRUE(grid.rows.empty());
  EXPECT_EQ(table_->AsString("Name"), "Группа 2");
  EXPECT_FALSE(table_->ControlsDisabled());
  PasteFromRecClipBoard(table_);
  EXPECT_EQ(table_->RecordCount(), 6);
  EXPECT_EQ(table_->State(), TDataSetState::Browse);
}

TEST_F(RecClipBoardTest, PastingIntoAnotherTableOrFromAnEmptyClipboardDoesNothing) {
  RecClipBoard().Clear();
  PasteFromRecClipBoard(table_);
  EXPECT_EQ(table_->State(), TDataSetState::Browse);
  table_->First();
  const std::vector<std::string> only = {"Name", "Nonexistent"};
  CopyToRecClipBoard(table_, &only, false, nullptr);
  ASSERT_EQ(RecClipBoard().Items.at(0).Fields.size(), 1u);
  PasteFromRecClipBoard(&DM().T_Currency);
  EXPECT_EQ(DM().T_Currency.State(), TDataSetState::Browse);
}

}  // namespace
}  // namespace kvf
