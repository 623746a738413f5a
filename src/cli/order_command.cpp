// kvf order: the order file as JSON and back, recalculation, repricing and
// the material summary.
#include <cstdio>
#include <fmt/format.h>

#include "cli/catalog_access.h"
#include "cli/command.h"
#include "cli/document_io.h"
#include "core/error.h"
#include "core/file_io.h"
#include "core/progress.h"
#include "core/prompts.h"
#include "core/setup.h"
#include "core/spec_stream.h"
#include "engine/furn_comp.h"
#include "orders/order_json.h"

namespace kvf::cli {
namespace {

// The pricing context of the order, as its window sets it on activation.
struct TPricingContext {
  explicit TPricingContext(TkvfOrder& order) {
    TkvfSetup& s = Setup();
    s.CurrentCurrency = order.FCurrencyID;
    s.CurrentNDS = order.FNDSTax;
    s.CurrentRates = &order.FCurrencyRates;
  }
  ~TPricingContext() { Setup().CurrentRates = nullptr; }
};

TkvfSashChoice StoredChoice(const TkvfFlugel& sash) {
  TkvfSashChoice c;
  c.FDornType = sash.FDornType;
  if (!sash.FComplement) return c;
  const TkvfFurnComp& comp = *sash.FComplement;
  c.FComplect = comp.FComplect;
  c.FHandle = comp.FHandle;
  c.FHinge = comp.FHinge;
  c.FLock = comp.FLock;
  c.FCylinder = comp.FCylinder;
  c.FDrive = comp.FDrive;
  c.FLatch = comp.FLatch;
  c.FUserDefineHeight = comp.FUserDefineHeight;
  c.FUserHandleHeight = comp.FUserHandleHeight;
  c.FProperties = comp.FProperties;
  c.FAddComplects = comp.FAddComplects;
  return c;
}

TkvfFittingsChoice StoredChoice(const TkvfConstruction& p) {
  TkvfFittingsChoice c;
  c.FFurnSys = p.FFurnSys;
  c.FProfSys = p.FProfSys;
  c.FFurnColor = p.FFurnColor;
  c.FFalzType = p.FFalzType;
  c.FStulpType = p.FStulpType;
  c.FFlugelType = p.FFlugelType;
  c.FProfWidth = p.FProfWidth;
  c.FProfThickness = p.FProfThickness;
  c.sash1 = StoredChoice(*p.FFlugel1);
  c.sash2 = StoredChoice(*p.FFlugel2);
  return c;
}

// Runs `change` on every chosen position with a backup; a failure restores the
// position and is reported with its number. Returns the number of failures.
template <typename F>
int ChangePositions(TkvfOrder& order, bool includedOnly, F change) {
  int failures = 0;
  TProgress progress("Пересчет позиций", includedOnly ? order.IncludedCount() : order.Count());
  for (const auto& p : order.Positions) {
    if (includedOnly && !p->FIncluded) continue;
    progress.Step();
    TSpecStream backup;
    p->SaveBackup(backup);
    try {
      change(*p);
    } catch (const EKvfError& e) {
      p->RestoreBackup(backup);
      ++failures;
      std::fprintf(stderr, "Позиция %s: %s\n", p->FPosNo.c_str(), ConsoleText(e.what()).c_str());
    }
  }
  return failures;
}

int Finish(TkvfOrder& order, const std::string& file, const TArgs& args, int failures) {
  if (args.Flag("write") && !order.SaveToFile(file)) return 1;
  PrintJson(OrderToJson(order));
  return failures > 0 ? 1 : 0;
}

}  // namespace

int RunOrder(const std::vector<std::string>& argv) {
  if (argv.empty()) throw TUsageError("использование: kvf order dump | from-json | recalc | reprice | materials");
  const std::string& verb = argv[0];
  const TArgs args({argv.begin() + 1, argv.end()}, {"catalog", "config"},
                   {"no-convert", "force", "debug", "write", "csv", "json"});
  if (verb == "dump") {
    args.ExpectPositional(1, 1, "kvf order dump FILE [--no-convert]");
    TkvfOrder order;
    LoadOrder(args.Positional()[0], args, order);
    PrintJson(OrderToJson(order));
    return 0;
  }
  if (verb == "from-json") {
    args.ExpectPositional(2, 2, "kvf order from-json JSON OUT [--force]");
    const TJson j = ReadJsonFile(args.Positional()[0]);
    CheckOverwrite(args.Positional()[1], args);
    TkvfOrder order;
    OrderFromJson(j, order);
    return order.SaveToFile(args.Positional()[1]) ? 0 : 1;
  }
  if (verb == "recalc" || verb == "reprice") {
    args.ExpectPositional(1, 1, "kvf order recalc|reprice FILE [--catalog DIR | --config NAME] [--debug] [--write]");
    const std::string file = args.Positional()[0];
    TkvfOrder order;
    LoadOrder(file, args, order);
    TOpenedCatalog catalog = OpenCatalog(args);
    Setup().DebugMode = args.Flag("debug");
    TPricingContext context(order);
    const int failures =
        verb == "recalc"
            ? ChangePositions(order, false, [](TkvfConstruction& p) { p.SetFittings(StoredChoice(p)); })
            : ChangePositions(order, true, [](TkvfConstruction& p) { p.RecalcPrice(); });
    return Finish(order, file, args, failures);
  }
  if (verb == "materials") {
    args.ExpectPositional(1, 1, "kvf order materials ФАЙЛ [--catalog ПАПКА | --config ИМЯ] [--csv | --json]");
    TkvfOrder order;
    LoadOrder(args.Positional()[0], args, order);
    TkvfMatList list;
    order.CollectMaterials(list);
    const TMaterialFormat format = MaterialFormat(args);
    TOpenedCatalog catalog;
    bool withCatalog = false;
    try {
      catalog = OpenCatalog(args);
      withCatalog = true;
    } catch (const TUsageError&) {
      if (args.Value("catalog") || args.Value("config")) throw;
      // no catalog named and no default configuration: the lines without names
    }
    PrintMaterials(list, format, withCatalog, {order.FCurrencyID, order.FNDSTax, order.FTotalNDS});
    return 0;
  }
  throw TUsageError("неизвестная команда: kvf order " + verb);
}

}  // namespace kvf::cli
