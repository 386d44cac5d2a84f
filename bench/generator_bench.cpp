// The tip generator over the bundled history (about 7 700 draws). The figures users wait for run on
// every code path of the hot loops (/reference: one draw after another and every history draw in
// turn; /generic: portable, blocks of draws and history columns; /avx2: the same with the processor's
// vector, population count and bit-deposit instructions), and the report ends with each path beside
// the reference:
//  - one call of the history filter "Tipp darf noch keinen ...er" over the whole history for a tip no
//    draw holds (every draw is read), and the plain way of a filter that owns no cache: open Keno.dat,
//    read it record by record and run the tip check on each draw;
//  - the acceptance chain alone with the design options, random candidates of ten numbers;
//  - a whole run with the design options, Keno type 10 and 120 tips;
//  - a demanding run ("Tipp darf noch keinen 6er ..." over the whole history), attempts per second;
//  - one run with the design options and five tips as of a base draw in the middle of the history;
//  - the success test's walk: for every base draw from the first to the newest, the same seed, a run
//    to the end, a step of the browser (about 7 700 runs);
//  - "Tipps erzeugen" over 20 and 24 numbers with Keno type 10 (184 756 and 1 961 256 combinations),
//    the combinations written, then checked through the chain with the history filters on, the table
//    written: wall time, files included.
#include <benchmark/benchmark.h>

#include <cstdio>
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
#include "bench/PathReport.h"
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

// The path of a benchmark's argument; false (with the benchmark skipped) where the processor lacks it.
bool choosePath(benchmark::State& s, CodePath& path) {
    path = static_cast<CodePath>(s.range(0));
    if (codePathAvailable(path)) return true;
    s.SkipWithError("this processor cannot run the path");
    return false;
}

void BM_HistoryFilterInMemory(benchmark::State& s) {
    CodePath path;
    if (!choosePath(s, path)) return;
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
        free = !index.anyWithHits(range, tip, kLimit, path);
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

class NoPrompter : public Prompter, public NoDialogs {
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
    Session session{prompter, dialogsOf(prompter), shell, sound, clock, store};
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
    CodePath path;
    if (!choosePath(s, path)) return;
    Desk d;
    d.gen.setCodePath(path);
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
void BM_Enumeration(benchmark::State& s, bool everyCandidateScanned) {
    CodePath path;
    if (!choosePath(s, path)) return;
    Desk d;
    d.gen.setCodePath(path);
    d.prompter.poolSize = static_cast<int>(s.range(1));
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
        static_cast<unsigned long long>(Enumeration::combinations(static_cast<int>(s.range(1)), 10)))
        s.SkipWithError("not every combination was checked");
    s.counters["scans"] = static_cast<double>(d.gen.historyScansOfLastRun());
    s.counters["tips"] = static_cast<double>(d.m.tipLines.size());
}

} // namespace

BENCHMARK(BM_HistoryFilterReadingKenoDat)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AcceptanceChainDesignOptions)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_RunDesignOptions120Tips)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunDesignOptions5TipsMidHistory)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SuccessTestWalk)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Enumeration, DesignOptions, false)
    ->Args({static_cast<int>(CodePath::Generic), 20})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

namespace {

// The figures on every path: the first argument is the path.
void registerPaths() {
    for (CodePath p : {CodePath::Reference, CodePath::Generic, CodePath::Avx2}) {
        const int path = static_cast<int>(p);
        benchmark::RegisterBenchmark(bench::pathName("BM_HistoryFilterInMemory", p).c_str(), BM_HistoryFilterInMemory)
            ->Arg(path)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(bench::pathName("BM_RunDemanding", p).c_str(), BM_RunDemanding)
            ->Arg(path)
            ->Unit(benchmark::kMillisecond);
        // wall time: the files are part of the figure
        for (int pool : {20, 24})
            benchmark::RegisterBenchmark(
                bench::pathName("BM_Enumeration" + std::to_string(pool) + "Choose10/EveryCandidateScanned", p).c_str(),
                BM_Enumeration, true)
                ->Args({path, pool})
                ->UseRealTime()
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1);
    }
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
