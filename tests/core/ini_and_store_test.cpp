#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "core/config_store.h"
#include "core/cp1251.h"
#include "core/error.h"
#include "core/file_io.h"
#include "core/ini_file.h"
#include "support/temp_dir.h"

namespace kvf {
namespace {

TEST(IniFile, ReadsCaseInsensitivelyWithDefaults) {
  const TIniFile ini = TIniFile::FromText("; comment\r\n[Firm]\r\nName = ООО Окна \r\n[tax]\r\nPriceGrpNo=x\r\nN=$1F\r\n");
  EXPECT_EQ(ini.ReadString("FIRM", "name", "?"), "ООО Окна");
  EXPECT_EQ(ini.ReadString("Firm", "Missing", "def"), "def");
  EXPECT_EQ(ini.ReadInteger("Tax", "PriceGrpNo", 3), 3);  // not a number: the default
  EXPECT_EQ(ini.ReadInteger("Tax", "N", 0), 31);
  EXPECT_TRUE(ini.ReadBool("Tax", "Absent", true));
  EXPECT_FALSE(ini.SectionExists("Money"));
}

TEST(IniFile, WritesBackKeepingEveryLineItDoesNotKnow) {
  test::TTempDir dir;
  const auto path = dir / "KVFurniture.ini";
  {
    std::ofstream f(path, std::ios::binary);
    f << Utf8ToCp1251("; заметка\r\n[Firm]\r\nName=Старое\r\nCustom=1\r\n\r\n[PriceGroupNames]\r\n1=Опт\r\n[Zzz]\r\nq=w\r\n");
  }
  TIniFile ini(path);
  ini.WriteString("Firm", "Name", "Новое");
  ini.WriteString("Firm", "Phone1", "123");
  ini.WriteInteger("Money", "CurCurrency", 2);
  ini.Save();
  EXPECT_EQ(Cp1251ToUtf8(ReadWholeFile(path)),
            "; заметка\r\n[Firm]\r\nName=Новое\r\nCustom=1\r\nPhone1=123\r\n\r\n[PriceGroupNames]\r\n1=Опт\r\n"
            "[Zzz]\r\nq=w\r\n\r\n[Money]\r\nCurCurrency=2\r\n");
}

TEST(ConfigStore, KeepsRegistryPathsValuesAndTypes) {
  test::TTempDir dir;
  const auto file = dir / "korvane" / "registry.json";
  {
    TConfigStore store(file);
    EXPECT_FALSE(store.KeyExists("SoftWare\\Dalnor"));
    store.WriteString("\\SoftWare\\Dalnor\\Korvane\\Redavezur380\\DBConfig\\TBM\\Demo", "KVFCatalogDir", "/data/Каталог");
    store.WriteString("SoftWare\\Dalnor\\Korvane\\Redavezur380\\DBConfig\\TBM\\beta", "KVFCatalogDir", "/b");
    store.WriteInteger("SoftWare\\Dalnor\\Korvane\\Redavezur380", "TechnologMainWinState", 2);
    store.WriteBool("SoftWare\\Dalnor\\Korvane\\Redavezur380", "AutoReg", false);
    store.WriteDateTime("SoftWare\\Dalnor\\Korvane\\Redavezur380", "Last", 46000.25);
    store.Save();
  }
  const TConfigStore store(file);
  const char* list = "SOFTWARE\\dalnor\\Korvane\\Redavezur380\\DBConfig\\TBM";
  EXPECT_TRUE(store.KeyExists(list));  // exists through its subkeys
  EXPECT_EQ(store.GetKeyNames(list), (std::vector<std::string>{"beta", "Demo"}));
  EXPECT_EQ(store.ReadString(std::string(list) + "\\DEMO", "kvfcatalogdir"), "/data/Каталог");
  EXPECT_EQ(store.ReadInteger("SoftWare\\Dalnor\\Korvane\\Redavezur380", "TechnologMainWinState"), 2);
  EXPECT_EQ(store.ReadBool("SoftWare\\Dalnor\\Korvane\\Redavezur380", "AutoReg"), false);
  EXPECT_EQ(store.ReadDateTime("SoftWare\\Dalnor\\Korvane\\Redavezur380", "Last"), 46000.25);
  EXPECT_FALSE(store.ReadString("SoftWare\\Dalnor\\Korvane\\Redavezur380", "Missing").has_value());
  EXPECT_THROW(store.ReadString("SoftWare\\Dalnor\\Korvane\\Redavezur380", "AutoReg"), EKvfError);
  EXPECT_EQ(store.GetValueNames("SoftWare\\Dalnor\\Korvane\\Redavezur380\\DBConfig\\TBM\\Demo"),
            (std::vector<std::string>{"KVFCatalogDir"}));
}

TEST(ConfigStore, DeletesKeysWithTheirSubkeysOnly) {
  test::TTempDir dir;
  TConfigStore store(dir / "r.json");
  store.WriteString("A\\B", "v", "1");
  store.WriteString("A\\B\\C", "v", "2");
  store.WriteString("A\\BC", "v", "3");
  EXPECT_FALSE(store.DeleteKey("a\\b"));  // deletes take the exact name
  EXPECT_TRUE(store.DeleteKey("A\\B"));
  EXPECT_FALSE(store.KeyExists("A\\B\\C"));
  EXPECT_TRUE(store.KeyExists("A\\BC"));
  EXPECT_FALSE(store.DeleteKey("A\\B"));
  EXPECT_FALSE(store.DeleteValue("A\\BC", "V"));
  EXPECT_TRUE(store.DeleteValue("A\\BC", "v"));
  EXPECT_FALSE(store.ValueExists("A\\BC", "v"));
}

TEST(ConfigStore, NamesThatDifferInCaseStayApart) {
  test::TTempDir dir;
  TConfigStore store(dir / "r.json");
  store.WriteString("L\\Demo", "Dir", "/demo");
  store.WriteString("L", "DefaultConfig", "Demo");
  store.Save();
  TConfigStore second(dir / "r.json");
  second.DeleteKey("L\\DEMO");  // nothing of that exact name
  second.WriteString("L\\DEMO", "Dir", "/upper");
  second.Save();
  const TConfigStore back(dir / "r.json");
  EXPECT_EQ(back.GetKeyNames("L"), (std::vector<std::string>{"DEMO", "Demo"}));
  EXPECT_EQ(back.ReadString("L\\Demo", "Dir"), "/demo");
  EXPECT_EQ(back.ReadString("L\\DEMO", "Dir"), "/upper");
  EXPECT_EQ(back.ReadString("L", "DefaultConfig"), "Demo");
  EXPECT_FALSE(back.ReadString("L\\demo", "Dir").has_value());  // two candidates: no guess
  EXPECT_EQ(back.ReadString("l", "defaultconfig"), "Demo");      // one candidate: the registry's way
}

TEST(ConfigStore, ASaveChangesOnlyWhatThisStoreTouched) {
  test::TTempDir dir;
  const auto file = dir / "r.json";
  {
    std::ofstream(file) << R"({"format": "korvane-config-store 1", "written-by": "a later version",
      "keys": {"K": {"Old": {"type": "string", "value": "x", "note": "kept"}, "Other": {"type": "integer", "value": 5}}}})";
  }
  TConfigStore mine(file);
  TConfigStore theirs(file);
  theirs.WriteInteger("K", "Other", 6);
  theirs.WriteString("T", "New", "theirs");
  theirs.Save();
  mine.WriteString("K", "Mine", "mine");  // saved after theirs, from a store loaded before it
  mine.Save();
  const TConfigStore back(file);
  EXPECT_EQ(back.ReadInteger("K", "Other"), 6);
  EXPECT_EQ(back.ReadString("T", "New"), "theirs");
  EXPECT_EQ(back.ReadString("K", "Mine"), "mine");
  const nlohmann::json doc = nlohmann::json::parse(ReadWholeFile(file));
  EXPECT_EQ(doc["written-by"], "a later version");
  EXPECT_EQ(doc["keys"]["K"]["Old"]["note"], "kept");

