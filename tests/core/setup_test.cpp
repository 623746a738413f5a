#include <gtest/gtest.h>

#include <fstream>

#include "core/config_store.h"
#include "core/configuration.h"
#include "core/cp1251.h"
#include "core/error.h"
#include "core/file_io.h"
#include "core/ini_file.h"
#include "core/setup.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace kvf {
namespace {

class SetupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    config_.CatalogDir = (dir_ / "cat").string();
    config_.ServerDir = (dir_ / "srv").string();
    config_.ReportDir = (dir_ / "rep").string();
    DeriveFolders(config_);
    std::filesystem::create_directories(config_.CatalogDir);
  }
  void WriteIni(const std::string& utf8) {
    std::ofstream(config_.IniFileName, std::ios::binary) << Utf8ToCp1251(utf8);
  }
  std::string IniText() { return Cp1251ToUtf8(ReadWholeFile(config_.IniFileName)); }

  test::TTempDir dir_;
  test::TScriptedUi ui_;
  TkvfConfig config_;
  TConfigStore store_{dir_ / "registry.json"};
};

TEST_F(SetupTest, MissingIniFileLoadsNothing) {
  TkvfSetup setup;
  EXPECT_FALSE(setup.Load(config_, store_));
  EXPECT_FALSE(setup.Loaded);
  EXPECT_FALSE(std::filesystem::exists(config_.OrdersDir));
  config_.IniFileName.clear();
  EXPECT_FALSE(setup.Load(config_, store_));
}

TEST_F(SetupTest, OnlyFirmSectionGivesEveryDefaultAndCreatesTheFolders) {
  WriteIni("[Firm]\r\nName=ООО «Окна»\r\n");
  TkvfSetup setup;
  ASSERT_TRUE(setup.Load(config_, store_));
  EXPECT_TRUE(setup.Loaded);
  EXPECT_EQ(setup.Firm.Name, "ООО «Окна»");
  EXPECT_EQ(setup.NDSTax, 18.0f);
  EXPECT_EQ(setup.ftpPort, 21);
  EXPECT_EQ(setup.DefMaterial, 1);
  EXPECT_TRUE(setup.TotalNDS);
  EXPECT_TRUE(setup.ShowIncludingNDS);
  EXPECT_TRUE(setup.UserDefineHeight);
  EXPECT_FALSE(setup.ftpUpload);
  EXPECT_EQ(setup.PriceGroupNames[0], "?????? #1");
  EXPECT_EQ(setup.PriceGroupNames[9], "?????? #10");
  EXPECT_EQ(setup.DesignFormW, 640);
  EXPECT_EQ(setup.DesignFormH, 480);
  EXPECT_TRUE(setup.AutoLoadCurrency);
  for (const std::string& d : {config_.ServerDir, config_.OrdersDir, config_.RecycledDir, config_.ArchiveDir,
                               config_.SelectionDir, config_.ReportDir, config_.ExportDir})
    EXPECT_TRUE(std::filesystem::is_directory(d)) << d;
  EXPECT_FALSE(std::filesystem::exists(config_.RegistryDir));
}

TEST_F(SetupTest, NdsTaxTakesTheDecimalCommaAndDropsSpaces) {
  struct Case { const char* text; float value; };
  for (const Case& c : {Case{"18,5", 18.5f}, Case{"1 8", 18.0f}, Case{"", 0.0f}, Case{"20.25", 20.25f}}) {
    SCOPED_TRACE(c.text);
    WriteIni(std::string("[Tax]\r\nNDSTax=") + c.text + "\r\n");
    TkvfSetup setup;
    ASSERT_TRUE(setup.Load(config_, store_));
    EXPECT_EQ(setup.NDSTax, c.value);
  }
  WriteIni("[Tax]\r\nNDSTax=восемнадцать\r\n[Defaults]\r\nDefProfWidth=abc\r\n");
  TkvfSetup setup;
  EXPECT_THROW(setup.Load(config_, store_), EKvfError);
  WriteIni("[Defaults]\r\nDefProfWidth=abc\r\nDefMaterial=x\r\nDefProfThickness=70,5\r\n");
  ASSERT_TRUE(setup.Load(config_, store_));
  EXPECT_EQ(setup.DefProfWidth, 0.0f);  // the INI's own readers fall back to the default
  EXPECT_EQ(setup.DefMaterial, 1);
  EXPECT_EQ(setup.DefProfThickness, 70.5f);
}

