#include "core/configuration.h"

#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/config_store.h"
#include "core/cp1251.h"
#include "core/error.h"
#include "core/prompts.h"
#include "core/text_utils.h"

namespace kvf {
namespace fs = std::filesystem;

TkvfConfig& Config() {
  static TkvfConfig config;
  return config;
}

std::pair<bool, int> FindSwitch(const std::vector<std::string>& args, std::string_view sw) {
  const std::string wanted = AnsiUpperCase(sw);
  for (size_t i = 1; i < args.size(); ++i)
    if (AnsiUpperCase(args[i]) == wanted) return {true, static_cast<int>(i)};
  return {false, -1};
}

std::string NormalizeDir(std::string_view text) {
  std::string dir = Trim(text);
  if (dir.size() > 1 && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
  return dir;
}

void DeriveFolders(TkvfConfig& c) {
  c.IniFileName = c.CatalogDir + "/KVFurniture.ini";
  c.OrdersDir = c.ServerDir + "/Orders";
  c.SelectionDir = c.ServerDir + "/Selection";
  c.RecycledDir = c.ServerDir + "/Recycled";
  c.ArchiveDir = c.ServerDir + "/Archive";
  c.RegistryDir = c.ServerDir + "/Registry";
  c.ExportDir = c.ServerDir + "/Export";
}

std::string ProgramDir() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path().string() : exe.parent_path().string();
}

TChooseConfigResult ChooseConfig(const TConfigStore& store, const TConfigChooser& chooser) {
  TChooseConfigResult result;
  std::vector<std::string> names;
  std::string defaultName;
  if (store.KeyExists(kConfigListKey)) {
    names = store.GetKeyNames(kConfigListKey);
    if (auto d = store.ReadString(kConfigListKey, "DefaultConfig")) defaultName = *d;
  }
  result.listEmpty = names.empty();
  if (names.empty()) return result;
  int selected = 0;
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == defaultName) {
      selected = static_cast<int>(i);
      break;
    }
  if (auto chosen = chooser(names, selected)) {
    result.ok = true;
    result.name = *chosen;
  }
  return result;
}

bool SelectConfiguration(TkvfConfig& config, const TConfigStore& store, const TConfigChooser& chooser,
                         const std::string& programDir, const std::function<int()>& random) {
  config.CatalogDir.clear();
  config.ServerDir.clear();
  config.ReportDir.clear();
  config.TempDir.clear();
  config.LastTempDir.clear();
  config.ExportDir = "/Export";
  TChooseConfigResult choice;
  try {
    choice = ChooseConfig(store, chooser);
  } catch (const EKvfError& e) {
    ShowError(fmt::format("Ошибка чтения системного реестра!\r\n({})", e.what()));
    return false;
  }
  if (!choice.ok && !choice.listEmpty) return false;
  if (choice.listEmpty || choice.name.empty()) {
    ShowError("В системе не установлены пути доступа к базам данных!\r\nИнсталлируйте заново программу!");
    return false;
  }
  const std::string key = std::string(kConfigListKey) + "\\" + choice.name;
  if (!store.KeyExists(key)) {
    ShowError(fmt::format("Ошибка открытия конфигурации {}!\r\nУказанная конфигурация не числиться в списке.",
                          choice.name));
    return false;
  }
  try {
    auto read = [&](const char* name) { return NormalizeDir(store.ReadString(key, name).value_or("")); };
    config.CatalogDir = read("KVFCatalogDir");
    config.ServerDir = read("KVFServerName");
    config.ReportDir = read("KVFReportDir");
    const std::string tempBase = read("KVFTempDir");
    DeriveFolders(config);
    config.TempDir = fmt::format("{}/{}", tempBase.empty() ? programDir : tempBase, random() % 1000000);
    std::error_code ec;
    fs::create_directories(config.TempDir, ec);
    if (ec) throw EKvfError(fmt::format("Не удается создать папку {}: {}", config.TempDir, ec.message()));
    config.LastTempDir = config.TempDir;
    config.ConfigName = choice.name;
    return true;
  } catch (const EKvfError& e) {
    ShowError(fmt::format("Ошибка чтения системного реестра!\r\n({})", e.what()));
    return false;
  }
}

