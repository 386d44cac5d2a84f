#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
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

// A tip list with what a rewrite used to change: unassigned code page bytes, UTF-8, NUL, blank lines.
const std::string kOddTips = "11,12,40\r\n\x81\x8D\x8F\x90\x9D\r\nGr\xC3\xBC\xC3\x9F\r\n" + std::string("A\0B", 3) +
                             "\r\n   \r\n\r\n01,02\n03,04";

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
    EXPECT_EQ(tips, "11,12,40\r\n01,02\r\n\r\n"); // the blank line the check dropped stays in the file
    EXPECT_FALSE(fileExists(dir.file("s.reg")));  // the batch program never writes settings
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

TEST_F(CliFixture, HelpAndVersionPrintAndSucceedWithoutTouchingAnything) {
    auto r = run("--help");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("Aufruf: zahlfuchs-cli [--home DIR]", 0), 0u) << r.out;
    for (const char* command : {"draws", "show", "import", "update", "export-single"})
        EXPECT_NE(r.out.find(std::string("\n  ") + command + "  "), std::string::npos) << command;
    r = run(base() + " --help");
    EXPECT_EQ(r.status, 0);
    r = run("--version");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "zahlfuchs-cli " ZF_VERSION "\n");
    EXPECT_EQ(std::filesystem::exists(dir.file("s.reg")), false);
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
    // The win, then the list beside chance: 3 tips at 2 euros, what they win on average, how rare 46 euros are.
    EXPECT_EQ(r.out, "message;Gewinne\\n1 x  4er \t44\\n1 x  2er \t2\\n\\n46€ ohne Gewähr\\n\\n"
                     "Einsatz der Liste: 6,00 €\\nIm Mittel gewinnt die Liste je Ziehung 2,97 €\\n"
                     "So viel oder mehr gewinnen zufällige Tipps in 0,85 % der Ziehungen (1 : 118)\n");

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

TEST_F(CliFixture, ReadOnlyCommandsChangeNoFile) {
    ASSERT_TRUE(writeFileAtomic(dir.file("tipps.txt"), kOddTips));
    const ino_t before = inode(dir.file("tipps.txt"));
    for (const std::string& command : std::vector<std::string>{
             "draws", "show", "check", "winnings", "print", "stats numbers", "stats tipdist", "stats plus5-1",
             "export --layout 1 --from 01.01.2020 --out " + dir.file("export.txt"), "export-single"}) {
        const auto r = run(base() + " --date 08.01.2020 --set UpDown18=2 " + command);
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_EQ(contents(dir.file("tipps.txt")), kOddTips) << command;
        EXPECT_EQ(inode(dir.file("tipps.txt")), before) << command;
        EXPECT_FALSE(fileExists(dir.file("s.reg"))) << command;
    }
}

TEST_F(CliFixture, GenerateWritesTheListOnlyWhenItAddedTips) {
    const struct {
        const char* what;
        std::string before;
        bool rewritten;
    } cases[] = {
        // The generator reads every line of the list and stops at the first that is no tip.
        {"odd lines stop the run", kOddTips, false},
        {"a tip added", "11,12\n\n01,02", true},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(writeFileAtomic(dir.file("tipps.txt"), c.before));
        const ino_t before = inode(dir.file("tipps.txt"));
        // "Gesamt-Tipps" 3: the run adds one tip to a list of two.
        const auto r = run(base() + " --set UpDown18=2 --set UpDown9=3 --set Chekcbox28=0 generate --seed 7");
        ASSERT_EQ(r.status, 0) << c.what;
        EXPECT_EQ(inode(dir.file("tipps.txt")) != before, c.rewritten) << c.what;
        if (!c.rewritten) {
            EXPECT_EQ(contents(dir.file("tipps.txt")), c.before) << c.what;
            continue;
        }
        const auto lines = splitLines(r.out); // the list, laufmax, two status lines
        ASSERT_EQ(lines.size(), 6u) << r.out;
        EXPECT_EQ(contents(dir.file("tipps.txt")), "11,12\r\n01,02\r\n" + lines[2] + "\r\n") << c.what;
    }
}

TEST_F(CliFixture, TheWindowKeepsTipsTheBatchProgramStored) {
    // A window-less start on the same Home, a batch "generate", then the window's close.
    const struct {
        const char* what;
        std::optional<std::string> before; // tipps.txt at the window's start
        bool windowAddsATip;
        bool closeSucceeds;
    } cases[] = {
        {"no tip list yet", std::nullopt, false, true},
        {"a tip list", std::string("01,02\r\n"), false, true},
        {"the window changed its list too", std::string("01,02\r\n"), true, false},
    };
    for (const auto& c : cases) {
        TempDir home;
        writeDraws(home.file("Keno.dat"), {draw(2020, 1, 6, 1), draw(2020, 1, 8, 11), draw(2020, 1, 10, 21)});
        if (c.before) {
            ASSERT_TRUE(writeFileAtomic(home.file("tipps.txt"), *c.before));
        }
        WithSession window(dateValue(2020, 1, 10) + 0.5);
        window.session.app.start(home.path(), 573);

        const auto r = runCommand(std::string(ZF_CLI) + " --home " + home.path() + " --settings " + home.file("s.reg") +
                                  " --set UpDown18=2 --set UpDown9=3 generate --seed 11 2>&1");
        ASSERT_EQ(r.status, 0) << c.what << "\n" << r.out;
        const std::string stored = contents(home.file("tipps.txt"));
        ASSERT_EQ(splitLines(stored).size(), 3u) << c.what; // "Gesamt-Tipps" 3

        if (c.windowAddsATip) window.m.tipLines.push_back("05,06");
        EXPECT_EQ(window.session.app.close(), c.closeSucceeds) << c.what;
        EXPECT_EQ(contents(home.file("tipps.txt")), stored) << c.what;
        if (!c.closeSucceeds) {
            ASSERT_EQ(window.prompter.messages.size(), 1u) << c.what;
            EXPECT_NE(window.prompter.messages[0].find("von einem anderen Programm geändert"), std::string::npos);
        }
    }
}

TEST_F(CliFixture, AnUnreadableTipListIsLeftAlone) {
    ASSERT_TRUE(writeFileAtomic(dir.file("tipps.txt"), "01,02\r\n"));
    openToEveryone(dir.path());
    std::filesystem::permissions(dir.file("tipps.txt"), std::filesystem::perms::none);
    const struct {
        const char* command;
        int status;
        const char* says;
    } cases[] = {
        {"show", 0, "tipps.txt kann nicht gelesen werden"},
        {"generate --seed 3", 1, "bleibt unverändert; die Tipps der Liste wurden nicht gespeichert"},
    };
    for (const auto& c : cases) {
        CommandResult r;
        const int done = runUnprivileged([&] {
            r = runCommand(std::string(ZF_CLI) + " " + base() + " --set UpDown18=2 --set UpDown9=1 " + c.command +
                           " 2>&1");
            return r.status == c.status && r.out.find(c.says) != std::string::npos ? 0 : 1;
        });
        if (done == kNoUnprivilegedUser) GTEST_SKIP() << "kein Benutzer ohne Root-Rechte verfügbar";
        EXPECT_EQ(done, 0) << c.command;
    }
    std::filesystem::permissions(dir.file("tipps.txt"), std::filesystem::perms::owner_read);
    EXPECT_EQ(contents(dir.file("tipps.txt")), "01,02\r\n");
}
