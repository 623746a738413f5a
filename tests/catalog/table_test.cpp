#include <gtest/gtest.h>

#include "catalog/dm.h"
#include "catalog/filter.h"
#include "catalog/table.h"
#include "core/error.h"
#include "support/catalog_fixture.h"
#include "support/scripted_ui.h"

namespace kvf {
namespace {

using test::TRow;

std::vector<std::string> Walk(TTable& t, const char* field) {
  std::vector<std::string> out;
  for (t.First(); !t.Eof(); t.Next()) out.push_back(t.AsString(field));
  return out;
}

class TableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fx_.Insert("FrnArt.DB", {{"ID", std::string("E1")}, {"CatalogID", std::string("A3")}, {"Key", int64_t{1}},
                             {"FFBMin", int64_t{40}}, {"FFBMax", int64_t{80}}, {"Color", std::string("WH")}});
    fx_.Insert("FrnArt.DB", {{"ID", std::string("E1")}, {"CatalogID", std::string("A1")}, {"Key", int64_t{2}},
                             {"FFBMin", int64_t{81}}, {"FFBMax", int64_t{120}}});
    fx_.Insert("FrnArt.DB", {{"ID", std::string("E2")}, {"CatalogID", std::string("A2")}, {"Key", int64_t{3}},
                             {"Color", std::string("")}, {"WeightMin", 10.5}, {"WeightMax", 90.0}});
    fx_.Insert("FrnArt.DB", {{"ID", std::string("e1")}, {"CatalogID", std::string("A9")}, {"Key", int64_t{4}}});
    fx_.Insert("Catalog.DB", {{"ID", std::string("AB-1")}, {"Name", std::string("Привод")}, {"Currency", int64_t{2}},
                              {"PriceGrp", int64_t{1}}, {"Price", 12.5}, {"GOST", std::string("never read")}});
    fx_.Insert("Currency.DB", {{"ID", int64_t{2}}, {"Name", std::string("EUR")}});
    fx_.Insert("PriceGrp.DB", {{"GroupID", int64_t{1}}, {"Name", std::string("Опт")}});
    fx_.OpenDM();
  }
  test::TScriptedUi ui_;
  test::TCatalogFixture fx_;
};

TEST_F(TableTest, WalksInPrimaryKeyOrderAndFindsExactKeys) {
  TTable& art = DM().T_FrnArt;
  EXPECT_EQ(Walk(art, "CatalogID"), (std::vector<std::string>{"A1", "A3", "A2", "A9"}));  // ID, CatalogID, Key
  EXPECT_EQ(art.RecordCount(), 4);
  TTable& cat = DM().T_Catalog;
  EXPECT_TRUE(cat.FindKey({std::string("AB-1")}));
  EXPECT_EQ(cat.AsString("Name"), "Привод");
  EXPECT_EQ(cat.AsMoney("Price").ToString(), "12.5000");
  EXPECT_FALSE(cat.FindKey({std::string("ab-1")}));  // exact, case-sensitive
  EXPECT_TRUE(art.Locate({"ID"}, {std::string("e1")}));
  EXPECT_EQ(art.AsString("CatalogID"), "A9");
  EXPECT_TRUE(art.Locate({"ID", "CatalogID"}, {std::string("E1"), std::string("A3")}));
  EXPECT_EQ(art.RecNo(), 1);
  art.Next();
  EXPECT_EQ(art.AsString("CatalogID"), "A2");
  EXPECT_TRUE(art.Locate({"ID"}, {std::string("E")}, false, true));  // prefix
  EXPECT_EQ(art.AsString("CatalogID"), "A1");
  EXPECT_TRUE(art.Locate({"ID"}, {std::string("E1")}, true));
  EXPECT_EQ(art.AsString("CatalogID"), "A1");
}

