// The backtests over the bundled history (about 7 700 draws), headless as the batch program runs them:
//  - each recurrence test (Button7 ... Button11) from the first draw to the newest;
//  - "Erfolgstest" with the design options and "Gesamt-Tipps" 5 from the first draw: one generator run
//    per draw;
//  - "Erfolgstest" with "keine 6 Richtige in der Historie" (Chekcbox9, UpDown6 = 6) and one tip, from
//    01.12.2025 and from the first draw: nearly every run spends its 100 000 attempts and scans the
//    history for most candidates. On every code path beside the reference (one draw after another,
//    every history draw in turn); wall time. The whole history on the reference path takes minutes.
#include <benchmark/benchmark.h>

#include <string>

#include "app/AppController.h"
#include "app/Model.h"
#include "app/Session.h"
#include "app/evaluation/Backtest.h"
#include "base/GermanFormat.h"
#include "bench/BundledHome.h"
#include "bench/PathReport.h"
#include "core/ports/NullSeams.h"
#include "core/ports/SettingsStore.h"
#include "platform/SystemClock.h"

namespace {

using namespace zf;

const std::string& home() {
    static const std::string dir = bench::bundledHome("zf_backtest_bench");
    return dir;
}

class LuckyPrompter : public Prompter {
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
    Session session{prompter, shell, sound, clock, store};
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
    for (auto _ : s) {
        d.fromFirstDraw();
        if (!d.session.backtest.run(BacktestKind::TipsPerDraw)) s.SkipWithError("no report");
    }
}
BENCHMARK(BM_Erfolgstest)->Unit(benchmark::kMillisecond)->Iterations(1);

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
