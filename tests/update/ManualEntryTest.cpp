#include <gtest/gtest.h>

#include <cstdio>

#include "app/Model.h"
#include "app/Services.h"
#include "app/Session.h"
#include "app/draws/Browser.h"
#include "app/draws/ManualEntry.h"
#include "core/generator/NumberChoice.h"
#include "platform/SystemClock.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

const std::vector<int> kTwenty = {70, 3, 44, 12, 9, 1, 55, 23, 31, 68, 40, 17, 29, 50, 61, 5, 36, 48, 7, 66};

struct EntryFixture : ::testing::Test, WithSession {
    EntryFixture() : WithSession(dateValue(2020, 2, 1) + 0.4) {}
    TempDir dir;
    ManualEntry& entry = session.entry;
    std::vector<DrawRecord> before = {draw(2020, 1, 6, 1), draw(2020, 1, 8, 11), draw(2020, 1, 10, 21)};

    void SetUp() override {
        m.home = dir.path();
        m.hitCheckOn = true;
        writeDraws(dir.file("Keno.dat"), before);
        m.browseDate = dateValue(2020, 1, 1);
        browser.seekDate(); // the first draw is current
    }
    // An answer of the dialog: these numbers ticked on this date, then OK.
    static std::function<ModalResult(NumberChoice&)> tick(std::vector<int> numbers, double date,
                                                          std::array<int, 5> digits = {0, 0, 7, 1, 2}) {
        return [=](NumberChoice& f) {
            f.untickAll(BoxColour::Info);
            for (int n : numbers) f.ticked[static_cast<size_t>(n)] = true;
            f.entryDate = date;
            f.entryDigits = digits;
            return ModalResult::Ok;
        };
    }
    void expectDialogPutBack() {
        const NumberChoice& f = m.numberChoice;
        EXPECT_FALSE(f.entryVisible);
        EXPECT_TRUE(f.computeVisible);
        EXPECT_TRUE(f.saveListVisible);
        EXPECT_TRUE(f.loadListVisible);
        EXPECT_FALSE(f.randomVisible);
        EXPECT_EQ(f.caption, "Zahlen für Berechnung wählen");
        for (int k = 1; k <= 70; ++k) EXPECT_EQ(f.colour[static_cast<size_t>(k)], BoxColour::Info);
    }
};

} // namespace

TEST_F(EntryFixture, AppendsAfterTheLastDrawInAscendingOrder) {
    const auto answer = tick(kTwenty, dateValue(2020, 1, 12) + 0.5);
    prompter.onNumberDialog = [&](NumberChoice& f) {
        // the dialog as the entry shows it
        EXPECT_TRUE(f.entryVisible);
        EXPECT_EQ(f.caption, "Zahlen wählen und mit OK bestätigen");
        EXPECT_FALSE(f.computeVisible);
        EXPECT_FALSE(f.randomVisible);
        EXPECT_FALSE(f.saveListVisible);
        EXPECT_FALSE(f.loadListVisible);
        EXPECT_EQ(f.randomMax, 20);
        EXPECT_EQ(f.entryDate, dateValue(2020, 1, 11)); // the day after the last draw
        EXPECT_TRUE(f.tickedNumbers().empty());
        EXPECT_EQ(f.colour[33], BoxColour::Info);
        EXPECT_EQ(f.status, ""); // no weight text left from an earlier use
        return answer(f);
    };
    m.numberChoice.status = "Die Zahl 5 geht mit der Gewichtung 3 in die Berechnung ein";
    EXPECT_TRUE(entry.enterDraw());

    const auto after = readDraws(dir.file("Keno.dat"));
    ASSERT_EQ(after.size(), 4u);
    const DrawRecord& r = after.back();
    EXPECT_EQ(r.datum, dateValue(2020, 1, 12));
    std::vector<int> sorted = kTwenty;
    std::sort(sorted.begin(), sorted.end());
    for (size_t i = 0; i < 20; ++i) EXPECT_EQ(r.zahl[i], sorted[i]);
    EXPECT_TRUE(r.hasPlus5());
    EXPECT_EQ(r.plus5Number(), 712);
    expectDialogPutBack();
    // the entered draw is shown, and the status bar says it was stored
    EXPECT_EQ(m.drawIndex, 3);
    EXPECT_EQ(m.drawDate, dateValue(2020, 1, 12));
    EXPECT_EQ(m.status[1], "Die Ziehung vom 12.01.2020 wurde gespeichert.");
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(EntryFixture, ADateAlreadyCoveredReplacesOrIsInsertedInOrder) {
    prompter.onNumberDialog = tick(kTwenty, dateValue(2020, 1, 8));
    EXPECT_TRUE(entry.enterDraw());
    auto after = readDraws(dir.file("Keno.dat"));
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[1].datum, dateValue(2020, 1, 8));
    EXPECT_EQ(after[1].zahl[0], 1); // the entered draw, sorted
    EXPECT_EQ(after[2], before[2]);

    prompter.onNumberDialog = tick(kTwenty, dateValue(2020, 1, 7));
    EXPECT_TRUE(entry.enterDraw());
    after = readDraws(dir.file("Keno.dat"));
    ASSERT_EQ(after.size(), 4u);
    for (size_t i = 1; i < after.size(); ++i) EXPECT_LT(after[i - 1].datum, after[i].datum);
    EXPECT_EQ(after[1].datum, dateValue(2020, 1, 7));
}

