#include "core/generator/CandidateDraws.h"

#if ZF_X86_DISPATCH
#include <immintrin.h>
#endif

namespace zf {
namespace {

constexpr size_t kDrawn = CandidateDraws::kBlock + CandidateDraws::kWindow;

// The state after k draws from s: s * multiplier[k] + increment[k]; two arrays, so that the states
// of a block are computed side by side.
struct Leaps {
    std::array<uint32_t, kDrawn + 1> multiplier{}, increment{};
    uint32_t from(size_t k, uint32_t s) const { return s * multiplier[k] + increment[k]; }
};
constexpr Leaps kLeaps = [] {
    Leaps l;
    Random::Leap leap;
    for (size_t k = 0; k <= kDrawn; ++k, leap = leap.next()) {
        l.multiplier[k] = leap.multiplier;
        l.increment[k] = leap.increment;
    }
    return l;
}();

// A number's bit in the two words of a DrawBits; 0 (an empty position) has none.
struct NumberBits {
    std::array<uint64_t, 71> lo{}, hi{};
};
constexpr NumberBits kBits = [] {
    NumberBits b;
    for (size_t x = 1; x <= 64; ++x) b.lo[x] = uint64_t{1} << (x - 1); // as DrawBits::set
    for (size_t x = 65; x <= 70; ++x) b.hi[x] = uint64_t{1} << (x - 65);
    return b;
}();

// The numbers of the draws after `state`.
[[gnu::always_inline]] inline void drawBlock(uint32_t state, const uint8_t* pool, uint32_t size, uint8_t* drawn) {
    uint32_t index[kDrawn];
    for (size_t k = 0; k < kDrawn; ++k) index[k] = Random::scale(kLeaps.from(k + 1, state), size);
#pragma GCC unroll 8
    for (size_t k = 0; k < kDrawn; ++k) drawn[k] = pool[index[k]];
}

void drawBlockGeneric(uint32_t state, const uint8_t* pool, uint32_t size, uint8_t* drawn) {
    drawBlock(state, pool, size, drawn);
}
#if ZF_X86_DISPATCH
ZF_TARGET_AVX2 void drawBlockAvx2(uint32_t state, const uint8_t* pool, uint32_t size, uint8_t* drawn) {
    drawBlock(state, pool, size, drawn);
}
#endif

} // namespace

void CandidateDraws::begin(std::vector<uint8_t> pool, int n, CodePath path) {
    pool_ = std::move(pool);
    size_ = static_cast<uint32_t>(pool_.size());
    n_ = n;
    path_ = codePathAvailable(path) ? path : CodePath::Generic;
    filled_ = false;
    if (size_ == 0 || n_ < 1) next_ = &CandidateDraws::nextNone;
#if ZF_X86_DISPATCH
    else if (path_ == CodePath::Avx2 && n_ <= static_cast<int>(kWindow))
        next_ = &CandidateDraws::nextAvx2;
#endif
    else
        // Without the sixteen-draw cut, drawing ahead does not pay: one draw after another is quickest.
        next_ = &CandidateDraws::nextReference;
}

void CandidateDraws::nextNone(Random&, DrawBits& numbers, int& sum) {
    // No pool: the run was refused before its first attempt, and no candidate can come of it.
    numbers = DrawBits{};
    sum = 0;
}

void CandidateDraws::nextReference(Random& random, DrawBits& numbers, int& sum) {
    numbers = DrawBits{};
    sum = 0;
    for (int j = 0; j < n_;) {
        const int x = pool_[random.below(size_)];
        if (x == 0 || numbers.has(x)) continue;
        numbers.set(x);
        sum += x;
        ++j;
    }
}

void CandidateDraws::fill(uint32_t state) {
    base_ = state;
    pos_ = 0;
    filled_ = true;
#if ZF_X86_DISPATCH
    if (path_ == CodePath::Avx2) return drawBlockAvx2(state, pool_.data(), size_, drawn_.data());
#endif
    drawBlockGeneric(state, pool_.data(), size_, drawn_.data());
}

// Draw after draw through the block, into the next one where it ends.
void CandidateDraws::oneByOne(DrawBits& numbers, int& sum) {
    uint64_t lo = 0, hi = 0;
    int s = 0;
    for (int taken = 0; taken < n_;) {
        if (pos_ == kDrawn) fill(kLeaps.from(pos_, base_));
        const size_t x = drawn_[pos_++];
        if (x == 0 || (lo & kBits.lo[x]) || (hi & kBits.hi[x])) continue;
        lo |= kBits.lo[x];
        hi |= kBits.hi[x];
        s += static_cast<int>(x);
        ++taken;
    }
    numbers.lo = lo;
    numbers.hi = hi;
    sum = s;
}

#if ZF_X86_DISPATCH
// Sixteen draws at once. A draw counts where it is a number and none of the draws before it in the
// sixteen drew it: each draw is compared with the one 1, 2, ..., 15 places before it, two distances
// per comparison (the lower half of the vector for d, the upper for d + 8). The candidate is the counted
// draws up to the n-th; its set and sum come from those draws side by side. Sixteen draws that do not
// hold n numbers (many empty positions, heavy weights) are taken one by one.
ZF_TARGET_AVX2 void CandidateDraws::nextAvx2(Random& random, DrawBits& numbers, int& sum) {
    if (!filled_ || random.state() != state_)
        fill(random.state());
    else if (pos_ > kBlock)
        fill(state_);
    const uint8_t* drawn = drawn_.data() + pos_;
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(drawn));
    const __m256i both = _mm256_broadcastsi128_si256(x);                         // x | x
    const __m256i back = _mm256_inserti128_si256(both, _mm_slli_si128(x, 8), 1); // x | x << 8
    __m256i same = _mm256_cmpeq_epi8(both, _mm256_slli_si256(back, 1));
    same = _mm256_or_si256(same, _mm256_cmpeq_epi8(both, _mm256_slli_si256(back, 2)));
    same = _mm256_or_si256(same, _mm256_cmpeq_epi8(both, _mm256_slli_si256(back, 3)));
    same = _mm256_or_si256(same, _mm256_cmpeq_epi8(both, _mm256_slli_si256(back, 4)));
    same = _mm256_or_si256(same, _mm256_cmpeq_epi8(both, _mm256_slli_si256(back, 5)));
    same = _mm256_or_si256(same, _mm256_cmpeq_epi8(both, _mm256_slli_si256(back, 6)));
    same = _mm256_or_si256(same, _mm256_cmpeq_epi8(both, _mm256_slli_si256(back, 7)));
    __m128i repeat = _mm_or_si128(_mm256_castsi256_si128(same), _mm256_extracti128_si256(same, 1));
    repeat = _mm_or_si128(repeat, _mm_cmpeq_epi8(x, _mm_slli_si128(x, 8)));
    repeat = _mm_or_si128(repeat, _mm_cmpeq_epi8(x, _mm_setzero_si128())); // an empty position
    const unsigned counted = ~static_cast<unsigned>(_mm_movemask_epi8(repeat)) & 0xffffu;
    if (__builtin_popcount(counted) < n_) {
        oneByOne(numbers, sum);
    } else {
        const int last = __builtin_ctz(_pdep_u32(1u << (n_ - 1), counted)); // the draw that completes it
        const __m128i upToLast = _mm_cmpgt_epi8(_mm_set1_epi8(static_cast<char>(last + 1)),
                                                _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
        const __m128i taken = _mm_and_si128(x, _mm_andnot_si128(repeat, upToLast)); // 0 elsewhere
        const __m128i sums = _mm_sad_epu8(taken, _mm_setzero_si128());
        sum = _mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4);
        // Number x is bit x - 1 of the low word or bit x - 65 of the high one; a shift by 64 or more
        // (0, or the other word's numbers) gives no bit.
        const __m256i one = _mm256_set1_epi64x(1);
        const __m256i to1 = _mm256_set1_epi64x(1), to65 = _mm256_set1_epi64x(65);
        __m256i lo = _mm256_setzero_si256(), hi = _mm256_setzero_si256();
        // (a lambda would not be compiled for AVX2)
#define ZF_ADD_BITS(part)                                                                                              \
    {                                                                                                                  \
        const __m256i q = _mm256_cvtepu8_epi64(part);                                                                  \
        lo = _mm256_or_si256(lo, _mm256_sllv_epi64(one, _mm256_sub_epi64(q, to1)));                                    \
        hi = _mm256_or_si256(hi, _mm256_sllv_epi64(one, _mm256_sub_epi64(q, to65)));                                   \
    }
        ZF_ADD_BITS(taken)
        ZF_ADD_BITS(_mm_srli_si128(taken, 4))
        ZF_ADD_BITS(_mm_srli_si128(taken, 8))
        ZF_ADD_BITS(_mm_srli_si128(taken, 12))
#undef ZF_ADD_BITS
        const __m128i lo2 = _mm_or_si128(_mm256_castsi256_si128(lo), _mm256_extracti128_si256(lo, 1));
        const __m128i hi2 = _mm_or_si128(_mm256_castsi256_si128(hi), _mm256_extracti128_si256(hi, 1));
        numbers.lo = static_cast<uint64_t>(_mm_cvtsi128_si64(lo2) | _mm_extract_epi64(lo2, 1));
        numbers.hi = static_cast<uint64_t>(_mm_cvtsi128_si64(hi2) | _mm_extract_epi64(hi2, 1));
        pos_ += static_cast<size_t>(last) + 1;
    }
    state_ = kLeaps.from(pos_, base_);
    random.setState(state_);
}
#endif

} // namespace zf
