#pragma once
// Results beside chance. A KENO draw takes 20 of 70 numbers uniformly, so whatever a tip holds, its
// hits follow one law: h of its k numbers are drawn with probability C(20,h)·C(50,k−h)/C(70,k).
// From that law come the odds and the expected payout of a tip, what a tip list wins on average, the
// hit totals a backtest would expect from random draws and, by redrawing the draws with a fixed seed,
// how unusual the totals it observed are.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/evaluation/BacktestReport.h"

namespace zf {

// C(n, k) for n <= 70 and k <= 20 (C(70, 20) is about 1.6e17): exact.
uint64_t binomial(int n, int k);

// The hits of a tip of `numbers` numbers (0..20) when 20 of 70 are drawn: h hits in ways[h] of the
// total draws; the ways add up to the total exactly.
struct HitLaw {
    int numbers = 0;
    std::array<uint64_t, 21> ways{}; // C(20,h)·C(50,numbers−h)
    uint64_t total = 1;              // C(70,numbers)
    double probability(int h) const;
};
const HitLaw& hitLaw(int numbers);

// An exact fraction, reduced.
struct Ratio {
    uint64_t num = 0, den = 1;
    bool operator==(const Ratio&) const = default;
};
// What a tip of the Keno type pays back on average per euro of stake, from the payout table.
Ratio expectedReturn(int kenoType);

// The euros of the stake list's items "1 EUR", "2 EUR", "5 EUR", "10 EUR"; another item counts as 1.
int64_t stakeEuros(int stakeItem);

// ---- the odds of one tip ("Chancen", `odds`) ----

struct OddsRow {
    int hits = 0;
    uint64_t ways = 0;   // of OddsTable::total
    double odds = 0;     // 1 : odds
    int64_t payout = 0;  // euros at the stake, 0 for no winning class
    double expected = 0; // payout times probability
};

struct OddsTable {
    int kenoType = 10;
    int stakeItem = 0;
    int64_t stake = 1;
    uint64_t total = 1;
    std::vector<OddsRow> rows; // the most hits first, down to 0
    double anyWin = 0;         // the probability of any winning class
    double expectedPayout = 0; // per tip, at the stake
    double returnRate = 0;     // expectedPayout / stake
};
OddsTable oddsTable(int kenoType, int stakeItem);

// "1 : 2.147.181", "1 : 38,6", "1 : 4,56".
std::string oddsText(double odds);
// "Gewinnchance je Tipp 1 : 7,38 (13,54 %)".
std::string anyWinText(const OddsTable& t);
// "Von 1 € Einsatz fließen im Mittel 0,49 € zurück (49,4 %)".
std::string returnText(const OddsTable& t);
// The batch lines: "HITS;1 : X;PAYOUT;EXPECTED" per row, then "anywin;1 : X;P %" and
// "return;P %;Von ... zurück".
std::vector<std::string> oddsLines(const OddsTable& t);

// ---- a tip list in any draw ("Gewinne") ----

struct ListOutlook {
    int64_t tips = 0;
    int64_t stake = 0;        // the list's stake in euros
    double expectedWin = 0;   // what the list wins on average in a draw
    int64_t won = 0;          // what it wins in the draw on display
    double chanceAtLeast = 1; // how likely random tips win at least `won`
    bool estimated = false;   // chanceAtLeast from random trials (a very long list with a big win)
};
// The tips count with as many numbers as the hit check compares; `hits` is the hits column.
ListOutlook listOutlook(const std::vector<std::string>& tipLines, const std::vector<uint8_t>& hits, int kenoType,
                        int stakeItem);
// The lines added to the winnings message.
std::string outlookText(const ListOutlook& o);

// ---- backtests beside chance ----

// The numbers 1..70 as bits 0..69.
struct Tip70 {
    uint64_t lo = 0, hi = 0;
    void add(int number);
    int size() const;
    int hitsIn(const Tip70& draw) const;
    bool operator==(const Tip70&) const = default;
};
// The numbers of a tip line the hit check compares (at most `kenoType`, up to the first piece that is
// no number); numbers outside 1..70 cannot be drawn and are left out.
Tip70 countedNumbers(std::string_view line, int kenoType);
// The 20 numbers of a draw register (slots 1..20).
Tip70 drawnNumbers(const std::array<int, 21>& zahl);

// The tip checks of a generator backtest: per pass the tips checked and the draw they met. A list
// that only grows from pass to pass is stored once.
class TipCheckRecord {
public:
    void addPass(const std::vector<Tip70>& tips, const Tip70& draw);
    size_t passes() const { return passes_.size(); }
    int64_t checks() const { return checks_; }

    struct Pass {
        size_t offset = 0, count = 0; // tips [offset, offset + count) of the store
        Tip70 draw;
    };
    const std::vector<Pass>& passList() const { return passes_; }
    const std::vector<Tip70>& tips() const { return tips_; }

private:
    std::vector<Tip70> tips_;
    std::vector<Pass> passes_;
    int64_t checks_ = 0;
};

struct ChanceMoney {
    int64_t staked = 0, won = 0; // euros
    double mean = 0;             // what random draws paid on average
    double low = 0, high = 0;    // ... in 5 % and in 95 % of the repetitions
};

struct ChanceComparison {
    BacktestKind kind = BacktestKind::NextDraw;
    std::vector<int64_t> observed; // tip checks by hits
    std::vector<double> expected;  // ... for random draws
    int64_t checks = 0;            // tip checks, or comparisons of two draws
    int64_t passes = 0;
    int repetitions = 0;
    uint64_t seed = 0;
    bool complete = true;             // false: stopped before the repetitions were done, no verdict
    double pValue = 1;                // share of random repetitions deviating at least as much
    bool beyondAll = false;           // none did
    std::optional<ChanceMoney> money; // the generator tests
    bool remarkable() const { return complete && pValue < 0.05; }
};

// "im Rahmen des Zufalls (p = 0,42)", "auffällig (p = 0,003)", "auffällig (p < 0,001)".
std::string verdictText(const ChanceComparison& c);
// One sentence on what the verdict means and does not mean.
std::string meaningText(const ChanceComparison& c);
// The caption of a test's button.
std::string_view backtestCaption(BacktestKind kind);
// The lines of "Analyse-Zufall.txt".
std::vector<std::string> comparisonLines(const ChanceComparison& c);

struct ChanceRun {
    int repetitions = 1000;
    uint64_t seed = 31334; // fixed: the same history and tips give the same report
    // Called after each repetition with the share done; false stops the comparison.
    std::function<bool(double)> progress;
};
// The recurrence tests: each comparison of a draw's 20 numbers with another draw hits as two
// independent draws would.
ChanceComparison compareRecurrence(BacktestKind kind, const BacktestTotals& totals, const ChanceRun& run = {});
// The generator tests: the tips stay as tested, the draws are drawn anew.
ChanceComparison compareGenerator(BacktestKind kind, const TipCheckRecord& record, int kenoType, int stakeItem,
                                  const ChanceRun& run = {});

} // namespace zf
