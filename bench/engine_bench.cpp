// One sash's SetFittings (the whole calculation included), on the demo catalog
// and on the large synthetic catalog.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "catalog/catalog_files.h"
#include "catalog/dm.h"
#include "catalog/lookups.h"
#include "core/setup.h"
#include "engine/furn_comp.h"
#include "engine/order.h"
#include "synthetic_catalog.h"

namespace {

namespace fs = std::filesystem;

struct TCatalogRun {
  kvf::TDM dm;
  kvf::TkvfOrder order;
  explicit TCatalogRun(const fs::path& dir) {
    dm.ConnectDatabase("KMDB_Catalog", dir);
    dm.OpenTables();
    kvf::SetDM(&dm);
    kvf::LoadCurrencyRates(order.FCurrencyRates);
    order.FInnerProfColor = order.FOuterProfColor = "WH";
    kvf::Setup().CurrentRates = &order.FCurrencyRates;
    kvf::Setup().CurrentCurrency = 1;
  }
  ~TCatalogRun() {
    kvf::Setup().CurrentRates = nullptr;
    kvf::SetDM(nullptr);
  }
};

void RunSetFittings(benchmark::State& state, TCatalogRun& run, const kvf::TkvfFittingsChoice& choice) {
  auto position = run.order.NewPosition();
  position->BuildOutlines({700, 1400, 0}, 201);
  size_t lines = 0;
  for (auto _ : state) {
    position->SetFittings(choice);
    lines = position->FFlugel1->FComplement->Items.size();
  }
  state.counters["lines"] = static_cast<double>(lines);
}

// A one-sash turn-tilt window of system 1200 on P70 profile, white fittings.
kvf::TkvfFittingsChoice WhiteTurnTiltChoice() {
  kvf::TkvfFittingsChoice c;
  c.FFurnSys = "1200";
  c.FProfSys = "P70";
  c.FFurnColor = "WH";
  c.FFalzType = 101;
  c.FFlugelType = 401;
  return c;
}

void BM_SetFittingsDemoCatalog(benchmark::State& state) {
  const fs::path dir = fs::temp_directory_path() / "kvf_bench_demo";
  kvf::BuildCatalogFromCsv(fs::path(KVF_SOURCE_DIR) / "data/catalog", dir);
  TCatalogRun run(dir);
  kvf::TkvfFittingsChoice c = WhiteTurnTiltChoice();
  c.sash1.FComplect = "DK-L";
  c.sash1.FHandle = "HW-STD";
  c.sash1.FDornType = 201;
  c.sash1.FProperties = {"0=21"};
  RunSetFittings(state, run, c);
}
BENCHMARK(BM_SetFittingsDemoCatalog)->Unit(benchmark::kMicrosecond);

void BM_SetFittingsLargeCatalog(benchmark::State& state) {
  const fs::path dir = fs::temp_directory_path() / "kvf_bench_catalog";
  fs::create_directories(dir);
  if (!fs::exists(dir / "kvfcatalog.sqlite")) kvf::bench::WriteSyntheticCatalog(dir);
  TCatalogRun run(dir);
  kvf::TkvfFittingsChoice c = WhiteTurnTiltChoice();
  c.sash1.FComplect = kvf::bench::ComplectCode(17);
  c.sash1.FDornType = 201;
  RunSetFittings(state, run, c);
}
BENCHMARK(BM_SetFittingsLargeCatalog)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
