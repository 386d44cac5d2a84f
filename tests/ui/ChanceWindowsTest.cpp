// The windows beside chance, driven through the main window: "Chancen" beside "Gewinne", the box
// "Vergleich mit dem Zufall zeigen" and the comparison window after a backtest.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <gtest/gtest.h>

#include "app/Session.h"
#include "app/settings/SettingsSchema.h"
#include "base/Text.h"
#include "platform/SystemClock.h"
#include "support/TestSupport.h"
#include "ui/MainWindow.h"
#include "ui/dialogs/ChanceDialogs.h"

using namespace zf;
using namespace zf::test;

namespace {

struct ChanceWindows : ::testing::Test {
    TempDir dir;
    ScriptedPrompter prompter;
    RecordingShell shell;
    RecordingSound sound;
    MemorySettingsStore store;
    FixedClock clock{dateValue(2025, 12, 30)};
    Session session{prompter, dialogsOf(prompter), shell, sound, clock, store};
    std::unique_ptr<MainWindow> w;
    std::unique_ptr<ui::ChanceDialogs> chance;

    void SetUp() override { start(); }
    void start() {
        ASSERT_TRUE(writeTextLines(dir.file("tipps.txt"), {"04,06,17,28,01,02,03,07,09,10"}));
        chance.reset();
        w.reset(); // a window going away leaves the model without a listener
        w = std::make_unique<MainWindow>(session, dir.path());
        chance = std::make_unique<ui::ChanceDialogs>(w.get());
        session.tips.setChanceView(chance.get());
        session.backtest.setChanceView(chance.get());
        w->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        chance.reset();
        w.reset();
    }
    template <class T> T* find(const char* name) { return w->findChild<T*>(name); }
    void showTab(const char* caption) {
        auto* tabs = find<QTabWidget>("PageControl1");
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i) == caption) tabs->setCurrentIndex(i);
        QApplication::processEvents();
    }
};

QString cellText(QTableWidget* t, int row, int column) { return t->item(row, column)->text(); }

} // namespace

TEST_F(ChanceWindows, ChancenSitsBesideGewinneAndShowsTheOddsOfTheTipPanel) {
    auto* winnings = find<QPushButton>("auswertung");
    auto* odds = find<QPushButton>("OddsButton");
    ASSERT_NE(odds, nullptr);
    EXPECT_EQ(odds->text(), "Chancen");
    // Side by side, the same size, inside the tip panel, at design size and larger.
    for (double factor : {1.0, 1.5}) {
        SCOPED_TRACE(factor);
        w->resize(int(642 * factor), int(573 * factor));
        QApplication::processEvents();
        EXPECT_EQ(odds->geometry().top(), winnings->geometry().top());
        EXPECT_EQ(odds->size(), winnings->size());
        EXPECT_GT(odds->geometry().left(), winnings->geometry().right());
        EXPECT_TRUE(odds->parentWidget()->rect().contains(odds->geometry()));
        EXPECT_GE(odds->width(), odds->sizeHint().width()); // the caption fits
    }
    w->resize(642, 573);
    QApplication::processEvents();

    find<QSpinBox>("UpDown18")->setValue(6);
    find<QComboBox>("ComboBox1")->setCurrentIndex(1);
    odds->click();
    QApplication::processEvents();
    ui::OddsDialog* dialog = chance->oddsDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    auto* table = dialog->findChild<QTableWidget*>("OddsTable");
    ASSERT_EQ(table->rowCount(), 7);
    EXPECT_EQ(cellText(table, 0, 0), "6");
    EXPECT_EQ(cellText(table, 0, 1), "1 : 3.383");
    EXPECT_EQ(cellText(table, 0, 2), "1.000 €"); // 500 a euro at 2 euros
    EXPECT_EQ(dialog->findChild<QSpinBox*>("OddsKenoType")->value(), 6);
    EXPECT_EQ(dialog->findChild<QComboBox*>("OddsStake")->currentIndex(), 1);
    EXPECT_EQ(dialog->findChild<ui::ChanceChart*>("OddsChart")->bars().size(), 7u);
    EXPECT_TRUE(dialog->findChild<QLabel*>("OddsSummary")->text().contains("Von 2 € Einsatz fließen im Mittel"));

    // The dialog looks at other types and stakes on its own; the tip panel keeps its own.
    dialog->findChild<QSpinBox*>("OddsKenoType")->setValue(10);
    dialog->findChild<QComboBox*>("OddsStake")->setCurrentIndex(0);
    EXPECT_EQ(table->rowCount(), 11);
    EXPECT_EQ(cellText(table, 0, 1), "1 : 2.147.181");
    EXPECT_EQ(dialog->table().kenoType, 10);
    EXPECT_EQ(w->model().num(Num::KenoType).pos, 6);
    EXPECT_EQ(w->model().stakeItem, 1);
    QApplication::processEvents();
    // The table shows all its columns.
    EXPECT_LE(table->horizontalHeader()->length(), table->viewport()->width());

    // A second click brings the same window back with the tip panel's choice.
    odds->click();
    EXPECT_EQ(chance->oddsDialog(), dialog);
    EXPECT_EQ(table->rowCount(), 7);
}

