// The statistics commands on the model: window settling, what each leaves behind, failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "app/Model.h"
#include "platform/Seams.h"
#include "stats/StatsController.h"
#include "tests/stats/StatsFixture.h"

using namespace zf;
using namespace zf::statstest;

namespace {

class RecordingPrompter : public Prompter {
public:
    void message(const std::string& text) override { messages.push_back(text); }
    bool question(const std::string&) override { return true; }
    std::optional<std::string> input(const std::string&, const std::string&, const std::string& p) override { return p; }
    std::vector<std::string> messages;
};

struct Commands : ::testing::Test {
    TempDir dir;
    Model m;
    RecordingPrompter prompter;
    StatsController stats{m, prompter};
    unsigned changes = 0;

    // 19.01.2019 .. 21.01.2020; the browser stands on 20.01.2020.
    std::vector<DrawRecord> history = {
        keno(19, 1, 2019, {1, 2, 3, 4}, {1, 1, 1, 1, 1}),
        keno(20, 1, 2019, {5, 6, 7, 8}, {2, 2, 2, 2, 2}),
        keno(1, 6, 2019, {10, 11, 12, 13}, {3, 4, 5, 6, 7}),
        keno(20, 1, 2020, {20, 21, 22, 23}, {9, 8, 7, 6, 5}),
        keno(21, 1, 2020, {30, 31, 32, 33}, {0, 0, 0, 0, 0}),
    };

    void SetUp() override {
        m.Home = dir.path();
        writeDraws(m.kenoPath(), history);
        ASSERT_TRUE(m.setDateTimePicker1(dateValue(2020, 1, 20)));
        ASSERT_TRUE(m.setDateTimePicker2(dateValue(2019, 1, 20)));
        m.listener = [this](unsigned what) { changes |= what; };
    }
};

} // namespace

TEST_F(Commands, AStartAfterTheEndMovesThePickerAYearBack) {
    ASSERT_TRUE(m.setDateTimePicker2(dateValue(2021, 2, 1) + 0.5));
    ASSERT_TRUE(stats.SpeedButton2Click());
    EXPECT_EQ(m.DateTimePicker2, dateValue(2019, 1, 20));
    EXPECT_EQ(m.aktDatum, dateValue(2019, 1, 20));
    EXPECT_TRUE(changes & ChangeDates);
    EXPECT_TRUE(changes & ChangeChart1);
    // 20.01.2019 (the new start day), 01.06.2019 and 20.01.2020 (the end) count.
    EXPECT_EQ(m.Series2.caption.substr(0, 36), "Zahlenverteilung     Ziehungen: 3   ");
    EXPECT_EQ(ys(m.Series2, 5), 1);
    EXPECT_EQ(ys(m.Series2, 1), 0); // only drawn on 19.01.2019, before the new start
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
        {"SpeedButton2Click", [&] { return stats.SpeedButton2Click(); }, false, false, false, "Zahlenverteilung     Ziehungen: 3 "},
        {"SpeedButton9Click", [&] { return stats.SpeedButton9Click(); }, false, false, true, "Quersummenverteilung     Ziehungen: 2 "},
        {"Button5Click", [&] { return stats.Button5Click(); }, false, true, true, "Welche Zahl"},
        {"Button2Click", [&] { return stats.Button2Click(); }, false, true, false, "Bei 2 Ziehungen wurden "},
        {"Button3Click", [&] { return stats.Button3Click(); }, false, true, true, "Bei 2 Ziehungen wurden "},
        {"Button4Click", [&] { return stats.Button4Click(); }, false, true, true, "Bei 2 Ziehungen wurden "},
        {"Button6Click", [&] { stats.Button6Click(); return true; }, false, true, false, "Zahlenverteilung des Tippes"},
        {"Verteilung(6)", [&] { return stats.Verteilung(6); }, true, false, false, "Zahlenverteilung Über alle Position   Ziehungen: 3 "},
        {"SpeedButton40Click", [&] { return stats.SpeedButton40Click(); }, true, false, true, "Quersummenverteilung     Ziehungen: 2 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m.dfb = 0;
        m.pageRequest.clear();
        m.Series2 = ChartData{};
        m.Series3 = ChartData{};
        changes = 0;
        ASSERT_TRUE(c.run());
        const ChartData& chart = c.chart2 ? m.Series3 : m.Series2;
        EXPECT_EQ(chart.caption.rfind(c.captionStart, 0), 0u) << chart.caption;
        EXPECT_TRUE((c.chart2 ? m.Series2 : m.Series3).points.empty()) << "the other chart stays as it was";
        EXPECT_TRUE(changes & (c.chart2 ? ChangeChart2 : ChangeChart1));
        EXPECT_EQ(m.pageRequest, c.toDiagramm ? "Diagramm" : "");
        EXPECT_EQ(bool(changes & ChangePage), c.toDiagramm);
        EXPECT_EQ(m.dfb, c.setsDfb ? dateValue(2020, 1, 20) : 0);
    }
}

