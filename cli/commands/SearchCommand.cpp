// search [--threshold N] [--continue yes|no]: "Tipps in DB suchen", the questions answered from the options.
#include <iostream>

#include "app/evaluation/TipSearch.h"
#include "base/GermanFormat.h"
#include "cli/Command.h"

namespace zf::cli {
namespace {

class SearchCommand : public Command {
public:
    std::vector<std::string> valueOptions() const override { return {"threshold", "continue"}; }

    int run(Context& ctx, const Args& args) override {
        if (!args.words.empty()) throw UsageError("search erwartet keine weiteren Angaben: " + args.words.front());
        bool goOn = true;
        if (const auto c = args.option("continue")) {
            if (*c != "yes" && *c != "no") throw UsageError("--continue erwartet yes oder no, nicht " + *c);
            goOn = *c == "yes";
        }

        // Without readable draws there is nothing to search: an error of the run.
        ctx.model.draws.setPath(ctx.model.kenoPath());
        std::string error;
        if (!ctx.model.draws.refresh(&error)) {
            std::cerr << error << "\n";
            return 1;
        }

        // The threshold goes into the input box as typed, so a text that is no number meets its message.
        if (const auto t = args.option("threshold")) ctx.prompter.inputs = {*t};
        ctx.prompter.nextAnswer = goOn;
        TipSearch& search = ctx.session.tipSearch;
        search.onHit = [](double date, int best) { std::cout << "hit;" << formatDate(date) << ";" << best << "\n"; };
        const bool searched = search.run();
        search.onHit = nullptr;
        ctx.printStatus();
        return searched ? 0 : 1; // not started: its message said why
    }
};

} // namespace

std::unique_ptr<Command> makeSearchCommand() { return std::make_unique<SearchCommand>(); }

} // namespace zf::cli
