// Catalog storage benchmarks on a synthetic catalog of 100 000 articles, 2 000
// complects and 300 000 article-condition rows:
//   opening all tables, an exact key search, and the filter-then-first pattern
//   of the article pick on FrnArt.
#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include <filesystem>
#include <random>

#include "catalog/dm.h"
#include "catalog/lookups.h"
#include "core/prompts.h"
#include "synthetic_catalog.h"

namespace {

namespace fs = std::filesystem;
using kvf::bench::ArticleCode;
using kvf::bench::ElementCode;

const fs::path& CatalogDir() {
  static const fs::path dir = [] {
    const fs::path d = fs::temp_directory_path() / "kvf_bench_catalog";
    fs::create_directories(d);
    if (!fs::exists(d / "kvfcatalog.sqlite")) kvf::bench::WriteSyntheticCatalog(d);
    return d;
  }();
  return dir;
}

void BM_OpenAllTables(benchmark::State& state) {
  const fs::path dir = CatalogDir();
  for (auto _ : state) {
    kvf::TDM dm;
    dm.ConnectDatabase("KMDB_Catalog", dir);
    benchmark::DoNotOptimize(dm.OpenTables());
  }
}
BENCHMARK(BM_OpenAllTables)->Unit(benchmark::kMillisecond);

struct TOpenCatalog {
  kvf::TDM dm;
  TOpenCatalog() {
    dm.ConnectDatabase("KMDB_Catalog", CatalogDir());
    dm.OpenTables();
    kvf::SetDM(&dm);
  }
  ~TOpenCatalog() { kvf::SetDM(nullptr); }
};

void BM_ExactKeySearch(benchmark::State& state) {
  TOpenCatalog open;
  std::mt19937 rng(1);
  for (auto _ : state) {
    const std::string id = ArticleCode(static_cast<int>(rng() % 100000));
    benchmark::DoNotOptimize(open.dm.T_Catalog.FindKey({id}));
    benchmark::DoNotOptimize(open.dm.T_Catalog.AsString("Name"));
  }
}
BENCHMARK(BM_ExactKeySearch)->Unit(benchmark::kMicrosecond);

// What the article pick does: locate the element, filter by its conditions,
// take the first row and its fields, count the rows, remove the filter.
void BM_FilteredArticlePick(benchmark::State& state) {
  TOpenCatalog open;
  kvf::TTable& art = open.dm.T_FrnArt;
  std::mt19937 rng(2);
  for (auto _ : state) {
    const std::string element = ElementCode(static_cast<int>(rng() % 6000));
    const int ffb = 30 + static_cast<int>(rng() % 120);
    benchmark::DoNotOptimize(art.Locate({"ID"}, {element}));
    {
      kvf::TFilterScope filter(art, fmt::format("FFBMin <= {0} and FFBMax >= {0} and FalzLuft = 12 and ID='{1}' "
                                                "and Color = 'WH' ", ffb, element));
      art.First();
      benchmark::DoNotOptimize(art.AsString("CatalogID"));
      benchmark::DoNotOptimize(art.AsInteger("HandleHeight"));
      benchmark::DoNotOptimize(art.RecordCount());
    }
  }
}
BENCHMARK(BM_FilteredArticlePick)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
