// kvf config: the installation step that keeps the configurations (named sets
// of catalog, server, report and temporary folders) in the config store.
#include <cstdio>
#include <filesystem>
#include <fmt/format.h>

#include "cli/command.h"
#include "core/config_store.h"
#include "core/configuration.h"
#include "core/error.h"

namespace kvf::cli {
namespace {

constexpr const char* kFolderValues[] = {"KVFCatalogDir", "KVFServerName", "KVFReportDir", "KVFTempDir"};

std::string ConfigKey(const std::string& name) { return std::string(kConfigListKey) + "\\" + name; }

std::string Absolute(const std::string& dir) {
  if (dir.empty()) return dir;
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::absolute(dir, ec);
  return ec ? dir : p.lexically_normal().string();
}

// The exact name stored in the list, or nullopt.
std::optional<std::string> FindConfig(const TConfigStore& store, const std::string& name) {
  for (const std::string& n : store.GetKeyNames(kConfigListKey))
    if (n == name) return n;
  return std::nullopt;
}

int List(TConfigStore& store) {
  const std::string def = store.ReadString(kConfigListKey, "DefaultConfig").value_or("");
  const auto names = store.GetKeyNames(kConfigListKey);
  if (names.empty()) {
    std::fprintf(stderr, "Конфигурации не установлены (%s)\n", store.File().c_str());
    return 0;
  }
  for (const std::string& name : names) {
    std::printf("%s %s\n", name == def ? "*" : " ", name.c_str());
    for (const char* value : kFolderValues)
      std::printf("    %-14s %s\n", value, store.ReadString(ConfigKey(name), value).value_or("").c_str());
  }
  return 0;
}

int Add(TConfigStore& store, const TArgs& args) {
  args.ExpectPositional(1, 1, "kvf config add NAME --catalog DIR --server DIR --report DIR [--temp DIR] [--default] [--force]");
  const std::string& name = args.Positional()[0];
  if (name.empty() || name.find('\\') != std::string::npos)
    throw TUsageError("имя конфигурации не может быть пустым или содержать \"\\\"");
  const auto catalog = args.Value("catalog"), server = args.Value("server"), report = args.Value("report");
  if (!catalog || !server || !report) throw TUsageError("kvf config add: нужны --catalog, --server и --report");
  if (FindConfig(store, name) && !args.Flag("force"))
    throw EKvfError(fmt::format("Конфигурация {} уже существует (--force заменяет её)", name));
  store.DeleteKey(ConfigKey(name));
  const std::string values[] = {Absolute(*catalog), Absolute(*server), Absolute(*report),
                                Absolute(args.Value("temp").value_or(""))};
  for (size_t i = 0; i < 4; ++i) store.WriteString(ConfigKey(name), kFolderValues[i], values[i]);
  const bool noDefault = store.ReadString(kConfigListKey, "DefaultConfig").value_or("").empty();
  if (args.Flag("default") || noDefault) store.WriteString(kConfigListKey, "DefaultConfig", name);
  store.Save();
  std::fprintf(stderr, "Конфигурация %s записана в %s\n", name.c_str(), store.File().c_str());
  return 0;
}

int Remove(TConfigStore& store, const TArgs& args) {
  args.ExpectPositional(1, 1, "kvf config remove NAME");
  const std::string& name = args.Positional()[0];
  if (!FindConfig(store, name)) throw EKvfError(fmt::format("Конфигурация {} не найдена", name));
  store.DeleteKey(ConfigKey(name));
  if (store.ReadString(kConfigListKey, "DefaultConfig").value_or("") == name)
    store.DeleteValue(kConfigListKey, "DefaultConfig");
  store.Save();
  return 0;
}

int Default(TConfigStore& store, const TArgs& args) {
  args.ExpectPositional(1, 1, "kvf config default NAME");
  const std::string& name = args.Positional()[0];
  if (!FindConfig(store, name)) throw EKvfError(fmt::format("Конфигурация {} не найдена", name));
  store.WriteString(kConfigListKey, "DefaultConfig", name);
  store.Save();
  return 0;
}

}  // namespace

int RunConfig(const std::vector<std::string>& argv) {
  if (argv.empty()) throw TUsageError("использование: kvf config list | add | remove | default");
  const std::string& verb = argv[0];
  const TArgs args({argv.begin() + 1, argv.end()}, {"catalog", "server", "report", "temp"}, {"default", "force"});
  TConfigStore store(TConfigStore::DefaultPath());
  if (verb == "list") {
    args.ExpectPositional(0, 0, "kvf config list");
    return List(store);
  }
  if (verb == "add") return Add(store, args);
  if (verb == "remove") return Remove(store, args);
  if (verb == "default") return Default(store, args);
  throw TUsageError("неизвестная команда: kvf config " + verb);
}

}  // namespace kvf::cli
