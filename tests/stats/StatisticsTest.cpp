// The statistics as pure functions: a small hand-made history whose every bar is known, and the
// bundled real history over fixed windows (figures counted independently from data/keno_draws.csv).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <utility>

#include "app/Model.h"
#include "app/evaluation/TipCheck.h"
#include "core/stats/Statistics.h"
#include "tests/stats/StatsFixture.h"

using namespace zf;
using namespace zf::stats;
using namespace zf::statstest;

namespace {

std::vector<int> evens(int from, int to) {
    std::vector<int> v;
    for (int x = from; x <= to; x += 2) v.push_back(x);
    return v;
}

std::vector<int> join(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> v;
    for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
    return v;
}

// The window runs from 10.01.2020 (a draw on that day) to 20.01.2020.
//   A 10.01. 1..20                       cross sum 210   Plus 5 12345   (on the start day)
//   B 12.01. 5-7, 30-33, 40,42..64       cross sum 820   Plus 5 90015
//   F 16.01. broken: 0, 71, 255, twice 5                 Plus 5 digits 12 and 255
//   C 15.01. 68-70, 1, 3, 9,11..29, 35,37,39,41  sum 572 Plus 5 99999
//   G 18.01. 2,4..40                     cross sum 420   no Plus 5 number
// and outside it E 09.01. and D 21.01.
struct Fixture : ::testing::Test {
    std::vector<DrawRecord> draws;
    Window window = settleWindow(dateValue(2020, 1, 10), dateValue(2020, 1, 20));

    void SetUp() override {
        DrawRecord broken = keno(16, 1, 2020, {0, 71, 255, 5, 5}, {12, 255, 0, 0, 0});
        DrawRecord undated = keno(17, 1, 2020, {1, 2, 3});
        undated.datum = std::numeric_limits<double>::quiet_NaN();
        draws = {keno(9, 1, 2020, {1, 2, 3, 4}, {1, 1, 1, 1, 1}),
                 keno(10, 1, 2020, join({{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {11, 12, 13, 14, 15, 16, 17, 18, 19, 20}}),
                      {1, 2, 3, 4, 5}),
                 keno(12, 1, 2020, join({{5, 6, 7, 30, 31, 32, 33}, evens(40, 64)}), {9, 0, 0, 1, 5}),
                 keno(15, 1, 2020,
                      join({{68, 69, 70, 1, 3, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 35, 37, 39, 41}}),
                      {9, 9, 9, 9, 9}),
                 broken,
                 undated,
                 keno(18, 1, 2020, evens(2, 40)),
                 keno(21, 1, 2020, {1, 2, 3, 4}, {7, 7, 7, 7, 7})};
    }
};

std::vector<double> bars(const ChartData& c) {
    std::vector<double> v;
    for (const auto& p : c.points) v.push_back(p.y);
    return v;
}

} // namespace

TEST(StatisticsWindow, SettlesOnWholeDaysAndMovesALateStart) {
    const double d10 = dateValue(2020, 1, 10), d20 = dateValue(2020, 1, 20);
    struct Case {
        double start, end, wantStart;
        bool moved;
    } cases[] = {
        {d10, d20, d10, false},
        {d10 + 0.75, d20 + 0.5, d10, false},          // times of day do not count
        {d20 + 1, d20, dateValue(2019, 1, 20), true}, // start after end: a year back
        {d20 + 0.9, d20, d20, false},                 // same day is no "after"
    };
    for (const auto& c : cases) {
        const Window w = settleWindow(c.start, c.end);
        EXPECT_EQ(w.start, c.wantStart) << formatDate(c.start);
        EXPECT_EQ(w.end, d20);
        EXPECT_EQ(w.startMoved, c.moved) << formatDate(c.start);
    }
    const Window w = settleWindow(d10, d20);
    EXPECT_TRUE(inWindow(w, d10, StartDay::Included));
    EXPECT_FALSE(inWindow(w, d10, StartDay::Excluded));
    EXPECT_TRUE(inWindow(w, d20, StartDay::Excluded));
    EXPECT_FALSE(inWindow(w, d20 + 1, StartDay::Included));
    EXPECT_FALSE(inWindow(w, std::numeric_limits<double>::quiet_NaN(), StartDay::Included));
}

TEST(StatisticsCaption, MeansRoundHalfToEvenAndAnEmptyWindowHasNone) {
    struct Case {
        double sum, count;
        const char* text;
    } cases[] = {{1421, 2, "710"}, {1423, 2, "712"}, {1422, 2, "711"}, {2, 3, "1"},
                 {5, 2, "2"},      {7, 2, "4"},      {0, 0, "-"},      {0, 1, "0"}};
    for (const auto& c : cases) EXPECT_EQ(meanText(c.sum, c.count), c.text) << c.sum << "/" << c.count;

    // Two draws with the cross sums 210 and 211: the mean 210.5 is shown as 210.
    const std::vector<DrawRecord> two = {
        keno(2, 1, 2020, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}),
        keno(3, 1, 2020, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 21})};
    const Window w = settleWindow(dateValue(2020, 1, 1), dateValue(2020, 1, 3));
    EXPECT_EQ(numberDistribution(two, w).caption, "Zahlenverteilung     Ziehungen: 2    Quersumme: 210");
    EXPECT_EQ(crossSums(two, w).caption, "Quersummenverteilung     Ziehungen: 2    Quersumme: 210");
}

