#pragma once
// The program's one random generator: a 32-bit linear congruential generator.
// The same state reproduces the same tips, so everything random draws from here.
#include <cstdint>

namespace zf {

class Random {
public:
    static constexpr uint32_t kMultiplier = 134775813u;
    static constexpr uint32_t kIncrement = 1u;

    void setState(uint32_t s) { state_ = s; }
    uint32_t state() const { return state_; }
    // A random integer in [0, m); m == 0 gives 0.
    uint32_t below(uint32_t m) {
        state_ = step(state_);
        return scale(state_, m);
    }

    // The state after one draw, and the number in [0, m) a state gives.
    static constexpr uint32_t step(uint32_t s) { return s * kMultiplier + kIncrement; }
    static constexpr uint32_t scale(uint32_t s, uint32_t m) {
        return static_cast<uint32_t>((static_cast<uint64_t>(s) * m) >> 32);
    }

    // k draws at once: the state after k draws from s is s * multiplier + increment, both taken
    // modulo 2^32, so the states of many draws ahead can be computed side by side.
    struct Leap {
        uint32_t multiplier = 1;
        uint32_t increment = 0;
        constexpr uint32_t from(uint32_t s) const { return s * multiplier + increment; }
        // The leap one draw further.
        constexpr Leap next() const { return {multiplier * kMultiplier, increment * kMultiplier + kIncrement}; }
    };

private:
    uint32_t state_ = 0;
};

} // namespace zf
