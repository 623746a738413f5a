// The calculation of a sash's complement on small catalogs made by each test.
#include <gtest/gtest.h>

#include "catalog/row_chooser.h"
#include "core/error.h"
#include "core/setup.h"
#include "engine/calc.h"
#include "engine/furn_comp.h"
#include "engine/order.h"
#include "support/catalog_fixture.h"
#include "support/scripted_ui.h"

namespace kvf {
namespace {

using test::TRow;
TFieldValue S(const char* s) { return std::string(s); }
TFieldValue I(int64_t v) { return v; }

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fx_.Insert("ParamList.DB", {{"ID", I(101)}, {"FalzLuft", I(12)}, {"FalzSize", I(20)}, {"FalzPos", I(9)}});
    fx_.Insert("ParamList.DB", {{"ID", I(201)}, {"DornMass", 15.0}});
    fx_.Insert("ParamList.DB", {{"ID", I(301)}, {"StulpType", I(1)}});
    fx_.Insert("ParamList.DB", {{"ID", I(401)}, {"OpenType", I(0)}});
    fx_.Insert("ParamList.DB", {{"ID", I(402)}, {"OpenType", I(1)}});
    fx_.Insert("ParamList.DB", {{"ID", I(404)}, {"OpenType", I(2)}});
    Complect("K", 1);
    Complect("H", 0, 30);
    order_.FCurrencyRates = {{0, 1.0f}, {1, 1.0f}};
    kvf::Setup().CurrentRates = &order_.FCurrencyRates;
    kvf::Setup().CurrentCurrency = 1;
  }
  void TearDown() override {
    kvf::Setup().DebugMode = false;
    kvf::Setup().CurrentRates = nullptr;
    kvf::Setup().CurrentCurrency = 0;
  }

  // A main complect with the four sides of a rectangle (handle on side 3).
  void Complect(const char* id, int image, int group = 10) {
    fx_.Insert("FrnComp.DB", {{"ID", S(id)}, {"Name", std::string("Комплект ") + id}, {"Group", I(group)},
                              {"Image", I(image)}, {"Direct", I(1)}, {"ScrColor", I(255)}});
    if (group != 10) return;
    for (int side = 1; side <= 5; ++side)  // side 5 does not exist on a rectangle
      fx_.Insert("FrnSide.DB", {{"ID", S(id)}, {"Side", I(side)}, {"Handled", I(side == 3 || side == 5)},
                                {"HandleDirect", I(1)}, {"Banded", I(side == 1)}, {"OpenMode", I(side == 3)},
                                {"RotSide", I(1)}});
  }
  void Item(const char* id, TRow flags = {}) {
    flags.push_back({"ID", S(id)});
    flags.push_back({"Name", std::string("Элемент ") + id});
    fx_.Insert("FrnItem.DB", flags);
  }
  void Article(const char* id, bool isVirtual = false) {
    fx_.Insert("Catalog.DB", {{"ID", S(id)}, {"Name", S(id)}, {"Virtual", I(isVirtual)}});
  }
  void Art(const char* element, const char* article, TRow conditions = {}) {
    conditions.push_back({"ID", S(element)});
    conditions.push_back({"CatalogID", S(article)});
    conditions.push_back({"Key", I(++key_)});
    fx_.Insert("FrnArt.DB", conditions);
  }
  void Line(const char* complect, const char* element, TRow fields = {}) {
    fields.push_back({"ID", S(complect)});
    fields.push_back({"Item", S(element)});
    fields.push_back({"Key", I(++key_)});
    bool hasNumber = false;
    for (const auto& f : fields) hasNumber = hasNumber || f.first == "Number";
    if (!hasNumber) fields.push_back({"Number", I(1)});
    fx_.Insert("FrnSet.DB", fields);
  }
  // An element with one article of the same name.
  void Simple(const char* element, const char* article, TRow flags = {}) {
    Item(element, flags);
    Article(article);
    Art(element, article);
  }