TEST_F(Fixture, NumberDistributionCountsTheStartDayAndColoursPrimesRed) {
    const ChartData c = numberDistribution(draws, window);
    EXPECT_EQ(c.caption, "Zahlenverteilung     Ziehungen: 4    Quersumme: 506"); // (210+820+572+420)/4
    ASSERT_EQ(c.points.size(), 70u);
    for (int x = 1; x <= 70; ++x) {
        EXPECT_EQ(c.points[size_t(x - 1)].x, x);
        EXPECT_EQ(c.points[size_t(x - 1)].colour, inPrimeSet(x) ? BarColour::Red : BarColour::Green) << x;
    }
    struct Bar {
        int x, y;
    } expected[] = {{1, 2},  {2, 2},  {5, 2},  {6, 3},  {7, 2},  {21, 1},
                    {22, 1}, {31, 1}, {40, 2}, {43, 0}, {66, 0}, {70, 1}};
    for (const auto& b : expected) EXPECT_EQ(ys(c, b.x), b.y) << b.x;
    EXPECT_EQ(total(c), 80);
    EXPECT_TRUE(c.axisFixed);
    EXPECT_EQ(c.axisMin, 0);
    EXPECT_EQ(c.axisMax, 3);
    EXPECT_FALSE(c.marksVisible);
    int red = 0;
    for (const auto& p : c.points) red += p.colour == BarColour::Red;
    EXPECT_EQ(red, 20);
}

TEST_F(Fixture, CrossSumsSpanSmallestToLargestWithEmptySumsBetween) {
    const ChartData c = crossSums(draws, window);
    EXPECT_EQ(c.caption, "Quersummenverteilung     Ziehungen: 3    Quersumme: 604"); // A is on the start day
    ASSERT_EQ(c.points.size(), 401u);
    EXPECT_EQ(c.points.front().x, 420);
    EXPECT_EQ(c.points.back().x, 820);
    EXPECT_EQ(ys(c, 420), 1);
    EXPECT_EQ(ys(c, 572), 1);
    EXPECT_EQ(ys(c, 820), 1);
    EXPECT_EQ(ys(c, 421), 0);
    EXPECT_EQ(total(c), 3);
    for (const auto& p : c.points) EXPECT_EQ(p.colour, BarColour::Series);
    EXPECT_FALSE(c.axisFixed);
    EXPECT_EQ(c.axisMax, 1);
}

TEST_F(Fixture, OverdueCountsFromOneForTheNewestDraw) {
    const ChartData c = overdue(draws, window);
    EXPECT_EQ(c.caption, "Welche Zahl ist überfällig, wurde als seit wievielen Ziehungen nicht gezogen?");
    ASSERT_EQ(c.points.size(), 70u);
    // G (newest) 1, C 2, B 3, never in the window 3 draws + 1; A on the start day does not count.
    struct Bar {
        int x, y;
    } expected[] = {{2, 1}, {6, 1}, {40, 1}, {1, 2},  {3, 2},  {69, 2}, {41, 2},
                    {5, 3}, {7, 3}, {33, 3}, {64, 3}, {43, 4}, {65, 4}, {67, 4}};
    for (const auto& b : expected) EXPECT_EQ(ys(c, b.x), b.y) << b.x;
    EXPECT_EQ(c.points[66].colour, BarColour::Red); // 67
    EXPECT_TRUE(c.axisFixed);
    EXPECT_EQ(c.axisMin, 1);
    EXPECT_EQ(c.axisMax, 4);
}

