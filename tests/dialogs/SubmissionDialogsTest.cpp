// The hand-over dialogs: "Onlineabgabe des Tippscheins" (TForm5) and the script dialog (TKcsForm).
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "ui/dialogs/GameOptionsDialog.h"
#include "ui/dialogs/ScriptDialog.h"
#include "ui/widgets/DesignScale.h"

using namespace zf;
using namespace zf::test;

namespace {

struct RecordingActions : GameOptionsActions {
    std::vector<std::string> calls;
    void randomTicket(GameOptions& o) override {
        calls.push_back("random");
        o.digits = {9, 9, 9, 9, 9};
    }
    void neverDrawnTicket(GameOptions& o) override {
        calls.push_back("never");
        o.digits = {1, 0, 0, 0, 1};
    }
    void checkTicket(const GameOptions& o) override { calls.push_back("check " + std::to_string(o.ticketNumber())); }
};

struct GameDialog : ::testing::Test {
    ui::GameOptionsDialog form;
    RecordingActions actions;
    GameOptions options;
    GameDialog() {
        options.tips = 7;
        options.fee = 0.20;
        options.plus5 = true;
        options.stakeItem = 1;
        options.stakeText = "2 EUR";
        options.digits = {1, 2, 3, 4, 5};
        options.computeCost();
    }
    GameChoice runWith(std::function<void()> steps) {
        QTimer::singleShot(0, &form, steps);
        return form.run(options, actions);
    }
    template <class W> W* find(const char* name) { return form.findChild<W*>(name); }
};

} // namespace

TEST_F(GameDialog, CostFollowsTheListsAndTheButtonsChooseTheRoute) {
    EXPECT_EQ(form.windowTitle(), "Onlineabgabe des Tippscheins");
    const auto r = runWith([&] {
        auto* duration = find<QComboBox>("combobox1");
        EXPECT_EQ(duration->count(), 9);
        EXPECT_EQ(duration->itemText(8), "28 Ziehungen");
        duration->setCurrentIndex(2); // 3 draws
        EXPECT_EQ(find<QLabel>("Label4")->text(), "43,70 €");
        auto* stake = find<QComboBox>("ComboBox2");
        stake->setEditText("3 EUR"); // a typed stake keeps the previous one
        EXPECT_EQ(find<QLabel>("Label4")->text(), "43,70 €");
        find<QCheckBox>("CheckBox3")->setChecked(false);
        EXPECT_EQ(find<QLabel>("Label4")->text(), "42,20 €");
        EXPECT_FALSE(find<QCheckBox>("CheckBox5")->isVisible());
        find<QPushButton>("BitBtn2")->click();
    });
    EXPECT_EQ(r, GameChoice::Cart);
    EXPECT_EQ(options.durationItem, 2);
    EXPECT_EQ(options.durationText, "3 Ziehungen");
    EXPECT_EQ(options.stakeItem, -1);
    EXPECT_EQ(options.stakeText, "3 EUR");
    EXPECT_FALSE(options.plus5);
    EXPECT_DOUBLE_EQ(options.price, 42.20);

    EXPECT_EQ(runWith([&] { QTest::keyClick(&form, Qt::Key_Escape); }), GameChoice::Abort);
    EXPECT_EQ(runWith([&] { QTest::keyClick(&form, Qt::Key_Return); }), GameChoice::Klicker);
    EXPECT_EQ(runWith([&] { find<QPushButton>("BitBtn1")->click(); }), GameChoice::Abort);
}

TEST_F(GameDialog, TicketNumberButtons) {
    options.plus5Note = "Die Ziehungen der Datenbank haben keine bekannte Plus-5-Zahl.";
    runWith([&] {
        EXPECT_TRUE(find<QLabel>("Plus5Note")->isVisible());
        find<QSpinBox>("UpDown7")->setValue(8);
        find<QToolButton>("SpeedButton2")->click();
        find<QToolButton>("SpeedButton1")->click();
        EXPECT_EQ(find<QSpinBox>("UpDown3")->value(), 1);
        EXPECT_EQ(find<QSpinBox>("UpDown7")->value(), 1);
        QTest::mouseClick(find<QLabel>("Label7"), Qt::LeftButton);
        EXPECT_EQ(find<QSpinBox>("UpDown5")->value(), 9);
        EXPECT_EQ(find<QToolButton>("SpeedButton1")->toolTip(),
                  "Erzeugt Scheinnummern die noch nie gezogen wurdenZahlenFile");
        find<QPushButton>("BitBtn3")->click();
    });
    EXPECT_EQ(actions.calls, (std::vector<std::string>{"check 12348", "never", "random"}));
    EXPECT_EQ(options.ticketNumber(), 99999);
}

