#pragma once
// The backtests of the tab "Datenbank": they replay the history from the draw of DateTimePicker1 to
// the newest, put tips into the tip list, step the draw browser and add up what the hit check counts.
// The report goes to "Analyse.txt" in the program folder, which is then opened for the user.
//
// A test can be stopped; a stopped or failed test writes no report, and neither does one that finds
// no draw to test. The test works on the tip list, but the user's list is put back when it is over,
// however it ended; the generator tests name the tips they made in their report. While a test runs,
// the window gets its changes only every few milliseconds, together with a progress text in the
// status bar.
//
// After a test that wrote its report the totals are set beside chance: "Analyse-Zufall.txt" beside
// "Analyse.txt", and the window "Vergleich mit dem Zufall" when the model says so.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Services.h"
#include "core/evaluation/BacktestReport.h"
#include "core/evaluation/Chance.h"

namespace zf {

class Model;
class Browser;
class GeneratorController;
class ChanceView;

class Backtest {
public:
    Backtest(Model& m, Services& s, Browser& browser, GeneratorController& generator)
        : m_(m), s_(s), browser_(browser), generator_(generator) {}

    // BitBtn9Click, ErfolgstestClick, Button7Click ... Button11Click. True when a report was written.
    bool run(BacktestKind kind);
    bool running() const { return running_; }
    // Ends the test at its next step (a generator run under way at its next attempt).
    void stop();

    // The lines of the last report written, as they stand in "Analyse.txt".
    const std::vector<std::string>& report() const { return report_; }
    static constexpr const char* kReportFile = "Analyse.txt";

    // Whether a test is compared with chance at all (the batch program's --chance); on by default.
    bool compareWithChance = true;
    // The window for the comparison; none: no window.
    void setChanceView(ChanceView* view) { chanceView_ = view; }
    // The comparison of the last test, and the lines of "Analyse-Zufall.txt" once it was written.
    const std::optional<ChanceComparison>& comparison() const { return comparison_; }
    const std::vector<std::string>& comparisonReport() const { return comparisonReport_; }
    static constexpr const char* kChanceFile = "Analyse-Zufall.txt";

    std::function<void()> eventPump;         // lets the front end handle pending events
    std::chrono::milliseconds pumpEvery{30}; // how often the window sees the progress

private:
    enum class Outcome {
        Done,
        Stopped,
        Failed,
        NothingToTest // no draw after the base to test against (Button11: none with three before it)
    };
    Outcome generatorTest(BacktestKind kind, int32_t lucky, BacktestTotals& t);
    Outcome recurrenceTest(BacktestKind kind, BacktestTotals& t);
    bool loadHistory();
    bool generate(int32_t lucky);
    bool stepForward();
    bool stepBack();
    bool laterDrawExists() const;
    void tellNothingToTest(BacktestKind kind, double firstBase);
    void replaceTipList();
    void progress(const BacktestTotals& t, bool force = false);
    void showProgress(); // hands the window its changes and pending events
    bool writeReport(std::vector<std::string> lines);
    void recordPass();
    void compare(BacktestKind kind, const BacktestTotals& t);
    void writeComparison();

    Model& m_;
    Services& s_;
    Browser& browser_;
    GeneratorController& generator_;
    bool running_ = false;
    bool stopRequested_ = false;
    std::vector<std::string> report_;
    std::vector<std::string> madeTips_; // generator tests: the tips of the report
    std::string madeTipsHeading_;
    std::function<void(unsigned)> listener_; // the window's listener, held back between progress steps
    std::chrono::steady_clock::time_point lastPump_;
    double baseDate_ = 0;
    ChanceView* chanceView_ = nullptr;
    TipCheckRecord record_; // generator tests: the tips of every pass and the draw they met
    std::optional<ChanceComparison> comparison_;
    std::vector<std::string> comparisonReport_;
};

} // namespace zf
