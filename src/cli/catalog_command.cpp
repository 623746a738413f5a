// kvf catalog: building the SQLite catalog from CSV, exporting it back,
// importing a manufacturer's Paradox tables and checking references.
#include <cstdio>
#include <fmt/format.h>

#include "catalog/catalog_check.h"
#include "catalog/catalog_files.h"
#include "catalog/paradox_import.h"
#include "cli/command.h"
#include "core/error.h"

namespace kvf::cli {
namespace {

void PrintCounts(const std::vector<TTableCount>& counts) {
  for (const TTableCount& c : counts) std::printf("%-14s %8d\n", c.table.c_str(), c.rows);
}

}  // namespace

int RunCatalog(const std::vector<std::string>& argv) {
  if (argv.empty()) throw TUsageError("использование: kvf catalog build | export | import | check");
  const std::string& verb = argv[0];
  const TArgs args({argv.begin() + 1, argv.end()}, {}, {"partial"});
  if (verb == "build") {
    args.ExpectPositional(2, 2, "kvf catalog build CSVDIR DESTDIR");
    std::vector<std::string> warnings;
    const auto counts = BuildCatalogFromCsv(args.Positional()[0], args.Positional()[1], &warnings);
    for (const std::string& w : warnings) std::fprintf(stderr, "%s\n", w.c_str());
    PrintCounts(counts);
    return 0;
  }
  if (verb == "export") {
    args.ExpectPositional(2, 2, "kvf catalog export DIR CSVDIR");
    PrintCounts(ExportCatalogToCsv(args.Positional()[0], args.Positional()[1]));
    return 0;
  }
  if (verb == "import") {
    args.ExpectPositional(2, 2, "kvf catalog import SRCDIR DESTDIR [--partial]");
    const TImportResult result = ImportParadoxCatalog(args.Positional()[0], args.Positional()[1], args.Flag("partial"));
    PrintCounts(result.imported);
    for (const std::string& f : result.failures) std::fprintf(stderr, "Не импортирована: %s\n", f.c_str());
    return 0;
  }
  if (verb == "check") {
    args.ExpectPositional(1, 1, "kvf catalog check DIR");
    const std::vector<std::string> problems = CheckCatalog(args.Positional()[0]);
    for (const std::string& p : problems) std::printf("%s\n", p.c_str());
    if (problems.empty()) {
      std::fprintf(stderr, "Ошибок в каталоге не найдено\n");
      return 0;
    }
    std::fprintf(stderr, "Найдено ошибок: %zu\n", problems.size());
    return 1;
  }
  throw TUsageError("неизвестная команда: kvf catalog " + verb);
}

}  // namespace kvf::cli
