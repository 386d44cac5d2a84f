// The statistics commands on the model: window settling, what each leaves behind, failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "app/Model.h"
#include "app/stats/StatsController.h"
#include "core/ports/Seams.h"
#include "support/TestSupport.h"
#include "tests/stats/StatsFixture.h"

using namespace zf;
using namespace zf::statstest;

namespace {

struct Commands : ::testing::Test {
    TempDir dir;
    Model m;
    test::ScriptedPrompter prompter;
    StatsController stats{m, prompter};
    unsigned changes = 0;

    // 19.01.2019 .. 21.01.2020; the browser stands on 20.01.2020.
    std::vector<DrawRecord> history = {
        keno(19, 1, 2019, {1, 2, 3, 4}, {1, 1, 1, 1, 1}),     keno(20, 1, 2019, {5, 6, 7, 8}, {2, 2, 2, 2, 2}),
        keno(1, 6, 2019, {10, 11, 12, 13}, {3, 4, 5, 6, 7}),  keno(20, 1, 2020, {20, 21, 22, 23}, {9, 8, 7, 6, 5}),
        keno(21, 1, 2020, {30, 31, 32, 33}, {0, 0, 0, 0, 0}),
    };

    void SetUp() override {
        m.home = dir.path();
        writeDraws(m.kenoPath(), history);
        ASSERT_TRUE(m.setBrowseDate(dateValue(2020, 1, 20)));
        ASSERT_TRUE(m.setStatsStart(dateValue(2019, 1, 20)));
        m.listener = [this](unsigned what) { changes |= what; };
    }
};

} // namespace

TEST_F(Commands, AStartAfterTheEndMovesThePickerAYearBack) {
    ASSERT_TRUE(m.setStatsStart(dateValue(2021, 2, 1) + 0.5));
    ASSERT_TRUE(stats.showNumbers());
    EXPECT_EQ(m.statsStart, dateValue(2019, 1, 20));
    EXPECT_EQ(m.workDate, dateValue(2019, 1, 20));
    EXPECT_TRUE(changes & ChangeDates);
    EXPECT_TRUE(changes & ChangeChart1);
    // 20.01.2019 (the new start day), 01.06.2019 and 20.01.2020 (the end) count.
    EXPECT_EQ(m.numberChart.caption.substr(0, 36), "Zahlenverteilung     Ziehungen: 3   ");
    EXPECT_EQ(ys(m.numberChart, 5), 1);
    EXPECT_EQ(ys(m.numberChart, 1), 0); // only drawn on 19.01.2019, before the new start
}

