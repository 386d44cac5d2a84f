// The tab pages on their own, without the main window: each builds its widgets, binds them to the
// session's model and controllers, and shows the model when told what changed.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cstring>

#include "app/Session.h"
#include "app/settings/SettingsPersistence.h"
#include "app/settings/SettingsSchema.h"
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
#include "ui/widgets/WidgetHelpers.h"

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

// A control of a page: its caption (none: an icon) and its hint (none: it has none).
struct Control {
    const char* name;
    const char* caption;
    const char* hint;
};

void expectControls(QWidget& page, std::initializer_list<Control> controls) {
    for (const Control& c : controls) {
        QWidget* w = page.findChild<QWidget*>(c.name);
        ASSERT_TRUE(w) << c.name;
        if (c.caption) {
            const auto* b = qobject_cast<QAbstractButton*>(w);
            const auto* l = qobject_cast<QLabel*>(w);
            ASSERT_TRUE(b || l) << c.name;
            EXPECT_EQ((b ? b->text() : l->text()).toStdString(), c.caption) << c.name;
        }
        EXPECT_EQ(w->toolTip().toStdString(), c.hint ? c.hint : "") << c.name;
    }
}

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

// The kinds of stored values: the registry type and size every value of a kind is written with, how a
// stored value reads, and the four bits of the font style.
TEST(SettingKinds, StoredAsTheirRegistryTypes) {
    const struct {
        SettingKind kind;
        RegType type;
        size_t bytes; // of a binary value
        const char* example;
        RegValue stored, readBack;
    } rows[] = {
        {SettingKind::Boolean, RegType::Dword, 0, "Plus5", RegValue::ofInt(7), RegValue::ofInt(1)}, // non-zero: true
        {SettingKind::Integer, RegType::Dword, 0, "NeuerSchein", RegValue::ofInt(-3), RegValue::ofInt(-3)},
        {SettingKind::String, RegType::String, 0, "EINPREIS", RegValue::ofString("1,50"), RegValue::ofString("1,50")},
        {SettingKind::Float, RegType::Binary, 8, "Preis", RegValue::ofDouble(2.5), RegValue::ofDouble(2.5)},
        {SettingKind::Date, RegType::Binary, 8, "DateTimePicker2", RegValue::ofDouble(dateValue(2020, 5, 4)),
         RegValue::ofDouble(dateValue(2020, 5, 4))},
        {SettingKind::FontStyle, RegType::Binary, 1, "SystemFontStyle", RegValue::ofBinary({5}),
         RegValue::ofBinary({5})},
    };
    const Model design;
    for (const auto& r : rows) {
        const int kind = static_cast<int>(r.kind);
        for (const SettingDef& d : settingsTable()) { // every value of the kind is written so
            if (d.kind != r.kind) continue;
            const RegValue v = d.save(design);
            EXPECT_EQ(v.type, r.type) << d.name;
            if (r.type == RegType::Binary) {
                EXPECT_EQ(v.bin.size(), r.bytes) << d.name;
            }
        }
        EXPECT_FALSE(rightType(r.kind, RegValue::ofBinary(std::vector<uint8_t>(r.bytes + 1)))) << kind;
        EXPECT_FALSE(rightType(r.kind, r.type == RegType::String ? RegValue::ofInt(1) : RegValue::ofString("1")))
            << kind;
        MemorySettingsStore store;
        store.set(kSettingsKey, "SystemFontName", RegValue::ofString("DejaVu Sans"));
        store.set(kSettingsKey, r.example, r.stored);
        Model m;
        EXPECT_FALSE(restoreSettings(m, store, dateValue(2020, 6, 1))) << r.example;
        EXPECT_EQ(findSetting(r.example)->save(m), r.readBack) << r.example;
    }
    // bit 0 bold, bit 1 italic, bit 2 underline, bit 3 strike-out
    const struct {
        uint8_t style;
        bool (QFont::*on)() const;
    } bits[] = {{1, &QFont::bold}, {2, &QFont::italic}, {4, &QFont::underline}, {8, &QFont::strikeOut}};
    for (const auto& b : bits) {
        FontState s;
        s.style = b.style;
        const QFont f = ui::fontOf(s);
        for (const auto& other : bits) EXPECT_EQ((f.*other.on)(), &other == &b) << int(b.style);
        FontState back;
        ui::storeFont(back, f);
        EXPECT_EQ(back.style, b.style);
    }
}

using CheckBoxes = Pages;

