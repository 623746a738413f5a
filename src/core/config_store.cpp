#include "core/config_store.h"

#include <algorithm>
#include <cstdlib>
#include <fmt/format.h>

#include "core/cp1251.h"
#include "core/error.h"
#include "core/file_io.h"
#include "core/temp_files.h"

namespace kvf {
namespace {

using nlohmann::json;

constexpr const char* kFormat = "korvane-config-store 1";

const char* TypeName(TConfigValueType t) {
  switch (t) {
    case TConfigValueType::String: return "string";
    case TConfigValueType::Integer: return "integer";
    case TConfigValueType::DateTime: return "datetime";
  }
  return "string";
}

[[noreturn]] void WrongType(std::string_view key, std::string_view name) {
  throw EKvfError(fmt::format("Неверный тип данных для '{}' в разделе {}", name, key));
}

// The entry of `map` named `name`, or else the only one whose name differs in case alone.
template <typename Map>
auto FindName(Map& map, const std::string& name) -> decltype(&map.begin()->second) {
  const auto exact = map.find(name);
  if (exact != map.end()) return &exact->second;
  decltype(&map.begin()->second) found = nullptr;
  for (auto& [n, v] : map) {
    if (!SameTextI(n, name)) continue;
    if (found) return nullptr;  // ambiguous
    found = &v;
  }
  return found;
}

bool IsInside(const std::string& path, const std::string& key) {
  return path == key || (path.size() > key.size() && path.compare(0, key.size(), key) == 0 && path[key.size()] == '\\');
}

TConfigValue ParseValue(const std::string& name, const json& v, json& extra) {
  if (!v.is_object() || !v.contains("type") || !v.contains("value") || !v.at("type").is_string())
    throw std::runtime_error(fmt::format("значение {}: нет типа или значения", name));
  TConfigValue value;
  const std::string type = v.at("type").get<std::string>();
  const json& raw = v.at("value");
  if (type == "string" && raw.is_string()) {
    value.type = TConfigValueType::String;
    value.text = raw.get<std::string>();
  } else if (type == "integer" && raw.is_number_integer() &&
             !(raw.is_number_unsigned() && raw.get<uint64_t>() > static_cast<uint64_t>(INT64_MAX))) {
    value.type = TConfigValueType::Integer;
    value.integer = raw.get<int64_t>();
  } else if (type == "datetime" && raw.is_number()) {
    value.type = TConfigValueType::DateTime;
    value.date = raw.get<double>();
  } else {
    throw std::runtime_error(fmt::format("значение {}: неверное значение {} типа {}", name, raw.dump(), type));
  }
  extra = v;
  extra.erase("type");
  extra.erase("value");
  return value;
}

}  // namespace

std::string NormalizeKeyPath(std::string_view key) {
  while (!key.empty() && key.front() == '\\') key.remove_prefix(1);
  while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
  return std::string(key);
}

std::filesystem::path TConfigStore::DefaultPath() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::filesystem::path base;
  if (xdg && *xdg) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::filesystem::path(home && *home ? home : ".") / ".config";
  }
  return base / "korvane" / "registry.json";
}

TConfigStore::TConfigStore(std::filesystem::path file) : file_(std::move(file)) { LoadFile(); }

void TConfigStore::LoadFile() {
  keys_.clear();
  extra_ = json::object();
  std::error_code ec;
  if (!std::filesystem::exists(file_, ec)) return;
  const std::string text = ReadWholeFile(file_);
  try {
    json doc = json::parse(text, nullptr, true, false);
    if (!doc.is_object() || !doc.contains("format") || doc.at("format") != kFormat || !doc.contains("keys") ||
        !doc.at("keys").is_object())
      throw std::runtime_error("неизвестный формат");
    for (const auto& [path, values] : doc.at("keys").items()) {
      if (!values.is_object()) throw std::runtime_error(fmt::format("раздел {} не является объектом", path));
      TKey& key = keys_[NormalizeKeyPath(path)];
      for (const auto& [name, v] : values.items()) {
        TStoredValue stored;
        stored.value = ParseValue(name, v, stored.extra);
        key[name] = std::move(stored);
      }
    }
    doc.erase("format");
    doc.erase("keys");
    extra_ = std::move(doc);
  } catch (const std::exception& e) {
    keys_.clear();
    throw EKvfError(fmt::format("Файл настроек {} поврежден и не будет перезаписан: {}", file_.string(), e.what()));
  }
}

