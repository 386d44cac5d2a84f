#include "core/generator/HistoryIndex.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace zf {
namespace {

constexpr size_t kBlockWords = HistoryIndex::kBlockWords;
constexpr size_t kBlockDraws = kBlockWords * 64;
constexpr int kMaxColumns = HistoryIndex::kMaxColumnNumbers;
constexpr uint64_t kHiNumbers = 0x3f; // 65..70
// The draws a query looks at one by one before it turns to the columns, where hits are common.
constexpr size_t kProbeDraws = 8;

// Whether a query for `limit` of `numbers` numbers looks at the first few draws one by one: when a
// draw of 20 out of 70 numbers holds that many with a chance of 1 in 8 or more, one of them most
// likely answers it, sooner than the columns of a block are added up.
const auto kProbeFirst = [] {
    const auto choose = [](int n, int k) {
        double c = 1;
        for (int i = 1; i <= k; ++i) c = c * (n - k + i) / i;
        return c;
    };
    std::array<std::array<bool, kMaxColumns + 1>, kMaxColumns + 1> probe{};
    for (int numbers = 0; numbers <= kMaxColumns; ++numbers)
        for (int limit = 0; limit <= numbers; ++limit) {
            double chance = 0;
            for (int k = limit; k <= std::min(numbers, 20); ++k)
                if (numbers - k <= 50) chance += choose(20, k) * choose(50, numbers - k);
            chance /= choose(70, numbers);
            probe[static_cast<size_t>(numbers)][static_cast<size_t>(limit)] = chance * 8 >= 1;
        }
    return probe;
}();

// Four words of a column side by side. The Avx2 path keeps them in one 256-bit vector (GCC and Clang
// vector types); the generic path in four plain words, which the compiler keeps in registers and
// which any processor runs.
struct Words4 {
    uint64_t w[4];
    uint64_t& operator[](size_t i) { return w[i]; }
    uint64_t operator[](size_t i) const { return w[i]; }
    friend Words4 operator&(Words4 a, Words4 b) { return {{a[0] & b[0], a[1] & b[1], a[2] & b[2], a[3] & b[3]}}; }
    friend Words4 operator|(Words4 a, Words4 b) { return {{a[0] | b[0], a[1] | b[1], a[2] | b[2], a[3] | b[3]}}; }
    friend Words4 operator^(Words4 a, Words4 b) { return {{a[0] ^ b[0], a[1] ^ b[1], a[2] ^ b[2], a[3] ^ b[3]}}; }
    friend Words4 operator~(Words4 a) { return {{~a[0], ~a[1], ~a[2], ~a[3]}}; }
};
#if ZF_X86_DISPATCH
typedef uint64_t Vector4 __attribute__((vector_size(32)));
#endif

// A query as the column kernels take it.
struct Query {
    const uint64_t* columns[kMaxColumns];
    int count = 0;
    int limit = 0;
    size_t first = 0, last = 0;           // the range of draws
    size_t firstBlock = 0, lastBlock = 0; // the first words of the blocks holding the first and last draw
};

// Keeps the draws of the block at `block` (its first word) that lie inside the range. (A vector
// passed by reference: by value it would depend on the instruction set.)
template <class W> [[gnu::always_inline]] inline void keepInside(W& reach, size_t block, size_t first, size_t last) {
    for (size_t i = 0; i < kBlockWords; ++i) {
        const size_t from = (block + i) * 64; // the word's first draw
        const uint64_t fromFirst = first <= from        ? ~uint64_t{0}
                                   : first >= from + 64 ? 0
                                                        : ~uint64_t{0} << (first - from);
        const uint64_t toLast = last >= from + 64 ? ~uint64_t{0}
                                : last <= from    ? 0
                                                  : ~uint64_t{0} >> (from + 64 - last);
        reach[i] &= fromFirst & toLast;
    }
}

// Whether a draw of the query's range has `limit` or more of its C columns. The counts of a block's
// 256 draws are kept bit-sliced, bit b of every count in count[b]; a column is added with a carry
// that runs up through the bits. Then count >= limit is compared bit by bit from the top.
template <int C, class W> [[gnu::always_inline]] inline bool columnsReach(const Query& q) {
    constexpr int kBits = C < 2 ? 1 : C < 4 ? 2 : C < 8 ? 3 : 4;
    const W zero = {0, 0, 0, 0};
    for (size_t block = q.firstBlock; block <= q.lastBlock; block += kBlockWords) {
        W count[kBits];
        for (int b = 0; b < kBits; ++b) count[b] = zero;
#pragma GCC unroll 16
        for (int k = 0; k < C; ++k) {
            W carry;
            std::memcpy(&carry, q.columns[k] + block, sizeof carry);
#pragma GCC unroll 4
            for (int b = 0; b < kBits; ++b) {
                const W up = count[b] & carry;
                count[b] = count[b] ^ carry;
                carry = up;
            }
        }
        W greater = zero, equal = ~zero;
#pragma GCC unroll 4
        for (int b = kBits - 1; b >= 0; --b) {
            if ((q.limit >> b) & 1) {
                equal = equal & count[b];
            } else {
                greater = greater | (equal & count[b]);
                equal = equal & ~count[b];
            }
        }
        W reach = greater | equal;
        // a block at an end of the range: only the range's draws count
        if ((block == q.firstBlock && q.first % kBlockDraws != 0) ||
            (block == q.lastBlock && q.last % kBlockDraws != 0))
            keepInside(reach, block, q.first, q.last);
        if ((reach[0] | reach[1] | reach[2] | reach[3]) != 0) return true;
    }
    return false;
}

// The same for a limit of at most `Misses` numbers below the tip's count, where that is cheaper:
// atMost[j] holds the draws that missed at most j of the columns so far, and a column moves a draw
// that misses it from atMost[j] to atMost[j + 1]. A block is left as soon as no draw of it can still
// reach the limit, which is after a few columns for most blocks.
template <int Misses, class W> [[gnu::always_inline]] inline bool fewMissesReach(const Query& q) {
    const W zero = {0, 0, 0, 0};
    for (size_t block = q.firstBlock; block <= q.lastBlock; block += kBlockWords) {
        W atMost[Misses + 1];
        for (int j = 0; j <= Misses; ++j) atMost[j] = ~zero;
        bool left = true;
        for (int k = 0; k < q.count; ++k) {
            W x;
            std::memcpy(&x, q.columns[k] + block, sizeof x);
            for (int j = Misses; j >= 1; --j) atMost[j] = (atMost[j] & x) | atMost[j - 1];
            atMost[0] = atMost[0] & x;
            const W& last = atMost[Misses];
            // looked at after every second column: taking the words together costs more than a column
            if (k > Misses && (k - Misses) % 2 == 0 && ((last[0] | last[1]) | (last[2] | last[3])) == 0) {
                left = false;
                break;
            }
        }
        if (!left) continue;
        W reach = atMost[Misses];
        if ((block == q.firstBlock && q.first % kBlockDraws != 0) ||
            (block == q.lastBlock && q.last % kBlockDraws != 0))
            keepInside(reach, block, q.first, q.last);
        if ((reach[0] | reach[1] | reach[2] | reach[3]) != 0) return true;
    }
    return false;
}

template <class W> [[gnu::always_inline]] inline bool columnsReachAny(const Query& q) {
    switch (q.count - q.limit) {
    case 0:
        return fewMissesReach<0, W>(q);
    case 1:
        return fewMissesReach<1, W>(q);
    case 2:
        return fewMissesReach<2, W>(q);
    default:
        break;
    }
    switch (q.count) {
#define ZF_COLUMNS(c)                                                                                                  \
    case c:                                                                                                            \
        return columnsReach<c, W>(q);
        ZF_COLUMNS(1)
        ZF_COLUMNS(2)
        ZF_COLUMNS(3)
        ZF_COLUMNS(4)
        ZF_COLUMNS(5)
        ZF_COLUMNS(6)
        ZF_COLUMNS(7)
        ZF_COLUMNS(8)
        ZF_COLUMNS(9)
        ZF_COLUMNS(10)
        ZF_COLUMNS(11)
        ZF_COLUMNS(12)
        ZF_COLUMNS(13)
        ZF_COLUMNS(14)
        ZF_COLUMNS(15)
#undef ZF_COLUMNS
    default:
        return false;
    }
}

// The first draws of a range one by one; `hardware` where the POPCNT instruction may be used.
template <bool Hardware>
[[gnu::always_inline]] inline bool drawsReach(const DrawBits* b, size_t count, uint64_t lo, uint64_t hi, int limit) {
    for (size_t i = 0; i < count; ++i) {
        const int hits = Hardware ? __builtin_popcountll(b[i].lo & lo) + __builtin_popcountll(b[i].hi & hi)
                                  : popcount64(b[i].lo & lo) + popcount64(b[i].hi & hi);
        if (hits >= limit) return true;
    }
    return false;
}

// The answer of the columns, with the first draws looked at one by one where that is quicker.
template <bool Hardware> [[gnu::always_inline]] inline bool search(const DrawBits* draws, const uint64_t* columns,
                                                                   size_t words, size_t first, size_t last,
                                                                   const DrawBits& tip, int limit) {
    const int numbers = Hardware ? __builtin_popcountll(tip.lo) + __builtin_popcountll(tip.hi & kHiNumbers)
                                 : popcount64(tip.lo) + popcount64(tip.hi & kHiNumbers);
    if (limit > numbers) return false;
    if (numbers > kMaxColumns || kProbeFirst[static_cast<size_t>(numbers)][static_cast<size_t>(limit)]) {
        const size_t probe = numbers > kMaxColumns ? last - first : std::min(kProbeDraws, last - first);
        if (drawsReach<Hardware>(draws + first, probe, tip.lo, tip.hi, limit)) return true;
        first += probe;
        if (first == last) return false;
    }
    Query q;
    for (uint64_t w = tip.lo; w; w &= w - 1)
        q.columns[q.count++] = columns + static_cast<size_t>(__builtin_ctzll(w)) * words;
    for (uint64_t w = tip.hi & kHiNumbers; w; w &= w - 1)
        q.columns[q.count++] = columns + static_cast<size_t>(64 + __builtin_ctzll(w)) * words;
    q.limit = limit;
    q.first = first;
    q.last = last;
    q.firstBlock = first / kBlockDraws * kBlockWords;
    q.lastBlock = (last - 1) / kBlockDraws * kBlockWords;
#if ZF_X86_DISPATCH
    if constexpr (Hardware) return columnsReachAny<Vector4>(q);
#endif
    return columnsReachAny<Words4>(q);
}

} // namespace

