// The tab pages on their own, without the main window: each builds its widgets, binds them to the
// session's model and controllers, and shows the model when told what changed.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cstring>

#include "app/Session.h"
#include "core/ports/SettingsStore.h"
#include "platform/SystemClock.h"
#include "support/TestSupport.h"
#include "tests/stats/StatsFixture.h"
#include "ui/pages/DatenbankPage.h"
#include "ui/pages/DiagrammTab.h"
#include "ui/pages/InternetOptionsPage.h"
#include "ui/pages/KenoTippPage.h"
#include "ui/pages/OptionsPage.h"
#include "ui/pages/PlayersPage.h"
#include "ui/pages/Plus5Page.h"
#include "ui/stats/BarChartView.h"
#include "ui/stats/DiagrammPage.h"
#include "ui/stats/Plus5StatsPanel.h"
#include "ui/widgets/GermanDateEdit.h"
#include "ui/widgets/GermanQt.h"

using namespace zf;

namespace {

struct Pages : ::testing::Test {
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    test::RecordingShell shell;
    test::RecordingSound sound;
    FixedClock clock{dateValue(2020, 2, 1)};
    MemorySettingsStore settings;
    Session session{prompter, dialogsOf(prompter), shell, sound, clock, settings};
    Model& m = session.model;

    template <class T> static T* find(QWidget& page, const char* name) {
        T* t = page.findChild<T*>(name);
        EXPECT_TRUE(t) << name;
        return t;
    }
};

} // namespace

// The statistics of the pages: the charts fill the placeholders of "Diagramm" and "Plus 5", the
// buttons of "Datenbank" and "Keno-Tipp" draw their charts and ask for the "Diagramm" tab.
TEST_F(Pages, StatisticsFillThePlaceholdersAndTheButtonsDrawTheirCharts) {
    session.app.chartsAtStart = true;
    m.home = dir.path();
    ui::DiagrammTab diagramm(session);
    ui::Plus5Page plus5(session);
    ui::DatenbankPage datenbank(session);
    ui::KenoTippPage kenoTipp(session);
    EXPECT_EQ(diagramm.statistics()->parentWidget()->objectName(), "DiagrammArea");
    EXPECT_EQ(plus5.statistics()->parentWidget()->objectName(), "Plus5Area");

    // First start: the Plus 5 chart comes before Keno.dat exists, quietly.
    session.stats.showPlus5Digits(6, false);
    EXPECT_TRUE(m.plus5Chart.points.empty());
    statstest::writeDraws(m.kenoPath(), {statstest::keno(10, 1, 2020, {1, 2, 3}, {1, 2, 3, 4, 5}),
                                         statstest::keno(11, 1, 2020, {4, 5, 6}, {6, 7, 8, 9, 0})});
    m.setBrowseDate(dateValue(2020, 1, 11));
    m.setStatsStart(dateValue(2020, 1, 1));
    session.app.activate(); // draws the number chart, and the Plus 5 chart the first start could not
    EXPECT_EQ(m.numberChart.caption, "Zahlenverteilung     Ziehungen: 2    Quersumme: 1014");
    EXPECT_EQ(m.plus5Chart.caption, "Zahlenverteilung Über alle Position   Ziehungen: 2    Quersumme: 22");
    EXPECT_TRUE(prompter.messages.empty());
    plus5.refresh(ChangeChart2);
    EXPECT_EQ(plus5.statistics()->chart()->shown(), m.plus5Chart);

    struct Click {
        QWidget* page;
        const char* button;
        const char* captionEnd;
    } clicks[] = {{&datenbank, "Button2", "Paare gefunden!"},
                  {&datenbank, "Button3", "Dreier gefunden!"},
                  {&datenbank, "Button4", "Vierer gefunden!"},
                  {&datenbank, "Button5", "nicht gezogen?"},
                  {&kenoTipp, "Button6", "des Tippes"}};
    for (const auto& c : clicks) {
        m.pageRequest.clear();
        find<QPushButton>(*c.page, c.button)->click();
        const std::string& caption = m.numberChart.caption;
        EXPECT_EQ(caption.substr(caption.size() - strlen(c.captionEnd)), c.captionEnd) << c.button;
        EXPECT_EQ(m.pageRequest, "Diagramm") << c.button;
        diagramm.refresh(ChangeChart1);
        EXPECT_EQ(diagramm.statistics()->chart()->shown(), m.numberChart) << c.button;
    }
}

// Every switch and field of the option pages writes the model when the user changes it, and shows
// the model's value again on ChangeOptions.
TEST_F(Pages, OptionWidgetsWriteTheModelAndShowIt) {
    ui::KenoTippPage kenoTipp(session);
    ui::OptionsPage options(session);
    ui::InternetOptionsPage internet(session);
    ui::PlayersPage players(session);
    auto refreshAll = [&] {
        kenoTipp.refresh(ChangeOptions);
        options.refresh(ChangeOptions);
        internet.refresh(ChangeOptions);
        players.refresh(ChangeOptions);
    };

    struct Switch {
        QWidget* page;
        const char* name;
        Opt option;
    } switches[] = {{&kenoTipp, "CheckBox28", Opt::ClearBeforeRun},
                    {&options, "CheckBox36", Opt::WinSound},
                    {&internet, "CheckBox16", Opt::WriteProtocol},
                    {&players, "CheckBox35", Opt::SendDirectly}};
    for (const Switch& s : switches) {
        auto* box = find<QCheckBox>(*s.page, s.name);
        for (bool on : {true, false}) {
            m.checkBoxes[static_cast<size_t>(s.option)] = on;
            refreshAll();
            EXPECT_EQ(box->isChecked(), on) << s.name;
            box->click();
            EXPECT_EQ(m.on(s.option), !on) << s.name;
        }
    }

    struct Field {
        const char* name;
        std::string Model::*value;
    } fields[] = {{"ProxyHostEdit", &Model::proxyHost},
                  {"ProxyPortEdit", &Model::proxyPort},
                  {"DownloadServerEdit", &Model::downloadServer},
                  {"Edit3", &Model::feeText}};
    for (const Field& f : fields) {
        auto* edit = find<QLineEdit>(internet, f.name);
        m.*f.value = "vom Modell";
        refreshAll();
        EXPECT_EQ(edit->text(), "vom Modell") << f.name;
        edit->clear();
        QTest::keyClicks(edit, "getippt");
        EXPECT_EQ(m.*f.value, "getippt") << f.name;
    }
}

