#include "catalog/catalog_files.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <cmath>
#include <fmt/format.h>

#include "catalog/database.h"
#include "catalog/schema_sql.h"
#include "core/cp1251.h"
#include "core/csv.h"
#include "core/datetime.h"
#include "core/error.h"
#include "core/file_io.h"
#include "core/temp_files.h"
#include "core/text_utils.h"
#include <algorithm>

namespace kvf {
namespace fs = std::filesystem;
namespace {

constexpr size_t kMaxReported = 200;
// The largest whole amount money (1/10 000 in 64 bits) holds.
constexpr double kMaxAmount = 922337203685477.0;

bool ParseInteger(std::string_view t, int64_t& out) {
  const auto r = std::from_chars(t.data(), t.data() + t.size(), out);
  return r.ec == std::errc() && r.ptr == t.data() + t.size();
}

bool ParseReal(std::string_view t, double& out) {
  std::string s(t);
  for (char& c : s)
    if (c == ',') c = '.';
  const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
  return r.ec == std::errc() && r.ptr == s.data() + s.size() && std::isfinite(out);
}

int Decimals(std::string_view t) {
  const size_t dot = t.find_first_of(".,");
  return dot == std::string_view::npos ? 0 : static_cast<int>(t.size() - dot - 1);
}

std::string OrderClause(const TTableDef& def) {
  std::string order;
  for (const std::string& f : def.primaryKey) order += QuoteIdent(f) + ", ";
  return " ORDER BY " + order + "rowid";
}

std::string ColumnList(const TTableDef& def) {
  std::string list;
  for (const TFieldDef& f : def.stored) list += (list.empty() ? "" : ", ") + QuoteIdent(f.name);
  return list;
}

}  // namespace

bool ParseFieldText(const TFieldDef& field, std::string_view text, TFieldValue& value, std::string& reason) {
  value = std::monostate{};
  if (text.empty()) return true;
  switch (field.type) {
    case TFieldType::Alpha: {
      const size_t len = Utf8Length(text);
      if (len > static_cast<size_t>(field.size)) {
        reason = fmt::format("текст длиннее {} символов ({})", field.size, len);
        return false;
      }
      const std::string bytes = Utf8ToCp1251(text);
      if (std::count(bytes.begin(), bytes.end(), '?') != std::count(text.begin(), text.end(), '?')) {
        reason = "символ, которого нет в кодировке Windows-1251";
        return false;
      }
      value = std::string(text);
      return true;
    }
    case TFieldType::Short:
    case TFieldType::Long:
    case TFieldType::AutoInc:
    case TFieldType::Logical: {
      int64_t n = 0;
      if (field.type == TFieldType::Logical && (SameTextI(text, "true") || SameTextI(text, "false"))) {
        value = int64_t{SameTextI(text, "true") ? 1 : 0};
        return true;
      }
      if (!ParseInteger(text, n)) {
        reason = fmt::format("'{}' не является целым числом", std::string(text));
        return false;
      }
      const int64_t lo = field.type == TFieldType::Short ? -32768 : INT32_MIN;
      const int64_t hi = field.type == TFieldType::Short ? 32767 : INT32_MAX;
      if (n < lo || n > hi) {
        reason = fmt::format("{} вне диапазона {}..{}", n, lo, hi);
        return false;
      }
      value = n;
      return true;
    }
    case TFieldType::BCD:
    case TFieldType::Money: {
      double d = 0;
      if (!ParseReal(text, d)) {
        reason = fmt::format("'{}' не является числом", std::string(text));
        return false;
      }
      const int allowed = field.type == TFieldType::BCD ? field.size : 4;
      if (Decimals(text) > allowed) {
        reason = fmt::format("больше {} знаков после запятой", allowed);
        return false;
      }
      if (std::fabs(d) >= kMaxAmount) {  // prices and rates are read as money
        reason = fmt::format("{} вне допустимого диапазона (до {:.0f})", std::string(text), kMaxAmount);
        return false;
      }
      value = d;
      return true;
    }
    case TFieldType::Date: {
      if (const auto date = ParseDate(text)) {
        value = *date;
        return true;
      }
      double d = 0;
      if (ParseReal(text, d)) {
        value = d;
        return true;
      }
      reason = fmt::format("'{}' не является датой ДД.ММ.ГГГГ", std::string(text));
      return false;
    }
  }
  return false;
}

std::string FormatFieldValue(const TFieldDef& field, const TFieldValue& value) {
  if (IsBlank(value)) return {};
  if (field.type == TFieldType::Date) {
    const double d = ValueAsFloat(value);
    return d == std::floor(d) ? FormatDate(d) : ValueAsString(value);
  }
  if (field.IsInteger()) return std::to_string(ValueAsInteger(value));
  return ValueAsString(value);
}

fs::path FindFileNoCase(const fs::path& dir, std::string_view name) {
  std::error_code ec;
  if (fs::exists(dir / std::string(name), ec)) return dir / std::string(name);
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
    if (SameTextI(it->path().filename().string(), name)) return it->path();
  return {};
}

namespace {

// Creates the missing folders of `dir`; returns those it created, the deepest last.
std::vector<fs::path> CreateFolders(const fs::path& dir) {
  std::vector<fs::path> missing;
  std::error_code ec;
  for (fs::path p = dir; !p.empty() && !fs::exists(p, ec); p = p.parent_path()) {
    missing.insert(missing.begin(), p);
    if (p == p.parent_path()) break;
  }
  for (const fs::path& p : missing)
    if (!fs::create_directory(p, ec) && ec)
      throw EKvfError(fmt::format("Не удается создать папку {}: {}", p.string(), ec.message()));
  return missing;
}

void RemoveCreatedFolders(const std::vector<fs::path>& created) {
  std::error_code ec;
  for (auto it = created.rbegin(); it != created.rend(); ++it) fs::remove(*it, ec);  // only while empty
}

// Temporary files of earlier writers of `finalFile` (the caller holds the lock).
void RemoveStaleTemporaries(const fs::path& finalFile) {
  const std::string prefix = "." + finalFile.filename().string() + ".";
  std::error_code ec;
  for (fs::directory_iterator it(finalFile.parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind(prefix, 0) == 0 && name.size() > 4 && name.compare(name.size() - 4, 4, ".new") == 0)
      fs::remove(it->path(), ec);
  }
}

}  // namespace

void WriteDatabaseAtomically(const fs::path& finalFile, const std::function<void(TDatabase&)>& fill) {
  IgnoreFileSizeSignal();
  InstallTempCleanupOnSignals();
  const fs::path dir = finalFile.has_parent_path() ? finalFile.parent_path() : fs::path(".");
  const std::vector<fs::path> created = CreateFolders(dir);
  try {
    const TFolderLock lock(dir);
    RemoveStaleTemporaries(dir / finalFile.filename());
    const fs::path temp = UniqueSiblingName(dir / finalFile.filename(), ".new");
    const TTempFileGuard cleanup(temp);
    bool filling = false;
    try {
      {
        TDatabase db(temp, true);
        db.Exec("PRAGMA journal_mode=OFF");
        db.Exec("PRAGMA synchronous=OFF");
        TDatabase::TTransaction tx(db);
        filling = true;
        fill(db);
        filling = false;
        tx.Commit();
      }
      {
        TDatabase check(temp, false);
        check.Exec("PRAGMA synchronous=FULL");
        check.Exec("VACUUM");
      }
      std::error_code ec;
      fs::rename(temp, finalFile, ec);
      if (ec) throw EKvfError(fmt::format("Не удается заменить файл {}: {}", finalFile.string(), ec.message()));
    } catch (const EKvfError& e) {
      std::error_code ec;
      fs::remove(temp, ec);
      if (filling) throw;  // the filler's own message
      throw EKvfError(fmt::format("Не удается записать {}: {}", finalFile.string(), e.what()));
    } catch (...) {
      std::error_code ec;
      fs::remove(temp, ec);
      throw;
    }
  } catch (...) {
    RemoveCreatedFolders(created);
    throw;
  }
}

std::vector<TTableCount> BuildCatalogFromCsv(const fs::path& csvDir, const fs::path& destDir,
                                             std::vector<std::string>* warnings) {
  if (!fs::is_directory(csvDir)) throw EKvfError(fmt::format("Папка {} не найдена", csvDir.string()));
  struct TParsedTable {
    const TTableDef* def;
    std::string file;
    std::vector<int> lines;
    std::vector<std::vector<TFieldValue>> rows;  // by stored index
  };
  std::vector<TParsedTable> tables;
  std::vector<std::string> problems;
  auto problem = [&](std::string text) {
    if (problems.size() < kMaxReported) problems.push_back(std::move(text));
  };
  std::vector<std::string> known;
  for (const TTableDef& def : AllTableDefs()) {
    if (def.alias != "KMDB_Catalog") continue;
    TParsedTable table{&def, {}, {}, {}};
    const fs::path file = FindFileNoCase(csvDir, def.sqlName + ".csv");
    if (file.empty()) {
      if (warnings) warnings->push_back(fmt::format("{}.csv нет: таблица {} будет пустой", def.sqlName, def.fileName));
      tables.push_back(std::move(table));
      continue;
    }
    table.file = file.filename().string();
    known.push_back(table.file);
    std::vector<TCsvRow> rows;
    try {
      rows = ParseCsv(ReadWholeFile(file));
    } catch (const EKvfError& e) {
      problem(fmt::format("{}: {}", table.file, e.what()));
      tables.push_back(std::move(table));
      continue;
    }
    if (rows.empty()) {
      tables.push_back(std::move(table));
      continue;
    }
    std::vector<int> columnIndex;
    for (const std::string& name : rows[0].cells) {
      const int index = def.StoredIndex(Trim(name));
      if (index < 0) problem(fmt::format("{}:{}: поле '{}' отсутствует в таблице {}", table.file, rows[0].line, name, def.fileName));
      columnIndex.push_back(index);
    }
    for (size_t r = 1; r < rows.size(); ++r) {
      const TCsvRow& row = rows[r];
      if (row.cells.size() > columnIndex.size()) {
        problem(fmt::format("{}:{}: значений больше ({}), чем полей ({})", table.file, row.line, row.cells.size(),
                            columnIndex.size()));
        continue;
      }
      std::vector<TFieldValue> values(def.stored.size());
      for (size_t c = 0; c < row.cells.size(); ++c) {
        if (columnIndex[c] < 0) continue;
        const TFieldDef& field = def.stored[static_cast<size_t>(columnIndex[c])];
        std::string reason;
        if (!ParseFieldText(field, row.cells[c], values[static_cast<size_t>(columnIndex[c])], reason))
          problem(fmt::format("{}:{}: поле {}: {}", table.file, row.line, field.name, reason));
      }
      table.lines.push_back(row.line);
      table.rows.push_back(std::move(values));
    }
    tables.push_back(std::move(table));
  }
  if (warnings) {
    std::error_code ec;
    for (fs::directory_iterator it(csvDir, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (SameTextI(SplitFileName(name, false, false, true), ".csv") &&
          std::none_of(known.begin(), known.end(), [&](const std::string& k) { return k == name; }))
        warnings->push_back(fmt::format("{}: такой таблицы в каталоге нет, файл пропущен", name));
    }
  }
  if (!problems.empty()) {
    std::string text = "Каталог не построен, ошибки в данных:";
    for (const std::string& p : problems) text += "\n" + p;
    throw EKvfError(text);
  }
  const auto articles = std::find_if(tables.begin(), tables.end(),
                                     [](const TParsedTable& t) { return t.def->fileName == kArticleTable; });
  if (articles == tables.end() || articles->rows.empty())
    throw EKvfError(fmt::format("Каталог не построен: в {} нет артикулов (Catalog.csv отсутствует или пуст), "
                                "каталог в {} не изменен",
                                csvDir.string(), destDir.string()));
  std::vector<TTableCount> counts;
  WriteDatabaseAtomically(destDir / DatabaseFileOfAlias("KMDB_Catalog"), [&](TDatabase& db) {
    for (TParsedTable& table : tables) {
      CreateTable(db, *table.def);
      std::string marks;
      for (size_t i = 0; i < table.def->stored.size(); ++i) marks += i ? ", ?" : "?";
      const std::string sql = "INSERT INTO " + QuoteIdent(table.def->sqlName) + " (" + ColumnList(*table.def) +
                              ") VALUES (" + marks + ")";
      int64_t nextAuto = 1;
      for (auto& row : table.rows)
        for (size_t i = 0; i < row.size(); ++i)
          if (table.def->stored[i].type == TFieldType::AutoInc && !IsBlank(row[i]))
            nextAuto = std::max(nextAuto, ValueAsInteger(row[i]) + 1);
      for (size_t r = 0; r < table.rows.size(); ++r) {
        auto& row = table.rows[r];
        for (size_t i = 0; i < row.size(); ++i)
          if (table.def->stored[i].type == TFieldType::AutoInc && IsBlank(row[i])) row[i] = nextAuto++;
        TStatement& s = db.Prepare(sql);
        s.BindAll(row);
        try {
          s.Step();
        } catch (const EKvfError& e) {
          std::string key;
          for (const std::string& k : table.def->primaryKey)
            key += (key.empty() ? "" : ", ") + ValueAsString(row[static_cast<size_t>(table.def->StoredIndex(k))]);
          problem(fmt::format("{}:{}: повторяется ключ ({}) таблицы {}", table.file, table.lines[r], key,
                              table.def->fileName));
        }
      }
      counts.push_back({table.def->fileName, static_cast<int>(table.rows.size())});
    }
    if (!problems.empty()) {
      std::string text = "Каталог не построен, ошибки в данных:";
      for (const std::string& p : problems) text += "\n" + p;
      throw EKvfError(text);
    }
  });
  return counts;
}

std::vector<TTableCount> ExportCatalogToCsv(const fs::path& catalogDir, const fs::path& csvDirGiven) {
  const fs::path file = catalogDir / DatabaseFileOfAlias("KMDB_Catalog");
  if (!fs::exists(file)) throw EKvfError(fmt::format("Каталог фурнитуры не найден: {}", file.string()));
  TDatabase db(file, false, true);
  const fs::path csvDir = csvDirGiven.has_filename() ? csvDirGiven : csvDirGiven.parent_path();
  std::error_code ec;
  const bool replacing = fs::exists(csvDir, ec);
  if (replacing && !fs::is_directory(csvDir, ec)) throw EKvfError(fmt::format("{} не является папкой", csvDir.string()));
  const std::vector<fs::path> created = CreateFolders(csvDir.has_parent_path() ? csvDir.parent_path() : ".");
  const fs::path fresh = UniqueSiblingName(csvDir, ".new");
  std::vector<TTableCount> counts;
  try {
    if (!fs::create_directory(fresh, ec) || ec)
      throw EKvfError(fmt::format("Не удается создать папку {}: {}", fresh.string(), ec.message()));
    std::vector<std::string> written;
    for (const TTableDef& def : AllTableDefs()) {
      if (def.alias != "KMDB_Catalog" || !db.TableExists(def.sqlName)) continue;
      std::vector<std::string> header;
      for (const TFieldDef& f : def.stored) header.push_back(f.name);
      std::string text = CsvLine(header);
      TStatement& s = db.Prepare("SELECT " + ColumnList(def) + " FROM " + QuoteIdent(def.sqlName) + OrderClause(def));
      int rows = 0;
      while (s.Step()) {
        std::vector<std::string> cells;
        for (size_t i = 0; i < def.stored.size(); ++i)
          cells.push_back(FormatFieldValue(def.stored[i], s.Column(static_cast<int>(i))));
        text += CsvLine(cells);
        ++rows;
      }
      written.push_back(def.sqlName + ".csv");
      WriteFileAtomic(fresh / written.back(), text);
      counts.push_back({def.fileName, rows});
    }
    if (replacing) {  // the user's other files stay with the folder
      for (fs::directory_iterator it(csvDir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!it->is_regular_file() ||
            std::any_of(written.begin(), written.end(), [&](const std::string& w) { return SameTextI(w, name); }))
          continue;
        fs::copy_file(it->path(), fresh / name);
      }
      if (ec) throw EKvfError(fmt::format("Ошибка чтения папки {}: {}", csvDir.string(), ec.message()));
      if (::renameat2(AT_FDCWD, fresh.c_str(), AT_FDCWD, csvDir.c_str(), RENAME_EXCHANGE) != 0)
        throw EKvfError(fmt::format("Не удается заменить папку {}: {}", csvDir.string(), SystemErrorText(errno)));
      fs::remove_all(fresh, ec);  // now the old folder
    } else {
      fs::rename(fresh, csvDir);
    }
  } catch (const std::exception& e) {
    fs::remove_all(fresh, ec);
    RemoveCreatedFolders(created);
    if (dynamic_cast<const EKvfError*>(&e)) throw;
    throw EKvfError(fmt::format("Ошибка выгрузки каталога в {}: {}", csvDir.string(), e.what()));
  }
  return counts;
}

}  // namespace kvf