TEST_F(Fixture, RunsCountEachStartOfNeighbouringNumbers) {
    struct Case {
        int length;
        size_t bars;
        const char* caption;
        std::vector<int> starts; // first numbers found once each
        bool fixed;
    } cases[] = {
        {2, 69, "Bei 3 Ziehungen wurden 7 Paare gefunden!", {5, 6, 30, 31, 32, 68, 69}, true},
        {3, 68, "Bei 3 Ziehungen wurden 4 Dreier gefunden!", {5, 30, 31, 68}, true},
        {4, 70, "Bei 3 Ziehungen wurden 1 Vierer gefunden!", {30}, false},
    };
    for (const auto& k : cases) {
        const ChartData c = runs(draws, window, k.length);
        EXPECT_EQ(c.caption, k.caption);
        ASSERT_EQ(c.points.size(), k.bars);
        for (size_t i = 0; i < c.points.size(); ++i) {
            const int x = int(i) + 1;
            const bool found = std::find(k.starts.begin(), k.starts.end(), x) != k.starts.end();
            EXPECT_EQ(c.points[i].x, x);
            EXPECT_EQ(c.points[i].y, found ? 1 : 0) << "run of " << k.length << " at " << x;
            EXPECT_EQ(c.points[i].colour, BarColour::Series);
        }
        EXPECT_EQ(c.axisFixed, k.fixed);
        EXPECT_EQ(c.axisMin, 0);
        EXPECT_EQ(c.axisMax, 1);
    }
    EXPECT_EQ(lastKenoDraw(draws, window, StartDay::Excluded), 6u); // G, not the broken or undated ones
}

TEST_F(Fixture, Plus5DigitsByPositionAndMode) {
    struct Case {
        int position;
        Plus5Mode mode;
        const char* caption;
        std::vector<double> bars;
    } cases[] = {
        // A, B and C count (the start day included); G has no Plus 5 number, F broken digits.
        {1,
         Plus5Mode::WieOft,
         "Zahlenverteilung Zehntausender-Position   Ziehungen: 3    Quersumme: 6",
         {0, 1, 0, 0, 0, 0, 0, 0, 0, 2}},
        {2,
         Plus5Mode::WieOft,
         "Zahlenverteilung Tausender-Position   Ziehungen: 3    Quersumme: 4",
         {1, 0, 1, 0, 0, 0, 0, 0, 0, 1}},
        {4,
         Plus5Mode::WieOft,
         "Zahlenverteilung Zehner-Position   Ziehungen: 3    Quersumme: 5",
         {0, 1, 0, 0, 1, 0, 0, 0, 0, 1}},
        {5,
         Plus5Mode::WieOft,
         "Zahlenverteilung Einer-Position   Ziehungen: 3    Quersumme: 6",
         {0, 0, 0, 0, 0, 2, 0, 0, 0, 1}},
        {6,
         Plus5Mode::WieOft,
         "Zahlenverteilung Über alle Position   Ziehungen: 3    Quersumme: 25",
         {2, 2, 1, 1, 1, 2, 0, 0, 0, 6}},
        // A digit never seen has the number of draws, one seen in the newest draw 1.
        {2,
         Plus5Mode::Ausstehend,
         "Zahlenverteilung Tausender-Position   Ziehungen: 3    Quersumme: 4",
         {2, 3, 3, 3, 3, 3, 3, 3, 3, 1}},
        {6,
         Plus5Mode::Ausstehend,
         "Zahlenverteilung Über alle Position   Ziehungen: 3    Quersumme: 25",
         {2, 2, 3, 3, 3, 2, 3, 3, 3, 1}},
    };
    for (const auto& k : cases) {
        const ChartData c = plus5Digits(draws, window, k.position, k.mode);
        EXPECT_EQ(c.caption, k.caption);
        EXPECT_EQ(bars(c), k.bars) << "position " << k.position << " mode " << int(k.mode);
        for (int x = 0; x <= 9; ++x) {
            EXPECT_EQ(c.points[size_t(x)].x, x);
            EXPECT_EQ(c.points[size_t(x)].colour, BarColour::Green);
        }
        const auto [lo, hi] = std::minmax_element(k.bars.begin(), k.bars.end());
        EXPECT_TRUE(c.axisFixed);
        EXPECT_EQ(c.axisMin, *lo);
        EXPECT_EQ(c.axisMax, *hi);
        EXPECT_FALSE(c.marksVisible);
    }
}

