#include "core/setup.h"

#include <charconv>
#include <filesystem>
#include <fmt/format.h>
#include <optional>

#include "core/config_store.h"
#include "core/configuration.h"
#include "core/error.h"
#include "core/ini_file.h"
#include "core/prompts.h"
#include "core/text_utils.h"

namespace kvf {
namespace {

void ForceFolder(const std::string& dir) {
  if (dir.empty()) return;
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) throw EKvfError(fmt::format("Не удается создать папку {}: {}", dir, ec.message()));
}

float ReadIniFloat(const TIniFile& ini, const char* section, const char* key, float def) {
  const auto text = ini.Find(section, key);
  if (!text) return def;
  return IniTextToFloat(*text).value_or(def);
}

}  // namespace

TkvfSetup& Setup() {
  static TkvfSetup setup;
  return setup;
}

std::string FloatToIniText(float value) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  std::string text(buf, r.ptr);
  for (char& c : text)
    if (c == '.') c = ',';
  return text;
}

std::optional<float> IniTextToFloat(std::string_view text) {
  std::string t = RemoveSpaces(text);
  for (char& c : t)
    if (c == ',') c = '.';
  float value = 0;
  const auto r = std::from_chars(t.data(), t.data() + t.size(), value);
  if (r.ec != std::errc() || r.ptr != t.data() + t.size()) return std::nullopt;
  return value;
}

TkvfSetup::TkvfSetup() {
  for (size_t i = 0; i < PriceGroupNames.size(); ++i) PriceGroupNames[i] = fmt::format("?????? #{}", i + 1);
}

bool TkvfSetup::Load(const TkvfConfig& config, const TConfigStore& store) {
  Loaded = false;
  std::error_code ec;
  if (config.IniFileName.empty() || !std::filesystem::exists(config.IniFileName, ec)) return false;
  TWaitGuard wait;
  const TIniFile ini(config.IniFileName);
  auto str = [&](const char* section, const char* key) { return ini.ReadString(section, key, ""); };
  Firm.Name = str("Firm", "Name");
  Firm.Logo = str("Firm", "Logo");
  Firm.Address = str("Firm", "Address");
  Firm.JustAddress = str("Firm", "JustAddress");
  Firm.ZipCode = str("Firm", "ZipCode");
  Firm.Phone1 = str("Firm", "Phone1");
  Firm.Phone2 = str("Firm", "Phone2");
  Firm.Phone3 = str("Firm", "Phone3");
  Firm.Fax = str("Firm", "Fax");
  Firm.EMail = str("Firm", "EMail");
  Firm.Internet = str("Firm", "Internet");
  Firm.INN = str("Firm", "INN");
  Firm.Account = str("Firm", "Account");
  Firm.Director = str("Firm", "Director");
  Firm.BookKeeper = str("Firm", "BookKeeper");
  CurCurrency = ini.ReadInteger("Money", "CurCurrency", 0);
  const std::string nds = ini.ReadString("Tax", "NDSTax", "18");
  const auto ndsValue = IniTextToFloat(nds);
  if (!ndsValue) throw EKvfError(fmt::format("'{}' не является правильным числом [Tax] NDSTax", nds));
  NDSTax = *ndsValue;
  TotalNDS = ini.ReadBool("Tax", "TotalNDS", true);
  ShowIncludingNDS = ini.ReadBool("Tax", "ShowIncludingNDS", true);
  PriceGrpNo = ini.ReadInteger("Tax", "PriceGrpNo", 0);
  for (size_t i = 0; i < PriceGroupNames.size(); ++i)
    PriceGroupNames[i] = ini.ReadString("PriceGroupNames", std::to_string(i + 1), fmt::format("?????? #{}", i + 1));
  DefProfSys = str("Defaults", "DefProfSys");
  DefFurnSys = str("Defaults", "DefFurnSys");
  DefFurnSysGroup = ini.ReadInteger("Defaults", "DefFurnSysGroup", 0);
  DefInnerProfColor = str("Defaults", "DefInnerProfColor");
  DefOuterProfColor = str("Defaults", "DefOuterProfColor");
  DefFurnColor = str("Defaults", "DefFurnColor");
  DefHandle = str("Defaults", "DefHandle");
  DefMaterial = ini.ReadInteger("Defaults", "DefMaterial", 1);
  DefFalzType = ini.ReadInteger("Defaults", "DefFalzType", 0);
  DefDornType = ini.ReadInteger("Defaults", "DefDornType", 0);
  DefStulpFalzType = ini.ReadInteger("Defaults", "DefStulpFalzType", 0);
  DefFlugelType = ini.ReadInteger("Defaults", "DefFlugelType", 0);
  DefProfWidth = ReadIniFloat(ini, "Defaults", "DefProfWidth", 0);
  DefProfThickness = ReadIniFloat(ini, "Defaults", "DefProfThickness", 0);
  ReportLogo = str("Report", "Logo");
  UserDefineHeight = ini.ReadBool("Defaults", "UserDefineHeight", true);
  ftpHost = str("FTP", "ftpHost");
  ftpPort = ini.ReadInteger("FTP", "ftpPort", 21);
  ftpUserName = HexDecode(str("FTP", "ftpUserName"));
  ftpPassword = HexDecode(str("FTP", "ftpPassword"));
  ftpDir = str("FTP", "ftpDir");
  ftpUpload = ini.ReadBool("FTP", "ftpUpload", false);

  try {
    auto integer = [&](const char* name, int def) {
      return store.ReadInt32(kRegRoot, name).value_or(def);
    };
    auto boolean = [&](const char* name, bool def) { return store.ReadBool(kRegRoot, name).value_or(def); };
    MainWinState = integer("TechnologMainWinState", 0);
    OrderWinState = integer("TechnologOrderWinState", 0);
    DesignWinState = integer("TechnologDesignWinState", 0);
    DesignFormW = integer("TechnologDesignFormW", 640);
    DesignFormH = integer("TechnologDesignFormH", 480);
    AlertIfNotFull = boolean("AlertIfNotFull", true);
    AutoReg = boolean("AutoReg", true);
    AutoOpenReg = boolean("AutoOpenReg", true);
    MoveToRecycled = boolean("MoveToRecycled", true);
    AutoLoadCurrency = boolean("AutoLoadCurrency", true);
  } catch (const EKvfError& e) {
    ShowError(fmt::format("Ошибка чтения из системного реестра!\r\n({})", e.what()));
  }

  ForceFolder(config.ServerDir);
  ForceFolder(config.OrdersDir);
  // There is no hidden attribute here: Recycled is an ordinary folder.
  ForceFolder(config.RecycledDir);
  ForceFolder(config.ArchiveDir);
  ForceFolder(config.SelectionDir);
  ForceFolder(config.ReportDir);
  ForceFolder(config.ExportDir);
  Loaded = true;
  return true;
}