TEST_F(TableTest, FiltersWithBlanksAsEmptyOrZero) {
  TTable& art = DM().T_FrnArt;
  struct Case { const char* filter; std::vector<std::string> ids; };
  const Case cases[] = {
      {"FFBMin <= 70 and FFBMax >= 70 and ID='E1'", {"A3"}},
      {"FFBMin <= 100 and FFBMax >= 100", {"A1"}},
      {"Color = ''", {"A1", "A2", "A9"}},              // NULL and '' are both blank
      {"Color <> 'WH'", {"A1", "A2", "A9"}},
      {"Color = 'WH' or (ID = 'E2' and WeightMin <= 20.25 and  WeightMax >= 20.25)", {"A3", "A2"}},
      {"FFBMin < 1", {"A2", "A9"}},                   // blank is 0
      {"ID = 'e1'", {"A9"}},                           // case-sensitive
      {"ID = 'E''1' or ID = 'E2'", {"A2"}},             // a doubled quote is one quote
      {"(Direct = 3 or Direct = 0) and ID='E2' ", {"A2"}},
      {"not (ID = 'E1')", {"A2", "A9"}},
      {"70 >= FFBMin and \"FFBMax\" >= 70", {"A3"}},  // a blank FFBMax is 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.filter);
    art.SetFilter(c.filter);
    art.SetFiltered(true);
    EXPECT_EQ(Walk(art, "CatalogID"), c.ids);
    EXPECT_EQ(art.RecordCount(), static_cast<int>(c.ids.size()));
  }
  art.SetFiltered(false);
  EXPECT_EQ(art.RecordCount(), 4);
}

