#pragma once
// The run's configuration: which named set of folders (catalog, server, reports,
// temporary files) the program works with, and every folder derived from it.
// Filled once at start-up and read-only afterwards.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.h"

namespace kvf {

class TConfigStore;

inline constexpr const char* kRegRoot = "SoftWare\\Dalnor\\Korvane\\Redavezur380";
inline constexpr const char* kConfigListKey = "SoftWare\\Dalnor\\Korvane\\Redavezur380\\DBConfig\\TBM";

struct TkvfConfig {
  std::string ConfigName;
  std::string CatalogDir;
  std::string ServerDir;
  std::string ReportDir;
  std::string TempDir;
  std::string LastTempDir;
  std::string IniFileName;
  std::string OrdersDir;
  std::string SelectionDir;
  std::string RecycledDir;
  std::string ArchiveDir;
  std::string RegistryDir;
  std::string ExportDir;
  bool DeveloperMode = false;
  bool ShowPresentation = true;
};

// The process-wide configuration.
TkvfConfig& Config();

// True and the 1-based index when one of args[1..] equals `sw` after both are
// upper-cased; the first match wins; (false, -1) otherwise.
std::pair<bool, int> FindSwitch(const std::vector<std::string>& args, std::string_view sw);
// Trims blanks and control characters; removes one trailing "/" or "\".
std::string NormalizeDir(std::string_view text);
// Sets IniFileName, OrdersDir, ... from CatalogDir and ServerDir.
void DeriveFolders(TkvfConfig& config);
// The folder of the running program.
std::string ProgramDir();

// The configuration choice dialog: gets the names and the preselected index;
// returns the chosen name, nullopt when cancelled.
using TConfigChooser =
    std::function<std::optional<std::string>(const std::vector<std::string>& names, int selected)>;

struct TChooseConfigResult {
  bool ok = false;
  std::string name;
  bool listEmpty = true;
};
TChooseConfigResult ChooseConfig(const TConfigStore& store, const TConfigChooser& chooser);

// Reads the chosen configuration into `config`, creates the run's temporary
// folder (base folder + "/" + a random number 0..999999) and sets LastTempDir
// to it. Shows the error and returns false on any failure; false without a
// message when the user cancelled.
bool SelectConfiguration(TkvfConfig& config, const TConfigStore& store, const TConfigChooser& chooser,
                         const std::string& programDir, const std::function<int()>& random);

// Removes the folder with everything in it (read-only entries too; links are
// removed, never followed). True only when every deletion succeeded; after a
// failure no further subfolder is descended into, but files and the folder
// itself are still tried.
bool DeleteDirTree(const std::filesystem::path& folder);

std::string ReadLastTempDir(const TConfigStore& store);
void WriteLastTempDir(TConfigStore& store, const std::string& dir);

// Korvane.lcu: 8 bytes, a little-endian double holding the date of the last
// confirmed currency rates. Reading gives yesterday when the file is missing,
// unreadable, short or holds no sensible date; writing ignores failures.
std::filesystem::path LastCurrencyUpdateFile(const std::string& folder, const std::string& programDir);
TDateTime ReadLastCurrencyUpdate(const std::string& folder, const std::string& programDir);
void WriteLastCurrencyUpdate(const std::string& folder, const std::string& programDir, TDateTime date);

}  // namespace kvf

namespace kvf {

class TkvfSetup;

// Posted window messages of the deferred start-up and document actions.
inline constexpr int UM_INITDOCUMENT = 1424;
inline constexpr int UM_OPENORDERLIST = 1426;
inline constexpr int UM_RECALC = 1429;
inline constexpr int UM_CURRENCYRATES = 1430;
inline constexpr int UM_ADDREGORDERS = 1431;
inline constexpr int UM_OPENREGORDER = 1433;
inline constexpr int UM_PRESENTATION = 1523;

// Start-up up to the chosen configuration: sets DeveloperMode and
// ShowPresentation from the switches, reads LastTempDir (a store failure is
// shown with its own text), removes the previous run's temporary folder
// (ignoring failures) and selects the configuration. False: end the program.
bool StartConfiguration(TkvfConfig& config, const std::vector<std::string>& args, const TConfigStore& store,
                        const TConfigChooser& chooser, const std::string& programDir,
                        const std::function<int()>& random);
// At the end of the run: LastTempDir back into the store (a failure is shown).
void FinishConfiguration(const TkvfConfig& config, TConfigStore& store);

// The messages start-up posts to the main window once it is on screen, in order.
std::vector<int> StartUpMessages(const TkvfConfig& config, const TkvfSetup& setup, const std::string& programDir,
                                 TDateTime today);

}  // namespace kvf
