// The tab "Mitspieler" driven through its widgets: typing into the table, the bookings, the captions.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "ui/pages/PlayersPage.h"

using namespace zf;

namespace {

struct PlayersTab : ::testing::Test, test::WithSession {
    PlayersTab() : WithSession(dateValue(2021, 3, 15) + 0.5) {}
    test::TempDir dir;
    void SetUp() override { m.home = dir.path(); }
    template <class T> T* find(QWidget& page, const char* name) {
        T* t = page.findChild<T*>(name);
        EXPECT_TRUE(t) << name;
        return t;
    }
    static QString cell(QTableWidget* t, int row, int column) {
        auto* item = t->item(row, column);
        return item ? item->text() : QString();
    }
};

} // namespace

TEST_F(PlayersTab, TypingBookingAndCaptions) {
    ui::PlayersPage page(session);
    m.listener = [&page](unsigned what) { page.refresh(what); };
    page.resize(660, 520);
    page.show();
    auto* grid = find<QTableWidget>(page, "StringGrid1");
    EXPECT_EQ(grid->rowCount(), 49);
    EXPECT_EQ(grid->horizontalHeaderItem(5)->text(), "Email-Adresse");

    // Typing a name into a cell: its row gets "1" and "0"s and the labels count it.
    grid->setCurrentCell(0, 0);
    QTest::keyClicks(grid, "A");
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(cell(grid, 0, 1), "1");
    EXPECT_EQ(cell(grid, 0, 2), "0");
    grid->item(0, 2)->setText("10");
    grid->item(1, 0)->setText("Bernd");
    EXPECT_EQ(find<QLabel>(page, "Label32")->text(), "2 Spieler mit 2 Anteilen");
    EXPECT_EQ(find<QLabel>(page, "Label33")->text(), "10,00 €");

    // The editor takes no name longer than its field.
    grid->setCurrentCell(2, 0);
    grid->editItem(grid->item(2, 0));
    auto* editor = grid->findChild<QLineEdit*>();
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->maxLength(), 25);
    grid->setCurrentCell(1, 1);

    prompter.stakeAnswers = {"4"};
    find<QPushButton>(page, "BitBtn12")->click();
    EXPECT_EQ(cell(grid, 0, 2), "8,00000");
    EXPECT_EQ(cell(grid, 1, 4), "2,00000");
    EXPECT_EQ(find<QLabel>(page, "Label45")->text(), "4,00 €");

    EXPECT_EQ(find<QPushButton>(page, "BitBtn16")->text(), "Ein-/Auzahlung für Bernd");
    EXPECT_EQ(find<QPushButton>(page, "BitBtn17")->text(), "Bernd löschen");
    prompter.answers = {true};
    find<QPushButton>(page, "BitBtn17")->click();
    EXPECT_EQ(cell(grid, 1, 0), "");
    EXPECT_EQ(find<QLabel>(page, "Label32")->text(), "1 Spieler mit 1 Anteilen");

    find<QPushButton>(page, "Protokoll")->click();
    EXPECT_EQ(shell.opened, (std::vector<std::string>{dir.file("lotto.prt")}));
    for (const char* name : {"BitBtn12", "BitBtn13", "BitBtn14", "BitBtn15", "BitBtn16", "BitBtn17", "Protokoll"})
        EXPECT_TRUE(find<QPushButton>(page, name)->isEnabled()) << name;
}

using PlayersCommands = PlayersTab;

// The buttons of the tab "Mitspieler" with their captions and hints (two blanks before "Anteils").
TEST_F(PlayersCommands, EveryButtonAsSpecified) {
    ui::PlayersPage page(session);
    const struct {
        const char* name;
        const char* caption;
        const char* hint;
    } buttons[] = {
        {"BitBtn12", "Einsatz eintragen", "Spieleinsatz auf jeden Mitspieler entsprechend seines  Anteils verteilen"},
        {"BitBtn13", "Gewinn eintragen", "Spielgewinn auf jeden Mitspieler entsprechend seines  Anteils verteilen"},
        {"BitBtn15", "Für alle Ein- oder Auszahlung", "Ein- bzw. Auszahlung in das Guthaben aller Mitspieler"},
        {"BitBtn16", "Ein-/Auzahlung für akt.Mitspieler", "Ein- bzw. Auszahlung für das Guthaben eines Mitspielers"},
        {"BitBtn17", "Löschen", "Löschen des gewählten Mitspielers"},
        {"BitBtn14", "neu Laden", "neu Laden der Daten"},
        {"Protokoll", "Protokoll anzeigen", ""},
    };
    for (const auto& b : buttons) {
        auto* w = find<QPushButton>(page, b.name);
        ASSERT_TRUE(w) << b.name;
        EXPECT_EQ(w->text().toStdString(), b.caption);
        EXPECT_EQ(w->toolTip().toStdString(), b.hint);
    }
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