void TkvfSetup::Save(const TkvfConfig& config, TConfigStore& store) const {
  TWaitGuard wait;
  try {
    store.WriteInteger(kRegRoot, "TechnologMainWinState", MainWinState);
    store.WriteInteger(kRegRoot, "TechnologOrderWinState", OrderWinState);
    store.WriteInteger(kRegRoot, "TechnologDesignWinState", DesignWinState);
    store.WriteInteger(kRegRoot, "TechnologDesignFormW", DesignFormW);
    store.WriteInteger(kRegRoot, "TechnologDesignFormH", DesignFormH);
    store.WriteBool(kRegRoot, "AlertIfNotFull", AlertIfNotFull);
    store.WriteBool(kRegRoot, "AutoReg", AutoReg);
    store.WriteBool(kRegRoot, "AutoOpenReg", AutoOpenReg);
    store.WriteBool(kRegRoot, "MoveToRecycled", MoveToRecycled);
    store.WriteBool(kRegRoot, "AutoLoadCurrency", AutoLoadCurrency);
    store.Save();
  } catch (const EKvfError& e) {
    ShowError(fmt::format("Ошибка записи в системный реестр!\r\n({})", e.what()));
  }

  TIniFile ini(config.IniFileName);
  ini.WriteString("Firm", "Name", Firm.Name);
  ini.WriteString("Firm", "Logo", Firm.Logo);
  ini.WriteString("Firm", "Address", Firm.Address);
  ini.WriteString("Firm", "JustAddress", Firm.JustAddress);
  ini.WriteString("Firm", "ZipCode", Firm.ZipCode);
  ini.WriteString("Firm", "Phone1", Firm.Phone1);
  ini.WriteString("Firm", "Phone2", Firm.Phone2);
  ini.WriteString("Firm", "Phone3", Firm.Phone3);
  ini.WriteString("Firm", "Fax", Firm.Fax);
  ini.WriteString("Firm", "EMail", Firm.EMail);
  ini.WriteString("Firm", "Internet", Firm.Internet);
  ini.WriteString("Firm", "INN", Firm.INN);
  ini.WriteString("Firm", "Account", Firm.Account);
  ini.WriteString("Firm", "Director", Firm.Director);
  ini.WriteString("Firm", "BookKeeper", Firm.BookKeeper);
  ini.WriteInteger("Money", "CurCurrency", CurCurrency);
  ini.WriteString("Tax", "NDSTax", FloatToIniText(NDSTax));
  ini.WriteString("Defaults", "DefProfSys", DefProfSys);
  ini.WriteString("Defaults", "DefFurnSys", DefFurnSys);
  ini.WriteString("Defaults", "DefInnerProfColor", DefInnerProfColor);
  ini.WriteString("Defaults", "DefOuterProfColor", DefOuterProfColor);
  ini.WriteString("Defaults", "DefFurnColor", DefFurnColor);
  ini.WriteString("Defaults", "DefHandle", DefHandle);
  ini.WriteInteger("Defaults", "DefMaterial", DefMaterial);
  ini.WriteInteger("Defaults", "DefFalzType", DefFalzType);
  ini.WriteInteger("Defaults", "DefDornType", DefDornType);
  ini.WriteInteger("Defaults", "DefStulpFalzType", DefStulpFalzType);
  ini.WriteInteger("Defaults", "DefFlugelType", DefFlugelType);
  ini.WriteString("Defaults", "DefProfWidth", FloatToIniText(DefProfWidth));
  ini.WriteString("Defaults", "DefProfThickness", FloatToIniText(DefProfThickness));
  ini.WriteString("FTP", "ftpHost", ftpHost);
  ini.WriteInteger("FTP", "ftpPort", ftpPort);
  ini.WriteString("FTP", "ftpUserName", HexEncode(ftpUserName));
  ini.WriteString("FTP", "ftpPassword", HexEncode(ftpPassword));
  ini.WriteString("FTP", "ftpDir", ftpDir);
  ini.WriteBool("FTP", "ftpUpload", ftpUpload);
  ini.Save();
}

std::string TkvfSetup::PhoneLine() const {
  std::string line;
  for (const std::string* phone : {&Firm.Phone1, &Firm.Phone2, &Firm.Phone3, &Firm.Fax}) {
    if (phone->empty()) continue;
    line += line.empty() ? Firm.ZipCode + " " + *phone : "," + *phone;
  }
  return line;
}

}  // namespace kvf
