#include "core/ini_file.h"

#include <cstdlib>
#include <fmt/format.h>

#include "core/cp1251.h"
#include "core/error.h"
#include "core/file_io.h"
#include "core/spec_stream.h"
#include "core/text_utils.h"

namespace kvf {
namespace {

bool IsSectionHeader(const std::string& line, std::string* name) {
  const std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
  if (name) *name = Trim(std::string_view(t).substr(1, t.size() - 2));
  return true;
}

bool KeyOf(const std::string& line, std::string* key, std::string* value) {
  const size_t eq = line.find('=');
  if (eq == std::string::npos) return false;
  const std::string t = Trim(line);
  if (t.empty() || t[0] == ';') return false;
  if (key) *key = Trim(std::string_view(line).substr(0, eq));
  if (value) *value = Trim(std::string_view(line).substr(eq + 1));
  return true;
}

}  // namespace

TIniFile::TIniFile(std::filesystem::path path) : path_(std::move(path)) {
  std::error_code ec;
  if (!std::filesystem::exists(path_, ec)) return;
  lines_ = SplitLines(Cp1251ToUtf8(ReadWholeFile(path_)));
}

TIniFile TIniFile::FromText(std::string_view utf8) {
  TIniFile ini;
  ini.lines_ = SplitLines(utf8);
  return ini;
}

size_t TIniFile::SectionLine(std::string_view section) const {
  std::string name;
  for (size_t i = 0; i < lines_.size(); ++i)
    if (IsSectionHeader(lines_[i], &name) && SameTextI(name, section)) return i;
  return std::string::npos;
}

size_t TIniFile::KeyLine(size_t header, std::string_view key) const {
  std::string name;
  for (size_t i = header + 1; i < lines_.size() && !IsSectionHeader(lines_[i], nullptr); ++i)
    if (KeyOf(lines_[i], &name, nullptr) && SameTextI(name, key)) return i;
  return std::string::npos;
}

bool TIniFile::SectionExists(std::string_view section) const {
  return SectionLine(section) != std::string::npos;
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
  return Find(section, key).has_value();
}

std::optional<std::string> TIniFile::Find(std::string_view section, std::string_view key) const {
  const size_t header = SectionLine(section);
  if (header == std::string::npos) return std::nullopt;
  const size_t line = KeyLine(header, key);
  if (line == std::string::npos) return std::nullopt;
  std::string value;
  KeyOf(lines_[line], nullptr, &value);
  return value;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
  auto v = Find(section, key);
  return v ? *v : std::string(def);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
  const auto v = Find(section, key);
  if (!v || v->empty()) return def;
  const std::string& t = *v;
  char* end = nullptr;
  errno = 0;
  const bool hex = t[0] == '$' || (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X'));
  const char* start = t.c_str() + (hex ? (t[0] == '$' ? 1 : 2) : 0);
  const long long n = std::strtoll(start, &end, hex ? 16 : 10);
  if (end == start || *end != '\0' || errno == ERANGE || n < INT32_MIN || n > (hex ? UINT32_MAX : INT32_MAX))
    return def;
  return static_cast<int>(static_cast<int64_t>(n));
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  const std::string line = fmt::format("{}={}", key, value);
  size_t header = SectionLine(section);
  if (header == std::string::npos) {
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back(fmt::format("[{}]", section));
    lines_.push_back(line);
    return;
  }
  const size_t existing = KeyLine(header, key);
  if (existing != std::string::npos) {
    lines_[existing] = line;
    return;
  }
  // After the section's last non-blank line.
  size_t insertAt = header + 1;
  for (size_t i = header + 1; i < lines_.size() && !IsSectionHeader(lines_[i], nullptr); ++i)
    if (!Trim(lines_[i]).empty()) insertAt = i + 1;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::string TIniFile::Text() const {
  std::string text;
  for (const std::string& line : lines_) text += line + "\r\n";
  return text;
}

void TIniFile::Save(const std::filesystem::path& path) const {
  WriteFileAtomic(path.empty() ? path_ : path, Utf8ToCp1251(Text()));
}

}  // namespace kvf