const TConfigStore::TKey* TConfigStore::Find(std::string_view key) const {
  return FindName(keys_, NormalizeKeyPath(key));
}

bool TConfigStore::KeyExists(std::string_view key) const {
  const std::string path = NormalizeKeyPath(key);
  if (path.empty() || Find(path)) return true;
  for (const auto& [p, k] : keys_)
    if (p.size() > path.size() && p[path.size()] == '\\' && SameTextI(std::string_view(p).substr(0, path.size()), path))
      return true;
  return false;
}

std::vector<std::string> TConfigStore::GetKeyNames(std::string_view key) const {
  const std::string base = NormalizeKeyPath(key);
  std::vector<std::string> names;
  for (const auto& [path, k] : keys_) {
    std::string rest;
    if (base.empty()) {
      rest = path;
    } else if (path.size() > base.size() + 1 && path[base.size()] == '\\' &&
               SameTextI(std::string_view(path).substr(0, base.size()), base)) {
      rest = path.substr(base.size() + 1);
    } else {
      continue;
    }
    const std::string child = rest.substr(0, rest.find('\\'));
    if (!child.empty() && std::find(names.begin(), names.end(), child) == names.end()) names.push_back(child);
  }
  std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return AnsiUpperCase(a) < AnsiUpperCase(b);
  });
  return names;
}

bool TConfigStore::ValueExists(std::string_view key, std::string_view name) const {
  return FindValue(key, name) != nullptr;
}

std::vector<std::string> TConfigStore::GetValueNames(std::string_view key) const {
  std::vector<std::string> names;
  if (const TKey* k = Find(key))
    for (const auto& [name, v] : *k) names.push_back(name);
  return names;
}

const TConfigValue* TConfigStore::FindValue(std::string_view key, std::string_view name) const {
  const TKey* k = Find(key);
  if (!k) return nullptr;
  const TStoredValue* v = FindName(*k, std::string(name));
  return v ? &v->value : nullptr;
}

std::optional<std::string> TConfigStore::ReadString(std::string_view key, std::string_view name) const {
  const TConfigValue* v = FindValue(key, name);
  if (!v) return std::nullopt;
  if (v->type != TConfigValueType::String) WrongType(key, name);
  return v->text;
}

std::optional<int64_t> TConfigStore::ReadInteger(std::string_view key, std::string_view name) const {
  const TConfigValue* v = FindValue(key, name);
  if (!v) return std::nullopt;
  if (v->type != TConfigValueType::Integer) WrongType(key, name);
  return v->integer;
}

std::optional<int32_t> TConfigStore::ReadInt32(std::string_view key, std::string_view name) const {
  const auto v = ReadInteger(key, name);
  if (!v) return std::nullopt;
  if (*v < INT32_MIN || *v > INT32_MAX)
    throw EKvfError(fmt::format("Значение {} для '{}' в разделе {} вне допустимого диапазона", *v, name, key));
  return static_cast<int32_t>(*v);
}

std::optional<bool> TConfigStore::ReadBool(std::string_view key, std::string_view name) const {
  const auto v = ReadInteger(key, name);
  if (!v) return std::nullopt;
  return *v != 0;
}

std::optional<TDateTime> TConfigStore::ReadDateTime(std::string_view key, std::string_view name) const {
  const TConfigValue* v = FindValue(key, name);
  if (!v) return std::nullopt;
  if (v->type != TConfigValueType::DateTime) WrongType(key, name);
  return v->date;
}

