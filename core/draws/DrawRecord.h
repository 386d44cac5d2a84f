#pragma once
// One draw as stored in Keno.dat: 40 bytes, little-endian, no header.
//   0  double  date value
//   8  20 x u8 the numbers in received order
//  28  5 x u8  Plus 5 digits, ten-thousands first
//  33  7 bytes padding, written as zeros; byte 33 bit 0 marks "Plus 5 number unknown"
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zf {

constexpr size_t kRecordSize = 40;
constexpr uint8_t kFlagNoPlus5 = 0x01;

struct DrawRecord {
    double datum = 0;
    std::array<uint8_t, 20> zahl{};
    std::array<uint8_t, 5> zahl5{};
    uint8_t flags = 0;

    bool hasPlus5() const { return (flags & kFlagNoPlus5) == 0; }
    int plus5Number() const { return zahl5[0] * 10000 + zahl5[1] * 1000 + zahl5[2] * 100 + zahl5[3] * 10 + zahl5[4]; }
    bool operator==(const DrawRecord&) const = default;
};

// A draw's numbers as a 70-bit set: bit n-1 of the pair stands for number n.
struct DrawBits {
    uint64_t lo = 0; // numbers 1..64
    uint64_t hi = 0; // numbers 65..70
    void set(int n) {
        if (n >= 1 && n <= 64)
            lo |= uint64_t{1} << (n - 1);
        else if (n >= 65 && n <= 70)
            hi |= uint64_t{1} << (n - 65);
    }
    bool has(int n) const {
        if (n >= 1 && n <= 64) return (lo >> (n - 1)) & 1u;
        if (n >= 65 && n <= 70) return (hi >> (n - 65)) & 1u;
        return false;
    }
    int hits(const DrawBits& o) const { return __builtin_popcountll(lo & o.lo) + __builtin_popcountll(hi & o.hi); }
    int count() const { return __builtin_popcountll(lo) + __builtin_popcountll(hi); }
};

DrawBits bitsOf(const DrawRecord& r);

void encodeRecord(const DrawRecord& r, uint8_t out[kRecordSize]);
DrawRecord decodeRecord(const uint8_t in[kRecordSize]);

} // namespace zf
