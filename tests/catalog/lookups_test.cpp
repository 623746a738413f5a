#include <gtest/gtest.h>

#include "catalog/lookups.h"
#include "core/error.h"
#include "core/setup.h"
#include "support/catalog_fixture.h"
#include "support/scripted_ui.h"

namespace kvf {
namespace {

std::string Str(const char* s) { return s; }
TFieldValue I(int64_t v) { return v; }

class LookupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fx_.Insert("Catalog.DB", {{"ID", Str("AB-1")}, {"ProdArticle", Str("P1")}, {"ProdArticle2", Str("")},
                              {"UseArticle", I(2)}, {"Name", Str("Привод")}, {"Unit", Str("шт")},
                              {"Price", 100.0}, {"Currency", I(1)}, {"PriceGrp", I(3)}, {"Virtual", I(1)}});
    fx_.Insert("Catalog.DB", {{"ID", Str("EU-7")}, {"ProdArticle", Str("P7")}, {"ProdArticle2", Str("Q7")},
                              {"UseArticle", I(2)}, {"Price", 10.0}, {"Currency", I(2)}});
    fx_.Insert("Currency.DB", {{"ID", I(1)}, {"Name", Str("RUB")}, {"Nominative", Str("рубль")},
                               {"Genitive", Str("рубля")}, {"GenitivePlural", Str("рублей")}, {"Gender", I(0)},
                               {"Dec", I(2)}, {"Value", 1.0}});
    fx_.Insert("Currency.DB", {{"ID", I(2)}, {"Name", Str("EUR")}, {"Dec", I(2)}, {"Value", 95.5}});
    fx_.Insert("PriceGrp.DB", {{"GroupID", I(3)}, {"Name", Str("Скидка")}, {"Reduce_1", -10.0}, {"Reduce_2", 5.0}});
    fx_.Insert("FrnComp.DB", {{"ID", Str("K1")}, {"Name", Str("Поворотно-откидной")}, {"Group", I(10)},
                              {"ScrColor", I(255)}, {"Image", I(3)}, {"PrintName", Str("ПО")}, {"Printable", I(1)}});
    for (int side = 1; side <= 3; ++side)
      fx_.Insert("FrnSide.DB", {{"ID", Str("TRI")}, {"Side", I(side)}, {"MinSize", I(100)}, {"MaxSize", I(3000)},
                                {"MinAngle", 0.0}, {"MaxAngle", 180.0}, {"HandleDirect", I(side)}});
    for (int side = 1; side <= 4; ++side)
      fx_.Insert("FrnSide.DB", {{"ID", Str("RECT")}, {"Side", I(side)}, {"MinSize", I(300)}, {"MaxSize", I(2400)},
                                {"MinAngle", 89.0}, {"MaxAngle", 91.0}, {"MaxRadius", I(0)}});
    for (int id : {21, 22}) fx_.Insert("FrnProp.db", {{"ID", I(id)}, {"PropKey", I(100)}});
    fx_.Insert("FrnProp.db", {{"ID", I(23)}, {"PropKey", I(101)}});
    fx_.Insert("FrnProp.db", {{"ID", I(31)}, {"PropKey", I(102)}});
    fx_.Insert("ParamList.DB", {{"ID", I(101)}, {"Name", Str("Фальц 12")}, {"FalzLuft", I(12)}, {"FalzSize", I(20)},
                                {"FalzPos", I(9)}});
    fx_.Insert("ParamList.DB", {{"ID", I(201)}, {"Name", Str("Дорн 15")}, {"DornMass", 15.0}});
    fx_.Insert("ParamList.DB", {{"ID", I(301)}, {"StulpType", I(2)}});
    fx_.Insert("ParamList.DB", {{"ID", I(401)}, {"OpenType", I(1)}});
    fx_.Insert("SysList.DB", {{"ID", Str("S1")}, {"Name", Str("Система")}, {"CommonGrp", I(1200)},
                              {"BaseColor", Str("WH")}});
    fx_.Insert("COLORSET.DB", {{"Color", Str("WH")}, {"Name", Str("Белый")}});
    fx_.OpenDM();
    rates_ = {{1, 1.0f}, {2, 95.5f}};
    kvf::Setup().CurrentRates = &rates_;
    kvf::Setup().CurrentCurrency = 1;
  }
  void TearDown() override {
    kvf::Setup().CurrentRates = nullptr;
    kvf::Setup().CurrentCurrency = 0;
  }
  test::TScriptedUi ui_;
  test::TCatalogFixture fx_;
  TkvfCurrencyRates rates_;
};

void ExpectError(const std::function<void()>& f, const std::string& message) {
  try {
    f();
    ADD_FAILURE() << "no error, expected: " << message;
  } catch (const EKvfError& e) {
    EXPECT_EQ(std::string(e.what()), message);
  }
}