void TConfigStore::Apply(const TChange& c) {
  switch (c.kind) {
    case TChange::TKind::Put: keys_[c.key][c.name].value = c.value; break;
    case TChange::TKind::CreateKey: keys_[c.key]; break;
    case TChange::TKind::DeleteValue: {
      const auto it = keys_.find(c.key);
      if (it != keys_.end()) it->second.erase(c.name);
      break;
    }
    case TChange::TKind::DeleteKey:
      for (auto it = keys_.begin(); it != keys_.end();) it = IsInside(it->first, c.key) ? keys_.erase(it) : std::next(it);
      break;
  }
}

void TConfigStore::Change(TChange change) {
  change.key = NormalizeKeyPath(change.key);
  Apply(change);
  changes_.push_back(std::move(change));
}

void TConfigStore::CreateKey(std::string_view key) { Change({TChange::TKind::CreateKey, std::string(key), {}, {}}); }

bool TConfigStore::DeleteKey(std::string_view key) {
  const std::string path = NormalizeKeyPath(key);
  const bool any = std::any_of(keys_.begin(), keys_.end(), [&](const auto& k) { return IsInside(k.first, path); });
  if (path.empty() || !any) return false;
  Change({TChange::TKind::DeleteKey, path, {}, {}});
  return true;
}

void TConfigStore::WriteString(std::string_view key, std::string_view name, std::string_view value) {
  TConfigValue v;
  v.type = TConfigValueType::String;
  v.text = value;
  Change({TChange::TKind::Put, std::string(key), std::string(name), std::move(v)});
}

void TConfigStore::WriteInteger(std::string_view key, std::string_view name, int64_t value) {
  TConfigValue v;
  v.type = TConfigValueType::Integer;
  v.integer = value;
  Change({TChange::TKind::Put, std::string(key), std::string(name), std::move(v)});
}

void TConfigStore::WriteBool(std::string_view key, std::string_view name, bool value) {
  WriteInteger(key, name, value ? 1 : 0);
}

void TConfigStore::WriteDateTime(std::string_view key, std::string_view name, TDateTime value) {
  TConfigValue v;
  v.type = TConfigValueType::DateTime;
  v.date = value;
  Change({TChange::TKind::Put, std::string(key), std::string(name), std::move(v)});
}

bool TConfigStore::DeleteValue(std::string_view key, std::string_view name) {
  const auto it = keys_.find(NormalizeKeyPath(key));
  if (it == keys_.end() || it->second.find(std::string(name)) == it->second.end()) return false;
  Change({TChange::TKind::DeleteValue, std::string(key), std::string(name), {}});
  return true;
}

void TConfigStore::Save() {
  std::error_code ec;
  const std::filesystem::path dir = file_.has_parent_path() ? file_.parent_path() : ".";
  std::filesystem::create_directories(dir, ec);
  if (ec) throw EKvfError(fmt::format("Не удается создать папку {}: {}", dir.string(), ec.message()));
  const TFolderLock lock(dir);
  std::vector<TChange> changes = std::move(changes_);
  changes_.clear();
  try {
    LoadFile();  // what other programs wrote meanwhile
  } catch (...) {
    changes_ = std::move(changes);
    throw;
  }
  for (const TChange& c : changes) Apply(c);
  json keys = json::object();
  for (const auto& [path, k] : keys_) {
    json values = json::object();
    for (const auto& [name, stored] : k) {
      json item = stored.extra.is_object() ? stored.extra : json::object();
      item["type"] = TypeName(stored.value.type);
      switch (stored.value.type) {
        case TConfigValueType::String: item["value"] = stored.value.text; break;
        case TConfigValueType::Integer: item["value"] = stored.value.integer; break;
        case TConfigValueType::DateTime: item["value"] = stored.value.date; break;
      }
      values[name] = std::move(item);
    }
    keys[path] = std::move(values);
  }
  json doc = extra_;
  doc["format"] = kFormat;
  doc["keys"] = std::move(keys);
  try {
    WriteFileAtomic(file_, doc.dump(2, ' ', false, json::error_handler_t::replace) + "\n");
  } catch (...) {
    changes_ = std::move(changes);  // still to be written
    throw;
  }
}

}  // namespace kvf
