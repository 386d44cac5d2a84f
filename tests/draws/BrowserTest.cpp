#include <gtest/gtest.h>

#include "app/Model.h"
#include "app/Services.h"
#include "app/Session.h"
#include "app/draws/Browser.h"
#include "platform/SystemClock.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

struct BrowserFixture : ::testing::Test, WithSession {
    BrowserFixture() : WithSession(dateValue(2020, 2, 1)) {}
    TempDir dir;

    void SetUp() override {
        m.home = dir.path();
        m.hitCheckOn = true;
        writeDraws(dir.file("Keno.dat"),
                   {draw(2020, 1, 6, 1), draw(2020, 1, 8, 11, {0, 0, 7, 1, 2}), draw(2020, 1, 10, 21)});
    }
    void seek(int y, int mo, int d) {
        m.browseDate = dateValue(y, mo, d);
        browser.seekDate();
    }
};

} // namespace

TEST_F(BrowserFixture, SeekFindsTheFirstDrawOnOrAfterTheDate) {
    seek(2020, 1, 7);
    EXPECT_EQ(m.drawIndex, 1);
    EXPECT_EQ(m.drawDate, dateValue(2020, 1, 8));
    EXPECT_EQ(m.browseDate, dateValue(2020, 1, 8));
    EXPECT_EQ(m.workDate, dateValue(2020, 1, 7));
    EXPECT_EQ(m.drawText,
              "Mi 08.01.20    11  12  13  14  15  16  17  18  19  20  21  22  23  24  25  26  27  28  29  30");
    EXPECT_EQ(m.drawTextMain, m.drawText);
    EXPECT_EQ(m.crossSumText, "Quersumme: 410");
    EXPECT_EQ(m.plus5Text, "Mi 08.01.20    0  0  7  1  2");
    EXPECT_EQ(m.plus5SumText, "QS: 10");
    EXPECT_EQ(m.drawNumbers[1], 11);
    EXPECT_EQ(m.drawPlus5[3], 7);

    seek(2021, 1, 1); // after the last draw: the last one
    EXPECT_EQ(m.drawIndex, 2);
    EXPECT_EQ(m.drawDate, dateValue(2020, 1, 10));
}

TEST_F(BrowserFixture, SeekOnTheFirstRecordUsesThreeBlanks) {
    seek(2020, 1, 1);
    EXPECT_EQ(m.drawIndex, 0);
    EXPECT_EQ(m.drawTextMain.substr(0, 17), "Mo 06.01.20     1");
    EXPECT_EQ(m.plus5Text, "Mo 06.01.20    1  2  3  4  5"); // the Plus 5 line keeps two
}

TEST_F(BrowserFixture, PreviousAndNextStopAtTheEnds) {
    seek(2020, 1, 1);
    browser.previous();
    EXPECT_EQ(m.drawIndex, 0);
    EXPECT_EQ(m.drawDate, dateValue(2020, 1, 6));
    EXPECT_EQ(m.drawTextMain.substr(0, 15), "Mo 06.01.20    "); // two blanks now
    browser.next();
    EXPECT_EQ(m.drawDate, dateValue(2020, 1, 8));
    browser.next();
    browser.next();
    EXPECT_EQ(m.drawIndex, 2);
    EXPECT_EQ(m.drawDate, dateValue(2020, 1, 10));
    EXPECT_EQ(m.workDate, m.drawDate);
}

TEST_F(BrowserFixture, NextPullsTheStatisticsStartBackBeforeTheDraw) {
    seek(2020, 1, 6);
    m.statsStart = dateValue(2020, 5, 1);
    browser.next();
    EXPECT_EQ(m.statsStart, dateValue(2020, 1, 6) - 365);
}

TEST_F(BrowserFixture, EveryStepEndsWithTheHitCheck) {
    m.tipLines = {"21,22,40", "01,02"};
    seek(2020, 1, 8);
    EXPECT_EQ(m.hits, (std::vector<uint8_t>{2, 0}));
    browser.previous();
    EXPECT_EQ(m.hits, (std::vector<uint8_t>{0, 2}));
    EXPECT_EQ(m.status[0], "Max-Gewinn 2er");
}

TEST_F(BrowserFixture, MissingFileAndEmptyFile) {
    std::filesystem::remove(dir.file("Keno.dat"));
    seek(2020, 1, 8);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0], "Lesen Sie zuerst die Daten der Ziehungen ein");
    browser.next(); // no crash, a German message instead of a run-time error
    EXPECT_EQ(prompter.messages.size(), 2u);

    writeDraws(dir.file("Keno.dat"), {});
    m.drawDate = 0;
    seek(2020, 1, 8);
    EXPECT_EQ(m.drawIndex, 0);
    EXPECT_EQ(m.drawDate, 0);
    browser.previous();
    browser.next();
    EXPECT_EQ(m.drawDate, 0);
}

TEST_F(BrowserFixture, DeleteShowsTheNextLaterDraw) {
    seek(2020, 1, 8);
    browser.deleteCurrent();
    EXPECT_EQ(readDraws(dir.file("Keno.dat")).size(), 2u);
    EXPECT_EQ(m.drawDate, dateValue(2020, 1, 10));
    EXPECT_EQ(m.drawIndex, 1);
    browser.deleteCurrent(); // the last one: the new last draw becomes current
    EXPECT_EQ(m.drawDate, dateValue(2020, 1, 6));
}

TEST_F(BrowserFixture, ABrokenRecordIsNeverCurrentWithoutAWord) {
    DrawRecord noDate = draw(2020, 1, 7, 31);
    noDate.datum = -1;
    DrawRecord badNumbers = draw(2020, 1, 9, 41);
    badNumbers.zahl[0] = 99;
    writeDraws(dir.file("Keno.dat"), {draw(2020, 1, 6, 1), noDate, draw(2020, 1, 8, 11), badNumbers, DrawRecord{}});
    // Seeking past the end: the zeros after a crash are no draw; the last readable date is current.
    seek(2021, 1, 1);
    EXPECT_EQ(m.drawIndex, 3);
    EXPECT_EQ(m.drawDate, dateValue(2020, 1, 9));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_NE(prompter.messages[0].find("Ziehung Nr. 4 in Keno.dat (09.01.2020) ist beschädigt"), std::string::npos)
        << prompter.messages[0];
    // Stepping passes over the record without a date.
    browser.previous();
    EXPECT_EQ(m.drawDate, dateValue(2020, 1, 8));
    browser.previous();
    EXPECT_EQ(m.drawIndex, 0);
    EXPECT_EQ(m.drawDate, dateValue(2020, 1, 6));
    browser.next();
    EXPECT_EQ(m.drawIndex, 2);
    browser.next();
    browser.next(); // only the zeros are left: the broken draw stays current, reported again
    EXPECT_EQ(m.drawIndex, 3);
    EXPECT_EQ(prompter.messages.size(), 3u);

    // "Löschen" on it removes that date and nothing else.
    EXPECT_TRUE(browser.deleteCurrent());
    const auto left = readDraws(dir.file("Keno.dat"));
    ASSERT_EQ(left.size(), 4u);
    EXPECT_EQ(left[1].datum, -1);
    EXPECT_EQ(left[3], DrawRecord{});
    EXPECT_EQ(m.drawDate, dateValue(2020, 1, 8));
}
