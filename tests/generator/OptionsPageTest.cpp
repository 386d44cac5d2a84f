// The four pages of "Optionen" inside the real main window, offscreen: every option a sentence with its
// numbers in it, a tidy layout at the design size and larger, the binding to the model and the
// coupling of the up-downs.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/Model.h"
#include "app/Session.h"
#include "app/generator/GeneratorController.h"
#include "app/settings/ControlCatalogue.h"
#include "app/settings/SettingsPersistence.h"
#include "app/settings/SettingsSchema.h"
#include "base/GermanFormat.h"
#include "core/ports/SettingsStore.h"
#include "platform/SystemClock.h"
#include "platform/qt/QtHttpClient.h"
#include "support/TestSupport.h"
#include "ui/MainWindow.h"
#include "ui/generator/GeneratorOptionsPage.h"
#include "ui/generator/OptionLayout.h"

using namespace zf;
using zf::ui::GeneratorOptionsPage;

namespace {

const std::pair<const char*, OptionPage> kPages[] = {
    {"TabSheetStatistisch", OptionPage::Statistisch},
    {"TabSheetScheinOptimierung", OptionPage::ScheinOptimierung},
    {"TabSheetMathematisch", OptionPage::Mathematisch},
    {"TabSheetAllgemein", OptionPage::Allgemein},
};

struct OptionsWindow : ::testing::Test {
    QTemporaryDir dir;
    test::ScriptedPrompter prompter;
    test::RecordingShell shell;
    test::RecordingSound sound;
    MemorySettingsStore store;
    FixedClock clock{dateValue(2026, 3, 1)};
    QtHttpClient http;
    Session session{prompter, dialogsOf(prompter), shell, sound, clock, store, &http};
    std::unique_ptr<MainWindow> w;
    std::vector<GeneratorOptionsPage*> pages;

    void SetUp() override {
        w = std::make_unique<MainWindow>(session, dir.path().toStdString());
        // The tab "Optionen" builds one options page per inner tab and refreshes them with the options.
        for (auto [name, which] : kPages) {
            auto* page = w->findChild<QWidget*>(name);
            ASSERT_TRUE(page) << name;
            // The page class carries no meta object of its own: find it by the name it gives itself.
            auto* options = static_cast<GeneratorOptionsPage*>(
                page->findChild<QWidget*>(QString("GeneratorOptions") + name, Qt::FindDirectChildrenOnly));
            ASSERT_TRUE(options) << name;
            EXPECT_EQ(options->which(), which);
            pages.push_back(options);
        }
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        QApplication::processEvents();
    }
    void TearDown() override {
        w->model().listener = nullptr;
        w.reset();
    }
    Model& m() { return w->model(); }
    template <class T> T* find(const QString& name) {
        T* t = w->findChild<T*>(name);
        EXPECT_TRUE(t) << name.toStdString();
        return t;
    }
    void show(int page) {
        auto* outer = find<QTabWidget>("PageControl1");
        for (int i = 0; i < outer->count(); ++i)
            if (outer->tabText(i) == "Optionen") outer->setCurrentIndex(i);
        find<QTabWidget>("PageControl2")->setCurrentIndex(page);
        QApplication::processEvents();
    }
    // The controls and words a page shows, the main window's own switch included.
    std::vector<QWidget*> leaves(int page) {
        std::vector<QWidget*> out;
        QWidget* p = w->findChild<QWidget*>(kPages[page].first);
        for (QWidget* c : p->findChildren<QWidget*>()) {
            if (!c->isVisible()) continue;
            if (qobject_cast<QLabel*>(c) || qobject_cast<QCheckBox*>(c) || qobject_cast<QAbstractSpinBox*>(c) ||
                qobject_cast<QComboBox*>(c))
                if (!qobject_cast<QAbstractSpinBox*>(c->parentWidget())) out.push_back(c);
        }
        return out;
    }
    QRect inPage(QWidget* c, int page) {
        QWidget* p = w->findChild<QWidget*>(kPages[page].first);
        return QRect(c->mapTo(p, QPoint(0, 0)), c->size());
    }
};

// The words and numbers of one sentence, read from left to right on the screen.
std::vector<std::string> readRow(const std::vector<QWidget*>& leaves, QWidget* first, QWidget* page) {
    const QRect row(first->mapTo(page, QPoint(0, 0)), first->size());
    std::vector<std::pair<int, std::string>> items;
    for (QWidget* c : leaves) {
        const QRect r(c->mapTo(page, QPoint(0, 0)), c->size());
        if (std::abs(r.center().y() - row.center().y()) > row.height() / 2) continue;
        if (auto* b = qobject_cast<QCheckBox*>(c)) {
            if (c != first) continue; // a "seltensten" switch beside the sentence
            items.push_back({r.x(), b->text().toStdString()});
        } else if (auto* l = qobject_cast<QLabel*>(c)) {
            items.push_back({r.x(), l->text().toStdString()});
        } else {
            items.push_back({r.x(), "#" + c->objectName().toStdString()});
        }
    }
    std::sort(items.begin(), items.end());
    std::vector<std::string> out;
    for (auto& [x, t] : items) out.push_back(t);
    return out;
}

} // namespace

