// cost, cart, script: the cost of the game options dialog and the two hand-over routes.
#include <iostream>

#include "app/generator/GeneratorController.h"
#include "app/submission/SubmissionController.h"
#include "base/Parse.h"
#include "base/Text.h"
#include "cli/Command.h"
#include "core/submission/GameOptions.h"

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
        const auto amount = feeOf(*fee);
        if (!amount) throw UsageError("--fee erwartet einen Betrag von 0 bis 1.000, nicht " + fee->substr(0, 40));
        o.fee = *amount;
        o.computeCost();
        std::cout << o.costText() << "\n";
        return 0;
    }
};

// The dialog as "Tipps in den Warenkorb" fills it, then the user's entries from the options.
GameOptions enteredOptions(Context& ctx, const Args& args) {
    if (const auto s = args.option("seed")) {
        const auto seed = GeneratorController::luckyNumber(*s);
        if (!seed) throw UsageError("--seed erwartet eine ganze Zahl, nicht " + *s);
        ctx.session.generator.seed(*seed);
    }
    std::optional<std::string> digits = args.option("digits");
    if (digits && (digits->size() != 5 || !parseDigits(*digits, 99999)))
        throw UsageError("--digits erwartet fünf Ziffern, nicht " + *digits);
    const bool plus5Given = args.option("plus5").has_value();
    const bool plus5 = plus5Option(args);
    const int last = static_cast<int>(durationItems().size()) - 1;
    const int lastStake = static_cast<int>(stakeItems().size()) - 1;
    const std::optional<int> draws =
        args.option("draws-item") ? std::optional<int>(itemOption(args, "draws-item", last)) : std::nullopt;
    const std::optional<int> stake =
        args.option("stake-item") ? std::optional<int>(itemOption(args, "stake-item", lastStake)) : std::nullopt;

    SubmissionController& c = ctx.session.submission;
    GameOptions o = c.prepareOptions();
    if (digits)
        for (size_t i = 0; i < 5; ++i) o.digits[i] = (*digits)[i] - '0';
    o.durationItem = draws.value_or(0);
    o.durationText = durationItems()[static_cast<size_t>(o.durationItem)].caption;
    if (stake) {
        o.stakeItem = *stake;
        o.stakeText = stakeItems()[static_cast<size_t>(*stake)].caption;
    }
    if (plus5Given) o.plus5 = plus5;
    o.computeCost();
    ctx.model.gameOptions = o;
    ctx.model.price = o.price;
    for (size_t i = 0; i < 5; ++i) ctx.model.plus5Ticket[i + 1] = o.digits[i];
    return o;
}

std::string templateFile(const Args& args, bool required) {
    const auto path = args.option("template");
    if (!path) {
        if (required) throw UsageError("--template fehlt");
        return {};
    }
    return *path;
}

const std::vector<std::string> kEntryOptions = {"template", "digits", "draws-item", "stake-item", "plus5", "seed"};

class CartCommand : public Command {
public:
    std::vector<std::string> valueOptions() const override { return kEntryOptions; }

    int run(Context& ctx, const Args& args) override {
        if (!args.words.empty()) throw UsageError("cart erwartet keine weiteren Angaben: " + args.words.front());
        SubmissionController& c = ctx.session.submission;
        c.requestTemplate = false;
        c.pauseMs = 0;
        if (const std::string file = templateFile(args, false); !file.empty()) {
            std::string body, error;
            if (!readRegularFile(file, body, kMaxTemplateBytes, &error)) {
                std::cerr << error << " Es wurde nichts abgegeben.\n";
                return 1;
            }
            c.templateAnswer = body;
        }
        GameOptions o = enteredOptions(ctx, args);
        c.onOpened = [](const std::string& address) { std::cout << "open;" << address << "\n"; };
        const bool ok = c.cartRoute(o);
        ctx.model.gameOptions = o;
        ctx.model.plus5 = o.plus5;
        return ok ? 0 : 1;
    }
};

class ScriptCommand : public Command {
public:
    std::vector<std::string> valueOptions() const override { return kEntryOptions; }

    int run(Context& ctx, const Args& args) override {
        if (!args.words.empty()) throw UsageError("script erwartet keine weiteren Angaben: " + args.words.front());
        const std::string file = templateFile(args, true);
        SubmissionController& c = ctx.session.submission;
        GameOptions o = enteredOptions(ctx, args);
        c.onScript = [](const std::string& path) { std::cout << "script;" << path << "\n"; };
        const bool ok = c.handOverScripts(o, file, {});
        ctx.model.gameOptions = o;
        ctx.model.plus5 = o.plus5;
        return ok ? 0 : 1;
    }
};

} // namespace

std::unique_ptr<Command> makeCartCommand() { return std::make_unique<CartCommand>(); }
std::unique_ptr<Command> makeScriptCommand() { return std::make_unique<ScriptCommand>(); }
std::unique_ptr<Command> makeCostCommand() { return std::make_unique<CostCommand>(); }

} // namespace zf::cli