TEST_F(TableTest, BadFiltersNameTheTableAndTheFieldOrPosition) {
  TTable& art = DM().T_FrnArt;
  art.SetFilter("Colour = 'WH'");
  try {
    art.SetFiltered(true);
    FAIL();
  } catch (const EKvfError& e) {
    EXPECT_NE(std::string(e.what()).find("[FrnArt.DB]: поле 'Colour' не найдено"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(art.Filtered());
  for (const char* bad : {"ID = ", "ID = 'x", "(ID = 'x'", "ID ! 3", "FFBMin = 'abc'"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(TranslateFilter(bad, art.Def()), EKvfError);
  }
  try {
    TranslateFilter("ID = 'a' and and", art.Def());
  } catch (const EKvfError& e) {
    EXPECT_NE(std::string(e.what()).find("в позиции 14"), std::string::npos) << e.what();
  }
}

TEST_F(TableTest, SqlWordsWorkAsFieldNames) {
  fx_.Insert("FrnProp.db", {{"ID", int64_t{21}}, {"PropKey", int64_t{5}}, {"Default", int64_t{1}}});
  TTable& prop = DM().T_FrnProp;
  prop.SetFilter("PropKey = 5 and Default = 1");
  prop.SetFiltered(true);
  EXPECT_EQ(prop.RecordCount(), 1);
  prop.SetFiltered(false);
  TTable& cat = DM().T_Catalog;
  cat.SetFilter("Group = 0 and Use = 0 and Integer = 0 and Virtual = 0");
  cat.SetFiltered(true);
  EXPECT_EQ(cat.RecordCount(), 1);
  cat.SetFiltered(false);
}

TEST_F(TableTest, OnlyDeclaredLookupAndCalculatedFieldsCanBeRead) {
  TTable& cat = DM().T_Catalog;
  ASSERT_TRUE(cat.FindKey({std::string("AB-1")}));
  EXPECT_EQ(cat.AsString("CurrencyLookup"), "EUR");
  EXPECT_EQ(cat.AsString("PriceGroupLookup"), "Опт");
  EXPECT_THROW(cat.Value("GOST"), EKvfError);  // stored, not declared
  EXPECT_THROW(cat.Value("Nonsense"), EKvfError);
  EXPECT_TRUE(DM().T_FrnArt.IsNull("CatalogNameLookup"));
  EXPECT_EQ(cat.AsString("name"), "Привод");  // names ignore case
}

TEST_F(TableTest, IndexesBookmarksAndFixedFilters) {
  TTable& art = DM().T_FrnArt;
  ASSERT_TRUE(art.Locate({"CatalogID"}, {std::string("A2")}));
  const TBookmark mark = art.GetBookmark();
  art.First();
  EXPECT_TRUE(art.GotoBookmark(mark));
  EXPECT_EQ(art.AsString("CatalogID"), "A2");
  art.SetFilter("ID = 'E1'");
  art.SetFiltered(true);
  EXPECT_FALSE(art.GotoBookmark(mark));
  art.SetFiltered(false);
  EXPECT_THROW(art.SetIndexName("NoSuchIndex"), EKvfError);
}

TEST_F(TableTest, ParamListsAndMaterialsKeepTheirFixedFilters) {
  test::TCatalogFixture fx;
  for (int id : {99, 150, 250, 350, 450, 500}) fx.Insert("ParamList.DB", {{"ID", int64_t{id}}});
  fx.Insert("Material.db", {{"ID", int64_t{0}}, {"Name", std::string("нет")}});
  fx.Insert("Material.db", {{"ID", int64_t{1}}, {"Name", std::string("ПВХ")}});
  TDM& dm = fx.OpenDM();
  EXPECT_EQ(Walk(dm.T_FalzList, "ID"), (std::vector<std::string>{"150"}));
  EXPECT_EQ(Walk(dm.T_DornList, "ID"), (std::vector<std::string>{"250"}));
  EXPECT_EQ(Walk(dm.T_StulpList, "ID"), (std::vector<std::string>{"350"}));
  EXPECT_EQ(Walk(dm.T_OpenList, "ID"), (std::vector<std::string>{"450"}));
  EXPECT_EQ(Walk(dm.T_Material, "ID"), (std::vector<std::string>{"1"}));
}

TEST_F(TableTest, WritesArePostedWholeOrNotAtAll) {
  TTable& cur = DM().T_Currency;
  cur.Append();
  cur.SetValue("ID", int64_t{3});
  cur.SetValue("Name", std::string("USD"));
  cur.SetValue("Value", std::string("92,5"));
  cur.Post();
  EXPECT_EQ(cur.RecordCount(), 2);
  EXPECT_EQ(cur.AsFloat("Value"), 92.5);
  cur.Edit();
  EXPECT_THROW(cur.SetValue("Name", std::string("TOOLONG")), EKvfError);  // A 5
  EXPECT_THROW(cur.SetValue("Gender", int64_t{70000}), EKvfError);        // S
  EXPECT_THROW(cur.SetValue("Value", std::string("abc")), EKvfError);
  cur.SetValue("Name", std::string("Дол"));
  cur.Cancel();
  EXPECT_EQ(cur.AsString("Name"), "USD");
  ASSERT_TRUE(cur.Locate({"ID"}, {int64_t{3}}));
  cur.Delete();
  EXPECT_EQ(cur.RecordCount(), 1);
  EXPECT_THROW(DM().T_Catalog.Edit(), EKvfError);  // the catalog is read-only
}

TEST_F(TableTest, ListenersMayComeAndGoWhileTheyAreTold) {
  TTable& cur = DM().T_Currency;
  std::vector<std::string> heard;
  int self = 0, late = 0;
  self = cur.AddListener([&](const TTableChange&) {
    heard.push_back("self");
    cur.RemoveListener(self);  // removes itself while it runs
    late = cur.AddListener([&](const TTableChange&) { heard.push_back("late"); });
  });
  int victim = 0;
  cur.AddListener([&](const TTableChange&) {
    heard.push_back("remover");
    cur.RemoveListener(victim);
  });
  victim = cur.AddListener([&](const TTableChange&) { heard.push_back("victim"); });
  cur.First();
  EXPECT_EQ(heard, (std::vector<std::string>{"self", "remover"}));  // the victim was removed before its turn
  heard.clear();
  cur.First();
  EXPECT_EQ(heard, (std::vector<std::string>{"remover", "late"}));
  cur.RemoveListener(late);
}

TEST_F(TableTest, EventsSayWhatChangedAndDisabledControlsHearOneChange) {
  TTable& cur = DM().T_Currency;
  std::vector<TTableChange> events;
  const int id = cur.AddListener([&](const TTableChange& c) { events.push_back(c); });
  cur.First();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, TTableEvent::Scrolled);
  events.clear();
  cur.Edit();
  cur.SetValue("Name", std::string("ЕВР"));
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, TTableEvent::StateChanged);
  EXPECT_EQ(events[1].kind, TTableEvent::FieldChanged);
  EXPECT_EQ(events[1].field, "Name");
  EXPECT_EQ(events[1].row, 0);
  cur.Cancel();
  events.clear();
  cur.Edit();
  cur.SetValue("Name", std::string("ЕВР"));
  cur.Post();  // an edit that keeps the row's place: one row to repaint
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, TTableEvent::RowChanged);
  EXPECT_EQ(events.back().row, 0);
  cur.Append();
  cur.SetValue("ID", int64_t{1});
  cur.SetValue("Name", std::string("RUB"));
  cur.Post();  // a new row moves the others: the whole view
  EXPECT_EQ(events.back().kind, TTableEvent::DataChanged);
  events.clear();
  cur.DisableControls();
  cur.DisableControls();
  cur.SetFilter("ID = 2");
  cur.SetFiltered(true);
  cur.First();
  cur.SetFiltered(false);
  cur.EnableControls();
  EXPECT_TRUE(events.empty());  // still disabled once
  EXPECT_TRUE(cur.ControlsDisabled());
  cur.EnableControls();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, TTableEvent::DataChanged);
  events.clear();
  cur.DisableControls();
  cur.EnableControls();
  EXPECT_TRUE(events.empty());  // nothing happened, nothing to tell
  cur.RemoveListener(id);
}