TEST_F(GameDialog, ScalesWithTheMainWindow) {
    const QSize design = form.size();
    ui::scaleTree(&form, 1.5);
    EXPECT_NEAR(form.width(), design.width() * 1.5, 2);
    EXPECT_NEAR(find<QPushButton>("BitBtn2")->width(), 110 * 1.5, 2);
    ui::scaleTree(&form, 1.0);
    EXPECT_EQ(form.size(), design);
    // Shown once at its design size, it still follows the main window afterwards.
    runWith([&] { form.reject(); });
    ui::scaleTree(&form, 1.5);
    runWith([&] {
        EXPECT_NEAR(form.width(), design.width() * 1.5, 2);
        form.reject();
    });
}

using GameOptionsDesign = GameDialog;

// "Onlineabgabe des Tippscheins" as a first hand-over finds it: every control with its caption, items
// and default, and the route each button chooses.
TEST_F(GameOptionsDesign, EveryControlAsSpecified) {
    options = GameOptions{};
    const auto items = [](QComboBox* box) {
        std::vector<std::string> out;
        for (int i = 0; i < box->count(); ++i) out.push_back(box->itemText(i).toStdString());
        return out;
    };
    const auto text = [&](const char* label) { return find<QLabel>(label)->text().toStdString(); };
    runWith([&] {
        auto* duration = find<QComboBox>("combobox1");
        EXPECT_EQ(text("Label5"), "Spieldauer auswählen");
        EXPECT_EQ(items(duration),
                  (std::vector<std::string>{"1 Ziehung", "2 Ziehungen", "3 Ziehungen", "4 Ziehungen", "5 Ziehungen",
                                            "6 Ziehungen", "7 Ziehungen", "14 Ziehungen", "28 Ziehungen"}));
        EXPECT_TRUE(duration->isEditable());
        EXPECT_EQ(duration->currentIndex(), 0);
        auto* stake = find<QComboBox>("ComboBox2");
        EXPECT_EQ(text("Label6"), "Einsatz pro Feld");
        EXPECT_EQ(items(stake), (std::vector<std::string>{"1 EUR", "2 EUR", "5 EUR", "10 EUR"}));
        EXPECT_TRUE(stake->isEditable());
        EXPECT_EQ(stake->currentText().toStdString(), "1 EUR");
        EXPECT_EQ(stake->currentIndex(), -1); // no item selected
        EXPECT_EQ(find<QCheckBox>("CheckBox3")->text().toStdString(), "plus 5");
        EXPECT_FALSE(find<QCheckBox>("CheckBox3")->isChecked());
        for (int i = 3; i <= 7; ++i) {
            auto* digit = find<QSpinBox>(("UpDown" + std::to_string(i)).c_str());
            EXPECT_EQ(digit->findChild<QLineEdit*>()->objectName().toStdString(), "Edit" + std::to_string(i));
            EXPECT_EQ((std::tuple{digit->minimum(), digit->maximum(), digit->text().toStdString()}),
                      (std::tuple{0, 9, std::string("0")}))
                << i;
        }
        EXPECT_EQ(text("Label7"), "Schein:");
        EXPECT_EQ(find<QLabel>("Label7")->cursor().shape(), Qt::PointingHandCursor);
        for (const char* name : {"SpeedButton1", "SpeedButton2"})
            EXPECT_EQ(find<QToolButton>(name)->toolTip().toStdString(),
                      "Erzeugt Scheinnummern die noch nie gezogen wurdenZahlenFile")
                << name;
        EXPECT_EQ(text("Label3"), "Kosten:");
        EXPECT_TRUE(find<QLabel>("Label4"));
        EXPECT_FALSE(find<QLabel>("Label1")->text().isEmpty());
        EXPECT_EQ(find<QCheckBox>("CheckBox5")->text().toStdString(), "Schein zum Test mit anzeigen");
        EXPECT_FALSE(find<QCheckBox>("CheckBox5")->isVisible());
        EXPECT_TRUE(find<QPushButton>("BitBtn3")->isDefault());
        form.reject();
    });
    const struct {
        const char* name;
        const char* caption; // the abort button's is the toolkit's own
        GameChoice choice;
    } buttons[] = {{"BitBtn1", "Abbrechen", GameChoice::Abort},
                   {"BitBtn3", "&Klicker", GameChoice::Klicker},
                   {"BitBtn2", "Warenkorb", GameChoice::Cart}};
    for (const auto& b : buttons) {
        EXPECT_EQ(find<QPushButton>(b.name)->text().toStdString(), b.caption);
        EXPECT_EQ(runWith([&] { find<QPushButton>(b.name)->click(); }), b.choice) << b.name;
    }
}

