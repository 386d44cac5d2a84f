#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "app/AppController.h"
#include "app/Model.h"
#include "app/Session.h"
#include "app/settings/ControlCatalogue.h"
#include "app/settings/SettingsPersistence.h"
#include "app/settings/SettingsSchema.h"
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
    const std::string tips = "01,02,03\r\nkaputt\xE4\r\n\r\n04,05\n06,07\r08,09";
    ASSERT_TRUE(writeFileAtomic(dir.file("tipps.txt"), tips));
    app.start(dir.path(), 573);
    EXPECT_EQ(m.tipLines, (std::vector<std::string>{"01,02,03", "kaputt\xC3\xA4", "04,05", "06,07", "08,09"}));
    ASSERT_EQ(app.problems().size(), 1u);
    EXPECT_NE(app.problems()[0].find("1 Zeile(n) sind keine gültigen Tipps"), std::string::npos);
    EXPECT_EQ(m.hits.size(), 5u);

    ASSERT_TRUE(app.close());
    std::string written;
    ASSERT_TRUE(readFile(dir.file("tipps.txt"), written));
    EXPECT_EQ(written, tips); // the list did not change: the file is not written
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

TEST(TipFile, LoadAndSaveKeepEveryByteTheUserDidNotTouch) {
    // Every byte value but the line ends, then what the code page leaves unassigned, UTF-8 from another
    // program, NUL, blanks only, an empty line.
    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n') everyByte += static_cast<char>(b);
    const std::string file = "01,02\r\n" + everyByte +
                             "\r\n\x81\x8D\x8F\x90\x9D\r\nGr\xC3\xBC\xC3\x9F \xE2\x80\x9D\r\n" +
                             std::string("A\0B", 3) + "\r\n   \r\n\r\n03,04\r\n";
    const std::string kept = "01,02\r\n" + everyByte +
                             "\r\n\x81\x8D\x8F\x90\x9D\r\nGr\xC3\xBC\xC3\x9F \xE2\x80\x9D\r\n" +
                             std::string("A\0B", 3) + "\r\n03,04\r\n";
    const struct {
        const char* what;
        std::function<void(Model&)> edit;
        bool rewritten;
        std::string after;
    } cases[] = {
        {"nothing changed", [](Model&) {}, false, file},
        {"a tip added", [](Model& m) { m.tipLines.push_back("10,20"); }, true, kept + "10,20\r\n"},
        {"the first tip deleted", [](Model& m) { m.tipLines.erase(m.tipLines.begin()); }, true, kept.substr(7)},
    };
    for (const auto& c : cases) {
        WithSession w(dateValue(2026, 12, 10) + 0.25);
        TempDir dir;
        ASSERT_TRUE(writeFileAtomic(dir.file("tipps.txt"), file));
        const ino_t before = inode(dir.file("tipps.txt"));
        w.session.app.start(dir.path(), 573);
        EXPECT_EQ(w.m.tipLines.size(), 6u) << c.what; // the hit check dropped the two blank lines
        c.edit(w.m);
        EXPECT_TRUE(w.session.app.close()) << c.what;
        EXPECT_EQ(contents(dir.file("tipps.txt")), c.after) << c.what;
        EXPECT_EQ(inode(dir.file("tipps.txt")) != before, c.rewritten) << c.what;
    }
}

TEST(TipFile, AnUnreadableTipListIsNeverOverwritten) {
    const std::string file = "01,02\r\n03,04\r\n";
    const struct {
        const char* what;
        bool addTip;
        int closeResult; // 1: the close reports success
    } cases[] = {
        {"the list left as it was", false, 1},
        {"tips added in the window", true, 0},
    };
    for (const auto& c : cases) {
        TempDir dir;
        ASSERT_TRUE(writeFileAtomic(dir.file("tipps.txt"), file));
        openToEveryone(dir.path());
        std::filesystem::permissions(dir.file("tipps.txt"), std::filesystem::perms::none);
        const int result = runUnprivileged([&] {
            WithSession w(dateValue(2026, 12, 10) + 0.25);
            w.session.app.start(dir.path(), 573);
            if (w.session.app.problemReport().find("tipps.txt kann nicht gelesen werden") == std::string::npos)
                return 10;
            if (!w.m.tipLines.empty()) return 11;
            if (c.addTip) w.m.tipLines.push_back("10,20");
            const bool closed = w.session.app.close();
            if (w.prompter.messages.size() != 1 ||
                w.prompter.messages[0].find("bleibt unverändert") == std::string::npos)
                return 12;
            return closed ? 1 : 0;
        });
        if (result == kNoUnprivilegedUser) GTEST_SKIP() << "kein Benutzer ohne Root-Rechte verfügbar";
        EXPECT_EQ(result, c.closeResult) << c.what;
        std::filesystem::permissions(dir.file("tipps.txt"), std::filesystem::perms::owner_read);
        EXPECT_EQ(contents(dir.file("tipps.txt")), file) << c.what;
    }
}
