// zahlfuchs-cli players and book: the table, the bookings answered from the command line.
#include <gtest/gtest.h>

#include "base/Text.h"
#include "players/PlayersFile.h"
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
