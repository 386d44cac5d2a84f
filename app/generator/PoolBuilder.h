#pragma once
// The candidate pool of a run, built from the options: the numbers of the last draws and their
// neighbours, the blocks and numbers the statistics favour, every number once, the draw of one date
// in every year, less the numbers of the draws a tip must not hit; with "Liste bearbeiten" the number
// dialog has the last word. The statistics and the date walks go through the browser and the charts
// of the model, as the buttons of those pages do.
#include <array>
#include <cstdint>

#include "core/draws/DrawRecord.h"
#include "core/generator/GeneratorDialogs.h"
#include "core/generator/Pool.h"
#include "core/stats/Statistics.h"

namespace zf {

class Model;
class Prompter;
class Browser;

// The draw of the chosen day and the two before it; a draw the history does not reach back to is
// all zeros.
struct RecentDraws {
    std::array<std::array<uint8_t, 20>, 3> numbers{}; // the last, second-last and third-last draw
    std::array<DrawBits, 3> bits{};
};

class PoolBuilder {
public:
    PoolBuilder(Model& m, Prompter& prompter, GeneratorDialogs& dialogs, Browser& browser)
        : m_(m), prompter_(prompter), dialogs_(dialogs), browser_(browser) {}

    // Walks from the chosen draw two draws back and returns to it.
    RecentDraws recentDraws();
    // Fills `pool` for a run; false when the number dialog was cancelled or its list cannot be used.
    bool build(CandidatePool& pool, const RecentDraws& recent);

private:
    void favourBlocks(CandidatePool& p);
    void addDateInAllYears(CandidatePool& p);
    bool poolDialog(CandidatePool& p);

    Model& m_;
    Prompter& prompter_;
    GeneratorDialogs& dialogs_;
    Browser& browser_;
    stats::DrawTally tally_; // running totals of the history, kept across runs
};

} // namespace zf
