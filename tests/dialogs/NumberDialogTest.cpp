#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include "base/GermanFormat.h"
#include "base/Random.h"
#include "base/Text.h"
#include "support/TestSupport.h"
#include "ui/dialogs/NumberDialog.h"

using namespace zf;
using namespace zf::test;

namespace {

struct DialogFixture : ::testing::Test {
    TempDir dir;
    Random random;
    ScriptedPrompter files;
    ui::NumberDialog form{random, files, [] { return dateValue(2026, 12, 10); }, [this] { return dir.path(); }};
    NumberChoice state;

    // Runs `steps` while the dialog is open; the last step must close it.
    ModalResult runWith(std::function<void()> steps) {
        QTimer::singleShot(0, &form, steps);
        return form.run(state);
    }
    void click(int k, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseClick(form.box(k), b); }
    QPushButton* button(const char* name) { return form.findChild<QPushButton*>(name); }
};

} // namespace

TEST_F(DialogFixture, ClicksFollowTheWeightRules) {
    for (int k = 1; k <= 70; ++k) state.hint[static_cast<size_t>(k)] = "2";
    const auto r = runWith([&] {
        click(5);                  // ticked -> unticked, weight kept
        click(6, Qt::RightButton); // lowers 2 -> 1, stays ticked
        click(7, Qt::RightButton);
        click(7, Qt::RightButton); // 0: unticked
        click(5);                  // ticks again and raises 2 -> 3
        EXPECT_EQ(form.box(5)->toolTip(), "3");
        EXPECT_EQ(form.findChild<QStatusBar*>("StatusBar1")->currentMessage(),
                  "Die Zahl 5 geht mit der Gewichtung 3 in die Berechnung ein");
        button("BitBtn1")->click();
    });
    EXPECT_EQ(r, ModalResult::Ok);
    EXPECT_TRUE(state.ticked[5]);
    EXPECT_EQ(state.hint[6], "1");
    EXPECT_TRUE(state.ticked[6]);
    EXPECT_FALSE(state.ticked[7]);
    EXPECT_EQ(state.hint[7], "0");
}

TEST_F(DialogFixture, RetryAbortAndTheRandomChoice) {
    EXPECT_EQ(runWith([&] { button("BitBtn3")->click(); }), ModalResult::Retry);
    EXPECT_EQ(runWith([&] { form.close(); }), ModalResult::Abort);

    state.randomVisible = true;
    state.computeVisible = false;
    state.randomMax = 3;
    random.setState(7);
    const auto r = runWith([&] {
        EXPECT_TRUE(button("BitBtn4")->isVisible());
        EXPECT_FALSE(button("BitBtn3")->isVisible());
        button("BitBtn4")->click(); // start
        form.randomTick();
        EXPECT_EQ(button("BitBtn4")->text(), "1 Stopp");
        for (int i = 0; i < 3; ++i) {
            form.randomTick();
            button("BitBtn4")->click();
        }
        EXPECT_EQ(button("BitBtn4")->text(), "&Zufall");
        button("BitBtn1")->click();
    });
    EXPECT_EQ(r, ModalResult::Ok);
    EXPECT_EQ(state.tickedNumbers().size(), 3u);
}

TEST_F(DialogFixture, WeightListsThroughTheFileDialogs) {
    files.nextPath = dir.file("w.kwl");
    state.hint[1] = "4";
    runWith([&] {
        form.findChild<QToolButton*>("SpeedButton1")->click();
        ASSERT_FALSE(files.dialogs.empty());
        EXPECT_EQ(files.dialogs.back().proposedName, "20261210.kwl");
        EXPECT_EQ(files.dialogs.back().filter, "Werteliste|*.kwl");
        button("BitBtn2")->click();
    });
    std::vector<std::string> lines;
    ASSERT_TRUE(readTextLines(dir.file("w.kwl"), lines));
    ASSERT_EQ(lines.size(), 70u);
    EXPECT_EQ(lines[0], "4");
    EXPECT_EQ(lines[1], "1");

    ASSERT_TRUE(writeFileAtomic(dir.file("short.kwl"), "5\r\n\r\n7\r\n"));
    files.nextPath = dir.file("short.kwl");
    runWith([&] {
        form.findChild<QToolButton*>("SpeedButton2")->click();
        EXPECT_NE(form.findChild<QStatusBar*>("StatusBar1")->currentMessage().indexOf("3 statt 70"), -1);
        button("BitBtn2")->click();
    });
    EXPECT_EQ(state.tickedNumbers(), (std::vector<int>{1, 3}));
    EXPECT_EQ(state.hint[3], "7");
}

TEST_F(DialogFixture, EntryModeIsTallerAndReturnsDateAndDigits) {
    state.entryVisible = true;
    state.entryDate = dateValue(2026, 1, 2);
    state.entryDigits = {0, 0, 7, 1, 2};
    state.caption = "Zahlen wählen und mit OK bestätigen";
    state.computeVisible = state.randomVisible = false; // as the draw entry sets it up
    state.saveListVisible = state.loadListVisible = false;
    const int normalHeight = ui::NumberDialog::kDesignHeight;
    runWith([&] {
        EXPECT_EQ(form.height(), normalHeight + 100);
        EXPECT_EQ(form.windowTitle(), "Zahlen wählen und mit OK bestätigen");
        button("BitBtn1")->click();
    });
    EXPECT_EQ(state.entryDate, dateValue(2026, 1, 2));
    EXPECT_EQ(state.entryDigits[2], 7);
    state.entryVisible = false;
    state.computeVisible = state.saveListVisible = state.loadListVisible = true;
    state.caption = "Zahlen für Berechnung wählen";
    for (int k = 1; k <= 70; ++k) state.hint[static_cast<size_t>(k)] = std::to_string(k % 4);
    runWith([&] {
        EXPECT_EQ(form.height(), normalHeight);
        button("BitBtn1")->click();
    });
}

int main(int argc, char** argv) {
    // Listing the tests happens without a display too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
