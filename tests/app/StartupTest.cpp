#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/AppController.h"
#include "app/Model.h"
#include "app/Session.h"
#include "app/SettingsTable.h"
#include "base/Text.h"
#include "platform/SystemClock.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

struct StartupFixture : ::testing::Test, WithSession {
    StartupFixture() : WithSession(dateValue(2026, 12, 10) + 0.25) {}
    TempDir dir;
    AppController& app = session.app;
};

} // namespace

TEST_F(StartupFixture, FirstStartSeedsTheRealHistoryAndShowsTheLatestDraw) {
    app.start(dir.path(), 573);
    EXPECT_TRUE(app.problems().empty()) << app.problemReport();
    EXPECT_EQ(std::filesystem::file_size(dir.file("Keno.dat")), 7666 * kRecordSize);
    EXPECT_EQ(m.drawDate, dateValue(2025, 12, 29));
    EXPECT_EQ(m.drawIndex, 7665);
    EXPECT_EQ(m.drawTextMain,
              "Mo 29.12.25    6  28  4  17  54  49  51  58  27  63  23  43  5  12  16  45  56  10  50  35");
    EXPECT_EQ(m.plus5SumText, "QS: -"); // the bundled history carries no Plus 5 numbers
    EXPECT_EQ(m.browseDate, dateValue(2025, 12, 29));
    EXPECT_EQ(m.workDate, dateValue(2026, 12, 10)); // the seek's target
    EXPECT_EQ(m.attemptLimit, 100000);
    EXPECT_TRUE(m.hitCheckOn);
    EXPECT_EQ(m.winSoundPath, dir.path() + "yippee.wav");
    EXPECT_TRUE(m.entryEnabled);

    const auto first = readDraws(dir.file("Keno.dat")).front();
    EXPECT_EQ(first.datum, dateValue(2004, 2, 2));
    EXPECT_FALSE(first.hasPlus5());
    EXPECT_EQ(first.zahl[0], 4);

    EXPECT_TRUE(app.close());
    EXPECT_TRUE(store.keyExists(kSettingsKey));
    EXPECT_EQ(store.get(kSettingsKey, "UpDown7"), RegValue::ofInt(100));
}

TEST_F(StartupFixture, TipListComesBackAndLottoSplIsLeftAlone) {
    const std::string spl(344, '\x01');
    ASSERT_TRUE(writeFileAtomic(dir.file("lotto.spl"), spl));
    ASSERT_TRUE(writeFileAtomic(dir.file("tipps.txt"), "01,02,03\r\nkaputt\xE4\r\n\r\n04,05\n06,07\r08,09"));
    app.start(dir.path(), 573);
    EXPECT_EQ(m.tipLines, (std::vector<std::string>{"01,02,03", "kaputt\xC3\xA4", "04,05", "06,07", "08,09"}));
    ASSERT_EQ(app.problems().size(), 1u);
    EXPECT_NE(app.problems()[0].find("1 Zeile(n) sind keine gültigen Tipps"), std::string::npos);
    EXPECT_EQ(m.hits.size(), 5u);

    ASSERT_TRUE(app.close());
    std::string written;
    ASSERT_TRUE(readFile(dir.file("tipps.txt"), written));
    EXPECT_EQ(written, "01,02,03\r\nkaputt\xE4\r\n04,05\r\n06,07\r\n08,09\r\n");
    std::string splAfter;
    ASSERT_TRUE(readFile(dir.file("lotto.spl"), splAfter));
    EXPECT_EQ(splAfter, spl);
}

TEST_F(StartupFixture, RestoredValuesAndTheStartDateAdjustment) {
    store.set(kSettingsKey, "UpDown7", RegValue::ofInt(7));
    store.set(kSettingsKey, "DateTimePicker2", RegValue::ofDouble(dateValue(2027, 1, 1)));
    store.set(kSettingsKey, "ProxyPortEdit", RegValue::ofString("8080"));
    app.start(dir.path(), 573);
    EXPECT_EQ(m.attemptLimit, 7000);
    EXPECT_EQ(m.proxyPort, "80"); // no proxy host: the port goes back to 80
    EXPECT_EQ(m.statsStart, dateValue(2026, 12, 10) - 365);
}

TEST_F(StartupFixture, BrokenFilesAreReportedNotFatal) {
    auto bad = draw(2020, 1, 2);
    bad.zahl[0] = 0;
    writeDraws(dir.file("Keno.dat"), {draw(2020, 1, 3), bad});
    { std::ofstream(dir.file("Keno.dat"), std::ios::app | std::ios::binary) << "abc"; }
    app.start(dir.path(), 573);
    EXPECT_EQ(app.problems().size(), 3u) << app.problemReport();
    EXPECT_NE(app.problemReport().find("Beim Start konnte nicht alles verwendet werden"), std::string::npos);
    EXPECT_EQ(m.drawDate, dateValue(2020, 1, 2)); // the last record, as the seek defines it
    EXPECT_EQ(std::filesystem::file_size(dir.file("Keno.dat")), 2 * kRecordSize + 3); // nothing dropped
}

TEST_F(StartupFixture, AnUnusableFolderIsReported) {
    const std::string gone = dir.file("gibt/es/nicht");
    app.start(gone, 573);
    EXPECT_GE(app.problems().size(), 2u) << app.problemReport();
    app.activate();
    app.activate(); // a missing Keno.dat is said once, not at every activation
    int missing = 0;
    for (const auto& msg : prompter.messages) missing += msg == "Lesen Sie zuerst die Daten der Ziehungen ein";
    EXPECT_EQ(missing, 1);
    EXPECT_FALSE(app.close());
}

TEST_F(StartupFixture, TheTipListIsSavedEvenWhenTheSettingsAreNot) {
    app.start(dir.path(), 573);
    m.tipLines = {"01,02"};
    store.failFlush = true;
    EXPECT_FALSE(app.close());
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_NE(prompter.messages[0].find("Schreiben verweigert"), std::string::npos);
    std::string written;
    ASSERT_TRUE(readFile(dir.file("tipps.txt"), written));
    EXPECT_EQ(written, "01,02\r\n");
}

TEST_F(StartupFixture, ActivationPutsTheStoredStakeIntoTheSelector) {
    store.set(kSettingsKey, "System", RegValue::ofInt(2));
    app.start(dir.path(), 573);
    m.stakeItem = 0;
    m.browseDate = dateValue(2025, 12, 24);
    app.activate();
    EXPECT_EQ(m.stakeItem, 2);
    EXPECT_EQ(m.drawDate, dateValue(2025, 12, 24));
}
