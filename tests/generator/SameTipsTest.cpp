// The generator's results over the bundled history, pinned as fingerprints: the tips, the attempt
// counts, the history scans, every status text and the random state after each run. Any change to the
// hot path (the history index, the pool, the statistics it reads) must leave every one of them as it is.
// The fingerprints were taken from the plain scan of every draw before the history index existed.
#include <cinttypes>
#include <cstdio>

#include "GeneratorFixture.h"

using namespace zf;
using namespace zf::gentest;

namespace {

struct Fingerprint {
    uint64_t h = 1469598103934665603ull; // FNV-1a
    void add(const std::string& s) {
        for (unsigned char ch : s) {
            h ^= ch;
            h *= 1099511628211ull;
        }
        h ^= 0xff; // field separator
        h *= 1099511628211ull;
    }
    void add(unsigned long long v) { add(std::to_string(v)); }
    std::string hex() const {
        char buf[24];
        std::snprintf(buf, sizeof buf, "%016" PRIx64, h);
        return buf;
    }
};

struct SameTips : GenFixture {
    std::vector<DrawRecord> draws;
    Fingerprint print;
    int runs = 0;
    void SetUp() override {
        GenFixture::SetUp();
        useBundledHistory();
        draws = test::readDraws(dir.file("Keno.dat"));
    }
    // One run as the backtests start it: seeded, to the end, as of the draw on display.
    void run(uint32_t seed) {
        statusLog.clear();
        gen.seed(static_cast<int32_t>(seed));
        gen.runToEnd();
        ++runs;
        for (const auto& line : m.tipLines) print.add(line);
        print.add(gen.attemptsOfLastRun());
        print.add(static_cast<unsigned long long>(gen.attemptsOfTip()));
        print.add(gen.historyScansOfLastRun());
        // The candidate on display is told at the end of a time slice: which one it is depends on the clock.
        std::string previous;
        for (const auto& s : statusLog)
            if (s.find(".Tipp:  ") == std::string::npos && s != previous) print.add(previous = s);
        print.add(m.status[0]);
        print.add(m.random.state());
        print.add(formatDate(m.statsStart));
        std::string hits;
        for (uint8_t h : m.hits) hits += std::to_string(h) + ",";
        print.add(hits);
    }
    void showDraw(size_t i) {
        ASSERT_TRUE(m.setBrowseDate(draws[i].datum));
        browser.seekDate();
    }
};

struct Case {
    const char* name;
    std::function<void(Model&)> options;
    const char* fingerprint;
};

void design(Model& m, int total) {
    m.resetToDesign();
    m.setTotalTips(total);
    m.statsStart = Model::statsStartMin;
}

} // namespace

// The run the success test repeats for every base draw: the design options, five tips, one seed, base
// draws spread over the whole history (the first ones without three draws before them) and a walk
// with the browser over the newest draws, where the step beyond the newest stays put.
TEST_F(SameTips, SuccessTestRuns) {
    design(m, 5);
    for (size_t i : {size_t{0}, size_t{1}, size_t{2}, size_t{3}}) {
        showDraw(i);
        run(4711);
    }
    for (size_t i = 7; i < draws.size(); i += 151) {
        showDraw(i);
        run(4711);
    }
    showDraw(draws.size() - 25);
    for (int k = 0; k < 30; ++k) {
        run(99);
        browser.next();
    }
    EXPECT_EQ(runs, 85);
    EXPECT_EQ(print.hex(), "9ed4431ad484eb57");
}

// Option sets that lean on the history filters in every way: strict limits that reject most candidates,
// short tips, the recent window at its widest, a statistics window of a few years, list positions kept
// from before, the pair constraint giving way halfway through the attempts.
TEST_F(SameTips, HistoryFilterRuns) {
    const Case cases[] = {
        {"no six of ten in the whole history",
         [](Model& m) {
             design(m, 2);
             m.num(Num::HistoryMatch).set(6);
         },
         "6edeb56d1a699291"},
        {"five numbers, four hits in two years, three in the last 60 draws",
         [](Model& m) {
             design(m, 10);
             m.num(Num::KenoType).set(5);
             m.num(Num::HistoryMatch).set(4);
             m.num(Num::RecentMatch).set(3);
             m.num(Num::RecentDraws).set(60);
             m.statsStart = m.browseDate - 730;
         },
         "6d2d482cb2fb6360"},
        {"eight numbers, kept tips, the widest recent window",
         [](Model& m) {
             design(m, 6);
             m.on(Opt::ClearBeforeRun) = false;
             m.tipLines = {"01,02,03,04,05,06,07,08", "11,11,12,13"};
             m.num(Num::KenoType).set(8);
             m.num(Num::HistoryMatch).set(6);
             m.num(Num::RecentMatch).set(4);
             m.num(Num::RecentDraws).set(356);
         },
         "2c5757aa6649aeda"},
        {"forced pair with a small attempt limit, seven hits since 2015",
         [](Model& m) {
             design(m, 4);
             m.on(Opt::ForcePair) = true;
             m.num(Num::AttemptThousands).set(1);
             m.num(Num::HistoryMatch).set(7);
             m.statsStart = dateValue(2015, 1, 1);
         },
         "98699ad3735af561"},
        {"a start date after the base draw moves back a year",
         [](Model& m) {
             design(m, 3);
             m.num(Num::HistoryMatch).set(6);
             m.statsStart = m.browseDate + 30;
         },
         "8000dfabca76e7e3"},
    };
    const size_t bases[] = {5, draws.size() / 3, draws.size() / 2, draws.size() - 1};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        print = Fingerprint{};
        for (size_t b : bases) {
            showDraw(b);
            c.options(m);
            for (uint32_t seed : {1u, 20261210u}) run(seed);
        }
        EXPECT_EQ(print.hex(), c.fingerprint);
    }
}
