#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>

#include "base/Text.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

CommandResult cli(const std::string& args) { return runCommand(std::string(ZF_CLI) + " " + args + " 2>/dev/null"); }

struct CliFixture : ::testing::Test {
    TempDir dir;
    std::string base() const { return "--home " + dir.path() + " --settings " + dir.file("s.reg") + " "; }
    void SetUp() override { writeDraws(dir.file("Keno.dat"), {draw(2020, 1, 6, 1)}); }
};

} // namespace

TEST_F(CliFixture, CostPrintsTheDialogsText) {
    struct Case {
        std::string args, out;
    } cases[] = {
        {"--tips 7 --draws-item 2 --stake-item 1 --plus5 1 --fee 0,20", "43,70 €\n"},
        {"--tips 120 --draws-item 8 --stake-item 3 --plus5 0 --fee 0", "33.600,00 €\n"},
        {"--tips 1 --draws-item 0 --stake-item 0 --plus5 0 --fee 0.20", "1,25 €\n"}, // no number: 0,25
        {"--tips 1 --draws-item 0 --stake-item 0 --plus5 0 --fee ''", "1,25 €\n"},
    };
    for (const auto& c : cases) {
        const auto r = cli(base() + "cost " + c.args);
        EXPECT_EQ(r.status, 0) << c.args;
        EXPECT_EQ(r.out, c.out) << c.args;
    }
    for (const char* bad : {"--tips 1 --draws-item 9 --stake-item 0 --plus5 0 --fee 0",
                            "--tips 1 --draws-item 0 --stake-item 4 --plus5 0 --fee 0",
                            "--tips 1 --draws-item -1 --stake-item 0 --plus5 0 --fee 0",
                            "--tips 1 --draws-item 0 --stake-item 0 --plus5 2 --fee 0",
                            "--tips x --draws-item 0 --stake-item 0 --plus5 0 --fee 0",
                            "--tips 1 --draws-item 0 --stake-item 0 --plus5 0",
                            "--tips 1 --draws-item 0 --stake-item 0 --plus5 0 --fee -5",
                            "--tips 1 --draws-item 0 --stake-item 0 --plus5 0 --fee 1e308"})
        EXPECT_EQ(cli(base() + "cost " + bad).status, 2) << bad;
}

// A template is read only from a regular file of at most 1 MiB: a FIFO would block for ever, /dev/zero
// would grow until memory runs out.
TEST_F(CliFixture, TemplatesThatAreNoRegularFileOrTooLargeAreRefused) {
    ASSERT_TRUE(writeFileAtomic(dir.file("tipps.txt"), "01,02,03\r\n"));
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    ASSERT_TRUE(writeFileAtomic(dir.file("big.txt"), std::string((1 << 20) + 1, 'x')));
    for (const std::string& path : {dir.file("fifo"), std::string("/dev/zero"), dir.file("big.txt")}) {
        for (const char* command : {"cart", "script"}) {
            const auto r = runCommand("timeout 20 " + std::string(ZF_CLI) + " " + base() + command + " --template " +
                                      path + " --digits 12345 2>&1");
            EXPECT_EQ(r.status, 1) << command << " " << path << "\n" << r.out;
            EXPECT_TRUE(r.out.find("keine gewöhnliche Datei") != std::string::npos ||
                        r.out.find("größer als 1 MiB") != std::string::npos)
                << command << " " << path << "\n"
                << r.out;
        }
    }
}

