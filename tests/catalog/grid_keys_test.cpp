// The shared keys of editable grids, through a scripted grid host.
#include <gtest/gtest.h>

#include "catalog/dm.h"
#include "catalog/grid_keys.h"
#include "catalog/table.h"
#include "support/catalog_fixture.h"
#include "support/scripted_ui.h"

namespace kvf {
namespace {

class TFakeGrid : public TGridHost {
 public:
  std::string field = "Name";
  std::vector<int> marked;
  bool asks = true;
  std::string clipboard, pastedIntoEditor;
  std::string CurrentField() const override { return field; }
  std::vector<int> MarkedRows() const override { return marked; }
  void ClearMarks() override { marked.clear(); }
  bool AsksBeforeDelete() const override { return asks; }
  std::string ClipboardText() const override { return clipboard; }
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  void PasteIntoEditor(const std::string& text) override { pastedIntoEditor = text; }
};

class GridKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int id = 1; id <= 4; ++id)
      fx_.Insert("Currency.DB", {{"ID", int64_t{id}}, {"Name", std::string("C") + std::to_string(id)}});
    fx_.Insert("Catalog.DB", {{"ID", std::string("AB-1")}, {"Name", std::string("Привод")}, {"Currency", int64_t{2}}});
    fx_.OpenDM();
  }
  test::TScriptedUi ui_;
  test::TCatalogFixture fx_;
  TFakeGrid grid_;
};

TEST_F(GridKeysTest, InsertKeysCopyPasteAndAppend) {
  TTable& cur = DM().T_Currency;
  cur.First();
  EXPECT_TRUE(GridKeyAction(cur, grid_, TGridKey::Insert, {false, true, false}));  // Ctrl+Insert
  EXPECT_EQ(grid_.clipboard, "C1");
  grid_.clipboard = "РУБ";
  EXPECT_TRUE(GridKeyAction(cur, grid_, TGridKey::Insert, {true, false, true}));  // Shift+Insert in the editor
  EXPECT_EQ(grid_.pastedIntoEditor, "РУБ");
  EXPECT_EQ(cur.State(), TDataSetState::Browse);
  EXPECT_TRUE(GridKeyAction(cur, grid_, TGridKey::Insert, {true, false, false}));  // Shift+Insert on the row
  EXPECT_EQ(cur.State(), TDataSetState::Edit);
  EXPECT_EQ(cur.AsString("Name"), "РУБ");
  cur.Cancel();
  EXPECT_TRUE(GridKeyAction(cur, grid_, TGridKey::Insert, {}));  // Insert
  EXPECT_EQ(cur.State(), TDataSetState::Insert);
  cur.Cancel();

  TTable& cat = DM().T_Catalog;  // read-only: copying only
  cat.First();
  grid_.field = "CurrencyLookup";  // a lookup column copies its key field
  EXPECT_TRUE(GridKeyAction(cat, grid_, TGridKey::Insert, {false, true, false}));
  EXPECT_EQ(grid_.clipboard, "2");
  grid_.field = "Name";
  EXPECT_FALSE(GridKeyAction(cat, grid_, TGridKey::Insert, {}));
  EXPECT_FALSE(GridKeyAction(cat, grid_, TGridKey::Insert, {true, false, false}));
  EXPECT_FALSE(GridKeyAction(cat, grid_, TGridKey::Delete, {false, true, false}));
  EXPECT_EQ(cat.RecordCount(), 1);
}

TEST_F(GridKeysTest, CtrlKeysCallTheirHandlersWhereTheTableAllows) {
  std::vector<char> called;
  const TGridKeyHandlers handlers{[&] { called.push_back('C'); }, [&] { called.push_back('V'); },
                                  [&] { called.push_back('B'); }};
  const TGridKeyState ctrl{false, true, false};
  for (TGridKey k : {TGridKey::C, TGridKey::V, TGridKey::B})
    EXPECT_TRUE(GridKeyAction(DM().T_Currency, grid_, k, ctrl, handlers));
  for (TGridKey k : {TGridKey::C, TGridKey::V, TGridKey::B}) GridKeyAction(DM().T_Catalog, grid_, k, ctrl, handlers);
  EXPECT_EQ(called, (std::vector<char>{'C', 'V', 'B', 'C'}));  // the catalog takes no pastes
  EXPECT_FALSE(GridKeyAction(DM().T_Currency, grid_, TGridKey::C, {}, handlers));  // C alone is typing
}

TEST_F(GridKeysTest, CtrlDeleteAsksAndDeletesTheCurrentOrTheMarkedRows) {
  TTable& cur = DM().T_Currency;
  const TGridKeyState ctrl{false, true, false};
  cur.First();
  ui_.answers = {0};
  EXPECT_TRUE(GridKeyAction(cur, grid_, TGridKey::Delete, ctrl));
  EXPECT_EQ(ui_.boxes.back().text, "Удалить запись?");
  EXPECT_EQ(cur.RecordCount(), 4);  // refused
  ui_.answers = {1};
  GridKeyAction(cur, grid_, TGridKey::Delete, ctrl);
  EXPECT_EQ(cur.RecordCount(), 3);
  int changes = 0;
  const int id = cur.AddListener([&](const TTableChange& c) { changes += c.kind == TTableEvent::DataChanged; });
  grid_.marked = {0, 2};
  ui_.answers = {1};
  GridKeyAction(cur, grid_, TGridKey::Delete, ctrl);
  EXPECT_EQ(ui_.boxes.back().text, "Удалить 2 записей?");
  ASSERT_EQ(cur.RecordCount(), 1);
  cur.First();
  EXPECT_EQ(cur.AsString("Name"), "C3");  // C2 and C4 went, by their rows, not their moving positions
  EXPECT_TRUE(grid_.marked.empty());
  EXPECT_EQ(changes, 1);  // the grid heard one change of its rows for the whole deletion
  cur.RemoveListener(id);
  grid_.asks = false;
  const size_t boxes = ui_.boxes.size();
  GridKeyAction(cur, grid_, TGridKey::Delete, ctrl);
  EXPECT_EQ(ui_.boxes.size(), boxes);  // no question when the grid does not ask
  EXPECT_TRUE(cur.IsEmpty());
  EXPECT_TRUE(GridKeyAction(cur, grid_, TGridKey::Delete, ctrl));  // an empty table: nothing happens
}

}  // namespace
}  // namespace kvf