TEST_F(LookupsTest, ArticlesAndTheirMessages) {
  EXPECT_EQ(GetProdArticle("AB-1", 0, false), "");  // UseArticle 2 with an empty ProdArticle2
  EXPECT_EQ(GetProdArticle("AB-1", 1, false), "P1");
  EXPECT_EQ(GetProdArticle("EU-7", 0, false), "Q7");
  EXPECT_EQ(GetProdArticle("EU-7", 5, false), "");
  EXPECT_EQ(GetProdArticle("ab-1", 0, true), "");
  ExpectError([] { GetProdArticle("ab-1", 0, false); },
              "В каталоге отсутствуют данные для [ab-1]!\r\n(Поиск [Артикул производителя] через [Код])");
  ExpectError([] { GetArticleUnit("X"); }, "В каталоге отсутствуют данные для [X]!\r\n(Поиск [Ед.изм] через [Код])");
  ExpectError([] { GetArticleName("X", false); },
              "В каталоге отсутствуют данные для [X]!\r\n(Поиск [Наименование] через [Код])");
  ExpectError([] { GetMaterialField("X", "Name", false); }, "В каталоге не найден материал с кодом [X]!");
  const TArticleData data = GetArticleData("AB-1", false);
  EXPECT_EQ(data.name, "Привод");
  EXPECT_EQ(data.unit, "шт");
  EXPECT_EQ(GetArticleData("nope", true).name, "");
  EXPECT_EQ(ValueAsString(GetMaterialField("AB-1", "Unit", false)), "шт");
  EXPECT_EQ(ValueAsString(GetMaterialField("AB-1", "GOST", false)), "");  // not declared
  EXPECT_EQ(ValueAsString(GetMaterialField("", "Unit", false)), "");
  EXPECT_TRUE(IsVirtualArticle("AB-1"));
  EXPECT_FALSE(IsVirtualArticle("EU-7"));
  EXPECT_FALSE(IsVirtualArticle(""));
}

TEST_F(LookupsTest, PricesConvertIntoTheCurrentCurrencyWithTheSurcharge) {
  EXPECT_EQ(GetArticlePrice("AB-1", false).ToString(), "90.0000");   // 100.00 with Reduce_1 = -10
  EXPECT_EQ(GetArticlePrice("EU-7", false).ToString(), "955.0000");  // 10 EUR at 95.5
  kvf::Setup().CurrentCurrency = 2;
  EXPECT_EQ(GetArticlePrice("EU-7", false).ToString(), "10.0000");
  EXPECT_EQ(GetArticlePrice("AB-1", false).ToString(), "0.9424");   // 100 / 95.5 = 1.0471, less 10 %
  EXPECT_EQ(GetArticlePrice("missing", true).ToString(), "0.0000");
  rates_[1].FRate = 0;
  ExpectError([] { GetArticlePrice("EU-7", false); }, "Значение текущей валюты = 0!");
  rates_[1].FRate = -3;
  ExpectError([] { GetArticlePrice("EU-7", false); }, "Неверный курс валюты [2] в списке курсов документа: -3");
  // a currency the document's rates lack prices nothing, neither the article's nor the current one
  rates_.pop_back();
  ExpectError([] { GetArticlePrice("AB-1", false); }, "В списке курсов документа нет валюты [EUR (2)]!");
  kvf::Setup().CurrentCurrency = 1;
  ExpectError([] { GetArticlePrice("EU-7", false); }, "В списке курсов документа нет валюты [EUR (2)]!");
  EXPECT_EQ(GetArticlePrice("AB-1", false).ToString(), "90.0000");
  ExpectError([] { GetPriceGroupSurcharge(9, 0); }, "В каталоге ценовых групп отсутствуют данные для группы [9]!");
  EXPECT_EQ(GetPriceGroupSurcharge(3, 1), 5.0);
}

TEST_F(LookupsTest, CurrenciesAndRateLists) {
  EXPECT_EQ(GetCurrencyName(2), "EUR");
  EXPECT_EQ(GetCurrencyName(9), "");
  EXPECT_EQ(GetCurrencyDecimals(9), 2);
  TCurrencyWords words{"x", "y", "z", 2, 4};
  GetCurrencyWords(9, words);
  EXPECT_EQ(words.Nominative, "x");
  GetCurrencyWords(1, words);
  EXPECT_EQ(words.GenitivePlural, "рублей");
  EXPECT_EQ(words.Gender, 0);
  EXPECT_EQ(GetRate(&rates_, 2), 95.5f);
  EXPECT_EQ(GetRate(&rates_, 7), -1.0f);
  EXPECT_EQ(GetRate(nullptr, 1), 0.0f);
  EXPECT_EQ(IndexOfCurrency(&rates_, 2), 1);
  EXPECT_EQ(IndexOfCurrency(nullptr, 2), -1);
  TkvfCurrencyRates loaded = {{9, 9.0f}};
  LoadCurrencyRates(loaded);
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[1].FCurrencyID, 2);
  EXPECT_EQ(loaded[1].FRate, 95.5f);
}

