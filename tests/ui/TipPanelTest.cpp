// The tip panel of the main tab, driven through its widgets.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/Session.h"
#include "app/evaluation/TipCheck.h"
#include "base/Text.h"
#include "core/tips/TipLine.h"
#include "platform/SystemClock.h"
#include "platform/qt/QtHttpClient.h"
#include "support/TestSupport.h"
#include "ui/MainWindow.h"

using namespace zf;
using namespace zf::test;

namespace {

struct TipPanelFixture : ::testing::Test {
    TempDir dir;
    ScriptedPrompter prompter;
    RecordingShell shell;
    RecordingSound sound;
    MemorySettingsStore store;
    FixedClock clock{dateValue(2026, 3, 1)};
    QtHttpClient http;
    Session session{prompter, dialogsOf(prompter), shell, sound, clock, store, &http};
    std::unique_ptr<MainWindow> w;

    void start(const std::string& tips) {
        ASSERT_TRUE(writeFileAtomic(dir.file("tipps.txt"), tips));
        w = std::make_unique<MainWindow>(session, dir.path());
        w->show();
        QApplication::processEvents();
    }
    template <class T> T* find(const char* name) { return w->findChild<T*>(name); }
    QString label(const char* name) { return find<QLabel>(name)->text(); }
};

} // namespace

TEST_F(TipPanelFixture, AddEditAndDeleteThroughTheButtons) {
    start("01,02,03\r\n04,05,06\r\n");
    auto* list = find<QListView>("ListBox1");
    list->setCurrentIndex(list->model()->index(0, 0));
    prompter.onNumberDialog = [](NumberChoice& f) {
        f.untickAll(BoxColour::Info);
        for (int n : {9, 19, 29}) f.ticked[static_cast<size_t>(n)] = true;
        return ModalResult::Ok;
    };
    find<QPushButton>("SpeedButton36")->click();
    EXPECT_EQ(w->model().tipLines, (std::vector<std::string>{"01,02,03", "09,19,29", "04,05,06"}));
    EXPECT_EQ(list->currentIndex().row(), 1);
    EXPECT_EQ(label("Label24"), "2.Tipp");
    EXPECT_EQ(list->model()->rowCount(), 3);
    EXPECT_EQ(find<QListView>("ListBox2")->model()->rowCount(), 3);

    find<QPushButton>("SpeedButton32")->click();
    EXPECT_EQ(w->model().tipLines.size(), 2u);
    prompter.answers = {true};
    find<QPushButton>("SpeedButton11")->click();
    EXPECT_TRUE(w->model().tipLines.empty());
    EXPECT_EQ(list->model()->rowCount(), 0);
}

TEST_F(TipPanelFixture, GesamtTippsFollowsTheTypingRule) {
    start("");
    auto* box = find<QSpinBox>("UpDown9");
    auto* edit = box->findChild<QLineEdit*>("Edit1");
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "0");
    EXPECT_EQ(edit->text(), "500000");
    EXPECT_EQ(w->model().totalTips(), 500000);
    EXPECT_EQ(w->model().num(Num::TotalTips).pos, 120);
    box->stepBy(-1); // the arrows stay inside 1..120
    EXPECT_EQ(box->value(), 120);
    edit->selectAll();
    QTest::keyClicks(edit, "42");
    EXPECT_EQ(w->model().totalTips(), 42);
}

TEST_F(TipPanelFixture, WinningsAndPrintout) {
    start("");
    // The latest bundled draw (29.12.2025) holds 6, 28, 4, 17, ...
    w->model().tipLines = {"04,06,17,28", "01,02,03,07"};
    w->model().num(Num::KenoType).pos = 4;
    find<QSpinBox>("UpDown18")->setValue(4);
    find<QPushButton>("auswertung")->click();
    ASSERT_FALSE(prompter.messages.empty());
    EXPECT_EQ(prompter.messages.back(),
              "Gewinne\n1 x  4er \t22\n\n22€ ohne Gewähr\n\nEinsatz der Liste: 2,00 €\n"
              "Im Mittel gewinnt die Liste je Ziehung 0,99 €\n"
              "So viel oder mehr gewinnen zufällige Tipps in 1,05 % der Ziehungen (1 : 94,9)");
    find<QPushButton>("BitBtn7")->click();
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], dir.file("Tipp.txt"));
}

