// zahlfuchs-cli odds and backtest --chance.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/Text.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

struct CliChance : ::testing::Test {
    TempDir dir;
    std::string base() const {
        return std::string(ZF_CLI) + " --home " + dir.path() + " --settings " + dir.file("s.reg") +
               " --date 06.01.2020 ";
    }
    void SetUp() override {
        writeDraws(dir.file("Keno.dat"), {draw(2020, 1, 6, 1), draw(2020, 1, 8, 11), draw(2020, 1, 10, 6),
                                          draw(2020, 1, 13, 1), draw(2020, 1, 15, 21)});
        ASSERT_TRUE(writeTextLines(dir.file("tipps.txt"), {"1,2,3,4,5,6"}));
    }
};

} // namespace

TEST_F(CliChance, OddsOfTheKenoTypeAndStake) {
    const std::string typeTwo = "2;1 : 12,7;12;0,9441\n"
                                "1;1 : 2,42;0;0,0000\n"
                                "0;1 : 1,97;0;0,0000\n"
                                "anywin;1 : 12,7;7,87 %\n"
                                "return;47,2 %;Von 2 € Einsatz fließen im Mittel 0,94 € zurück\n";
    const struct {
        const char* args;
        int status;
        std::string out;
    } cases[] = {
        {"odds --type 2 --stake-item 1", 0, typeTwo},
        // Without options: the Keno type and the stake item of the settings.
        {"--set UpDown18=2 --set System=1 odds", 0, typeTwo},
        {"odds --type 11", 2, ""},
        {"odds --type 1", 2, ""},
        {"odds --stake-item 4", 2, ""},
        {"odds zehn", 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const auto r = runCommand(base() + c.args + " 2>/dev/null");
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, c.out);
    }
    // The design Keno type 10: eleven hit lines from 10 down to 0, then the two summary lines.
    const auto r = runCommand(base() + "odds");
    ASSERT_EQ(r.status, 0);
    const auto lines = splitLines(r.out);
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[0], "10;1 : 2.147.181;100000;0,0466");
    EXPECT_EQ(lines[10].substr(0, 2), "0;");
    EXPECT_EQ(lines[12], "return;49,4 %;Von 1 € Einsatz fließen im Mittel 0,49 € zurück");
}

TEST_F(CliChance, BacktestWithChancePrintsTheComparisonAfterTheReport) {
    const auto plain = runCommand(base() + "backtest Button7");
    ASSERT_EQ(plain.status, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Analyse-Zufall.txt"))); // no comparison asked for
    const std::string report = contents(dir.file("Analyse.txt"));

    const auto r = runCommand(base() + "backtest Button7 --chance");
    ASSERT_EQ(r.status, 0);
    ASSERT_EQ(r.out.substr(0, plain.out.size()), plain.out);
    EXPECT_EQ(contents(dir.file("Analyse.txt")), report);
    std::vector<std::string> file;
    ASSERT_TRUE(readTextLines(dir.file("Analyse-Zufall.txt"), file));
    const auto printed = splitLines(r.out.substr(plain.out.size()));
    EXPECT_EQ(printed, file);
    // Four passes: 10, 15, 15 and 0 of 20 numbers came back, where chance expects about 5,7.
    ASSERT_EQ(file.size(), 4u + 21 + 3);
    EXPECT_EQ(file[0], "Vergleich mit dem Zufall");
    EXPECT_EQ(file[1], "Test: Test wie oft die gezogenen Zahlen in der jeweils nächsten Ziehung auftreten");
    EXPECT_EQ(file[2], "Geprüft: 4 Vergleiche der 20 Zahlen einer Ziehung mit einer anderen Ziehung");
    EXPECT_EQ(file[3], "Treffer\tbeobachtet\terwartet");
    EXPECT_EQ(file[4 + 5], "05\t0\t0,9");
    EXPECT_EQ(file[4 + 15], "15\t2\t0,0");
    EXPECT_EQ(file[25].rfind("Ergebnis: ", 0), 0u);
    EXPECT_EQ(file[27], "Grundlage: exakte Trefferverteilung zweier unabhängiger Ziehungen (20 aus 70), 1000 "
                        "Wiederholungen (Startwert 31334)");

    // The generator tests add the money; the same lucky number gives the same lines.
    const auto first = runCommand(base() + "--set Chekcbox28=1 --set System=2 backtest Erfolgstest --seed 99 --chance");
    const auto second =
        runCommand(base() + "--set Chekcbox28=1 --set System=2 backtest Erfolgstest --seed 99 --chance");
    ASSERT_EQ(first.status, 0) << first.out;
    EXPECT_EQ(first.out, second.out);
    EXPECT_NE(first.out.find("\nGeprüft: 20 Tipps in 4 Ziehungen\n"), std::string::npos);
    EXPECT_NE(first.out.find("\nEinsatz: 100,00 €\n"), std::string::npos);
    EXPECT_NE(first.out.find("\nZufällige Ziehungen: im Mittel "), std::string::npos);

    // A comparison that cannot be saved: the report is printed, the message says why, exit 1.
    std::filesystem::remove(dir.file("Analyse-Zufall.txt"));
    std::filesystem::create_directory(dir.file("Analyse-Zufall.txt"));
    const auto blocked = runCommand(base() + "backtest Button7 --chance");
    EXPECT_EQ(blocked.status, 1);
    EXPECT_EQ(blocked.out.rfind("message;Der Vergleich mit dem Zufall " + dir.file("Analyse-Zufall.txt") +
                                    " konnte nicht gespeichert werden",
                                0),
              0u)
        << blocked.out;
    EXPECT_NE(blocked.out.find("Bei 4 Ziehungen\n"), std::string::npos);
}
