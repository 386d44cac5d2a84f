// generate [--seed N] [--enumerate] [--pool-list FILE.kwl]: "Tipps berechnen" (with --enumerate
// "Tipps erzeugen"), run to its end.
#include <iostream>

#include "app/generator/GeneratorController.h"
#include "base/Text.h"
#include "cli/Command.h"
#include "core/generator/NumberChoice.h"

namespace zf::cli {
namespace {

class GenerateCommand : public Command {
public:
    std::vector<std::string> valueOptions() const override { return {"seed", "pool-list"}; }
    std::vector<std::string> flagOptions() const override { return {"enumerate"}; }
    bool changesTipList() const override { return true; }

    int run(Context& ctx, const Args& args) override {
        if (!args.words.empty()) throw UsageError("generate erwartet keine weiteren Angaben: " + args.words.front());
        const bool enumerate = args.option("enumerate").has_value();
        std::optional<int32_t> seed;
        if (const auto s = args.option("seed")) {
            seed = GeneratorController::luckyNumber(*s);
            if (!seed) throw UsageError("--seed erwartet eine ganze Zahl, nicht " + *s);
        }

        std::optional<std::vector<std::string>> poolList;
        if (const auto list = args.option("pool-list")) {
            std::vector<std::string> lines;
            if (!readTextLines(*list, lines)) {
                std::cerr << "Die Werteliste " << *list << " kann nicht gelesen werden.\n";
                return 1;
            }
            if (!ctx.model.on(Opt::EditPool))
                std::cerr << "Warnung: --pool-list wirkt nur mit \"Liste bearbeiten\" (--set Chekcbox20=1)\n";
            poolList = std::move(lines);
        }

        // Without readable draws there is nothing to generate from: an error of the run.
        ctx.model.draws.setPath(ctx.model.kenoPath());
        std::string error;
        if (!ctx.model.draws.refresh(&error)) {
            std::cerr << error << "\n";
            return 1;
        }

        // The pool dialog ("Liste bearbeiten") is left with OK, or with the weight list loaded and "&Rechnen".
        ctx.prompter.onNumberDialog = [&poolList](NumberChoice& form) {
            if (!poolList) return ModalResult::Ok;
            form.loadWeightList(*poolList);
            return ModalResult::Retry;
        };
        GeneratorController& generator = ctx.session.generator;
        if (seed) generator.seed(*seed);
        const int messagesBefore = ctx.prompter.messagesShown;
        if (!generator.runToEnd(enumerate)) {
            // Refused before its first attempt: the list is as it was, and tipps.txt is not written.
            // A refusal the window tells in its status bar only is the command's message.
            if (ctx.prompter.messagesShown == messagesBefore && !ctx.model.status[1].empty())
                ctx.prompter.message(ctx.model.status[1]);
            ctx.printStatus();
            return 1;
        }

        std::string out;
        for (const auto& line : ctx.model.tipLines) out += line + "\n";
        out += "laufmax;" + std::to_string(ctx.model.attemptLimit) + "\n";
        std::cout << out;
        ctx.printStatus();
        return 0;
    }
};

} // namespace

std::unique_ptr<Command> makeGenerateCommand() { return std::make_unique<GenerateCommand>(); }

} // namespace zf::cli
