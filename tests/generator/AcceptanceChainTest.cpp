// The acceptance chain on its own: each constraint switched on with its number, a candidate, and
// whether it passes; the history filters on a handful of draws.
#include <functional>

#include "GeneratorFixture.h"
#include "app/generator/AcceptanceChain.h"

using namespace zf;
using namespace zf::gentest;

namespace {

// Three draws of the chosen day and the two before it, and one in January, older than a week.
const std::vector<int> kJanuary = range(1, 20);                         // 10.01.2021
const std::vector<int> kThirdLast = range(21, 40);                      // 04.02.2021
const std::vector<int> kSecondLast = range(41, 60);                     // 05.02.2021
const std::vector<int> kLast = {61, 62, 63, 64, 65, 66, 67, 68, 69, 70, // 06.02.2021
                                1,  2,  3,  4,  5,  6,  7,  8,  9,  10};

DrawBits setOf(const std::vector<int>& numbers) {
    DrawBits b;
    for (int x : numbers) b.set(x);
    return b;
}

using OptionChange = std::function<void(Model&, RunState&)>;

struct ChainCase {
    const char* name;
    OptionChange setup;
    std::vector<int> candidate; // six numbers in any order
    bool passes;
};

} // namespace

TEST(AcceptanceChain, EachConstraintDecidesOnItsOwn) {
    test::TempDir dir;
    test::writeDraws(dir.file("Keno.dat"),
                     {test::drawWith(2021, 1, 10, kJanuary), test::drawWith(2021, 2, 4, kThirdLast),
                      test::drawWith(2021, 2, 5, kSecondLast), test::drawWith(2021, 2, 6, kLast)});
    Model m;
    m.draws.setPath(dir.file("Keno.dat"));
    ASSERT_TRUE(m.draws.refresh());
    AcceptanceChain chain(m);
    chain.refreshHistory();
    chain.beginRun();

    const auto on = [](Opt o, Num n, int value) -> OptionChange {
        return [=](Model& m, RunState&) {
            m.on(o) = true;
            m.num(n).set(value);
        };
    };
    const auto onWith = [](Opt o, std::vector<std::pair<Num, int>> values) -> OptionChange {
        return [=](Model& m, RunState&) {
            m.on(o) = true;
            for (auto [n, v] : values) m.num(n).set(v);
        };
    };
    // The list holds 2,4,6,8,10,12 and 2,4,14,16,18,20; the candidate is for position 3.
    const ChainCase cases[] = {
        {"at most 2 in common: 3 with the first tip",
         on(Opt::MaxOverlap, Num::MaxOverlap, 2),
         {2, 4, 6, 31, 33, 35},
         false},
        {"at most 2 in common: 2 with each", on(Opt::MaxOverlap, Num::MaxOverlap, 2), {2, 4, 31, 33, 35, 37}, true},
        {"a repeated number counts with every equal one",
         on(Opt::MaxOverlap, Num::MaxOverlap, 2),
         {2, 2, 4, 31, 33, 35},
         false},
        {"at least 1 in common: none with the second tip",
         on(Opt::MinOverlap, Num::MinOverlap, 1),
         {6, 31, 33, 35, 37, 39},
         false},
        {"at least 1 in common: one with each", on(Opt::MinOverlap, Num::MinOverlap, 1), {2, 31, 33, 35, 37, 39}, true},
        {"a list position without a tip shares nothing",
         [](Model& m, RunState& r) {
             m.on(Opt::MinOverlap) = true;
             m.num(Num::MinOverlap).set(1);
             r.t = 4;
         },
         {2, 31, 33, 35, 37, 39},
         false},
        {"a number at most twice: 2 a third time",
         on(Opt::MaxOccurrence, Num::MaxOccurrence, 2),
         {2, 31, 33, 35, 37, 39},
         false},
        {"a number at most twice: 6 a second time",
         on(Opt::MaxOccurrence, Num::MaxOccurrence, 2),
         {6, 31, 33, 35, 37, 39},
         true},
        {"a number at most once: the list has one twice already",
         on(Opt::MaxOccurrence, Num::MaxOccurrence, 1),
         {31, 33, 35, 37, 39, 41},
         false},
        {"a pair wanted: none",
         [](Model& m, RunState&) { m.on(Opt::ForcePair) = true; },
         {31, 33, 35, 37, 39, 41},
         false},
        {"a pair wanted: 64, 65",
         [](Model& m, RunState&) { m.on(Opt::ForcePair) = true; },
         {65, 31, 33, 35, 37, 64},
         true},
        {"a pair wanted, but the run has relaxed it",
         [](Model& m, RunState& r) {
             m.on(Opt::ForcePair) = true;
             r.pairRelaxed = true;
         },
         {31, 33, 35, 37, 39, 41},
         true},
        {"no triple: 31, 32, 33",
         [](Model& m, RunState&) { m.on(Opt::NoTriples) = true; },
         {31, 32, 33, 37, 39, 41},
         false},
        {"cross sum 720 below the minimum",
         [](Model& m, RunState&) { m.num(Num::CrossSumMin).set(721); },
         {31, 33, 35, 37, 39, 41},
         false},
        {"cross sum 1120 above the maximum",
         [](Model& m, RunState&) { m.num(Num::CrossSumMax).set(1119); },
         {51, 53, 55, 57, 59, 61},
         false},
        {"2 hits with the last draw, at most 1",
         onWith(Opt::LastDrawHits, {{Num::LastDrawMax, 1}}),
         {61, 70, 31, 33, 35, 37},
         false},
        {"2 hits with the last draw, at least 3",
         onWith(Opt::LastDrawHits, {{Num::LastDrawMax, 9}, {Num::LastDrawMin, 3}}),
         {61, 70, 31, 33, 35, 37},
         false},
        {"2 hits with the last draw, exactly 2",
         onWith(Opt::LastDrawHits, {{Num::LastDrawMax, 2}, {Num::LastDrawMin, 2}}),
         {61, 70, 31, 33, 35, 37},
         true},
        {"1 hit with the second-last draw, none allowed",
         onWith(Opt::SecondDrawHits, {{Num::SecondDrawMax, 0}}),
         {41, 11, 13, 15, 17, 19},
         false},
        {"5 hits with the third-last draw, at most 4",
         onWith(Opt::ThirdDrawHits, {{Num::ThirdDrawMax, 4}}),
         {31, 33, 35, 37, 39, 41},
         false},
        {"3 in the January draw, no 3 in the whole window",
         on(Opt::NoHistoryMatch, Num::HistoryMatch, 3),
         {11, 12, 13, 21, 41, 61},
         false},
        {"3 in the January draw, no 4 in the whole window",
         on(Opt::NoHistoryMatch, Num::HistoryMatch, 4),
         {11, 12, 13, 21, 41, 61},
         true},
        {"the window begins after the statistics' first day",
         [](Model& m, RunState&) {
             m.on(Opt::NoHistoryMatch) = true;
             m.num(Num::HistoryMatch).set(3);
             m.statsStart = dateValue(2021, 1, 10);
         },
         {11, 12, 13, 21, 41, 61},
         true},
        {"4 in the last draw, no 4 in the whole window",
         on(Opt::NoHistoryMatch, Num::HistoryMatch, 4),
         {21, 41, 61, 62, 63, 64},
         false},
        {"the history filters count the first numbers up to the Keno type",
         onWith(Opt::NoHistoryMatch, {{Num::HistoryMatch, 4}, {Num::KenoType, 3}}),
         {21, 41, 61, 62, 63, 64},
         true},
        {"3 in the third-last draw, no 3 in the last 6 draws",
         onWith(Opt::NoRecentMatch, {{Num::RecentMatch, 3}, {Num::RecentDraws, 6}}),
         {21, 22, 23, 11, 12, 13},
         false},
        {"4 in January lies outside the last 6 draws' week",
         onWith(Opt::NoRecentMatch, {{Num::RecentMatch, 2}, {Num::RecentDraws, 6}}),
         {11, 12, 13, 14, 41, 61},
         true},
        {"... but inside the 6 weeks of 36 draws",
         onWith(Opt::NoRecentMatch, {{Num::RecentMatch, 2}, {Num::RecentDraws, 36}}),
         {11, 12, 13, 14, 41, 61},
         false},
        {"at least 2 even: one", on(Opt::MinEven, Num::MinEven, 2), {31, 33, 35, 37, 39, 42}, false},
        {"at least 2 odd: one", on(Opt::MinOdd, Num::MinOdd, 2), {32, 34, 36, 38, 40, 41}, false},
        {"at least 3 primes: 31, 37, 41", on(Opt::MinPrimes, Num::MinPrimes, 3), {31, 33, 35, 37, 39, 41}, true},
        {"at least 4 primes: 31, 37, 41", on(Opt::MinPrimes, Num::MinPrimes, 4), {31, 33, 35, 37, 39, 41}, false},
        {"primes are counted up to the Keno type",
         onWith(Opt::MinPrimes, {{Num::MinPrimes, 2}, {Num::KenoType, 3}}),
         {31, 33, 35, 37, 39, 41},
         false},
        {"one number per ten: 31 and 33",
         [](Model& m, RunState&) { m.on(Opt::OnePerTen) = true; },
         {1, 12, 23, 31, 33, 56},
         false},
        {"one number per ten: 9 and 10 lie apart",
         [](Model& m, RunState&) { m.on(Opt::OnePerTen) = true; },
         {9, 10, 23, 34, 45, 70},
         true},
    };

    for (const ChainCase& c : cases) {
        SCOPED_TRACE(c.name);
        // Every constraint off, the history window from New Year to the chosen day.
        m.resetToDesign();
        neutralOptions(m);
        m.num(Num::KenoType).set(6);
        ASSERT_TRUE(m.setBrowseDate(dateValue(2021, 2, 6)));
        m.statsStart = dateValue(2021, 1, 1);
        RunState run;
        run.n = 6;
        run.t = 3;
        run.recentBits = {setOf(kLast), setOf(kSecondLast), setOf(kThirdLast)};
        run.storeTip(1, {2, 4, 6, 8, 10, 12});
        run.storeTip(2, {2, 4, 14, 16, 18, 20});

        // As an enumeration hands it over: the numbers in the tip, repeats allowed.
        const auto decide = [&] {
            Tipp tipp{};
            for (size_t i = 0; i < c.candidate.size(); ++i) tipp[i + 1] = static_cast<uint8_t>(c.candidate[i]);
            Candidate cand;
            const int crossSum = arrangeCandidate(tipp, cand, run.n, true);
            return chain.accepts(tipp, cand, crossSum, run);
        };
        // As a random draw hands it over: the numbers in drawing order and their set. The same verdict.
        const auto decideDrawn = [&] {
            Tipp tipp{};
            Candidate cand;
            for (size_t i = 0; i < c.candidate.size(); ++i) {
                tipp[i + 1] = static_cast<uint8_t>(c.candidate[i]);
                cand.mask.set(c.candidate[i]);
            }
            const int crossSum = arrangeCandidate(tipp, cand, run.n, false);
            return chain.accepts(tipp, cand, crossSum, run);
        };
        const bool repeats = setOf(c.candidate).count() < static_cast<int>(c.candidate.size());

        EXPECT_TRUE(decide()) << "rejected with every constraint off";
        c.setup(m, run); // between two candidates, as a change during a run
        EXPECT_EQ(decide(), c.passes);
        if (!repeats) {
            EXPECT_EQ(decideDrawn(), c.passes);
        }
    }
}