  TkvfConstruction& Position(int b, int h, int figure = 0, int x = 0, int y = 0) {
    if (!open_) {
      fx_.OpenDM();
      open_ = true;
    }
    auto p = order_.NewPosition();
    p->FSashLayout = figure == 1 ? 1 : figure == 2 ? 0 : 2;
    p->BuildOutlines({b, h, figure, x, y}, 201);
    order_.Positions.push_back(std::move(p));
    return *order_.Positions.back();
  }
  static TkvfFittingsChoice Choice(const char* complect, TkvfSashChoice sash = {}) {
    TkvfFittingsChoice c;
    c.FFurnSys = "1200";
    c.FProfSys = "P70";
    c.FFurnColor = "WH";
    c.FFalzType = 101;
    c.FStulpType = 301;
    c.FFlugelType = 401;
    sash.FComplect = complect;
    sash.FDornType = 201;
    c.sash1 = sash;
    return c;
  }
  static std::vector<std::string> Lines(const TkvfFlugel& sash) {
    std::vector<std::string> lines;
    if (!sash.FComplement) return lines;
    for (const TkvfFurnItem& i : sash.FComplement->Items)
      lines.push_back(i.FArticle + " x" + std::to_string(i.FCount) + (i.FSideNo ? " s" + std::to_string(i.FSideNo) : ""));
    return lines;
  }
  std::string Error(TkvfConstruction& p, const TkvfFittingsChoice& c) {
    try {
      p.SetFittings(c);
    } catch (const EKvfError& e) {
      return e.what();
    }
    return {};
  }

  test::TScriptedUi ui_;
  test::TCatalogFixture fx_;
  TkvfOrder order_;
  bool open_ = false;
  int key_ = 0;
};

TEST_F(EngineTest, AddItemMergesEqualLinesUnlessDebugging) {
  Article("A");
  Article("V", true);
  TkvfConstruction& p = Position(700, 1400);
  TkvfFurnComp comp(p.FFlugel1.get());
  comp.AddItem("A", "K", 1, 2, "c", 0, false, "h1");
  comp.AddItem("A", "K", 1, 3, "c", 0, false, "h2");
  comp.AddItem("A", "K", 1, 1, "c", 1200.5f, false, "");
  comp.AddItem("A", "K", 1, 0, "c", 0, false, "");
  comp.AddItem("V", "K", 1, 1, "c", 0, false, "");
  comp.AddItem("", "K", 1, 1, "c", 0, false, "");
  ASSERT_EQ(comp.Items.size(), 2u);
  EXPECT_EQ(comp.Items[0].FCount, 5);
  EXPECT_EQ(comp.Items[0].FHistory, "");
  comp.AddItem("A", "K", 1, 1, "c", 0, true, "h3");
  comp.AddItem("A", "K", 1, 1, "c", 0, true, "h4");
  ASSERT_EQ(comp.Items.size(), 4u);
  EXPECT_EQ(comp.Items[3].FHistory, "h4");
}

TEST_F(EngineTest, SidesTakeTheUserHandleHeightOrTheMiddleAndIgnoreUnknownSides) {
  TkvfConstruction& p = Position(700, 1400);
  TkvfSashChoice user;
  user.FUserDefineHeight = true;
  user.FUserHandleHeight = 1050;
  p.SetFittings(Choice("K", user));
  const auto& sides = p.FFlugel1->FSides;
  EXPECT_EQ(sides[2].FHandleHeight, 1050);
  EXPECT_TRUE(sides[0].FHinged);
  EXPECT_TRUE(sides[2].FOpenMark);
  EXPECT_EQ(sides[2].FApexSide, 0);
  EXPECT_EQ(p.FFlugel1->FComplement->FHingeImage, 20);
  EXPECT_EQ(p.FFlugel1->FComplement->FHingeColor, 255);
  p.SetFittings(Choice("K"));
  EXPECT_EQ(sides[2].FHandleHeight, 700);  // the middle of a 1400 mm side
}

