#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/Text.h"
#include "draws/DrawStore.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

TEST(DrawRecord, HasTheFortyByteLayout) {
    DrawRecord r = draw(2004, 2, 2, 5, {0, 0, 7, 1, 2});
    uint8_t b[kRecordSize];
    encodeRecord(r, b);
    // 38019.0 as a little-endian double
    const uint8_t date[8] = {0x00, 0x00, 0x00, 0x00, 0x60, 0x90, 0xE2, 0x40};
    EXPECT_EQ(std::vector<uint8_t>(b, b + 8), std::vector<uint8_t>(date, date + 8));
    EXPECT_EQ(b[8], 5);
    EXPECT_EQ(b[27], 24);
    EXPECT_EQ(std::vector<uint8_t>(b + 28, b + 33), (std::vector<uint8_t>{0, 0, 7, 1, 2}));
    for (size_t i = 33; i < kRecordSize; ++i) EXPECT_EQ(b[i], 0) << i;
    EXPECT_EQ(decodeRecord(b), r);
    EXPECT_EQ(r.plus5Number(), 712);
}

TEST(DrawRecord, BitsCountHitsWithPopcount) {
    DrawRecord r = drawWith(2020, 1, 1, {1, 64, 65, 70, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17});
    const DrawBits b = bitsOf(r);
    EXPECT_EQ(b.count(), 20);
    DrawBits tip;
    for (int n : {1, 64, 65, 70, 18}) tip.set(n);
    EXPECT_EQ(b.hits(tip), 4);
    EXPECT_FALSE(b.has(0));
    EXPECT_FALSE(b.has(71));
}

TEST(DrawStore, ReportsWhatItCannotUseAndKeepsEveryRecord) {
    TempDir dir;
    auto bad = draw(2020, 1, 3);
    bad.zahl[4] = 71;
    writeDraws(dir.file("Keno.dat"), {draw(2020, 1, 2), bad, draw(2020, 1, 1), draw(2020, 1, 4)});
    { std::ofstream(dir.file("Keno.dat"), std::ios::app | std::ios::binary) << "xyz"; }
    DrawStore store(dir.file("Keno.dat"));
    ASSERT_TRUE(store.refresh());
    EXPECT_EQ(store.size(), 4u);
    EXPECT_EQ(store.issues().trailingBytes, 3u);
    EXPECT_EQ(store.issues().badNumbers, 1u);
    EXPECT_EQ(store.issues().outOfOrder, 1u);
    EXPECT_EQ(store.issueTexts().size(), 3u);
    EXPECT_FALSE(store.bits()[1].has(71));
}

TEST(DrawStore, ReadsTheFileAgainOnlyWhenItChanged) {
    TempDir dir;
    writeDraws(dir.file("Keno.dat"), {draw(2020, 1, 1)});
    DrawStore store(dir.file("Keno.dat"));
    ASSERT_TRUE(store.refresh());
    const auto gen = store.generation();
    ASSERT_TRUE(store.refresh());
    EXPECT_EQ(store.generation(), gen);
    writeDraws(dir.file("Keno.dat"), {draw(2020, 1, 1), draw(2020, 1, 2)});
    ASSERT_TRUE(store.refresh());
    EXPECT_NE(store.generation(), gen);
    EXPECT_EQ(store.size(), 2u);
    std::filesystem::remove(dir.file("Keno.dat"));
    std::string error;
    EXPECT_FALSE(store.refresh(&error));
    EXPECT_TRUE(store.empty());
    EXPECT_NE(error.find("fehlt"), std::string::npos);
}

