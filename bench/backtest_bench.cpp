// The backtests over the bundled history (about 7 700 draws), headless as the batch program runs them:
//  - each recurrence test (Button7 ... Button11) from the first draw to the newest;
//  - "Erfolgstest" with the design options and "Gesamt-Tipps" 5 from the first draw: one generator run
//    per draw.
#include <benchmark/benchmark.h>

#include <string>

#include "app/AppController.h"
#include "app/Model.h"
#include "app/Session.h"
#include "app/evaluation/Backtest.h"
#include "base/GermanFormat.h"
#include "bench/BundledHome.h"
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
    for (auto _ : s) {
        d.fromFirstDraw();
        if (!d.session.backtest.run(BacktestKind::TipsPerDraw)) s.SkipWithError("no report");
    }
}
BENCHMARK(BM_Erfolgstest)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