TEST_F(EngineTest, SizeRowsApplyFromTheirMinimumAndUpToTheirMaximumIncluded) {
  Simple("E1", "A-40");
  Simple("E2", "A-80");
  Line("K", "E1", {{"FFBMin", I(40)}});
  Line("K", "E2", {{"FFBMin", I(41)}, {"FFBMax", I(80)}});
  struct Case { int b; std::vector<std::string> lines; };
  for (const Case& c : {Case{394, {}}, Case{395, {"A-40 x1"}}, Case{800, {"A-40 x1", "A-80 x1"}},
                        Case{815, {"A-40 x1"}}}) {
    SCOPED_TRACE(c.b);
    TkvfConstruction& p = Position(c.b, 1000);
    p.SetFittings(Choice("K"));
    EXPECT_EQ(Lines(*p.FFlugel1), c.lines);
  }
}

TEST_F(EngineTest, CodesWithQuotesAreFilteredAsThemselves) {
  Complect("K'Q", 1);
  Simple("E'1", "A'1");
  Line("K'Q", "E'1");
  Line("K", "E'1");  // the same element under the plain complect
  TkvfConstruction& p = Position(700, 1000);
  p.SetFittings(Choice("K'Q"));
  EXPECT_EQ(Lines(*p.FFlugel1), (std::vector<std::string>{"A'1 x1"}));
  EXPECT_EQ(p.FFlugel1->FComplement->FComplect, "K'Q");
}

TEST_F(EngineTest, CountsFollowStepsAndThresholdSchemes) {
  EXPECT_EQ(CountScaleSteps("80;120", 79), 0);
  EXPECT_EQ(CountScaleSteps("80; 120", 120), 2);
  EXPECT_EQ(CountScaleSteps("80;x;-1;100", 200), 2);
  Simple("STEP", "A-STEP");
  Simple("SCHEME", "A-SCHEME");
  Line("K", "STEP", {{"ScaleCondition", I(1)}, {"ScaleStart", I(60)}, {"ScaleStep", I(25)}, {"ScaleNum", I(1)}});
  Line("K", "SCHEME", {{"ScaleCondition", I(1)}, {"ScaleScheme", S("80;120")}, {"ScaleNum", I(1)}});
  struct Case { int b; int step, scheme; };
  for (const Case& c : {Case{590, 1, 1}, Case{600, 2, 1}, Case{840, 2, 2}, Case{850, 3, 2}, Case{1200, 4, 3}}) {
    SCOPED_TRACE(c.b);
    TkvfConstruction& p = Position(c.b, 1000);
    p.SetFittings(Choice("K"));
    EXPECT_EQ(Lines(*p.FFlugel1),
              (std::vector<std::string>{"A-SCHEME x" + std::to_string(c.scheme), "A-STEP x" + std::to_string(c.step)}));
  }
}

