// import FILE [--replace]
#include <iostream>

#include "cli/Command.h"

namespace zf::cli {

class ImportCommand : public Command {
public:
    std::vector<std::string> flagOptions() const override { return {"replace"}; }
    int run(Context& ctx, const Args& args) override {
        if (args.words.size() != 1) throw UsageError("import erwartet genau eine Datei");
        // The question about dates stored with other numbers: "Ja" only with --replace.
        ctx.prompter.nextAnswer = args.option("replace").has_value();
        const ImportOutcome outcome = ctx.session.importer.importFile(args.words.front());
        std::string out;
        for (const std::string& line : outcome.summary) out += line + "\n";
        (outcome.failed ? std::cerr : std::cout) << out;
        return outcome.failed ? 1 : 0;
    }
};

std::unique_ptr<Command> makeImportCommand() { return std::make_unique<ImportCommand>(); }

} // namespace zf::cli
