#include "core/config_store.h"

#include <algorithm>
#include <cstdlib>
#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "core/cp1251.h"
#include "core/error.h"
#include "core/file_io.h"

namespace kvf {
namespace {

using nlohmann::json;

constexpr const char* kFormat = "korvane-config-store 1";

std::string Upper(std::string_view s) { return AnsiUpperCase(s); }

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

TConfigStore::TConfigStore(std::filesystem::path file) : file_(std::move(file)) {
  std::error_code ec;
  if (!std::filesystem::exists(file_, ec)) return;
  const std::string text = ReadWholeFile(file_);
  try {
    const json doc = json::parse(text);
    if (!doc.is_object() || doc.value("format", "") != kFormat || !doc.at("keys").is_object())
      throw std::runtime_error("неизвестный формат");
    for (const auto& [path, values] : doc.at("keys").items()) {
      TKey& key = Ensure(path);
      for (const auto& [name, v] : values.items()) {
        TConfigValue value;
        const std::string type = v.at("type").get<std::string>();
        if (type == "string") {
          value.type = TConfigValueType::String;
          value.text = v.at("value").get<std::string>();
        } else if (type == "integer") {
          value.type = TConfigValueType::Integer;
          value.integer = v.at("value").get<int64_t>();
        } else if (type == "datetime") {
          value.type = TConfigValueType::DateTime;
          value.date = v.at("value").get<double>();
        } else {
          throw std::runtime_error("неизвестный тип значения " + type);
        }
        key.valueCase[Upper(name)] = name;
        key.values[Upper(name)] = std::move(value);
      }
    }
  } catch (const std::exception& e) {
    throw EKvfError(fmt::format("Файл настроек {} поврежден и не будет перезаписан: {}", file_.string(), e.what()));
  }
}

const TConfigStore::TKey* TConfigStore::Find(std::string_view key) const {
  const auto it = keys_.find(Upper(NormalizeKeyPath(key)));
  return it == keys_.end() ? nullptr : &it->second;
}

TConfigStore::TKey& TConfigStore::Ensure(std::string_view key) {
  const std::string path = NormalizeKeyPath(key);
  TKey& k = keys_[Upper(path)];
  if (k.path.empty()) k.path = path;
  return k;
}

bool TConfigStore::KeyExists(std::string_view key) const {
  const std::string prefix = Upper(NormalizeKeyPath(key));
  if (prefix.empty()) return true;
  const auto it = keys_.lower_bound(prefix);
  return it != keys_.end() &&
         (it->first == prefix || (it->first.size() > prefix.size() && it->first.compare(0, prefix.size(), prefix) == 0 &&
                                  it->first[prefix.size()] == '\\'));
}

void TConfigStore::CreateKey(std::string_view key) { Ensure(key); }

std::vector<std::string> TConfigStore::GetKeyNames(std::string_view key) const {
  const std::string base = NormalizeKeyPath(key);
  const std::string prefix = base.empty() ? std::string() : Upper(base) + "\\";
  std::vector<std::string> names;
  for (const auto& [upper, k] : keys_) {
    if (upper.compare(0, prefix.size(), prefix) != 0 || upper.size() == prefix.size()) continue;
    const std::string rest = k.path.substr(prefix.size());
    const std::string child = rest.substr(0, rest.find('\\'));
    const bool seen = std::any_of(names.begin(), names.end(),
                                  [&](const std::string& n) { return SameTextI(n, child); });
    if (!seen && !child.empty()) names.push_back(child);
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return Upper(a) < Upper(b); });
  return names;
}

bool TConfigStore::DeleteKey(std::string_view key) {
  const std::string upper = Upper(NormalizeKeyPath(key));
  if (upper.empty() || !KeyExists(key)) return false;
  for (auto it = keys_.begin(); it != keys_.end();) {
    const bool inside = it->first == upper ||
                        (it->first.size() > upper.size() && it->first.compare(0, upper.size(), upper) == 0 &&
                         it->first[upper.size()] == '\\');
    it = inside ? keys_.erase(it) : std::next(it);
  }
  return true;
}

bool TConfigStore::ValueExists(std::string_view key, std::string_view name) const {
  return FindValue(key, name) != nullptr;
}

std::vector<std::string> TConfigStore::GetValueNames(std::string_view key) const {
  std::vector<std::string> names;
  if (const TKey* k = Find(key))
    for (const auto& [upper, name] : k->valueCase) names.push_back(name);
  return names;
}

const TConfigValue* TConfigStore::FindValue(std::string_view key, std::string_view name) const {
  const TKey* k = Find(key);
  if (!k) return nullptr;
  const auto it = k->values.find(Upper(name));
  return it == k->values.end() ? nullptr : &it->second;
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

void TConfigStore::Put(std::string_view key, std::string_view name, TConfigValue value) {
  TKey& k = Ensure(key);
  k.valueCase[Upper(name)] = std::string(name);
  k.values[Upper(name)] = std::move(value);
}

void TConfigStore::WriteString(std::string_view key, std::string_view name, std::string_view value) {
  TConfigValue v;
  v.type = TConfigValueType::String;
  v.text = value;
  Put(key, name, std::move(v));
}

void TConfigStore::WriteInteger(std::string_view key, std::string_view name, int64_t value) {
  TConfigValue v;
  v.type = TConfigValueType::Integer;
  v.integer = value;
  Put(key, name, std::move(v));
}

void TConfigStore::WriteBool(std::string_view key, std::string_view name, bool value) {
  WriteInteger(key, name, value ? 1 : 0);
}

void TConfigStore::WriteDateTime(std::string_view key, std::string_view name, TDateTime value) {
  TConfigValue v;
  v.type = TConfigValueType::DateTime;
  v.date = value;
  Put(key, name, std::move(v));
}

bool TConfigStore::DeleteValue(std::string_view key, std::string_view name) {
  const auto it = keys_.find(Upper(NormalizeKeyPath(key)));
  if (it == keys_.end()) return false;
  it->second.valueCase.erase(Upper(name));
  return it->second.values.erase(Upper(name)) > 0;
}

void TConfigStore::Save() const {
  json keys = json::object();
  for (const auto& [upper, k] : keys_) {
    json values = json::object();
    for (const auto& [uname, v] : k.values) {
      json item = {{"type", TypeName(v.type)}};
      switch (v.type) {
        case TConfigValueType::String: item["value"] = v.text; break;
        case TConfigValueType::Integer: item["value"] = v.integer; break;
        case TConfigValueType::DateTime: item["value"] = v.date; break;
      }
      values[k.valueCase.at(uname)] = std::move(item);
    }
    keys[k.path] = std::move(values);
  }
  const json doc = {{"format", kFormat}, {"keys", std::move(keys)}};
  std::error_code ec;
  if (file_.has_parent_path()) std::filesystem::create_directories(file_.parent_path(), ec);
  if (ec) throw EKvfError(fmt::format("Не удается создать папку {}: {}", file_.parent_path().string(), ec.message()));
  WriteFileAtomic(file_, doc.dump(2, ' ', false, json::error_handler_t::replace) + "\n");
}

}  // namespace kvf
