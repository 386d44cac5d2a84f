// cost: the cost computation of the game options dialog.
#include <iostream>

#include "base/Parse.h"
#include "cli/Command.h"
#include "submission/GameOptions.h"

namespace zf::cli {
namespace {

int itemOption(const Args& args, const std::string& name, int last) {
    const auto text = args.option(name);
    if (!text) throw UsageError("--" + name + " fehlt");
    const auto v = parseInt32(*text);
    if (!v || *v < 0 || *v > last)
        throw UsageError("--" + name + " erwartet 0 bis " + std::to_string(last) + ", nicht " + *text);
    return *v;
}

bool plus5Option(const Args& args) {
    const auto text = args.option("plus5");
    if (text && *text != "0" && *text != "1") throw UsageError("--plus5 erwartet 0 oder 1, nicht " + *text);
    return text && *text == "1";
}

class CostCommand : public Command {
public:
    std::vector<std::string> valueOptions() const override {
        return {"tips", "draws-item", "stake-item", "plus5", "fee"};
    }

    int run(Context&, const Args& args) override {
        if (!args.words.empty()) throw UsageError("cost erwartet keine weiteren Angaben: " + args.words.front());
        GameOptions o;
        const auto tips = args.option("tips");
        if (!tips) throw UsageError("--tips fehlt");
        const auto n = parseDigits(*tips, 100000000);
        if (!n) throw UsageError("--tips erwartet eine Anzahl, nicht " + *tips);
        o.tips = static_cast<int>(*n);
        o.durationItem = itemOption(args, "draws-item", static_cast<int>(durationItems().size()) - 1);
        o.stakeItem = itemOption(args, "stake-item", static_cast<int>(stakeItems().size()) - 1);
        if (!args.option("plus5")) throw UsageError("--plus5 fehlt");
        o.plus5 = plus5Option(args);
        const auto fee = args.option("fee");
        if (!fee) throw UsageError("--fee fehlt");
        o.fee = feeOf(*fee);
        o.computeCost();
        std::cout << o.costText() << "\n";
        return 0;
    }
};

} // namespace

std::unique_ptr<Command> makeCostCommand() { return std::make_unique<CostCommand>(); }

} // namespace zf::cli