// "Gesamt-Tipps" shows every number it takes whole, up to six digits.
TEST_F(Pages, GesamtTippsShowsSixDigits) {
    ui::KenoTippPage kenoTipp(session);
    kenoTipp.show();
    auto* edit = find<QLineEdit>(kenoTipp, "Edit1");
    edit->setText("500000");
    QApplication::processEvents();
    const int needed = edit->fontMetrics().horizontalAdvance("500000");
    EXPECT_LE(needed, edit->contentsRect().width() - 4) << "the field cuts the number";
}

// The Plus 5 tab says where Plus 5 numbers come from while no draw has one; its digit sums chart
// names itself and keeps its axis.
TEST_F(Pages, Plus5TabExplainsAHistoryWithoutPlus5Numbers) {
    m.home = dir.path();
    ui::Plus5Page plus5(session);
    plus5.resize(642, 480);
    plus5.show();
    auto* hint = find<QLabel>(plus5, "Plus5Hint");
    for (bool known : {false, true}) {
        test::writeDraws(dir.file("Keno.dat"), {test::draw(2020, 1, 10, 1, {1, 2, 3, 4, 5})});
        if (!known) {
            auto r = test::readDraws(dir.file("Keno.dat"));
            r[0].flags = kFlagNoPlus5;
            test::writeDraws(dir.file("Keno.dat"), r);
        }
        m.setBrowseDate(dateValue(2020, 1, 10));
        session.browser.seekDate();
        plus5.refresh(ChangeAll);
        QApplication::processEvents();
        EXPECT_EQ(hint->isVisible(), !known);
        if (!known) {
            EXPECT_LE(hint->heightForWidth(hint->width()), hint->fontMetrics().height() + 6) << "one line";
            find<QToolButton>(plus5, "SpeedButton40")->click();
            plus5.refresh(ChangeChart2);
            QApplication::processEvents();
            EXPECT_EQ(m.plus5Chart.caption, "Quersummenverteilung     Ziehungen: 0    Quersumme: -");
        }
    }
    find<QToolButton>(plus5, "SpeedButton40")->click();
    plus5.refresh(ChangeChart2);
    QApplication::processEvents();
    EXPECT_EQ(m.plus5Chart.caption, "Quersummenverteilung     Ziehungen: 1    Quersumme: 15");
}

// Qt's own dialogs, buttons and context menus speak German, whatever the machine's language.
TEST(GermanQt, StandardTextsAreGerman) {
    ASSERT_TRUE(ui::installGermanQtTranslations()) << "qtbase_de.qm is missing (package qt6-translations-l10n)";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Paste"), "Einf&ügen");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"), "Datei&name:");
}

// Every date field takes a date typed the German way; what is no date leaves the shown date alone.
TEST(GermanDateEdit, TakesDatesTypedWithDots) {
    const struct {
        const char* typed;
        QDate expected;
    } cases[] = {
        {"15.06.2020", QDate(2020, 6, 15)},  {"1.2.2021", QDate(2021, 2, 1)},     {"01.01.25", QDate(2025, 1, 1)},
        {"15062020", QDate(2020, 6, 15)},    {"31.02.2020", QDate(2025, 12, 29)}, // no such day
        {"15.06.1990", QDate(2025, 12, 29)}, // before the first day the field takes
    };
    for (const auto& c : cases) {
        ui::GermanDateEdit edit;
        edit.setMinimumDate(QDate(2004, 2, 1));
        edit.setDate(QDate(2025, 12, 29));
        edit.show();
        edit.setFocus();
        edit.selectAll();
        QTest::keyClicks(&edit, c.typed);
        QTest::keyClick(&edit, Qt::Key_Return);
        edit.clearFocus(); // leaving the field settles what was typed
        EXPECT_EQ(edit.date(), c.expected) << c.typed;
        EXPECT_EQ(edit.text(), c.expected.toString("dd.MM.yyyy")) << c.typed;
    }
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// "Tipps in den Warenkorb" asks the game options dialog and, closed with "Warenkorb", opens the cart.
TEST_F(Pages, HandOverButtonShowsTheGameOptionsAndOpensTheCart) {
    m.home = dir.path();
    m.tipLines = {"01,02,03"};
    ui::KenoTippPage kenoTipp(session);
    prompter.gameChoice = GameChoice::Cart;
    find<QPushButton>(kenoTipp, "SpeedButton12")->click();
    EXPECT_EQ(prompter.gameDialogs, 1);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0].rfind("https://partner.zahlfuchs.invalid/click.asp?ref=000000&site=00000", 0), 0u);
}
