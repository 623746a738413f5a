#pragma once
// The config store takes the place of the Windows registry of the current user:
// keys named by paths ("SoftWare\Dalnor\Korvane\Redavezur380") holding named
// string, integer and date-time values. It is one JSON file, by default
// $XDG_CONFIG_HOME/korvane/registry.json, written whole and atomically by Save().
// A file that does not parse is reported with its path and is never overwritten.
//
// Names keep their case: "Demo" and "DEMO" are two keys. A read (and KeyExists)
// that finds no key or value of the exact name takes the one name that differs
// only in case, as the registry would; writes and deletes use the exact name.
//
// Several programs may use the file at once. Save() takes a lock on the store's
// folder, reads the file as it is now, applies the changes this object made since
// it was loaded (and nothing else), and writes it back: a concurrent writer's
// changes and members this version does not know are kept.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

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
  // An integer that a 32-bit setting can hold; another raises EKvfError naming it.
  std::optional<int32_t> ReadInt32(std::string_view key, std::string_view name) const;
  std::optional<bool> ReadBool(std::string_view key, std::string_view name) const;
  std::optional<TDateTime> ReadDateTime(std::string_view key, std::string_view name) const;

  // Writing creates the key when it is missing.
  void WriteString(std::string_view key, std::string_view name, std::string_view value);
  void WriteInteger(std::string_view key, std::string_view name, int64_t value);
  void WriteBool(std::string_view key, std::string_view name, bool value);
  void WriteDateTime(std::string_view key, std::string_view name, TDateTime value);
  bool DeleteValue(std::string_view key, std::string_view name);

  // Merges this object's changes into the file as described above, creating its
  // folder. Raises EKvfError (also when the file became damaged meanwhile).
  void Save();

 private:
  struct TStoredValue {
    TConfigValue value;
    nlohmann::json extra;  // members of the value's object other than type and value
  };
  using TKey = std::map<std::string, TStoredValue>;  // by exact value name
  struct TChange {
    enum class TKind { Put, DeleteValue, CreateKey, DeleteKey } kind;
    std::string key, name;
    TConfigValue value;
  };
  const TKey* Find(std::string_view key) const;
  void Apply(const TChange& change);
  void Change(TChange change);
  void LoadFile();

  std::filesystem::path file_;
  std::map<std::string, TKey> keys_;  // by exact normalised path
  nlohmann::json extra_;              // members of the file other than format and keys
  std::vector<TChange> changes_;      // since the last load
};

// Trims surrounding backslashes: "\SoftWare\X\" -> "SoftWare\X".
std::string NormalizeKeyPath(std::string_view key);

}  // namespace kvf