TEST_F(CliFixture, CartPrintsOneAddressPerTicket) {
    ASSERT_TRUE(writeFileAtomic(dir.file("tipps.txt"), "01,02,03\r\n04,05,06\r\n07,08,09\r\n"));
    ASSERT_TRUE(writeFileAtomic(dir.file("t.txt"),
                                "https://shop.test/k?a=[KASTEN1]&b=[KASTEN2]&l=[LOS1][LOS2][LOS3][LOS4][LOS5]"
                                "&p=[PLUS5]&e=[PREIS]&n=[ANZAHL]"));
    const std::string redirect = "https://partner.zahlfuchs.invalid/click.asp?ref=000000&site=00000&type=text"
                                 "&tnb=60&diurl=";
    auto r = cli(base() + "--set UpDown8=2 cart --template " + dir.file("t.txt") +
                 " --digits 90817 --draws-item 8 --stake-item 2 --plus5 0 --seed 5");
    EXPECT_EQ(r.status, 0) << r.out;
    const auto lines = splitLines(r.out);
    ASSERT_EQ(lines.size(), 2u) << r.out;
    EXPECT_EQ(lines[0], "open;" + redirect +
                            "https%3A%2F%2Fshop.test%2Fk%3Fa%3D1,2,3%26b%3D4,5,6%26l%3D90817%26p%3D0"
                            "%26e%3D500%26n%3D28");
    EXPECT_EQ(lines[1].find("l%3D90817"), std::string::npos); // the second ticket: a new number
    EXPECT_NE(lines[1].find("a%3D7,8,9%26b%3D%26l"), std::string::npos);
    EXPECT_EQ(contents(dir.path() + "Tipps/" + formatYmdCompact(std::floor(SystemClock().now())) + "_1.kcs"),
              lines[0].substr(5 + redirect.size()) + "\r\n");

    // without a template no request is made: the built-in one
    r = cli(base() + "cart --digits 00001");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("open;" + redirect +
                              "https%3A%2F%2Fwarenkorb.zahlfuchs.invalid%2Flotto%2Fwarenkorb2.asp"
                              "%3Fspielscheinnummer%3D00001%26plus5_teilnahme%3D1",
                          0),
              0u)
        << r.out;

    // an error: the lines made so far, the message, exit 1
    ASSERT_TRUE(writeFileAtomic(dir.file("tipps.txt"), "01,02,03\r\n04,x5,06\r\n"));
    r = runCommand(std::string(ZF_CLI) + " " + base() + "--set UpDown8=1 cart --template " + dir.file("t.txt") +
                   " 2>/dev/null");
    EXPECT_EQ(r.status, 1);
    const auto failed = splitLines(r.out);
    ASSERT_EQ(failed.size(), 2u) << r.out;
    EXPECT_EQ(failed[0].substr(0, 5), "open;");
    EXPECT_EQ(failed[1], "message;Die Tippzeile \"04,x5,06\" enthält etwas, das keine Zahl ist.");

    // a message page
    ASSERT_TRUE(writeFileAtomic(dir.file("m.htm"), "<html>Mitteilung: geschlossen</html>"));
    r = cli(base() + "cart --template " + dir.file("m.htm"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "open;" + dir.path() + "Meldung.htm\n");

    EXPECT_EQ(cli(base() + "cart --digits 1234").status, 2);
    EXPECT_EQ(cli(base() + "cart --stake-item 4").status, 2);
}

TEST_F(CliFixture, ScriptWritesOneScriptPerTicket) {
    ASSERT_TRUE(writeFileAtomic(dir.file("tipps.txt"), "01,02,03\r\n04,05,06\r\n07,08,09\r\n"));
    ASSERT_TRUE(writeFileAtomic(dir.file("s.kcs"), "Z=[Z1_1] [Z3_2] [Z4_1]\r\nT=[TIPP24]\r\nL=[LOS1][LOS2][LOS3][LOS4]"
                                                   "[LOS5] [ZIEHUNG] [PREIS] [PLUS5ON]\r\n\xDC"));
    const auto r = cli(base() + "--set UpDown8=2 --set UpDown18=3 script --template " + dir.file("s.kcs") +
                       " --digits 12345 --draws-item 6 --stake-item 3 --plus5 1");
    EXPECT_EQ(r.status, 0) << r.out;
    const auto lines = splitLines(r.out);
    ASSERT_EQ(lines.size(), 2u) << r.out;
    const std::string day = formatYmdCompact(std::floor(SystemClock().now()));
    EXPECT_EQ(lines[0], "script;" + dir.path() + "Tipps/" + day + "_1.kcs");
    EXPECT_EQ(contents(dir.path() + "Tipps/" + day + "_1.kcs"),
              "Z=01 06 71\r\nT=keno1_1=01&keno1_2=02&keno1_3=03&keno2_1=04&keno2_2=05&keno2_3=06&\r\n"
              "L=12345 7 10 EUR on\r\n\xDC\r\n");
    EXPECT_EQ(cli(base() + "script").status, 2);
}
