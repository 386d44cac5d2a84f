// The "Datenbank" tab driven through its widgets: the update against the stand-in server, the manual
// entry in the number dialog and the draw display afterwards.
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <QPainter>
#include <filesystem>
#include <fstream>

#include "app/AppController.h"
#include "app/Session.h"
#include "app/settings/ControlCatalogue.h"
#include "app/settings/SettingsPersistence.h"
#include "app/settings/SettingsSchema.h"
#include "base/Text.h"
#include "platform/SystemClock.h"
#include "platform/qt/QtHttpClient.h"
#include "platform/qt/QtPrompter.h"
#include "support/TestSupport.h"
#include "tools/drawserver/DrawServerProcess.h"
#include "ui/MainWindow.h"

using namespace zf;
using namespace zf::test;

namespace {

struct DatenbankFixture : ::testing::Test {
    TempDir dir;
    ScriptedPrompter prompter;
    RecordingShell shell;
    RecordingSound sound;
    MemorySettingsStore store;
    FixedClock clock{dateValue(2025, 12, 30)};
    QtHttpClient http;
    Session session{prompter, dialogsOf(prompter), shell, sound, clock, store, &http};
    std::unique_ptr<MainWindow> w;

    template <class T> T* find(const char* name) { return w->findChild<T*>(name); }
    void showTab(const char* caption) {
        auto* tabs = find<QTabWidget>("PageControl1");
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i) == caption) tabs->setCurrentIndex(i);
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(DatenbankFixture, UpdateCatchesUpAtStartAndTheStopButtonShowsWhileItRuns) {
    // The program folder lacks the last five draws; the server has them all.
    ASSERT_TRUE(writeBundledHistory(dir.file("Keno.dat"), nullptr));
    std::filesystem::resize_file(dir.file("Keno.dat"), (7666 - 5) * kRecordSize);
    tools::DrawServerProcess server(ZF_DRAWSERVER, {});
    store.set(kSettingsKey, "DownloadServer", RegValue::ofString(server.url()));

    w = std::make_unique<MainWindow>(session, dir.path());
    bool sawStop = false;
    w->update().afterDay = [&](double) {
        if (sawStop) return;
        sawStop = find<QToolButton>("SpeedButton8")->isVisibleTo(w.get()) && !find<QPushButton>("BitBtn1")->isEnabled();
        showTab("Datenbank");
    };
    w->show();
    QApplication::processEvents();
    EXPECT_TRUE(sawStop);
    EXPECT_EQ(std::filesystem::file_size(dir.file("Keno.dat")), 7666 * kRecordSize);
    EXPECT_EQ(w->model().drawDate, dateValue(2025, 12, 29));
    EXPECT_TRUE(find<QPushButton>("BitBtn1")->isEnabled());
    EXPECT_FALSE(find<QToolButton>("SpeedButton8")->isVisibleTo(w.get()));
    EXPECT_EQ(find<QLabel>("Label35")->text().left(11), "Mo 29.12.25");
    showTab("Datenbank");
}

// A server that takes the connection and never answers: the window shows and paints at once, the
// start-up update waits in the background with its stop button, and the stop ends the wait at once.
TEST_F(DatenbankFixture, TheStartUpdateWaitsInTheBackgroundAndStopEndsItAtOnce) {
    ASSERT_TRUE(writeBundledHistory(dir.file("Keno.dat"), nullptr));
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    std::vector<QTcpSocket*> held; // accepted and left without an answer
    QObject::connect(&silent, &QTcpServer::newConnection, [&] {
        while (QTcpSocket* socket = silent.nextPendingConnection()) held.push_back(socket);
    });
    store.set(kSettingsKey, "DownloadServer",
              RegValue::ofString("http://127.0.0.1:" + std::to_string(silent.serverPort()) + "/"));

    w = std::make_unique<MainWindow>(session, dir.path());
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    find<QTabWidget>("PageControl1")->installEventFilter(&counter);

    // The window must paint while the update waits; on a slow or loaded machine the first paint may take
    // a while, so a timer (which fires inside the update's wait) looks once the update waits and the
    // window has painted, at most after 8 s, instead of at a fixed time.
    QElapsedTimer clock;
    bool waiting = false, stopShown = false;
    int paintsWhileWaiting = 0;
    qint64 stoppedAt = -1;
    QTimer look;
    look.setInterval(50);
    QObject::connect(&look, &QTimer::timeout, [&] {
        const bool ready = w->update().running() && counter.paints > 0 && clock.elapsed() > 300;
        if (!ready && clock.elapsed() < 8000) return;
        look.stop();
        waiting = w->update().running();
        stopShown = !find<QToolButton>("SpeedButton8")->isHidden(); // on the Datenbank tab
        paintsWhileWaiting = counter.paints;
        stoppedAt = clock.elapsed();
        find<QToolButton>("SpeedButton8")->click();
    });
    clock.start();
    look.start();
    w->show();
    while (clock.elapsed() < 30000 && (stoppedAt < 0 || w->update().running()))
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    const qint64 endedAt = clock.elapsed();

    EXPECT_TRUE(waiting) << "the update was not waiting for the server";
    EXPECT_TRUE(stopShown);
    EXPECT_GT(paintsWhileWaiting, 0) << "the window did not paint while the update waited";
    EXPECT_LT(endedAt - stoppedAt, 2000) << "the stop did not end the wait at once";
    EXPECT_TRUE(find<QPushButton>("BitBtn1")->isEnabled());
    EXPECT_TRUE(find<QToolButton>("SpeedButton8")->isHidden());
    EXPECT_EQ(std::filesystem::file_size(dir.file("Keno.dat")), 7666 * kRecordSize);
}

TEST_F(DatenbankFixture, EingebenStoresADrawTypedIntoTheNumberDialog) {
    ASSERT_TRUE(writeBundledHistory(dir.file("Keno.dat"), nullptr));
    store.set(kSettingsKey, "DownloadServer", RegValue::ofString("http://127.0.0.1:9/"));
    w = std::make_unique<MainWindow>(session, dir.path());
    w->show();
    QApplication::processEvents();
    prompter.onNumberDialog = [](NumberChoice& f) {
        EXPECT_TRUE(f.entryVisible);
        EXPECT_EQ(f.caption, "Zahlen wählen und mit OK bestätigen");
        EXPECT_EQ(f.entryDate, dateValue(2025, 12, 30));
        f.untickAll(BoxColour::Info);
        for (int n = 1; n <= 20; ++n) f.ticked[static_cast<size_t>(n * 3)] = true;
        f.entryDigits = {0, 0, 7, 1, 2};
        return ModalResult::Ok;
    };
    ASSERT_TRUE(find<QPushButton>("BitBtn8")->isEnabled());
    find<QPushButton>("BitBtn8")->click();
    EXPECT_EQ(std::filesystem::file_size(dir.file("Keno.dat")), 7667 * kRecordSize);
    EXPECT_EQ(w->model().drawDate, dateValue(2025, 12, 30));
    EXPECT_EQ(find<QLabel>("Label31")->text(), "QS: 10");
    EXPECT_FALSE(w->model().numberChoice.entryVisible); // the dialog is put back
}

TEST_F(DatenbankFixture, LoeschenAsksFirstAndNeinKeepsTheDraw) {
    writeDraws(dir.file("Keno.dat"), {draw(2025, 12, 27, 1), draw(2025, 12, 29, 11)});
    store.set(kSettingsKey, "DownloadServer", RegValue::ofString("http://127.0.0.1:9/"));
    w = std::make_unique<MainWindow>(session, dir.path());
    w->show();
    QApplication::processEvents();
    ASSERT_EQ(w->model().drawDate, dateValue(2025, 12, 29));
    for (bool yes : {false, true}) {
        prompter.questions.clear();
        prompter.answers = {yes};
        find<QPushButton>("BitBtn6")->click();
        EXPECT_EQ(prompter.questions, std::vector<std::string>{"Die Ziehung vom 29.12.2025 löschen?"});
        EXPECT_EQ(readDraws(dir.file("Keno.dat")).size(), yes ? 1u : 2u) << (yes ? "Ja" : "Nein");
    }
}

TEST_F(DatenbankFixture, ABacktestShowsItsProgressAndItsButtonStopsIt) {
    ASSERT_TRUE(writeBundledHistory(dir.file("Keno.dat"), nullptr));
    store.set(kSettingsKey, "DownloadServer", RegValue::ofString("http://127.0.0.1:9/"));
    w = std::make_unique<MainWindow>(session, dir.path());
    w->show();
    showTab("Datenbank");
    auto* running = find<QPushButton>("Button10");
    const QString caption = running->text();
    // The whole history: long enough to be seen running, then stopped by its own button.
    w->model().browseDate = dateValue(2004, 2, 2);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        seen = true;
        EXPECT_EQ(running->text(), "Test stoppen");
        EXPECT_FALSE(find<QPushButton>("Button7")->isEnabled());
        EXPECT_FALSE(find<QPushButton>("BitBtn9")->isEnabled());
        EXPECT_NE(w->model().status[1].find("Test ab Ziehung vom"), std::string::npos) << w->model().status[1];
        running->click();
    });
    running->click();
    EXPECT_TRUE(seen);
    EXPECT_EQ(w->model().status[1], "Test gestoppt: kein Bericht geschrieben, Analyse.txt bleibt unverändert");
    EXPECT_FALSE(std::filesystem::exists(dir.file("Analyse.txt")));
    EXPECT_TRUE(shell.opened.empty());

    // From the last days of the history the test ends by itself and opens its report.
    w->model().browseDate = dateValue(2025, 12, 20);
    running->click();
    EXPECT_EQ(shell.opened, std::vector<std::string>{dir.file("Analyse.txt")});
    EXPECT_EQ(running->text(), caption);
    EXPECT_TRUE(find<QPushButton>("Button7")->isEnabled());
}