TEST_F(ChanceWindows, AfterABacktestTheComparisonWindowUnlessTheBoxIsUnticked) {
    showTab("Datenbank");
    auto* box = find<QCheckBox>("ChanceComparisonBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Vergleich mit dem Zufall zeigen");
    EXPECT_TRUE(box->isChecked());
    // Below the last test, inside the page, at design size.
    EXPECT_GT(box->geometry().top(), find<QPushButton>("Button11")->geometry().bottom());
    EXPECT_TRUE(box->parentWidget()->rect().contains(box->geometry()));

    box->setChecked(false);
    EXPECT_FALSE(w->model().showChanceComparison);
    w->model().setBrowseDate(dateValue(2025, 12, 1));
    find<QPushButton>("Button7")->click();
    EXPECT_EQ(chance->comparisonDialog(), nullptr);
    EXPECT_TRUE(std::filesystem::exists(dir.file("Analyse-Zufall.txt")));

    box->setChecked(true);
    find<QSpinBox>("UpDown18")->setValue(10);
    w->model().setBrowseDate(dateValue(2025, 1, 1));
    w->model().setTotalTips(5);
    prompter.inputs = {"4711"};
    find<QPushButton>("Erfolgstest")->click();
    QApplication::processEvents();
    ui::ComparisonDialog* dialog = chance->comparisonDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->windowTitle(), "Vergleich mit dem Zufall");
    const auto& c = *session.backtest.comparison();
    EXPECT_EQ(dialog->findChild<QLabel*>("ComparisonVerdict")->text().toStdString(), "Ergebnis: " + verdictText(c));
    EXPECT_EQ(dialog->findChild<QLabel*>("ComparisonMeaning")->text().toStdString(), meaningText(c));
    EXPECT_TRUE(dialog->findChild<QLabel*>("ComparisonMoney")->isVisible());
    auto* table = dialog->findChild<QTableWidget*>("ComparisonTable");
    ASSERT_EQ(table->rowCount(), 11);
    EXPECT_EQ(cellText(table, 3, 1).toStdString(), formatAmount(double(c.observed[3]), 0));
    // The chart ends where neither the test nor chance reach: 9 and 10 hits stay out.
    const auto& bars = dialog->findChild<ui::ChanceChart*>("ComparisonChart")->bars();
    ASSERT_EQ(bars.size(), 9u);
    EXPECT_EQ(bars.back().value, double(c.observed[8]));
    EXPECT_EQ(bars.back().expected, c.expected[8]);

    // The recurrence tests: 21 hit counts, the chart leaves out those no pass can reach.
    w->model().setBrowseDate(dateValue(2024, 1, 1));
    find<QPushButton>("Button10")->click();
    QApplication::processEvents();
    EXPECT_EQ(table->rowCount(), 21);
    EXPECT_LT(dialog->findChild<ui::ChanceChart*>("ComparisonChart")->bars().size(), 21u);
    EXPECT_FALSE(dialog->findChild<QLabel*>("ComparisonMoney")->isVisible());
}

TEST_F(ChanceWindows, TheBoxShowsTheStoredSetting) {
    EXPECT_TRUE(find<QCheckBox>("ChanceComparisonBox")->isChecked());
    w->close(); // the close stores the settings
    EXPECT_EQ(store.get(kSettingsKey, "ChanceComparison")->dword, 1u);
    store.set(kSettingsKey, "ChanceComparison", RegValue::ofInt(0));
    start();
    EXPECT_FALSE(find<QCheckBox>("ChanceComparisonBox")->isChecked());
    EXPECT_FALSE(w->model().showChanceComparison);
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