// The searches of each path, with the index's data at hand.
struct HistorySearch {
    static bool reference(const HistoryIndex& h, size_t first, size_t last, const DrawBits& tip, int limit) {
        return h.anyWithHitsByScan({first, last}, tip, limit);
    }
    static bool generic(const HistoryIndex& h, size_t first, size_t last, const DrawBits& tip, int limit) {
        return search<false>(h.bits_.data(), h.columns_.data(), h.words_, first, last, tip, limit);
    }
#if ZF_X86_DISPATCH
    ZF_TARGET_AVX2 static bool avx2(const HistoryIndex& h, size_t first, size_t last, const DrawBits& tip, int limit) {
        return search<true>(h.bits_.data(), h.columns_.data(), h.words_, first, last, tip, limit);
    }
#endif
};

namespace {

// The reference scan: two ANDs and two population counts a draw, with the POPCNT instruction where the
// processor has it.
template <bool> bool scan(const DrawBits* b, size_t count, uint64_t lo, uint64_t hi, int limit);

#if ZF_X86_DISPATCH
template <> __attribute__((target("popcnt"))) bool scan<true>(const DrawBits* b, size_t count, uint64_t lo, uint64_t hi,
                                                              int limit) {
    return drawsReach<true>(b, count, lo, hi, limit);
}
const bool kHavePopcnt = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("popcnt") != 0;
}();
#else
template <> bool scan<true>(const DrawBits* b, size_t count, uint64_t lo, uint64_t hi, int limit) {
    return drawsReach<true>(b, count, lo, hi, limit);
}
const bool kHavePopcnt = true;
#endif

