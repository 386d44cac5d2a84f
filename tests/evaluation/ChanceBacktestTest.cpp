// The backtests beside chance in the program: Analyse.txt as before, Analyse-Zufall.txt beside it, the
// window when the setting asks for it; the odds and the winnings message of the tip panel.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "app/AppController.h"
#include "app/Model.h"
#include "app/Session.h"
#include "app/evaluation/Backtest.h"
#include "app/settings/SettingsPersistence.h"
#include "base/GermanFormat.h"
#include "base/Text.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

// Draws on consecutive days from 01.03.2020, 20 random numbers each; with `everyDraw` that number is
// always among them.
std::vector<DrawRecord> history(int count, uint64_t seed, int everyDraw = 0) {
    std::mt19937_64 rng(seed);
    std::vector<DrawRecord> out;
    for (int i = 0; i < count; ++i) {
        std::vector<int> all(70);
        std::iota(all.begin(), all.end(), 1);
        std::shuffle(all.begin(), all.end(), rng);
        if (everyDraw > 0) std::iter_swap(all.begin(), std::find(all.begin(), all.end(), everyDraw));
        all.resize(20);
        DrawRecord r = drawWith(2020, 3, 1, all, {1, 2, 3, 4, 5});
        r.datum = dateValue(2020, 3, 1) + i;
        out.push_back(r);
    }
    return out;
}

struct ChanceBacktest : ::testing::Test, WithSession {
    ChanceBacktest() : WithSession(dateValue(2026, 1, 10) + 0.5) {}
    TempDir dir;
    Backtest& backtest = session.backtest;
    RecordingChanceView view;

    void SetUp() override {
        m.home = dir.path();
        m.hitCheckOn = true;
        m.statsStart = Model::statsStartMin;
        m.on(Opt::ClearBeforeRun) = true;
        backtest.setChanceView(&view);
    }
    void useBundledHistory() {
        std::string error;
        ASSERT_TRUE(writeBundledHistory(dir.file("Keno.dat"), &error)) << error;
    }
    // One run of the test from `from`, the lucky number 4711 for the generator tests.
    bool run(BacktestKind kind, double from) {
        m.browseDate = from;
        m.num(Num::KenoType).max = 10;
        m.num(Num::KenoType).set(6);
        prompter.inputs = {"4711"};
        return backtest.run(kind);
    }
    std::string analysis() const { return contents(dir.file("Analyse.txt")); }
    std::string chance() const { return contents(dir.file("Analyse-Zufall.txt")); }
};

const BacktestKind kAll[] = {BacktestKind::TipsUntilToday, BacktestKind::TipsPerDraw,   BacktestKind::NextDraw,
                             BacktestKind::SecondNextDraw, BacktestKind::ThirdNextDraw, BacktestKind::NextThreeDraws,
                             BacktestKind::LastThreeDraws};

} // namespace

