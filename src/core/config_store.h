#pragma once
// The config store takes the place of the Windows registry of the current user:
// keys named by paths ("SoftWare\Dalnor\Korvane\Redavezur380"), compared without
// regard to case, holding named string, integer and date-time values. It is one
// JSON file, by default $XDG_CONFIG_HOME/korvane/registry.json, written whole
// and atomically by Save(). A file that does not parse is reported with its
// path and is never overwritten.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.h"

namespace kvf {

enum class TConfigValueType { String, Integer, DateTime };

struct TConfigValue {
  TConfigValueType type = TConfigValueType::String;
  std::string text;
  int64_t integer = 0;
  double date = 0;
};

class TConfigStore {
 public:
  // Loads `file`; a missing file is an empty store. A damaged one raises EKvfError.
  explicit TConfigStore(std::filesystem::path file);
  // $XDG_CONFIG_HOME/korvane/registry.json, or ~/.config/korvane/registry.json.
  static std::filesystem::path DefaultPath();

  const std::filesystem::path& File() const { return file_; }

  bool KeyExists(std::string_view key) const;  // also when only subkeys are stored
  void CreateKey(std::string_view key);
  // Direct subkey names, in the order the registry lists them (case-insensitive).
  std::vector<std::string> GetKeyNames(std::string_view key) const;
  bool DeleteKey(std::string_view key);  // with all its subkeys

  bool ValueExists(std::string_view key, std::string_view name) const;
  std::vector<std::string> GetValueNames(std::string_view key) const;
  const TConfigValue* FindValue(std::string_view key, std::string_view name) const;
  // nullopt when missing; a value of another type raises EKvfError.
  std::optional<std::string> ReadString(std::string_view key, std::string_view name) const;
  std::optional<int64_t> ReadInteger(std::string_view key, std::string_view name) const;
  std::optional<bool> ReadBool(std::string_view key, std::string_view name) const;
  std::optional<TDateTime> ReadDateTime(std::string_view key, std::string_view name) const;

  // Writing creates the key when it is missing.
  void WriteString(std::string_view key, std::string_view name, std::string_view value);
  void WriteInteger(std::string_view key, std::string_view name, int64_t value);
  void WriteBool(std::string_view key, std::string_view name, bool value);
  void WriteDateTime(std::string_view key, std::string_view name, TDateTime value);
  bool DeleteValue(std::string_view key, std::string_view name);

  // Writes the whole store atomically, creating its folder. Raises EKvfError.
  void Save() const;

 private:
  struct TKey {
    std::string path;                              // with the case it was created with
    std::map<std::string, std::string> valueCase;  // upper-cased name -> name as written
    std::map<std::string, TConfigValue> values;    // by upper-cased name
  };
  const TKey* Find(std::string_view key) const;
  TKey& Ensure(std::string_view key);
  void Put(std::string_view key, std::string_view name, TConfigValue value);

  std::filesystem::path file_;
  std::map<std::string, TKey> keys_;  // by upper-cased normalised path
};

// Trims surrounding backslashes: "\SoftWare\X\" -> "SoftWare\X".
std::string NormalizeKeyPath(std::string_view key);

}  // namespace kvf
