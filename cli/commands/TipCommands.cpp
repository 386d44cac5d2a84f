// winnings, print
#include <iostream>

#include "app/tips/TipListController.h"
#include "base/Text.h"
#include "cli/Command.h"

namespace zf::cli {

class WinningsCommand : public Command {
public:
    int run(Context& ctx, const Args&) override {
        ctx.tips.showWinnings();
        return 0;
    }
};

class PrintCommand : public Command {
public:
    int run(Context& ctx, const Args&) override {
        ctx.tips.printTips(false);
        std::vector<std::string> lines;
        if (!readTextLines(ctx.model.home + "Tipp.txt", lines)) return 1;
        std::string out;
        for (const auto& l : lines) out += l + "\n";
        std::cout << out;
        return 0;
    }
};

std::unique_ptr<Command> makeWinningsCommand() { return std::make_unique<WinningsCommand>(); }
std::unique_ptr<Command> makePrintCommand() { return std::make_unique<PrintCommand>(); }

} // namespace zf::cli
