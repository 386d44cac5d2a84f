// odds [--type K] [--stake-item I]: the odds of a tip, its payouts and what a stake returns on average.
#include <iostream>

#include "base/Parse.h"
#include "cli/Command.h"
#include "core/evaluation/Chance.h"

namespace zf::cli {
namespace {

int rangeOption(const Args& args, const std::string& name, int first, int last, int proposal) {
    const auto text = args.option(name);
    if (!text) return proposal;
    const auto v = parseInt32(*text);
    if (!v || *v < first || *v > last)
        throw UsageError("--" + name + " erwartet " + std::to_string(first) + " bis " + std::to_string(last) +
                         ", nicht " + *text);
    return *v;
}

class OddsCommand : public Command {
public:
    std::vector<std::string> valueOptions() const override { return {"type", "stake-item"}; }

    int run(Context& ctx, const Args& args) override {
        if (!args.words.empty()) throw UsageError("odds erwartet keine weiteren Wörter: " + args.words.front());
        const int kenoType = rangeOption(args, "type", 2, 10, ctx.model.num(Num::KenoType).pos);
        const int stakeItem = rangeOption(args, "stake-item", 0, 3, ctx.model.stakeItem);
        std::string out;
        for (const std::string& line : oddsLines(oddsTable(kenoType, stakeItem))) out += line + "\n";
        std::cout << out;
        return 0;
    }
};

} // namespace

std::unique_ptr<Command> makeOddsCommand() { return std::make_unique<OddsCommand>(); }

} // namespace zf::cli
