// Reading the draw history: the cached store against reading Keno.dat afresh.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "app/AppController.h"
#include "app/Model.h"
#include "app/Services.h"
#include "app/evaluation/TipCheck.h"
#include "core/draws/DrawStore.h"
#include "platform/SystemClock.h"

namespace {

std::string benchFile() {
    static const std::string path = [] {
        const auto dir = std::filesystem::temp_directory_path() / "zf_bench";
        std::filesystem::create_directories(dir);
        const std::string p = (dir / "Keno.dat").string();
        zf::writeBundledHistory(p, nullptr);
        return p;
    }();
    return path;
}

void BM_ReadKenoDatFromDisk(benchmark::State& state) {
    const std::string path = benchFile();
    for (auto _ : state) {
        zf::DrawStore store(path);
        store.refresh();
        benchmark::DoNotOptimize(store.size());
    }
}
BENCHMARK(BM_ReadKenoDatFromDisk)->Unit(benchmark::kMicrosecond);

void BM_CachedRefresh(benchmark::State& state) {
    zf::DrawStore store(benchFile());
    store.refresh();
    for (auto _ : state) {
        store.refresh();
        benchmark::DoNotOptimize(store.size());
    }
}
BENCHMARK(BM_CachedRefresh)->Unit(benchmark::kMicrosecond);

void BM_HitsOverWholeHistory(benchmark::State& state) {
    zf::DrawStore store(benchFile());
    store.refresh();
    zf::DrawBits tip;
    for (int n : {3, 9, 17, 22, 31, 40, 45, 58, 61, 70}) tip.set(n);
    for (auto _ : state) {
        int best = 0;
        for (const auto& b : store.bits()) best = std::max(best, b.hits(tip));
        benchmark::DoNotOptimize(best);
    }
}
BENCHMARK(BM_HitsOverWholeHistory)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
