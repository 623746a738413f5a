#pragma once
// Reading a manufacturer's Paradox catalog tables (pxlib) into the SQLite
// catalog. Table files are matched without regard to case; text is
// Windows-1251; BCD, money, dates and logicals are converted.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_files.h"

namespace kvf {

struct TImportResult {
  std::vector<TTableCount> imported;
  std::vector<std::string> failures;  // a table that could not be read, and why
};

// Writes DESTDIR/kvfcatalog.sqlite. A table that cannot be read (missing,
// damaged) fails the import with EKvfError naming every such table, and the
// destination stays as it was; with `partial` such tables are named in the
// result and left empty while the others replace the catalog. Without the
// article table (Catalog.DB with rows) nothing is imported either way.
TImportResult ImportParadoxCatalog(const std::filesystem::path& srcDir, const std::filesystem::path& destDir,
                                   bool partial = false);

// Rows of one Paradox table by stored field, for the tables of the schema. The
// file is checked against its own header (block size, blocks, the block chain,
// field list) before pxlib sees it: a damaged file raises EKvfError, never hangs.
std::vector<std::vector<TFieldValue>> ReadParadoxTable(const std::filesystem::path& file, const TTableDef& def);

// The header check alone: the reason a Paradox table's bytes can't be read
// safely, or empty when they can.
std::string ParadoxFileProblem(std::string_view bytes);

}  // namespace kvf
