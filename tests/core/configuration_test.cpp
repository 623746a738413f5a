#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

#include "core/config_store.h"
#include "core/configuration.h"
#include "core/datetime.h"
#include "core/setup.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace kvf {
namespace {

const std::string kList = kConfigListKey;

TEST(FindSwitch, MatchesWholeParametersIgnoringCase) {
  const std::vector<std::string> args = {"/developer", "x", "/DEVELOPER", "-developer", "/developer:1", "/Developer"};
  EXPECT_EQ(FindSwitch(args, "/developer"), (std::pair<bool, int>{true, 2}));  // argument 0 is the program
  EXPECT_EQ(FindSwitch({"prog", "/nopresentation"}, "/NoPresentation"), (std::pair<bool, int>{true, 1}));
  EXPECT_EQ(FindSwitch({"prog", "-developer", "/developer:1"}, "/developer"), (std::pair<bool, int>{false, -1}));
}

TEST(NormalizeDir, TrimsAndDropsOneTrailingSeparator) {
  EXPECT_EQ(NormalizeDir("  D:\\Data\\ \t"), "D:\\Data");
  EXPECT_EQ(NormalizeDir("/srv/data//"), "/srv/data/");
  EXPECT_EQ(NormalizeDir("/srv/data"), "/srv/data");
  EXPECT_EQ(NormalizeDir(""), "");
}

class SelectConfigurationTest : public ::testing::Test {
 protected:
  test::TTempDir dir_;
  TConfigStore store{dir_ / "registry.json"};
  test::TScriptedUi ui_;
  TkvfConfig config_;
  std::vector<std::string> shownNames_;
  int shownSelected_ = -2;
  std::optional<std::string> answer_;
  bool chooserCalled_ = false;

