#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sys/wait.h>

#include "base/Text.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

using Result = zf::test::CommandResult;

Result run(const std::string& args) {
    const std::string cmd = std::string(ZF_CLI) + " " + args + " 2>/dev/null";
    return runCommand(cmd);
}

struct CliFixture : ::testing::Test {
    TempDir dir;
    std::string base() const { return "--home " + dir.path() + " --settings " + dir.file("s.reg"); }
    void SetUp() override {
        writeDraws(dir.file("Keno.dat"),
                   {draw(2020, 1, 6, 1), draw(2020, 1, 8, 11, {0, 0, 7, 1, 2}), draw(2020, 1, 10, 21)});
    }
};

} // namespace

TEST_F(CliFixture, DrawsAndShow) {
    auto r = run(base() + " draws");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(splitLines(r.out).size(), 3u);
    EXPECT_EQ(splitLines(r.out)[1], "08.01.2020;11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30;00712");

    r = run(base() + " --date 07.01.2020 show");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Mi 08.01.20    11  12  13  14  15  16  17  18  19  20  21  22  23  24  25  26  27  28  29  30\n"
                     "Quersumme: 410\nMi 08.01.20    0  0  7  1  2\nQS: 10\nposition;1\n");
}

TEST_F(CliFixture, CheckPrintsHitsBestAndStatus) {
    ASSERT_TRUE(writeFileAtomic(dir.file("tipps.txt"), "11,12,40\r\n01,02\r\n\r\n"));
    auto r = run(base() + " --date 08.01.2020 --set UpDown18=2 check");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "2\n0\nbest;2\nstatus0;Max-Gewinn 2er\nstatus1;\n");
    std::string tips;
    ASSERT_TRUE(readFile(dir.file("tipps.txt"), tips));
    EXPECT_EQ(tips, "11,12,40\r\n01,02\r\n");    // written back without the blank line
    EXPECT_FALSE(fileExists(dir.file("s.reg"))); // the batch program never writes settings
}

TEST_F(CliFixture, DeleteDraw) {
    auto r = run(base() + " --date 08.01.2020 delete-draw");
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("position;1\n"), std::string::npos);
    EXPECT_EQ(r.out.substr(0, 11), "Fr 10.01.20");
    EXPECT_EQ(readDraws(dir.file("Keno.dat")).size(), 2u);
}

TEST_F(CliFixture, UsageErrorsExitWithTwo) {
    for (const char* args : {"", "frobnicate", "--date 31.02.2020 show", "--set UpDown18=zehn show",
                             "--set Gibtsnicht=1 show", "show --bogus", "--home"})
        EXPECT_EQ(run(base() + " " + args).status, 2) << args;
}

TEST_F(CliFixture, MissingHistoryIsSeededAndAnUnreadableOneIsAnError) {
    std::filesystem::remove(dir.file("Keno.dat"));
    auto r = run(base() + " draws");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(splitLines(r.out).size(), 7666u);
    EXPECT_EQ(splitLines(r.out).front(), "02.02.2004;4,6,8,24,25,27,28,29,31,37,40,41,43,49,50,54,55,56,64,66;");

    std::filesystem::remove(dir.file("Keno.dat"));
    std::filesystem::create_directory(dir.file("Keno.dat")); // cannot be read or seeded
    r = run(base() + " draws");
    EXPECT_EQ(r.status, 1);
}

TEST_F(CliFixture, WinningsAndPrint) {
    // Draw of 08.01.2020 holds 11..30.
    ASSERT_TRUE(writeFileAtomic(dir.file("tipps.txt"), "11,12,13,14\r\n11,12,50,60\r\n01,02,03,04\r\n"));
    auto r = run(base() + " --date 08.01.2020 --set UpDown18=4 --set System=1 winnings");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "message;Gewinne\\n1 x  4er \t44\\n1 x  2er \t2\\n\\n46€ ohne Gewähr\n");

    r = run(base() + " --set UpDown8=2 --set UpDown9=3 print");
    ASSERT_EQ(r.status, 0);
    const auto lines = splitLines(r.out);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0].rfind("Zahlfuchs Tipp vom ", 0), 0u);
    EXPECT_EQ(lines[4], " 2. Tipp:  11,12,50,60");
    EXPECT_EQ(lines[6], " 1. Tipp:  01,02,03,04");
    EXPECT_EQ(lines[5], " ");
    EXPECT_EQ(lines[7], " ");
    EXPECT_TRUE(fileExists(dir.file("Tipp.txt")));
}
