// backtest NAME [--seed N] [--chance]: one of the seven historic analyses; prints the lines of Analyse.txt,
// with --chance then those of Analyse-Zufall.txt.
#include <iostream>

#include "app/evaluation/Backtest.h"
#include "base/GermanFormat.h"
#include "cli/Command.h"

namespace zf::cli {
namespace {

class BacktestCommand : public Command {
public:
    std::vector<std::string> valueOptions() const override { return {"seed"}; }
    std::vector<std::string> flagOptions() const override { return {"chance"}; }

    int run(Context& ctx, const Args& args) override {
        if (args.words.size() != 1)
            throw UsageError("backtest erwartet einen Namen: BitBtn9, Erfolgstest, Button7 ... Button11");
        const auto kind = backtestByName(args.words.front());
        if (!kind)
            throw UsageError("unbekannter Test " + args.words.front() +
                             " (BitBtn9, Erfolgstest, Button7, Button8, Button9, Button10, Button11)");
        // The lucky number goes into its box as typed, so a text that is no number meets its message.
        if (const auto s = args.option("seed")) ctx.prompter.inputs = {*s};
        Backtest& backtest = ctx.session.backtest;
        const bool chance = args.option("chance").has_value();
        backtest.compareWithChance = chance;
        if (!backtest.run(*kind)) return 1; // the messages said why; Analyse.txt is unchanged
        std::string out;
        for (const std::string& line : backtest.report()) out += line + "\n";
        for (const std::string& line : backtest.comparisonReport()) out += line + "\n";
        std::cout << out;
        // The comparison could not be saved: its message said so.
        return chance && backtest.comparisonReport().empty() ? 1 : 0;
    }
};

} // namespace

std::unique_ptr<Command> makeBacktestCommand() { return std::make_unique<BacktestCommand>(); }

} // namespace zf::cli
