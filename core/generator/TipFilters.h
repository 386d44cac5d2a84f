#pragma once
// The tests a candidate tip passes on its way into the tip list that look at the tip alone.
//
// A tip here is the array `tipp` of the generator: positions 1..n hold its numbers, sorted ascending.
// A tip of n different numbers 1..70 is also its set (DrawBits), read upwards; the set forms give the
// same answers with a few word operations and are what the generator's random candidates use.
#include <cstddef>
#include <cstdint>

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

// The scaled cross sum: sum / n * 20, halves to even; 0 for an empty tip.
int scaledCrossSum(int sum, int n);
// The weeks of the recent window: M draws at six draws a week, rounded halves to even.
int recentWindowWeeks(int draws);

namespace tipset {

// The prime set as a 70-bit set.
inline constexpr DrawBits kPrimes = [] {
    DrawBits b;
    for (int x : {1, 2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47, 53, 59, 61, 67}) {
        if (x <= 64)
            b.lo |= uint64_t{1} << (x - 1);
        else
            b.hi |= uint64_t{1} << (x - 65);
    }
    return b;
}();
inline constexpr uint64_t kEvenLo = 0xaaaaaaaaaaaaaaaaull; // 2, 4, ..., 64
inline constexpr uint64_t kEvenHi = 0x2a;                  // 66, 68, 70
inline constexpr uint64_t kOddHi = 0x15;                   // 65, 67, 69

inline bool hasPair(const DrawBits& s) {
    return ((s.lo & (s.lo >> 1)) | (s.hi & (s.hi >> 1)) | (s.lo >> 63 & s.hi)) != 0;
}
inline bool hasTriple(const DrawBits& s) {
    // x, x + 1 and x + 2 over the 128 bits of the set
    const uint64_t up1 = (s.lo >> 1) | (s.hi << 63), up2 = (s.lo >> 2) | (s.hi << 62);
    return ((s.lo & up1 & up2) | (s.hi & (s.hi >> 1) & (s.hi >> 2))) != 0;
}
inline int countEven(const DrawBits& s) {
    return __builtin_popcountll(s.lo & kEvenLo) + __builtin_popcountll(s.hi & kEvenHi);
}
inline int countOdd(const DrawBits& s) {
    return __builtin_popcountll(s.lo & ~kEvenLo) + __builtin_popcountll(s.hi & kOddHi);
}
inline bool sameTen(const DrawBits& s) {
    // 1..9 are bits 0..8, the ten of 10..19 bits 9..18 and so on; 60..69 runs over into the second
    // word, and 70 is a ten of its own.
    for (int ten = 0; ten < 6; ++ten) {
        const uint64_t m = ten == 0 ? s.lo & 0x1ff : (s.lo >> (10 * ten - 1)) & 0x3ff;
        if (m & (m - 1)) return true;
    }
    const uint64_t sixties = (s.lo >> 59) | ((s.hi & 0x1f) << 5);
    return (sixties & (sixties - 1)) != 0;
}
inline int countPrimes(const DrawBits& s) { return s.hits(kPrimes); }
// The `count` lowest numbers of the set: the first positions of the sorted tip.
inline DrawBits lowest(const DrawBits& s, int count) {
    DrawBits out;
    for (uint64_t w = s.lo; w && count > 0; w &= w - 1, --count) out.lo |= w & (~w + 1);
    for (uint64_t w = s.hi; w && count > 0; w &= w - 1, --count) out.hi |= w & (~w + 1);
    return out;
}

} // namespace tipset
} // namespace zf
