// kvf: the command-line way into the Korvane libraries. Results go to standard
// output, messages to standard error; exit 0 success, 1 failed, 2 usage error.
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "core/error.h"
#include "core/file_io.h"
#include "core/prompts.h"

namespace {

constexpr const char* kHelp =
    "kvf — Korvane ФУРНИТУРА command-line tool\n"
    "\n"
    "usage:\n"
    "  kvf config list\n"
    "  kvf config add NAME --catalog DIR --server DIR --report DIR [--temp DIR] [--default] [--force]\n"
    "  kvf config remove NAME\n"
    "  kvf config default NAME\n"
    "  kvf catalog build CSVDIR DESTDIR     build the catalog database from CSV files\n"
    "  kvf catalog export DIR CSVDIR        write the catalog as CSV files\n"
    "  kvf catalog import SRCDIR DESTDIR [--partial]\n"
    "                                       read a manufacturer's Paradox tables\n"
    "  kvf catalog check DIR                report broken references (exit 1 when any)\n"
    "  kvf calc REQUEST.json [--catalog DIR | --config NAME] [--debug]\n"
    "                                       calculate the fittings of new positions, print the order\n"
    "             [--out FILE.kfo370 [--force]]  and write it as an order file\n"
    "             [--sketch-dir DIR]             and one picture per position (POSNO.png)\n"
    "  kvf order dump FILE [--no-convert]   the order file as JSON\n"
    "  kvf order from-json JSON OUT [--force]\n"
    "  kvf order recalc FILE [--catalog DIR | --config NAME] [--debug] [--write]\n"
    "  kvf order reprice FILE [--catalog DIR | --config NAME] [--write]\n"
    "  kvf order materials FILE [--catalog DIR | --config NAME] [--csv]\n"
    "  kvf selection dump FILE | from-json JSON OUT [--force]\n"
    "  kvf selection materials FILE [--orders DIR] [--catalog DIR | --config NAME] [--csv]\n"
    "  kvf selection refresh FILE [--orders DIR] [--update-included] [--write]\n"
    "  kvf sketch FILE.kfo370 POSNO --png OUT.png | --svg OUT.svg [--size 800x600]\n"
    "             [--options overall,sides,inner]   the picture of a position\n"
    "\n"
    "Configurations are kept in $XDG_CONFIG_HOME/korvane/registry.json.\n"
    "Exit codes: 0 success, 1 the operation failed, 2 usage error.\n";

}  // namespace

namespace kvf::cli {
TConsoleUserInterface& Console() {
  static TConsoleUserInterface ui;
  return ui;
}
}  // namespace kvf::cli

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "C.UTF-8");
  kvf::SetUserInterface(&kvf::cli::Console());
  kvf::IgnoreFileSizeSignal();
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::fputs(kHelp, stdout);
    return 0;
  }
  try {
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "config") return kvf::cli::RunConfig(rest);
    if (args[0] == "catalog") return kvf::cli::RunCatalog(rest);
    if (args[0] == "calc") return kvf::cli::RunCalc(rest);
    if (args[0] == "order") return kvf::cli::RunOrder(rest);
    if (args[0] == "selection") return kvf::cli::RunSelection(rest);
    if (args[0] == "sketch") return kvf::cli::RunSketch(rest);
    throw kvf::cli::TUsageError("unknown command: " + args[0]);
  } catch (const kvf::cli::TUsageError& e) {
    std::fprintf(stderr, "%s\n\n%s", e.what(), kHelp);
    return 2;
  } catch (const kvf::EKvfError& e) {
    kvf::ShowError(e.what());
    return 1;
  } catch (const std::exception& e) {
    kvf::ShowError(e.what());
    return 1;
  }
}
