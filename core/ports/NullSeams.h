#pragma once
// Seams that do nothing, for a program without a desktop (the batch program, benchmarks).
#include "core/ports/Seams.h"

namespace zf {

class NullShell : public Shell {
public:
    bool open(const std::string&, const std::string&) override { return true; }
};

class NullSound : public SoundPlayer {
public:
    void play(const std::string&) override {}
};

} // namespace zf
