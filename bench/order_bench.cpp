// An order of 1 000 two-sash positions with 40 article lines per sash:
// writing and reading its file, and collecting its materials.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fmt/format.h>

#include "core/spec_stream.h"
#include "engine/furn_comp.h"
#include "engine/order.h"

namespace {

namespace fs = std::filesystem;

void FillSash(kvf::TkvfFlugel& sash, int position) {
  sash.FComplement = std::make_unique<kvf::TkvfFurnComp>(&sash);
  sash.FComplement->FComplect = "DK-STULP-L";
  for (int i = 0; i < 40; ++i) {
    const std::string article = fmt::format("KV-ART-{:03}", (i * 7 + position) % 120);
    sash.FComplement->Items.push_back({article, i % 5 == 0 ? 650.5f : 0.0f, 1 + i % 3, "", "заметка", i % 4, 0, 0, 0,
                                       "DK-STULP-L"});
    sash.FMatList.push_back({article, static_cast<float>(1 + i % 3), kvf::TMoney::FromUnits(12), 0, {},
                             kvf::TMoney::FromUnits(12), kvf::TMoney::FromUnits(12 * (1 + i % 3))});
  }
}

kvf::TkvfOrder& BigOrder() {
  static kvf::TkvfOrder order;
  if (order.Count() == 0) {
    order.FOrderNo = "BENCH";
    for (int i = 0; i < 1000; ++i) {
      auto p = order.NewPosition();
      p->FPosNo = fmt::format("{:04}", i + 1);
      p->FSashLayout = 0;
      p->FNumber = 1 + i % 4;
      p->BuildOutlines({1400, 1500, 2, 700, 700}, 201);
      FillSash(*p->FFlugel1, i);
      FillSash(*p->FFlugel2, i + 1);
      order.Positions.push_back(std::move(p));
    }
  }
  return order;
}

const fs::path& File() {
  static const fs::path file = fs::temp_directory_path() / "kvf_bench_order.kfo370";
  return file;
}

void BM_SaveOrder(benchmark::State& state) {
  kvf::TkvfOrder& order = BigOrder();
  for (auto _ : state) benchmark::DoNotOptimize(order.SaveToFile(File().string()));
  state.counters["bytes"] = static_cast<double>(fs::file_size(File()));
}
BENCHMARK(BM_SaveOrder)->Unit(benchmark::kMillisecond);

void BM_LoadOrder(benchmark::State& state) {
  BigOrder().SaveToFile(File().string());
  for (auto _ : state) {
    kvf::TkvfOrder order;
    bool converted = false;
    benchmark::DoNotOptimize(order.LoadFromFile(File().string(), converted));
  }
}
BENCHMARK(BM_LoadOrder)->Unit(benchmark::kMillisecond);

void BM_CollectMaterials(benchmark::State& state) {
  kvf::TkvfOrder& order = BigOrder();
  for (auto _ : state) {
    kvf::TkvfMatList list;
    order.CollectMaterials(list);
    benchmark::DoNotOptimize(list.size());
  }
}
BENCHMARK(BM_CollectMaterials)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
