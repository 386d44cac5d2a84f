// The players table: amounts, recount, the bookings and the protocol lines they append.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "base/Text.h"
#include "core/players/PlayersFile.h"
#include "core/players/Protocol.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

const double kNow = dateValue(2021, 3, 15) + (18 * 3600 + 42 * 60 + 7) / 86400.0;
const std::string kStamp = "15.03.2021 18:42:07\t";

struct Players : ::testing::Test, WithSession {
    Players() : WithSession(kNow) {}
    TempDir dir;
    PlayersController& players = session.players;
    void SetUp() override { m.home = dir.path(); }
    // Players typed into the table as a user does: the name first.
    void type(int row, const PlayerRow& cells) {
        for (int c = 0; c < kPlayerColumns; ++c) {
            if (!cells[static_cast<size_t>(c)].empty()) {
                ASSERT_TRUE(players.setCell(row, c, cells[static_cast<size_t>(c)]));
            }
        }
    }
    void typeAandB() {
        type(1, {"A", "2", "10", "", "", "a@example.org"});
        type(2, {"B", "1", "5", "", "", ""});
    }
    std::string protocol() const { return contents(dir.file("lotto.prt")); }
    const PlayerRow& row(int r) const { return session.players.ledger().row(r); }
};

} // namespace

// The columns of the players table: their order, what each holds and its heading.
TEST(PlayersTable, EveryColumnAsSpecified) {
    const struct {
        int column;
        const char* heading;
    } columns[] = {{ColName, "Spieler"},     {ColShares, "An."},     {ColBalance, "Guthaben"},
                   {ColWinnings, "Gewinne"}, {ColStakes, "Einsatz"}, {ColEmail, "Email-Adresse"}};
    for (size_t i = 0; i < std::size(columns); ++i) {
        EXPECT_EQ(columns[i].column, static_cast<int>(i)) << columns[i].heading;
        EXPECT_EQ(std::string(kPlayerHeadings.at(i)), columns[i].heading);
    }
}