TEST_F(Fixture, Plus5SumsLeaveOutTheStartDay) {
    const ChartData c = plus5Sums(draws, window);
    EXPECT_EQ(c.caption, "Quersummenverteilung     Ziehungen: 2    Quersumme: 30"); // B 15, C 45
    ASSERT_EQ(c.points.size(), 31u);
    EXPECT_EQ(c.points.front().x, 15);
    EXPECT_EQ(c.points.back().x, 45);
    EXPECT_EQ(ys(c, 15), 1);
    EXPECT_EQ(ys(c, 30), 0);
    EXPECT_EQ(ys(c, 45), 1);
    EXPECT_FALSE(c.axisFixed);
}

TEST(StatisticsEmptyWindow, FlatOrEmptyChartsAndNoMean) {
    const std::vector<DrawRecord> none;
    const Window w = settleWindow(dateValue(2020, 1, 1), dateValue(2020, 2, 1));
    const ChartData numbers = numberDistribution(none, w);
    EXPECT_EQ(numbers.caption, "Zahlenverteilung     Ziehungen: 0    Quersumme: -");
    EXPECT_EQ(numbers.points.size(), 70u);
    EXPECT_EQ(total(numbers), 0);
    EXPECT_EQ(numbers.axisMin, 0);
    EXPECT_EQ(numbers.axisMax, 0);

    const ChartData sums = crossSums(none, w);
    EXPECT_EQ(sums.caption, "Quersummenverteilung     Ziehungen: 0    Quersumme: -");
    EXPECT_TRUE(sums.points.empty());

    const ChartData wait = overdue(none, w);
    EXPECT_EQ(wait.axisMin, 1);
    EXPECT_EQ(wait.axisMax, 1);

    for (int length : {2, 3, 4}) {
        const ChartData r = runs(none, w, length);
        EXPECT_EQ(total(r), 0);
        EXPECT_EQ(r.caption.rfind("Bei 0 Ziehungen wurden 0 ", 0), 0u) << r.caption;
    }
    EXPECT_EQ(runs(none, w, 3).caption, "Bei 0 Ziehungen wurden 0 Dreier gefunden!");

    EXPECT_EQ(plus5Digits(none, w, 3, Plus5Mode::Ausstehend).caption,
              "Zahlenverteilung Hunderter-Position   Ziehungen: 0    Quersumme: -");
    EXPECT_EQ(total(plus5Digits(none, w, 6, Plus5Mode::Ausstehend)), 0);
    EXPECT_TRUE(plus5Sums(none, w).points.empty());
    EXPECT_FALSE(lastKenoDraw(none, w, StartDay::Included));
}

TEST(TipDistribution, CountsEveryReadableNumberOfEveryLine) {
    struct Case {
        std::vector<std::string> lines;
        std::vector<std::pair<int, int>> counts; // every other number 0
    } cases[] = {
        {{}, {}},
        {{"03,17,22", "03,70"}, {{3, 2}, {17, 1}, {22, 1}, {70, 1}}},
        {{"1,1,2"}, {{1, 2}, {2, 1}}}, // a number twice counts twice
        {{"", "5,,6", " 7 , 8", "x,9", "10,"}, {{5, 1}, {6, 1}, {7, 1}, {8, 1}, {9, 1}, {10, 1}}}, // blanks pass
        {{"0,71,-3,99999999999,4294967297", "12"}, {{12, 1}}},                                     // outside 1..70
    };
    for (const auto& k : cases) {
        const ChartData c = tipDistribution(k.lines);
        EXPECT_EQ(c.caption, "Zahlenverteilung des Tippes");
        ASSERT_EQ(c.points.size(), 70u);
        double want = 0;
        for (const auto& [x, n] : k.counts) {
            EXPECT_EQ(ys(c, x), n) << x;
            want += n;
        }
        EXPECT_EQ(total(c), want) << (k.lines.empty() ? "" : k.lines[0]);
        EXPECT_TRUE(c.axisFixed);
    }
    const ChartData empty = tipDistribution({});
    EXPECT_EQ(empty.axisMin, 0);
    EXPECT_EQ(empty.axisMax, 0);
    EXPECT_EQ(empty.points[66].colour, BarColour::Red);
    EXPECT_EQ(empty.points[67].colour, BarColour::Green);

    std::vector<std::string> five(5, "01,02,03,04,05,06,07,08,09,10");
    five[4] = "61,62,63,64,65,66,67,68,69,70";
    const ChartData c = tipDistribution(five);
    EXPECT_EQ(total(c), 50);
    EXPECT_EQ(c.axisMin, 0);
    EXPECT_EQ(c.axisMax, 4);
}

