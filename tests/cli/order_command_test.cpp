#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>

#include "core/money.h"
#include "support/run_kvf.h"
#include "support/temp_dir.h"

namespace kvf {
namespace {

using nlohmann::json;

const std::string kDemo = std::string(KVF_SOURCE_DIR) + "/data/catalog";

class KvfOrderFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    catalog_ = new test::TTempDir();
    ASSERT_EQ(test::RunKvf({"catalog", "build", kDemo, catalog_->str()}).exitCode, 0);
  }
  static void TearDownTestSuite() {
    delete catalog_;
    catalog_ = nullptr;
  }
  test::TRunResult Kvf(std::vector<std::string> args) { return test::RunKvf(args, {{"XDG_CONFIG_HOME", dir_.str()}}); }
  std::string Cat() const { return catalog_->str(); }

  // Two positions: a window and a door, calculated and written as an order file.
  std::string MakeOrder(const std::string& name) {
    const json fit = {{"FFurnSys", "1200"}, {"FProfSys", "P70"}, {"FFurnColor", "WH"}, {"FFalzType", 101},
                      {"FFlugelType", 401}, {"FProfThickness", 70}};
    json door = fit;
    door["FFurnSys"] = "1300";
    door["FProfSys"] = "D70";
    door["sash1"] = {{"FComplect", "DR-L"}, {"FLock", "LK-MP"}, {"FDornType", 203}};
    json window = fit;
    window["sash1"] = {{"FComplect", "DK-L"}, {"FHandle", "HW-STD"}, {"FDornType", 201}, {"FProperties", {"0=21"}}};
    const json request = {
        {"order", {{"FOrderNo", name}, {"FCurrencyID", 1}}},
        {"positions",
         {{{"FNumber", 2}, {"outline", {{"figure", 0}, {"B", 700}, {"H", 1400}, {"dornType", 201}}}, {"fittings", window}},
          {{"outline", {{"figure", 0}, {"B", 900}, {"H", 2100}, {"dornType", 203}}}, {"fittings", door}}}}};
    std::ofstream(dir_ / (name + ".json")) << request.dump();
    const std::string file = (dir_ / (name + ".kfo370")).string();
    const auto r = Kvf({"calc", (dir_ / (name + ".json")).string(), "--catalog", Cat(), "--out", file});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return file;
  }

  static test::TTempDir* catalog_;
  test::TTempDir dir_;
};

test::TTempDir* KvfOrderFiles::catalog_ = nullptr;

TEST_F(KvfOrderFiles, DumpThenFromJsonWritesTheSameBytes) {
  const std::string file = MakeOrder("A-1");
  const auto dump = Kvf({"order", "dump", file});
  ASSERT_EQ(dump.exitCode, 0) << dump.err;
  const json order = json::parse(dump.out);
  EXPECT_EQ(order["FOrderNo"], "A-1");
  EXPECT_EQ(order["Positions"].size(), 2u);
  EXPECT_NE(order["Positions"][0]["FPrice"], "0.0000");
  std::ofstream(dir_ / "dump.json") << dump.out;
  const std::string copy = (dir_ / "copy.kfo370").string();
  ASSERT_EQ(Kvf({"order", "from-json", (dir_ / "dump.json").string(), copy}).exitCode, 0);
  EXPECT_EQ(test::Slurp(copy), test::Slurp(file));
  const auto again = Kvf({"order", "from-json", (dir_ / "dump.json").string(), copy});
  EXPECT_EQ(again.exitCode, 1);  // no overwrite without --force
  EXPECT_EQ(Kvf({"order", "from-json", (dir_ / "dump.json").string(), copy, "--force"}).exitCode, 0);
  std::ofstream(dir_ / "bad.json") << R"({"Positions": [{"FFlugel1": {"FPoints": [{"FX": 1, "FY": 1}]}}]})";
  EXPECT_EQ(Kvf({"order", "from-json", (dir_ / "bad.json").string(), (dir_ / "bad.kfo370").string()}).exitCode, 1);
}

