// The code paths of the generator's hot loops give what the plain way gives: the history search
// against the look at every draw, the random candidates against one draw after another, and whole runs
// over the bundled history. The Avx2 path is tested where the processor has it; elsewhere its cases
// are skipped with a message.
#include <cstdio>
#include <random>

#include "GeneratorFixture.h"
#include "base/CodePath.h"
#include "core/draws/DrawStore.h"
#include "core/generator/CandidateDraws.h"
#include "core/generator/HistoryIndex.h"
#include "core/generator/TipFilters.h"

using namespace zf;
using namespace zf::gentest;

namespace {

struct OnPath : ::testing::TestWithParam<CodePath> {
    void SetUp() override {
        if (!codePathAvailable(GetParam()))
            GTEST_SKIP() << "this processor cannot run the " << codePathName(GetParam()) << " path; not tested here";
    }
};

std::string pathName(const ::testing::TestParamInfo<CodePath>& info) { return codePathName(info.param); }

} // namespace

// Random tips of 1 to 17 numbers (65..70 among them; past 15 the columns give way to the draws), every
// limit, windows of every length with borders inside and across the 64-draw words and the 256-draw
// blocks, against the look at every draw.
TEST_P(OnPath, HistorySearchAnswersAsEveryDraw) {
    test::TempDir dir;
    ASSERT_TRUE(writeBundledHistory(dir.file("Keno.dat"), nullptr));
    DrawStore store(dir.file("Keno.dat"));
    ASSERT_TRUE(store.refresh());
    HistoryIndex h;
    h.build(store.records(), store.bits());
    h.setCodePath(GetParam());
    ASSERT_EQ(h.codePath(), GetParam());
    ASSERT_GT(h.size(), 7000u);

    std::mt19937 random(20261210);
    const auto below = [&](size_t n) { return static_cast<size_t>(random() % n); };
    size_t hits = 0, misses = 0;
    for (int round = 0; round < 40000; ++round) {
        DrawBits tip;
        const int count = 1 + static_cast<int>(below(17));
        while (tip.count() < count) tip.set(1 + static_cast<int>(below(70)));
        if (round % 7 == 0) tip.set(65 + static_cast<int>(below(6)));
        std::pair<size_t, size_t> range;
        switch (round % 4) {
        case 0:
            range = {0, h.size()};
            break; // the whole history
        case 1:
            range = {below(h.size()), h.size()};
            break; // a start date, up to the newest
        case 2:
            range.first = below(h.size());
            range.second = range.first + below(h.size() - range.first + 1);
            break;
        default:
            range.first = 64 * below(h.size() / 64) + below(3);
            range.second = range.first + 60 + below(400);
        }
        range.second = std::min(range.second, h.size());
        for (int limit = -1; limit <= tip.count() + 1; ++limit) {
            const bool expected = h.anyWithHitsByScan(range, tip, limit);
            ASSERT_EQ(h.anyWithHits(range, tip, limit), expected)
                << "range " << range.first << ".." << range.second << " limit " << limit << " numbers " << tip.count();
            (expected ? hits : misses) += 1;
        }
    }
    EXPECT_GT(hits, 10000u);
    EXPECT_GT(misses, 10000u);
}

// Pools as the options make them (empty positions, heavy weights, barely n different numbers, pools
// larger than the design size) and every tip length: the same candidates, sums and random states as
// one draw after another, also when the state is set from outside between two candidates.
TEST_P(OnPath, CandidatesAsOneDrawAfterAnother) {
    std::mt19937 random(4711);
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 300; ++round) {
        const int n = 2 + round % 9;
        std::vector<uint8_t> pool;
        switch (round % 5) {
        case 0: // the plain pool: position 0 empty, 1..70
            pool.push_back(0);
            for (int x = 1; x <= 70; ++x) pool.push_back(static_cast<uint8_t>(x));
            break;
        case 1: // many empty positions
            for (int i = 0; i < 300; ++i) pool.push_back(below(3) == 0 ? static_cast<uint8_t>(1 + below(70)) : 0);
            break;
        case 2: // one number weighs a thousand times
            pool.assign(1000, static_cast<uint8_t>(1 + below(70)));
            for (int x = 1; x <= 20; ++x) pool.push_back(static_cast<uint8_t>(x * 3 + 1));
            break;
        case 3: // exactly n different numbers, each several times
            for (int x = 0; x < n; ++x)
                for (int k = 0; k <= below(4); ++k) pool.push_back(static_cast<uint8_t>(61 + x));
            break;
        default: // beyond the design size, weights as the favouring options give them
            for (int i = 0; i < 3000; ++i) pool.push_back(static_cast<uint8_t>(below(71)));
        }
        std::set<uint8_t> distinct(pool.begin(), pool.end());
        distinct.erase(0);
        if (static_cast<int>(distinct.size()) < n) continue;

        CandidateDraws fast, plain;
        fast.begin(pool, n, GetParam());
        plain.begin(pool, n, CodePath::Reference);
        Random a, b;
        a.setState(static_cast<uint32_t>(random()));
        b.setState(a.state());
        for (int k = 0; k < 400; ++k) {
            if (k % 97 == 96) { // a seed between two candidates
                a.setState(static_cast<uint32_t>(random()));
                b.setState(a.state());
            }
            DrawBits got, expected;
            int gotSum = -1, expectedSum = -2;
            fast.next(a, got, gotSum);
            plain.next(b, expected, expectedSum);
            ASSERT_TRUE(got.lo == expected.lo && got.hi == expected.hi && gotSum == expectedSum)
                << "round " << round << " candidate " << k << " n " << n << " pool of " << pool.size();
            ASSERT_EQ(a.state(), b.state()) << "round " << round << " candidate " << k;
            ASSERT_EQ(got.count(), n);
        }
    }
}

