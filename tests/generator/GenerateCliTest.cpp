// zahlfuchs-cli generate: the same run as the desktop program's, printed.
#include <array>
#include <cstdio>
#include <sys/wait.h>

#include "GeneratorFixture.h"
#include "base/Text.h"

using namespace zf;
using namespace zf::gentest;

namespace {

using Result = zf::test::CommandResult;

Result cli(const std::string& args) {
    const std::string cmd = std::string(ZF_CLI) + " " + args + " 2>/dev/null";
    return zf::test::runCommand(cmd);
}

struct CliGenerate : GenFixture {
    std::string base() const {
        return "--home " + dir.path() + " --settings " + dir.file("s.reg") + " --date 10.02.2021";
    }
    void SetUp() override {
        GenFixture::SetUp();
        std::vector<DrawRecord> draws;
        for (int d = 1; d <= 10; ++d) draws.push_back(test::draw(2021, 2, d, 21 + d));
        useDraws(draws);
    }
};

} // namespace

TEST_F(CliGenerate, PrintsTheTipsOfTheSameRunAsTheWindow) {
    const auto r = cli(base() + " --set UpDown9=4 --set UpDown18=7 generate --seed 2021");
    ASSERT_EQ(r.status, 0);

    // The same run in the desktop program's controller: design options, same seed.
    m.resetToDesign();
    m.setTotalTips(4);
    m.num(Num::KenoType).set(7);
    chooseDay(2021, 2, 10);
    generate(2021);
    ASSERT_EQ(m.tipLines.size(), 4u);
    std::string expected;
    for (const auto& line : m.tipLines) expected += line + "\n";
    expected += "laufmax;100000\nstatus0;" + m.status[0] + "\nstatus1;Tipps wurden neu berechnet\n";
    EXPECT_EQ(r.out, expected);
}

TEST_F(CliGenerate, PoolListAnswersTheNumberDialog) {
    std::vector<std::string> list(70, "");
    for (int k : {2, 4, 6, 8, 10}) list[static_cast<size_t>(k - 1)] = "3";
    ASSERT_TRUE(writeTextLines(dir.file("pool.kwl"), list));
    const std::string opts = base() + " --set UpDown9=2 --set UpDown18=5 --set Chekcbox20=1";

    auto r = cli(opts + " generate --seed 1 --pool-list " + dir.file("pool.kwl"));
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "02,04,06,08,10\n02,04,06,08,10\nlaufmax;100000\nstatus0;\nstatus1;Tipps wurden neu berechnet\n");

    // Without a list the dialog is left with OK: the pool as built.
    r = cli(opts + " generate --seed 1");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(splitLines(r.out).size(), 5u);
    EXPECT_NE(r.out.substr(0, 15), "02,04,06,08,10\n");
}

// A run refused before its first attempt stores nothing: its German message first, exit 1, and
// tipps.txt as it was although "Löschen vor Berechnung" is ticked.
TEST_F(CliGenerate, ARefusedRunLeavesTheTipFile) {
    const std::string tips = "01,02,03,04,05,06\r\n07,08,09,10,11,12\r\n";
    std::vector<std::string> list(70, "");
    list[6] = "50";
    ASSERT_TRUE(writeTextLines(dir.file("one.kwl"), list));
    list[4] = "viel";
    ASSERT_TRUE(writeTextLines(dir.file("viel.kwl"), list));
    const struct {
        std::string args;
        std::string message;
    } cases[] = {
        {"generate --enumerate --seed 1", "message;Aus den 338 Zahlen des Zahlenpools lassen sich mehr als"},
        // The status text that tells the window why is the batch command's message.
        {"--set Chekcbox20=1 generate --pool-list " + dir.file("one.kwl"),
         "message;Der Zahlenpool enthält nur 1 verschiedene Zahlen, für einen Tipp werden 10 gebraucht. Ändern Sie "
         "die Optionen!\n"},
        {"--set Chekcbox20=1 generate --pool-list " + dir.file("viel.kwl"),
         "message;Die Gewichtung \"viel\" der Zahl 5 ist keine ganze Zahl. Die Tippberechnung wird abgebrochen.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        ASSERT_TRUE(writeFileAtomic(dir.file("tipps.txt"), tips));
        const auto r = cli(base() + " --set Chekcbox28=1 " + c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out.substr(0, c.message.size()), c.message);
        EXPECT_EQ(test::contents(dir.file("tipps.txt")), tips);
    }
}

TEST_F(CliGenerate, UsageAndFailures) {
    EXPECT_EQ(cli(base() + " generate --seed zwölf").status, 2);
    EXPECT_EQ(cli(base() + " generate extra").status, 2);
    EXPECT_EQ(cli(base() + " generate --pool-list " + dir.file("fehlt.kwl")).status, 1);
    // Draws that cannot be read are an error of the run.
    std::filesystem::remove(dir.file("Keno.dat"));
    std::filesystem::create_directory(dir.file("Keno.dat"));
    EXPECT_EQ(cli(base() + " generate").status, 1);
}