TEST_F(EngineTest, CatalogMistakesStopWithTheirMessages) {
  Simple("E", "A");
  Line("K", "E", {{"FFL1Min", I(100)}, {"FFL1No", I(9)}});
  Complect("M8", 1);
  Line("M8", "E", {{"FFL21Min", I(100)}, {"FFL21No", I(1)}});
  Complect("M12", 1);
  Line("M12", "E", {{"ScaleCondition", I(2)}, {"ScaleStep", I(0)}});
  Complect("NOSTEP", 1);
  Line("NOSTEP", "E", {{"ScaleCondition", I(7)}, {"ScaleStep", I(0)}, {"Number", I(2)}});
  Complect("EMPTY", 1);
  Line("EMPTY", "");
  TkvfConstruction& p = Position(700, 1400);
  EXPECT_EQ(Error(p, Choice("K")),
            "В БД наборов фурнитуры в комплекте [Комплект K]\r\nсодержится элемент фурнитуры [Элемент E],\r\nдля "
            "которого определены условия установки, зависящие от\r\nдлины стороны, на которую он "
            "устанавливается.\r\nНомер 1-ой расчетной стороны в условиях определен неверно!");
  EXPECT_FALSE(p.FFlugel1->FComplement);  // created by the failing call, removed again
  EXPECT_EQ(Error(p, Choice("M8")),
            "В БД наборов фурнитуры в комплекте [Комплект M8]\r\nсодержится элемент фурнитуры [Элемент E],\r\nдля "
            "которого определены условия установки, зависящие от\r\nдлины стороны смежной створки.\r\nСмежная створка "
            "не установлена. Установите сначала створку.");
  EXPECT_EQ(Error(p, Choice("M12")),
            "В БД наборов фурнитуры в комплекте [Комплект M12]\r\nсодержится элемент фурнитуры [Элемент E],\r\nимеющий "
            "масштабирование и шаг равный нулю!");
  EXPECT_EQ(Error(p, Choice("NOSTEP")), "");
  EXPECT_EQ(Lines(*p.FFlugel1), (std::vector<std::string>{"A x2"}));
  EXPECT_EQ(Error(p, Choice("EMPTY")),
            "В БД наборов фурнитуры в комплекте\r\n[Комплект EMPTY] содержится пустой элемент!");
  EXPECT_TRUE(p.FFlugel1->FComplement);  // it existed before: the choice stays, without items
  EXPECT_TRUE(p.FFlugel1->FComplement->Items.empty());
  TkvfFittingsChoice t = Choice("K");
  t.FFlugelType = 404;
  EXPECT_EQ(Error(p, t), "Не допускается установка комплекта [K] на T-образную створку!");
  TkvfFittingsChoice noDorn = Choice("NOSTEP");
  noDorn.sash1.FDornType = 0;
  EXPECT_EQ(Error(p, noDorn), "В БД параметров дорнмасса отсутствуют данные для кода [0]!");
}

TEST_F(EngineTest, PassiveSashReadsTheMainSashArticlesAndSides) {
  Simple("ACT", "A-ACT");
  Simple("KEEP", "A-KEEP");
  Simple("LONG", "A-LONG");
  Line("K", "ACT");
  Complect("P", 0);
  Line("P", "KEEP", {{"UseIfArt", S("A-ACT")}});
  Line("P", "KEEP", {{"UseIfArt", S("A-OTHER")}, {"Number", I(5)}});
  Line("P", "LONG", {{"FFL21No", I(3)}, {"FFL21Min", I(1500)}});
  TkvfConstruction& p = Position(1400, 1600, 2, 700, 700);
  TkvfFittingsChoice c = Choice("K");
  c.sash2.FComplect = "P";
  c.sash2.FDornType = 201;
  p.SetFittings(c);
  EXPECT_EQ(Lines(*p.FFlugel2), (std::vector<std::string>{"A-KEEP x1", "A-LONG x1"}));
  TkvfConstruction& lower = Position(1400, 1400, 2, 700, 700);
  lower.SetFittings(c);
  EXPECT_EQ(Lines(*lower.FFlugel2), (std::vector<std::string>{"A-KEEP x1"}));
  TkvfFittingsChoice passiveOnly = c;
  passiveOnly.sash1 = {};
  TkvfConstruction& alone = Position(1400, 1400, 2, 700, 700);
  EXPECT_EQ(Error(alone, passiveOnly).substr(0, 100),
            std::string("В БД наборов фурнитуры в комплекте [Комплект P]\r\nсодержится элемент фурнитуры [Элемент KEEP],\r\nдля "
                        "которого определена ссылка на артикул смежной штульповой створки.").substr(0, 100));
}

