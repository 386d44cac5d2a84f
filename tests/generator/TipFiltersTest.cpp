// The plain tests on a tip and the history scan on 70-bit sets.
#include <gtest/gtest.h>

#include <vector>

#include "app/AppController.h"
#include "base/GermanFormat.h"
#include "core/draws/DrawStore.h"
#include "core/generator/HistoryIndex.h"
#include "core/generator/TipFilters.h"
#include "support/TestSupport.h"

using namespace zf;

namespace {

// `tipp` as the generator holds it: position 0 unused.
std::vector<uint8_t> tipp(std::vector<int> numbers) {
    std::vector<uint8_t> t{0};
    for (int x : numbers) t.push_back(static_cast<uint8_t>(x));
    return t;
}

DrawBits bits(const std::vector<int>& numbers) {
    DrawBits b;
    for (int x : numbers) b.set(x);
    return b;
}

} // namespace

TEST(TipFilters, ShapeTests) {
    struct Case {
        std::vector<int> tip;
        bool paar, dreier, zehner;
        int gerade, ungerade;
    };
    const Case cases[] = {
        {{23, 24, 40}, true, false, true, 2, 1},
        {{23, 24, 26}, true, false, true, 2, 1},
        {{68, 69, 70}, true, true, true, 2, 1},
        {{1, 10, 20, 30, 40, 50, 60, 70}, false, false, false, 7, 1}, // 1..9 and 70 are tens of their own
        {{9, 10}, true, false, false, 1, 1},                          // 9 and 10 lie in different tens
        {{60, 69}, false, false, true, 1, 1},
        {{5, 7, 9, 11}, false, false, true, 0, 4},
    };
    for (const Case& c : cases) {
        const auto t = tipp(c.tip);
        const int n = static_cast<int>(c.tip.size());
        SCOPED_TRACE(::testing::PrintToString(c.tip));
        EXPECT_EQ(hasPair(t.data(), n), c.paar);
        EXPECT_EQ(hasTriple(t.data(), n), c.dreier);
        EXPECT_EQ(sameTen(t.data(), n), c.zehner);
        EXPECT_EQ(countEven(t.data(), n), c.gerade);
        EXPECT_EQ(countOdd(t.data(), n), c.ungerade);
    }
    // The prime set holds 1 and the primes up to 70; the count stops at the Keno type.
    const auto t = tipp({1, 4, 9, 15, 21});
    EXPECT_EQ(countPrimes(t.data(), 5), 1);
    const auto p = tipp({2, 3, 5, 7, 67, 69});
    EXPECT_EQ(countPrimes(p.data(), 6), 5);
    EXPECT_EQ(countPrimes(p.data(), 2), 2);
}

TEST(TipFilters, ScaledCrossSumRoundsHalvesToEven) {
    EXPECT_EQ(scaledCrossSum(55, 10), 110); // 1..10
    EXPECT_EQ(scaledCrossSum(3, 2), 30);    // 1 and 2: below the design lower bound 100
    EXPECT_EQ(scaledCrossSum(71, 8), 178);  // 177.5
    EXPECT_EQ(scaledCrossSum(73, 8), 182);  // 182.5
    EXPECT_EQ(scaledCrossSum(10, 3), 67);   // 66.67
    EXPECT_EQ(scaledCrossSum(0, 10), 0);
    // The largest sums cannot overflow or lose a unit.
    EXPECT_EQ(scaledCrossSum(70 + 69 + 68 + 67 + 66 + 65 + 64 + 63 + 62 + 61, 10), 1310);
}

TEST(TipFilters, RecentWindowIsWholeWeeksOfSixDraws) {
    const std::pair<int, int> cases[] = {{21, 4}, {1, 0}, {3, 0}, {4, 1}, {9, 2}, {15, 2}, {356, 59}, {0, 0}};
    for (auto [draws, weeks] : cases) EXPECT_EQ(recentWindowWeeks(draws), weeks) << draws;
}

TEST(HistoryIndex, WindowBoundsAndHitLimit) {
    // Numbers 64 and 65 sit on both sides of the word border of the 70-bit set.
    std::vector<DrawRecord> recs = {
        test::drawWith(2020, 1, 1, {1, 2, 3, 4, 5, 6, 64, 65, 66, 67, 68, 69, 70, 11, 12, 13, 14, 15, 16, 17}),
        test::drawWith(2020, 1, 2, {21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40}),
        test::drawWith(2020, 1, 3, {41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60}),
    };
    std::vector<DrawBits> b;
    for (const auto& r : recs) b.push_back(bitsOf(r));
    HistoryIndex h;
    h.build(recs, b);
    const double d1 = dateValue(2020, 1, 1), d3 = dateValue(2020, 1, 3);

    // start exclusive, end inclusive; a fraction of a day on the pickers changes nothing
    EXPECT_EQ(h.window(d1 - 1, d3), (std::pair<size_t, size_t>{0, 3}));
    EXPECT_EQ(h.window(d1, d3), (std::pair<size_t, size_t>{1, 3}));
    EXPECT_EQ(h.window(d1 - 0.5, d3 - 0.5), (std::pair<size_t, size_t>{0, 2}));
    EXPECT_EQ(h.window(d3, d3 + 10), (std::pair<size_t, size_t>{0, 0}));

    const DrawBits tip = bits({64, 65, 66, 1, 99});           // 99 is no number: ignored
    EXPECT_TRUE(h.anyWithHits(h.window(d1 - 1, d3), tip, 4)); // exactly the limit counts
    EXPECT_FALSE(h.anyWithHits(h.window(d1 - 1, d3), tip, 5));
    EXPECT_FALSE(h.anyWithHits(h.window(d1, d3), tip, 1)); // draw 1 is outside
    EXPECT_TRUE(h.anyWithHits(h.window(d1, d3), bits({30, 50}), 1));
    EXPECT_FALSE(h.anyWithHits({0, 0}, tip, 1));

    // A history out of date order is searched by date all the same.
    std::vector<DrawRecord> shuffled = {recs[2], recs[0], recs[1]};
    std::vector<DrawBits> sb = {b[2], b[0], b[1]};
    HistoryIndex s;
    s.build(shuffled, sb);
    EXPECT_TRUE(s.anyWithHits(s.window(d1 - 1, d1), tip, 4));
    EXPECT_FALSE(s.anyWithHits(s.window(d1, d3), tip, 2));
}
