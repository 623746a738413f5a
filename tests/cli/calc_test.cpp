// kvf calc on the demo catalog: each expected article list was checked by hand
// against the catalog rows (data/catalog, written by tools/make_demo_catalog.py).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <functional>
#include <nlohmann/json.hpp>

#include "support/run_kvf.h"
#include "support/temp_dir.h"

namespace kvf {
namespace {

using nlohmann::json;

const std::string kDemo = std::string(KVF_SOURCE_DIR) + "/data/catalog";

class KvfCalc : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    catalog_ = new test::TTempDir();
    const auto r = test::RunKvf({"catalog", "build", kDemo, catalog_->str()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
  }
  static void TearDownTestSuite() {
    delete catalog_;
    catalog_ = nullptr;
  }

  // A request of one position with the usual PVC window fittings.
  static json Request(json outline, json sash1, json sash2 = nullptr, json fittings = json::object()) {
    json f = {{"FFurnSys", "1200"}, {"FProfSys", "P70"}, {"FFurnColor", "WH"}, {"FFalzType", 101},
              {"FStulpType", 301}, {"FFlugelType", 401}, {"FProfWidth", 70}, {"FProfThickness", 70}};
    f.update(fittings);
    f["sash1"] = std::move(sash1);
    if (!sash2.is_null()) f["sash2"] = std::move(sash2);
    return {{"order", {{"FOrderNo", "T-1"}, {"FInnerProfColor", "WH"}, {"FOuterProfColor", "BR"}}},
            {"positions", json::array({{{"outline", std::move(outline)}, {"fittings", std::move(f)}}})}};
  }

  test::TRunResult Calc(const json& request, std::vector<std::string> extra = {}) {
    std::ofstream(dir_ / "request.json") << request.dump();
    std::vector<std::string> args = {"calc", (dir_ / "request.json").string(), "--catalog", catalog_->str()};
    args.insert(args.end(), extra.begin(), extra.end());
    return test::RunKvf(args, {{"XDG_CONFIG_HOME", dir_.str()}});
  }

  // "ARTICLE xCOUNT [LENGTH]" of every line of a sash, in list order.
  static std::vector<std::string> Lines(const json& sash) {
    std::vector<std::string> lines;
    if (sash["FComplement"].is_null()) return lines;
    for (const json& i : sash["FComplement"]["Items"]) {
      std::string line = i["FArticle"].get<std::string>() + " x" + std::to_string(i["FCount"].get<int>());
      if (i["FLength"].get<double>() != 0) line += " " + std::to_string(i["FLength"].get<int>());
      lines.push_back(line);
    }
    return lines;
  }

  static test::TTempDir* catalog_;
  test::TTempDir dir_;
};

test::TTempDir* KvfCalc::catalog_ = nullptr;

const json kTurnTiltLeft = {{"FComplect", "DK-L"}, {"FHandle", "HW-STD"}, {"FDornType", 201},
                            {"FProperties", {"0=21"}}};

TEST_F(KvfCalc, StandardTurnTiltWindow) {
  const auto r = Calc(Request({{"figure", 0}, {"B", 700}, {"H", 1400}, {"dornType", 201}}, kTurnTiltLeft));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const json order = json::parse(r.out);
  const json& pos = order["Positions"][0];
  EXPECT_EQ(pos["FPosNo"], "001");
  EXPECT_EQ(pos["FSashLayout"], 2);
  EXPECT_TRUE(pos["FFlugel2"]["FComplement"].is_null());
  EXPECT_EQ(Lines(pos["FFlugel1"]),
            (std::vector<std::string>{
                "KV-AB-EL-WH x1",        // hinge cover of the composite hinge set, in the fittings colour
                "KV-AB-OB-WH x1",        // colour cover of the stay bearing (replaces the colourless cap)
                "KV-CAM-STD x4",         // property 21 chosen: standard cams, not the RC ones
                "KV-EL-P70-12 x1",       // frame hinge part for profile P70, rebate clearance 12
                "KV-ELB-STD x1",         // sash hinge part
                "KV-EU-STD x2",          // corner drives on top
                "KV-EU-STD x1",          // and at the bottom (another comment, another line)
                "KV-G132167-620-15 x1",  // FFH 140 lies in 132..167, backset 15
                "KV-HW-WH x1",           // handle in white
                "KV-MV-600 x1",          // FFH 140: (140 - 120) div 60 + 0 + 1
                "KV-OB-P70-12 x1",       // stay bearing
                "KV-RS-WH x1",           // handle rose, colour accessory of the handle
                "KV-SC2-1 x1",           // FFB 70 lies in 61..80, left hand
                "KV-SCR-4x25 x1",        // screws of the gear
                "KV-SCR-4x35 x1",        // screws of the stay bearing
                "KV-SCR-4x35 x1",        // screws of the frame hinge part
                "KV-SG-STD x1",          // stay guide
                "KV-SP-P70-12 x2",       // strike plates of the gear (system 1200 lies in the hundred of 1200)
                "KV-SP-P70-12 x1",       // strike plate of the middle lock
                "KV-SPE-P70 x2",         // corner strike plates
                "KV-SPE-P70 x1",
                "KV-TM-ROD x1 320",      // 1400 - handle height 620 - 460
                "KV-TS-ROD x1 320",      // FFB 700 mm - 380
            }));
  const json& handleSide = pos["FFlugel1"]["FSides"][2];
  EXPECT_EQ(handleSide["FHandled"], true);
  EXPECT_EQ(handleSide["FHandleHeight"], 620);  // moved by the gear found for FFH 140
  EXPECT_EQ(pos["FFlugel1"]["FSides"][0]["FHinged"], true);
  EXPECT_EQ(pos["FFlugel1"]["FComplement"]["FComplectImage"], 2);
  EXPECT_EQ(pos["FFlugel1"]["FComplement"]["FHingeImage"], 20);
  EXPECT_EQ(order["FCurrencyRates"].size(), 3u);
  EXPECT_EQ(order["FCurrencyRates"][1]["FRate"], 95.5);
}

TEST_F(KvfCalc, SizeClassesAtTheirBoundaries) {
  struct Case { int b, h; const char* gear; const char* stay; int midlocks; };
  // FFB and FFH are whole centimetres: 395 mm gives 40, 394 mm 39.
  for (const Case& c : {Case{395, 430, "KV-G043062-177-15 x1", "KV-SC00-1 x1", 0},
                        Case{410, 620, "KV-G043062-177-15 x1", "KV-SC1-1 x1", 0},
                        Case{805, 1795, "KV-G168187-1057-15 x1", "KV-SC3-1 x1", 2},
                        Case{1300, 2400, "KV-G188240-1057-15 x1", "KV-SC4-1 x1", 3}}) {
    SCOPED_TRACE(std::to_string(c.b) + "x" + std::to_string(c.h));
    const auto r = Calc(Request({{"figure", 0}, {"B", c.b}, {"H", c.h}, {"dornType", 201}}, kTurnTiltLeft));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto lines = Lines(json::parse(r.out)["Positions"][0]["FFlugel1"]);
    EXPECT_NE(std::find(lines.begin(), lines.end(), c.gear), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), c.stay), lines.end());
    const std::string mid = "KV-MV-600 x" + std::to_string(c.midlocks);
    EXPECT_EQ(std::find(lines.begin(), lines.end(), mid) != lines.end(), c.midlocks > 0);
  }
}