TEST_F(EngineTest, PartnerSystemRuleAndEmptyChoices) {
  TkvfConstruction& p = Position(1400, 1400, 2, 700, 700);
  TkvfFittingsChoice c = Choice("K");
  c.sash2.FComplect = "K";
  c.sash2.FDornType = 201;
  p.SetFittings(c);
  ASSERT_TRUE(p.FFlugel2->FComplement);
  p.FFlugel1->SetFittings("1200", "P70", "WH", c.sash1);  // same system: the passive sash keeps its fittings
  EXPECT_TRUE(p.FFlugel2->FComplement);
  p.FFlugel1->SetFittings("1300", "P70", "WH", c.sash1);  // another system drops them
  EXPECT_FALSE(p.FFlugel2->FComplement);
  EXPECT_FALSE(p.FFlugel2->FSides[2].FHandled);
  p.FFlugel1->SetFittings("1300", "P70", "WH", TkvfSashChoice{});  // an empty choice clears the sash
  EXPECT_FALSE(p.FFlugel1->FComplement);
  EXPECT_FALSE(p.FFlugel1->FSides[0].FHinged);
  TkvfSashChoice handleOnly;
  handleOnly.FHandle = "H";
  TkvfFittingsChoice noMain = Choice("");
  noMain.sash1 = handleOnly;
  noMain.sash1.FDornType = 201;
  EXPECT_EQ(Error(p, noMain), "Комплект фурнитуры [] не найден в документации!");
  EXPECT_FALSE(p.FFlugel1->FComplement);
}

TEST_F(EngineTest, VirtualAndCompositeElements) {
  Item("SET", {{"Virtual", I(1)}});
  Simple("SUB1", "A-SUB1");
  Simple("SUB2", "A-SUB2");
  fx_.Insert("FrnItoI.DB", {{"ID", S("SET")}, {"Item", S("SUB1")}, {"Number", I(2)}});
  fx_.Insert("FrnItoI.DB", {{"ID", S("SET")}, {"Item", S("SUB2")}, {"Number", I(1)}, {"ItemSideNo", I(4)}});
  Line("K", "SET", {{"Number", I(3)}, {"ItemSideNo", I(2)}});
  TkvfConstruction& p = Position(700, 1400);
  p.SetFittings(Choice("K"));
  EXPECT_EQ(Lines(*p.FFlugel1), (std::vector<std::string>{"A-SUB1 x6 s2", "A-SUB2 x3 s4"}));
}

TEST_F(EngineTest, OnlyTheMainComplectKeepsTheUserHandleHeight) {
  Simple("GEAR", "A-GEAR");
  Art("GEAR", "A-GEAR2");  // a second row: the article picked is the one the list opens on
  Simple("HANDLE", "A-HANDLE");
  fx_.Insert("FrnArt.DB", {{"ID", S("HANDLE")}, {"CatalogID", S("A-HANDLE")}, {"Key", I(900)}, {"HandleHeight", I(1111)}});
  Line("K", "GEAR", {{"HandleSideNo", I(3)}});
  Line("H", "HANDLE", {{"HandleSideNo", I(3)}});
  TkvfConstruction& p = Position(700, 1400);
  TkvfSashChoice user;
  user.FUserDefineHeight = true;
  user.FUserHandleHeight = 1050;
  user.FHandle = "H";
  p.SetFittings(Choice("K", user));
  EXPECT_EQ(p.FFlugel1->FSides[2].FHandleHeight, 1050);  // the handle article has no height (first row)
}

