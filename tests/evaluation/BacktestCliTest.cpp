// zahlfuchs-cli backtest: the report lines as written to Analyse.txt, and the refusals.
#include <gtest/gtest.h>

#include "base/Text.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

struct CliBacktest : ::testing::Test {
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

TEST_F(CliBacktest, PrintsTheReportAndRefusesWhatIsNoTest) {
    // Four passes: 10, 15, 15 and 0 of 20 numbers come back in the next draw.
    const auto r = runCommand(base() + "backtest Button7");
    ASSERT_EQ(r.status, 0);
    std::string expected = "Aktuelle Einstellung brachten \n";
    for (int h = 0; h <= 20; ++h)
        expected += (h < 10 ? "0" : "") + std::to_string(h) + "er         => \t" +
                    std::to_string(h == 0    ? 1
                                   : h == 10 ? 1
                                   : h == 15 ? 2
                                             : 0) +
                    "\n";
    expected += "Bei 4 Ziehungen\n";
    EXPECT_EQ(r.out, expected);
    std::vector<std::string> file;
    ASSERT_TRUE(readTextLines(dir.file("Analyse.txt"), file));
    EXPECT_EQ(file.back(), "Bei 4 Ziehungen");
    // The batch run leaves the tip list file alone.
    EXPECT_EQ(contents(dir.file("tipps.txt")), "1,2,3,4,5,6\r\n");

    // From the newest draw there is nothing to test: a message, exit 1, the report of the last test stays.
    const std::string newest = "message;Nach der Ziehung vom 15.01.2020 gibt es nicht genug Ziehungen, an denen sich "
                               "der Test prüfen lässt. Wählen Sie ein früheres Datum. Es wurde kein Bericht "
                               "geschrieben, Analyse.txt bleibt unverändert.\n";
    const std::string report = contents(dir.file("Analyse.txt"));
    const struct {
        const char* args;
        int status;
        std::string out;
    } cases[] = {
        {"backtest Erfolgstest --seed elf", 1, "message;Fehler bei Eingabe der ZufallsZahl\n"},
        {"--date 15.01.2020 backtest Button7", 1, newest},
        {"--date 15.01.2020 backtest Erfolgstest --seed 1", 1, newest},
        {"--date 15.01.2020 backtest BitBtn9 --seed 1", 1, newest},
        {"backtest Button12", 2, ""},
        {"backtest", 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const auto run = runCommand(base() + c.args + " 2>/dev/null");
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(contents(dir.file("Analyse.txt")), report);
    }
}

TEST_F(CliBacktest, TheSameSeedGivesTheSameReport) {
    const auto first = runCommand(base() + "--set Chekcbox28=1 backtest Erfolgstest --seed 99");
    const auto second = runCommand(base() + "--set Chekcbox28=1 backtest Erfolgstest --seed 99");
    ASSERT_EQ(first.status, 0) << first.out;
    EXPECT_EQ(first.out, second.out);
    EXPECT_NE(first.out.find("Bei 4 Ziehungen\nTipps für die Ziehung nach dem 15.01.2020:\n"), std::string::npos);
    EXPECT_EQ(contents(dir.file("tipps.txt")), "1,2,3,4,5,6\r\n");
}
