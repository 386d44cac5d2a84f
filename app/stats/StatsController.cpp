#include "app/stats/StatsController.h"

#include <cmath>
#include <string>

#include "app/Model.h"
#include "core/ports/Seams.h"

namespace zf {

using stats::StartDay;

std::optional<stats::Window> StatsController::beginWindowed(bool reportErrors) {
    m_.draws.setPath(m_.kenoPath());
    std::string error;
    if (!m_.draws.refresh(&error)) {
        if (reportErrors) prompter_.message(error);
        return std::nullopt;
    }
    const stats::Window w = stats::settleWindow(m_.statsStart, m_.browseDate);
    if (w.startMoved && m_.setStatsStart(w.start)) m_.notify(ChangeDates);
    m_.workDate = w.startMoved ? w.start : m_.statsStart;
    return w;
}

const stats::DrawTally* StatsController::tally() {
    if (!tally_) return nullptr;
    tally_->update(m_.draws.records(), m_.draws.generation());
    return tally_->usable() ? tally_ : nullptr;
}

void StatsController::showChart1(ChartData chart, bool keepMarks) {
    // Only the number distribution hides the value marks; the other charts leave them as they are.
    if (keepMarks) chart.marksVisible = m_.numberChart.marksVisible;
    m_.numberChart = std::move(chart);
    m_.notify(ChangeChart1);
}

void StatsController::showChart2(ChartData chart, bool keepMarks) {
    if (keepMarks) chart.marksVisible = m_.plus5Chart.marksVisible;
    m_.plus5Chart = std::move(chart);
    m_.notify(ChangeChart2);
}

void StatsController::bringDiagrammToFront() {
    m_.pageRequest = "Diagramm";
    m_.notify(ChangePage);
}

bool StatsController::showNumbers(bool reportErrors) {
    const auto w = beginWindowed(reportErrors);
    if (!w) return false;
    const auto& records = m_.draws.records();
    const stats::DrawTally* t = tally();
    showChart1(t ? t->numberDistribution(records, *w) : stats::numberDistribution(records, *w), false);
    return true;
}

bool StatsController::showCrossSums() {
    const auto w = beginWindowed(true);
    if (!w) return false;
    m_.windowEnd = w->end;
    showChart1(stats::crossSums(m_.draws.records(), *w), true);
    return true;
}

bool StatsController::showOverdue() {
    const auto w = beginWindowed(true);
    if (!w) return false;
    m_.windowEnd = w->end;
    const auto& records = m_.draws.records();
    const stats::DrawTally* t = tally();
    showChart1(t ? t->overdue(records, *w) : stats::overdue(records, *w), true);
    bringDiagrammToFront();
    return true;
}

bool StatsController::groupSearch(int length, bool setsEndDate) {
    const auto w = beginWindowed(true);
    if (!w) return false;
    if (setsEndDate) m_.windowEnd = w->end;
    const auto& records = m_.draws.records();
    showChart1(stats::runs(records, *w, length), true);
    // The search walks the window with the current-draw register, so it ends on the newest draw.
    if (const auto last = stats::lastKenoDraw(records, *w, StartDay::Excluded))
        for (size_t k = 0; k < 20; ++k) m_.drawNumbers[k + 1] = records[*last].zahl[k];
    bringDiagrammToFront();
    return true;
}

bool StatsController::showPairs() { return groupSearch(2, false); }
bool StatsController::showTriples() { return groupSearch(3, true); }
bool StatsController::showQuads() { return groupSearch(4, true); }

bool StatsController::showPlus5Digits(int position, bool reportErrors) {
    if (position < 1 || position > 6) return false;
    const auto w = beginWindowed(reportErrors);
    if (!w) return false;
    const auto mode = plus5Mode == 1 ? stats::Plus5Mode::Ausstehend : stats::Plus5Mode::WieOft;
    showChart2(stats::plus5Digits(m_.draws.records(), *w, position, mode), false);
    return true;
}

bool StatsController::showPlus5Sums() {
    const auto w = beginWindowed(true);
    if (!w) return false;
    m_.windowEnd = w->end;
    showChart2(stats::plus5Sums(m_.draws.records(), *w), true);
    return true;
}

void StatsController::showTipDistribution() {
    showChart1(stats::tipDistribution(m_.tipLines), true);
    bringDiagrammToFront();
}

} // namespace zf
