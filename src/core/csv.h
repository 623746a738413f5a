#pragma once
// CSV as spreadsheets write it (RFC 4180): comma-separated, fields with commas,
// quotes or line breaks in double quotes, "" for a quote inside. UTF-8; a byte
// order mark at the start is skipped.
#include <string>
#include <string_view>
#include <vector>

namespace kvf {

struct TCsvRow {
  int line = 0;  // 1-based line where the row starts
  std::vector<std::string> cells;
};

// Raises EKvfError naming the line of an unterminated quoted field.
std::vector<TCsvRow> ParseCsv(std::string_view text);
std::string CsvField(std::string_view value);                   // quoted when needed
std::string CsvLine(const std::vector<std::string>& cells);     // ends with CR LF

}  // namespace kvf
