#pragma once
// The tests a candidate tip passes on its way into the tip list: the plain ones on the tip itself and
// the history filters, which ask whether a draw of a date window shares too many numbers with the tip.
//
// A tip here is the array `tipp` of the generator: positions 1..n hold its numbers, sorted ascending.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/draws/DrawRecord.h"

namespace zf {

// Two neighbours p(i) + 1 = p(i+1).
bool hasPair(const uint8_t* tipp, int n);
// Three neighbours in a row.
bool hasTriple(const uint8_t* tipp, int n);
int countEven(const uint8_t* tipp, int n);
int countOdd(const uint8_t* tipp, int n);
// Two numbers of the sorted tip in the same ten (1..9, 10..19, ..., 60..69, 70).
bool sameTen(const uint8_t* tipp, int n);
// Numbers of the prime set (1 and the primes up to 70) among positions 1..count.
int countPrimes(const uint8_t* tipp, int count);

// The cross sum scaled to 20 numbers: sum / n * 20, halves to even; 0 for an empty tip.
int scaledCrossSum(int sum, int n);
// The weeks of the recent window: M draws at six draws a week, rounded halves to even.
int recentWindowWeeks(int draws);

// The draw history in date order as 70-bit sets, for the history filters. Records without a usable
// date take no part; a history whose records are out of date order is put in order.
//
// Besides the sets it keeps one column per number: a bit per draw, set where the draw holds the
// number. "Does a draw of the window share k of the tip's c numbers" is then answered 256 draws at a
// time with a few word operations per tip number, instead of two population counts per draw.
class HistoryIndex {
public:
    void build(const std::vector<DrawRecord>& records, const std::vector<DrawBits>& bits);
    size_t size() const { return days_.size(); }
    // The draws with startExclusive < date <= endInclusive, as an index range.
    std::pair<size_t, size_t> window(double startExclusive, double endInclusive) const;
    // Whether a draw of the range shares `limit` or more numbers with the tip.
    bool anyWithHits(std::pair<size_t, size_t> range, const DrawBits& tip, int limit) const;
    // The same by looking at every draw of the range in turn.
    bool anyWithHitsByScan(std::pair<size_t, size_t> range, const DrawBits& tip, int limit) const;

private:
    bool anyWithHitsByColumns(size_t first, size_t last, const DrawBits& tip, int limit) const;

    std::vector<double> days_;
    std::vector<DrawBits> bits_;
    size_t words_ = 0;              // words of a column, a whole number of blocks
    std::vector<uint64_t> columns_; // number x (1..70) at [(x - 1) * words_, x * words_)
};

} // namespace zf
