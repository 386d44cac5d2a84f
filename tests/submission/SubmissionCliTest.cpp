#include <gtest/gtest.h>

#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

CommandResult cli(const std::string& args) { return runCommand(std::string(ZF_CLI) + " " + args + " 2>&1"); }

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
                            "--tips 1 --draws-item 0 --stake-item 0 --plus5 0"})
        EXPECT_EQ(cli(base() + "cost " + bad).status, 2) << bad;
}
