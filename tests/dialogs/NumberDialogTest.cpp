#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
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

using NumberDialogDesign = DialogFixture;

// The dialog as designed, shown with the state a first start has: every control with its caption,
// kind and design state.
TEST_F(NumberDialogDesign, EveryControlAsSpecified) {
    runWith([&] {
        EXPECT_EQ(form.objectName().toStdString(), "TForm6");
        EXPECT_EQ(form.windowTitle().toStdString(), "Welche Zahlen für die Berechnung");
        // ten rows of seven, left to right and top to bottom; each ticked, with an empty hint
        for (int k = 1; k <= 70; ++k) {
            QCheckBox* b = form.findChild<QCheckBox*>(QString("CheckBox%1").arg(k));
            ASSERT_TRUE(b) << k;
            EXPECT_EQ(b->text().toStdString(), std::to_string(k));
            EXPECT_TRUE(b->isChecked()) << k;
            EXPECT_TRUE(b->toolTip().isEmpty()) << k;
            const int row = (k - 1) / 7, column = (k - 1) % 7;
            EXPECT_EQ(b->x(), form.box(column + 1)->x()) << k;
            EXPECT_EQ(b->y(), form.box(7 * row + 1)->y()) << k;
            if (column > 0) {
                EXPECT_GT(b->x(), form.box(k - 1)->x()) << k;
            }
            if (row > 0) {
                EXPECT_GT(b->y(), form.box(k - 7)->y()) << k;
            }
        }
        const struct {
            const char* name;
            const char* caption;
            bool visible;
        } buttons[] = {{"BitBtn1", "OK", true},
                       {"BitBtn3", "&Rechnen", true},
                       {"BitBtn2", "Abbrechen", true},
                       {"BitBtn4", "&Zufall", false}};
        for (const auto& b : buttons) {
            auto* w = button(b.name);
            ASSERT_TRUE(w) << b.name;
            EXPECT_EQ(w->text().toStdString(), b.caption);
            EXPECT_EQ(w->isVisible(), b.visible) << b.name;
        }
        EXPECT_TRUE(button("BitBtn1")->isDefault());
        EXPECT_EQ(button("BitBtn3")->geometry(), button("BitBtn1")->geometry()); // "&Rechnen" covers "OK"
        EXPECT_EQ(form.childAt(button("BitBtn1")->geometry().center()), button("BitBtn3"));
        const struct {
            const char* name;
            const char* hint;
        } tools[] = {{"SpeedButton1", "Speichern der Liste"}, {"SpeedButton2", "Laden der Liste"}};
        for (const auto& t : tools) {
            auto* w = form.findChild<QToolButton*>(t.name);
            ASSERT_TRUE(w) << t.name;
            EXPECT_EQ(w->toolTip().toStdString(), t.hint);
            EXPECT_TRUE(w->isVisible()) << t.name;
        }
        auto* timer = form.findChild<QTimer*>("Timer1");
        ASSERT_TRUE(timer);
        EXPECT_EQ(timer->interval(), 25);
        EXPECT_FALSE(timer->isActive());
        EXPECT_TRUE(form.findChild<QStatusBar*>("StatusBar1"));
        // the draw entry's date and Plus 5 digits, hidden
        EXPECT_FALSE(form.findChild<QDateEdit*>("DateTimePicker1")->isVisible());
        EXPECT_EQ(form.findChild<QLabel*>("Label1")->text().toStdString(), "Gewinnzahl Plus 5:");
        EXPECT_FALSE(form.findChild<QLabel*>("Label1")->isVisible());
        for (int i = 3; i <= 7; ++i) {
            auto* digit = form.findChild<QSpinBox*>(QString("UpDown%1").arg(i));
            ASSERT_TRUE(digit) << i;
            EXPECT_EQ(digit->findChild<QLineEdit*>()->objectName().toStdString(), "Edit" + std::to_string(i));
            EXPECT_EQ((std::pair{digit->minimum(), digit->maximum()}), (std::pair{0, 9})) << i;
            EXPECT_FALSE(digit->isVisible()) << i;
        }
        button("BitBtn2")->click();
    });
}

int main(int argc, char** argv) {
    // Listing the tests happens without a display too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