// The bundled real history over fixed windows; the figures were counted from data/keno_draws.csv
// by an independent script.
TEST(StatisticsRealHistory, FixedWindows) {
    const auto& h = realHistory();
    ASSERT_EQ(h.size(), 7666u);
    struct Case {
        Window window;
        const char* numbersCaption;
        int n1, n70, nMin, nMax;
        const char* sumsCaption;
        int smallestSum, largestSum;
        int wait1, waitMax;
        int pairs, triples, quads, pairMin, pairMax, tripleMin, tripleMax, quadMax;
    } cases[] = {
        // the first year: its first draw lies on the start day
        {settleWindow(dateValue(2004, 2, 2), dateValue(2004, 12, 31)),
         "Zahlenverteilung     Ziehungen: 287    Quersumme: 715", 81, 83, 64, 106,
         "Quersummenverteilung     Ziehungen: 286    Quersumme: 715", 476, 919, 1, 15, 1523, 378, 92, 11, 38, 0, 12, 6},
        // 2025: the start moves a year back from the end
        {settleWindow(dateValue(2026, 1, 1), dateValue(2025, 12, 29)),
         "Zahlenverteilung     Ziehungen: 366    Quersumme: 707", 92, 88, 85, 129,
         "Quersummenverteilung     Ziehungen: 365    Quersumme: 707", 402, 978, 6, 13, 2005, 494, 119, 16, 48, 2, 15,
         6},
        // everything since the earliest start date
        {settleWindow(kStatsMinDate, dateValue(2025, 12, 29)), "Zahlenverteilung     Ziehungen: 7666    Quersumme: 710",
         2149, 2181, 2104, 2307, "Quersummenverteilung     Ziehungen: 7666    Quersumme: 710", 402, 997, 6, 13, 41670,
         10842, 2700, 547, 648, 134, 192, 51},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(formatDate(k.window.start));
        const ChartData numbers = numberDistribution(h, k.window);
        EXPECT_EQ(numbers.caption, k.numbersCaption);
        EXPECT_EQ(ys(numbers, 1), k.n1);
        EXPECT_EQ(ys(numbers, 70), k.n70);
        EXPECT_EQ(numbers.axisMin, k.nMin);
        EXPECT_EQ(numbers.axisMax, k.nMax);

        const ChartData sums = crossSums(h, k.window);
        EXPECT_EQ(sums.caption, k.sumsCaption);
        EXPECT_EQ(sums.points.front().x, k.smallestSum);
        EXPECT_EQ(sums.points.back().x, k.largestSum);

        const ChartData wait = overdue(h, k.window);
        EXPECT_EQ(ys(wait, 1), k.wait1);
        EXPECT_EQ(wait.axisMin, 1);
        EXPECT_EQ(wait.axisMax, k.waitMax);

        const int draws = std::stoi(std::string(k.sumsCaption + 36));
        const ChartData p = runs(h, k.window, 2), t = runs(h, k.window, 3), q = runs(h, k.window, 4);
        EXPECT_EQ(p.caption,
                  "Bei " + std::to_string(draws) + " Ziehungen wurden " + std::to_string(k.pairs) + " Paare gefunden!");
        EXPECT_EQ(t.caption, "Bei " + std::to_string(draws) + " Ziehungen wurden " + std::to_string(k.triples) +
                                 " Dreier gefunden!");
        EXPECT_EQ(q.caption, "Bei " + std::to_string(draws) + " Ziehungen wurden " + std::to_string(k.quads) +
                                 " Vierer gefunden!");
        EXPECT_EQ(total(p), k.pairs);
        EXPECT_EQ(p.axisMin, k.pairMin);
        EXPECT_EQ(p.axisMax, k.pairMax);
        EXPECT_EQ(t.axisMin, k.tripleMin);
        EXPECT_EQ(t.axisMax, k.tripleMax);
        EXPECT_EQ(q.axisMin, 0);
        EXPECT_EQ(q.axisMax, k.quadMax);

        // The history carries no Plus 5 numbers: no Plus 5 statistic counts a draw from it.
        EXPECT_EQ(plus5Digits(h, k.window, 6, Plus5Mode::WieOft).caption,
                  "Zahlenverteilung Über alle Position   Ziehungen: 0    Quersumme: -");
    }
}