TEST_F(TableTest, AGridReadsRowsByPositionWithoutMovingTheCursor) {
  TTable& art = DM().T_FrnArt;
  ASSERT_TRUE(art.Locate({"CatalogID"}, {std::string("A2")}));
  int events = 0;
  const int id = art.AddListener([&](const TTableChange&) { ++events; });
  ASSERT_EQ(art.ViewCount(), 4);
  std::vector<std::string> column;
  for (int i = 0; i < art.ViewCount(); ++i) column.push_back(ValueAsString(art.ValueAt(i, "CatalogID")));
  EXPECT_EQ(column, (std::vector<std::string>{"A1", "A3", "A2", "A9"}));
  EXPECT_TRUE(IsBlank(art.ValueAt(9, "CatalogID")));
  EXPECT_THROW(art.ValueAt(0, "NoSuchField"), EKvfError);
  EXPECT_EQ(art.AsString("CatalogID"), "A2");  // the cursor stayed
  EXPECT_EQ(events, 0);
  art.RemoveListener(id);

  TTable& cur = DM().T_Currency;
  cur.First();
  cur.Edit();
  cur.SetValue("Name", std::string("ЕВР"));
  EXPECT_EQ(ValueAsString(cur.ValueAt(0, "Name")), "ЕВР");  // the edited row shows its buffer
  cur.Cancel();
  EXPECT_EQ(ValueAsString(cur.ValueAt(0, "Name")), "EUR");
  TTable& cat = DM().T_Catalog;
  for (const std::string& name : cat.FieldNames()) {  // lookups read the same by position as on the cursor
    SCOPED_TRACE(name);
    cat.First();
    EXPECT_EQ(ValueAsString(cat.ValueAt(0, name)), ValueAsString(cat.Value(name)));
  }
}

TEST_F(TableTest, QuotedValuesFindExactlyTheirRowEvenWithQuotesInside) {
  TTable& cur = DM().T_Currency;
  const std::vector<std::string> names = {"O'N", "''", "'", "a'b'c", "x\"y"};
  int id = 10;
  for (const std::string& name : names) {
    cur.Append();
    cur.SetValue("ID", int64_t{id++});
    cur.SetValue("Name", name);
    cur.Post();
  }
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    TFilterScope scope(cur, "Name = " + QuotedFilterValue(name) + " and ID >= 10");
    ASSERT_EQ(cur.RecordCount(), 1);
    EXPECT_EQ(cur.AsString("Name"), name);
  }
  EXPECT_EQ(QuotedFilterValue("O'N"), "'O''N'");
  EXPECT_EQ(QuotedFilterValue(""), "''");
}

