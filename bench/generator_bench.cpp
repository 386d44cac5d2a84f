// The tip generator over the bundled history (about 7 700 draws):
//  - one call of the history filter "Tipp darf noch keinen ...er" over the whole history, as the
//    generator makes it (the columns of the history index), beside the look at every draw as a 70-bit
//    set in memory and the plain way of a filter that owns no cache: open Keno.dat, read it record by
//    record and run the tip check on each draw;
//  - the acceptance chain alone with the design options, random candidates of ten numbers;
//  - a whole run with the design options, Keno type 10 and 120 tips;
//  - a demanding run ("Tipp darf noch keinen 6er ..." over the whole history), attempts per second;
//  - one run with the design options and five tips as of a base draw in the middle of the history;
//  - the success test's walk: for every base draw from the first to the newest, the same seed, a run
//    to the end, a step of the browser (about 7 700 runs);
//  - "Tipps erzeugen" over 20 numbers with Keno type 10: 184 756 combinations written, then checked
//    through the whole chain with the history filters on, the table written.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/AppController.h"
#include "app/Model.h"
#include "app/Session.h"
#include "app/draws/Browser.h"
#include "app/evaluation/TipCheck.h"
#include "app/generator/AcceptanceChain.h"
#include "app/generator/Enumeration.h"
#include "app/generator/GeneratorController.h"
#include "base/GermanFormat.h"
#include "base/Random.h"
#include "bench/BundledHome.h"
#include "core/draws/DrawStore.h"
#include "core/generator/HistoryIndex.h"
#include "core/generator/NumberChoice.h"
#include "core/ports/NullSeams.h"
#include "core/ports/SettingsStore.h"
#include "platform/SystemClock.h"

namespace {

using namespace zf;

const std::string& home() {
    static const std::string dir = bench::bundledHome("zf_generator_bench");
    return dir;
}

// A tip no draw of the history holds completely: the filter with limit 10 reads every draw.
const char* const kTipText = "3,11,19,27,35,43,51,59,64,67,";
constexpr int kLimit = 10;

DrawBits tipBits() {
    DrawBits b;
    for (int x : {3, 11, 19, 27, 35, 43, 51, 59, 64, 67}) b.set(x);
    return b;
}

void BM_HistoryFilterInMemory(benchmark::State& s, bool everyDraw) {
    DrawStore store(home() + "Keno.dat");
    store.refresh();
    HistoryIndex index;
    index.build(store.records(), store.bits());
    const DrawBits tip = tipBits();
    const double start = kStatsMinDate, end = store.lastDate();
    bool free = false;
    for (auto _ : s) {
        // What one filter call does: the window of the pickers, then the search.
        const auto range = index.window(start, end);
        free = everyDraw ? !index.anyWithHitsByScan(range, tip, kLimit) : !index.anyWithHits(range, tip, kLimit);
        benchmark::DoNotOptimize(free);
    }
    if (!free) s.SkipWithError("the tip was found in the history: the scan ended early");
    s.counters["draws"] = static_cast<double>(index.size());
}

// The filter without a cache: every call opens the draw file and reads it from its first record, loads
// each draw of the window into the current-draw register and runs the tip check on the tip text.
bool secheroderfuenferFromFile(Model& m, const std::string& path, const std::string& tipText, int limit) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return true;
    const double start = m.statsStart, end = m.browseDate;
    uint8_t buf[kRecordSize];
    bool free = true;
    while (std::fread(buf, 1, kRecordSize, f) == kRecordSize) {
        const DrawRecord r = decodeRecord(buf);
        if (!(start < r.datum && r.datum <= end)) continue;
        m.drawDate = r.datum;
        for (size_t i = 0; i < 20; ++i) m.drawNumbers[i + 1] = r.zahl[i];
        checkTip(m, tipText);
        if (m.tipHits >= limit) {
            free = false;
            break;
        }
    }
    std::fclose(f);
    return free;
}

void BM_HistoryFilterReadingKenoDat(benchmark::State& s) {
    Model m;
    m.statsStart = kStatsMinDate;
    DrawStore store(home() + "Keno.dat");
    store.refresh();
    m.browseDate = store.lastDate();
    bool free = false;
    for (auto _ : s) {
        free = secheroderfuenferFromFile(m, home() + "Keno.dat", kTipText, kLimit);
        benchmark::DoNotOptimize(free);
    }
    if (!free) s.SkipWithError("the tip was found in the history: the scan ended early");
}

