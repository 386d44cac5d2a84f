// The tip panel of the main tab, driven through its widgets.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "app/Session.h"
#include "base/Text.h"
#include "evaluation/TipCheck.h"
#include "platform/SystemClock.h"
#include "platform/qt/QtHttpClient.h"
#include "support/TestSupport.h"
#include "tips/TipLine.h"
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
    Session session{prompter, shell, sound, clock, store, &http};
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
    EXPECT_EQ(prompter.messages.back(), "Gewinne\n1 x  4er \t22\n\n22€ ohne Gewähr");
    find<QPushButton>("BitBtn7")->click();
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], dir.file("Tipp.txt"));
    if (const char* shots = std::getenv("ZF_SCREENSHOTS")) {
        std::vector<std::string> tips;
        for (int i = 0; i < 40; ++i) tips.push_back(formatTipLine({i % 60 + 1, i % 60 + 4, i % 60 + 9, 66, 70}));
        w->model().tipLines = tips;
        checkAllTips(w->model(), sound);
        w->model().notify(ChangeAll & ~ChangeWindow);
        QApplication::processEvents();
        w->grab().save(QString(shots) + "/main-tiplist.png");
    }
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
        if (const char* shots = std::getenv("ZF_SCREENSHOTS")) w->grab().save(QString(shots) + "/main-run.png");
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

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
