// Every statistic over the whole bundled history, as the commands run them (the window settled,
// the draws already in memory), and the commands with the cached Keno.dat refresh included.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/AppController.h"
#include "app/Model.h"
#include "app/stats/StatsController.h"
#include "base/GermanFormat.h"
#include "core/draws/DrawStore.h"
#include "core/ports/Seams.h"
#include "core/stats/Statistics.h"

namespace {

using namespace zf;

const std::string& kenoFile() {
    static const std::string path = [] {
        const auto dir = std::filesystem::temp_directory_path() / "zf_stats_bench";
        std::filesystem::create_directories(dir);
        const std::string p = (dir / "Keno.dat").string();
        writeBundledHistory(p, nullptr);
        return p;
    }();
    return path;
}

// The bundled history with Plus 5 numbers filled in, so the Plus 5 statistics count every draw.
const std::vector<DrawRecord>& history() {
    static const std::vector<DrawRecord> records = [] {
        DrawStore store(kenoFile());
        store.refresh();
        std::vector<DrawRecord> r = store.records();
        uint32_t state = 1;
        for (auto& d : r) {
            d.flags = 0;
            for (auto& digit : d.zahl5) {
                state = state * 134775813u + 1;
                digit = uint8_t((uint64_t(state) * 10) >> 32);
            }
        }
        return r;
    }();
    return records;
}

const stats::Window& everything() {
    static const stats::Window w = stats::settleWindow(kStatsMinDate, history().back().datum);
    return w;
}

void BM_NumberDistribution(benchmark::State& s) {
    for (auto _ : s) benchmark::DoNotOptimize(stats::numberDistribution(history(), everything()));
}
void BM_CrossSums(benchmark::State& s) {
    for (auto _ : s) benchmark::DoNotOptimize(stats::crossSums(history(), everything()));
}
void BM_Overdue(benchmark::State& s) {
    for (auto _ : s) benchmark::DoNotOptimize(stats::overdue(history(), everything()));
}
void BM_Runs(benchmark::State& s) {
    const int length = int(s.range(0));
    for (auto _ : s) benchmark::DoNotOptimize(stats::runs(history(), everything(), length));
}
void BM_Plus5Digits(benchmark::State& s) {
    const int position = int(s.range(0));
    const auto mode = stats::Plus5Mode(s.range(1));
    for (auto _ : s) benchmark::DoNotOptimize(stats::plus5Digits(history(), everything(), position, mode));
}
void BM_Plus5Sums(benchmark::State& s) {
    for (auto _ : s) benchmark::DoNotOptimize(stats::plus5Sums(history(), everything()));
}
void BM_TipDistribution(benchmark::State& s) {
    // A tip list of a thousand ten-number tips.
    std::vector<std::string> tips;
    for (int i = 0; i < 1000; ++i) {
        std::string line;
        for (int k = 0; k < 10; ++k) line += (k ? "," : "") + std::to_string((i * 7 + k * 13) % 70 + 1);
        tips.push_back(line);
    }
    for (auto _ : s) benchmark::DoNotOptimize(stats::tipDistribution(tips));
}

class NoPrompter : public Prompter {
public:
    void message(const std::string&) override {}
    bool question(const std::string&) override { return true; }
    std::optional<std::string> input(const std::string&, const std::string&, const std::string& p) override {
        return p;
    }
};

// A whole command as the generator runs it: Keno.dat checked for changes, window, count, chart.
void BM_CommandPairsWholeHistory(benchmark::State& s) {
    Model m;
    NoPrompter p;
    StatsController c(m, p);
    m.home = std::filesystem::path(kenoFile()).parent_path().string() + "/";
    m.setBrowseDate(history().back().datum);
    m.setStatsStart(kStatsMinDate);
    for (auto _ : s) benchmark::DoNotOptimize(c.showPairs());
}

} // namespace

BENCHMARK(BM_NumberDistribution)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CrossSums)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Overdue)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Runs)->Arg(2)->Arg(3)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Plus5Digits)->Args({1, 0})->Args({6, 0})->Args({6, 1})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Plus5Sums)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TipDistribution)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CommandPairsWholeHistory)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