class NoPrompter : public Prompter {
public:
    void message(const std::string&) override {}
    bool question(const std::string&) override { return true; }
    std::optional<std::string> input(const std::string&, const std::string&, const std::string& p) override {
        return p;
    }
    // "Liste bearbeiten": the numbers 1..poolSize ticked, left with "&Rechnen".
    int poolSize = 20;
    ModalResult numberDialog(NumberChoice& f) override {
        f.untickAll(BoxColour::Normal);
        for (int k = 1; k <= poolSize; ++k) {
            f.ticked[static_cast<size_t>(k)] = true;
            f.hint[static_cast<size_t>(k)] = "1";
        }
        return ModalResult::Retry;
    }
};

struct Desk {
    NoPrompter prompter;
    NullShell shell;
    NullSound sound;
    FixedClock clock{dateValue(2025, 12, 30)};
    MemorySettingsStore store;
    Session session{prompter, shell, sound, clock, store};
    Model& m = session.model;
    Browser& browser = session.browser;
    GeneratorController& gen = session.generator;
    Desk() {
        m.home = home();
        m.hitCheckOn = true;
        m.statsStart = kStatsMinDate;
        m.draws.setPath(m.kenoPath());
        m.draws.refresh();
        m.setBrowseDate(m.draws.lastDate());
    }
};

void BM_AcceptanceChainDesignOptions(benchmark::State& s) {
    // The first tip of a run: no list yet, the last three draws of the history.
    Desk d;
    AcceptanceChain chain(d.m);
    chain.refreshHistory();
    chain.beginRun();
    RunState run;
    run.n = 10;
    const auto& recs = d.m.draws.records();
    for (size_t back = 0; back < 3; ++back) run.recentBits[back] = bitsOf(recs[recs.size() - 1 - back]);
    Random random;
    random.setState(1);
    unsigned long long candidates = 0, passed = 0;
    for (auto _ : s) {
        Tipp tipp{};
        Candidate c;
        for (int j = 1; j <= run.n;) {
            const int x = static_cast<int>(random.below(70)) + 1;
            if (c.mask.has(x)) continue;
            c.mask.set(x);
            tipp[static_cast<size_t>(j++)] = static_cast<uint8_t>(x);
        }
        const int crossSum = arrangeCandidate(tipp, c, run.n, false);
        passed += chain.accepts(tipp, c, crossSum, run);
        ++candidates;
    }
    s.counters["candidates/s"] = benchmark::Counter(static_cast<double>(candidates), benchmark::Counter::kIsRate);
    s.counters["passed"] = static_cast<double>(passed) / static_cast<double>(candidates ? candidates : 1);
}

void BM_RunDesignOptions120Tips(benchmark::State& s) {
    Desk d;
    d.m.setTotalTips(120);
    uint32_t seed = 1;
    for (auto _ : s) {
        d.m.random.setState(seed++);
        d.gen.runToEnd();
    }
    s.counters["tips"] = static_cast<double>(d.m.tipLines.size());
    s.counters["attempts"] = static_cast<double>(d.gen.attemptsOfLastRun());
}

void BM_RunDemanding(benchmark::State& s) {
    // No draw of the whole history may hold six numbers of the tip: hardly any tip of ten passes,
    // so the run spends all its attempts and every candidate that passes the cheap tests is scanned.
    Desk d;
    d.m.setTotalTips(1);
    d.m.num(Num::HistoryMatch).set(6);
    d.m.on(Opt::NoHistoryMatch) = true;
    unsigned long long attempts = 0, scans = 0;
    uint32_t seed = 1;
    for (auto _ : s) {
        d.m.random.setState(seed++);
        d.gen.runToEnd();
        attempts += d.gen.attemptsOfLastRun();
        scans += d.gen.historyScansOfLastRun();
    }
    s.counters["attempts/s"] = benchmark::Counter(static_cast<double>(attempts), benchmark::Counter::kIsRate);
    s.counters["scans/s"] = benchmark::Counter(static_cast<double>(scans), benchmark::Counter::kIsRate);
}

void BM_RunDesignOptions5TipsMidHistory(benchmark::State& s) {
    Desk d;
    d.m.setTotalTips(5);
    const auto& recs = d.m.draws.records();
    d.m.setBrowseDate(recs[recs.size() / 2].datum);
    d.browser.seekDate();
    for (auto _ : s) {
        d.gen.seed(4711);
        d.gen.runToEnd();
    }
    s.counters["attempts"] = static_cast<double>(d.gen.attemptsOfLastRun());
}