  TConfigChooser Chooser() {
    return [this](const std::vector<std::string>& names, int selected) -> std::optional<std::string> {
      chooserCalled_ = true;
      shownNames_ = names;
      shownSelected_ = selected;
      if (answer_) return answer_;
      return names[static_cast<size_t>(selected)];
    };
  }
  void AddConfig(const std::string& name, const std::string& server, const std::string& temp) {
    store.WriteString(kList + "\\" + name, "KVFCatalogDir", (dir_ / "cat").string() + "\\");
    store.WriteString(kList + "\\" + name, "KVFServerName", server);
    store.WriteString(kList + "\\" + name, "KVFReportDir", " /rep ");
    store.WriteString(kList + "\\" + name, "KVFTempDir", temp);
  }
  bool Select() {
    return SelectConfiguration(config_, store, Chooser(), (dir_ / "prog").string(), [] { return 1483920; });
  }
};

TEST_F(SelectConfigurationTest, DerivesEveryFolderAndCreatesTheTemporaryOne) {
  AddConfig("Demo", (dir_ / "srv").string() + "/", (dir_ / "tmp").string());
  ASSERT_TRUE(Select());
  EXPECT_TRUE(chooserCalled_);  // shown also for a single configuration
  EXPECT_EQ(shownNames_, (std::vector<std::string>{"Demo"}));
  const std::string srv = (dir_ / "srv").string();
  EXPECT_EQ(config_.ConfigName, "Demo");
  EXPECT_EQ(config_.CatalogDir, (dir_ / "cat").string());
  EXPECT_EQ(config_.ServerDir, srv);
  EXPECT_EQ(config_.ReportDir, "/rep");
  EXPECT_EQ(config_.IniFileName, (dir_ / "cat").string() + "/KVFurniture.ini");
  EXPECT_EQ(config_.OrdersDir, srv + "/Orders");
  EXPECT_EQ(config_.SelectionDir, srv + "/Selection");
  EXPECT_EQ(config_.RecycledDir, srv + "/Recycled");
  EXPECT_EQ(config_.ArchiveDir, srv + "/Archive");
  EXPECT_EQ(config_.RegistryDir, srv + "/Registry");
  EXPECT_EQ(config_.ExportDir, srv + "/Export");
  EXPECT_EQ(config_.TempDir, (dir_ / "tmp").string() + "/483920");
  EXPECT_EQ(config_.LastTempDir, config_.TempDir);
  EXPECT_TRUE(std::filesystem::is_directory(config_.TempDir));
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(SelectConfigurationTest, EmptyTempBaseUsesTheProgramFolder) {
  AddConfig("Demo", "/srv", "");
  ASSERT_TRUE(Select());
  EXPECT_EQ(config_.TempDir, (dir_ / "prog").string() + "/483920");
}

TEST_F(SelectConfigurationTest, PreselectsTheDefaultOrTheFirstEntry) {
  AddConfig("Alpha", "/a", "");
  AddConfig("Beta", "/b", "");
  store.WriteString(kList, "DefaultConfig", "Beta");
  ASSERT_TRUE(Select());
  EXPECT_EQ(shownSelected_, 1);
  EXPECT_EQ(config_.ConfigName, "Beta");
  store.WriteString(kList, "DefaultConfig", "Gone");
  ASSERT_TRUE(Select());
  EXPECT_EQ(shownSelected_, 0);
}

TEST_F(SelectConfigurationTest, FailuresShowTheirMessages) {
  // nothing registered
  EXPECT_FALSE(Select());
  EXPECT_FALSE(chooserCalled_);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text,
            "В системе не установлены пути доступа к базам данных!\r\nИнсталлируйте заново программу!");
  // cancelled: no message
  AddConfig("Demo", "/srv", "");
  answer_ = std::nullopt;
  TConfigChooser cancel = [](const std::vector<std::string>&, int) -> std::optional<std::string> { return std::nullopt; };
  EXPECT_FALSE(SelectConfiguration(config_, store, cancel, "/p", [] { return 1; }));
  EXPECT_EQ(ui_.boxes.size(), 1u);
  // the chosen name has no key
  answer_ = "Other";
  EXPECT_FALSE(Select());
  EXPECT_EQ(ui_.boxes.back().text,
            "Ошибка открытия конфигурации Other!\r\nУказанная конфигурация не числиться в списке.");
  // an empty name
  answer_ = "";
  EXPECT_FALSE(Select());
  EXPECT_EQ(ui_.boxes.back().text, ui_.boxes[0].text);
  // a value of the wrong type
  answer_ = std::nullopt;
  store.WriteInteger(kList + "\\Demo", "KVFServerName", 5);
  EXPECT_FALSE(Select());
  EXPECT_EQ(ui_.boxes.back().text.rfind("Ошибка чтения системного реестра!\r\n(", 0), 0u);
}

TEST(DeleteDirTree, RemovesReadOnlyEntriesAndDoesNotFollowLinks) {
  test::TTempDir dir;
  const auto victim = dir / "483920";
  const auto outside = dir / "outside";
  std::filesystem::create_directories(victim / "sub" / "deeper");
  std::filesystem::create_directories(outside);
  std::ofstream(victim / "ro.txt") << "x";
  std::ofstream(victim / "sub" / "deeper" / "f") << "x";
  std::ofstream(outside / "keep") << "x";
  ::chmod((victim / "ro.txt").c_str(), 0444);
  ::chmod((victim / "sub" / "deeper").c_str(), 0555);
  std::filesystem::create_directory_symlink(outside, victim / "link");
  EXPECT_TRUE(DeleteDirTree(victim));
  EXPECT_FALSE(std::filesystem::exists(victim));
  EXPECT_TRUE(std::filesystem::exists(outside / "keep"));
  EXPECT_FALSE(DeleteDirTree(dir / "never-there"));
}

TEST(LastTempDir, IsKeptInTheConfigurationListKey) {
  test::TTempDir dir;
  TConfigStore store(dir / "r.json");
  EXPECT_EQ(ReadLastTempDir(store), "");
  WriteLastTempDir(store, "/tmp/kvf/1");
  EXPECT_EQ(ReadLastTempDir(TConfigStore(dir / "r.json")), "/tmp/kvf/1");
}

TEST(LastCurrencyUpdate, EightBytesOrYesterday) {
  test::TTempDir dir;
  const std::string server = dir.str();
  EXPECT_EQ(ReadLastCurrencyUpdate(server, "/nowhere"), Today() - 1);
  WriteLastCurrencyUpdate(server, "/nowhere", Today());
  EXPECT_EQ(std::filesystem::file_size(dir / "Korvane.lcu"), 8u);
  EXPECT_EQ(ReadLastCurrencyUpdate(server, "/nowhere"), Today());
  { std::ofstream(dir / "Korvane.lcu", std::ios::binary) << "abc"; }  // short file
  EXPECT_EQ(ReadLastCurrencyUpdate(server, "/nowhere"), Today() - 1);
  WriteLastCurrencyUpdate("", server, 45000);  // empty folder: the program's folder
  EXPECT_EQ(ReadLastCurrencyUpdate("", server), 45000);
  WriteLastCurrencyUpdate(server + "/missing/dir", "", 1);  // silently ignored
}

}  // namespace
}  // namespace kvf

