// The windows beside chance as the desktop opens them (offscreen): "Chancen" made and shown the first
// time and shown again, and "Vergleich mit dem Zufall" for a recurrence test over the whole history.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <memory>

#include "core/evaluation/Chance.h"
#include "ui/dialogs/ChanceDialogs.h"

namespace {

using namespace zf;

// The first "Chancen" of a session: the dialog is made, filled and painted.
void BM_OddsDialogFirstOpen(benchmark::State& s) {
    for (auto _ : s) {
        QWidget parent;
        ui::ChanceDialogs windows(&parent);
        windows.showOdds(oddsTable(10, 0));
        windows.oddsDialog()->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_OddsDialogFirstOpen)->Unit(benchmark::kMillisecond);

// Every later "Chancen": the same window, filled anew.
void BM_OddsDialogAgain(benchmark::State& s) {
    QWidget parent;
    ui::ChanceDialogs windows(&parent);
    windows.showOdds(oddsTable(10, 0));
    int type = 2;
    for (auto _ : s) {
        windows.showOdds(oddsTable(type, 1));
        windows.oddsDialog()->repaint();
        QApplication::processEvents();
        type = type == 10 ? 2 : type + 1;
    }
}
BENCHMARK(BM_OddsDialogAgain)->Unit(benchmark::kMillisecond);

void BM_ComparisonWindow(benchmark::State& s) {
    BacktestTotals t;
    t.passes = 7663;
    for (int h = 0; h <= 20; ++h) t.hits[size_t(h)] = std::llround(3.0 * t.passes * hitLaw(20).probability(h));
    const ChanceComparison c = compareRecurrence(BacktestKind::NextThreeDraws, t);
    QWidget parent;
    ui::ChanceDialogs windows(&parent);
    for (auto _ : s) {
        windows.showComparison(c);
        windows.comparisonDialog()->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ComparisonWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