TEST_F(LookupsTest, Complects) {
  EXPECT_EQ(GetComplectName("K1"), "Поворотно-откидной");
  ExpectError([] { GetComplectName("K9"); },
              "В БД комплектов фурнитур отсутствуют\r\nданные для комплекта [K9]");
  EXPECT_EQ(FindComplectName("K9"), (std::pair<bool, std::string>{false, ""}));
  EXPECT_EQ(GetComplectGroup("K1"), 10);
  EXPECT_EQ(GetComplectGroup("K9"), 0);
  EXPECT_EQ(GetComplectColor("K1"), 255);
  EXPECT_EQ(GetComplectColor("K9"), 16777215);
  EXPECT_EQ(GetComplectImage("K1"), 3);
  EXPECT_EQ(GetComplectPrintName("K1"), (std::pair<std::string, bool>{"ПО", true}));
  EXPECT_EQ(GetSideHandleDirect("TRI", 2), 2);
  EXPECT_EQ(GetSideHandleDirect("TRI", 5), 0);
}

TEST_F(LookupsTest, CheckPropKeyAcceptsWhatTheOwnerDoesNotCareAbout) {
  const std::vector<std::string> chosen = {"0=23", "1=21"};
  struct Case { int propKey; bool fits; };
  for (const Case& c : {Case{100, false},  // lists 21 and 22, not 23
                        Case{101, true},   // lists 23
                        Case{102, true},   // lists only 31: another property
                        Case{555, true}}) {  // no rows at all
    SCOPED_TRACE(c.propKey);
    EXPECT_EQ(CheckPropKey(c.propKey, chosen, 0), c.fits);
    EXPECT_FALSE(DM().T_FrnProp.Filtered());
    EXPECT_FALSE(DM().T_FrnProp.ControlsDisabled());
  }
  EXPECT_TRUE(CheckPropKey(100, chosen, 1));  // group 1 chose 21
}

TEST_F(LookupsTest, ComplectFitsSidesByCountLengthAngleAndArcKind) {
  const TSideFit straight{7000, 0, 90};
  std::vector<TSideFit> rect(4, straight);
  EXPECT_TRUE(ComplectFitsSides(&rect, "RECT"));
  EXPECT_FALSE(ComplectFitsSides(&rect, "TRI"));  // three rows for four sides
  EXPECT_FALSE(ComplectFitsSides(nullptr, "RECT"));
  rect[2].chordLength = 25000;  // 2500 mm
  EXPECT_FALSE(ComplectFitsSides(&rect, "RECT"));
  rect[2] = straight;
  rect[1].cornerAngle = 95;
  EXPECT_FALSE(ComplectFitsSides(&rect, "RECT"));
  std::vector<TSideFit> tri(3, TSideFit{5000, 0, 60});
  EXPECT_TRUE(ComplectFitsSides(&tri, "TRI"));
  tri[0].halfCircle = true;  // FullRadius is 0
  EXPECT_FALSE(ComplectFitsSides(&tri, "TRI"));
  EXPECT_FALSE(DM().T_FrnSide.Filtered());
}

TEST_F(LookupsTest, SystemsParametersAndColours) {
  EXPECT_EQ(GetSystemName("S1"), "Система");
  EXPECT_EQ(GetSystemCommonGrp("S1", false), 1200);
  EXPECT_EQ(GetSystemCommonGrp("S9", true), 0);
  ExpectError([] { GetSystemCommonGrp("S9", false); }, "В БД отсутствуют данные для системы [S9]!");
  EXPECT_EQ(GetSystemBaseColor("S1"), "WH");
  int luft = 1, size = 1, pos = 1;
  GetFalzParams(101, luft, size, pos, false);
  EXPECT_EQ(std::tie(luft, size, pos), std::make_tuple(12, 20, 9));
  GetFalzParams(999, luft, size, pos, true);
  EXPECT_EQ(std::tie(luft, size, pos), std::make_tuple(0, 0, 0));
  ExpectError([&] { GetFalzParams(201, luft, size, pos, false); },  // a backset row is not a rebate variant
              "В БД параметров фальца отсутствуют данные для кода [201]!");
  double dorn = 0;
  GetDornMass(201, dorn, false);
  EXPECT_EQ(dorn, 15.0);
  ExpectError([&] { GetDornMass(1, dorn, false); }, "В БД параметров дорнмасса отсутствуют данные для кода [1]!");
  int stulp = 0, open = 0;
  GetStulpType(301, stulp, false);
  EXPECT_EQ(stulp, 2);
  ExpectError([&] { GetStulpType(1, stulp, false); }, "В БД типов штульпа отсутствуют данные для кода [1]!");
  GetOpenType(401, open, false);
  EXPECT_EQ(open, 1);
  ExpectError([&] { GetOpenType(1, open, false); },
              "В БД типов открываний створок отсутствуют данные для кода [1]!");
  EXPECT_EQ(GetFalzName(101), "Фальц 12");
  EXPECT_EQ(GetDornName(101), "");
  EXPECT_EQ(GetColorName("WH"), "Белый");
  EXPECT_EQ(GetColorName(""), "");
  EXPECT_EQ(GetColorName("wh"), "");
}

}  // namespace
}  // namespace kvf