TEST(DrawStore, InsertOrReplaceKeepsDateOrder) {
    struct Case {
        const char* name;
        DrawRecord record;
        std::vector<double> expectedDates;
        int replacedFirst; // index whose first number must be 42, or -1
    };
    const double d1 = dateValue(2020, 1, 1), d3 = dateValue(2020, 1, 3), d5 = dateValue(2020, 1, 5);
    const std::vector<Case> cases = {
        {"same date replaces", draw(2020, 1, 3, 42), {d1, d3, d5}, 1},
        {"between is inserted", draw(2020, 1, 2, 42), {d1, dateValue(2020, 1, 2), d3, d5}, 1},
        {"before all", draw(2019, 12, 31, 42), {dateValue(2019, 12, 31), d1, d3, d5}, 0},
        {"after all is appended", draw(2020, 1, 9, 42), {d1, d3, d5, dateValue(2020, 1, 9)}, 3},
    };
    for (const auto& c : cases) {
        TempDir dir;
        writeDraws(dir.file("Keno.dat"), {draw(2020, 1, 1), draw(2020, 1, 3), draw(2020, 1, 5)});
        DrawStore store(dir.file("Keno.dat"));
        ASSERT_TRUE(store.insertOrReplace(c.record)) << c.name;
        const auto recs = readDraws(dir.file("Keno.dat"));
        std::vector<double> dates;
        for (const auto& r : recs) dates.push_back(r.datum);
        EXPECT_EQ(dates, c.expectedDates) << c.name;
        EXPECT_EQ(recs[static_cast<size_t>(c.replacedFirst)].zahl[0], 42) << c.name;
        EXPECT_FALSE(fileExists(dir.file("Keno.dat~"))) << c.name;
        EXPECT_EQ(store.size(), recs.size()) << c.name; // the cache follows our own write
    }
}

TEST(DrawStore, DeleteDropsTheDrawAndRecordsOutOfOrder) {
    TempDir dir;
    writeDraws(dir.file("Keno.dat"),
               {draw(2020, 1, 1), draw(2020, 1, 3), draw(2020, 1, 2), draw(2020, 1, 3), draw(2020, 1, 5)});
    DrawStore store(dir.file("Keno.dat"));
    ASSERT_TRUE(store.deleteDate(dateValue(2020, 1, 5)));
    auto recs = readDraws(dir.file("Keno.dat"));
    ASSERT_EQ(recs.size(), 2u);
    EXPECT_EQ(recs[1].datum, dateValue(2020, 1, 3));
    // No draw of that date: only the cleanup happens, an ordered file stays as it was.
    ASSERT_TRUE(store.deleteDate(dateValue(2021, 1, 1)));
    EXPECT_EQ(readDraws(dir.file("Keno.dat")).size(), 2u);
    EXPECT_FALSE(fileExists(dir.file("Keno.da~")));
}

TEST(DrawStore, AFailedRewriteLeavesTheHistoryAsItWas) {
    TempDir dir;
    const std::vector<DrawRecord> before = {draw(2020, 1, 1), draw(2020, 1, 3)};
    writeDraws(dir.file("Keno.dat"), before);
    // The temporary file cannot be created: a folder of that name is in the way.
    std::filesystem::create_directory(dir.file("Keno.dat~"));
    std::filesystem::create_directory(dir.file("Keno.da~"));
    DrawStore store(dir.file("Keno.dat"));
    std::string error;
    EXPECT_FALSE(store.insertOrReplace(draw(2020, 1, 2), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(store.deleteDate(dateValue(2020, 1, 1), &error));
    EXPECT_EQ(readDraws(dir.file("Keno.dat")), before);
}

TEST(DrawStore, AppendKeepsTheFileWhole) {
    TempDir dir;
    DrawStore store(dir.file("Keno.dat"));
    // A missing file is created; an earlier date is put in its place instead of at the end.
    ASSERT_TRUE(store.append(draw(2020, 1, 3)));
    ASSERT_TRUE(store.append(draw(2020, 1, 5)));
    ASSERT_TRUE(store.append(draw(2020, 1, 4)));
    auto recs = readDraws(dir.file("Keno.dat"));
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(recs[1].datum, dateValue(2020, 1, 4));
    // A broken tail is not carried along: the new record lands on a record boundary.
    { std::ofstream(dir.file("Keno.dat"), std::ios::app | std::ios::binary) << "12345"; }
    ASSERT_TRUE(store.append(draw(2020, 1, 6)));
    EXPECT_EQ(std::filesystem::file_size(dir.file("Keno.dat")), 4 * kRecordSize);
    EXPECT_EQ(readDraws(dir.file("Keno.dat")).back().datum, dateValue(2020, 1, 6));
}
