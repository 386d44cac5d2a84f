// zf_screenshots OUTDIR: the desktop program wired as it starts for a user (the bundled history, six
// tips, two co-players), every tab and every dialog saved as a picture at the design size and at
// 1280 x 900. Not a test: scripts/screenshots.sh runs it under Xvfb and the German locale.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <string>

#include "app/Session.h"
#include "base/GermanFormat.h"
#include "core/players/PlayersFile.h"
#include "core/ports/NullSeams.h"
#include "core/ports/SettingsStore.h"
#include "platform/SystemClock.h"
#include "platform/qt/QtHttpClient.h"
#include "ui/MainWindow.h"
#include "ui/dialogs/ChanceDialogs.h"
#include "ui/dialogs/DesktopPrompter.h"
#include "ui/dialogs/GameOptionsDialog.h"
#include "ui/dialogs/NumberDialog.h"
#include "ui/dialogs/ScriptDialog.h"
#include "ui/widgets/GermanQt.h"

using namespace zf;

namespace {

QString outDir;

void save(QWidget* w, const QString& name) {
    QApplication::processEvents();
    const QString path = outDir + "/" + name + ".png";
    if (!w->grab().save(path)) std::fprintf(stderr, "%s konnte nicht gespeichert werden\n", qPrintable(path));
}

// Opens a modal dialog through `open`, saves it as soon as it is shown and closes it again.
void shootModal(const QString& name, const std::function<void()>& open) {
    auto* poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, name] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        poll->stop();
        poll->deleteLater();
        QTimer::singleShot(150, modal, [modal, name] {
            save(modal, name);
            if (auto* d = qobject_cast<QDialog*>(modal))
                d->reject();
            else
                modal->close();
        });
    });
    poll->start();
    open();
}

struct NoGameActions : GameOptionsActions {
    void randomTicket(GameOptions&) override {}
    void neverDrawnTicket(GameOptions&) override {}
    void checkTicket(const GameOptions&) override {}
};

void writeFile(const QString& path, const std::string& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

} // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Zahlfuchs");
    ui::installGermanQtTranslations();
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: zf_screenshots ZIELORDNER\n");
        return 2;
    }
    outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outDir);

    QTemporaryDir home;
    const char* sample[] = {"03,11,17,22,29,35,41,48,56,64", "05,09,14,26,33,38,47,52,61,69",
                            "01,08,19,24,30,36,44,53,58,70", "02,13,21,27,34,40,45,50,62,67",
                            "06,12,18,25,31,39,46,55,60,66", "04,10,16,23,28,37,43,51,57,63"};
    std::string tips;
    for (const char* line : sample) tips += std::string(line) + "\r\n";
    writeFile(home.filePath("tipps.txt"), tips);
    std::string players;
    (void)encodePlayers({{"Anna Becker", "2", "12,5", "3,25", "7,75", "anna@example.org"},
                         {"Bernd Vogel", "1", "-4,2", "0", "4,2", "bernd@example.org"}},
                        {}, players);
    writeFile(home.filePath("lotto.spl"), players);

    ui::DesktopPrompter prompter;
    NullShell shell;
    NullSound sound;
    FixedClock clock(dateValue(2026, 1, 6) + 0.5);
    MemorySettingsStore settings;
    // No HTTP client: the pictures show the bundled history, not whatever answers on this machine.
    Session session(prompter, dialogsOf(prompter), shell, sound, clock, settings);
    MainWindow window(session, home.path().toStdString() + "/");
    prompter.setParent(&window);
    prompter.setupNumberDialog(
        window.model().random, [&clock] { return clock.now(); }, [&window] { return window.model().home; }, &window);
    window.addScaledWindow(prompter.numberDialogWindow());
    prompter.setupMailDialog(session.mail, &window);
    prompter.setupSubmissionDialogs(&window);
    window.addScaledWindow(prompter.gameOptionsWindow());
    window.addScaledWindow(prompter.scriptWindow());
    ui::ChanceDialogs chance(&window);
    session.tips.setChanceView(&chance);
    session.backtest.setChanceView(&chance);
    window.show();
    QApplication::processEvents();

    auto* tabs = window.findChild<QTabWidget*>("PageControl1");
    auto* options = window.findChild<QTabWidget*>("PageControl2");
    const auto shootAll = [&](const QString& suffix) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            const QString name = tabs->tabText(i).toLower().remove(' ').remove('-');
            if (tabs->tabText(i) == "Optionen") {
                for (int k = 0; k < options->count(); ++k) {
                    options->setCurrentIndex(k);
                    save(&window, "main-optionen" + QString::number(k + 1) + suffix);
                }
            } else {
                save(&window, "main-" + name + suffix);
            }
        }
        tabs->setCurrentIndex(0);

        NumberChoice pick;
        pick.caption = "Zahlen für Berechnung wählen";
        for (int k = 1; k <= 70; ++k) pick.hint[static_cast<size_t>(k)] = std::to_string(k % 4);
        shootModal("dialog-zahlen" + suffix, [&] { prompter.numberDialog(pick); });
        NumberChoice entry;
        entry.entryVisible = true;
        entry.entryDate = dateValue(2026, 1, 5);
        entry.entryDigits = {0, 0, 7, 1, 2};
        entry.caption = "Zahlen wählen und mit OK bestätigen";
        entry.computeVisible = entry.randomVisible = entry.saveListVisible = entry.loadListVisible = false;
        shootModal("dialog-ziehung-eingeben" + suffix, [&] { prompter.numberDialog(entry); });

        GameOptions game;
        game.tips = 6;
        game.fee = 0.2;
        game.plus5 = true;
        game.stakeItem = 1;
        game.stakeText = "2 EUR";
        game.durationItem = 2;
        game.durationText = "3 Ziehungen";
        game.digits = {4, 0, 8, 1, 5};
        game.computeCost();
        NoGameActions actions;
        shootModal("dialog-spielauftrag" + suffix, [&] { prompter.gameOptionsDialog(game, actions); });
        ScriptDialogState script;
        script.templateList = {home.filePath("Script/Lotto_de_KENO.kcs").toStdString()};
        script.templatePath = script.templateList[0];
        shootModal("dialog-klickscript" + suffix, [&] { prompter.scriptDialog(script); });
        shootModal("dialog-email" + suffix, [&] { prompter.mailDialog(); });
        shootModal("dialog-einsatz" + suffix, [&] { prompter.stakeDialog("12,6"); });
    };
    shootAll("");
    window.resize(1280, 900);
    QApplication::processEvents();
    shootAll("-1280x900");
    window.resize(642, 573);

    // "Chancen" for the tip panel's type and stake, and "Vergleich mit dem Zufall" after an
    // "Erfolgstest" over 2025 with the lucky number 4711 typed into its box.
    session.tips.showOdds();
    save(chance.oddsDialog(), "dialog-chancen");
    chance.oddsDialog()->close();
    auto* lucky = new QTimer;
    lucky->setInterval(20);
    QObject::connect(lucky, &QTimer::timeout, [lucky] {
        if (auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            lucky->stop();
            lucky->deleteLater();
            box->setTextValue("4711");
            box->accept();
        }
    });
    lucky->start();
    session.model.setBrowseDate(dateValue(2025, 1, 2));
    session.backtest.run(BacktestKind::TipsPerDraw);
    if (chance.comparisonDialog()) save(chance.comparisonDialog(), "dialog-zufallsvergleich");
    window.close();
    return 0;
}
