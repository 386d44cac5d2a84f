// Results beside chance: the hit law against exact fractions, the odds and the return of every Keno
// type, what a tip list wins on average, and the verdict of the comparison on synthetic histories.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "core/evaluation/Chance.h"
#include "core/evaluation/Winnings.h"

using namespace zf;

namespace {

__extension__ typedef unsigned __int128 U128;

// Binomials from Pascal's triangle: a second way to the same numbers, sharing nothing with the code.
U128 pascal(int n, int k) {
    static const auto table = [] {
        std::vector<std::vector<U128>> t(71, std::vector<U128>(71, 0));
        for (int i = 0; i <= 70; ++i) {
            t[size_t(i)][0] = 1;
            for (int j = 1; j <= i; ++j)
                t[size_t(i)][size_t(j)] = t[size_t(i - 1)][size_t(j - 1)] + t[size_t(i - 1)][size_t(j)];
        }
        return t;
    }();
    return k < 0 || k > n ? 0 : table[size_t(n)][size_t(k)];
}

// A random draw of 20 of 70 from the test's own generator.
std::vector<int> randomNumbers(std::mt19937_64& rng, int count = 20) {
    std::vector<int> all(70);
    std::iota(all.begin(), all.end(), 1);
    std::shuffle(all.begin(), all.end(), rng);
    all.resize(size_t(count));
    return all;
}

Tip70 setOf(const std::vector<int>& numbers) {
    Tip70 t;
    for (int n : numbers) t.add(n);
    return t;
}

} // namespace

TEST(HitLaw, EveryTypeAndHitCountIsTheExactFraction) {
    for (int k : {2, 3, 4, 5, 6, 7, 8, 9, 10, 20}) {
        SCOPED_TRACE(k);
        const HitLaw& law = hitLaw(k);
        ASSERT_EQ(U128(law.total), pascal(70, k));
        U128 sum = 0;
        for (int h = 0; h <= 20; ++h) {
            // C(20,h)·C(50,k−h) / C(70,k), compared crosswise so that no rounding hides a slip.
            const U128 ways = pascal(20, h) * pascal(50, k - h);
            EXPECT_EQ(U128(law.ways[size_t(h)]), ways) << h;
            sum += law.ways[size_t(h)];
        }
        EXPECT_EQ(sum, U128(law.total)); // each row adds up to exactly 1
    }
    EXPECT_EQ(binomial(70, 20), 161884603662657876ull);
}

