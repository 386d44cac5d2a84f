#pragma once
#include "core/ports/Seams.h"

namespace zf {

class SystemClock : public Clock {
public:
    double now() const override;
    uint32_t ticks() const override;
};

// A clock that stands still, for tests and reproducible batch runs.
class FixedClock : public Clock {
public:
    explicit FixedClock(double now, uint32_t ticks = 12345) : now_(now), ticks_(ticks) {}
    double now() const override { return now_; }
    uint32_t ticks() const override { return ticks_; }
    void set(double now) { now_ = now; }

private:
    double now_;
    uint32_t ticks_;
};

} // namespace zf