TEST_F(TipPanelFixture, TippsBerechnenRunsTheGeneratorAndShowsItsProgress) {
    start("");
    bool grabbed = false;
    std::string captionDuringRun;
    w->generator().eventPump = [&] {
        QApplication::processEvents();
        if (grabbed) return;
        grabbed = true;
        captionDuringRun = find<QPushButton>("BitBtn4")->text().toStdString();
    };
    w->generator().slice = std::chrono::microseconds(200); // several slices even on a fast machine
    find<QSpinBox>("UpDown18")->setValue(6);
    w->model().setTotalTips(20);
    find<QPushButton>("BitBtn4")->click();
    EXPECT_TRUE(grabbed);
    EXPECT_EQ(captionDuringRun, "Stoppen");
    EXPECT_EQ(find<QPushButton>("BitBtn4")->text(), "Tipps berechnen");
    EXPECT_EQ(w->model().tipLines.size(), 20u);
    EXPECT_EQ(find<QListView>("ListBox1")->model()->rowCount(), 20);
    EXPECT_EQ(find<QListView>("ListBox2")->model()->rowCount(), 20);
    for (const auto& line : w->model().tipLines) EXPECT_EQ(line.size(), 17u) << line; // six "%.2d" numbers
}

namespace {

const std::string kFiveTips = "01,02,03,04,05,06,07,08,09,10\r\n11,12,13,14,15,16,17,18,19,20\r\n"
                              "21,22,23,24,25,26,27,28,29,30\r\n31,32,33,34,35,36,37,38,39,40\r\n"
                              "41,42,43,44,45,46,47,48,49,50\r\n";

} // namespace