TEST_F(KvfCalc, ArchedAndTrapezoidSashes) {
  const auto arch = Calc(Request({{"figure", 7}, {"B", 1000}, {"H", 1500}, {"X", 0}, {"R", 500}, {"dornType", 201}},
                                 {{"FComplect", "DK-ARCH"}, {"FHandle", "HW-STD"}, {"FDornType", 201}}));
  ASSERT_EQ(arch.exitCode, 0) << arch.err;
  const auto archLines = Lines(json::parse(arch.out)["Positions"][0]["FFlugel1"]);
  for (const char* expected : {"KV-EU-ARC-1 x2",          // arched corner drives, left hand
                               "KV-G188240-1057-15 x1",   // the sash is 1500 + 500 = 2000 mm high
                               "KV-SCA060-1 x1",          // arched stay for radius 500 (semicircle)
                               "KV-TA-ROD x1 1100"})      // chord 1000 * 1.3 - 200
    EXPECT_NE(std::find(archLines.begin(), archLines.end(), expected), archLines.end()) << expected;

  const auto trap = Calc(Request({{"figure", 3}, {"B", 1000}, {"H", 1500}, {"X", 750}, {"dornType", 201}},
                                 {{"FComplect", "D-TRAP-A"}, {"FHandle", "HW-STD"}, {"FDornType", 201}}));
  ASSERT_EQ(trap.exitCode, 0) << trap.err;
  const auto trapLines = Lines(json::parse(trap.out)["Positions"][0]["FFlugel1"]);
  for (const char* expected : {"KV-EU-TRP-1 x1", "KV-CAM-STD x2",  // the slanted side is 1250 mm, over 600
                               "KV-AB-EL-WH x2", "KV-G132167-620-15 x1"})
    EXPECT_NE(std::find(trapLines.begin(), trapLines.end(), expected), trapLines.end()) << expected;
}

