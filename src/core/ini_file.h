#pragma once
// An INI file in Windows-1251. Sections and keys are found without regard to
// case; writing changes only the lines it writes and keeps every other line
// (comments, unknown sections and keys) as it was.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvf {

class TIniFile {
 public:
  TIniFile() = default;
  // Reads the file when it exists; a missing file gives an empty INI.
  // An unreadable file raises EKvfError.
  explicit TIniFile(std::filesystem::path path);
  static TIniFile FromText(std::string_view utf8);

  const std::filesystem::path& Path() const { return path_; }
  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;

  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  // Decimal (or $hex) text; anything else gives the default.
  int ReadInteger(std::string_view section, std::string_view key, int def) const;
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);  // "1" / "0"

  std::string Text() const;  // UTF-8, lines joined with CR LF
  // Writes the file atomically in Windows-1251 (to Path() when no path is given).
  void Save(const std::filesystem::path& path = {}) const;

 private:
  // Index of the section's header line, or npos.
  size_t SectionLine(std::string_view section) const;
  // Index of the key's line inside the section starting after `header`, or npos.
  size_t KeyLine(size_t header, std::string_view key) const;

  std::filesystem::path path_;
  std::vector<std::string> lines_;
};

}  // namespace kvf