TEST_F(Commands, GroupSearchesIgnoreTheKenoTypeAndEndOnTheNewestDraw) {
    const auto zahlBefore = m.Zahl;
    m.UpDown[18].set(2); // "Zahlen pro Tipp": two numbers, shorter than a quad
    ASSERT_TRUE(stats.Button4Click());
    // 01.06.2019 holds 10-13 and the padding 51-66, 20.01.2020 holds 20-23 and 51-66.
    EXPECT_EQ(ys(m.Series2, 10), 1);
    EXPECT_EQ(ys(m.Series2, 20), 1);
    EXPECT_EQ(ys(m.Series2, 51), 2);
    const ChartData withTwo = m.Series2;
    m.UpDown[18].set(10);
    ASSERT_TRUE(stats.Button4Click());
    EXPECT_EQ(m.Series2, withTwo);

    EXPECT_NE(m.Zahl, zahlBefore);
    for (size_t k = 0; k < 20; ++k) EXPECT_EQ(m.Zahl[k + 1], history[3].zahl[k]) << k;
    EXPECT_EQ(m.Datum1, 0) << "only the numbers of the register move";
}

TEST_F(Commands, ValueMarksStayHiddenOnceTheNumberChartHidThem) {
    ASSERT_TRUE(m.Series2.marksVisible);
    ASSERT_TRUE(stats.SpeedButton9Click());
    EXPECT_TRUE(m.Series2.marksVisible) << "the cross sums do not touch the marks";
    ASSERT_TRUE(stats.SpeedButton2Click());
    EXPECT_FALSE(m.Series2.marksVisible);
    for (auto run : {&StatsController::SpeedButton9Click, &StatsController::Button5Click,
                     &StatsController::Button2Click}) {
        ASSERT_TRUE((stats.*run)());
        EXPECT_FALSE(m.Series2.marksVisible);
    }
    ASSERT_TRUE(stats.Verteilung(1));
    ASSERT_TRUE(stats.SpeedButton40Click());
    EXPECT_FALSE(m.Series3.marksVisible);
}

TEST_F(Commands, VerteilungCountsTheWayRadioGroup1Says) {
    stats.RadioGroup1 = 1;
    ASSERT_TRUE(stats.Verteilung(5));
    // rightmost digits 2, 7, 5 in this order: 5 is newest (1), 7 one draw before (2), unseen 3
    EXPECT_EQ(ys(m.Series3, 5), 1);
    EXPECT_EQ(ys(m.Series3, 7), 2);
    EXPECT_EQ(ys(m.Series3, 2), 3);
    EXPECT_EQ(ys(m.Series3, 0), 3);
    EXPECT_EQ(m.Series3.caption, "Zahlenverteilung Einer-Position   Ziehungen: 3    Quersumme: 5");

    const ChartData before = m.Series3;
    EXPECT_FALSE(stats.Verteilung(0));
    EXPECT_FALSE(stats.Verteilung(7));
    EXPECT_EQ(m.Series3, before);
}

TEST_F(Commands, MissingDrawsKeepTheChartAndAreToldUnlessQuiet) {
    ASSERT_TRUE(stats.SpeedButton2Click());
    const ChartData shown = m.Series2;
    std::filesystem::remove(m.kenoPath());
    EXPECT_FALSE(stats.SpeedButton9Click());
    EXPECT_FALSE(stats.Button3Click());
    EXPECT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(m.Series2, shown);
    EXPECT_FALSE(stats.SpeedButton2Click(false));
    EXPECT_FALSE(stats.Verteilung(6, false));
    EXPECT_EQ(prompter.messages.size(), 2u) << "start-up and activation stay quiet";
}

TEST_F(Commands, ABrokenFileIsCountedWithoutItsBrokenRecords) {
    DrawRecord bad = keno(2, 2, 2019, {70, 71, 255, 0, 200}, {9, 10, 255, 0, 0});
    history.insert(history.begin() + 2, bad);
    writeDraws(m.kenoPath(), history);
    { std::ofstream(m.kenoPath(), std::ios::app | std::ios::binary) << "tail"; }
    for (auto run : {&StatsController::SpeedButton9Click, &StatsController::Button5Click,
                     &StatsController::Button2Click, &StatsController::Button3Click,
                     &StatsController::Button4Click, &StatsController::SpeedButton40Click})
        ASSERT_TRUE((stats.*run)());
    ASSERT_TRUE(stats.SpeedButton2Click());
    EXPECT_EQ(m.Series2.caption.substr(0, 33), "Zahlenverteilung     Ziehungen: 3");
    EXPECT_EQ(ys(m.Series2, 70), 0);
    stats.RadioGroup1 = 1;
    ASSERT_TRUE(stats.Verteilung(6));
    EXPECT_EQ(m.Series3.caption.rfind("Zahlenverteilung Über alle Position   Ziehungen: 3 ", 0), 0u) << m.Series3.caption;
}

TEST_F(Commands, TipDistributionReadsTheTipList) {
    m.ListBox1 = {"03,17,22,45,61", "03,04", "", "70"};
    stats.Button6Click();
    EXPECT_EQ(ys(m.Series2, 3), 2);
    EXPECT_EQ(ys(m.Series2, 70), 1);
    EXPECT_EQ(total(m.Series2), 8);
    EXPECT_EQ(m.Series2.axisMax, 2);
}
