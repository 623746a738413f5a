#pragma once
// Building the SQLite catalog from its CSV form (one file per table named like
// the table, "Catalog.csv", "FrnSet.csv", ...), exporting it back, and
// converting field values to and from text.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalog/schema.h"
#include "catalog/value.h"

namespace kvf {

// The catalog's own table, the articles: a catalog without rows in it is no
// catalog, and neither a build nor an import replaces one with it.
inline constexpr const char* kArticleTable = "Catalog.DB";

struct TTableCount {
  std::string table;
  int rows = 0;
};

// The value of a text for the field: blank for "", else checked against the
// field's type and length. On a bad value returns false and the reason.
bool ParseFieldText(const TFieldDef& field, std::string_view text, TFieldValue& value, std::string& reason);
std::string FormatFieldValue(const TFieldDef& field, const TFieldValue& value);

// Writes DESTDIR/kvfcatalog.sqlite from the CSV files. Every bad value is
// reported as "file:line: field: reason" in one EKvfError, and then nothing is
// written; so is a folder without articles (Catalog.csv missing or without
// rows). The database replaces an older one only when complete.
std::vector<TTableCount> BuildCatalogFromCsv(const std::filesystem::path& csvDir, const std::filesystem::path& destDir,
                                             std::vector<std::string>* warnings = nullptr);
// Writes one CSV file per catalog table of the catalog in `catalogDir`. The files
// are written into a new folder beside `csvDir` that takes its place only when
// complete (other files of the old folder are carried over), so a failure leaves
// the old folder as it was.
std::vector<TTableCount> ExportCatalogToCsv(const std::filesystem::path& catalogDir, const std::filesystem::path& csvDir);

// The entry of `dir` whose name equals `name` without regard to case.
std::filesystem::path FindFileNoCase(const std::filesystem::path& dir, std::string_view name);

// Writes rows into a new database file beside `finalFile` and moves it into
// place when complete. `fill` gets the database to fill. Writers of one folder
// take turns (a folder lock); the temporary file has a name of its own, is
// removed on failure and on SIGINT/SIGTERM/SIGHUP, and one left by a killed
// writer is removed by the next. A folder created for the file is removed again
// when the write fails.
class TDatabase;
void WriteDatabaseAtomically(const std::filesystem::path& finalFile, const std::function<void(TDatabase&)>& fill);

}  // namespace kvf