  // ten programs adding at once: every addition survives
  for (int i = 0; i < 10; ++i) {
    if (::fork() == 0) {
      TConfigStore s(file);
      s.WriteString("Parallel\\C" + std::to_string(i), "Dir", "/d");
      s.Save();
      ::_exit(0);
    }
  }
  for (int i = 0; i < 10; ++i) ::wait(nullptr);
  EXPECT_EQ(TConfigStore(file).GetKeyNames("Parallel").size(), 10u);
}

TEST(ConfigStore, IntegersOutOfRangeAreRefusedNeverWrapped) {
  test::TTempDir dir;
  const auto file = dir / "r.json";
  for (const char* value : {"18446744073709551615", "1e30", "1.5", "true", "\"7\""}) {
    SCOPED_TRACE(value);
    { std::ofstream(file) << R"({"format": "korvane-config-store 1", "keys": {"K": {"N": {"type": "integer", "value": )"
                          << value << "}}}}"; }
    EXPECT_THROW(TConfigStore store(file), EKvfError);
  }
  { std::ofstream(file) << R"({"format": "korvane-config-store 1", "keys": {"K": {"N": {"type": "integer", "value": 3000000000}}}})"; }
  const TConfigStore store(file);
  EXPECT_EQ(store.ReadInteger("K", "N"), 3000000000);
  EXPECT_THROW(store.ReadInt32("K", "N"), EKvfError);
}

TEST(ConfigStore, ReportsADamagedFileAndNeverOverwritesIt) {
  test::TTempDir dir;
  const auto file = dir / "registry.json";
  for (const char* damaged : {"{\"format\": \"korvane-config-store 1\", \"keys\": {", "[]",
                              "{\"format\": \"korvane-config-store 1\", \"keys\": {\"A\": {\"v\": {\"type\": \"blob\"}}}}"}) {
    SCOPED_TRACE(damaged);
    { std::ofstream(file) << damaged; }
    try {
      TConfigStore store(file);
      FAIL() << "no error";
    } catch (const EKvfError& e) {
      EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
    }
    EXPECT_EQ(ReadWholeFile(file), damaged);
  }
}

}  // namespace
}  // namespace kvf