TEST(ScriptDialogTest, ShowsTheStateAndTakesItBack) {
    ScriptedPrompter files;
    files.nextPath = "/tmp/anders.kcs";
    ui::ScriptDialog form(files);
    EXPECT_EQ(form.windowTitle(), "Script für Zahlenübergabe auswählen!");
    ScriptDialogState st;
    st.templateList = {"/h/Script/a.kcs", "/h/Script/b.kcs"};
    st.templatePath = "/h/Script/b.kcs";
    st.zahl1 = "3";
    st.text1 = "Login";
    std::vector<std::string> updated;
    st.onOk = [&](const std::string& p) { updated.push_back(p); };
    QTimer::singleShot(0, &form, [&] {
        auto* path = form.findChild<QComboBox*>("LabeledEdit1");
        EXPECT_EQ(path->count(), 2);
        EXPECT_EQ(path->currentText(), "/h/Script/b.kcs");
        form.findChild<QToolButton*>("BitBtn1")->click(); // browse
        form.findChild<QLineEdit*>("LabeledEdit2")->clear();
        form.findChild<QLineEdit*>("LabeledEdit5")->setText("geheim\"wort");
        form.findChild<QPushButton*>("BitBtn2")->click();
    });
    EXPECT_TRUE(form.run(st));
    EXPECT_EQ(updated, std::vector<std::string>{"/tmp/anders.kcs"});
    EXPECT_EQ(st.templatePath, "/tmp/anders.kcs");
    EXPECT_EQ(st.zahl1, "0"); // an empty number parameter becomes "0"
    EXPECT_EQ(st.text2, "geheim\"wort");
    ASSERT_EQ(files.dialogs.size(), 1u);
    EXPECT_EQ(files.dialogs[0].filter, "Orvanes Click Script|*.kcs");

    QTimer::singleShot(0, &form, [&] { form.findChild<QPushButton*>("BitBtn3")->click(); });
    EXPECT_FALSE(form.run(st));
    EXPECT_EQ(updated.size(), 1u);
}

// "Script für Zahlenübergabe auswählen!" with the state a first hand-over gives it: every control with
// its caption and default.
TEST(ScriptDialogDesign, EveryControlAsSpecified) {
    ScriptedPrompter files;
    ui::ScriptDialog form(files);
    ScriptDialogState st;
    const auto find = [&](const char* name) {
        QWidget* w = form.findChild<QWidget*>(name);
        EXPECT_TRUE(w) << name;
        return w;
    };
    QTimer::singleShot(0, &form, [&] {
        EXPECT_EQ(form.windowTitle().toStdString(), "Script für Zahlenübergabe auswählen!");
        EXPECT_EQ(qobject_cast<QLabel*>(find("LabeledEdit1Label"))->text().toStdString(), "Orvanes Click-Script File");
        EXPECT_TRUE(qobject_cast<QComboBox*>(find("LabeledEdit1"))->isEditable());
        const struct {
            const char* edit;
            const char* caption;
            const char* design; // none: a placeholder word
        } fields[] = {{"LabeledEdit2", "ZAHL1", "0"},
                      {"LabeledEdit3", "ZAHL2", "0"},
                      {"LabeledEdit4", "TEXT1", "Login"},
                      {"LabeledEdit5", "TEXT2", nullptr}};
        for (const auto& f : fields) {
            auto* edit = qobject_cast<QLineEdit*>(find(f.edit));
            ASSERT_TRUE(edit) << f.edit;
            EXPECT_EQ(qobject_cast<QLabel*>(find((std::string(f.edit) + "Label").c_str()))->text().toStdString(),
                      f.caption);
            EXPECT_EQ(edit->parentWidget()->objectName().toStdString(), "GroupBox1");
            if (f.design) {
                EXPECT_EQ(edit->text().toStdString(), f.design);
            } else {
                EXPECT_FALSE(edit->text().isEmpty());
            }
        }
        EXPECT_EQ(form.findChild<QGroupBox*>("GroupBox1")->title().toStdString(), "Parameter ");
        qobject_cast<QToolButton*>(find("BitBtn1"))->click(); // browse
        EXPECT_EQ(qobject_cast<QPushButton*>(find("BitBtn3"))->text().toStdString(), "Abbrechen");
        EXPECT_EQ(qobject_cast<QPushButton*>(find("BitBtn2"))->text().toStdString(), "OK");
        qobject_cast<QPushButton*>(find("BitBtn3"))->click();
    });
    EXPECT_FALSE(form.run(st)); // cancel
    ASSERT_EQ(files.dialogs.size(), 1u);
    EXPECT_EQ(files.dialogs[0].filter, "Orvanes Click Script|*.kcs");
    EXPECT_EQ(files.dialogs[0].defaultExt, "kcs");
    QTimer::singleShot(0, &form, [&] { form.findChild<QPushButton*>("BitBtn2")->click(); });
    EXPECT_TRUE(form.run(st)); // OK
}