TEST(LedgerFormat, AmountsAndTheirReading) {
    EXPECT_EQ(formatLedgerAmount(2.5), "2,50000");
    EXPECT_EQ(formatLedgerAmount(-10), "-10,00000");
    EXPECT_EQ(formatLedgerAmount(0), "0,00000");
    EXPECT_EQ(formatGeneral(12.5), "12,5");
    EXPECT_EQ(formatGeneral(43.7), "43,7");
    EXPECT_EQ(formatGeneral(-3), "-3");
    EXPECT_EQ(formatGeneral(0.1 + 0.2), "0,3");
    EXPECT_EQ(formatGeneral(1e20), "1E20");
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {{"12,5", 12.5},          {" -10,00000 ", -10},  {"+3", 3},
                          {"1,5E2", 150},          {",5", 0.5},           {"7,", 7},
                          {"", std::nullopt},      {"abc", std::nullopt}, {"1.5", std::nullopt},
                          {"1,2,3", std::nullopt}, {"-", std::nullopt},   {"1E", std::nullopt},
                          {"1E999", std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(parseDecimal(c.text), c.value) << c.text;
    EXPECT_EQ(formatCurrency(123456.789), "123.456,79 €"); // to the cent, not to seven digits first
    EXPECT_EQ(formatCurrency(-0.001), "0,00 €");
    EXPECT_EQ(formatDateTime(dateValue(2021, 3, 15)), "15.03.2021");
    EXPECT_EQ(formatDateTime(dateValue(2021, 3, 15) + 0.5), "15.03.2021 12:00:00");
}

TEST_F(Players, ANewNameFillsItsRowAndTheLabelsCount) {
    typeAandB();
    type(3, {"C", "", "", "", "", ""});
    EXPECT_EQ(row(3), (PlayerRow{"C", "1", "0", "0", "0", ""}));
    const LedgerTotals t = players.totals();
    EXPECT_EQ(t.countText, "3 Spieler mit 4 Anteilen");
    EXPECT_EQ(t.balanceText, "15,00 €");
    EXPECT_EQ(t.winningsText, "0,00 €");
    // Too long for the file: refused when typed.
    EXPECT_FALSE(players.setCell(4, ColName, std::string(26, 'x')));
    EXPECT_FALSE(players.setCell(1, ColEmail, std::string(129, 'x')));
    EXPECT_TRUE(players.setCell(4, ColName, std::string(24, 'x') + "ä"));
    EXPECT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(row(1)[ColEmail], "a@example.org");
}

TEST_F(Players, StakeIsSplitByShares) {
    typeAandB();
    m.price = 43.7;
    prompter.stakeAnswers = {"6"};
    EXPECT_EQ(players.bookStake(), BookingResult::Booked);
    EXPECT_EQ(prompter.stakeProposals, (std::vector<std::string>{"43,7"}));
    EXPECT_EQ(m.price, 6);
    EXPECT_EQ(row(1), (PlayerRow{"A", "2", "6,00000", "0", "4,00000", "a@example.org"}));
    EXPECT_EQ(row(2), (PlayerRow{"B", "1", "3,00000", "0", "2,00000", ""}));
    EXPECT_EQ(protocol(), kStamp + "A\tEinsatz: 4,00000\tneues Guthaben:6,00000\r\n" + kStamp +
                              "B\tEinsatz: 2,00000\tneues Guthaben:3,00000\r\n");
    EXPECT_EQ(players.totals().stakesText, "6,00 €");

    // "Abbrechen" and a stake of 0 book nothing.
    prompter.stakeAnswers = {std::nullopt, "0"};
    EXPECT_EQ(players.bookStake(), BookingResult::Nothing);
    EXPECT_EQ(players.bookStake(), BookingResult::Nothing);
    EXPECT_EQ(protocol().size(), 2 * (kStamp.size() + 43));
}

TEST_F(Players, WinningsAndPayments) {
    typeAandB();
    // Cancelling the box with the proposal 0 books nothing; with 50 it books 50.
    prompter.inputs = {std::nullopt};
    EXPECT_EQ(players.bookWinnings(), BookingResult::Nothing);
    m.winningsSum = 50;
    prompter.inputs = {std::nullopt};
    EXPECT_EQ(players.bookWinnings(), BookingResult::Booked);
    EXPECT_EQ(row(1)[ColBalance], "43,33000"); // 33,33 € and 16,67 €: to the cent, adding up to 50
    EXPECT_EQ(row(1)[ColWinnings], "33,33000");
    EXPECT_EQ(row(2)[ColBalance], "21,67000");

    prompter.inputs = {"-10"};
    EXPECT_EQ(players.bookPaymentForAll(), BookingResult::Booked);
    EXPECT_EQ(row(1)[ColBalance], "23,33000");
    EXPECT_EQ(row(2)[ColBalance], "11,67000");

    players.selectRow(2);
    EXPECT_EQ(players.paymentCaption(), "Ein-/Auzahlung für B");
    EXPECT_EQ(players.deleteCaption(), "B löschen");
    prompter.inputs = {"2,5"};
    EXPECT_EQ(players.bookPaymentCurrent(), BookingResult::Booked);
    EXPECT_EQ(row(2)[ColBalance], "14,17000");
    const auto lines = splitLines(protocol());
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], kStamp + "A\tGewinn: 33,33000\tneues Guthaben:43,33000");
    EXPECT_EQ(lines[2], kStamp + "A\tEinzahlung: -20,00000\tneues Guthaben:23,33000");
    EXPECT_EQ(lines[3], kStamp + "B\tEinzahlung: -10,00000\tneues Guthaben:11,67000");
    EXPECT_EQ(lines[4], kStamp + "B\tEinzahlung: 2,50000\tneues Guthaben:14,17000");
    EXPECT_EQ(prompter.questions, (std::vector<std::string>{"Eintragen des Gewinnes", "Eintragen des Gewinnes",
                                                            "Ein-/Auszahlung (Auszahlung z.B.-10):",
                                                            "Ein-/Auszahlung (Auszahlung z.B.-10):"}));
}

TEST_F(Players, PaymentForAllOfMinusTenAsInTheExample) {
    typeAandB();
    prompter.inputs = {"-10"};
    EXPECT_EQ(players.bookPaymentForAll(), BookingResult::Booked);
    EXPECT_EQ(row(1)[ColBalance], "-10,00000");
    EXPECT_EQ(row(2)[ColBalance], "-5,00000");
    const auto lines = splitLines(protocol());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], kStamp + "A\tEinzahlung: -20,00000\tneues Guthaben:-10,00000");
    EXPECT_EQ(lines[1], kStamp + "B\tEinzahlung: -10,00000\tneues Guthaben:-5,00000");
}

