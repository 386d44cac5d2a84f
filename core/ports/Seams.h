#pragma once
// The small layers that stand in for the operating system: the model and the controllers talk to
// these interfaces only; the desktop program, the batch program and the tests plug in their own.
#include <cstdint>
#include <string>

#include "core/ports/Prompter.h"

namespace zf {

// Klicker's DDE conversation: a link to `service` and `topic` that takes one execute command.
// False when no conversation could be opened (Klicker is not running).
class DdeClient {
public:
    virtual ~DdeClient() = default;
    virtual bool execute(const std::string& service, const std::string& topic, const std::string& command) = 0;
};

// Opens a file, an address or a program the way the desktop does.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool open(const std::string& target, const std::string& parameters = {}) = 0;
};

// Plays a WAV file asynchronously; a new sound replaces one still playing.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const std::string& wavPath) = 0;
};

// Today and now as date values (days since 1899-12-30, local time), and a counter to seed from.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
    virtual uint32_t ticks() const = 0;
};

} // namespace zf
