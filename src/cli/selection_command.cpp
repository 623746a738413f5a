// kvf selection: the selection file as JSON and back, its material summary and
// the refresh of its items from the order files.
#include <cstdio>
#include <fmt/format.h>

#include "cli/catalog_access.h"
#include "cli/command.h"
#include "cli/document_io.h"
#include "core/config_store.h"
#include "core/configuration.h"
#include "core/error.h"
#include "core/file_io.h"
#include "core/setup.h"
#include "orders/order_json.h"

namespace kvf::cli {
namespace {

// OrdersDir for the items' "%" references: --orders DIR, else the configuration's.
void SetOrdersDir(const TArgs& args, const TkvfOrderSelection& selection) {
  if (const auto dir = args.Value("orders")) {
    Config().OrdersDir = NormalizeDir(*dir);
    return;
  }
  const TConfigStore store(TConfigStore::DefaultPath());
  std::string name = args.Value("config").value_or("");
  if (name.empty()) name = store.ReadString(kConfigListKey, "DefaultConfig").value_or("");
  if (!name.empty()) {
    Config().ServerDir =
        NormalizeDir(store.ReadString(std::string(kConfigListKey) + "\\" + name, "KVFServerName").value_or(""));
    DeriveFolders(Config());
  }
  if (!Config().OrdersDir.empty()) return;
  for (const auto& item : selection.Items)
    if (!item->FOrderFile.empty() && item->FOrderFile[0] == '%')
      throw EKvfError(fmt::format("Папка заказов не задана, а позиция {} заказа {} ссылается на нее ({}): "
                                  "укажите --orders ПАПКА или --config ИМЯ",
                                  item->FPosNo, item->FOrderNo, item->FOrderFile));
}

// Names every item that could not be reached; true when there was none.
bool ReportMissing(const std::vector<std::string>& missing) {
  for (const std::string& m : missing) std::fprintf(stderr, "Не найдено: %s\n", m.c_str());
  return missing.empty();
}

}  // namespace

int RunSelection(const std::vector<std::string>& argv) {
  if (argv.empty()) throw TUsageError("использование: kvf selection dump | from-json | materials | refresh");
  const std::string& verb = argv[0];
  const TArgs args({argv.begin() + 1, argv.end()}, {"catalog", "config", "orders"},
                   {"no-convert", "force", "write", "csv", "json", "update-included"});
  if (verb == "dump") {
    args.ExpectPositional(1, 1, "kvf selection dump FILE");
    TkvfOrderSelection selection;
    LoadSelection(args.Positional()[0], args, selection);
    PrintJson(SelectionToJson(selection));
    return 0;
  }
  if (verb == "from-json") {
    args.ExpectPositional(2, 2, "kvf selection from-json JSON OUT [--force]");
    const TJson j = ReadJsonFile(args.Positional()[0]);
    CheckOverwrite(args.Positional()[1], args);
    TkvfOrderSelection selection;
    SelectionFromJson(j, selection);
    return selection.SaveToFile(args.Positional()[1]) ? 0 : 1;
  }
  if (verb == "materials") {
    args.ExpectPositional(1, 1, "kvf selection materials ФАЙЛ [--orders ПАПКА] [--catalog ПАПКА | --config ИМЯ] [--csv | --json]");
    const TMaterialFormat format = MaterialFormat(args);
    TkvfOrderSelection selection;
    LoadSelection(args.Positional()[0], args, selection);
    SetOrdersDir(args, selection);
    TOpenedCatalog catalog = OpenCatalog(args);
    TkvfSetup& setup = Setup();
    setup.CurrentCurrency = selection.FCurrencyID;
    setup.CurrentNDS = selection.FNDSTax;
    setup.CurrentRates = &selection.FCurrencyRates;
    TkvfMatList list;
    std::vector<std::string> missing;
    selection.CollectMaterials(list, &missing);
    setup.CurrentRates = nullptr;
    if (!ReportMissing(missing)) {
      std::fprintf(stderr, "Материалы не выведены: не все позиции выборки найдены\n");
      return 1;
    }
    PrintMaterials(list, format, true, {selection.FCurrencyID, selection.FNDSTax, setup.TotalNDS});
    return 0;
  }
  if (verb == "refresh") {
    args.ExpectPositional(1, 1, "kvf selection refresh FILE [--orders DIR] [--update-included] [--write]");
    const std::string file = args.Positional()[0];
    TkvfOrderSelection selection;
    LoadSelection(file, args, selection);
    SetOrdersDir(args, selection);
    std::vector<std::string> missing;
    selection.RefreshItems(args.Flag("update-included"), &missing);
    if (args.Flag("write") && !selection.SaveToFile(file)) return 1;
    PrintJson(SelectionToJson(selection));
    return ReportMissing(missing) ? 0 : 1;
  }
  throw TUsageError("неизвестная команда: kvf selection " + verb);
}

}  // namespace kvf::cli
