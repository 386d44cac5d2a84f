// stats KIND [--mode wieoft|ausstehend]: one statistic and the chart it leaves behind.
#include <cmath>
#include <cstdio>
#include <iostream>

#include "app/stats/StatsController.h"
#include "base/GermanNumber.h"
#include "cli/Command.h"

namespace zf::cli {
namespace {

const char* colourName(BarColour c) {
    switch (c) {
    case BarColour::Red:
        return "red";
    case BarColour::Green:
        return "green";
    case BarColour::Series:
        break;
    }
    return "series";
}

// Bar values and axis bounds are counts; a fraction would only come from a future statistic.
std::string number(double v) {
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 9.0e15)
        return std::to_string(static_cast<long long>(v));
    return formatGeneral(v, 6);
}

void print(const ChartData& c) {
    std::string out = "caption;" + c.caption + "\n";
    for (const ChartPoint& p : c.points)
        out += std::to_string(p.x) + ";" + number(p.y) + ";" + colourName(p.colour) + "\n";
    out += c.axisFixed ? "axis;" + number(c.axisMin) + ";" + number(c.axisMax) + "\n" : std::string("axis;auto\n");
    std::cout << out;
}

class StatsCommand : public Command {
public:
    std::vector<std::string> valueOptions() const override { return {"mode"}; }

    int run(Context& ctx, const Args& args) override {
        static const char* const kinds =
            "numbers, crosssums, overdue, pairs, triples, quads, tipdist, plus5-1 … plus5-5, plus5-all, plus5-sums";
        if (args.words.size() != 1) throw UsageError(std::string("stats erwartet genau eine Art: ") + kinds);
        const std::string& kind = args.words[0];
        const bool plus5 = kind.rfind("plus5-", 0) == 0;

        StatsController& stats = ctx.session.stats;
        if (const auto mode = args.option("mode")) {
            if (!plus5) throw UsageError("--mode gilt nur für die plus5-Arten");
            if (*mode == "wieoft")
                stats.plus5Mode = 0;
            else if (*mode == "ausstehend")
                stats.plus5Mode = 1;
            else
                throw UsageError("--mode erwartet wieoft oder ausstehend, nicht " + *mode);
        }

        int position = 0;
        if (kind == "plus5-all")
            position = 6;
        else if (plus5 && kind.size() == 7 && kind[6] >= '1' && kind[6] <= '5')
            position = kind[6] - '0';
        else if (plus5 && kind != "plus5-sums")
            throw UsageError("unbekannte Art " + kind + " (" + kinds + ")");

        if (kind != "tipdist") {
            // Unreadable draws are an error of the run, not a message of the program.
            ctx.model.draws.setPath(ctx.model.kenoPath());
            std::string error;
            if (!ctx.model.draws.refresh(&error)) {
                std::cerr << error << "\n";
                return 1;
            }
        }

        bool ok = true;
        if (kind == "numbers")
            ok = stats.showNumbers();
        else if (kind == "crosssums")
            ok = stats.showCrossSums();
        else if (kind == "overdue")
            ok = stats.showOverdue();
        else if (kind == "pairs")
            ok = stats.showPairs();
        else if (kind == "triples")
            ok = stats.showTriples();
        else if (kind == "quads")
            ok = stats.showQuads();
        else if (kind == "tipdist")
            stats.showTipDistribution();
        else if (kind == "plus5-sums")
            ok = stats.showPlus5Sums();
        else if (position)
            ok = stats.showPlus5Digits(position);
        else
            throw UsageError("unbekannte Art " + kind + " (" + kinds + ")");
        if (!ok) return 1;
        print(plus5 ? ctx.model.plus5Chart : ctx.model.numberChart);
        return 0;
    }
};

} // namespace

std::unique_ptr<Command> makeStatsCommand() { return std::make_unique<StatsCommand>(); }

} // namespace zf::cli