TEST_F(KvfCalc, TwoSashAstragalWindowWithTheMainSashLeftOrRight) {
  const json active = {{"FHandle", "HW-STD"}, {"FDornType", 201}, {"FProperties", {"0=21"}}};
  json left = active, right = active;
  left["FComplect"] = "DK-STULP-L";
  right["FComplect"] = "DK-STULP-R";
  const json outline = {{"B", 1400}, {"H", 1600}, {"X", 700}, {"Y", 700}, {"dornType", 201}};
  json mainLeft = outline, mainRight = outline;
  mainLeft["figure"] = 2;
  mainRight["figure"] = 1;
  const std::vector<std::string> passive = {"KV-AB-EL-WH x2", "KV-EL-P70-12 x2", "KV-ELB-STD x2",
                                            "KV-MV-600 x1",    // the main sash's stile is 1600 mm, over 1500
                                            "KV-SCR-4x35 x2", "KV-SG101160 x1", "KV-SP-P70-12 x1",
                                            "KV-SS-90120 x1 1600",  // profile width 100, cut to the 1600 mm astragal
                                            "KV-ST-KEEP x1"};  // the main sash carries KV-ST-ACT
  {
    const auto r = Calc(Request(mainLeft, left, {{"FComplect", "ST-P-R"}, {"FDornType", 201}}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const json doc = json::parse(r.out);
    const json& pos = doc["Positions"][0];
    EXPECT_EQ(pos["FSashLayout"], 0);
    EXPECT_EQ(Lines(pos["FFlugel2"]), passive);
    const auto main = Lines(pos["FFlugel1"]);
    EXPECT_NE(std::find(main.begin(), main.end(), "KV-SPS-1 x1"), main.end());  // astragal type 1 only
    EXPECT_NE(std::find(main.begin(), main.end(), "KV-SC2-1 x1"), main.end());
  }
  {
    const auto r = Calc(Request(mainRight, {{"FComplect", "ST-P-L"}, {"FDornType", 201}}, right));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const json doc = json::parse(r.out);
    const json& pos = doc["Positions"][0];
    EXPECT_EQ(pos["FSashLayout"], 1);
    EXPECT_EQ(Lines(pos["FFlugel1"]), passive);
    const auto main = Lines(pos["FFlugel2"]);
    EXPECT_NE(std::find(main.begin(), main.end(), "KV-SC2-2 x1"), main.end());  // right hand
    EXPECT_EQ(pos["FFlugel2"]["FPoints"][0]["FX"], 7000);  // the second sash starts at X
  }
}

TEST_F(KvfCalc, DoorWithLockCylinderCloserAndHinges) {
  const auto r = Calc(Request({{"figure", 0}, {"B", 900}, {"H", 2100}, {"dornType", 203}},
                              {{"FComplect", "DR-L"}, {"FHandle", "HD-PUSH"}, {"FHinge", "HG-D3"},
                               {"FLock", "LK-MP"}, {"FCylinder", "CY-STD"}, {"FDrive", "DC-STD"},
                               {"FDornType", 203}},
                              nullptr, {{"FFurnSys", "1300"}, {"FProfSys", "D70"}, {"FFurnColor", "SL"}}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const json doc = json::parse(r.out);
  const json& sash = doc["Positions"][0]["FFlugel1"];
  EXPECT_EQ(Lines(sash), (std::vector<std::string>{
                             "KV-CY3035-MS x1",   // thickness 70: two finishes, the list opens on the first
                             "KV-DC-EN3-SL x1",   // FFB 90 lies in 86..95
                             "KV-DH-SL x3",       // 2 hinges + 1 for FFH 210 over the threshold 200
                             "KV-DHC-SL x3",      // caps in the colour of the hinges
                             "KV-DS-STD x1",
                             "KV-HD-SL x1",
                             "KV-LM206225-35 x1", // FFH 210, backset 35
                             "KV-SCR-D x3",
                             "KV-SCR-D x2",
                             "KV-SPD-D70-35 x3",  // 1 for every lock + 2 asked by the multipoint set
                             "KV-TH-ALU x1 890",  // threshold FFB - 10
                         }));
  EXPECT_EQ(sash["FSides"][2]["FHandleHeight"], 1050);  // the lock moves the handle
}

TEST_F(KvfCalc, FailuresKeepThePositionAsItWasAndExitOne) {
  struct Case { const char* name; json request; const char* message; };
  const json rect = {{"figure", 0}, {"B", 700}, {"H", 1400}, {"dornType", 201}};
  const Case cases[] = {
      {"T-shaped sash", Request(rect, kTurnTiltLeft, nullptr, {{"FFlugelType", 404}}),
       "Не допускается установка комплекта [DK-L] на T-образную створку!"},
      {"no main complect", Request(rect, {{"FHandle", "HW-STD"}, {"FDornType", 201}}),
       "Комплект фурнитуры [] не найден в документации!"},
      {"no rebate parameters", Request(rect, kTurnTiltLeft, nullptr, {{"FFalzType", 0}}),
       "В БД параметров фальца отсутствуют данные для кода [0]!"},
      {"required article missing", Request(rect, kTurnTiltLeft, nullptr, {{"FProfSys", "P99"}}),
       "В БД артикулов фурнитуры не найден подходящий\r\nартикул для элемента фурнитуры [Опора ножниц на "
       "раме]!\r\n\r\nИскомый запрос:\r\nFalzLuft = 12 and ProfSys = 'P99' and ID='E-BEARING' "},
      {"length below minimum",
       Request(rect, {{"FComplect", "DK-L"}, {"FDornType", 201}, {"FUserDefineHeight", true},
                      {"FUserHandleHeight", 1100}}),
       "В БД наборов фурнитуры в комплекте [Поворотно-откидной, петли слева]\r\nсодержится элемент фурнитуры "
       "[Тяга средняя от ручки до верха],\r\nимеющий недопустимое расчетное значение длины -160.0 (Мин. допустимая "
       "длина = 150)!\r\n(Одна из возможных причин - установлена недопустимая высота ручки при расчете тяги)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto r = Calc(c.request);
    EXPECT_EQ(r.exitCode, 1);
    const json doc = json::parse(r.out);
    const json& pos = doc["Positions"][0];
    EXPECT_EQ(pos["error"], c.message);
    EXPECT_TRUE(pos["FFlugel1"]["FComplement"].is_null());  // restored to before SetFittings
    EXPECT_EQ(pos["FFurnSys"], "");
  }
}

TEST_F(KvfCalc, DebugModeKeepsEveryLineWithItsDerivation) {
  const auto r = Calc(Request({{"figure", 0}, {"B", 700}, {"H", 1400}, {"dornType", 201}}, kTurnTiltLeft),
                      {"--debug"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const json doc = json::parse(r.out);
  const json& items = doc["Positions"][0]["FFlugel1"]["FComplement"]["Items"];
  std::vector<std::string> histories;
  for (const json& i : items) histories.push_back(i["FHistory"]);
  EXPECT_NE(std::find(histories.begin(), histories.end(),
                      "Комплект:DK-L -> Элемент:E-GEAR -> Артикул:KV-G132167-620-15 -> Элемент:E-SCHL-STD -> "
                      "Артикул:KV-SP-P70-12"),
            histories.end());
  EXPECT_NE(std::find(histories.begin(), histories.end(),
                      "Комплект:DK-L -> Элемент:E-HINGESET -> Элемент:E-HINGE-COVER -> Артикул:KV-AB-EL-WH"),
            histories.end());
  for (const std::string& h : histories) EXPECT_FALSE(h.empty());
}

TEST_F(KvfCalc, BadRequestsAndMissingCatalog) {
  std::ofstream(dir_ / "bad.json") << "{not json";
  EXPECT_EQ(test::RunKvf({"calc", (dir_ / "bad.json").string(), "--catalog", catalog_->str()}).exitCode, 1);
  EXPECT_EQ(test::RunKvf({"calc", (dir_ / "bad.json").string(), "--catalog", (dir_ / "none").string()}).exitCode, 1);
  EXPECT_EQ(test::RunKvf({"calc"}, {{"XDG_CONFIG_HOME", dir_.str()}}).exitCode, 2);
  // A member of the wrong type is named with the position it stands in.
  std::ofstream(dir_ / "typed.json") << R"({"positions":[{"outline":{"figure":1,"B":800,"H":1400}},
                                           {"outline":{"figure":1,"B":"wide","H":1400}}]})";
  const auto typed = test::RunKvf({"calc", (dir_ / "typed.json").string(), "--catalog", catalog_->str()});
  EXPECT_EQ(typed.exitCode, 1);
  EXPECT_NE(typed.err.find("позиция 2 outline: B: ожидается целое число, а не \"wide\""), std::string::npos)
      << typed.err;
  std::ofstream(dir_ / "ok.json") << "{}";
  EXPECT_EQ(test::RunKvf({"calc", (dir_ / "ok.json").string()}, {{"XDG_CONFIG_HOME", dir_.str()}}).exitCode, 2);
}

TEST_F(KvfCalc, DeeplyNestedJsonIsAnErrorForEveryReader) {
  const std::string deep = (dir_ / "deep.json").string();
  std::ofstream(deep) << std::string(120000, '[') << std::string(120000, ']');
  const std::string deepObject = (dir_ / "deep-object.json").string();
  {
    std::ofstream f(deepObject);
    f << R"({"positions": [)";
    for (int i = 0; i < 120000; ++i) f << R"({"a":)";
    f << "1" << std::string(120000, '}') << "]}";
  }
  const std::string out = (dir_ / "out.kfo370").string();
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"calc", deep, "--catalog", catalog_->str()},
           {"calc", deepObject, "--catalog", catalog_->str()},
           {"order", "from-json", deep, out},
           {"selection", "from-json", deepObject, out}}) {
    SCOPED_TRACE(args[0] + " " + args[1]);
    const auto r = test::RunKvf(args);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("вложенность глубже 64 уровней"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(out));
  // a bracket inside a string is text, not nesting
  std::ofstream(dir_ / "text.json") << R"({"FOrderNo": ")" << std::string(1000, '[') << R"("})";
  EXPECT_EQ(test::RunKvf({"order", "from-json", (dir_ / "text.json").string(), out}).exitCode, 0);
}

}  // namespace
}  // namespace kvf