TEST_F(DatenbankFixture, ZiehungenImportierenBringsTheHistoryUpToDateAndSaysWhatItDid) {
    ASSERT_TRUE(writeBundledHistory(dir.file("Keno.dat"), nullptr));
    std::filesystem::resize_file(dir.file("Keno.dat"), (7666 - 3) * kRecordSize);
    std::vector<std::string> csv;
    ASSERT_TRUE(readTextLines(std::string(ZF_SOURCE_DIR) + "/data/keno_draws.csv", csv));
    {
        std::ofstream f(dir.file("neu.csv"));
        f << csv[0] << "\n"
          << csv[csv.size() - 3] << "\n"
          << csv[csv.size() - 2] << "\n"
          << "2025-12-30,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19\n"
          << csv[csv.size() - 1] << "\n";
    }
    store.set(kSettingsKey, "DownloadServer", RegValue::ofString("http://127.0.0.1:9/"));
    w = std::make_unique<MainWindow>(session, dir.path());
    w->show();
    showTab("Datenbank");
    ASSERT_EQ(w->model().drawDate, dateValue(2025, 12, 26));

    prompter.nextPath = dir.file("neu.csv");
    auto* button = find<QPushButton>("DrawImportButton");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "Ziehungen importieren");
    button->click();
    ASSERT_EQ(prompter.messages.size(), 1u);
    const std::string summary = "3 Ziehungen wurden hinzugefügt.\n0 Ziehungen wurden ersetzt.\n"
                                "0 Ziehungen waren schon gespeichert und bleiben unverändert.\n"
                                "1 Zeile wurde übersprungen:\nZeile 4: 19 Zahlen statt 20.";
    EXPECT_EQ(prompter.messages[0], summary);
    EXPECT_EQ(std::filesystem::file_size(dir.file("Keno.dat")), 7666 * kRecordSize);
    EXPECT_EQ(find<QLabel>("Label29")->text().left(11), "Mo 29.12.25");
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
