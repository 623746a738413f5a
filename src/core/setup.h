#pragma once
// TkvfSetup: the one settings object. Firm requisites and catalog-related
// defaults live in KVFurniture.ini in the catalog folder; user preferences and
// window states in the config store under kRegRoot. Nothing is written before
// Save(), which the program calls once at the end of the run.
#include <array>
#include <optional>
#include <string_view>
#include <string>

#include "core/currency_rates.h"

namespace kvf {

class TConfigStore;
struct TkvfConfig;

struct TFirmInfo {
  std::string Name, Logo, Address, JustAddress, ZipCode, Phone1, Phone2, Phone3, Fax, EMail,
      Internet, INN, Account, Director, BookKeeper;
};

class TkvfSetup {
 public:
  // INI file
  TFirmInfo Firm;
  int CurCurrency = 0;
  float NDSTax = 18;
  bool TotalNDS = true;
  bool ShowIncludingNDS = true;
  int PriceGrpNo = 0;
  std::array<std::string, 10> PriceGroupNames;
  std::string DefProfSys, DefFurnSys;
  int DefFurnSysGroup = 0;
  std::string DefInnerProfColor, DefOuterProfColor, DefFurnColor, DefHandle;
  int DefMaterial = 1;
  int DefFalzType = 0, DefDornType = 0, DefStulpFalzType = 0, DefFlugelType = 0;
  float DefProfWidth = 0, DefProfThickness = 0;
  bool UserDefineHeight = true;
  std::string ReportLogo;
  std::string ftpHost;
  int ftpPort = 21;
  std::string ftpUserName, ftpPassword, ftpDir;
  bool ftpUpload = false;

  // config store
  int MainWinState = 0, OrderWinState = 0, DesignWinState = 0;
  int DesignFormW = 640, DesignFormH = 480;
  bool AlertIfNotFull = true, AutoReg = true, AutoOpenReg = true, MoveToRecycled = true,
       AutoLoadCurrency = true;

  // run time, never stored
  bool Loaded = false;
  bool DebugMode = false;
  int CurrentCurrency = 0;
  float CurrentNDS = 0;
  const TkvfCurrencyRates* CurrentRates = nullptr;  // the active document's, not owned

  TkvfSetup();  // defaults only; Load reads

  // False (nothing read) when the configuration has no INI file name or the file
  // does not exist. Otherwise reads the INI file and the config store and creates
  // the missing data folders. A non-numeric NDSTax raises EKvfError; a config
  // store failure is shown ("Ошибка чтения из системного реестра!...") and the
  // rest keep their defaults.
  bool Load(const TkvfConfig& config, const TConfigStore& store);
  // Writes the config store values (a failure is shown), then the INI keys that
  // are written back; every other line of the INI file stays as it was.
  void Save(const TkvfConfig& config, TConfigStore& store) const;
  // The firm's phone line of the reports: ZipCode + " " + the first non-empty
  // phone, then "," + each further one (Phone1..3, Fax).
  std::string PhoneLine() const;
};

// The process-wide settings object (created by start-up).
TkvfSetup& Setup();

// Text of a 4-byte float with the decimal comma, shortest that reads back.
std::string FloatToIniText(float value);
// "18,5", "18.5" and "1 8" (spaces removed; empty reads as 0). nullopt when not a number.
std::optional<float> IniTextToFloat(std::string_view text);

}  // namespace kvf
