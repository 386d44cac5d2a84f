#pragma once
// The statistics of the draw history, each a pure function of the draws and the statistics window.
// Every result is a complete ChartData: bars, colours, bottom axis caption and value axis. The tip
// generator reads these bars and the axis range back, so the numbers here are an interface.
//
// Records the history cannot vouch for are left out of every statistic and are not counted as
// draws: a Keno statistic needs 20 different numbers in 1..70; a Plus 5 statistic needs a known
// Plus 5 number with digits 0..9. The bundled real history has no Plus 5 numbers at all, so over
// it every Plus 5 statistic counts no draw.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/draws/DrawRecord.h"
#include "core/stats/ChartData.h"

namespace zf::stats {

// The date range a statistic counts, in whole days.
struct Window {
    double start = 0;        // from the start picker (after the adjustment)
    double end = 0;          // from the browser's date picker
    bool startMoved = false; // the end lay before the start: start = end - 365
};

// Whether a draw on the start day itself counts.
enum class StartDay {
    Included,
    Excluded
};

// The window from the two pickers. Only the day counts, not a time of day the pickers may carry:
// a draw on the start day must count (or not) by the day alone. When the end lies before the start,
// the start becomes the end minus 365 days.
Window settleWindow(double startPicker, double endPicker);

bool inWindow(const Window& w, double datum, StartDay startDay);

// 20 different numbers, each in 1..70.
bool isValidKenoDraw(const DrawRecord& r);
// A known Plus 5 number whose five digits are 0..9.
bool isValidPlus5Draw(const DrawRecord& r);

// 1 and the primes up to 70; their bars are red.
bool inPrimeSet(int x);

// Rounds to the nearest whole number, ties to the even one (710.5 -> 710, 711.5 -> 712).
long long roundHalfEven(double v);

// The mean shown in the captions; "-" when no draw counted (the mean is undefined then).
std::string meanText(double sum, double count);

// Number distribution: 70 bars, X = number, Y = times drawn; start day included.
ChartData numberDistribution(const std::vector<DrawRecord>& draws, const Window& w);
// Cross sums: one bar per sum from the smallest to the largest that occurred; start day excluded.
ChartData crossSums(const std::vector<DrawRecord>& draws, const Window& w);
// Overdue numbers: 70 bars, Y = 1 for a number of the newest draw, k + 1 for one last drawn k draws
// before it, draws + 1 for one not drawn in the window; start day excluded.
ChartData overdue(const std::vector<DrawRecord>& draws, const Window& w);

// The number distribution and the overdue numbers again, from running totals kept for a history in
// date order: a window then costs a few hundred records instead of the whole history. The tip
// generator asks for both on every run, and the backtests run it once for every draw. The results
// are the ones of the functions above, to the last bar and caption.
class DrawTally {
public:
    // Takes the history of this generation, unless it holds it already.
    void update(const std::vector<DrawRecord>& draws, uint64_t generation);
    // Whether the dates rise from record to record (none unreadable), so that a window is one run of
    // records; the tally answers only then.
    bool usable() const { return ordered_; }
    ChartData numberDistribution(const std::vector<DrawRecord>& draws, const Window& w) const;
    ChartData overdue(const std::vector<DrawRecord>& draws, const Window& w) const;

private:
    static constexpr size_t kStride = 64; // records between two stored totals
    struct Totals {
        std::array<int32_t, 71> numbers{}; // times drawn, index = number
        int32_t draws = 0;                 // valid draws
        int64_t crossSums = 0;
    };
    // The records of the window as an index range [first, last).
    std::pair<size_t, size_t> range(const std::vector<DrawRecord>& draws, const Window& w, StartDay day) const;
    // Totals over the records [0, end).
    Totals upTo(const std::vector<DrawRecord>& draws, size_t end) const;

    bool built_ = false;
    uint64_t generation_ = 0;
    bool ordered_ = false;
    std::vector<uint8_t> valid_; // isValidKenoDraw per record
    std::vector<Totals> totals_; // over the records [0, k * kStride)
};

// Runs of `length` neighbouring numbers (2 pairs, 3 triples, 4 quads) drawn together, one bar per
// first number; start day excluded. A run counts when all its numbers were drawn, whatever the Keno
// type is set to: "Zahlen pro Tipp" says how many numbers a tip has, not how long a run is.
ChartData runs(const std::vector<DrawRecord>& draws, const Window& w, int length);

// The newest valid Keno draw of the window in file order (the one the group searches end on).
std::optional<size_t> lastKenoDraw(const std::vector<DrawRecord>& draws, const Window& w, StartDay startDay);

enum class Plus5Mode {
    WieOft = 0,
    Ausstehend = 1
};

// Digit distribution of the Plus 5 numbers: ten bars for the digits 0..9 at `position` 1..5
// (1 = leftmost, the ten-thousands digit; 5 = rightmost, the ones digit) or 6 (all five digits);
// start day included. The caption names the digit's place: position 5 is the "Einer-Position".
ChartData plus5Digits(const std::vector<DrawRecord>& draws, const Window& w, int position, Plus5Mode mode);
// Digit sums of the Plus 5 numbers, from the smallest to the largest that occurred; start day excluded.
ChartData plus5Sums(const std::vector<DrawRecord>& draws, const Window& w);

// How often each number 1..70 occurs in the tip lines. Every number of every line counts, whatever
// the Keno type; a piece that is no whole number (a blank line, ",,") carries no number and is
// passed over, numbers outside 1..70 are not counted.
ChartData tipDistribution(const std::vector<std::string>& tipLines);

} // namespace zf::stats
