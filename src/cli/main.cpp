// kvf: the command-line way into the Korvane libraries. Results go to standard
// output, messages to standard error; exit 0 success, 1 failed, 2 usage error.
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/command.h"
#include "core/error.h"
#include "core/file_io.h"
#include "core/prompts.h"

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
  try {
    if (args.empty() || args[0] == "--help" || args[0] == "-h") return kvf::cli::RunHelp({});
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "help") return kvf::cli::RunHelp(rest);
    for (const std::string& a : rest)
      if (a == "--help" || a == "-h") return kvf::cli::RunHelp({args[0]});
    if (args[0] == "config") return kvf::cli::RunConfig(rest);
    if (args[0] == "catalog") return kvf::cli::RunCatalog(rest);
    if (args[0] == "calc") return kvf::cli::RunCalc(rest);
    if (args[0] == "order") return kvf::cli::RunOrder(rest);
    if (args[0] == "selection") return kvf::cli::RunSelection(rest);
    if (args[0] == "sketch") return kvf::cli::RunSketch(rest);
    throw kvf::cli::TUsageError("неизвестная команда: " + args[0]);
  } catch (const kvf::cli::TUsageError& e) {
    std::fprintf(stderr, "%s\nСправка: kvf help\n", e.what());
    return 2;
  } catch (const kvf::cli::TReportedFailure&) {
    return 1;
  } catch (const kvf::EKvfError& e) {
    kvf::ShowError(e.what());
    return 1;
  } catch (const std::filesystem::filesystem_error& e) {
    std::string text = "Ошибка файловой системы";
    if (!e.path1().empty()) text += ": " + e.path1().string();
    if (!e.path2().empty()) text += " -> " + e.path2().string();
    kvf::ShowError(text + ": " + kvf::SystemErrorText(e.code().value()));
    return 1;
  } catch (const std::bad_alloc&) {
    kvf::ShowError("Недостаточно памяти");
    return 1;
  } catch (const std::exception& e) {
    kvf::ShowError(std::string("Внутренняя ошибка: ") + e.what());
    return 1;
  }
}