TEST_F(KvfOrderFiles, FromJsonReadsStrictlyAndNamesThePlace) {
  const json order = json::parse(Kvf({"order", "dump", MakeOrder("J-1")}).out);
  auto sash = [](json& o) -> json& { return o["Positions"][0]["FFlugel1"]; };
  struct Case {
    const char* what;
    const char* command;
    std::function<void(json&)> change;
    const char* message;
  };
  const Case cases[] = {
      {"unknown order member", "order", [](json& o) { o["FCustomr"] = "x"; }, "заказ: неизвестный член FCustomr"},
      {"unknown item member", "order", [&](json& o) { sash(o)["FComplement"]["Items"][0]["FArtcle"] = "x"; },
       "позиция 001 FFlugel1 FComplement Items[0]: неизвестный член FArtcle"},
      {"items not an array", "order", [&](json& o) { sash(o)["FComplement"]["Items"] = "x"; },
       "позиция 001 FFlugel1 FComplement: Items: ожидается массив"},
      {"number past 32 bits", "order", [](json& o) { o["Positions"][0]["FNumber"] = 3000000000LL; },
       "позиция 001: FNumber: ожидается целое число от -2147483648 до 2147483647"},
      {"money past its range", "order", [](json& o) { o["Positions"][0]["FPrice"] = 9.3e14; },
       "позиция 001: FPrice: Денежное значение вне допустимого диапазона: 930000000000000"},
      {"float past 4 bytes", "order", [&](json& o) { sash(o)["FSides"][0]["FRadius"] = 1e300; },
       "позиция 001 FFlugel1 FSides[0]: FRadius: ожидается число в пределах 4-байтового числа"},
      {"text outside Windows-1251", "order", [](json& o) { o["FCustomer"] = "Ω≠∑"; },
       "заказ: FCustomer: символ, которого нет в кодировке Windows-1251"},
      {"selection item not an object", "selection", [](json& o) { o = {{"Items", {"x"}}}; },
       "выборка Items[0]: ожидается объект"},
      {"unknown selection member", "selection", [](json& o) { o = {{"FSelName", "a"}, {"FSelNme", "b"}}; },
       "выборка: неизвестный член FSelNme"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    json changed = order;
    c.change(changed);
    std::ofstream(dir_ / "changed.json") << changed.dump();
    const std::string out = (dir_ / "changed.out").string();
    const auto r = Kvf({c.command, "from-json", (dir_ / "changed.json").string(), out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

TEST_F(KvfOrderFiles, ADocumentThatDoesNotLoadIsNeverWrittenOver) {
  const std::string file = MakeOrder("A-2");
  std::string bytes = test::Slurp(file);
  const size_t label = bytes.find("26.12.2019");
  const auto write = [&](const std::string& name, const std::string& content) {
    std::ofstream(dir_ / name, std::ios::binary) << content;
    return (dir_ / name).string();
  };
  std::string newer = bytes, older = bytes;
  newer.replace(label, 10, "01.01.2030");
  older.replace(label, 10, "23.07.2019");
  const std::string newerFile = write("newer.kfo370", newer);
  const std::string olderFile = write("older.kfo370", older);
  const std::string cutFile = write("cut.kfo370", bytes.substr(0, 585));
  std::ofstream(dir_ / "sel.json") << R"({"FSelectionNo": "W-1"})";
  const std::string selection = (dir_ / "sel.kfs370").string();
  ASSERT_EQ(Kvf({"selection", "from-json", (dir_ / "sel.json").string(), selection}).exitCode, 0);
  std::string newerSel = test::Slurp(selection);
  newerSel.replace(newerSel.find("06.10.2015"), 10, "01.01.2030");
  const std::string newerSelFile = write("newer.kfs370", newerSel);
  struct Case {
    std::vector<std::string> args;
    std::string file;
    const char* message;
  };
  const Case cases[] = {
      {{"order", "dump"}, newerFile, "более новой версией"},
      {{"order", "recalc", "--catalog", Cat(), "--write"}, newerFile, "более новой версией"},
      {{"order", "reprice", "--catalog", Cat(), "--write"}, newerFile, "более новой версией"},
      {{"order", "dump", "--no-convert"}, olderFile, "Необходимо конвертировать файл заказа!"},
      {{"order", "recalc", "--catalog", Cat(), "--write", "--no-convert"}, olderFile, "Необходимо конвертировать"},
      {{"order", "reprice", "--catalog", Cat(), "--write", "--no-convert"}, olderFile, "Необходимо конвертировать"},
      {{"order", "reprice", "--catalog", Cat(), "--write"}, cutFile, "Ошибка загрузки заказа!"},
      {{"order", "recalc", "--catalog", Cat(), "--write"}, selection, "Данный файл не является файлом заказа!"},
      {{"selection", "refresh", "--write"}, file, "Данный файл не является файлом Dalnor Stemwick!"},
      {{"selection", "refresh", "--write"}, newerSelFile, "более новой версией"},
      {{"selection", "refresh", "--write"}, cutFile, "не является файлом"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin() + 2, c.file);
    SCOPED_TRACE(args[0] + " " + args[1] + " " + c.file);
    const std::string before = test::Slurp(c.file);
    const auto r = Kvf(args);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty()) << r.out;
    EXPECT_EQ(test::Slurp(c.file), before);
  }
  const auto converted = Kvf({"order", "dump", olderFile});  // converting is asked and taken
  EXPECT_NE(converted.err.find("Необходимо конвертировать файл заказа!"), std::string::npos);
}

TEST_F(KvfOrderFiles, RecalcRepriceAndMaterials) {
  const std::string file = MakeOrder("A-3");
  const std::string before = test::Slurp(file);
  const auto recalc = Kvf({"order", "recalc", file, "--catalog", Cat()});
  EXPECT_EQ(recalc.exitCode, 0) << recalc.err;
  EXPECT_EQ(test::Slurp(file), before);  // rewritten only with --write

  // a catalog without the door lock: that position fails and keeps its lines
  test::TTempDir csv, reduced;
  ASSERT_EQ(Kvf({"catalog", "export", Cat(), csv.str()}).exitCode, 0);
  std::string sets = test::Slurp(csv / "FrnComp.csv");
  const size_t lock = sets.find("\r\nLK-MP,");
  sets.erase(lock, sets.find("\r\n", lock + 2) - lock);
  std::ofstream(csv / "FrnComp.csv", std::ios::binary) << sets;
  ASSERT_EQ(Kvf({"catalog", "build", csv.str(), reduced.str()}).exitCode, 0);
  const auto failing = Kvf({"order", "recalc", file, "--catalog", reduced.str(), "--write"});
  EXPECT_EQ(failing.exitCode, 1);
  EXPECT_NE(failing.err.find("Позиция 002: Комплект фурнитуры [LK-MP] не найден в документации!"), std::string::npos)
      << failing.err;
  const json after = json::parse(failing.out);
  EXPECT_FALSE(after["Positions"][1]["FFlugel1"]["FComplement"]["Items"].empty());

  const auto materials = Kvf({"order", "materials", file, "--catalog", Cat(), "--csv"});
  ASSERT_EQ(materials.exitCode, 0) << materials.err;
  EXPECT_EQ(materials.out.rfind("Article,Name,Unit,Number,BasePrice,Discount,Price,Cost\r\n", 0), 0u);
  EXPECT_NE(materials.out.find("KV-HW-WH,\"Ручка оконная, белый\",шт,2.000,"), std::string::npos) << materials.out;
  EXPECT_NE(materials.out.find("\r\nИтого с НДС,,,,,,,"), std::string::npos) << materials.out;

  // the materials JSON: what an ERP needs without reading the catalog
  const auto asJson = Kvf({"order", "materials", file, "--catalog", Cat(), "--json"});
  ASSERT_EQ(asJson.exitCode, 0) << asJson.err;
  const json m = json::parse(asJson.out);
  ASSERT_FALSE(m["lines"].empty());
  TMoney sum;
  for (const json& line : m["lines"]) {
    for (const char* member : {"FArticle", "Name", "Unit", "FNumber", "FBasePrice", "FDiscount", "FPrice", "FCost"})
      EXPECT_TRUE(line.contains(member)) << member;
    EXPECT_FALSE(line["Name"].get<std::string>().empty()) << line["FArticle"];
    sum += *TMoney::Parse(line["FCost"].get<std::string>());
  }
  EXPECT_EQ(m["Total"], sum.ToString());
  const json order = json::parse(Kvf({"order", "dump", file}).out);
  const TMoney nds = sum * (order["FNDSTax"].get<double>() / 100);
  EXPECT_EQ(m["NDS"], nds.ToString());
  EXPECT_EQ(m["TotalWithNDS"], (sum + nds).ToString());
  EXPECT_EQ(m["FCurrencyID"], order["FCurrencyID"]);
  EXPECT_EQ(m["CurrencyName"], "RUB");
  EXPECT_EQ(Kvf({"order", "materials", file, "--catalog", Cat(), "--json", "--csv"}).exitCode, 2);
  const auto reprice = Kvf({"order", "reprice", file, "--catalog", Cat()});
  EXPECT_EQ(reprice.exitCode, 0);
}

TEST_F(KvfOrderFiles, SelectionsOverSeveralOrders) {
  const std::string a = MakeOrder("A-4");
  const std::string b = MakeOrder("B-4");
  const json selection = {
      {"FSelectionNo", "W-50"},
      {"FCurrencyRates", {{{"FCurrencyID", 1}, {"FRate", 1}}, {{"FCurrencyID", 2}, {"FRate", 95.5}}}},
      {"FCurrencyID", 1},
      {"Items",
       {{{"FOrderNo", "A-4"}, {"FPosNo", "001"}, {"FOrderFile", "%A-4.kfo370"}},
        {{"FOrderNo", "B-4"}, {"FPosNo", "001"}, {"FOrderFile", "%B-4.kfo370"}},
        {{"FOrderNo", "C-4"}, {"FPosNo", "001"}, {"FOrderFile", "%C-4.kfo370"}}}}};
  std::ofstream(dir_ / "sel.json") << selection.dump();
  const std::string file = (dir_ / "sel.kfs370").string();
  ASSERT_EQ(Kvf({"selection", "from-json", (dir_ / "sel.json").string(), file}).exitCode, 0);
  const auto dump = Kvf({"selection", "dump", file});
  ASSERT_EQ(dump.exitCode, 0);
  EXPECT_EQ(json::parse(dump.out)["Items"].size(), 3u);
  const auto refresh = Kvf({"selection", "refresh", file, "--orders", dir_.str(), "--write"});
  EXPECT_EQ(refresh.exitCode, 1);  // the missing order is named, the others refreshed
  EXPECT_NE(refresh.err.find("Не найдено: %C-4.kfo370: файл заказа не найден"), std::string::npos) << refresh.err;
  const json refreshed = json::parse(Kvf({"selection", "dump", file}).out);
  EXPECT_EQ(refreshed["Items"][0]["FNumber"], 2);
  EXPECT_EQ(refreshed["Items"][0]["FWidth"], 700);
  EXPECT_EQ(refreshed["Items"][2]["FNumber"], 0);  // the missing order leaves its item alone
  const auto incomplete = Kvf({"selection", "materials", file, "--orders", dir_.str(), "--catalog", Cat()});
  EXPECT_EQ(incomplete.exitCode, 1);  // never a total without an order of the selection
  EXPECT_NE(incomplete.err.find("Не найдено: %C-4.kfo370: файл заказа не найден"), std::string::npos);
  EXPECT_TRUE(incomplete.out.empty()) << incomplete.out;
  const auto noFolder = Kvf({"selection", "materials", file, "--catalog", Cat()});
  EXPECT_EQ(noFolder.exitCode, 1);
  EXPECT_NE(noFolder.err.find("Папка заказов не задана"), std::string::npos) << noFolder.err;
  json found = selection;
  found["Items"].erase(2);
  std::ofstream(dir_ / "found.json") << found.dump();
  const std::string foundFile = (dir_ / "found.kfs370").string();
  ASSERT_EQ(Kvf({"selection", "from-json", (dir_ / "found.json").string(), foundFile}).exitCode, 0);
  const auto materials = Kvf({"selection", "materials", foundFile, "--orders", dir_.str(), "--catalog", Cat(), "--csv"});
  ASSERT_EQ(materials.exitCode, 0) << materials.err;
  EXPECT_NE(materials.out.find("KV-HW-WH,\"Ручка оконная, белый\",шт,4.000,"), std::string::npos) << materials.out;

  // without the EUR rate the EUR articles cannot be priced: an error, never a mixed total
  json noEuro = found;
  noEuro["FCurrencyRates"] = {{{"FCurrencyID", 1}, {"FRate", 1}}};
  std::ofstream(dir_ / "noeuro.json") << noEuro.dump();
  const std::string noEuroFile = (dir_ / "noeuro.kfs370").string();
  ASSERT_EQ(Kvf({"selection", "from-json", (dir_ / "noeuro.json").string(), noEuroFile}).exitCode, 0);
  const auto unpriced = Kvf({"selection", "materials", noEuroFile, "--orders", dir_.str(), "--catalog", Cat()});
  EXPECT_EQ(unpriced.exitCode, 1);
  EXPECT_NE(unpriced.err.find("В списке курсов документа нет валюты [EUR (2)]!"), std::string::npos) << unpriced.err;
  EXPECT_TRUE(unpriced.out.empty());
}

}  // namespace
}  // namespace kvf

namespace kvf {
namespace {

TEST_F(KvfOrderFiles, SketchesOfPositions) {
  const std::string file = MakeOrder("S-1");
  const std::string png = (dir_ / "001.png").string(), svg = (dir_ / "002.svg").string();
  ASSERT_EQ(Kvf({"sketch", file, "001", "--png", png, "--size", "400x300"}).exitCode, 0);
  EXPECT_EQ(test::Slurp(png).substr(0, 8), "\x89PNG\r\n\x1A\n");
  ASSERT_EQ(Kvf({"sketch", file, "002", "--svg", svg, "--options", "overall"}).exitCode, 0);
  const std::string doc = test::Slurp(svg);
  EXPECT_NE(doc.find("<svg"), std::string::npos);
  EXPECT_NE(doc.find(">2100</text>"), std::string::npos);  // the door's height
  EXPECT_NE(doc.find(">900</text>"), std::string::npos);
  EXPECT_EQ(Kvf({"sketch", file, "001"}).exitCode, 2);
  EXPECT_EQ(Kvf({"sketch", file, "001", "--png", png, "--size", "big"}).exitCode, 2);
  EXPECT_EQ(Kvf({"sketch", file, "001", "--svg", svg, "--options", "everything"}).exitCode, 2);
  EXPECT_EQ(Kvf({"sketch", file, "007", "--svg", svg}).exitCode, 1);

  const std::string request = (dir_ / "S-1.json").string();
  const auto calc = Kvf({"calc", request, "--catalog", Cat(), "--sketch-dir", (dir_ / "pictures").string()});
  ASSERT_EQ(calc.exitCode, 0) << calc.err;
  EXPECT_TRUE(std::filesystem::exists(dir_ / "pictures" / "001.png"));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "pictures" / "002.png"));
}

}  // namespace
}  // namespace kvf