// The group searches are defined through the tip check of a group tip line ("5,6,0,0,0,0") against
// each draw. The bit-set count must give the same bars as that definition does with a Keno type
// that compares every number of the run.
TEST(StatisticsRealHistory, RunsAgreeWithTheTipCheckOfGroupLines) {
    const auto& h = realHistory();
    const Window w = settleWindow(dateValue(2023, 6, 30), dateValue(2025, 12, 29));
    Model m;
    m.num(Num::KenoType).set(10);
    for (int length : {2, 3, 4}) {
        std::array<int, 71> r{};
        int draws = 0, found = 0;
        for (const DrawRecord& d : h) {
            if (!inWindow(w, d.datum, StartDay::Excluded)) continue;
            ++draws;
            for (size_t k = 0; k < 20; ++k) m.drawNumbers[k + 1] = d.zahl[k];
            for (int x = 1; x <= 71 - length; ++x) {
                std::string line;
                for (int k = 0; k < length; ++k) line += (k ? "," : "") + std::to_string(x + k);
                for (int k = length; k < 6; ++k) line += ",0";
                checkTip(m, line);
                if (m.tipHits == length) ++r[size_t(x)], ++found;
            }
        }
        const ChartData c = runs(h, w, length);
        for (const auto& p : c.points) EXPECT_EQ(p.y, r[size_t(p.x)]) << length << " at " << p.x;
        EXPECT_EQ(c.caption.substr(0, c.caption.find(" wurden")), "Bei " + std::to_string(draws) + " Ziehungen");
        EXPECT_NE(c.caption.find(" wurden " + std::to_string(found) + " "), std::string::npos);
    }
}

// The running totals answer as the functions that read every draw: the bundled history over random
// windows (borders on draw days and between them, inside and across the 64-record strides, a start
// after the end, windows before the first and after the last draw), a history in order with broken
// records inside, and one out of order or with an unreadable date, where the tally declines.
TEST(DrawTally, AnswersAsTheFunctionsOverEveryDraw) {
    const auto& real = realHistory();
    ASSERT_GT(real.size(), 7000u);
    std::vector<DrawRecord> broken = real;
    for (size_t i = 5; i < broken.size(); i += 97) broken[i].zahl[3] = broken[i].zahl[4]; // a number twice
    broken[200].zahl[0] = 71;

    std::mt19937 random(7);
    const auto pick = [&](const std::vector<DrawRecord>& h) {
        const double first = h.front().datum, last = h.back().datum;
        const double span = last - first + 40;
        return std::floor(first - 20 + static_cast<double>(random() % static_cast<unsigned>(span)));
    };
    uint64_t generation = 1;
    for (const auto* history : {&real, &std::as_const(broken)}) {
        DrawTally tally;
        tally.update(*history, ++generation);
        ASSERT_TRUE(tally.usable());
        for (int round = 0; round < 1500; ++round) {
            Window w;
            w.start = pick(*history);
            w.end = round % 10 == 0 ? w.start - 3 : round % 3 == 0 ? history->back().datum : pick(*history);
            if (round % 5 == 0 && w.end < w.start) std::swap(w.start, w.end);
            SCOPED_TRACE(std::to_string(w.start) + " .. " + std::to_string(w.end));
            ASSERT_EQ(tally.numberDistribution(*history, w), numberDistribution(*history, w));
            ASSERT_EQ(tally.overdue(*history, w), overdue(*history, w));
        }
    }

    // Out of date order, or an unreadable date: the tally cannot answer; a new generation is taken up.
    std::vector<DrawRecord> shuffled = real;
    std::swap(shuffled[100], shuffled[101]);
    std::vector<DrawRecord> undated = real;
    undated[300].datum = std::numeric_limits<double>::quiet_NaN();
    DrawTally tally;
    tally.update(shuffled, 1);
    EXPECT_FALSE(tally.usable());
    tally.update(real, 1); // the same generation: kept as it is
    EXPECT_FALSE(tally.usable());
    tally.update(real, 2);
    EXPECT_TRUE(tally.usable());
    tally.update(undated, 3);
    EXPECT_FALSE(tally.usable());
    tally.update({}, 4);
    EXPECT_TRUE(tally.usable());
    const Window w = settleWindow(dateValue(2020, 1, 1), dateValue(2021, 1, 1));
    EXPECT_EQ(tally.numberDistribution({}, w), numberDistribution({}, w));
    EXPECT_EQ(tally.overdue({}, w), overdue({}, w));
}