namespace kvf {
namespace {

TEST_F(KvfCalc, EveryRequestMistakeIsAnErrorNamingItsPlace) {
  const json base = Request({{"figure", 0}, {"B", 700}, {"H", 1400}, {"dornType", 201}}, kTurnTiltLeft);
  struct Case {
    const char* what;
    std::function<void(json&)> change;
    const char* message;
  };
  auto pos = [](json& r) -> json& { return r["positions"][0]; };
  const Case cases[] = {
      {"unknown sash member", [&](json& r) { pos(r)["fittings"]["sash1"]["FHandel"] = "HW-STD"; },
       "позиция 1 fittings sash1: неизвестный член FHandel"},
      {"misspelt sash", [&](json& r) { pos(r)["fittings"]["sahs1"] = pos(r)["fittings"]["sash1"]; },
       "позиция 1 fittings: неизвестный член sahs1"},
      {"misspelt fittings", [&](json& r) { pos(r)["fitings"] = pos(r)["fittings"]; },
       "позиция 1: неизвестный член fitings"},
      {"unknown order member", [&](json& r) { r["order"]["FCustomr"] = "x"; }, "заказ: неизвестный член FCustomr"},
      {"unknown top member", [&](json& r) { r["position"] = json::array(); }, "запрос: неизвестный член position"},
      {"number past 32 bits", [&](json& r) { pos(r)["FNumber"] = 3000000000LL; }, "позиция 1: FNumber: ожидается целое"},
      {"size past 32 bits", [&](json& r) { pos(r)["outline"]["B"] = 4294968000LL; }, "позиция 1 outline: B: ожидается"},
      {"byte out of range", [&](json& r) { pos(r)["FObjectType"] = 300; }, "позиция 1: FObjectType: ожидается целое число от 0 до 255"},
      {"object type unknown", [&](json& r) { pos(r)["FObjectType"] = 2; }, "позиция 1: FObjectType 2"},
      {"boolean for a number", [&](json& r) { pos(r)["FNumber"] = true; }, "позиция 1: FNumber: ожидается целое число, а не true"},
      {"fraction for a whole number", [&](json& r) { pos(r)["FNumber"] = 1.7; }, "позиция 1: FNumber: ожидается целое число"},
      {"float past 4 bytes", [&](json& r) { pos(r)["fittings"]["FProfWidth"] = 1e300; }, "позиция 1 fittings: FProfWidth: ожидается число в пределах"},
      {"string for an object", [&](json& r) { pos(r)["fittings"] = "str"; }, "позиция 1: fittings: ожидается объект"},
      {"string for lines", [&](json& r) { pos(r)["fittings"]["sash1"]["FProperties"] = "0=21"; }, "FProperties: ожидается массив строк"},
      {"text outside Windows-1251", [&](json& r) { pos(r)["FName"] = "окно 😀"; }, "позиция 1: FName: символ, которого нет в кодировке Windows-1251"},
      {"figure out of range", [&](json& r) { pos(r)["outline"]["figure"] = 9; }, "позиция 1 outline: figure 9 вне 0..7"},
      {"radius without an arch", [&](json& r) { pos(r)["outline"]["R"] = 350; }, "позиция 1 outline: R задается только для арки"},
      {"zero width", [&](json& r) { pos(r)["outline"]["B"] = 0; }, "позиция 1 outline: B и H должны быть больше нуля"},
      {"a width no sash has", [&](json& r) { pos(r)["outline"]["B"] = 1000000000; },
       "позиция 1 outline: B, H, X, Y и R не больше 100000 мм"},
      {"negative height", [&](json& r) { pos(r)["outline"]["H"] = -5; }, "позиция 1 outline: B и H должны быть больше нуля"},
      {"zero quantity", [&](json& r) { pos(r)["FNumber"] = 0; }, "позиция 1: FNumber (количество) должно быть больше нуля"},
      {"astragal widths that miss B",
       [&](json& r) { pos(r)["outline"] = {{"figure", 2}, {"B", 1300}, {"H", 1400}, {"X", 650}, {"Y", 300}}; },
       "позиция 1 outline: X + Y (650 + 300) должно быть равно B (1300)"},
      {"Y on a rectangle", [&](json& r) { pos(r)["outline"]["Y"] = 10; }, "позиция 1 outline: Y задается только для figure 1 и 2"},
      {"sash2 on one sash", [&](json& r) { pos(r)["fittings"]["sash2"] = kTurnTiltLeft; }, "sash2 только для двухстворчатых"},
      {"no positions", [&](json& r) { r["positions"] = json::array(); }, "запрос: positions: нет ни одной позиции"},
      {"positions not an array", [&](json& r) { r["positions"] = json::object(); }, "запрос: positions: ожидается массив"},
      {"unknown currency", [&](json& r) { r["order"]["FCurrencyID"] = 9; }, "заказ: FCurrencyID: валюты 9 нет"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    json request = base;
    c.change(request);
    const auto r = Calc(request);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("json.exception"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty()) << r.out.substr(0, 200);
  }
  // the astragal figures fill in a missing Y as the dialog does
  json filled = base;
  filled["positions"][0]["outline"] = {{"figure", 2}, {"B", 1300}, {"H", 1400}, {"X", 650}};
  filled["positions"][0].erase("fittings");
  const auto ok = Calc(filled);
  ASSERT_EQ(ok.exitCode, 0) << ok.err;
  const json sash2 = json::parse(ok.out)["Positions"][0]["FFlugel2"];
  EXPECT_EQ(sash2["FPoints"][2]["FX"], 13000);  // the passive sash reaches to B
}

}  // namespace
}  // namespace kvf

namespace kvf {
namespace {

TEST_F(KvfCalc, MessagesAreRussianOnceAndNameWhatTheyAreAbout) {
  const json request = Request({{"figure", 0}, {"B", 700}, {"H", 1400}, {"dornType", 201}}, kTurnTiltLeft);
  std::ofstream(dir_ / "request.json") << request.dump();
  const std::string req = (dir_ / "request.json").string();

  const auto both = test::RunKvf({"calc", req, "--catalog", catalog_->str(), "--config", "Demo"});
  EXPECT_EQ(both.exitCode, 2);
  EXPECT_NE(both.err.find("--catalog и --config вместе не задаются"), std::string::npos) << both.err;

  const auto notAnOrder = test::RunKvf({"order", "dump", req});
  EXPECT_EQ(notAnOrder.exitCode, 1);
  EXPECT_EQ(notAnOrder.err, "Ошибка: Данный файл не является файлом заказа!\n");  // one message, no more

  const auto badDir = test::RunKvf({"calc", req, "--catalog", catalog_->str(), "--sketch-dir", "/proc/kvf/x"});
  EXPECT_EQ(badDir.exitCode, 1);
  EXPECT_NE(badDir.err.find("Ошибка файловой системы: /proc/kvf/x"), std::string::npos) << badDir.err;
  EXPECT_EQ(badDir.err.find("filesystem error"), std::string::npos) << badDir.err;

  const auto syntax = test::RunKvf({"order", "from-json", (dir_ / "broken.json").string(), (dir_ / "x").string()});
  EXPECT_EQ(syntax.exitCode, 1);
  EXPECT_NE(syntax.err.find("broken.json"), std::string::npos) << syntax.err;
  std::ofstream(dir_ / "broken.json") << "{\"FOrderNo\": ";
  const auto cut = test::RunKvf({"order", "from-json", (dir_ / "broken.json").string(), (dir_ / "x").string()});
  EXPECT_EQ(cut.err, "Ошибка: Неверный JSON " + (dir_ / "broken.json").string() + ": синтаксическая ошибка в байте 14\n");

  test::TTempDir csv, empty;
  std::ofstream(csv / "Catalog.csv") << "ID,Name\r\nA,a\r\n";
  ASSERT_EQ(test::RunKvf({"catalog", "build", csv.str(), empty.str()}).exitCode, 0);
  const auto check = test::RunKvf({"catalog", "check", empty.str()});
  EXPECT_EQ(check.exitCode, 1);  // a catalog without complects and elements is no clean catalog
  EXPECT_NE(check.out.find("FrnComp.DB: таблица пуста"), std::string::npos) << check.out;
  EXPECT_EQ(check.err.find("Ошибок в каталоге не найдено"), std::string::npos);
}

}  // namespace
}  // namespace kvf

namespace kvf {
namespace {

// The example requests of data/requests, which docs/calc-request.md explains.
TEST_F(KvfCalc, TheExampleRequestsCalculateOnTheDemoCatalog) {
  const std::filesystem::path examples = std::filesystem::path(KVF_SOURCE_DIR) / "data/requests";
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(examples)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"arch.json", "astragal.json", "door.json", "trapezoid.json",
                                             "triangle.json", "window.json"}));
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const auto r = test::RunKvf({"calc", (examples / name).string(), "--catalog", catalog_->str()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const json order = json::parse(r.out);
    const json request = json::parse(test::Slurp(examples / name));
    ASSERT_EQ(order["Positions"].size(), request["positions"].size());
    for (size_t p = 0; p < order["Positions"].size(); ++p) {
      const json& pos = order["Positions"][p];
      EXPECT_FALSE(pos.contains("error"));
      EXPECT_NE(pos["FPrice"], "0.0000");
      for (const char* sashName : {"FFlugel1", "FFlugel2"}) {
        const json& sash = pos[sashName];
        if (sash["FPoints"].empty()) continue;
        ASSERT_FALSE(sash["FComplement"].is_null()) << sashName;
        std::set<int> sides;
        for (const json& item : sash["FComplement"]["Items"]) sides.insert(item["FSideNo"].get<int>());
        for (size_t s = 0; s < sash["FSides"].size(); ++s) {  // a hinged or handled side carries its fittings
          if (sash["FSides"][s]["FHinged"] == true || sash["FSides"][s]["FHandled"] == true) {
            EXPECT_TRUE(sides.count(static_cast<int>(s) + 1)) << sashName << " side " << s + 1;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace kvf
