#pragma once
// The program's one random generator: a 32-bit linear congruential generator.
// The same state reproduces the same tips, so everything random draws from here.
#include <cstdint>

namespace zf {

class Random {
public:
    void setState(uint32_t s) { state_ = s; }
    uint32_t state() const { return state_; }
    // A random integer in [0, m); m == 0 gives 0.
    uint32_t below(uint32_t m) {
        state_ = state_ * 134775813u + 1u;
        return static_cast<uint32_t>((static_cast<uint64_t>(state_) * m) >> 32);
    }

private:
    uint32_t state_ = 0;
};

} // namespace zf