// The check boxes behind "Chekcbox1" ... "Chekcbox36": where each sits and what a first start shows.
TEST_F(CheckBoxes, EveryDesignStateAsSpecified) {
    ui::KenoTippPage kenoTipp(session);
    ui::OptionsPage options(session);
    ui::InternetOptionsPage internet(session);
    ui::PlayersPage players(session);
    struct Row {
        int n;
        QWidget* page; // none for the hidden one
        const char* caption;
        bool ticked;
    };
    std::vector<Row> rows;
    const std::vector<int> tickedOptions = {3, 4, 5, 9, 10, 14, 17, 18, 23, 24, 27, 32};
    for (int n = 1; n <= 32; ++n) {
        if (n == 16 || n == 21 || n == 28) continue;
        const bool ticked = std::find(tickedOptions.begin(), tickedOptions.end(), n) != tickedOptions.end();
        rows.push_back({n, n == 27 ? nullptr : &options, nullptr, ticked}); // captions: the option tables
    }
    rows.push_back({16, &internet, "Abgabeprotokoll erstellen und Spieleinsätz eintragen", false});
    rows.push_back({28, &kenoTipp, "Löschen vor Berechnung", true});
    rows.push_back({35, &players, "Direkt senden", false});
    rows.push_back({36, options.findChild<QWidget*>("TabSheetAllgemein"), "Gewinn Sound spielen", true});
    kenoTipp.refresh(ChangeOptions);
    options.refresh(ChangeOptions);
    internet.refresh(ChangeOptions);
    players.refresh(ChangeOptions);
    for (const Row& r : rows) {
        const QString name = QString("CheckBox%1").arg(r.n);
        EXPECT_EQ(m.checkBoxes[static_cast<size_t>(r.n)], r.ticked) << r.n;
        if (!r.page) continue;
        auto* box = r.page->findChild<QCheckBox*>(name);
        ASSERT_TRUE(box) << r.n;
        EXPECT_EQ(box->isChecked(), r.ticked) << r.n;
        if (r.caption) {
            EXPECT_EQ(box->text().toStdString(), r.caption);
        }
    }
}

using TipPanel = Pages;

// The tip panel beside the tip list: label, control, edit, range and design value of each.
TEST_F(TipPanel, EveryControlAsSpecified) {
    ui::KenoTippPage page(session);
    page.refresh(ChangeOptions);
    const struct {
        const char* label;
        const char* caption;
        const char* hint;
        const char* upDown;
        const char* edit;
        int min, max, design;
    } rows[] = {
        {"Label20", "Zahlen pro Tipp", "", "UpDown18", "Edit5", 2, 10, 10},
        {"Label21", "Tipps pro Schein", "", "UpDown8", "Edit80", 1, 5, 5},
        {"Label22", "Gesamt-Tipps", "Wieviele Tipps wollen Sie berechnen?", "UpDown9", "Edit1", 1, 120, 5},
    };
    for (const auto& r : rows) {
        auto* label = find<QLabel>(page, r.label);
        auto* box = find<QSpinBox>(page, r.upDown);
        ASSERT_TRUE(label && box) << r.upDown;
        EXPECT_EQ(label->text().toStdString(), r.caption);
        EXPECT_EQ(label->toolTip().toStdString(), r.hint);
        EXPECT_EQ(label->buddy(), box) << r.upDown;
        EXPECT_EQ(box->findChild<QLineEdit*>()->objectName().toStdString(), r.edit);
        EXPECT_EQ(box->value(), r.design) << r.upDown;
        // the arrows stop at the ends of the range ("Gesamt-Tipps" takes larger numbers typed)
        box->setValue(r.max);
        box->stepBy(1);
        EXPECT_EQ(box->value(), r.max) << r.upDown;
        box->setValue(r.min);
        box->stepBy(-1);
        EXPECT_EQ(box->value(), r.min) << r.upDown;
    }
    auto* clear = find<QCheckBox>(page, "CheckBox28");
    EXPECT_EQ(clear->text(), "Löschen vor Berechnung");
    EXPECT_EQ(clear->toolTip(),
              "Wollen Sie weitere Tipps mit veränderten Optionen berechnen, löschen Sie die Markierung");
    EXPECT_TRUE(clear->isChecked());
    auto* stake = find<QComboBox>(page, "ComboBox1");
    QStringList items;
    for (int i = 0; i < stake->count(); ++i) items << stake->itemText(i);
    EXPECT_EQ(items, QStringList({"1 EUR", "2 EUR", "5 EUR", "10 EUR"}));
    EXPECT_EQ(stake->currentText(), "1 EUR");
}

using Backtests = Pages;

