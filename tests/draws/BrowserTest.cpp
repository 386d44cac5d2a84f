#include <gtest/gtest.h>

#include "app/Model.h"
#include "app/Services.h"
#include "draws/Browser.h"
#include "platform/SystemClock.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

struct BrowserFixture : ::testing::Test {
    TempDir dir;
    Model m;
    ScriptedPrompter prompter;
    RecordingShell shell;
    RecordingSound sound;
    FixedClock clock{dateValue(2020, 2, 1)};
    MemorySettingsStore store;
    Services services{prompter, shell, sound, clock, store};
    Browser browser{m, services};

    void SetUp() override {
        m.Home = dir.path();
        m.sortieren = true;
        writeDraws(dir.file("Keno.dat"), {draw(2020, 1, 6, 1), draw(2020, 1, 8, 11, {0, 0, 7, 1, 2}),
                                          draw(2020, 1, 10, 21)});
    }
    void seek(int y, int mo, int d) {
        m.DateTimePicker1 = dateValue(y, mo, d);
        browser.SpeedButton5Click();
    }
};

} // namespace

TEST_F(BrowserFixture, SeekFindsTheFirstDrawOnOrAfterTheDate) {
    seek(2020, 1, 7);
    EXPECT_EQ(m.Position, 1);
    EXPECT_EQ(m.Datum1, dateValue(2020, 1, 8));
    EXPECT_EQ(m.DateTimePicker1, dateValue(2020, 1, 8));
    EXPECT_EQ(m.aktDatum, dateValue(2020, 1, 7));
    EXPECT_EQ(m.Label29, "Mi 08.01.20    11  12  13  14  15  16  17  18  19  20  21  22  23  24  25  26  27  28  29  30");
    EXPECT_EQ(m.Label35, m.Label29);
    EXPECT_EQ(m.Label13, "Quersumme: 410");
    EXPECT_EQ(m.Label30, "Mi 08.01.20    0  0  7  1  2");
    EXPECT_EQ(m.Label31, "QS: 10");
    EXPECT_EQ(m.Zahl[1], 11);
    EXPECT_EQ(m.Zahl5[3], 7);

    seek(2021, 1, 1); // after the last draw: the last one
    EXPECT_EQ(m.Position, 2);
    EXPECT_EQ(m.Datum1, dateValue(2020, 1, 10));
}

TEST_F(BrowserFixture, SeekOnTheFirstRecordUsesThreeBlanks) {
    seek(2020, 1, 1);
    EXPECT_EQ(m.Position, 0);
    EXPECT_EQ(m.Label35.substr(0, 17), "Mo 06.01.20     1");
    EXPECT_EQ(m.Label30, "Mo 06.01.20    1  2  3  4  5"); // the Plus 5 line keeps two
}

TEST_F(BrowserFixture, PreviousAndNextStopAtTheEnds) {
    seek(2020, 1, 1);
    browser.SpeedButton6Click();
    EXPECT_EQ(m.Position, 0);
    EXPECT_EQ(m.Datum1, dateValue(2020, 1, 6));
    EXPECT_EQ(m.Label35.substr(0, 15), "Mo 06.01.20    "); // two blanks now
    browser.SpeedButton7Click();
    EXPECT_EQ(m.Datum1, dateValue(2020, 1, 8));
    browser.SpeedButton7Click();
    browser.SpeedButton7Click();
    EXPECT_EQ(m.Position, 2);
    EXPECT_EQ(m.Datum1, dateValue(2020, 1, 10));
    EXPECT_EQ(m.aktDatum, m.Datum1);
}

TEST_F(BrowserFixture, NextPullsTheStatisticsStartBackBeforeTheDraw) {
    seek(2020, 1, 6);
    m.DateTimePicker2 = dateValue(2020, 5, 1);
    browser.SpeedButton7Click();
    EXPECT_EQ(m.DateTimePicker2, dateValue(2020, 1, 6) - 365);
}

TEST_F(BrowserFixture, EveryStepEndsWithTheHitCheck) {
    m.ListBox1 = {"21,22,40", "01,02"};
    seek(2020, 1, 8);
    EXPECT_EQ(m.ListBox2, (std::vector<uint8_t>{2, 0}));
    browser.SpeedButton6Click();
    EXPECT_EQ(m.ListBox2, (std::vector<uint8_t>{0, 2}));
    EXPECT_EQ(m.status[0], "Max-Gewinn 2er");
}

TEST_F(BrowserFixture, MissingFileAndEmptyFile) {
    std::filesystem::remove(dir.file("Keno.dat"));
    seek(2020, 1, 8);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0], "Lesen Sie zuerst die Daten der Ziehungen ein");
    browser.SpeedButton7Click(); // no crash, a German message instead of a run-time error
    EXPECT_EQ(prompter.messages.size(), 2u);

    writeDraws(dir.file("Keno.dat"), {});
    m.Datum1 = 0;
    seek(2020, 1, 8);
    EXPECT_EQ(m.Position, 0);
    EXPECT_EQ(m.Datum1, 0);
    browser.SpeedButton6Click();
    browser.SpeedButton7Click();
    EXPECT_EQ(m.Datum1, 0);
}

TEST_F(BrowserFixture, DeleteShowsTheNextLaterDraw) {
    seek(2020, 1, 8);
    browser.BitBtn4Click();
    EXPECT_EQ(readDraws(dir.file("Keno.dat")).size(), 2u);
    EXPECT_EQ(m.Datum1, dateValue(2020, 1, 10));
    EXPECT_EQ(m.Position, 1);
    browser.BitBtn4Click(); // the last one: the new last draw becomes current
    EXPECT_EQ(m.Datum1, dateValue(2020, 1, 6));
}