TEST_F(SetupTest, SaveWritesOnlyTheWrittenBackKeysAndKeepsTheRest) {
  WriteIni("[Tax]\r\nNDSTax=18\r\nPriceGrpNo=3\r\n[Report]\r\nLogo=logo.bmp\r\n[Custom]\r\nx=1\r\n");
  TkvfSetup setup;
  ASSERT_TRUE(setup.Load(config_, store_));
  EXPECT_EQ(setup.PriceGrpNo, 3);
  EXPECT_EQ(setup.ReportLogo, "logo.bmp");
  setup.NDSTax = 20.5f;
  setup.PriceGrpNo = 7;           // never written
  setup.TotalNDS = false;         // never written
  setup.UserDefineHeight = false; // never written
  setup.ftpUserName = "ab";
  setup.ftpPassword = "пароль";
  setup.DefProfWidth = 0.1f;
  setup.MainWinState = 2;
  setup.AutoReg = false;
  setup.Save(config_, store_);

  const TIniFile ini(config_.IniFileName);
  EXPECT_EQ(ini.ReadString("Tax", "NDSTax", ""), "20,5");
  EXPECT_EQ(ini.ReadString("Tax", "PriceGrpNo", ""), "3");
  EXPECT_FALSE(ini.ValueExists("Tax", "TotalNDS"));
  EXPECT_FALSE(ini.ValueExists("Tax", "ShowIncludingNDS"));
  EXPECT_FALSE(ini.SectionExists("PriceGroupNames"));
  EXPECT_FALSE(ini.ValueExists("Defaults", "UserDefineHeight"));
  EXPECT_FALSE(ini.ValueExists("Defaults", "DefFurnSysGroup"));
  EXPECT_EQ(ini.ReadString("Report", "Logo", ""), "logo.bmp");
  EXPECT_EQ(ini.ReadString("Custom", "x", ""), "1");
  EXPECT_EQ(ini.ReadString("FTP", "ftpUserName", ""), "6162");
  EXPECT_EQ(ini.ReadString("FTP", "ftpPassword", ""), "EFE0F0EEEBFC");
  EXPECT_EQ(ini.ReadString("Defaults", "DefProfWidth", ""), "0,1");

  TkvfSetup again;
  ASSERT_TRUE(again.Load(config_, TConfigStore(dir_ / "registry.json")));
  EXPECT_EQ(again.NDSTax, 20.5f);
  EXPECT_EQ(again.PriceGrpNo, 3);
  EXPECT_EQ(again.ftpUserName, "ab");
  EXPECT_EQ(again.ftpPassword, "пароль");
  EXPECT_EQ(again.DefProfWidth, 0.1f);
  EXPECT_EQ(again.MainWinState, 2);
  EXPECT_FALSE(again.AutoReg);
}

TEST_F(SetupTest, ConfigStoreTypeErrorKeepsWhatWasReadAndDefaultsTheRest) {
  WriteIni("[Firm]\r\n");
  store_.WriteInteger(kRegRoot, "TechnologMainWinState", 1);
  store_.WriteString(kRegRoot, "TechnologDesignWinState", "bad");
  store_.WriteInteger(kRegRoot, "TechnologDesignFormW", 999);
  TkvfSetup setup;
  ASSERT_TRUE(setup.Load(config_, store_));
  EXPECT_EQ(setup.MainWinState, 1);
  EXPECT_EQ(setup.DesignFormW, 640);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text.rfind("Ошибка чтения из системного реестра!\r\n(", 0), 0u);
}

TEST(PhoneLine, JoinsTheNonEmptyPhonesAfterTheZipCode) {
  TkvfSetup s;
  EXPECT_EQ(s.PhoneLine(), "");
  s.Firm.ZipCode = "495";
  EXPECT_EQ(s.PhoneLine(), "");
  s.Firm.Phone1 = "111-22-33";
  s.Firm.Fax = "444-55-66";
  EXPECT_EQ(s.PhoneLine(), "495 111-22-33,444-55-66");
  s.Firm.Phone1.clear();
  s.Firm.Phone3 = "777";
  EXPECT_EQ(s.PhoneLine(), "495 777,444-55-66");
}

}  // namespace
}  // namespace kvf
