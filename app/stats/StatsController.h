#pragma once
// The statistics commands: each settles the statistics window on the model's date pickers, counts
// the draws of Keno.dat and leaves its chart in the model (Series2 on "Diagramm", Series3 on
// "Plus 5"). The tip generator runs some of them itself and reads the chart back.
#include <optional>

#include "core/stats/Statistics.h"

namespace zf {

class Model;
class Prompter;

class StatsController {
public:
    // With a tally, the number distribution and the overdue numbers are counted from its running
    // totals (the generator keeps one across its runs).
    StatsController(Model& m, Prompter& prompter, stats::DrawTally* tally = nullptr)
        : m_(m), prompter_(prompter), tally_(tally) {}

    // Each returns false when Keno.dat could not be read; the chart then keeps what it showed.
    // With reportErrors false the failure is not told (start-up and activation: the draw browser
    // already says that the draws are missing).
    bool showNumbers(bool reportErrors = true); // number distribution
    bool showCrossSums();                       // "Quersumme": cross sums
    bool showOverdue();                         // "Ausstehende" / "ausstehend": overdue numbers
    bool showPairs();                           // "Paare suchen" / "Paare"
    bool showTriples();                         // "Dreier suchen" / "Dreier"
    bool showQuads();                           // "Vierer suchen" / "Vierer"

    // Plus 5 digit distribution at position 1..5 (1 = leftmost digit) or 6 (all digits), counted
    // the way RadioGroup1 says.
    bool showPlus5Digits(int position, bool reportErrors = true);
    bool showPlus5Sums(); // "QS": Plus 5 digit sums

    void showTipDistribution(); // "Tippverteilung": the numbers of the tip list

    int plus5Mode = 0; // RadioGroup1: 0 "wie oft", 1 "ausstehend"

private:
    std::optional<stats::Window> beginWindowed(bool reportErrors);
    bool groupSearch(int length, bool setsEndDate);
    void showChart1(ChartData chart, bool keepMarks);
    void showChart2(ChartData chart, bool keepMarks);
    void bringDiagrammToFront();
    // The tally of the history now loaded, when there is one that can answer.
    const stats::DrawTally* tally();

    Model& m_;
    Prompter& prompter_;
    stats::DrawTally* tally_;
};

} // namespace zf
