#include "generator/TipFilters.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "stats/Statistics.h"

namespace zf {

bool hasPair(const uint8_t* tipp, int n) {
    for (int i = 1; i < n; ++i)
        if (tipp[i] + 1 == tipp[i + 1]) return true;
    return false;
}

bool hasTriple(const uint8_t* tipp, int n) {
    for (int i = 1; i + 2 <= n; ++i)
        if (tipp[i] + 1 == tipp[i + 1] && tipp[i + 1] + 1 == tipp[i + 2]) return true;
    return false;
}

int countEven(const uint8_t* tipp, int n) {
    int c = 0;
    for (int i = 1; i <= n; ++i) c += tipp[i] % 2 == 0;
    return c;
}

int countOdd(const uint8_t* tipp, int n) {
    int c = 0;
    for (int i = 1; i <= n; ++i) c += tipp[i] % 2 == 1;
    return c;
}

bool sameTen(const uint8_t* tipp, int n) {
    if (n < 1) return false;
    int a = tipp[1] / 10;
    for (int i = 2; i <= n; ++i) {
        if (tipp[i] / 10 == a) return true;
        a = tipp[i] / 10;
    }
    return false;
}

int countPrimes(const uint8_t* tipp, int count) {
    int c = 0;
    for (int i = 1; i <= count; ++i) c += stats::inPrimeSet(tipp[i]);
    return c;
}

int scaledCrossSum(int sum, int n) {
    if (sum == 0 || n <= 0) return 0;
    // 20 * sum / n exactly, rounded halves to even
    const long long num = 20LL * sum;
    long long q = num / n;
    const long long r2 = 2 * (num % n);
    if (r2 > n || (r2 == n && (q & 1))) ++q;
    return static_cast<int>(q);
}

int recentWindowWeeks(int draws) {
    if (draws <= 0) return 0;
    int q = draws / 6;
    const int r = draws % 6;
    if (r > 3 || (r == 3 && (q & 1))) ++q;
    return q;
}

void HistoryIndex::build(const std::vector<DrawRecord>& records, const std::vector<DrawBits>& bits) {
    std::vector<size_t> order;
    order.reserve(records.size());
    for (size_t i = 0; i < records.size() && i < bits.size(); ++i)
        if (std::isfinite(records[i].datum)) order.push_back(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return records[a].datum < records[b].datum; });
    days_.clear();
    bits_.clear();
    days_.reserve(order.size());
    bits_.reserve(order.size());
    for (size_t i : order) {
        days_.push_back(records[i].datum);
        bits_.push_back(bits[i]);
    }
}

std::pair<size_t, size_t> HistoryIndex::window(double startExclusive, double endInclusive) const {
    const auto first = std::upper_bound(days_.begin(), days_.end(), startExclusive);
    const auto last = std::upper_bound(days_.begin(), days_.end(), endInclusive);
    if (last <= first) return {0, 0};
    return {static_cast<size_t>(first - days_.begin()), static_cast<size_t>(last - days_.begin())};
}

namespace {

// The scan every candidate that gets this far pays for: two ANDs and two population counts a draw.
// With the processor's popcount instruction it is several times faster than the portable routine.
template <bool> bool scan(const DrawBits* b, size_t count, uint64_t lo, uint64_t hi, int limit);

template <> __attribute__((target("popcnt"))) bool scan<true>(const DrawBits* b, size_t count, uint64_t lo, uint64_t hi,
                                                              int limit) {
    for (size_t i = 0; i < count; ++i)
        if (__builtin_popcountll(b[i].lo & lo) + __builtin_popcountll(b[i].hi & hi) >= limit) return true;
    return false;
}

template <> bool scan<false>(const DrawBits* b, size_t count, uint64_t lo, uint64_t hi, int limit) {
    for (size_t i = 0; i < count; ++i)
        if (__builtin_popcountll(b[i].lo & lo) + __builtin_popcountll(b[i].hi & hi) >= limit) return true;
    return false;
}

const bool kHavePopcnt = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("popcnt") != 0;
}();

} // namespace

bool HistoryIndex::anyWithHits(std::pair<size_t, size_t> range, const DrawBits& tip, int limit) const {
    if (range.second <= range.first || range.second > bits_.size()) return false;
    const DrawBits* b = bits_.data() + range.first;
    const size_t count = range.second - range.first;
    return kHavePopcnt ? scan<true>(b, count, tip.lo, tip.hi, limit) : scan<false>(b, count, tip.lo, tip.hi, limit);
}

} // namespace zf