TEST_F(EntryFixture, OtherThanTwentyNumbersAreRefusedAndTheDialogComesBack) {
    std::vector<int> nineteen(kTwenty.begin(), kTwenty.end() - 1);
    std::vector<int> twentyOne = kTwenty;
    twentyOne.push_back(2);
    const std::vector<std::function<ModalResult(NumberChoice&)>> answers = {tick(nineteen, dateValue(2020, 1, 11)),
                                                                            tick(twentyOne, dateValue(2020, 1, 11)),
                                                                            tick(kTwenty, dateValue(2020, 1, 11))};
    std::vector<size_t> tickedWhenShown;
    prompter.onNumberDialog = [&](NumberChoice& f) {
        tickedWhenShown.push_back(f.tickedNumbers().size());
        EXPECT_TRUE(f.entryVisible);
        return answers[static_cast<size_t>(prompter.numberDialogs - 1)](f);
    };
    EXPECT_TRUE(entry.enterDraw());
    EXPECT_EQ(prompter.numberDialogs, 3);
    EXPECT_EQ(tickedWhenShown, (std::vector<size_t>{0, 19, 21})); // the choice stays for correcting it
    EXPECT_EQ(prompter.messages,
              (std::vector<std::string>{
                  "Eine Ziehung hat genau 20 Zahlen, angekreuzt sind 19.\nBitte korrigieren Sie die Auswahl.",
                  "Eine Ziehung hat genau 20 Zahlen, angekreuzt sind 21.\nBitte korrigieren Sie die Auswahl."}));
    EXPECT_EQ(readDraws(dir.file("Keno.dat")).size(), 4u);
}

TEST_F(EntryFixture, DatesOutsideTheHistoryAreRefused) {
    std::remove(dir.file("Keno.dat").c_str());
    double proposed = 0;
    const std::vector<std::function<ModalResult(NumberChoice&)>> answers = {
        tick(kTwenty, dateValue(2020, 2, 2)),  // tomorrow
        tick(kTwenty, dateValue(2004, 1, 31)), // before the first draw
        [](NumberChoice&) { return ModalResult::Abort; }};
    prompter.onNumberDialog = [&](NumberChoice& f) {
        if (prompter.numberDialogs == 1) proposed = f.entryDate;
        return answers[static_cast<size_t>(prompter.numberDialogs - 1)](f);
    };
    EXPECT_FALSE(entry.enterDraw());
    EXPECT_EQ(proposed, dateValue(2020, 2, 1)); // an empty history proposes today
    EXPECT_EQ(prompter.messages,
              (std::vector<std::string>{"Das Datum 02.02.2020 liegt in der Zukunft.",
                                        "Das Datum 31.01.2004 liegt vor der ersten Ziehung am 01.02.2004."}));
    EXPECT_TRUE(readDraws(dir.file("Keno.dat")).empty());
    expectDialogPutBack();
}

TEST_F(EntryFixture, CancelStoresNothingAndStillRunsNext) {
    prompter.onNumberDialog = [](NumberChoice& f) {
        f.ticked.fill(true);
        return ModalResult::Abort;
    };
    EXPECT_FALSE(entry.enterDraw());
    EXPECT_EQ(readDraws(dir.file("Keno.dat")), before);
    expectDialogPutBack();
    EXPECT_EQ(m.drawIndex, 1);
    EXPECT_TRUE(prompter.messages.empty());
}
