#pragma once
// One batch command: a small class that runs between start-up and close.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliContext.h"

namespace zf::cli {

class Command {
public:
    virtual ~Command() = default;
    // Options the command takes with a value ("--seed") and as a plain flag ("--enumerate").
    virtual std::vector<std::string> valueOptions() const { return {}; }
    virtual std::vector<std::string> flagOptions() const { return {}; }
    // Whether the command may change the tip list; only then the close writes tipps.txt back.
    virtual bool changesTipList() const { return false; }
    // Runs the command; returns the exit status.
    virtual int run(Context& ctx, const Args& args) = 0;
};

struct CommandEntry {
    std::string name;
    std::string synopsis;
    std::function<std::unique_ptr<Command>()> make;
};

const std::vector<CommandEntry>& commands();

} // namespace zf::cli
