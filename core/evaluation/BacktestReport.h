#pragma once
// What the backtests count and the lines of their report "Analyse.txt".
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zf {

// The seven backtests of the tab "Datenbank", by what they test.
enum class BacktestKind {
    TipsUntilToday, // BitBtn9: tips made once, checked against every later draw
    TipsPerDraw,    // Erfolgstest: tips made anew for each draw, checked against the next one
    NextDraw,       // Button7: a draw's numbers against the next draw
    SecondNextDraw, // Button8: ... against the draw two ahead
    ThirdNextDraw,  // Button9: ... against the draw three ahead
    NextThreeDraws, // Button10: ... against each of the next three draws
    LastThreeDraws, // Button11: ... against each of the three draws before it
};

// The button name of a backtest ("BitBtn9", "Erfolgstest", "Button7" ... "Button11") and back.
std::string_view backtestName(BacktestKind kind);
std::optional<BacktestKind> backtestByName(std::string_view name);

inline bool isGeneratorBacktest(BacktestKind k) {
    return k == BacktestKind::TipsUntilToday || k == BacktestKind::TipsPerDraw;
}
inline bool hasPassSums(BacktestKind k) {
    return k == BacktestKind::NextThreeDraws || k == BacktestKind::LastThreeDraws;
}

struct BacktestTotals {
    // 64 bits: half a million tips over the whole history count past 2^31.
    std::array<int64_t, 21> hits{}; // how many tip checks had h hits
    int32_t passes = 0;
    // Three-draw tests: the lowest and the highest sum of hits of one pass, with the date shown then.
    int32_t lowest = 1000, highest = 0;
    double lowestDate = 0, highestDate = 0;

    void add(const std::array<int, 21>& statistik, int upTo);
    // A pass sum; ties keep the earlier date.
    void notePassSum(int32_t sum, double date);
};

// "Aktuelle Einstellung brachten ", one line per hit count 0..kenoType, a blank line, "Bei N Ziehungen".
std::vector<std::string> shortReport(const BacktestTotals& t, int kenoType);
// "Aktuelle Einstellung brachten ", 21 lines 00..20, "Bei N Ziehungen".
std::vector<std::string> longReport(const BacktestTotals& t);
// The two lines of the lowest and the highest pass sum.
std::vector<std::string> passSumLines(const BacktestTotals& t);

} // namespace zf
