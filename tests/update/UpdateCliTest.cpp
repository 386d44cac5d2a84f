#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/wait.h>

#include "app/draws/Browser.h"
#include "app/draws/Export.h"
#include "app/draws/Update.h"
#include "base/SystemError.h"
#include "base/Text.h"
#include "draws/CliRun.h"
#include "platform/SystemClock.h"
#include "update/ServerSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

using Result = zf::test::CommandResult;

Result run(const std::string& args, const std::string& folder = {}) {
    const std::string cmd =
        (folder.empty() ? "" : "cd '" + folder + "' && ") + std::string(ZF_CLI) + " " + args + " 2>/dev/null";
    return runCommand(cmd);
}

struct CliUpdateFixture : ::testing::Test {
    TempDir dir;
    std::string base() const { return "--home " + dir.path() + " --settings " + dir.file("s.reg"); }
    void SetUp() override {
        writeDraws(dir.file("Keno.dat"),
                   {draw(2020, 1, 6, 1), draw(2020, 1, 8, 11, {0, 0, 7, 1, 2}), draw(2020, 1, 10, 21)});
    }
};

std::string showLines(const DrawRecord& r, int position) {
    int sum = 0, qs = 0;
    for (uint8_t n : r.zahl) sum += n;
    for (uint8_t d : r.zahl5) qs += d;
    return drawLine(r, 2) + "\nQuersumme: " + std::to_string(sum) + "\n" + plus5Line(r, 2) +
           "\nQS: " + std::to_string(qs) + "\nposition;" + std::to_string(position) + "\n";
}

} // namespace

TEST_F(CliUpdateFixture, UpdatePrintsEveryDayThenTheCurrentDraw) {
    // The batch program runs on the real clock: the days are counted back from today.
    const double today = std::floor(SystemClock().now());
    const auto history = serverDraws(today - 5, 5); // up to yesterday
    writeDraws(dir.file("server.dat"), history);
    writeDraws(dir.file("Keno.dat"), {history[0], history[1], history[2]});
    auto server = startDrawServer(dir.file("server.dat"), dir.file("requests.log"));

    const Result r = run(base() + " update --server " + server->url());
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "Received " + std::to_string(drawAnswerText(history[3]).size()) + " bytes\n" + "Received " +
                         std::to_string(drawAnswerText(history[4]).size()) + " bytes\n" + formatDate(today) +
                         " noch nicht verfügbar!\n" + showLines(history[4], 4));
    EXPECT_EQ(readDraws(dir.file("Keno.dat")), history);

    // Only the update command reads from the server; start-up does not.
    EXPECT_EQ(run(base() + " show").status, 0);
    EXPECT_EQ(requestedDays(dir.file("requests.log")).size(), 3u);
    EXPECT_EQ(run(base() + " update --server ftp://127.0.0.1/").status, 2);
}

TEST_F(CliUpdateFixture, AddDrawStoresItAndShowsIt) {
    const std::string numbers = "70,3,44,12,9,1,55,23,31,68,40,17,29,50,61,5,36,48,7,66";
    Result r =
        run(base() + " --date 06.01.2020 add-draw --draw-date 09.01.2020 --numbers " + numbers + " --plus5 00712");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.substr(0, 11), "Do 09.01.20"); // the entered draw
    EXPECT_NE(r.out.find("position;2\n"), std::string::npos);
    auto after = readDraws(dir.file("Keno.dat"));
    ASSERT_EQ(after.size(), 4u);
    EXPECT_EQ(after[2].datum, dateValue(2020, 1, 9));
    EXPECT_EQ(after[2].zahl[0], 1);
    EXPECT_EQ(after[2].zahl[19], 70);
    EXPECT_EQ(after[2].plus5Number(), 712);

    // 19 numbers: the refusal, nothing stored.
    r = run(base() +
            " add-draw --draw-date 11.01.2020 --numbers 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19 --plus5 12345");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(
        r.out.find(
            "message;Eine Ziehung hat genau 20 Zahlen, angekreuzt sind 19.\\nBitte korrigieren Sie die Auswahl.\n"),
        std::string::npos)
        << r.out;
    EXPECT_EQ(readDraws(dir.file("Keno.dat")).size(), 4u);

    for (const std::string& bad : std::vector<std::string>{
             "--numbers 1,2,x", "--numbers 0," + numbers.substr(3), "--numbers " + numbers + " --plus5 1234",
             "--numbers " + numbers + " --draw-date 31.02.2020", "--plus5 12345"})
        EXPECT_EQ(run(base() + " add-draw " + bad).status, 2) << bad;
}

TEST_F(CliUpdateFixture, ExportAndSingleDrawExport) {
    const auto records = readDraws(dir.file("Keno.dat"));
    Result r = run(base() + " export --layout 4 --from 08.01.2020 --out " + dir.file("k.csv"));
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    std::string text;
    ASSERT_TRUE(readFile(dir.file("k.csv"), text));
    EXPECT_EQ(text, exportLine(records[1], 4) + "\r\n" + exportLine(records[2], 4) + "\r\n");
    // Without --from the picker's date (--date) counts; without --out the proposed name.
    ASSERT_EQ(run(base() + " --date 10.01.2020 export --layout 2").status, 0);
    ASSERT_TRUE(readFile(dir.file("KenoZahlen.txt"), text));
    EXPECT_EQ(text, exportLine(records[2], 2) + "\r\n");
    EXPECT_EQ(run(base() + " export --layout 6").status, 2);

    const std::string folder = dir.path() + "single";
    std::filesystem::create_directories(folder);
    r = run(base() + " --date 08.01.2020 export-single", folder);
    ASSERT_EQ(r.status, 0);
    ASSERT_TRUE(readFile(folder + "/20200108.txt", text));
    EXPECT_EQ(text, drawAnswerText(records[1]));
    EXPECT_TRUE(fileExists(folder + "/20200110.txt"));
    EXPECT_FALSE(fileExists(folder + "/20200106.txt"));
}