// What the success test ("ErfolgstestClick") does with the generator and the browser.
void BM_SuccessTestWalk(benchmark::State& s) {
    Desk d;
    d.m.setTotalTips(5);
    unsigned long long runs = 0, attempts = 0;
    for (auto _ : s) {
        d.m.setBrowseDate(d.m.draws.records().front().datum);
        d.browser.seekDate();
        for (;;) {
            d.gen.seed(4711);
            d.gen.runToEnd();
            ++runs;
            attempts += d.gen.attemptsOfLastRun();
            const int before = d.m.drawIndex;
            d.browser.next();
            if (d.m.drawIndex == before) break;
        }
    }
    s.counters["runs"] = benchmark::Counter(static_cast<double>(runs), benchmark::Counter::kAvgIterations);
    s.counters["attempts"] = benchmark::Counter(static_cast<double>(attempts), benchmark::Counter::kAvgIterations);
}

// With the design options nearly every combination of 1..20 fails a cheap test (triples, the hits with
// the last draws) before the history filters; with those tests off every combination is scanned and
// the passing ones fill the tip list.
void BM_Enumeration20Choose10(benchmark::State& s, bool everyCandidateScanned) {
    Desk d;
    d.prompter.poolSize = static_cast<int>(s.range(0));
    if (everyCandidateScanned)
        for (Opt o : {Opt::NoTriples, Opt::LastDrawHits, Opt::SecondDrawHits, Opt::ThirdDrawHits, Opt::MaxOverlap,
                      Opt::MinOverlap, Opt::MaxOccurrence})
            d.m.on(o) = false;
    d.m.on(Opt::EditPool) = true;
    d.m.on(Opt::ClearBeforeRun) = true;
    d.m.num(Num::KenoType).set(10);
    d.session.enumeration.freeSpace = [](const std::string&) { return std::optional<uintmax_t>(); };
    for (auto _ : s) d.gen.toggleEnumeration();
    if (d.gen.attemptsOfLastRun() !=
        static_cast<unsigned long long>(Enumeration::combinations(static_cast<int>(s.range(0)), 10)))
        s.SkipWithError("not every combination was checked");
    s.counters["scans"] = static_cast<double>(d.gen.historyScansOfLastRun());
    s.counters["tips"] = static_cast<double>(d.m.tipLines.size());
}

} // namespace

BENCHMARK_CAPTURE(BM_HistoryFilterInMemory, Columns, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_HistoryFilterInMemory, EveryDraw, true)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HistoryFilterReadingKenoDat)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AcceptanceChainDesignOptions)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_RunDesignOptions120Tips)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunDemanding)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunDesignOptions5TipsMidHistory)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SuccessTestWalk)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Enumeration20Choose10, DesignOptions, false)
    ->Arg(20)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_Enumeration20Choose10, EveryCandidateScanned, true)
    ->Arg(20)
    ->Arg(24)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

namespace {

// The console report, with the ratio of the two filter benchmarks at its end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_None) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        // The median of repetitions where there is one, else the fastest repetition.
        for (const Run& r : runs) {
            if (r.error_occurred) continue;
            const std::string name = r.run_name.str();
            const double cpu = r.GetAdjustedCPUTime();
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                median_[name] = cpu;
            else if (r.run_type == Run::RT_Iteration && (!fastest_.count(name) || cpu < fastest_[name]))
                fastest_[name] = cpu;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        cpu_ = fastest_;
        for (const auto& [name, cpu] : median_) cpu_[name] = cpu;
        const auto columns = cpu_.find("BM_HistoryFilterInMemory/Columns");
        const auto everyDraw = cpu_.find("BM_HistoryFilterInMemory/EveryDraw");
        const auto file = cpu_.find("BM_HistoryFilterReadingKenoDat");
        if (columns == cpu_.end() || !(columns->second > 0)) return;
        if (everyDraw != cpu_.end())
            std::printf("History filter: the columns %.1f times faster than looking at every draw\n",
                        everyDraw->second / columns->second);
        if (file != cpu_.end())
            std::printf("History filter: the columns %.0f times faster than reading Keno.dat per call\n",
                        file->second / columns->second);
    }

private:
    std::map<std::string, double> median_, fastest_, cpu_; // in each benchmark's own time unit
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