TEST_F(ChanceBacktest, EveryTestKeepsItsReportAndWritesTheComparisonBesideIt) {
    useBundledHistory();
    const double from = dateValue(2025, 11, 20);
    for (BacktestKind kind : kAll) {
        SCOPED_TRACE(std::string(backtestName(kind)));
        // Without the comparison, as the batch program runs a test without --chance.
        backtest.compareWithChance = false;
        ASSERT_TRUE(run(kind, from));
        const std::string plain = analysis();
        EXPECT_TRUE(backtest.comparisonReport().empty());
        backtest.compareWithChance = true;
        std::filesystem::remove(dir.file("Analyse-Zufall.txt"));
        view.comparisons.clear();
        ASSERT_TRUE(run(kind, from));
        EXPECT_EQ(analysis(), plain); // byte for byte
        const auto& lines = backtest.comparisonReport();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(chance(), textLinesBytes(lines));
        EXPECT_EQ(lines.front(), "Vergleich mit dem Zufall");
        EXPECT_EQ(lines[1], "Test: " + std::string(backtestCaption(kind)));
        ASSERT_EQ(view.comparisons.size(), 1u);
        const ChanceComparison& c = view.comparisons.front();
        EXPECT_EQ(comparisonLines(c), lines);
        EXPECT_TRUE(c.complete);
        EXPECT_EQ(c.repetitions, 1000);
        EXPECT_EQ(std::accumulate(c.observed.begin(), c.observed.end(), int64_t{0}), c.checks);
        EXPECT_NEAR(std::accumulate(c.expected.begin(), c.expected.end(), 0.0), double(c.checks), 1e-6);
        // The observed totals are those of the report.
        const auto& report = backtest.report();
        for (size_t h = 0; h < c.observed.size(); ++h) {
            const std::string& line = report[h + 1];
            EXPECT_EQ(std::to_string(c.observed[h]), line.substr(line.find_last_of(" \t") + 1)) << line;
        }
        if (isGeneratorBacktest(kind)) {
            EXPECT_EQ(c.observed.size(), 7u); // hits 0..6 of six-number tips
            EXPECT_EQ(c.checks, c.passes * m.totalTips());
            ASSERT_TRUE(c.money);
            EXPECT_EQ(c.money->staked, c.checks);
            EXPECT_NE(lines[lines.size() - 2].find("Zufällige Ziehungen: im Mittel "), std::string::npos);
        } else {
            EXPECT_EQ(c.observed.size(), 21u);
            EXPECT_EQ(c.checks, c.passes * (hasPassSums(kind) ? 3 : 1));
            EXPECT_FALSE(c.money);
        }
    }
}

TEST_F(ChanceBacktest, TheSettingDecidesAboutTheWindowOnlyAndTheFileIsTheSameEachTime) {
    useBundledHistory();
    m.showChanceComparison = false;
    ASSERT_TRUE(run(BacktestKind::TipsPerDraw, dateValue(2025, 12, 1)));
    EXPECT_TRUE(view.comparisons.empty());
    const std::string first = chance();
    EXPECT_NE(first.find("Vergleich mit dem Zufall\r\n"), std::string::npos);
    // The stake per tip counts in the money lines; the same test gives the same file.
    m.showChanceComparison = true;
    ASSERT_TRUE(run(BacktestKind::TipsPerDraw, dateValue(2025, 12, 1)));
    EXPECT_EQ(chance(), first);
    ASSERT_EQ(view.comparisons.size(), 1u);
    m.stakeItem = 3;
    ASSERT_TRUE(run(BacktestKind::TipsPerDraw, dateValue(2025, 12, 1)));
    EXPECT_EQ(view.comparisons.back().money->staked, 10 * view.comparisons.back().checks);
    EXPECT_NE(chance(), first);
    // Without a window nothing is shown, and nothing fails.
    backtest.setChanceView(nullptr);
    EXPECT_TRUE(run(BacktestKind::NextDraw, dateValue(2025, 12, 1)));
    EXPECT_EQ(view.comparisons.size(), 2u);
}

TEST_F(ChanceBacktest, ANumberInEveryDrawIsRemarkable) {
    writeDraws(dir.file("Keno.dat"), history(150, 5, 7));
    for (BacktestKind kind : {BacktestKind::NextDraw, BacktestKind::SecondNextDraw, BacktestKind::ThirdNextDraw,
                              BacktestKind::NextThreeDraws, BacktestKind::LastThreeDraws}) {
        SCOPED_TRACE(std::string(backtestName(kind)));
        ASSERT_TRUE(run(kind, dateValue(2020, 3, 1)));
        ASSERT_FALSE(view.comparisons.empty());
        const ChanceComparison& c = view.comparisons.back();
        EXPECT_TRUE(c.remarkable()) << verdictText(c);
        const auto& lines = backtest.comparisonReport();
        EXPECT_NE(std::find(lines.begin(), lines.end(), "Ergebnis: " + verdictText(c)), lines.end());
    }
    // The same draws without the favoured number are as chance has them.
    writeDraws(dir.file("Keno.dat"), history(150, 5));
    ASSERT_TRUE(run(BacktestKind::NextDraw, dateValue(2020, 3, 1)));
    EXPECT_FALSE(view.comparisons.back().remarkable()) << verdictText(view.comparisons.back());
}

