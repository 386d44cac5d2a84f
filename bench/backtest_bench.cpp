// The backtests over the bundled history (about 7 700 draws), headless as the batch program runs them:
//  - each recurrence test (Button7 ... Button11) from the first draw to the newest;
//  - "Erfolgstest" with the design options and "Gesamt-Tipps" 5 from the first draw: one generator run
//    per draw, without the comparison with chance (as the batch program without --chance) and with it
//    (as the desktop program);
//  - the comparison alone: five tips for each of the ~7 700 draws redrawn 1 000 times, and the recurrence
//    comparison of a whole-history Button10;
//  - the data of the odds dialog and the list's outlook of "Gewinne";
//  - "Erfolgstest" with "keine 6 Richtige in der Historie" (Chekcbox9, UpDown6 = 6) and one tip, from
//    01.12.2025 and from the first draw: nearly every run spends its 100 000 attempts and scans the
//    history for most candidates. On every code path beside the reference (one draw after another,
//    every history draw in turn); wall time. The whole history on the reference path takes minutes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "app/AppController.h"
#include "app/Model.h"
#include "app/Session.h"
#include "app/evaluation/Backtest.h"
#include "base/GermanFormat.h"
#include "bench/BundledHome.h"
#include "bench/PathReport.h"
#include "core/evaluation/Chance.h"
#include "core/ports/NullSeams.h"
#include "core/ports/SettingsStore.h"
#include "platform/SystemClock.h"