TEST_F(OptionsWindow, EveryOptionReadsAsOneSentence) {
    for (int p = 0; p < 4; ++p) {
        show(p);
        QWidget* page = w->findChild<QWidget*>(kPages[p].first);
        const auto all = leaves(p);
        for (const OptionDef& d : optionTable()) {
            if (d.page != kPages[p].second || d.besideOf) continue;
            std::vector<std::string> expected;
            for (const OptionPiece& piece : d.pieces) {
                switch (piece.kind) {
                case OptionPiece::Kind::Text:
                    expected.push_back(piece.text);
                    break;
                case OptionPiece::Kind::UpDown:
                    expected.push_back("#UpDown" + std::to_string(piece.upDown));
                    break;
                case OptionPiece::Kind::ComboBox3:
                    expected.push_back("#ComboBox3");
                    break;
                case OptionPiece::Kind::DateTimePicker3:
                    expected.push_back("#DateTimePicker3");
                    break;
                }
            }
            QWidget* first =
                d.checkBox ? static_cast<QWidget*>(find<QCheckBox>(QString("CheckBox%1").arg(d.checkBox))) : nullptr;
            if (!first) {
                for (QWidget* c : all)
                    if (auto* l = qobject_cast<QLabel*>(c); l && l->text().toStdString() == d.pieces[0].text) first = c;
            }
            ASSERT_TRUE(first) << d.caption();
            EXPECT_EQ(readRow(all, first, page), expected) << d.caption();
            if (!d.hint.empty()) {
                EXPECT_EQ(first->toolTip().toStdString(), d.hint);
            }
        }
    }
    // the names of the edit fields and the labels that have one
    EXPECT_EQ(find<QSpinBox>("UpDown6")->findChild<QLineEdit*>()->objectName(), "Edit42");
    EXPECT_EQ(find<QSpinBox>("UpDown20")->findChild<QLineEdit*>()->objectName(), "Edit6");
    EXPECT_EQ(find<QSpinBox>("UpDown7")->findChild<QLineEdit*>()->objectName(), "Edit55");
    // (the main window has a Label62 of its own on another tab)
    EXPECT_EQ(w->findChild<QWidget*>("TabSheetMathematisch")->findChild<QLabel*>("Label42")->text(), "Quersummer von");
    EXPECT_EQ(w->findChild<QWidget*>("TabSheetStatistisch")->findChild<QLabel*>("Label62")->text(),
              "Spezial-Einstellung:");
    EXPECT_EQ(find<QCheckBox>("CheckBox11")->text(), "seltensten");
}

TEST_F(OptionsWindow, PagesAreTidyAtTheDesignSizeAndLarger) {
    for (int grow = 0; grow < 2; ++grow) {
        if (grow) {
            w->resize(w->width(), w->height() * 11 / 10);
            QApplication::processEvents();
        }
        for (int p = 0; p < 4; ++p) {
            SCOPED_TRACE(std::string(kPages[p].first) + (grow ? " 110 %" : ""));
            show(p);
            QWidget* page = w->findChild<QWidget*>(kPages[p].first);
            const auto all = leaves(p);
            ASSERT_GT(all.size(), 3u);
            for (QWidget* c : all) {
                const QRect r = inPage(c, p);
                EXPECT_TRUE(page->rect().contains(r)) << c->objectName().toStdString() << " leaves the page";
                if (qobject_cast<QLabel*>(c) || qobject_cast<QCheckBox*>(c)) {
                    EXPECT_GE(c->width(), c->sizeHint().width()) << c->objectName().toStdString() << " is cut off";
                }
                for (QWidget* o : all) {
                    if (o < c) {
                        EXPECT_FALSE(r.intersects(inPage(o, p)))
                            << c->objectName().toStdString() << " overlaps " << o->objectName().toStdString();
                    }
                }
            }
        }
    }
}

