#pragma once
// Reading a manufacturer's Paradox catalog tables (pxlib) into the SQLite
// catalog. Table files are matched without regard to case; text is
// Windows-1251; BCD, money, dates and logicals are converted.
#include <filesystem>
#include <string>
#include <vector>

#include "catalog/catalog_files.h"

namespace kvf {

struct TImportResult {
  std::vector<TTableCount> imported;
  std::vector<std::string> failures;  // a table that could not be read, and why
};

// Writes DESTDIR/kvfcatalog.sqlite; a table it cannot read is reported and
// left empty, the others are still imported.
TImportResult ImportParadoxCatalog(const std::filesystem::path& srcDir, const std::filesystem::path& destDir);

// Rows of one Paradox table by stored field, for the tables of the schema.
std::vector<std::vector<TFieldValue>> ReadParadoxTable(const std::filesystem::path& file, const TTableDef& def);

}  // namespace kvf