TEST_F(CliUpdateFixture, ZerosAfterACrashDoNotMakeTheUpdateStartAgainNorStoreADateTwice) {
    const double today = std::floor(SystemClock().now());
    const auto history = serverDraws(today - 5, 5);
    writeDraws(dir.file("server.dat"), history);
    writeDraws(dir.file("Keno.dat"), {history[0], history[1], history[2], DrawRecord{}});
    auto server = startDrawServer(dir.file("server.dat"), dir.file("requests.log"));

    const Result r = run(base() + " update --server " + server->url());
    ASSERT_EQ(r.status, 0) << r.out;
    // Asked only for the days after the last valid date; the broken record stays where it was.
    EXPECT_EQ(requestedDays(dir.file("requests.log")).size(), 3u);
    EXPECT_EQ(readDraws(dir.file("Keno.dat")),
              (std::vector<DrawRecord>{history[0], history[1], history[2], DrawRecord{}, history[3], history[4]}));
    // Again: nothing new, nothing twice.
    ASSERT_EQ(run(base() + " update --server " + server->url()).status, 0);
    EXPECT_EQ(readDraws(dir.file("Keno.dat")).size(), 6u);
}

TEST_F(CliUpdateFixture, AnUpdateThatFailsExitsWithOne) {
    const double today = std::floor(SystemClock().now());
    const auto history = serverDraws(today - 5, 5);
    writeDraws(dir.file("server.dat"), history);
    const std::vector<DrawRecord> stored = {history[0], history[1], history[2]};
    struct Case {
        const char* name;
        std::string options;
        std::vector<std::string> fault;
        rlim_t fileSizeLimit;
        std::string says;
    };
    const std::string invalidDay = formatDate(history[3].datum);
    const std::string faultDay = invalidDay.substr(6, 4) + invalidDay.substr(3, 2) + invalidDay.substr(0, 2);
    const std::vector<Case> cases = {
        {"proxy port", "--set ProxyHostEdit=127.0.0.1 --set ProxyPortEdit=80x", {}, RLIM_INFINITY, "Proxy-Port"},
        {"invalid answer", "", {"--fault", faultDay + "=range"}, RLIM_INFINITY, "fehlerhaft"},
        // The disk is full after half a record more.
        {"full disk", "", {}, 3 * kRecordSize + 20, systemReason(EFBIG)},
    };
    for (const Case& c : cases) {
        writeDraws(dir.file("Keno.dat"), stored);
        auto server = startDrawServer(dir.file("server.dat"), dir.file("requests.log"), c.fault);
        CliRun r(base() + " " + c.options + " update --server " + server->url(), c.fileSizeLimit);
        EXPECT_EQ(r.status(), 1) << c.name << "\n" << r.output();
        EXPECT_NE(r.output().find(c.says), std::string::npos) << c.name << "\n" << r.output();
        EXPECT_EQ(readDraws(dir.file("Keno.dat")), stored) << c.name;
    }
}

// The whole bundled history through the stand-in server and back: the file the server serves and the
// file the update writes are the same, byte for byte (no Plus 5 number appears on the way).
TEST(CliUpdateRoundTrip, TheBundledHistoryComesBackByteForByte) {
    TempDir dir;
    const std::string base = "--home " + dir.path() + " --settings " + dir.file("s.reg") + " --date 30.12.2025";
    ASSERT_EQ(run(base + " show").status, 0); // a first start writes the bundled history
    std::string full;
    ASSERT_TRUE(readFile(dir.file("Keno.dat"), full));
    ASSERT_EQ(full.size() % kRecordSize, 0u);
    ASSERT_GT(full.size(), 100 * kRecordSize);
    std::filesystem::copy_file(dir.file("Keno.dat"), dir.file("full.dat"));
    std::filesystem::resize_file(dir.file("Keno.dat"), full.size() - 100 * kRecordSize);

    auto server = startDrawServer(dir.file("full.dat"), dir.file("requests.log"), {}, dir.file("server.err"));
    const Result r = run(base + " update --server " + server->url());
    ASSERT_EQ(r.status, 0) << r.out;

    std::string after;
    ASSERT_TRUE(readFile(dir.file("Keno.dat"), after));
    ASSERT_EQ(after.size(), full.size());
    const auto diff = std::mismatch(full.begin(), full.end(), after.begin());
    EXPECT_TRUE(diff.first == full.end()) << "first difference in record " << (diff.first - full.begin()) / kRecordSize;

    size_t received = 0;
    for (const std::string& line : splitLines(r.out)) received += line.rfind("Received ", 0) == 0;
    EXPECT_EQ(received, 100u);
    EXPECT_EQ(r.out.find("fehlerhaft"), std::string::npos) << r.out.substr(0, 2000);
    // The last draw is current, shown without a Plus 5 number.
    uint8_t lastBytes[kRecordSize];
    std::copy(full.end() - kRecordSize, full.end(), lastBytes);
    const DrawRecord last = decodeRecord(lastBytes);
    EXPECT_FALSE(last.hasPlus5());
    EXPECT_NE(r.out.find("\n" + plus5Line(last, 2) + "\nQS: -\nposition;" +
                         std::to_string(full.size() / kRecordSize - 1) + "\n"),
              std::string::npos)
        << r.out.substr(r.out.size() > 400 ? r.out.size() - 400 : 0);
    EXPECT_EQ(contents(dir.file("server.err")), ""); // the bundled history is readable throughout
}