TEST_F(OptionsWindow, ControlsAreBoundToTheModel) {
    show(0);
    find<QCheckBox>("CheckBox2")->click();
    EXPECT_TRUE(m().on(Opt::PreferFrequent));
    find<QSpinBox>("UpDown6")->setValue(7);
    EXPECT_EQ(m().num(Num::HistoryMatch).pos, 7);
    find<QComboBox>("ComboBox3")->setCurrentIndex(0);
    EXPECT_EQ(m().recentDrawsItem, 0);
    m().yearlyDate = dateValue(2026, 3, 2) + 0.25;
    find<QDateEdit>("DateTimePicker3")->setDate(QDate(2010, 6, 18));
    EXPECT_DOUBLE_EQ(m().yearlyDate, dateValue(2010, 6, 18) + 0.25);

    // A click on the words of a sentence toggles its switch.
    QLabel* words = find<QLabel>("CheckBox9Text1");
    EXPECT_EQ(words->text(), "er aus der Datenbank entsprechen");
    const bool before = m().on(Opt::NoHistoryMatch);
    QTest::mouseClick(words, Qt::LeftButton);
    EXPECT_EQ(m().on(Opt::NoHistoryMatch), !before);

    // The model changed elsewhere (a restore, a run): refresh shows it.
    m().on(Opt::PreferOverdue) = false;
    m().num(Num::OverdueBand).set(55);
    m().recentDrawsItem = -1;
    m().notify(ChangeOptions);
    EXPECT_FALSE(find<QCheckBox>("CheckBox10")->isChecked());
    EXPECT_EQ(find<QSpinBox>("UpDown13")->value(), 55);
    EXPECT_EQ(find<QSpinBox>("UpDown13")->text(), "55 %");
    EXPECT_EQ(find<QComboBox>("ComboBox3")->currentIndex(), -1);
}

TEST_F(OptionsWindow, ArrowsCoupleTheControlsTypingDoesNot) {
    show(0);
    auto* minimum = find<QSpinBox>("UpDown21");
    auto* maximum = find<QSpinBox>("UpDown4");
    ASSERT_EQ(maximum->value(), 3);
    minimum->setFocus();
    for (int i = 0; i < 5; ++i) QTest::keyClick(minimum, Qt::Key_Up); // the arrows: 5 drags the maximum to 5
    EXPECT_EQ(m().num(Num::LastDrawMin).pos, 5);
    EXPECT_EQ(m().num(Num::LastDrawMax).pos, 5);
    EXPECT_EQ(maximum->value(), 5);
    QTest::keyClick(maximum, Qt::Key_Down); // lowering the maximum below the minimum drags it down
    EXPECT_EQ(m().num(Num::LastDrawMax).pos, 4);
    EXPECT_EQ(m().num(Num::LastDrawMin).pos, 4);

    // Typed numbers bypass the coupling: a minimum above the maximum can be entered.
    QLineEdit* edit = find<QLineEdit>("Edit7");
    edit->selectAll();
    QTest::keyClicks(edit, "9");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(m().num(Num::LastDrawMin).pos, 9);
    EXPECT_EQ(m().num(Num::LastDrawMax).pos, 4);

    // Mouse on the arrows of the overlap controls: UpDown3 caps UpDown1, UpDown1 floors UpDown3.
    show(1);
    auto* overlapMax = find<QSpinBox>("UpDown3");
    auto* overlapMin = find<QSpinBox>("UpDown1");
    const QPoint down(overlapMax->width() - 4, overlapMax->height() - 4); // the lower arrow
    QTest::mousePress(overlapMax, Qt::LeftButton, {}, down);
    QTest::mouseRelease(overlapMax, Qt::LeftButton, {}, down);
    EXPECT_EQ(m().num(Num::MinOverlap).max, 5); // the position when the button went down
    EXPECT_EQ(m().num(Num::MaxOverlap).pos, 4);
    EXPECT_EQ(overlapMin->maximum(), 5);
    overlapMin->setValue(4);
    const QPoint up(overlapMin->width() - 4, 4);
    QTest::mousePress(overlapMin, Qt::LeftButton, {}, up);
    QTest::mouseRelease(overlapMin, Qt::LeftButton, {}, up);
    EXPECT_EQ(m().num(Num::MinOverlap).pos, 5);
    EXPECT_EQ(m().num(Num::MaxOverlap).min, 5);
    EXPECT_EQ(overlapMax->value(), 5);

    // UpDown7's arrows set the attempt limit from the position before the change.
    show(3);
    auto* runs = find<QSpinBox>("UpDown7");
    runs->setFocus();
    QTest::keyClick(runs, Qt::Key_Up);
    EXPECT_EQ(m().num(Num::AttemptThousands).pos, 101);
    EXPECT_EQ(m().attemptLimit, 100000);
}

