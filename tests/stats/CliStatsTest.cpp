// zahlfuchs-cli stats KIND: the chart as lines, run as a user would run it.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

#include "support/TestSupport.h"
#include "tests/stats/StatsFixture.h"

using namespace zf;
using namespace zf::statstest;

namespace {

using CliRun = zf::test::CommandResult;

CliRun cli(const std::string& args) { return zf::test::runCommand(std::string(ZF_CLI) + " " + args + " 2>/dev/null"); }

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> v;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) v.push_back(l);
    return v;
}

struct StatsCli : ::testing::Test {
    TempDir dir;
    std::string base;
    void SetUp() override {
        writeDraws(dir.file("Keno.dat"),
                   {keno(19, 1, 2019, {1, 2, 3, 4}, {1, 1, 1, 1, 1}), keno(20, 1, 2019, {5, 6, 7, 8}, {2, 2, 2, 2, 2}),
                    keno(1, 6, 2019, {10, 11, 12, 13}, {3, 4, 5, 6, 7}),
                    keno(20, 1, 2020, {20, 21, 22, 23}, {9, 8, 7, 6, 5})});
        base = "--home " + dir.path() + " --settings " + dir.file("s.reg") +
               " --date 20.01.2020 --stats-start 20.01.2019 ";
    }
};

} // namespace

TEST_F(StatsCli, NumbersPrintCaptionSeventyBarsAndTheFixedAxis) {
    const CliRun r = cli(base + "stats numbers");
    ASSERT_EQ(r.status, 0) << r.out;
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 72u);
    EXPECT_EQ(out.front(), "caption;Zahlenverteilung     Ziehungen: 3    Quersumme: 989"); // (962+982+1022)/3
    const std::regex bar("([0-9]+);([0-9]+);(red|green)");
    for (int x = 1; x <= 70; ++x) {
        std::smatch mt;
        ASSERT_TRUE(std::regex_match(out[size_t(x)], mt, bar)) << out[size_t(x)];
        EXPECT_EQ(std::stoi(mt[1]), x);
    }
    EXPECT_EQ(out[1], "1;0;red");
    EXPECT_EQ(out[5], "5;1;red");
    EXPECT_EQ(out[51], "51;3;green");
    EXPECT_EQ(out.back(), "axis;0;3");
}

TEST_F(StatsCli, Plus5AllOverdueAndTheAutomaticAxis) {
    CliRun r = cli(base + "stats plus5-all --mode ausstehend");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "caption;Zahlenverteilung Über alle Position   Ziehungen: 3    Quersumme: 23\n"
                     "0;3;green\n1;3;green\n2;3;green\n3;2;green\n4;2;green\n"
                     "5;1;green\n6;1;green\n7;1;green\n8;1;green\n9;1;green\n"
                     "axis;1;3\n");

    r = cli(base + "stats plus5-sums");
    ASSERT_EQ(r.status, 0);
    const auto out = lines(r.out);
    EXPECT_EQ(out.front(), "caption;Quersummenverteilung     Ziehungen: 2    Quersumme: 30"); // 25 and 35
    EXPECT_EQ(out[1], "25;1;series");
    EXPECT_EQ(out[11], "35;1;series");
    EXPECT_EQ(out.back(), "axis;auto");
}

TEST_F(StatsCli, UsageAndReadErrors) {
    for (const char* args : {"stats", "stats numbers pairs", "stats plus5-7", "stats plus5-all --mode oft",
                             "stats numbers --mode wieoft", "stats cubes"})
        EXPECT_EQ(cli(base + args).status, 2) << args;
    std::filesystem::remove(dir.file("Keno.dat"));
    std::filesystem::create_directory(dir.file("Keno.dat"));
    EXPECT_EQ(cli(base + "stats pairs").status, 1);
    EXPECT_EQ(cli(base + "stats tipdist").status, 0) << "the tip list needs no draws";
}
