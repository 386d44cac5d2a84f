#include "core/draws/DrawRecord.h"

#include <cstring>

namespace zf {

DrawBits bitsOf(const DrawRecord& r) {
    DrawBits b;
    for (uint8_t n : r.zahl) b.set(n);
    return b;
}

void encodeRecord(const DrawRecord& r, uint8_t out[kRecordSize]) {
    std::memset(out, 0, kRecordSize);
    uint64_t bits;
    static_assert(sizeof bits == sizeof r.datum);
    std::memcpy(&bits, &r.datum, sizeof bits);
    for (int i = 0; i < 8; ++i) out[i] = static_cast<uint8_t>(bits >> (8 * i));
    std::memcpy(out + 8, r.zahl.data(), 20);
    std::memcpy(out + 28, r.zahl5.data(), 5);
    out[33] = r.flags;
}

DrawRecord decodeRecord(const uint8_t in[kRecordSize]) {
    DrawRecord r;
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(in[i]) << (8 * i);
    std::memcpy(&r.datum, &bits, sizeof bits);
    std::memcpy(r.zahl.data(), in + 8, 20);
    std::memcpy(r.zahl5.data(), in + 28, 5);
    r.flags = in[33];
    return r;
}

} // namespace zf