TEST_F(TableTest, AKeyViolationLeavesTheTableAsItWas) {
  TTable& reg = DM().T_OrderList;
  ASSERT_TRUE(DM().OpenDataSet(reg));
  reg.Append();
  reg.SetValue("No", std::string("A-1"));
  reg.Post();
  reg.Append();
  reg.SetValue("No", std::string("A-1"));
  try {
    reg.Post();
    FAIL();
  } catch (const EKvfError& e) {
    EXPECT_EQ(std::string(e.what()), "Нарушение ключа в таблице [OrderLst.DB]");
  }
  EXPECT_EQ(reg.State(), TDataSetState::Insert);
  reg.Cancel();
  EXPECT_EQ(reg.RecordCount(), 1);
}

TEST(DataModule, AMissingTableIsReportedOnceAndTheOthersOpen) {
  test::TScriptedUi ui;
  test::TCatalogFixture fx;
  fx.DropTable("FrnItoI.DB");
  TDM& dm = fx.OpenDM();
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text.rfind("Ошибка открытия файла [FrnItoI.DB]\r\n(", 0), 0u);
  for (TTable* t : dm.CatalogTables()) EXPECT_EQ(t->Active(), t != &dm.T_FrnItoI) << t->Name();
  EXPECT_THROW(dm.T_FrnItoI.First(), EKvfError);
}

TEST(DataModule, LocalSqlRunsAsWritten) {
  test::TScriptedUi ui;
  test::TCatalogFixture fx;
  fx.Insert("SysProp.DB", {{"ID", int64_t{21}}, {"GroupName", std::string("Цвет")}, {"ValueName", std::string("Белый")}});
  fx.Insert("SysProp.DB", {{"ID", int64_t{22}}, {"GroupName", std::string("Цвет")}, {"ValueName", std::string("Коричневый")}});
  fx.Insert("FrnProp.db", {{"ID", int64_t{21}}, {"PropKey", int64_t{7}}, {"Default", int64_t{0}}});
  fx.Insert("FrnProp.db", {{"ID", int64_t{22}}, {"PropKey", int64_t{7}}, {"Default", int64_t{1}}});
  fx.Insert("FrnProp.db", {{"ID", int64_t{21}}, {"PropKey", int64_t{8}}, {"Default", int64_t{0}}});
  TDM& dm = fx.OpenDM();
  TQuery q("Q_Prop");
  q.SQL = {"select T1.\"ID\", T1.\"GroupName\", T1.\"ValueName\", T.\"Default\", T.\"PropKey\"",
           "from \":KMDB_Catalog:FrnProp.DB\" T, \":KMDB_Catalog:SysProp.DB\" T1", "where", "T.\"ID\" = T1.\"ID\"",
           "and", "T.\"PropKey\" IN (7, 0, 0, 0, 0, 0, 0)"};
  ASSERT_TRUE(dm.OpenDataSet(q));
  ASSERT_EQ(q.RecordCount(), 2);
  EXPECT_EQ(q.AsString("ValueName"), "Белый");
  q.Next();
  EXPECT_EQ(q.AsInteger("Default"), 1);

  TQuery reports("Q_Report");
  reports.SQL = {"SELECT *", "FROM \":KMDB_Report:Report.db\" T", "WHERE", "T.\"Group\" = 1", "AND", "USE = 1"};
  ASSERT_TRUE(dm.OpenDataSet(reports));
  EXPECT_EQ(reports.RecordCount(), 0);

  TQuery bad("Q_Bad");
  bad.SQL = {"select * from \":KMDB_Catalog:Nothing.DB\""};
  EXPECT_FALSE(dm.OpenDataSet(bad));
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text.rfind("Ошибка открытия SQL-запроса:\r\n(", 0), 0u);
  EXPECT_NE(ui.boxes[0].text.find("SQL:\r\n(select * from"), std::string::npos);
}

}  // namespace
}  // namespace kvf
