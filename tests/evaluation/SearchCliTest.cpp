// zahlfuchs-cli search: the tip search with its questions answered from the options, printed.
#include <gtest/gtest.h>

#include "base/Text.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

struct CliSearch : ::testing::Test {
    TempDir dir;
    // The window runs from 06.01. to 13.01.; the browser stands on 13.01., the last draw of the window.
    std::string base() const {
        return std::string(ZF_CLI) + " --home " + dir.path() + " --settings " + dir.file("s.reg") +
               " --set UpDown18=10 --date 13.01.2020 --stats-start 06.01.2020";
    }
    void SetUp() override {
        writeDraws(dir.file("Keno.dat"), {draw(2019, 12, 30, 1), draw(2020, 1, 6, 1), draw(2020, 1, 8, 11),
                                          draw(2020, 1, 10, 21), draw(2020, 1, 13, 5), draw(2020, 1, 15, 1)});
        ASSERT_TRUE(writeTextLines(dir.file("tipps.txt"), {"1,2,3,4,5,6", "21,22,23,24,25,26,27,28"}));
    }
};

} // namespace

TEST_F(CliSearch, PrintsOneLinePerQuestionThenTheStatusTexts) {
    struct Case {
        const char* options;
        int status;
        std::string out;
    };
    // The final step of the browser shows 15.01. (1..20): the first tip has 6 hits there.
    const std::string after = "status0;Max-Gewinn 6er\nstatus1;\n";
    const Case cases[] = {
        {"", 0, "hit;06.01.2020;6\nhit;08.01.2020;8\nhit;10.01.2020;8\n" + after},
        {"--continue yes --threshold 4", 0,
         "hit;06.01.2020;6\nhit;08.01.2020;8\nhit;10.01.2020;8\nhit;13.01.2020;4\n" + after},
        {"--threshold 8 --continue no", 0, "hit;08.01.2020;8\n" + after},
        {"--threshold 9", 0, after},
        {"--threshold acht", 1, // nothing searched: the browser stays on 13.01.
         "message;\"acht\" ist keine ganze Zahl. Die Suche wird nicht gestartet.\nstatus0;Max-Gewinn 4er\nstatus1;\n"},
        {"--continue vielleicht", 2, ""},
        {"weiter", 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        const auto r = runCommand(base() + " search " + c.options + " 2>/dev/null");
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, c.out);
    }
}