bool DeleteDirTree(const fs::path& folder) {
  bool ok = true;
  ::chmod(folder.c_str(), S_IRWXU);  // a read-only folder keeps its entries otherwise
  std::error_code ec;
  fs::directory_iterator it(folder, ec), end;
  if (ec) ok = false;
  for (; !ec && it != end; it.increment(ec)) {
    const fs::path entry = it->path();
    struct stat st {};
    const bool isDir = ::lstat(entry.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    if (isDir) {
      if (ok) ok = DeleteDirTree(entry);
    } else if (::unlink(entry.c_str()) != 0) {
      ok = false;
    }
  }
  if (ec) ok = false;
  if (::rmdir(folder.c_str()) != 0) ok = false;
  return ok;
}

std::string ReadLastTempDir(const TConfigStore& store) {
  return store.ReadString(kConfigListKey, "KVFLastTempDir").value_or("");
}

void WriteLastTempDir(TConfigStore& store, const std::string& dir) {
  store.WriteString(kConfigListKey, "KVFLastTempDir", dir);
  store.Save();
}

fs::path LastCurrencyUpdateFile(const std::string& folder, const std::string& programDir) {
  return fs::path(folder.empty() ? programDir : folder) / "Korvane.lcu";
}

TDateTime ReadLastCurrencyUpdate(const std::string& folder, const std::string& programDir) {
  const TDateTime yesterday = Today() - 1;
  const fs::path file = LastCurrencyUpdateFile(folder, programDir);
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return yesterday;
  unsigned char bytes[8];
  const ssize_t n = ::read(fd, bytes, sizeof bytes);
  ::close(fd);
  if (n != static_cast<ssize_t>(sizeof bytes)) return yesterday;
  double date;
  std::memcpy(&date, bytes, sizeof date);
  if (!std::isfinite(date) || date < -693593 || date > 2958466) return yesterday;
  return date;
}

void WriteLastCurrencyUpdate(const std::string& folder, const std::string& programDir, TDateTime date) {
  const fs::path file = LastCurrencyUpdateFile(folder, programDir);
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  const ssize_t written = ::write(fd, &date, sizeof date);
  (void)written;
  ::close(fd);
}

}  // namespace kvf

#include "core/setup.h"

namespace kvf {

bool StartConfiguration(TkvfConfig& config, const std::vector<std::string>& args, const TConfigStore& store,
                        const TConfigChooser& chooser, const std::string& programDir,
                        const std::function<int()>& random) {
  config.DeveloperMode = FindSwitch(args, "/developer").first;
  config.ShowPresentation = !FindSwitch(args, "/nopresentation").first;
  config.LastTempDir.clear();
  try {
    config.LastTempDir = ReadLastTempDir(store);
  } catch (const EKvfError& e) {
    ShowError(e.what());
  }
  std::error_code ec;
  if (!config.LastTempDir.empty() && fs::is_directory(config.LastTempDir, ec)) DeleteDirTree(config.LastTempDir);
  return SelectConfiguration(config, store, chooser, programDir, random);
}

void FinishConfiguration(const TkvfConfig& config, TConfigStore& store) {
  TWaitGuard wait;
  try {
    WriteLastTempDir(store, config.LastTempDir);
  } catch (const EKvfError& e) {
    ShowError(e.what());
  }
}

std::vector<int> StartUpMessages(const TkvfConfig& config, const TkvfSetup& setup, const std::string& programDir,
                                 TDateTime today) {
  std::vector<int> messages;
  if (setup.AutoOpenReg) messages.push_back(UM_OPENORDERLIST);
  if (config.ShowPresentation) messages.push_back(UM_PRESENTATION);
  if (setup.AutoLoadCurrency && today > ReadLastCurrencyUpdate(config.ServerDir, programDir))
    messages.push_back(UM_CURRENCYRATES);
  return messages;
}

}  // namespace kvf