template <> bool scan<false>(const DrawBits* b, size_t count, uint64_t lo, uint64_t hi, int limit) {
    return drawsReach<false>(b, count, lo, hi, limit);
}

} // namespace

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

bool HistoryIndex::anyWithHitsByScan(std::pair<size_t, size_t> range, const DrawBits& tip, int limit) const {
    if (range.second <= range.first || range.second > bits_.size()) return false;
    const DrawBits* b = bits_.data() + range.first;
    const size_t count = range.second - range.first;
    return kHavePopcnt ? scan<true>(b, count, tip.lo, tip.hi, limit) : scan<false>(b, count, tip.lo, tip.hi, limit);
}

HistoryIndex::Search HistoryIndex::searchOf(CodePath path) {
    switch (path) {
    case CodePath::Reference:
        return &HistorySearch::reference;
    case CodePath::Avx2:
#if ZF_X86_DISPATCH
        if (codePathAvailable(CodePath::Avx2)) return &HistorySearch::avx2;
#endif
        return &HistorySearch::generic;
    case CodePath::Generic:
        break;
    }
    return &HistorySearch::generic;
}

void HistoryIndex::setCodePath(CodePath path) {
    path_ = codePathAvailable(path) ? path : CodePath::Generic;
    search_ = searchOf(path_);
}

bool HistoryIndex::anyWithHits(std::pair<size_t, size_t> range, const DrawBits& tip, int limit, CodePath path) const {
    if (range.second <= range.first || range.second > bits_.size()) return false;
    if (limit <= 0) return true;
    return searchOf(path)(*this, range.first, range.second, tip, limit);
}

} // namespace zf