TEST_F(EngineTest, ArticlePickFiltersFallsBackAndReports) {
  Item("COL", {{"HasColor", I(1)}});
  Article("A-COL-ANY");
  Art("COL", "A-COL-ANY", {{"Color", S("")}});
  Item("DIR", {{"CheckDirect", I(1)}});
  Article("A-L");
  Article("A-R");
  Article("A-B");
  Art("DIR", "A-R", {{"Direct", I(2)}});
  Art("DIR", "A-L", {{"Direct", I(1)}});
  Item("REQ", {{"HasColor", I(1)}, {"HasFalzLuft", I(1)}});
  Article("A-REQ");
  Art("REQ", "A-REQ", {{"Color", S("BR")}, {"FalzLuft", I(4)}});
  Item("LEN");
  Article("A-LEN");
  Art("LEN", "A-LEN", {{"FFL1Min", I(1000)}, {"FFL1Max", I(1400)}});
  Item("NOROWS");
  Item("KIND1");
  Article("A-KIND1");
  Art("KIND1", "A-KIND1", {{"FFBMin", I(70)}, {"FFBMax", I(80)}});
  Line("K", "COL");
  Line("K", "DIR");
  Line("K", "NOROWS", {{"Required", I(1)}});
  Line("K", "LEN", {{"Condition", I(4)}, {"Side1No", I(1)}, {"DefineHandleHeight", I(1)}, {"HandleSideNo", I(3)}});
  Complect("R", 1);
  Line("R", "REQ", {{"Required", I(1)}});
  Complect("RA", 1);
  Line("RA", "REQ", {{"Required", I(1)}, {"AlertIfNoArt", S("Нет артикула для этой окраски")}});
  TkvfConstruction& p = Position(700, 1400);
  p.SetFittings(Choice("K"));
  EXPECT_EQ(Lines(*p.FFlugel1), (std::vector<std::string>{"A-COL-ANY x1", "A-L x1", "A-LEN x1"}));
  EXPECT_EQ(p.FFlugel1->FSides[2].FHandleHeight, 700);  // half of L1 = 1400 for kind 4
  EXPECT_EQ(Error(p, Choice("R")),
            "В БД артикулов фурнитуры не найден подходящий\r\nартикул для элемента фурнитуры [Элемент "
            "REQ]!\r\n\r\nИскомый запрос:\r\nFalzLuft = 12 and ID='REQ' and Color = 'WH' ");
  EXPECT_EQ(Error(p, Choice("RA")), "Нет артикула для этой окраски");

  TPickRequest r;  // lengths are written with "%.0f" into the filter
  r.element = "LEN";
  r.kind = 4;
  r.required = true;
  r.L1 = 1400.4;
  EXPECT_EQ(PickArticle(r).article, "A-LEN");
  r.L1 = 1400.6;
  try {
    PickArticle(r);
    ADD_FAILURE() << "found";
  } catch (const EKvfError& e) {
    EXPECT_NE(std::string(e.what()).find("FFL1Min <= 1401 and FFL1Max >= 1401 and ID='LEN' "), std::string::npos) << e.what();
  }
  r.element = "KIND1";
  r.kind = 1;
  r.ffb = 71;
  r.defineHandleHeight = true;
  EXPECT_EQ(PickArticle(r).handleHeight, 36);  // CascadeRound(71 / 2)
  r.defineHandleHeight = false;
  EXPECT_EQ(PickArticle(r).handleHeight, 0);
  r.element = "NOROWS";
  EXPECT_FALSE(PickArticle(r).found);  // no article rows at all: not found, no message
  EXPECT_EQ(FormatFixed(1234.6, 0), "1235");
  EXPECT_EQ(FormatFixed(0.125, 2), "0.13");
  EXPECT_EQ(FormatFixed(-2.5, 0), "-3");
}

TEST_F(EngineTest, TheListOfAlternativesTakesTheRowTheUserStandsOn) {
  class TSecond : public TRowChooser {
   public:
    int calls = 0;
    void Choose(TTable& table, const TRowChoice& choice) override {
      ++calls;
      EXPECT_EQ(choice.caption, "Список артикулов");
      table.Next();
    }
  } chooser;
  Simple("TWO", "A-1");
  Article("A-2");
  Art("TWO", "A-2");
  Line("K", "TWO");
  TkvfConstruction& p = Position(700, 1400);
  p.SetFittings(Choice("K"));
  EXPECT_EQ(Lines(*p.FFlugel1), (std::vector<std::string>{"A-1 x1"}));  // no person: the first row
  SetRowChooser(&chooser);
  p.SetFittings(Choice("K"));
  SetRowChooser(nullptr);
  EXPECT_EQ(chooser.calls, 1);
  EXPECT_EQ(Lines(*p.FFlugel1), (std::vector<std::string>{"A-2 x1"}));
}

