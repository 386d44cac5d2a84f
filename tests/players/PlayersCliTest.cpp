// zahlfuchs-cli players and book: the table, the bookings answered from the command line.
#include <gtest/gtest.h>

#include <unistd.h>

#include <map>

#include "base/GermanNumber.h"
#include "base/Text.h"
#include "core/players/Ledger.h"
#include "core/players/PlayersFile.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

struct CliPlayers : ::testing::Test {
    TempDir dir;
    CommandResult run(const std::string& args) {
        return runCommand(std::string(ZF_CLI) + " --home " + dir.path() + " --settings " + dir.file("s.reg") +
                          " --date 13.01.2020 " + args + " 2>&1");
    }
    void SetUp() override {
        writeDraws(dir.file("Keno.dat"), {draw(2020, 1, 13, 5)});
        // A and B of the example (the empty row between them writes nothing).
        std::string bytes;
        ASSERT_FALSE(
            encodePlayers({{"A", "2", "10", "0", "0", "a@example.org"}, {}, {"B", "1", "5", "0", "0", ""}}, {}, bytes));
        ASSERT_TRUE(writeFileAtomic(dir.file("lotto.spl"), bytes));
    }
};

} // namespace

TEST_F(CliPlayers, BookingsOneRunAfterTheOther) {
    struct Step {
        std::string args;
        int status;
        std::string out;
    };
    const Step steps[] = {
        {"players", 0, "1;A;2;10;0;0;a@example.org\n2;B;1;5;0;0;\n2 Spieler mit 3 Anteilen\n15,00 €\n0,00 €\n0,00 €\n"},
        {"book stake 6", 0,
         "1;A;2;6,00000;0;4,00000;a@example.org\n2;B;1;3,00000;0;2,00000;\n2 Spieler mit 3 Anteilen\n9,00 €\n0,00 "
         "€\n6,00 €\n"},
        // Each run loads the file again: amounts it did not book show in the general format.
        {"book stake 0", 0,
         "1;A;2;6;0;4;a@example.org\n2;B;1;3;0;2;\n2 Spieler mit 3 Anteilen\n9,00 €\n0,00 €\n6,00 €\n"},
        {"book win abc", 1,
         "message;\"abc\" ist kein gültiger Betrag; es wurde nichts gebucht.\n1;A;2;6;0;4;a@example.org\n"
         "2;B;1;3;0;2;\n2 Spieler mit 3 Anteilen\n9,00 €\n0,00 €\n6,00 €\n"},
        {"book pay-all -10", 0,
         "1;A;2;-14,00000;0;4;a@example.org\n2;B;1;-7,00000;0;2;\n2 Spieler mit 3 Anteilen\n-21,00 €\n0,00 "
         "€\n6,00 €\n"},
        {"book pay 2 2,5", 0,
         "1;A;2;-14;0;4;a@example.org\n2;B;1;-4,50000;0;2;\n2 Spieler mit 3 Anteilen\n-18,50 €\n0,00 €\n6,00 "
         "€\n"},
        {"book delete 1", 0, "2;B;1;-4,5;0;2;\n1 Spieler mit 1 Anteilen\n-4,50 €\n0,00 €\n2,00 €\n"},
        {"players", 0, "1;B;1;-4,5;0;2;\n1 Spieler mit 1 Anteilen\n-4,50 €\n0,00 €\n2,00 €\n"},
    };
    for (const auto& s : steps) {
        const auto r = run(s.args);
        EXPECT_EQ(r.status, s.status) << s.args;
        EXPECT_EQ(r.out, s.out) << s.args;
    }
    const auto lines = splitLines(contents(dir.file("lotto.prt")));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_NE(lines[0].find("\tA\tEinsatz: 4,00000\tneues Guthaben:6,00000"), std::string::npos);
    EXPECT_NE(lines[5].find("\tA\tMitspieler wurde gel\xF6scht \t\tGuthaben ausgezahlt:-14"), std::string::npos);
}

TEST_F(CliPlayers, UsageErrors) {
    for (const char* args :
         {"book", "book stake", "book pay 50 1", "book pay x 1", "book delete", "book tip 1", "book stake 1 2"}) {
        const auto r = run(args);
        EXPECT_EQ(r.status, 2) << args;
    }
}

// What books nothing because of the table or the input says so and exits 1.
TEST_F(CliPlayers, RefusedBookingsExitOne) {
    struct Case {
        const char* args;
        const char* message;
    };
    const Case cases[] = {
        {"book pay 4 5", "message;Sie haben noch keinen Namen gewählt!"},
        {"book delete 4", "message;In Zeile 4 steht kein Mitspieler; es wurde nichts gelöscht."},
        {"book win sechs", "message;\"sechs\" ist kein gültiger Betrag; es wurde nichts gebucht."},
    };
    for (const auto& c : cases) {
        const auto r = run(c.args);
        EXPECT_EQ(r.status, 1) << c.args;
        EXPECT_EQ(r.out.rfind(c.message, 0), 0u) << c.args << "\n" << r.out;
    }
    ASSERT_EQ(::unlink(dir.file("lotto.spl").c_str()), 0);
    const auto r = run("book pay-all 1");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.rfind("message;Es gibt noch keine Mitspieler; es wurde nichts gebucht.", 0), 0u) << r.out;
    EXPECT_FALSE(fileExists(dir.file("lotto.prt")));
}