// "Löschen vor Berechnung" empties the list only when a run really starts: a run refused or
// cancelled before that leaves the list, the window's two lists and, after the close, tipps.txt.
TEST_F(TipPanelFixture, ARefusedOrCancelledRunLeavesTheList) {
    start(kFiveTips);
    const auto tips = w->model().tipLines;
    ASSERT_EQ(tips.size(), 5u);
    find<QCheckBox>("CheckBox28")->setChecked(true);
    struct Case {
        const char* name;
        const char* button;
        bool editPool; // "Liste bearbeiten"
        const char* message;
    };
    const Case cases[] = {
        // The plain pool gives far too many combinations of ten numbers.
        {"Tipps erzeugen refused", "ErzeugenBtn", false, "Aus den "},
        {"Liste bearbeiten, Abbrechen", "BitBtn4", true, nullptr},
        {"Tipps erzeugen, Liste bearbeiten, Abbrechen", "ErzeugenBtn", true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        find<QCheckBox>("CheckBox20")->setChecked(c.editPool);
        prompter.messages.clear();
        prompter.numberDialogs = 0;
        prompter.onNumberDialog = [](NumberChoice&) { return ModalResult::Abort; };
        find<QPushButton>(c.button)->click();
        EXPECT_EQ(prompter.numberDialogs, c.editPool ? 1 : 0);
        if (c.message) {
            ASSERT_EQ(prompter.messages.size(), 1u);
            EXPECT_EQ(prompter.messages[0].rfind(c.message, 0), 0u) << prompter.messages[0];
        } else {
            EXPECT_TRUE(prompter.messages.empty());
        }
        EXPECT_EQ(w->model().tipLines, tips);
        EXPECT_EQ(find<QListView>("ListBox1")->model()->rowCount(), 5);
        EXPECT_EQ(find<QListView>("ListBox2")->model()->rowCount(), 5);
        EXPECT_EQ(find<QPushButton>("BitBtn4")->text(), "Tipps berechnen");
    }
    w->close();
    EXPECT_EQ(contents(dir.file("tipps.txt")), kFiveTips);
}

// "+" with eleven numbers ticked for a tip of ten: a message and the dialog again, then the tip.
TEST_F(TipPanelFixture, PlusWithTooManyNumbersSaysSo) {
    start("");
    find<QSpinBox>("UpDown18")->setValue(10);
    int shown = 0;
    prompter.onNumberDialog = [&](NumberChoice& f) {
        if (++shown == 1) {
            f.untickAll(BoxColour::Info);
            for (int n = 1; n <= 11; ++n) f.ticked[static_cast<size_t>(n)] = true;
        } else {
            f.ticked[11] = false;
        }
        return ModalResult::Ok;
    };
    find<QPushButton>("SpeedButton36")->click();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(prompter.messages, std::vector<std::string>{"Gewählt sind 11 Zahlen, ein Tipp hat aber höchstens 10 "
                                                          "(\"Zahlen pro Tipp\"). Wählen Sie 1 Zahl ab."});
    EXPECT_EQ(w->model().tipLines, std::vector<std::string>{"01,02,03,04,05,06,07,08,09,10"});
    EXPECT_EQ(find<QListView>("ListBox1")->model()->rowCount(), 1);
}

// A backtest, stopped or finished, leaves the tip list as the user left it, and the close writes that
// list; the tips the test made stand in its report.
TEST_F(TipPanelFixture, ABacktestLeavesTheUsersTips) {
    start("");
    prompter.onNumberDialog = [](NumberChoice& f) {
        f.untickAll(BoxColour::Info);
        for (int n : {7, 14, 21, 28, 35, 42}) f.ticked[static_cast<size_t>(n)] = true;
        return ModalResult::Ok;
    };
    find<QPushButton>("SpeedButton36")->click();
    const std::vector<std::string> mine = {"07,14,21,28,35,42"};
    ASSERT_EQ(w->model().tipLines, mine);
    find<QCheckBox>("CheckBox28")->setChecked(true);
    auto* test = find<QPushButton>("Erfolgstest");
    for (const bool stop : {true, false}) {
        SCOPED_TRACE(stop ? "stopped" : "finished");
        // The whole history runs long enough to be stopped by a second click; the last week does not.
        w->model().browseDate = stop ? dateValue(2004, 2, 2) : dateValue(2025, 12, 22);
        bool clickedAgain = false;
        if (stop)
            QTimer::singleShot(0, test, [test, &clickedAgain] {
                clickedAgain = true;
                test->click();
            });
        test->click();
        EXPECT_EQ(clickedAgain, stop);
        EXPECT_EQ(std::filesystem::exists(dir.file("Analyse.txt")), !stop);
        EXPECT_EQ(w->model().tipLines, mine);
        EXPECT_EQ(find<QListView>("ListBox1")->model()->rowCount(), 1);
        EXPECT_EQ(find<QListView>("ListBox2")->model()->rowCount(), 1);
    }
    std::vector<std::string> report;
    ASSERT_TRUE(readTextLines(dir.file("Analyse.txt"), report));
    const auto heading = std::find(report.begin(), report.end(), "Tipps für die Ziehung nach dem 29.12.2025:");
    ASSERT_NE(heading, report.end());
    EXPECT_EQ(report.end() - heading - 1, w->model().totalTips());
    w->close();
    EXPECT_EQ(contents(dir.file("tipps.txt")), "07,14,21,28,35,42\r\n");
}

// From the newest draw a backtest has nothing to test: a message, no report, the list as it was.
TEST_F(TipPanelFixture, ABacktestFromTheNewestDrawSaysSo) {
    start(kFiveTips);
    const auto tips = w->model().tipLines;
    prompter.messages.clear();
    find<QPushButton>("BitBtn9")->click();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].rfind("Nach der Ziehung vom 29.12.2025 gibt es nicht genug Ziehungen", 0), 0u)
        << prompter.messages[0];
    EXPECT_FALSE(std::filesystem::exists(dir.file("Analyse.txt")));
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_EQ(w->model().tipLines, tips);
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