TEST(HitLaw, ReturnToThePlayerPerTypeFromThePayoutTable) {
    // Worked out with exact fractions from the payout table: about 0,49 € of every euro comes back.
    const struct {
        int type;
        Ratio exact;
    } cases[] = {
        {2, {76, 161}},
        {3, {1387, 2737}},
        {4, {90668, 183379}},
        {5, {1006525, 2017169}},
        {6, {567150, 1140139}},
        {7, {436905, 881452}},
        {8, {153998465, 314678364}},
        {9, {116236535, 232262602}},
        {10, {48992752855, 99176131054}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(expectedReturn(c.type), c.exact);
        const double rate = double(c.exact.num) / double(c.exact.den);
        for (int item = 0; item <= 3; ++item) {
            const OddsTable t = oddsTable(c.type, item);
            EXPECT_NEAR(t.returnRate, rate, 1e-12);
            EXPECT_NEAR(t.expectedPayout, rate * double(stakeEuros(item)), 1e-9);
            ASSERT_EQ(t.rows.size(), size_t(c.type) + 1);
            uint64_t ways = 0, winning = 0;
            for (const OddsRow& r : t.rows) {
                ways += r.ways;
                EXPECT_EQ(r.payout, payout(c.type, r.hits) * stakeEuros(item));
                if (r.payout > 0) winning += r.ways;
            }
            EXPECT_EQ(ways, t.total);
            EXPECT_DOUBLE_EQ(t.anyWin, double(winning) / double(t.total));
        }
    }
    EXPECT_EQ(expectedReturn(1), Ratio{});
}

TEST(Odds, TheBatchLinesOfATypeTwoTipAtTwoEuros) {
    // 190, 1000 and 1225 of the 2415 pairs hit 2, 1 and 0 numbers; only 2 hits pay, 6 euros a euro.
    EXPECT_EQ(oddsLines(oddsTable(2, 1)), (std::vector<std::string>{
                                              "2;1 : 12,7;12;0,9441",
                                              "1;1 : 2,42;0;0,0000",
                                              "0;1 : 1,97;0;0,0000",
                                              "anywin;1 : 12,7;7,87 %",
                                              "return;47,2 %;Von 2 € Einsatz fließen im Mittel 0,94 € zurück",
                                          }));
    const OddsTable ten = oddsTable(10, 0);
    EXPECT_EQ(oddsText(ten.rows.front().odds), "1 : 2.147.181");
    EXPECT_EQ(returnText(ten), "Von 1 € Einsatz fließen im Mittel 0,49 € zurück");
}

TEST(ListOutlook, StakeAverageWinAndHowRareTheWinIs) {
    // Type 4 at 1 euro: a tip wins 22, 2 or 1 for 4, 3 or 2 hits.
    const double p4 = 4845.0 / 916895, p3 = 20.0 * 19 * 18 / 6 * 50 / 916895, p2 = 190.0 * 1225 / 916895;
    ListOutlook one = listOutlook({"01,02,03,04"}, {4}, 4, 0);
    EXPECT_EQ(one.stake, 1);
    EXPECT_EQ(one.won, 22);
    EXPECT_NEAR(one.expectedWin, 90668.0 / 183379, 1e-12);
    EXPECT_NEAR(one.chanceAtLeast, p4, 1e-15);
    EXPECT_FALSE(one.estimated);

    // Three tips with 2 euros won in total at a stake of 5: every way to reach 2 units, counted by hand.
    const double none = 1 - p4 - p3 - p2;
    const double below = std::pow(none, 3) + 3 * p2 * none * none; // 0 or 1 unit
    ListOutlook three = listOutlook({"1,2,3,4", "5,6,7,8", "9,10,11,12"}, {2, 2, 0}, 4, 2);
    EXPECT_EQ(three.stake, 15);
    EXPECT_EQ(three.won, 10);
    EXPECT_NEAR(three.chanceAtLeast, 1 - below, 1e-12);
    // A short line counts with its own numbers; a longer one only with as many as the Keno type.
    ListOutlook mixed = listOutlook({"1,2", "1,2,3,4,5,6,7"}, {}, 4, 0);
    const double typeTwoInTypeFour = 190.0 / 2415; // two numbers: both hit in 190 of 2415 draws, paying 1
    EXPECT_NEAR(mixed.expectedWin, typeTwoInTypeFour + 90668.0 / 183379, 1e-12);
    EXPECT_EQ(mixed.won, 0);
    EXPECT_EQ(mixed.chanceAtLeast, 1);

    // A thousand tips with a 10er among them: too many for the exact sum, random trials estimate it.
    std::vector<std::string> many(1000, "1,2,3,4,5,6,7,8,9,10");
    std::vector<uint8_t> hits(1000, 1);
    hits[0] = 10;
    const ListOutlook big = listOutlook(many, hits, 10, 0);
    EXPECT_TRUE(big.estimated);
    EXPECT_GT(big.chanceAtLeast, 1e-4); // about 1000 · 4,7e-7
    EXPECT_LT(big.chanceAtLeast, 1.5e-3);

    EXPECT_EQ(outlookText(one), "Einsatz der Liste: 1,00 €\nIm Mittel gewinnt die Liste je Ziehung 0,49 €\n"
                                "So viel oder mehr gewinnen zufällige Tipps in 0,53 % der Ziehungen (1 : 189)");
    EXPECT_EQ(outlookText(mixed), "Einsatz der Liste: 2,00 €\nIm Mittel gewinnt die Liste je Ziehung 0,57 €");
}

TEST(TipCheckRecord, AListThatGrowsIsStoredOnce) {
    const Tip70 a = setOf({1, 2, 3}), b = setOf({4, 5, 6}), c = setOf({7, 8, 9}), draw = setOf({1, 4, 7});
    TipCheckRecord r;
    r.addPass({a, b}, draw);
    r.addPass({a, b, c}, draw);
    r.addPass({c}, draw);
    EXPECT_EQ(r.checks(), 6);
    EXPECT_EQ(r.tips().size(), 4u);
    ASSERT_EQ(r.passes(), 3u);
    EXPECT_EQ(r.passList()[1].offset, 0u);
    EXPECT_EQ(r.passList()[1].count, 3u);
    EXPECT_EQ(r.passList()[2].offset, 3u);
    EXPECT_EQ(countedNumbers("07,08,09,70,71", 10), setOf({7, 8, 9, 70}));
    EXPECT_EQ(countedNumbers("07,08,x,09", 10), setOf({7, 8}));
    EXPECT_EQ(countedNumbers("1,2,3,4,5,6", 4), setOf({1, 2, 3, 4}));
}

namespace {

// The recurrence totals of a history: each draw's numbers against the draw `ahead` later.
BacktestTotals recurrenceTotals(const std::vector<Tip70>& history, std::initializer_list<int> aheads) {
    BacktestTotals t;
    const int last = std::max(aheads);
    for (size_t i = 0; i + size_t(last) < history.size(); ++i) {
        for (int a : aheads) ++t.hits[size_t(history[i].hitsIn(history[i + size_t(a)]))];
        ++t.passes;
    }
    return t;
}

std::vector<Tip70> uniformHistory(std::mt19937_64& rng, int draws, int fixedNumber = 0) {
    std::vector<Tip70> h;
    for (int i = 0; i < draws; ++i) {
        std::vector<int> numbers = randomNumbers(rng, 70);
        if (fixedNumber > 0) {
            // One number in every draw: it and 19 others.
            numbers.erase(std::find(numbers.begin(), numbers.end(), fixedNumber));
            numbers.insert(numbers.begin(), fixedNumber);
        }
        numbers.resize(20);
        h.push_back(setOf(numbers));
    }
    return h;
}

// A generator test: five tips a pass, made by `tipsFor` from the pass's index, checked against the draw.
template <class MakeTips> TipCheckRecord generatorRun(const std::vector<Tip70>& history, MakeTips tipsFor) {
    TipCheckRecord r;
    for (size_t i = 0; i + 1 < history.size(); ++i) r.addPass(tipsFor(i), history[i + 1]);
    return r;
}

} // namespace

TEST(ChanceVerdict, UniformHistoriesAreWithinChanceAboutNineteenTimesInTwenty) {
    int recurrence = 0, threeDraws = 0, generator = 0;
    for (int seed = 1; seed <= 200; ++seed) {
        std::mt19937_64 rng{static_cast<uint64_t>(seed)};
        const auto history = uniformHistory(rng, 121);
        recurrence += !compareRecurrence(BacktestKind::NextDraw, recurrenceTotals(history, {1})).remarkable();
        threeDraws +=
            !compareRecurrence(BacktestKind::NextThreeDraws, recurrenceTotals(history, {1, 2, 3})).remarkable();
        const auto record = generatorRun(history, [&](size_t) {
            std::vector<Tip70> tips;
            for (int t = 0; t < 5; ++t) tips.push_back(setOf(randomNumbers(rng, 6)));
            return tips;
        });
        generator += !compareGenerator(BacktestKind::TipsPerDraw, record, 6, 0).remarkable();
    }
    // 190 expected; the bounds lie four standard deviations away.
    for (int within : {recurrence, threeDraws, generator}) {
        EXPECT_GE(within, 178) << recurrence << ", " << threeDraws << ", " << generator << " of 200";
        EXPECT_LE(within, 200);
    }
    EXPECT_LT(recurrence + threeDraws + generator, 600); // the test can say "auffällig" at all
}

TEST(ChanceVerdict, ANumberInEveryDrawOrTipsFromTheNextDrawAreRemarkable) {
    std::mt19937_64 rng(7);
    const auto loaded = uniformHistory(rng, 300, 17);
    for (auto aheads : {std::initializer_list<int>{1}, {2}, {1, 2, 3}}) {
        const ChanceComparison c = compareRecurrence(BacktestKind::NextDraw, recurrenceTotals(loaded, aheads));
        EXPECT_TRUE(c.remarkable()) << verdictText(c);
        EXPECT_TRUE(c.beyondAll);
        EXPECT_EQ(verdictText(c), "auffällig (p < 0,001)");
    }

    // A generator that peeks: its five tips are taken from the draw they are checked against.
    const auto fair = uniformHistory(rng, 200);
    const auto record = generatorRun(fair, [&](size_t i) {
        std::vector<int> next;
        for (int n = 1; n <= 70; ++n)
            if (setOf({n}).hitsIn(fair[i + 1]) == 1) next.push_back(n);
        std::vector<Tip70> tips;
        for (size_t t = 0; t < 5; ++t)
            tips.push_back(setOf(std::vector<int>(next.begin() + 2 * t, next.begin() + 2 * t + 6)));
        return tips;
    });
    const ChanceComparison c = compareGenerator(BacktestKind::TipsPerDraw, record, 6, 1);
    EXPECT_TRUE(c.remarkable());
    EXPECT_EQ(c.observed[6], 995);
    ASSERT_TRUE(c.money);
    EXPECT_EQ(c.money->staked, 995 * 2);
    EXPECT_EQ(c.money->won, 995 * 1000);
    EXPECT_GT(double(c.money->won), c.money->high);
    EXPECT_LE(c.money->low, c.money->mean);
    EXPECT_LE(c.money->mean, c.money->high);
}

TEST(ChanceVerdict, TheReportIsReproducibleAndSaysWhatItMeans) {
    std::mt19937_64 rng(3);
    const auto history = uniformHistory(rng, 80);
    const auto record =
        generatorRun(history, [&](size_t) { return std::vector<Tip70>{setOf(randomNumbers(rng, 10))}; });
    const ChanceComparison a = compareGenerator(BacktestKind::TipsUntilToday, record, 10, 0);
    const ChanceComparison b = compareGenerator(BacktestKind::TipsUntilToday, record, 10, 0);
    EXPECT_EQ(comparisonLines(a), comparisonLines(b));
    EXPECT_EQ(a.repetitions, 1000);
    EXPECT_EQ(a.observed.size(), 11u);
    EXPECT_NEAR(std::accumulate(a.expected.begin(), a.expected.end(), 0.0), 79.0, 1e-9);

    ChanceComparison c = a;
    c.pValue = 0.42;
    c.beyondAll = false;
    EXPECT_EQ(verdictText(c), "im Rahmen des Zufalls (p = 0,42)");
    EXPECT_EQ(meaningText(c), "Das heißt: Zufällige Ziehungen weichen in 42 % der Fälle mindestens so stark von der "
                              "erwarteten Trefferverteilung ab; ein Vorteil gegenüber dem Zufall ist nicht zu "
                              "erkennen, ein Beweis für reinen Zufall ist das aber nicht.");
    c.pValue = 0.003;
    EXPECT_EQ(verdictText(c), "auffällig (p = 0,003)");
    EXPECT_EQ(meaningText(c), "Das heißt: Zufällige Ziehungen weichen nur in 0,3 % der Fälle so stark von der "
                              "erwarteten Trefferverteilung ab; das ist ungewöhnlich, verspricht aber keine Gewinne "
                              "in künftigen Ziehungen.");

    // Stopped half-way: no verdict, and the file says so.
    ChanceRun run;
    run.progress = [](double done) { return done < 0.5; };
    const ChanceComparison stopped = compareGenerator(BacktestKind::TipsUntilToday, record, 10, 0, run);
    EXPECT_FALSE(stopped.complete);
    EXPECT_FALSE(stopped.remarkable());
    EXPECT_GE(stopped.repetitions, 500); // the repetitions go in small blocks
    EXPECT_LT(stopped.repetitions, 1000);
    EXPECT_EQ(verdictText(stopped), "kein Urteil (der Vergleich wurde abgebrochen)");
}