// Two programs booking at the same time: each books on what the other stored, nothing is lost, and the
// protocol's balances follow each other line by line to the stored ones.
TEST_F(CliPlayers, ConcurrentBookingsAreAllKept) {
    const std::string z =
        std::string(ZF_CLI) + " --home " + dir.path() + " --settings " + dir.file("s.reg") + " --date 13.01.2020 book ";
    for (int run = 0; run < 20; ++run) {
        const auto r = runCommand("(" + z + "pay-all 1 >/dev/null 2>&1; echo $? >" + dir.file("s1") + ") & (" + z +
                                  "stake 6 >/dev/null 2>&1; echo $? >" + dir.file("s2") + ") & wait");
        ASSERT_EQ(r.status, 0);
        ASSERT_EQ(contents(dir.file("s1")), "0\n") << run;
        ASSERT_EQ(contents(dir.file("s2")), "0\n") << run;
    }
    const auto players = run("players");
    EXPECT_EQ(players.out, "1;A;2;-30;0;80;a@example.org\n2;B;1;-15;0;40;\n2 Spieler mit 3 Anteilen\n-45,00 €\n0,00 "
                           "€\n120,00 €\n");
    const auto lines = splitLines(contents(dir.file("lotto.prt")));
    ASSERT_EQ(lines.size(), 80u);
    // Per player: every line's new balance is the one before plus (or minus, for a stake) its part.
    std::map<std::string, double> balance = {{"A", 10}, {"B", 5}};
    for (const auto& l : lines) {
        std::vector<std::string> f(1);
        for (char c : l)
            if (c == '\t')
                f.emplace_back();
            else
                f.back().push_back(c);
        ASSERT_EQ(f.size(), 4u) << l;
        const bool stake = f[2].rfind("Einsatz: ", 0) == 0;
        const double part = *parseDecimal(f[2].substr(f[2].find(' ') + 1));
        balance[f[1]] += stake ? -part : part;
        EXPECT_EQ(f[3], "neues Guthaben:" + formatLedgerAmount(balance[f[1]])) << l;
    }
    EXPECT_EQ(balance["A"], -30);
    EXPECT_EQ(balance["B"], -15);
}

// The money commands print and read the same under every locale a user may run: the C library's
// decimal point follows LANG once Qt has set the locale, the program's amounts must not.
TEST(CliMoney, SameOutputUnderEveryLocale) {
    struct Step {
        const char* args;
        const char* out;
    };
    const Step steps[] = {
        {"cost --tips 7 --draws-item 3 --stake-item 3 --plus5 1 --fee 0,25", "281,75 €\n"},
        {"book stake 2,5",
         "1;A;2;8,33000;0;1,67000;\n2;B;1;4,17000;0;0,83000;\n2 Spieler mit 3 Anteilen\n12,50 €\n0,00 €\n2,50 €\n"},
        {"book win 4,5", "1;A;2;11,33000;3,00000;1,67;\n2;B;1;5,67000;1,50000;0,83;\n2 Spieler mit 3 Anteilen\n"
                         "17,00 €\n4,50 €\n2,50 €\n"},
        {"book pay-all 1.000", "1;A;2;2011,33000;3;1,67;\n2;B;1;1005,67000;1,5;0,83;\n2 Spieler mit 3 Anteilen\n"
                               "3.017,00 €\n4,50 €\n2,50 €\n"},
    };
    for (const char* locale : {"de_DE.UTF-8", "C", "en_US.UTF-8", "tr_TR.UTF-8"}) {
        SCOPED_TRACE(locale);
        TempDir dir;
        writeDraws(dir.file("Keno.dat"), {draw(2020, 1, 13, 5)});
        std::string bytes;
        ASSERT_FALSE(encodePlayers({{"A", "2", "10", "0", "0", ""}, {"B", "1", "5", "0", "0", ""}}, {}, bytes));
        ASSERT_TRUE(writeFileAtomic(dir.file("lotto.spl"), bytes));
        for (const auto& s : steps) {
            const auto r =
                runCommand(std::string("LANG=") + locale + " LC_ALL=" + locale + " " + ZF_CLI + " --home " +
                           dir.path() + " --settings " + dir.file("s.reg") + " --date 13.01.2020 " + s.args + " 2>&1");
            EXPECT_EQ(r.status, 0) << s.args;
            EXPECT_EQ(r.out, s.out) << s.args;
        }
    }
}