// Every booking is whole or not at all: one bad row, a share total of 0, an amount that is no number or a
// protocol that cannot be written leave every row and the protocol as they were, with a message.
TEST_F(Players, NothingIsBookedHalf) {
    typeAandB();
    type(3, {"C", "x", "", "", "", ""});
    const std::vector<PlayerRow> before = players.ledger().rows();
    prompter.stakeAnswers = {"6"};
    EXPECT_EQ(players.bookStake(), BookingResult::Refused);
    prompter.inputs = {"5"};
    EXPECT_EQ(players.bookWinnings(), BookingResult::Refused);
    prompter.inputs = {"5"};
    EXPECT_EQ(players.bookPaymentForAll(), BookingResult::Refused);
    ASSERT_EQ(prompter.messages.size(), 3u);
    EXPECT_EQ(prompter.messages[0],
              "Beim Mitspieler \"C\" sind die Anteile (\"x\") keine ganze Zahl; es wurde nichts gebucht.");
    EXPECT_EQ(players.ledger().rows(), before);
    EXPECT_FALSE(fileExists(dir.file("lotto.prt")));

    ASSERT_TRUE(players.setCell(3, ColShares, "0"));
    ASSERT_TRUE(players.setCell(1, ColShares, "0"));
    ASSERT_TRUE(players.setCell(2, ColShares, "0"));
    prompter.stakeAnswers = {"6"};
    EXPECT_EQ(players.bookStake(), BookingResult::Refused);
    EXPECT_EQ(prompter.messages.back(), "Die Mitspieler haben zusammen 0 Anteile; es wurde nichts gebucht.");

    prompter.stakeAnswers = {"sechs"};
    EXPECT_EQ(players.bookStake(), BookingResult::Refused);
    EXPECT_EQ(prompter.messages.back(), "\"sechs\" ist kein gültiger Betrag; es wurde nichts gebucht.");

    ASSERT_TRUE(players.setCell(1, ColShares, "2"));
    ASSERT_EQ(::mkdir(dir.file("lotto.prt").c_str(), 0755), 0); // cannot be opened for appending
    const std::vector<PlayerRow> unbooked = players.ledger().rows();
    prompter.inputs = {"10"};
    EXPECT_EQ(players.bookPaymentForAll(), BookingResult::Refused);
    EXPECT_NE(prompter.messages.back().find("Das Kontoprotokoll " + dir.file("lotto.prt")), std::string::npos);
    EXPECT_EQ(players.ledger().rows(), unbooked);
}

TEST_F(Players, DeleteKeepsTheGapUntilTheNextLoad) {
    typeAandB();
    type(3, {"C", "1", "7,5", "", "", ""});
    players.selectRow(2);
    prompter.answers = {false, true};
    EXPECT_EQ(players.deleteCurrent(), BookingResult::Nothing);
    EXPECT_EQ(players.deleteCurrent(), BookingResult::Booked);
    EXPECT_EQ(prompter.titles.back(), "Soll der Mitspieler wirklich gelöscht werden?");
    EXPECT_EQ(prompter.questions.back(), "B löschen?");
    EXPECT_EQ(row(2), PlayerRow{});
    EXPECT_EQ(protocol(), kStamp + "B\tMitspieler wurde gel\xF6scht \t\tGuthaben ausgezahlt:5\r\n"); // Windows-1252
    EXPECT_EQ(players.totals().countText, "2 Spieler mit 3 Anteilen");

    // The empty row: no question, a message, no line.
    const size_t asked = prompter.questions.size();
    EXPECT_EQ(players.deleteCurrent(), BookingResult::Refused);
    EXPECT_EQ(prompter.questions.size(), asked);
    EXPECT_EQ(prompter.messages.back(), "In Zeile 2 steht kein Mitspieler; es wurde nichts gelöscht.");
    EXPECT_EQ(splitLines(protocol()).size(), 1u);

    std::vector<std::string> failures;
    ASSERT_TRUE(players.save(failures));
    prompter.answers = {true};
    EXPECT_EQ(players.reload(), BookingResult::Booked);
    EXPECT_EQ(prompter.titles.back(), "Wollen Sie die Spielerdaten neu laden?");
    EXPECT_EQ(prompter.questions.back(), "Neu laden? Änderungen gehen verloren!");
    EXPECT_EQ(row(2), (PlayerRow{"C", "1", "7,5", "0", "0", ""}));
    EXPECT_EQ(row(3), PlayerRow{});
}

