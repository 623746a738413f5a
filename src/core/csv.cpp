#include "core/csv.h"

#include <fmt/format.h>

#include "core/error.h"

namespace kvf {

std::vector<TCsvRow> ParseCsv(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<TCsvRow> rows;
  TCsvRow row;
  std::string cell;
  int line = 1;
  row.line = 1;
  bool quoted = false, cellStarted = false, rowHasContent = false;
  size_t i = 0;
  auto endCell = [&] {
    row.cells.push_back(std::move(cell));
    cell.clear();
    cellStarted = false;
  };
  auto endRow = [&] {
    endCell();
    if (rowHasContent || row.cells.size() > 1 || !row.cells[0].empty()) rows.push_back(std::move(row));
    row = TCsvRow{};
    row.line = line;
    rowHasContent = false;
  };
  int quoteLine = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (quoted) {
      if (c == '"') {
        if (i + 1 < text.size() && text[i + 1] == '"') {
          cell += '"';
          i += 2;
          continue;
        }
        quoted = false;
        ++i;
        continue;
      }
      if (c == '\n') ++line;
      cell += c;
      ++i;
      continue;
    }
    if (c == '"' && !cellStarted) {
      quoted = true;
      cellStarted = true;
      rowHasContent = true;
      quoteLine = line;
      ++i;
      continue;
    }
    if (c == ',') {
      endCell();
      rowHasContent = true;
      ++i;
      continue;
    }
    if (c == '\r' || c == '\n') {
      ++line;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      ++i;
      endRow();
      continue;
    }
    cell += c;
    cellStarted = true;
    ++i;
  }
  if (quoted) throw EKvfError(fmt::format("строка {}: не закрыта кавычка", quoteLine));
  if (cellStarted || !row.cells.empty() || rowHasContent) endRow();
  return rows;
}

std::string CsvField(std::string_view value) {
  const bool needs = value.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!value.empty() && (value.front() == ' ' || value.back() == ' '));
  if (!needs) return std::string(value);
  std::string out = "\"";
  for (char c : value) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string CsvLine(const std::vector<std::string>& cells) {
  std::string line;
  for (size_t i = 0; i < cells.size(); ++i) line += (i ? "," : "") + CsvField(cells[i]);
  return line + "\r\n";
}

}  // namespace kvf
