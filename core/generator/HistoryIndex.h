#pragma once
// The draw history in date order, for the history filters: "does a draw of a date window share
// `limit` or more numbers with the tip?"
//
// Besides the draws as 70-bit sets it keeps one column per number: a bit per draw, set where the draw
// holds the number. A query counts the tip's hits of 256 draws at once: the tip's columns are added
// bit-sliced (the bits of the 256 counts in four vectors, a carry running through them per column),
// and a block whose counts reach the limit answers the query. The draw-by-draw look at every draw is
// kept as the reference the tests and benchmarks compare with.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "base/CodePath.h"
#include "core/draws/DrawRecord.h"

namespace zf {

class HistoryIndex {
public:
    // Records without a usable date take no part; a history out of date order is put in order.
    void build(const std::vector<DrawRecord>& records, const std::vector<DrawBits>& bits);
    size_t size() const { return days_.size(); }
    // The draws with startExclusive < date <= endInclusive, as an index range.
    std::pair<size_t, size_t> window(double startExclusive, double endInclusive) const;

    // Whether a draw of the range shares `limit` or more numbers with the tip, on the index's code path.
    bool anyWithHits(std::pair<size_t, size_t> range, const DrawBits& tip, int limit) const {
        if (range.second <= range.first || range.second > bits_.size()) return false;
        if (limit <= 0) return true; // every draw has that many
        return search_(*this, range.first, range.second, tip, limit);
    }
    // The same on a path chosen by the caller.
    bool anyWithHits(std::pair<size_t, size_t> range, const DrawBits& tip, int limit, CodePath path) const;
    // The reference: every draw of the range in turn.
    bool anyWithHitsByScan(std::pair<size_t, size_t> range, const DrawBits& tip, int limit) const;

    // The path of anyWithHits; one that does not run here counts as Generic.
    void setCodePath(CodePath path);
    CodePath codePath() const { return path_; }

    // The columns are read in blocks of four 64-bit words: 256 draws.
    static constexpr size_t kBlockWords = 4;
    // Tips up to this many numbers are counted by columns; longer ones draw by draw.
    static constexpr int kMaxColumnNumbers = 15;

private:
    // The search of a valid range for a limit of 1 or more.
    using Search = bool (*)(const HistoryIndex&, size_t first, size_t last, const DrawBits& tip, int limit);
    static Search searchOf(CodePath path);
    friend struct HistorySearch;

    std::vector<double> days_;
    std::vector<DrawBits> bits_;
    size_t words_ = 0;              // words of a column, a whole number of blocks
    std::vector<uint64_t> columns_; // number x (1..70) at [(x - 1) * words_, x * words_)
    CodePath path_ = fastestCodePath();
    Search search_ = searchOf(path_);
};

} // namespace zf
