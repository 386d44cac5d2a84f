// zahlfuchs: the desktop program.
#include <QApplication>
#include <QCommandLineParser>

#include <memory>

#include "core/ports/SettingsStore.h"
#include "platform/SystemClock.h"
#include "platform/curl/CurlMailTransport.h"
#include "platform/qt/Paths.h"
#include "platform/qt/QtDdeClient.h"
#include "platform/qt/QtHttpClient.h"
#include "platform/qt/QtPrompter.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtSoundPlayer.h"
#include "ui/MainWindow.h"
#include "ui/dialogs/ChanceDialogs.h"
#include "ui/dialogs/DesktopPrompter.h"
#include "ui/dialogs/GameOptionsDialog.h"
#include "ui/dialogs/NumberDialog.h"
#include "ui/dialogs/ScriptDialog.h"
#include "ui/widgets/GermanQt.h"

using namespace zf;

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Zahlfuchs");
    // No display name: Qt would append " — Zahlfuchs" to the window's own caption.
    ui::installGermanQtTranslations();

    QCommandLineParser parser;
    parser.setApplicationDescription("Zahlfuchs, Tipps für KENO und Plus 5");
    parser.addHelpOption();
    const QCommandLineOption homeOption("home", "Programmverzeichnis mit Keno.dat und tipps.txt.", "DIR");
    parser.addOption(homeOption);
    const QCommandLineOption settingsOption("settings", "Einstellungsdatei statt der des Benutzers.", "FILE");
    parser.addOption(settingsOption);
    parser.process(qapp);

    FileSettingsStore settings(parser.isSet(settingsOption) ? parser.value(settingsOption).toStdString()
                                                            : defaultSettingsPath());
    settings.load(); // a missing file is a first start; what could not be read is reported at start-up
    ui::DesktopPrompter prompter;
    QtShell shell;
    QtSoundPlayer sound;
    SystemClock clock;
    QtHttpClient http;
    QtDdeClient dde;
    Session session(prompter, dialogsOf(prompter), shell, sound, clock, settings, &http, &dde);
    CurlMailTransport mailTransport;
    session.mail.setTransport(&mailTransport);
    session.model.localHelp = localHelpPage();

    const std::string home = parser.isSet(homeOption) ? parser.value(homeOption).toStdString()
                                                      : resolveHome(programDirectory(), userDataDirectory());
    MainWindow window(session, home);
    prompter.setParent(&window);
    prompter.setupNumberDialog(
        window.model().random, [&clock] { return clock.now(); }, [&window] { return window.model().home; }, &window);
    window.addScaledWindow(prompter.numberDialogWindow());
    prompter.setupMailDialog(session.mail, &window);
    prompter.setupSubmissionDialogs(&window);
    window.addScaledWindow(prompter.gameOptionsWindow());
    window.addScaledWindow(prompter.scriptWindow());
    ui::ChanceDialogs chance(&window); // "Chancen" and "Vergleich mit dem Zufall"
    session.tips.setChanceView(&chance);
    session.backtest.setChanceView(&chance);
    window.show();
    return QApplication::exec();
}