namespace {

using namespace zf;

const std::string& home() {
    static const std::string dir = bench::bundledHome("zf_backtest_bench");
    return dir;
}

class LuckyPrompter : public Prompter, public NoDialogs {
public:
    void message(const std::string&) override {}
    bool question(const std::string&) override { return true; }
    std::optional<std::string> input(const std::string&, const std::string&, const std::string&) override {
        return "4711";
    }
};

struct Desk {
    LuckyPrompter prompter;
    NullShell shell;
    NullSound sound;
    FixedClock clock{dateValue(2025, 12, 30)};
    MemorySettingsStore store;
    Session session{prompter, dialogsOf(prompter), shell, sound, clock, store};
    Model& m = session.model;
    Desk() {
        m.home = home();
        m.hitCheckOn = true;
        m.statsStart = Model::statsStartMin;
        m.setTotalTips(5);
        m.on(Opt::ClearBeforeRun) = true;
    }
    void fromFirstDraw() { m.setBrowseDate(Model::browseDateMin); }
};

void BM_RecurrenceTest(benchmark::State& s) {
    const auto kind = static_cast<BacktestKind>(s.range(0));
    Desk d;
    for (auto _ : s) {
        d.fromFirstDraw();
        if (!d.session.backtest.run(kind)) s.SkipWithError("no report");
    }
    s.SetLabel(std::string(backtestName(kind)));
}
BENCHMARK(BM_RecurrenceTest)
    ->DenseRange(static_cast<int>(BacktestKind::NextDraw), static_cast<int>(BacktestKind::LastThreeDraws))
    ->Unit(benchmark::kMillisecond);

void BM_Erfolgstest(benchmark::State& s) {
    Desk d;
    d.session.backtest.compareWithChance = s.range(0) != 0;
    for (auto _ : s) {
        d.fromFirstDraw();
        if (!d.session.backtest.run(BacktestKind::TipsPerDraw)) s.SkipWithError("no report");
    }
    s.SetLabel(s.range(0) ? "with the comparison" : "without it");
}
BENCHMARK(BM_Erfolgstest)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

// What the comparison itself costs: a whole history of five tips per draw, redrawn 1 000 times.
void BM_ChanceGeneratorComparison(benchmark::State& s) {
    Desk d;
    d.m.draws.setPath(d.m.kenoPath());
    d.session.browser.readHistory();
    const auto& records = d.m.draws.records();
    TipCheckRecord record;
    uint64_t x = 1;
    for (size_t i = 1; i < records.size(); ++i) {
        std::vector<Tip70> tips(5);
        for (Tip70& t : tips)
            while (t.size() < 10) {
                x = x * 6364136223846793005ull + 1442695040888963407ull;
                t.add(static_cast<int>(x >> 58) + 1 + static_cast<int>((x >> 40) % 7));
            }
        std::array<int, 21> zahl{};
        for (size_t k = 0; k < 20; ++k) zahl[k + 1] = records[i].zahl[k];
        record.addPass(tips, drawnNumbers(zahl));
    }
    for (auto _ : s) benchmark::DoNotOptimize(compareGenerator(BacktestKind::TipsPerDraw, record, 10, 0));
    s.SetLabel(std::to_string(record.checks()) + " tip checks");
}
BENCHMARK(BM_ChanceGeneratorComparison)->Unit(benchmark::kMillisecond);

void BM_ChanceRecurrenceComparison(benchmark::State& s) {
    BacktestTotals t;
    t.passes = 7663;
    const HitLaw& law = hitLaw(20);
    for (int h = 0; h <= 20; ++h) t.hits[size_t(h)] = std::llround(3.0 * t.passes * law.probability(h));
    for (auto _ : s) benchmark::DoNotOptimize(compareRecurrence(BacktestKind::NextThreeDraws, t));
}
BENCHMARK(BM_ChanceRecurrenceComparison)->Unit(benchmark::kMillisecond);

// "Chancen": everything the dialog shows.
void BM_OddsTable(benchmark::State& s) {
    for (auto _ : s) {
        const OddsTable t = oddsTable(10, 3);
        benchmark::DoNotOptimize(oddsLines(t));
    }
}
BENCHMARK(BM_OddsTable)->Unit(benchmark::kMicrosecond);

// "Gewinne" beside chance: tips of type 10 that won 22 euros in the draw (the longest list by random trials).
void BM_ListOutlook(benchmark::State& s) {
    const std::vector<std::string> tips(static_cast<size_t>(s.range(0)), "01,02,03,04,05,06,07,08,09,10");
    std::vector<uint8_t> hits(tips.size(), 3);
    hits[0] = 7;
    hits[1] = 6;
    hits[2] = 5;
    for (auto _ : s) benchmark::DoNotOptimize(listOutlook(tips, hits, 10, 0));
}
BENCHMARK(BM_ListOutlook)->Arg(100)->Arg(5000)->Arg(500000)->Unit(benchmark::kMillisecond);

// Arguments: the code path, and the first base draw as a date value (0: the first draw).
void BM_ErfolgstestNoSixInHistory(benchmark::State& s) {
    const auto path = static_cast<CodePath>(s.range(0));
    if (!codePathAvailable(path)) return s.SkipWithError("this processor cannot run the path");
    Desk d;
    d.session.generator.setCodePath(path);
    d.m.setTotalTips(1);
    d.m.on(Opt::NoHistoryMatch) = true;
    d.m.num(Num::HistoryMatch).set(6);
    std::string report;
    for (auto _ : s) {
        if (s.range(1) == 0)
            d.fromFirstDraw();
        else
            d.m.setBrowseDate(static_cast<double>(s.range(1)));
        if (!d.session.backtest.run(BacktestKind::TipsPerDraw)) s.SkipWithError("no report");
        report.clear();
        for (const auto& line : d.session.backtest.report()) report += line + "\n";
    }
    // The report is the same on every path: a short fingerprint of it to compare.
    uint64_t h = 1469598103934665603ull;
    for (unsigned char ch : report) h = (h ^ ch) * 1099511628211ull;
    s.counters["report"] = static_cast<double>(h % 1000000);
}

void registerPaths() {
    for (CodePath p : {CodePath::Reference, CodePath::Generic, CodePath::Avx2})
        for (const auto& [name, from] :
             {std::pair<std::string, int>{"From01122025", static_cast<int>(dateValue(2025, 12, 1))},
              {"WholeHistory", 0}})
            benchmark::RegisterBenchmark(bench::pathName("BM_ErfolgstestNoSixInHistory" + name, p).c_str(),
                                         BM_ErfolgstestNoSixInHistory)
                ->Args({static_cast<int>(p), from})
                ->UseRealTime()
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1);
}

} // namespace

int main(int argc, char** argv) {
    registerPaths();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::PathReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