TEST_F(ChanceBacktest, StoppedDuringTheComparisonTheReportIsWrittenAndTheVerdictLeftOpen) {
    writeDraws(dir.file("Keno.dat"), history(400, 9));
    backtest.pumpEvery = std::chrono::milliseconds(0);
    backtest.eventPump = [this] {
        if (m.status[1].rfind("Vergleich mit dem Zufall: ", 0) == 0) backtest.stop();
    };
    ASSERT_TRUE(run(BacktestKind::NextDraw, dateValue(2020, 3, 1)));
    EXPECT_EQ(backtest.report().back(), "Bei 399 Ziehungen");
    const auto& lines = backtest.comparisonReport();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Ergebnis: kein Urteil (der Vergleich wurde abgebrochen)"),
              lines.end());
    EXPECT_EQ(m.status[1], "Bericht gespeichert in " + dir.file("Analyse.txt"));
    EXPECT_FALSE(m.backtestRunning);
}

TEST_F(ChanceBacktest, TheOddsAndTheWinningsOfTheTipPanel) {
    session.tips.setChanceView(&view);
    m.num(Num::KenoType).set(8);
    m.stakeItem = 2;
    session.tips.showOdds();
    ASSERT_EQ(view.odds.size(), 1u);
    EXPECT_EQ(view.odds[0].kenoType, 8);
    EXPECT_EQ(view.odds[0].stake, 5);
    EXPECT_EQ(view.odds[0].rows.front().payout, 50000);

    // Type 4 at 1 euro, one tip with 4 hits and one with 1: the win, then the list beside chance.
    m.num(Num::KenoType).set(4);
    m.stakeItem = 0;
    m.tipLines = {"04,06,17,28", "01,02,03,07"};
    m.hits = {4, 1};
    session.tips.showWinnings();
    ASSERT_FALSE(prompter.messages.empty());
    EXPECT_EQ(prompter.messages.back(),
              "Gewinne\n1 x  4er \t22\n\n22€ ohne Gewähr\n\n"
              "Einsatz der Liste: 2,00 €\n"
              "Im Mittel gewinnt die Liste je Ziehung 0,99 €\n"
              "So viel oder mehr gewinnen zufällige Tipps in 1,05 % der Ziehungen (1 : 94,9)");
    m.hits = {1, 0};
    session.tips.showWinnings();
    EXPECT_EQ(prompter.messages.back(),
              "Kein Gewinn!\n\nEinsatz der Liste: 2,00 €\nIm Mittel gewinnt die Liste je Ziehung 0,99 €");
    m.tipLines.clear();
    m.hits.clear();
    session.tips.showWinnings();
    EXPECT_EQ(prompter.messages.back(), "Kein Gewinn!");
}

TEST(ChanceSetting, OnByDefaultStoredAndSetByName) {
    MemorySettingsStore store;
    Model m;
    EXPECT_TRUE(m.showChanceComparison);
    m.showChanceComparison = false;
    restoreSettings(m, store, dateValue(2026, 1, 1)); // a first start
    EXPECT_TRUE(m.showChanceComparison);
    m.showChanceComparison = false;
    saveSettings(m, store, dateValue(2026, 1, 1));
    Model restored;
    restoreSettings(restored, store, dateValue(2026, 1, 1));
    EXPECT_FALSE(restored.showChanceComparison);
    EXPECT_EQ(applySettingText(restored, "ChanceComparison", "1"), std::nullopt);
    EXPECT_TRUE(restored.showChanceComparison);
}