TEST_F(Players, ReloadAnsweredNoKeepsTheTable) {
    typeAandB();
    prompter.answers = {false};
    EXPECT_EQ(players.reload(), BookingResult::Nothing);
    EXPECT_EQ(row(1)[ColName], "A");
}

// A ticket hand-over with the protocol option: its own line, then the stake booking with its cost proposed.
TEST_F(Players, HandOverWritesItsLineThenBooksTheStake) {
    typeAandB();
    EXPECT_EQ(players.bookHandOver(43.7), BookingResult::Booked);
    EXPECT_EQ(prompter.stakeProposals, (std::vector<std::string>{"43,7"}));
    const auto lines = splitLines(protocol());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], kStamp + "Tippschein abgegeben \tEinsatz: 43,7");
    EXPECT_EQ(lines[1].rfind(kStamp + "A\tEinsatz: 29,13000\t", 0), 0u);

    ASSERT_EQ(::mkdir(dir.file("lotto.prt.lock").c_str(), 0755), 0); // the protocol cannot be locked
    const auto before = players.ledger().rows();
    EXPECT_EQ(players.bookHandOver(10), BookingResult::Refused);
    EXPECT_EQ(prompter.stakeProposals.size(), 1u);
    EXPECT_EQ(players.ledger().rows(), before);
}

// A booking is split in whole cents, and the parts add up to the amount: the cents left over by rounding
// down go to the largest remainders. 1 000 players with 1 999 shares and twenty stakes of 1 € were once
// 19,99 € of stakes.
TEST(LedgerCents, PartsAddUpToTheAmount) {
    struct Case {
        std::vector<int> shares;
        double amount;
        std::vector<const char*> parts;
    };
    const Case cases[] = {
        {{1, 1, 1}, 1, {"0,34000", "0,33000", "0,33000"}},
        {{2, 1}, 50, {"33,33000", "16,67000"}},
        {{1, 2, 3}, 0.05, {"0,01000", "0,02000", "0,02000"}},
        {{1, 1, 1}, -1, {"-0,33000", "-0,33000", "-0,34000"}},
        {{3, 7}, 0.01, {"0,00000", "0,01000"}},
    };
    for (const auto& c : cases) {
        Ledger l;
        std::vector<PlayerRow> rows;
        for (int s : c.shares) rows.push_back({"P", std::to_string(s), "0", "0", "0", ""});
        l.setRows(rows);
        const Booking b = l.bookStake(c.amount);
        ASSERT_TRUE(b.ok()) << b.error;
        for (size_t i = 0; i < c.parts.size(); ++i) EXPECT_EQ(b.rows[i][ColStakes], c.parts[i]) << c.amount << " " << i;
    }

    Ledger l;
    std::vector<PlayerRow> rows(1000, PlayerRow{"P", "2", "10", "0", "0", ""});
    rows[0][ColShares] = "1";
    l.setRows(rows);
    for (int i = 0; i < 20; ++i) {
        const Booking b = l.bookStake(1);
        ASSERT_TRUE(b.ok());
        l.setRows(b.rows);
    }
    EXPECT_EQ(l.totals().stakesText, "20,00 €");
    EXPECT_EQ(l.totals().balanceText, "9.980,00 €");
    const Booking pay = l.bookPaymentForAll(0.015); // per share, to the cent: 0,02 €
    ASSERT_TRUE(pay.ok());
    l.setRows(pay.rows);
    EXPECT_EQ(l.totals().balanceText, "10.019,98 €");
}