// The seven backtests of "Datenbank": button, caption and what each tests.
TEST_F(Backtests, EveryButtonAsSpecified) {
    ui::DatenbankPage page(session);
    EXPECT_EQ(find<QLabel>(page, "Label38")->text(),
              "Historische Analyse der Parameter beginnenden mit oben gewähltem Datum");
    EXPECT_EQ(find<QLabel>(page, "Label39")->text(), "Historische Analyse  beginnen mit dem obigen Datum");
    const struct {
        BacktestKind kind;
        const char* button;
        const char* caption;
        bool generatedTips, passSums;
    } rows[] = {
        {BacktestKind::TipsUntilToday, "BitBtn9", "Tipp berechnen und Test welchen Erfolg dieser bis Heute hätte", true,
         false},
        {BacktestKind::TipsPerDraw, "Erfolgstest",
         "Tipp berechnen und jeweils den Erfolg in der nächsten Ziehung testen", true, false},
        {BacktestKind::NextDraw, "Button7",
         "Test wie oft die gezogenen Zahlen in der jeweils nächsten Ziehung auftreten", false, false},
        {BacktestKind::SecondNextDraw, "Button8",
         "Test wie oft die Zahlen in der jeweils übernächsten Ziehung auftreten", false, false},
        {BacktestKind::ThirdNextDraw, "Button9",
         "Test wie oft die Zahlen in der jeweils überübernächsten Ziehung auftreten", false, false},
        {BacktestKind::NextThreeDraws, "Button10", "Test wie oft die Zahlen in den nächsten 3 Ziehungen vorkommen",
         false, true},
        {BacktestKind::LastThreeDraws, "Button11", "Test wie oft die Zahlen in den letzten 3 Ziehungen vorkommen",
         false, true},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(backtestName(r.kind), r.button);
        EXPECT_EQ(find<QPushButton>(page, r.button)->text().toStdString(), r.caption);
        EXPECT_EQ(isGeneratorBacktest(r.kind), r.generatedTips) << r.button;
        EXPECT_EQ(hasPassSums(r.kind), r.passSums) << r.button;
    }
}

using UpdateControls = Pages;

// The controls of the internet update: its two buttons, the stop button hidden until it runs, the proxy.
TEST_F(UpdateControls, EveryControlAsSpecified) {
    ui::DatenbankPage datenbank(session);
    ui::KenoTippPage kenoTipp(session);
    ui::InternetOptionsPage internet(session);
    restoreSettings(m, MemorySettingsStore(), clock.now()); // a first start
    m.downloadServer = "http://ziehungen.test/";
    kenoTipp.refresh(ChangeOptions);
    internet.refresh(ChangeOptions);
    expectControls(datenbank,
                   {{"BitBtn1", "Datenbank aktualisieren", nullptr}, {"SpeedButton8", nullptr, "Stoppt das Einlesen"}});
    EXPECT_TRUE(find<QWidget>(datenbank, "SpeedButton8")->isHidden());
    expectControls(kenoTipp, {{"SpeedButton10", nullptr,
                               "Aktualisieren der Lottozahlen aus dem Internet http://ziehungen.test/"}});
    expectControls(internet, {{"Label47", "Proxy-Server", nullptr}, {"Label48", "Porxy-Port", nullptr}});
    EXPECT_EQ(find<QLabel>(internet, "Label47")->buddy(), find<QLineEdit>(internet, "ProxyHostEdit"));
    EXPECT_EQ(find<QLabel>(internet, "Label48")->buddy(), find<QLineEdit>(internet, "ProxyPortEdit"));
    EXPECT_EQ(find<QLineEdit>(internet, "ProxyPortEdit")->text(), "80");
}

using BrowserControls = Pages;

// The buttons of the draw browser on the three tabs that show the draw.
TEST_F(BrowserControls, EveryControlAsSpecified) {
    ui::DatenbankPage datenbank(session);
    ui::KenoTippPage kenoTipp(session);
    ui::Plus5Page plus5(session);
    expectControls(datenbank,
                   {{"SpeedButton5", nullptr, "Ziehungsdaten afür das gewählte Datu aus der Datenbank heraussuchen"},
                    {"BitBtn6", "Löschen", nullptr}});
    for (const char* name : {"SpeedButton6", "SpeedButton7"}) EXPECT_TRUE(find<QWidget>(kenoTipp, name));
    for (const char* name : {"SpeedButton30", "SpeedButton18"}) EXPECT_TRUE(find<QWidget>(plus5, name));
}

using TipListCommands = Pages;

// Add, edit, delete one and delete all beside the tip list.
TEST_F(TipListCommands, EveryButtonAsSpecified) {
    ui::KenoTippPage page(session);
    expectControls(page, {{"SpeedButton36", nullptr, "Einen neuen Tipp zur Liste hinzufügen"},
                          {"SpeedEdit", "Bearbeiten", "Zahlen des gewählten Tipps bearbeiten oder ändern"},
                          {"SpeedButton32", nullptr, "Löscht den ausgewählten Tipp"},
                          {"SpeedButton11", "Löschen", "Löschen aller Tipps"}});
}

using TipFileCommands = Pages;

// Save, load and print the tip list.
TEST_F(TipFileCommands, EveryButtonAsSpecified) {
    ui::KenoTippPage page(session);
    expectControls(page, {{"SpeedButton15", nullptr, "Speichern des berechneten Tipps in einer Datei"},
                          {"SpeedButton16", nullptr, "Laden eines Tipps aus einer Datei"},
                          {"BitBtn7", "Tipp drucken",
                           "Der Tipp wurd als Textgespeichert und angezeigt. Kann natürlich auch gedrucktwerden und "
                           "zur annahmestelle gebracht werden."}});
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