TEST_F(EngineTest, StrikePlatesFollowSystemHundredAstragalAndComplect) {
  Simple("GEAR", "A-GEAR");
  Line("K", "GEAR", {{"Number", I(3)}, {"ItemSideNo", I(3)}});
  struct TPlate { const char* element; int common; };
  for (const TPlate& plate : {TPlate{"SP-1200", 1200}, TPlate{"SP-1210", 1210}, TPlate{"SP-ANY", 0}}) {
    Item(plate.element, {{"CommonGrp", I(plate.common)}, {"HasProfSys", I(1)}});
    const std::string article = std::string("A-") + plate.element;
    Article(article.c_str());
    Art(plate.element, article.c_str(), {{"ProfSys", S("P70")}});
    fx_.Insert("FrnSchl.DB", {{"CatalogID", S("A-GEAR")}, {"Item", S(plate.element)}, {"Key", I(++key_)}, {"Number", I(1)}});
  }
  Simple("SP-ST2", "A-SP-ST2");
  fx_.Insert("FrnSchl.DB", {{"CatalogID", S("A-GEAR")}, {"Item", S("SP-ST2")}, {"Key", I(++key_)}, {"Number", I(1)},
                            {"StulpType", I(2)}});
  Simple("SP-OTHER", "A-SP-OTHER");
  fx_.Insert("FrnSchl.DB", {{"CatalogID", S("A-GEAR")}, {"Item", S("SP-OTHER")}, {"Key", I(++key_)}, {"Number", I(1)},
                            {"ItemComplectID", S("X")}});
  // colour covers: the fittings colour replaces the colourless ones; accessories multiply
  Article("COVER-WH");
  Article("COVER-ANY");
  Article("SCREW");
  fx_.Insert("FrnAbd.DB", {{"CatalogID", S("A-GEAR")}, {"Color", S("WH")}, {"AccessoryID", S("COVER-WH")}, {"Number", I(1)}});
  fx_.Insert("FrnAbd.DB", {{"CatalogID", S("A-GEAR")}, {"Color", S("")}, {"AccessoryID", S("COVER-ANY")}, {"Number", I(1)}});
  fx_.Insert("FrnAbd.DB", {{"CatalogID", S("COVER-WH")}, {"Color", S("")}, {"AccessoryID", S("COVER-ANY")}, {"Number", I(1)}});
  fx_.Insert("FrnDop.DB", {{"CatalogID", S("A-GEAR")}, {"AccessoryID", S("SCREW")}, {"Key", I(++key_)}, {"Number", I(2)}});
  struct Case { const char* system; std::vector<std::string> lines; };
  for (const Case& c : {Case{"1200", {"A-GEAR x3 s3", "A-SP-1200 x3 s3", "A-SP-ANY x3 s3", "COVER-WH x3 s3", "SCREW x6 s3"}},
                        Case{"1210", {"A-GEAR x3 s3", "A-SP-1200 x3 s3", "A-SP-1210 x3 s3", "A-SP-ANY x3 s3",
                                      "COVER-WH x3 s3", "SCREW x6 s3"}},
                        Case{"1300", {"A-GEAR x3 s3", "A-SP-ANY x3 s3", "COVER-WH x3 s3", "SCREW x6 s3"}}}) {
    SCOPED_TRACE(c.system);
    TkvfConstruction& p = Position(700, 1400);
    TkvfFittingsChoice choice = Choice("K");
    choice.FFurnSys = c.system;
    p.SetFittings(choice);
    EXPECT_EQ(Lines(*p.FFlugel1), c.lines);
  }
  // The cover's -2 screws per piece (pass 3 visits pass 2's lines) cancel the gear's 6: the line goes.
  fx_.Insert("FrnDop.DB", {{"CatalogID", S("COVER-WH")}, {"AccessoryID", S("SCREW")}, {"Key", I(++key_)}, {"Number", I(-2)}});
  TkvfConstruction& p = Position(700, 1400);
  p.SetFittings(Choice("K"));
  EXPECT_EQ(Lines(*p.FFlugel1),
            (std::vector<std::string>{"A-GEAR x3 s3", "A-SP-1200 x3 s3", "A-SP-ANY x3 s3", "COVER-WH x3 s3"}));
  kvf::Setup().DebugMode = true;
  p.SetFittings(Choice("K"));
  const auto& items = p.FFlugel1->FComplement->Items;
  bool found = false;
  for (const TkvfFurnItem& i : items)
    found = found || i.FHistory == "Комплект:K -> Элемент:GEAR -> Артикул:A-GEAR -> Элемент:SP-ANY -> Артикул:A-SP-ANY";
  EXPECT_TRUE(found);
}