TEST_F(OptionsWindow, AllgemeinKeepsClearOfTheSoundSwitch) {
    show(3);
    auto* sound = find<QCheckBox>("CheckBox36");
    auto* first = find<QCheckBox>("CheckBox20");
    QWidget* page = w->findChild<QWidget*>("TabSheetAllgemein");
    EXPECT_GT(first->mapTo(page, QPoint(0, 0)).y(), sound->geometry().bottom());
}

using OptionTable = OptionsWindow;

namespace {

// The options of one page as the tables of the generator options read: each switch with its design
// state, then the caption pieces in order with each number control's range and design value, e.g.
// "CheckBox9 ticked | Tipp darf noch keinen | UpDown6/Edit42: 1..10, 10 | er aus der Datenbank entsprechen".
std::vector<std::string> pageRows(OptionPage page, const QStringList& comboBox3Items) {
    std::vector<std::string> rows;
    for (const OptionDef& d : optionTable()) {
        if (d.page != page) continue;
        std::vector<std::string> parts;
        if (d.checkBox) {
            const bool ticked = checkBoxTable().at(static_cast<size_t>(d.checkBox - 1)).designTicked;
            std::string s = "CheckBox" + std::to_string(d.checkBox) + (ticked ? " ticked" : " not ticked");
            if (d.besideOf) s += " beside CheckBox" + std::to_string(d.besideOf);
            parts.push_back(s);
        } else if (!d.label.empty()) {
            parts.push_back(d.label);
        }
        for (const OptionPiece& piece : d.pieces) {
            switch (piece.kind) {
            case OptionPiece::Kind::Text:
                parts.push_back(piece.text);
                break;
            case OptionPiece::Kind::UpDown: {
                const UpDownDef& u = upDownDef(piece.upDown);
                parts.push_back("UpDown" + std::to_string(u.number) + "/" + u.edit + ": " + std::to_string(u.min) +
                                ".." + std::to_string(u.max) + ", " + std::to_string(u.design));
                break;
            }
            case OptionPiece::Kind::ComboBox3:
                parts.push_back("ComboBox3: " + comboBox3Items.join(", ").toStdString());
                break;
            case OptionPiece::Kind::DateTimePicker3:
                parts.push_back("DateTimePicker3");
                break;
            }
        }
        std::string row;
        for (const std::string& part : parts) row += (row.empty() ? "" : " | ") + part;
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TEST_F(OptionTable, StatistischAsSpecified) {
    auto* recent = find<QComboBox>("ComboBox3");
    QStringList items;
    for (int i = 0; i < recent->count(); ++i) items << recent->itemText(i);
    EXPECT_EQ(
        pageRows(OptionPage::Statistisch, items),
        (std::vector<std::string>{
            "CheckBox2 not ticked | Zahlen die besonders oft gezogen wurden bevorzugen | UpDown12/Edit85: 5..75, 30",
            "CheckBox14 ticked | Zahlen die besonders selten gezogen wurden bevorzugen | UpDown14/Edit87: 5..75, 30",
            "CheckBox10 ticked | Zahlen die am längsten überfällig sind | UpDown13/Edit86: 5..75, 30",
            "CheckBox9 ticked | Tipp darf noch keinen | UpDown6/Edit42: 1..10, 10 | er aus der Datenbank entsprechen",
            "CheckBox17 ticked | Tipp darf keinen | UpDown19/Edit4: 1..10, 6 | er  in den letzten | "
            "UpDown20/Edit6: 1..356, 21 | Ziehungen entsprechen",
            "CheckBox4 ticked | maximal | UpDown4/Edit40: 0..10, 3 | und minimal | UpDown21/Edit7: 0..10, 0 | "
            "Zahl der letzten Ziehung zulassen",
            "CheckBox5 ticked | maximal | UpDown5/Edit41: 0..10, 3 | und minimal | UpDown22/Edit8: 0..10, 0 | "
            "Zahl der vorletzten Ziehung zulassen",
            "CheckBox23 ticked | maximal | UpDown11/Edit84: 0..10, 3 | und minimal | UpDown23/Edit9: 0..10, 0 | "
            "Zahl der vorvorletzten Ziehung zulassen",
            "Label62 | Spezial-Einstellung:",
            "CheckBox31 not ticked | Zahlen der letzte | ComboBox3: 1, 2, 3 | Ziehungen verwenden",
            "CheckBox30 not ticked | Zahlen der Ziehungen eines Datums in allen Jahren | DateTimePicker3",
            "CheckBox29 not ticked | pro Tipp nur eine Zahl pro Zehner (ist 7 Zahlen)",
        }));
}

TEST_F(OptionTable, ScheinOptimierungAsSpecified) {
    EXPECT_EQ(pageRows(OptionPage::ScheinOptimierung, {}),
              (std::vector<std::string>{
                  "CheckBox3 ticked | maximal | UpDown3/Edit39: 0..9, 5 | Übereinstimmungen mit anderen Tipps",
                  "CheckBox24 ticked | minimal | UpDown1/Edit88: 0..9, 0 | Übereinstimmungen mit anderen Tipps",
                  "CheckBox32 ticked | maximal | UpDown24/Edit10: 0..9, 5 | Vorkommen einer Zahl in allen Tipps",
                  "CheckBox8 not ticked | eine Paarbildung pro Tipp erzwingen",
                  "CheckBox18 ticked | keine Dreie, Vierer... Paare",
                  "CheckBox1 not ticked | Zahlen mit einer häufigen Paarebildung bevorzugen",
                  "CheckBox11 not ticked beside CheckBox1 | seltensten",
                  "CheckBox6 not ticked | Zahlen mit einer häufigen Dreiergruppenbildung bevorzugen",
                  "CheckBox12 not ticked beside CheckBox6 | seltensten",
                  "CheckBox7 not ticked | Zahlen mit einer häufigen Viergruppenbildung bevorzugen",
                  "CheckBox13 not ticked beside CheckBox7 | seltensten",
              }));
}

TEST_F(OptionTable, MathematischAsSpecified) {
    EXPECT_EQ(pageRows(OptionPage::Mathematisch, {}),
              (std::vector<std::string>{
                  "Label42 | Quersummer von | UpDown2/Edit37: 1..750, 100 | bis | UpDown15/Edit38: 750..1400, 1200 | "
                  "im Tipp zulassen",
                  "CheckBox22 not ticked | mindestens | UpDown10/Edit83: 0..6, 2 | Primzahlen in jedem Tipp",
                  "CheckBox25 not ticked | mindestens | UpDown16/Edit89: 0..6, 2 | gerade Zahlen in jedem Tipp",
                  "CheckBox26 not ticked | mindestens | UpDown17/Edit90: 0..6, 2 | ungerade Zahlen in jedem Tipp",
              }));
}

TEST_F(OptionTable, AllgemeinAsSpecified) {
    EXPECT_EQ(pageRows(OptionPage::Allgemein, {}),
              (std::vector<std::string>{
                  "CheckBox20 not ticked | Liste bearbeiten",
                  "CheckBox19 not ticked | benachbarte Zahlen der letzten Ziehung bevorzugen",
                  "CheckBox15 not ticked | für den Tipp nur bevorzugte Zahlen verwenden!",
                  "Max.Berechnungsläufe | UpDown7/Edit55: 1..10000, 100 | Tausend",
              }));
}

int main(int argc, char** argv) {
    // Listing the tests happens without a display too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