namespace {

// Runs that lean on every part of the hot loops: strict history limits, short tips, the recent window,
// the pair constraint giving way, kept tips with repeated numbers, the even, odd, prime and ten tests.
struct PathRuns : GenFixture {
    std::string runs(CodePath path) {
        gen.setCodePath(path);
        std::string print;
        const std::vector<std::function<void(Model&)>> options = {
            [](Model& m) { m.num(Num::HistoryMatch).set(6); },
            [](Model& m) {
                m.num(Num::KenoType).set(5);
                m.num(Num::HistoryMatch).set(4);
                m.on(Opt::NoRecentMatch) = true;
                m.num(Num::RecentMatch).set(3);
                m.num(Num::RecentDraws).set(60);
            },
            [](Model& m) {
                m.on(Opt::ClearBeforeRun) = false;
                m.tipLines = {"01,02,03,04,05,06,07,08", "11,11,12,13"};
                m.num(Num::KenoType).set(8);
                m.on(Opt::MaxOccurrence) = true;
                m.num(Num::MaxOccurrence).set(3);
            },
            [](Model& m) {
                m.num(Num::KenoType).set(6);
                m.on(Opt::ForcePair) = true;
                m.num(Num::AttemptThousands).set(1);
                m.on(Opt::MinEven) = true;
                m.num(Num::MinEven).set(3);
                m.on(Opt::MinOdd) = true;
                m.num(Num::MinOdd).set(2);
                m.on(Opt::MinPrimes) = true;
                m.num(Num::MinPrimes).set(2);
                m.on(Opt::OnePerTen) = true;
            },
        };
        const auto& draws = m.draws.records();
        for (size_t o = 0; o < options.size(); ++o)
            for (size_t base : {size_t{40}, draws.size() / 2, draws.size() - 1}) {
                m.resetToDesign();
                m.statsStart = Model::statsStartMin;
                m.setTotalTips(4);
                m.on(Opt::NoHistoryMatch) = true;
                options[o](m);
                EXPECT_TRUE(m.setBrowseDate(draws[base].datum));
                browser.seekDate();
                gen.seed(static_cast<int32_t>(1000 * o + base));
                gen.runToEnd();
                print += std::to_string(o) + "@" + std::to_string(base) + ":";
                for (const auto& line : m.tipLines) print += line + ";";
                print += " attempts " + std::to_string(gen.attemptsOfLastRun()) + " scans " +
                         std::to_string(gen.historyScansOfLastRun()) + " state " + std::to_string(m.random.state()) +
                         " status " + m.status[1] + "\n";
            }
        return print;
    }
};

} // namespace

TEST_F(PathRuns, EveryPathMakesTheSameTips) {
    useBundledHistory();
    m.draws.setPath(dir.file("Keno.dat"));
    ASSERT_TRUE(m.draws.refresh());
    const std::string reference = runs(CodePath::Reference);
    EXPECT_NE(reference.find("attempts"), std::string::npos);
    for (CodePath p : availableCodePaths()) {
        SCOPED_TRACE(codePathName(p));
        EXPECT_EQ(runs(p), reference);
    }
    if (!codePathAvailable(CodePath::Avx2))
        std::printf("this processor has no AVX2: runs compared on the generic path only\n");
}

INSTANTIATE_TEST_SUITE_P(HistoryAndDraws, OnPath, ::testing::Values(CodePath::Generic, CodePath::Avx2), pathName);

// The tests on a tip's set give what the tests on the sorted tip give, for every tip of different
// numbers.
TEST(TipSet, AnswersAsTheSortedTip) {
    std::mt19937 random(99);
    for (int round = 0; round < 200000; ++round) {
        const int n = 1 + static_cast<int>(random() % 10);
        DrawBits set;
        while (set.count() < n) set.set(1 + static_cast<int>(random() % 70));
        if (round % 5 == 0) { // neighbours and the borders of the words and the tens
            const int x = 58 + static_cast<int>(random() % 10);
            set = DrawBits{};
            for (int k = 0; k < n; ++k) set.set(std::min(70, x + k));
        }
        std::vector<uint8_t> tipp{0};
        for (int x = 1; x <= 70; ++x)
            if (set.has(x)) tipp.push_back(static_cast<uint8_t>(x));
        const int count = static_cast<int>(tipp.size()) - 1;
        SCOPED_TRACE(::testing::PrintToString(tipp));
        ASSERT_EQ(tipset::hasPair(set), hasPair(tipp.data(), count));
        ASSERT_EQ(tipset::hasTriple(set), hasTriple(tipp.data(), count));
        ASSERT_EQ(tipset::sameTen(set), sameTen(tipp.data(), count));
        ASSERT_EQ(tipset::countEven(set), countEven(tipp.data(), count));
        ASSERT_EQ(tipset::countOdd(set), countOdd(tipp.data(), count));
        for (int first = 0; first <= count; ++first)
            ASSERT_EQ(tipset::countPrimes(tipset::lowest(set, first)), countPrimes(tipp.data(), first));
    }
}