// Each booking stores lotto.spl with its protocol lines: "neu Laden" or a crash after it loses nothing,
// and when the players file cannot be written the protocol does not get the lines either.
TEST_F(Players, ABookingIsInBothFilesOrInNeither) {
    typeAandB();
    prompter.stakeAnswers = {"6"};
    ASSERT_EQ(players.bookStake(), BookingResult::Booked);
    m.winningsSum = 3;
    prompter.inputs = {std::nullopt};
    ASSERT_EQ(players.bookWinnings(), BookingResult::Booked);
    EXPECT_FALSE(players.changed());

    prompter.answers = {true};
    ASSERT_EQ(players.reload(), BookingResult::Booked);
    EXPECT_EQ(row(1), (PlayerRow{"A", "2", "8", "2", "4", "a@example.org"}));
    EXPECT_EQ(row(2), (PlayerRow{"B", "1", "4", "1", "2", ""}));
    const std::string protocolBefore = protocol();
    EXPECT_EQ(splitLines(protocolBefore).size(), 4u);

    const std::string spl = contents(dir.file("lotto.spl"));
    ASSERT_EQ(::chmod(dir.file("lotto.spl").c_str(), 0444), 0);
    prompter.inputs = {"10"};
    EXPECT_EQ(players.bookPaymentForAll(), BookingResult::Refused);
    EXPECT_NE(prompter.messages.back().find("es wurde nichts gebucht"), std::string::npos) << prompter.messages.back();
    EXPECT_EQ(protocol(), protocolBefore);
    EXPECT_EQ(contents(dir.file("lotto.spl")), spl);
    EXPECT_EQ(row(1)[ColBalance], "8");

    // A first booking that cannot be stored leaves no protocol behind.
    ::chmod(dir.file("lotto.spl").c_str(), 0644);
    ASSERT_EQ(::unlink(dir.file("lotto.prt").c_str()), 0);
    ASSERT_EQ(::chmod(dir.file("lotto.spl").c_str(), 0444), 0);
    prompter.inputs = {"10"};
    EXPECT_EQ(players.bookPaymentForAll(), BookingResult::Refused);
    EXPECT_FALSE(fileExists(dir.file("lotto.prt")));
}

// Another program booked since this one loaded the table: the booking goes onto the stored table.
// Typed changes not stored yet cannot be merged: then nothing is booked and the message says why.
TEST_F(Players, AnotherProgramsBookingIsBookedOnNotOverwritten) {
    typeAandB();
    prompter.stakeAnswers = {"6"};
    ASSERT_EQ(players.bookStake(), BookingResult::Booked);

    WithSession other(kNow);
    other.m.home = dir.path();
    ASSERT_TRUE(other.session.players.load().empty());
    other.prompter.inputs = {"1"};
    ASSERT_EQ(other.session.players.bookPaymentForAll(), BookingResult::Booked);

    prompter.inputs = {"1"};
    ASSERT_EQ(players.bookPaymentForAll(), BookingResult::Booked);
    EXPECT_EQ(row(1)[ColBalance], "10,00000"); // 10 - 4 + 2 + 2
    EXPECT_EQ(row(2)[ColBalance], "5,00000");

    other.prompter.inputs = {"1"};
    ASSERT_EQ(other.session.players.bookPaymentForAll(), BookingResult::Booked);
    ASSERT_TRUE(players.setCell(2, ColEmail, "b@example.org"));
    prompter.inputs = {"1"};
    EXPECT_EQ(players.bookPaymentForAll(), BookingResult::Refused);
    EXPECT_NE(prompter.messages.back().find("von einem anderen Programm geändert"), std::string::npos);
    EXPECT_EQ(splitLines(protocol()).size(), 8u);
}

// A name or amount cannot add a line to the protocol: typed with a line break it is refused, read with
// one from a shared lotto.spl it is shown and booked with blanks in its place.
TEST_F(Players, ALineBreakInANameCannotForgeAProtocolLine) {
    EXPECT_FALSE(players.setCell(1, ColName, "X\r\n01.01.2026\tBoss"));
    EXPECT_EQ(prompter.messages.back(), "Ein Name darf keine Steuerzeichen (Zeilenumbruch, Tabulator) enthalten.");
    EXPECT_FALSE(players.setCell(1, ColEmail, "a@example.org\nBcc: b@example.org"));
    EXPECT_TRUE(row(1)[ColName].empty());

    std::string bytes;
    ASSERT_FALSE(encodePlayers({{"X\r\n01.01.2026\tBoss", "1", "0", "0", "0", ""}}, {}, bytes));
    ASSERT_TRUE(writeFileAtomic(dir.file("lotto.spl"), bytes));
    ASSERT_TRUE(players.load().empty());
    EXPECT_EQ(row(1)[ColName], "X  01.01.2026 Boss");
    prompter.inputs = {"1"};
    ASSERT_EQ(players.bookPaymentForAll(), BookingResult::Booked);
    const auto lines = splitLines(protocol());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], kStamp + "X  01.01.2026 Boss\tEinzahlung: 1,00000\tneues Guthaben:1,00000");
    EXPECT_EQ(contents(dir.file("lotto.spl")).substr(0, 4), bytes.substr(0, 4)); // the stored name keeps its bytes
}
