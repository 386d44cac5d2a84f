// update, add-draw, export, export-single
#include <functional>
#include <iostream>

#include "app/draws/Export.h"
#include "app/draws/ManualEntry.h"
#include "app/draws/Update.h"
#include "base/GermanFormat.h"
#include "base/Parse.h"
#include "cli/Command.h"
#include "core/generator/NumberChoice.h"

namespace zf::cli {
namespace {

double dateOption(const Args& args, const std::string& name) {
    const auto text = args.option(name);
    const auto date = text ? parseDate(*text) : std::nullopt;
    if (!date) throw UsageError("--" + name + " erwartet ein Datum TT.MM.JJJJ");
    return *date;
}

} // namespace

class UpdateCommand : public Command {
public:
    std::vector<std::string> valueOptions() const override { return {"server"}; }
    int run(Context& ctx, const Args& args) override {
        if (const auto server = args.option("server")) {
            if (!drawRequestUrl(*server, kFirstDrawDay))
                throw UsageError("--server erwartet eine http- oder https-Adresse");
            ctx.model.downloadServer = *server;
        }
        UpdateController& update = *ctx.session.update;
        update.afterDay = [&](double) { std::cout << ctx.model.status[0] << std::endl; };
        update.runUpdate();
        ctx.printShow();
        return update.failed() ? 1 : 0;
    }
};

// The number dialog answered once from the options, as a user would tick and confirm it.
struct EntryAnswer {
    std::vector<int> numbers;
    std::optional<double> date;
    std::optional<std::array<int, 5>> digits;
    int shown = 0;
    ModalResult operator()(NumberChoice& f) {
        if (++shown > 1) return ModalResult::Abort; // a refused entry is not corrected here
        for (int n : numbers) f.ticked[static_cast<size_t>(n)] = true;
        if (date) f.entryDate = *date;
        if (digits) f.entryDigits = *digits;
        return ModalResult::Ok;
    }
};

class AddDrawCommand : public Command {
public:
    std::vector<std::string> valueOptions() const override { return {"draw-date", "numbers", "plus5"}; }
    int run(Context& ctx, const Args& args) override {
        EntryAnswer answer;
        if (args.option("draw-date")) answer.date = dateOption(args, "draw-date");
        const auto numbers = args.option("numbers");
        if (!numbers) throw UsageError("--numbers N1,...,N20 fehlt");
        size_t start = 0;
        for (;;) {
            const size_t comma = numbers->find(',', start);
            const std::string piece =
                numbers->substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            const auto n = parseDigits(piece, 99);
            if (!n || *n < 1 || *n > 70) throw UsageError("--numbers: \"" + piece + "\" ist keine Zahl von 1 bis 70");
            answer.numbers.push_back(static_cast<int>(*n));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        if (const auto plus5 = args.option("plus5")) {
            std::array<int, 5> d{};
            bool ok = plus5->size() == 5;
            for (size_t i = 0; ok && i < 5; ++i) {
                ok = (*plus5)[i] >= '0' && (*plus5)[i] <= '9';
                d[i] = (*plus5)[i] - '0';
            }
            if (!ok) throw UsageError("--plus5 erwartet fünf Ziffern");
            answer.digits = d;
        }
        ctx.prompter.onNumberDialog = std::ref(answer);
        const bool stored = ctx.session.entry.enterDraw();
        ctx.printShow();
        return stored ? 0 : 1;
    }
};

class ExportCommand : public Command {
public:
    std::vector<std::string> valueOptions() const override { return {"layout", "from", "out"}; }
    int run(Context& ctx, const Args& args) override {
        int layout = 1;
        if (const auto l = args.option("layout")) {
            if (l->size() != 1 || (*l)[0] < '1' || (*l)[0] > '5') throw UsageError("--layout erwartet 1 bis 5");
            layout = (*l)[0] - '0';
        }
        if (args.option("from")) {
            const double from = dateOption(args, "from");
            // Before the picker's first day means from the first draw on.
            if (!ctx.model.setBrowseDate(from)) ctx.model.setBrowseDate(Model::browseDateMin);
        }
        const std::string proposed = ctx.model.home + "KenoZahlen.txt";
        ctx.prompter.nextSave = FileChoice{args.option("out").value_or(proposed), layout};
        return ctx.session.exporter.exportText() ? 0 : 1;
    }
};

class ExportSingleCommand : public Command {
public:
    int run(Context& ctx, const Args&) override { return ctx.session.exporter.exportSingleFiles() > 0 ? 0 : 1; }
};

std::unique_ptr<Command> makeUpdateCommand() { return std::make_unique<UpdateCommand>(); }
std::unique_ptr<Command> makeAddDrawCommand() { return std::make_unique<AddDrawCommand>(); }
std::unique_ptr<Command> makeExportCommand() { return std::make_unique<ExportCommand>(); }
std::unique_ptr<Command> makeExportSingleCommand() { return std::make_unique<ExportSingleCommand>(); }

} // namespace zf::cli