TEST_F(EngineTest, RadiusTypesAndAngles) {
  Simple("ARC", "A-ARC");
  Simple("ANY", "A-ANY");
  Simple("STRAIGHT", "A-STRAIGHT");
  Simple("STEEP", "A-STEEP");
  Line("K", "ARC", {{"FFR1No", I(2)}, {"FFR1Type", I(6)}});
  Line("K", "ANY", {{"FFR1No", I(0)}, {"FFR1Type", I(1)}});  // type 1 alone tests nothing
  Line("K", "STRAIGHT", {{"FFR1No", I(2)}, {"FFR1Max", I(1)}, {"FFR1Type", I(0)}});
  Line("K", "STEEP", {{"FFANo", I(3)}, {"FFAMin", 100.0}});
  TkvfConstruction& rect = Position(1000, 1500);
  rect.SetFittings(Choice("K"));
  EXPECT_EQ(Lines(*rect.FFlugel1), (std::vector<std::string>{"A-ANY x1", "A-STRAIGHT x1"}));
}

}  // namespace
}  // namespace kvf

namespace kvf {
namespace {

TEST_F(EngineTest, MaterialLinesPriceInTheCurrentCurrencyAndMerge) {
  fx_.Insert("Catalog.DB", {{"ID", S("ROD")}, {"Price", 10.0}, {"Currency", I(2)}, {"PriceGrp", I(0)}});
  fx_.Insert("Catalog.DB", {{"ID", S("CAP")}, {"Price", 10.0}, {"Currency", I(2)}, {"PriceGrp", I(5)}});
  fx_.Insert("PriceGrp.DB", {{"GroupID", I(5)}, {"Reduce_1", -10.0}});
  Item("E-ROD");
  Art("E-ROD", "ROD");
  Item("E-CAP");
  Art("E-CAP", "CAP");
  Line("K", "E-ROD", {{"Number", I(2)}, {"UseLen", I(1)}, {"LenFormula", S("1250")}});
  Line("K", "E-CAP", {{"Number", I(3)}});
  order_.FCurrencyRates = {{2, 2.0f}, {4, 4.0f}};
  kvf::Setup().CurrentCurrency = 4;
  TkvfConstruction& a = Position(700, 1400);
  a.FNumber = 2;
  a.SetFittings(Choice("K"));
  const TkvfMatList& lines = a.FFlugel1->FMatList;
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].FArticle, "CAP");
  EXPECT_EQ(lines[0].FNumber, 3.0f);
  EXPECT_EQ(lines[0].FPrice.ToString(), "4.5000");  // 10 at rate 2 in rate 4 is 5, less 10 %
  EXPECT_EQ(lines[1].FNumber, 2.5f);                 // 2 pieces of 1250 mm
  EXPECT_EQ(lines[1].FPrice.ToString(), "5.0000");
  EXPECT_EQ(lines[1].FCost.ToString(), "12.5000");
  EXPECT_EQ(a.FPrice.ToString(), "26.0000");  // 13.5 + 12.5; the empty second sash adds 0
  EXPECT_EQ(a.GetCost().ToString(), "52.0000");
  TkvfConstruction& b = Position(700, 1400);
  b.FNumber = 3;
  b.SetFittings(Choice("K"));
  TkvfMatList summary;
  order_.CollectMaterials(summary);
  ASSERT_EQ(summary.size(), 2u);
  EXPECT_EQ(summary[0].FNumber, 15.0f);  // 3 pieces x (2 + 3)
  EXPECT_EQ(summary[0].FCost.ToString(), "67.5000");
  kvf::Setup().CurrentRates = nullptr;
  EXPECT_EQ(Error(b, Choice("K")), "Значение текущей валюты = 0!");
}

}  // namespace
}  // namespace kvf
