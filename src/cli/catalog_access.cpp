#include "cli/catalog_access.h"

#include <filesystem>
#include <fmt/format.h>

#include "core/config_store.h"
#include "core/error.h"
#include "core/ini_file.h"
#include "core/setup.h"

namespace kvf::cli {

TOpenedCatalog OpenCatalog(const TArgs& args) {
  TOpenedCatalog opened;
  TkvfConfig& config = opened.config;
  if (args.Value("catalog") && args.Value("config"))
    throw TUsageError("--catalog и --config вместе не задаются: каталог берется либо из папки, либо из конфигурации");
  if (const auto dir = args.Value("catalog")) {
    config.CatalogDir = NormalizeDir(*dir);
    config.IniFileName = config.CatalogDir + "/KVFurniture.ini";
  } else {
    const TConfigStore store(TConfigStore::DefaultPath());
    std::string name = args.Value("config").value_or("");
    if (name.empty()) name = store.ReadString(kConfigListKey, "DefaultConfig").value_or("");
    if (name.empty()) throw TUsageError("укажите --catalog ПАПКА или --config ИМЯ (конфигурация по умолчанию не задана)");
    const std::string key = std::string(kConfigListKey) + "\\" + name;
    if (!store.KeyExists(key))
      throw EKvfError(fmt::format("Ошибка открытия конфигурации {}!\r\nУказанная конфигурация не числиться в списке.", name));
    config.ConfigName = name;
    config.CatalogDir = NormalizeDir(store.ReadString(key, "KVFCatalogDir").value_or(""));
    config.ServerDir = NormalizeDir(store.ReadString(key, "KVFServerName").value_or(""));
    config.ReportDir = NormalizeDir(store.ReadString(key, "KVFReportDir").value_or(""));
    DeriveFolders(config);
  }
  opened.dm = std::make_unique<TDM>();
  opened.dm->ConnectDatabase("KMDB_Catalog", config.CatalogDir);
  if (opened.dm->OpenTables() == 0) throw EKvfError(fmt::format("Каталог {} не открыт", config.CatalogDir));
  SetDM(opened.dm.get());
  std::error_code ec;
  if (std::filesystem::exists(config.IniFileName, ec)) {
    // Only the INI part: kvf creates no data folders.
    const TIniFile ini(config.IniFileName);
    TkvfSetup& setup = Setup();
    setup.CurCurrency = ini.ReadInteger("Money", "CurCurrency", setup.CurCurrency);
    setup.DefMaterial = ini.ReadInteger("Defaults", "DefMaterial", setup.DefMaterial);
    if (const auto nds = IniTextToFloat(ini.ReadString("Tax", "NDSTax", "18"))) setup.NDSTax = *nds;
    setup.PriceGrpNo = ini.ReadInteger("Tax", "PriceGrpNo", setup.PriceGrpNo);
    setup.TotalNDS = ini.ReadBool("Tax", "TotalNDS", setup.TotalNDS);
    setup.ShowIncludingNDS = ini.ReadBool("Tax", "ShowIncludingNDS", setup.ShowIncludingNDS);
  }
  return opened;
}

}  // namespace kvf::cli