TEST_F(Commands, EachCommandLeavesItsChartPageAndDates) {
    using Run = std::function<bool()>;
    struct Case {
        const char* name;
        Run run;
        bool chart2;
        bool toDiagramm;
        bool setsDfb;
        const char* captionStart;
    } cases[] = {
        {"showNumbers", [&] { return stats.showNumbers(); }, false, false, false, "Zahlenverteilung     Ziehungen: 3 "},
        {"showCrossSums", [&] { return stats.showCrossSums(); }, false, false, true,
         "Quersummenverteilung     Ziehungen: 2 "},
        {"showOverdue", [&] { return stats.showOverdue(); }, false, true, true, "Welche Zahl"},
        {"showPairs", [&] { return stats.showPairs(); }, false, true, false, "Bei 2 Ziehungen wurden "},
        {"showTriples", [&] { return stats.showTriples(); }, false, true, true, "Bei 2 Ziehungen wurden "},
        {"showQuads", [&] { return stats.showQuads(); }, false, true, true, "Bei 2 Ziehungen wurden "},
        {"showTipDistribution",
         [&] {
             stats.showTipDistribution();
             return true;
         },
         false, true, false, "Zahlenverteilung des Tippes"},
        {"showPlus5Digits(6)", [&] { return stats.showPlus5Digits(6); }, true, false, false,
         "Zahlenverteilung Über alle Position   Ziehungen: 3 "},
        {"showPlus5Sums", [&] { return stats.showPlus5Sums(); }, true, false, true,
         "Quersummenverteilung     Ziehungen: 2 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m.windowEnd = 0;
        m.pageRequest.clear();
        m.numberChart = ChartData{};
        m.plus5Chart = ChartData{};
        changes = 0;
        ASSERT_TRUE(c.run());
        const ChartData& chart = c.chart2 ? m.plus5Chart : m.numberChart;
        EXPECT_EQ(chart.caption.rfind(c.captionStart, 0), 0u) << chart.caption;
        EXPECT_TRUE((c.chart2 ? m.numberChart : m.plus5Chart).points.empty()) << "the other chart stays as it was";
        EXPECT_TRUE(changes & (c.chart2 ? ChangeChart2 : ChangeChart1));
        EXPECT_EQ(m.pageRequest, c.toDiagramm ? "Diagramm" : "");
        EXPECT_EQ(bool(changes & ChangePage), c.toDiagramm);
        EXPECT_EQ(m.windowEnd, c.setsDfb ? dateValue(2020, 1, 20) : 0);
    }
}

TEST_F(Commands, GroupSearchesIgnoreTheKenoTypeAndEndOnTheNewestDraw) {
    const auto zahlBefore = m.drawNumbers;
    m.num(Num::KenoType).set(2); // "Zahlen pro Tipp": two numbers, shorter than a quad
    ASSERT_TRUE(stats.showQuads());
    // 01.06.2019 holds 10-13 and the padding 51-66, 20.01.2020 holds 20-23 and 51-66.
    EXPECT_EQ(ys(m.numberChart, 10), 1);
    EXPECT_EQ(ys(m.numberChart, 20), 1);
    EXPECT_EQ(ys(m.numberChart, 51), 2);
    const ChartData withTwo = m.numberChart;
    m.num(Num::KenoType).set(10);
    ASSERT_TRUE(stats.showQuads());
    EXPECT_EQ(m.numberChart, withTwo);

    EXPECT_NE(m.drawNumbers, zahlBefore);
    for (size_t k = 0; k < 20; ++k) EXPECT_EQ(m.drawNumbers[k + 1], history[3].zahl[k]) << k;
    EXPECT_EQ(m.drawDate, 0) << "only the numbers of the register move";
}

TEST_F(Commands, ValueMarksStayHiddenOnceTheNumberChartHidThem) {
    ASSERT_TRUE(m.numberChart.marksVisible);
    ASSERT_TRUE(stats.showCrossSums());
    EXPECT_TRUE(m.numberChart.marksVisible) << "the cross sums do not touch the marks";
    ASSERT_TRUE(stats.showNumbers());
    EXPECT_FALSE(m.numberChart.marksVisible);
    for (auto run : {&StatsController::showCrossSums, &StatsController::showOverdue, &StatsController::showPairs}) {
        ASSERT_TRUE((stats.*run)());
        EXPECT_FALSE(m.numberChart.marksVisible);
    }
    ASSERT_TRUE(stats.showPlus5Digits(1));
    ASSERT_TRUE(stats.showPlus5Sums());
    EXPECT_FALSE(m.plus5Chart.marksVisible);
}

TEST_F(Commands, VerteilungCountsTheWayRadioGroup1Says) {
    stats.plus5Mode = 1;
    ASSERT_TRUE(stats.showPlus5Digits(5));
    // rightmost digits 2, 7, 5 in this order: 5 is newest (1), 7 one draw before (2), unseen 3
    EXPECT_EQ(ys(m.plus5Chart, 5), 1);
    EXPECT_EQ(ys(m.plus5Chart, 7), 2);
    EXPECT_EQ(ys(m.plus5Chart, 2), 3);
    EXPECT_EQ(ys(m.plus5Chart, 0), 3);
    EXPECT_EQ(m.plus5Chart.caption, "Zahlenverteilung Einer-Position   Ziehungen: 3    Quersumme: 5");

    const ChartData before = m.plus5Chart;
    EXPECT_FALSE(stats.showPlus5Digits(0));
    EXPECT_FALSE(stats.showPlus5Digits(7));
    EXPECT_EQ(m.plus5Chart, before);
}

TEST_F(Commands, MissingDrawsKeepTheChartAndAreToldUnlessQuiet) {
    ASSERT_TRUE(stats.showNumbers());
    const ChartData shown = m.numberChart;
    std::filesystem::remove(m.kenoPath());
    EXPECT_FALSE(stats.showCrossSums());
    EXPECT_FALSE(stats.showTriples());
    EXPECT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(m.numberChart, shown);
    EXPECT_FALSE(stats.showNumbers(false));
    EXPECT_FALSE(stats.showPlus5Digits(6, false));
    EXPECT_EQ(prompter.messages.size(), 2u) << "start-up and activation stay quiet";
}

TEST_F(Commands, ABrokenFileIsCountedWithoutItsBrokenRecords) {
    DrawRecord bad = keno(2, 2, 2019, {70, 71, 255, 0, 200}, {9, 10, 255, 0, 0});
    history.insert(history.begin() + 2, bad);
    writeDraws(m.kenoPath(), history);
    { std::ofstream(m.kenoPath(), std::ios::app | std::ios::binary) << "tail"; }
    for (auto run : {&StatsController::showCrossSums, &StatsController::showOverdue, &StatsController::showPairs,
                     &StatsController::showTriples, &StatsController::showQuads, &StatsController::showPlus5Sums})
        ASSERT_TRUE((stats.*run)());
    ASSERT_TRUE(stats.showNumbers());
    EXPECT_EQ(m.numberChart.caption.substr(0, 33), "Zahlenverteilung     Ziehungen: 3");
    EXPECT_EQ(ys(m.numberChart, 70), 0);
    stats.plus5Mode = 1;
    ASSERT_TRUE(stats.showPlus5Digits(6));
    EXPECT_EQ(m.plus5Chart.caption.rfind("Zahlenverteilung Über alle Position   Ziehungen: 3 ", 0), 0u)
        << m.plus5Chart.caption;
}

TEST_F(Commands, TipDistributionReadsTheTipList) {
    m.tipLines = {"03,17,22,45,61", "03,04", "", "70"};
    stats.showTipDistribution();
    EXPECT_EQ(ys(m.numberChart, 3), 2);
    EXPECT_EQ(ys(m.numberChart, 70), 1);
    EXPECT_EQ(total(m.numberChart), 8);
    EXPECT_EQ(m.numberChart.axisMax, 2);
}
