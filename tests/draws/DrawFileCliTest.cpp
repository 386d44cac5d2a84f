// Keno.dat under two batch programs at once, protected, linked, damaged and on a full disk.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <sys/stat.h>

#include "base/SystemError.h"
#include "base/Text.h"
#include "core/draws/DrawText.h"
#include "draws/CliRun.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;
namespace fs = std::filesystem;

namespace {

std::string numbersFrom(int first) {
    std::string s;
    for (int i = 0; i < 20; ++i) s += (i ? "," : "") + std::to_string(first + i);
    return s;
}

struct DrawFileCli : ::testing::Test {
    TempDir dir;
    const double day0 = dateValue(2020, 1, 1);
    std::vector<DrawRecord> history; // a draw every second day

    std::string base() const { return "--home " + dir.path() + " --settings " + dir.file("s.reg"); }
    std::string addDraw(double day, int first) const {
        return base() + " add-draw --draw-date " + formatDate(day) + " --numbers " + numbersFrom(first) +
               " --plus5 12345";
    }
    std::string deleteDraw(double day) const { return base() + " --date " + formatDate(day) + " delete-draw"; }

    void SetUp() override {
        for (int i = 0; i < 40; ++i) {
            DrawRecord r = draw(2020, 1, 1, i + 1);
            r.datum = day0 + 2 * i;
            history.push_back(r);
        }
        writeDraws(dir.file("Keno.dat"), history);
    }
    // Day -> first number; every date must be there once.
    std::map<double, int> stored() const {
        std::map<double, int> days;
        for (const DrawRecord& r : readDraws(dir.file("Keno.dat"))) {
            EXPECT_EQ(days.count(r.datum), 0u) << formatDate(r.datum) << " steht zweimal in Keno.dat";
            days[r.datum] = r.zahl[0];
        }
        return days;
    }
};

} // namespace

TEST_F(DrawFileCli, AnInsertAndAReplaceAtOnceBothStay) {
    std::map<double, int> expected;
    for (const DrawRecord& r : history) expected[r.datum] = r.zahl[0];
    for (int round = 0; round < 12; ++round) {
        const double newDay = day0 + 2 * round + 1, oldDay = day0 + 2 * round;
        CliRun insert(addDraw(newDay, round + 1));
        CliRun replace(addDraw(oldDay, round + 31));
        insert.status(), replace.status();
        const auto days = stored();
        // The exit status tells the truth either way; with the lock both wait their turn and succeed.
        EXPECT_EQ(insert.status() == 0, days.count(newDay) && days.at(newDay) == round + 1) << insert.output();
        EXPECT_EQ(replace.status() == 0, days.at(oldDay) == round + 31) << replace.output();
        EXPECT_EQ(insert.status(), 0) << "Runde " << round << ": " << insert.output();
        EXPECT_EQ(replace.status(), 0) << "Runde " << round << ": " << replace.output();
        expected[newDay] = round + 1;
        expected[oldDay] = round + 31;
        EXPECT_EQ(days, expected) << "Runde " << round;
    }
}

TEST_F(DrawFileCli, ADeleteDuringAnAppendLosesNeitherChange) {
    std::map<double, int> expected;
    for (const DrawRecord& r : history) expected[r.datum] = r.zahl[0];
    for (int round = 0; round < 12; ++round) {
        const double gone = day0 + 2 * round, added = day0 + 80 + round;
        CliRun append(addDraw(added, round + 1));
        CliRun remove(deleteDraw(gone));
        append.status(), remove.status();
        const auto days = stored();
        EXPECT_EQ(append.status() == 0, days.count(added) == 1) << append.output();
        EXPECT_EQ(remove.status() == 0, days.count(gone) == 0) << remove.output();
        EXPECT_EQ(append.status(), 0) << "Runde " << round << ": " << append.output();
        EXPECT_EQ(remove.status(), 0) << "Runde " << round << ": " << remove.output();
        expected[added] = round + 1;
        expected.erase(gone);
        EXPECT_EQ(days, expected) << "Runde " << round;
    }
}

