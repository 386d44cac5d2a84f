#include "core/generator/TipFilters.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

#include "core/stats/Statistics.h"

namespace zf {
namespace {

// The columns are read in blocks of four words: 256 draws at a time.
constexpr size_t kBlockWords = 4;
constexpr size_t kBlockDraws = kBlockWords * 64;
constexpr uint64_t kHiNumbers = 0x3f; // 65..70
// The draws a query looks at one by one before it turns to the columns: where hits are common the
// first of them already holds one.
constexpr size_t kProbeDraws = 32;
// The most misses of the tip's numbers a draw may have and still count, for the column search.
constexpr int kMaxColumnMisses = 5;

// Whether a search for `limit` of `numbers` numbers is best done draw by draw: when a draw of 20 out of
// 70 numbers holds that many with a chance above 1 in 128, the first hit comes within a few dozen
// draws, sooner than the columns of one block are read (ten numbers: limit 6 and below).
const auto kScanFirst = [] {
    const auto choose = [](int n, int k) {
        double c = 1;
        for (int i = 1; i <= k; ++i) c = c * (n - k + i) / i;
        return c;
    };
    std::array<std::array<bool, 71>, 71> scan{};
    for (int numbers = 0; numbers <= 70; ++numbers)
        for (int limit = 0; limit <= numbers; ++limit) {
            double chance = 0;
            for (int k = limit; k <= std::min(numbers, 20); ++k)
                if (numbers - k <= 50) chance += choose(20, k) * choose(50, numbers - k);
            chance /= choose(70, numbers);
            scan[static_cast<size_t>(numbers)][static_cast<size_t>(limit)] =
                chance * 128 > 1 || numbers - limit > kMaxColumnMisses;
        }
    return scan;
}();

} // namespace

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

    words_ = (days_.size() + kBlockDraws - 1) / kBlockDraws * kBlockWords;
    columns_.assign(70 * words_, 0);
    for (size_t d = 0; d < bits_.size(); ++d) {
        const uint64_t bit = uint64_t{1} << (d % 64);
        const size_t word = d / 64;
        for (uint64_t w = bits_[d].lo; w; w &= w - 1)
            columns_[static_cast<size_t>(__builtin_ctzll(w)) * words_ + word] |= bit;
        for (uint64_t w = bits_[d].hi & kHiNumbers; w; w &= w - 1)
            columns_[static_cast<size_t>(64 + __builtin_ctzll(w)) * words_ + word] |= bit;
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

bool HistoryIndex::anyWithHitsByScan(std::pair<size_t, size_t> range, const DrawBits& tip, int limit) const {
    if (range.second <= range.first || range.second > bits_.size()) return false;
    const DrawBits* b = bits_.data() + range.first;
    const size_t count = range.second - range.first;
    return kHavePopcnt ? scan<true>(b, count, tip.lo, tip.hi, limit) : scan<false>(b, count, tip.lo, tip.hi, limit);
}

bool HistoryIndex::anyWithHits(std::pair<size_t, size_t> range, const DrawBits& tip, int limit) const {
    if (range.second <= range.first || range.second > bits_.size()) return false;
    if (limit <= 0) return true; // every draw has that many
    const int numbers = __builtin_popcountll(tip.lo) + __builtin_popcountll(tip.hi & kHiNumbers);
    if (limit > numbers) return false;
    const size_t count = range.second - range.first;
    if (kScanFirst[static_cast<size_t>(numbers)][static_cast<size_t>(limit)] || count <= kProbeDraws)
        return anyWithHitsByScan(range, tip, limit);
    // The draws are asked in whatever order finds a hit soonest: the first few in turn, then the rest
    // by columns.
    if (anyWithHitsByScan({range.first, range.first + kProbeDraws}, tip, limit)) return true;
    return anyWithHitsByColumns(range.first + kProbeDraws, range.second, tip, limit);
}

namespace {

// Over the draws [first, last): with `misses` = c - limit, a draw has `limit` or more hits exactly when
// it misses at most `misses` of the c numbers. atMost[j] holds the draws that missed at most j of the
// numbers seen so far; a number's column moves a draw that misses it from atMost[j] down to
// atMost[j+1]. Once atMost[misses] is empty in a block no later number can bring a draw back.
template <int Misses> bool columnsHit(const uint64_t* const* columns, int count, size_t firstWord, size_t lastWord,
                                      uint64_t firstMask, uint64_t lastMask) {
    for (size_t block = firstWord - firstWord % kBlockWords; block <= lastWord; block += kBlockWords) {
        uint64_t range[kBlockWords];
        for (size_t i = 0; i < kBlockWords; ++i) {
            const size_t word = block + i;
            range[i] = word < firstWord || word > lastWord ? 0 : ~uint64_t{0};
            if (word == firstWord) range[i] &= firstMask;
            if (word == lastWord) range[i] &= lastMask;
        }
        uint64_t atMost[Misses + 1][kBlockWords];
        for (int j = 0; j <= Misses; ++j)
            for (size_t i = 0; i < kBlockWords; ++i) atMost[j][i] = range[i];
        bool any = true;
        for (int k = 0; k < count && any; ++k) {
            const uint64_t* x = columns[k] + block;
            for (int j = Misses; j >= 1; --j)
                for (size_t i = 0; i < kBlockWords; ++i) atMost[j][i] = (atMost[j][i] & x[i]) | atMost[j - 1][i];
            for (size_t i = 0; i < kBlockWords; ++i) atMost[0][i] &= x[i];
            uint64_t left = 0;
            for (size_t i = 0; i < kBlockWords; ++i) left |= atMost[Misses][i];
            any = left != 0;
        }
        if (any) return true;
    }
    return false;
}

} // namespace

bool HistoryIndex::anyWithHitsByColumns(size_t first, size_t last, const DrawBits& tip, int limit) const {
    const uint64_t* columns[70];
    int count = 0;
    for (uint64_t w = tip.lo; w; w &= w - 1)
        columns[count++] = columns_.data() + static_cast<size_t>(__builtin_ctzll(w)) * words_;
    for (uint64_t w = tip.hi & kHiNumbers; w; w &= w - 1)
        columns[count++] = columns_.data() + static_cast<size_t>(64 + __builtin_ctzll(w)) * words_;
    const size_t firstWord = first / 64, lastWord = (last - 1) / 64;
    const uint64_t firstMask = ~uint64_t{0} << (first % 64);
    const uint64_t lastMask = ~uint64_t{0} >> (63 - (last - 1) % 64);
    switch (count - limit) {
    case 0:
        return columnsHit<0>(columns, count, firstWord, lastWord, firstMask, lastMask);
    case 1:
        return columnsHit<1>(columns, count, firstWord, lastWord, firstMask, lastMask);
    case 2:
        return columnsHit<2>(columns, count, firstWord, lastWord, firstMask, lastMask);
    case 3:
        return columnsHit<3>(columns, count, firstWord, lastWord, firstMask, lastMask);
    case 4:
        return columnsHit<4>(columns, count, firstWord, lastWord, firstMask, lastMask);
    default:
        static_assert(kMaxColumnMisses == 5);
        return columnsHit<5>(columns, count, firstWord, lastWord, firstMask, lastMask);
    }
}

} // namespace zf
