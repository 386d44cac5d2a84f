// zahlfuchs-cli import: the summary on standard output, the answer from --replace, and the exit status
// when nothing could be stored.
#include <gtest/gtest.h>

#include <fstream>

#include "draws/CliRun.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

struct ImportCli : ::testing::Test {
    TempDir dir;
    std::string keno() const { return dir.file("Keno.dat"); }
    void SetUp() override {
        writeDraws(keno(), {draw(2025, 1, 6, 1), draw(2025, 1, 8, 11)});
        std::ofstream(dir.file("new.csv"))
            << "date,n1,n2\n"
               "2025-01-08,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,49,50,\n"
               "2025-01-09,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,\n"
               "2025-01-10,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,\n";
    }
    std::string import(const std::string& rest) const {
        return "--home " + dir.path() + " --settings " + dir.file("s.reg") + " --date 10.01.2025 import " + rest +
               " 2>&1";
    }
};

} // namespace

TEST_F(ImportCli, WithoutReplaceADifferingDateIsKeptAndWithItReplaced) {
    CliRun keep(import(dir.file("new.csv")));
    EXPECT_EQ(keep.status(), 0);
    EXPECT_EQ(keep.output(), "1 Ziehung wurde hinzugefügt.\n"
                             "0 Ziehungen wurden ersetzt.\n"
                             "0 Ziehungen waren schon gespeichert und bleiben unverändert.\n"
                             "1 Ziehung steht mit anderen Zahlen in Keno.dat und wurde behalten: 08.01.2025.\n"
                             "1 Zeile wurde übersprungen:\n"
                             "Zeile 4: 19 Zahlen statt 20.\n");
    EXPECT_EQ(readDraws(keno()).size(), 3u);
    EXPECT_EQ(readDraws(keno())[1].zahl[0], 11);

    CliRun replace(import(dir.file("new.csv") + " --replace"));
    EXPECT_EQ(replace.status(), 0);
    EXPECT_NE(replace.output().find("1 Ziehung wurde ersetzt.\n"), std::string::npos) << replace.output();
    EXPECT_EQ(readDraws(keno())[1].zahl[0], 31);
}

TEST_F(ImportCli, NothingStoredExitsWithOneAndLeavesKenoDatAlone) {
    const std::string before = contents(keno());
    CliRun missing(import(dir.file("none.csv")));
    EXPECT_EQ(missing.status(), 1);
    EXPECT_NE(missing.output().find("kann nicht gelesen werden"), std::string::npos) << missing.output();

    // A full disk during the rewrite.
    CliRun full(import(dir.file("new.csv")), before.size());
    EXPECT_EQ(full.status(), 1) << full.output();
    EXPECT_NE(full.output().find("Keno.dat bleibt unverändert"), std::string::npos) << full.output();
    EXPECT_EQ(contents(keno()), before);

    CliRun noFile("--home " + dir.path() + " import");
    EXPECT_EQ(noFile.status(), 2);
}