TEST_F(DrawFileCli, AWriteProtectedKenoDatIsRefusedAndTheExitStatusSaysSo) {
    ::chmod(dir.file("Keno.dat").c_str(), 0444);
    const std::string before = contents(dir.file("Keno.dat"));
    for (const std::string& args :
         {deleteDraw(day0 + 10), addDraw(day0 + 11, 5), addDraw(day0 + 10, 5), addDraw(day0 + 100, 5)}) {
        CliRun r(args);
        EXPECT_EQ(r.status(), 1) << args << "\n" << r.output();
        EXPECT_NE(r.output().find("schreibgeschützt"), std::string::npos) << r.output();
        EXPECT_EQ(contents(dir.file("Keno.dat")), before) << args;
        struct stat st {};
        ASSERT_EQ(::stat(dir.file("Keno.dat").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0444u);
    }
}

TEST_F(DrawFileCli, ALinkedKenoDatStaysALinkAndItsTargetChanges) {
    fs::create_directory(dir.file("ablage"));
    fs::rename(dir.file("Keno.dat"), dir.file("ablage/Keno.dat"));
    ::chmod(dir.file("ablage/Keno.dat").c_str(), 0640);
    fs::create_symlink("ablage/Keno.dat", dir.file("Keno.dat"));
    CliRun insert(addDraw(day0 + 1, 7));
    EXPECT_EQ(insert.status(), 0) << insert.output();
    CliRun append(addDraw(day0 + 100, 8));
    EXPECT_EQ(append.status(), 0) << append.output();
    CliRun remove(deleteDraw(day0 + 2));
    EXPECT_EQ(remove.status(), 0) << remove.output();
    EXPECT_TRUE(fs::is_symlink(dir.file("Keno.dat")));
    const auto days = stored();
    EXPECT_EQ(days.size(), history.size() + 1);
    EXPECT_EQ(days.at(day0 + 1), 7);
    EXPECT_EQ(days.at(day0 + 100), 8);
    EXPECT_EQ(days.count(day0 + 2), 0u);
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("ablage/Keno.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(DrawFileCli, ABrokenDateIsNeverCurrentAndADeleteKeepsIt) {
    // One bit flipped in the date of record 5, as on a damaged disk.
    std::string bytes = contents(dir.file("Keno.dat"));
    bytes[5 * kRecordSize + 7] = static_cast<char>(bytes[5 * kRecordSize + 7] ^ 0x40);
    ASSERT_TRUE(writeFileAtomic(dir.file("Keno.dat"), bytes));
    // Seeking the lost date finds the next readable draw.
    CliRun show(base() + " --date " + formatDate(history[5].datum) + " show");
    ASSERT_EQ(show.status(), 0);
    EXPECT_NE(show.output().find(drawLine(history[6], 2) + "\n"), std::string::npos) << show.output();
    EXPECT_NE(show.output().find("position;6\n"), std::string::npos) << show.output();
    CliRun remove(deleteDraw(history[5].datum));
    EXPECT_EQ(remove.status(), 0) << remove.output();
    std::string expected = bytes;
    expected.erase(6 * kRecordSize, kRecordSize);
    EXPECT_EQ(contents(dir.file("Keno.dat")), expected);
}

TEST_F(DrawFileCli, AFullDiskKeepsTheHistoryAndTheExitStatusSaysSo) {
    const std::string before = contents(dir.file("Keno.dat"));
    // Half a record still fits for the append; the rewrites need a whole new file.
    for (const std::string& args : {addDraw(day0 + 100, 5), addDraw(day0 + 11, 5), deleteDraw(day0 + 10)}) {
        const rlim_t limit = args.find("delete") != std::string::npos ? before.size() / 2 : before.size() + 20;
        CliRun r(args, limit);
        EXPECT_EQ(r.status(), 1) << args << "\n" << r.output();
        EXPECT_NE(r.output().find(systemReason(EFBIG)), std::string::npos) << r.output();
        EXPECT_EQ(r.output().find(systemReason(ENOENT)), std::string::npos) << r.output();
        EXPECT_EQ(contents(dir.file("Keno.dat")), before) << args;
    }
}