namespace kvf {
namespace {

TEST(StartConfiguration, SwitchesRemoveTheLastTemporaryFolderAndRememberTheNewOne) {
  test::TTempDir dir;
  test::TScriptedUi ui;
  TConfigStore store(dir / "r.json");
  const std::string list = kConfigListKey;
  store.WriteString(list + "\\Demo", "KVFServerName", dir.str() + "/srv");
  store.WriteString(list + "\\Demo", "KVFTempDir", dir.str() + "/tmp");
  const auto old = dir / "tmp" / "17";
  std::filesystem::create_directories(old / "x");
  std::ofstream(old / "x" / "ro") << "1";
  ::chmod((old / "x" / "ro").c_str(), 0444);
  store.WriteString(list, "KVFLastTempDir", old.string());
  TkvfConfig config;
  const TConfigChooser first = [](const std::vector<std::string>& n, int s) -> std::optional<std::string> {
    return n[static_cast<size_t>(s)];
  };
  ASSERT_TRUE(StartConfiguration(config, {"korvane", "/DEVELOPER", "/nopresentation"}, store, first, "/p",
                                 [] { return 42; }));
  EXPECT_TRUE(config.DeveloperMode);
  EXPECT_FALSE(config.ShowPresentation);
  EXPECT_FALSE(std::filesystem::exists(old));
  EXPECT_EQ(config.LastTempDir, dir.str() + "/tmp/42");
  FinishConfiguration(config, store);
  EXPECT_EQ(ReadLastTempDir(TConfigStore(dir / "r.json")), dir.str() + "/tmp/42");

  TkvfSetup setup;
  setup.AutoOpenReg = true;
  setup.AutoLoadCurrency = true;
  config.ShowPresentation = true;
  // no Korvane.lcu: the currency dialog is due every start until it is confirmed
  EXPECT_EQ(StartUpMessages(config, setup, "/p", Today()),
            (std::vector<int>{UM_OPENORDERLIST, UM_PRESENTATION, UM_CURRENCYRATES}));
  std::filesystem::create_directories(config.ServerDir);
  WriteLastCurrencyUpdate(config.ServerDir, "/p", Today());
  EXPECT_EQ(StartUpMessages(config, setup, "/p", Today()), (std::vector<int>{UM_OPENORDERLIST, UM_PRESENTATION}));
  EXPECT_EQ(StartUpMessages(config, setup, "/p", Today() + 1).back(), UM_CURRENCYRATES);
  setup.AutoOpenReg = false;
  setup.AutoLoadCurrency = false;
  config.ShowPresentation = false;
  EXPECT_TRUE(StartUpMessages(config, setup, "/p", Today() + 1).empty());
}

}  // namespace
}  // namespace kvf
