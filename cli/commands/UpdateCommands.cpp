// update, add-draw, export, export-single
#include <QCoreApplication>

#include <iostream>

#include "base/GermanFormat.h"
#include "cli/Command.h"
#include "draws/Export.h"
#include "draws/ManualEntry.h"
#include "draws/Update.h"
#include "generator/NumberChoice.h"
#include "platform/qt/QtHttpClient.h"

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
            if (!drawRequestUrl(*server, kFirstDrawDay)) throw UsageError("--server erwartet eine http- oder https-Adresse");
            ctx.model.downloadServer = *server;
        }
        QtHttpClient http;
        UpdateController update(ctx.model, ctx.services, ctx.app.browser(), http);
        update.pumpEvents = [] { QCoreApplication::processEvents(); };
        update.afterDay = [&](double) { std::cout << ctx.model.status[0] << std::endl; };
        update.runUpdate();
        ctx.printShow();
        return 0;
    }
};

// The number dialog answered once from the options, as a user would tick and confirm it.
class EntryPrompter : public CliPrompter {
public:
    std::vector<int> numbers;
    std::optional<double> date;
    std::optional<std::array<int, 5>> digits;
    int shown = 0;
    ModalResult numberDialog(NumberChoice& f) override {
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
        EntryPrompter prompter;
        if (args.option("draw-date")) prompter.date = dateOption(args, "draw-date");
        const auto numbers = args.option("numbers");
        if (!numbers) throw UsageError("--numbers N1,...,N20 fehlt");
        size_t start = 0;
        for (;;) {
            const size_t comma = numbers->find(',', start);
            const std::string piece = numbers->substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            int n = 0;
            bool ok = !piece.empty() && piece.size() <= 2;
            for (char c : piece) ok = ok && c >= '0' && c <= '9';
            if (ok) n = std::stoi(piece);
            if (!ok || n < 1 || n > 70) throw UsageError("--numbers: \"" + piece + "\" ist keine Zahl von 1 bis 70");
            prompter.numbers.push_back(n);
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
            prompter.digits = d;
        }
        Services services{prompter, ctx.shell, ctx.sound, *ctx.clock, *ctx.store};
        ManualEntry entry(ctx.model, services, ctx.app.browser());
        const bool stored = entry.enterDraw();
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
        DrawExport exporter(ctx.model, ctx.services, ctx.app.browser());
        const auto out = args.option("out");
        exporter.saveDialog = [&](const FileDialogSetup& setup) {
            return std::optional<ExportChoice>(ExportChoice{out ? *out : setup.proposedName + "." + setup.defaultExt, layout});
        };
        return exporter.exportText() ? 0 : 1;
    }
};

class ExportSingleCommand : public Command {
public:
    int run(Context& ctx, const Args&) override {
        DrawExport exporter(ctx.model, ctx.services, ctx.app.browser());
        return exporter.exportSingleFiles() > 0 ? 0 : 1;
    }
};

std::unique_ptr<Command> makeUpdateCommand() { return std::make_unique<UpdateCommand>(); }
std::unique_ptr<Command> makeAddDrawCommand() { return std::make_unique<AddDrawCommand>(); }
std::unique_ptr<Command> makeExportCommand() { return std::make_unique<ExportCommand>(); }
std::unique_ptr<Command> makeExportSingleCommand() { return std::make_unique<ExportSingleCommand>(); }

} // namespace zf::cli
