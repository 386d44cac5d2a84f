// draws, show, check, delete-draw
#include <iostream>

#include "app/evaluation/TipCheck.h"
#include "base/GermanFormat.h"
#include "cli/Command.h"

namespace zf::cli {

class DrawsCommand : public Command {
public:
    int run(Context& ctx, const Args&) override {
        std::string error;
        if (!ctx.model.draws.refresh(&error)) {
            std::cerr << error << "\n";
            return 1;
        }
        std::string out;
        for (const DrawRecord& r : ctx.model.draws.records()) {
            out += formatDate(r.datum);
            out += ';';
            for (size_t i = 0; i < 20; ++i) {
                if (i) out += ',';
                out += std::to_string(r.zahl[i]);
            }
            out += ';';
            if (r.hasPlus5())
                for (uint8_t d : r.zahl5) out += std::to_string(d);
            out += '\n';
        }
        std::cout << out;
        return 0;
    }
};

class ShowCommand : public Command {
public:
    int run(Context& ctx, const Args&) override {
        ctx.printShow();
        return 0;
    }
};

class CheckCommand : public Command {
public:
    int run(Context& ctx, const Args&) override {
        const int best = checkAllTips(ctx.model, ctx.sound);
        std::string out;
        for (uint8_t h : ctx.model.hits) out += std::to_string(h) + "\n";
        std::cout << out << "best;" << best << "\n";
        ctx.printStatus();
        return 0;
    }
};

class DeleteDrawCommand : public Command {
public:
    int run(Context& ctx, const Args&) override {
        const bool deleted = ctx.app.browser().deleteCurrent();
        ctx.printShow();
        return deleted ? 0 : 1;
    }
};

std::unique_ptr<Command> makeDrawsCommand() { return std::make_unique<DrawsCommand>(); }
std::unique_ptr<Command> makeShowCommand() { return std::make_unique<ShowCommand>(); }
std::unique_ptr<Command> makeCheckCommand() { return std::make_unique<CheckCommand>(); }
std::unique_ptr<Command> makeDeleteDrawCommand() { return std::make_unique<DeleteDrawCommand>(); }

} // namespace zf::cli
