#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "base/SystemError.h"
#include "base/Text.h"
#include "core/draws/DrawStore.h"
#include "draws/FileSizeLimit.h"
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

// The seek by date: in date order by halving, otherwise record by record; both give the first record
// with a readable date on or after the day asked for.
TEST(DrawStore, FirstDrawOnOrAfterADate) {
    TempDir dir;
    auto undated = draw(2020, 1, 5);
    undated.datum = 0.5;
    const double d1 = dateValue(2020, 1, 1);
    struct History {
        const char* name;
        std::vector<DrawRecord> records;
    };
    const History histories[] = {
        {"in order, a day twice", {draw(2020, 1, 1), draw(2020, 1, 3), draw(2020, 1, 3), draw(2020, 1, 7)}},
        {"an unreadable date", {draw(2020, 1, 1), undated, draw(2020, 1, 3), draw(2020, 1, 7)}},
        {"out of order", {draw(2020, 1, 3), draw(2020, 1, 1), draw(2020, 1, 7), draw(2020, 1, 4)}},
        {"empty", {}},
    };
    for (const auto& h : histories) {
        SCOPED_TRACE(h.name);
        writeDraws(dir.file("Keno.dat"), h.records);
        DrawStore store(dir.file("Keno.dat"));
        ASSERT_TRUE(store.refresh());
        for (double day = d1 - 2; day <= d1 + 8; day += 0.5) {
            size_t expected = h.records.size();
            for (size_t i = 0; i < h.records.size() && expected == h.records.size(); ++i)
                if (DrawStore::dateValid(h.records[i].datum) && h.records[i].datum >= day) expected = i;
            EXPECT_EQ(store.firstOnOrAfter(day), expected) << day;
        }
        EXPECT_EQ(store.firstOnOrAfter(std::nan("")), h.records.size());
    }
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
        for (const auto& e : std::filesystem::directory_iterator(dir.path()))
            EXPECT_EQ(e.path().filename().string().find('~'), std::string::npos) << c.name << ": " << e.path();
        EXPECT_EQ(store.size(), recs.size()) << c.name; // the cache follows our own write
    }
}

namespace {

std::string recordBytes(const DrawRecord& r) {
    std::string out(kRecordSize, '\0');
    encodeRecord(r, reinterpret_cast<uint8_t*>(out.data()));
    return out;
}

std::string fileBytes(const std::string& path) {
    std::string out;
    EXPECT_TRUE(readFile(path, out));
    return out;
}

// Record 1 with one bit of its date flipped, as on a damaged disk: no valid date any more.
DrawRecord flippedDate(DrawRecord r) {
    uint8_t b[kRecordSize];
    encodeRecord(r, b);
    b[7] ^= 0x40;
    return decodeRecord(b);
}

DrawRecord badNumbers(DrawRecord r) {
    r.zahl[3] = 0;
    r.zahl[4] = 200;
    return r;
}

DrawRecord withPadding(DrawRecord r) {
    r.flags = 0x80; // an unknown padding bit, kept byte for byte
    return r;
}

// Histories a delete, an insert and a replace must leave alone except for their one date.
struct DamagedFile {
    const char* name;
    std::vector<DrawRecord> records;
};

std::vector<DamagedFile> damagedFiles() {
    const DrawRecord huge = [] {
        DrawRecord r = draw(2020, 1, 4);
        r.datum = 1e300;
        return r;
    }();
    return {
        {"a flipped date in the middle",
         {draw(2020, 1, 1), flippedDate(draw(2020, 1, 2)), draw(2020, 1, 3), draw(2020, 1, 5)}},
        {"a huge date", {draw(2020, 1, 1), huge, draw(2020, 1, 3), draw(2020, 1, 5)}},
        {"descending order", {draw(2020, 1, 7), draw(2020, 1, 5), draw(2020, 1, 3), draw(2020, 1, 1)}},
        {"numbers out of range", {draw(2020, 1, 1), badNumbers(draw(2020, 1, 2)), draw(2020, 1, 3), draw(2020, 1, 5)}},
        {"a repeated date and padding bits",
         {draw(2020, 1, 1), withPadding(draw(2020, 1, 3)), draw(2020, 1, 2), draw(2020, 1, 3), draw(2020, 1, 5)}},
        {"zeros after a crash", {draw(2020, 1, 1), draw(2020, 1, 3), draw(2020, 1, 5), DrawRecord{}}},
    };
}

} // namespace

TEST(DrawStore, DeleteRemovesTheDrawsOfThatDateAndNothingElse) {
    for (const DamagedFile& c : damagedFiles()) {
        TempDir dir;
        writeDraws(dir.file("Keno.dat"), c.records);
        { std::ofstream(dir.file("Keno.dat"), std::ios::app | std::ios::binary) << "abc"; }
        std::string expected;
        for (const DrawRecord& r : c.records)
            if (r.datum != dateValue(2020, 1, 3)) expected += recordBytes(r);
        expected += "abc"; // the broken tail is no record, but a delete has no business with it either
        DrawStore store(dir.file("Keno.dat"));
        std::string error;
        ASSERT_TRUE(store.deleteDate(dateValue(2020, 1, 3), &error)) << c.name << ": " << error;
        EXPECT_EQ(fileBytes(dir.file("Keno.dat")), expected) << c.name;

        // No draw of that date: nothing is written, and the caller hears so.
        EXPECT_FALSE(store.deleteDate(dateValue(2020, 1, 3), &error)) << c.name;
        EXPECT_NE(error.find("keine Ziehung vom 03.01.2020"), std::string::npos) << error;
        EXPECT_FALSE(store.deleteDate(std::nan(""), &error)) << c.name;
        EXPECT_EQ(fileBytes(dir.file("Keno.dat")), expected) << c.name;
    }
}

TEST(DrawStore, InsertAndReplaceKeepEveryRecordTheyCannotRead) {
    for (const DamagedFile& c : damagedFiles()) {
        TempDir dir;
        writeDraws(dir.file("Keno.dat"), c.records);
        DrawStore store(dir.file("Keno.dat"));
        // A new date and an existing one: everything but the replaced draws of 05.01. stays, byte for byte.
        ASSERT_TRUE(store.insertOrReplace(draw(2020, 1, 4, 42))) << c.name;
        ASSERT_TRUE(store.insertOrReplace(draw(2020, 1, 5, 43))) << c.name;
        const auto after = readDraws(dir.file("Keno.dat"));
        std::string kept;
        size_t fives = 0, fours = 0;
        for (const DrawRecord& r : after) {
            if (r.datum == dateValue(2020, 1, 5)) {
                ++fives;
                EXPECT_EQ(r.zahl[0], 43) << c.name;
            } else if (r.datum == dateValue(2020, 1, 4) && r.zahl[0] == 42) {
                ++fours;
            } else {
                kept += recordBytes(r);
            }
        }
        EXPECT_EQ(fives, 1u) << c.name;
        EXPECT_EQ(fours, 1u) << c.name;
        std::string expected;
        for (const DrawRecord& r : c.records)
            if (r.datum != dateValue(2020, 1, 5)) expected += recordBytes(r);
        EXPECT_EQ(kept, expected) << c.name;
        EXPECT_EQ(after.size(), c.records.size() + 1) << c.name;
    }
}

TEST(DrawStore, TheLastDateIsTheLastValidOne) {
    TempDir dir;
    writeDraws(dir.file("Keno.dat"), {draw(2020, 1, 1), draw(2020, 1, 2), DrawRecord{}});
    DrawStore store(dir.file("Keno.dat"));
    ASSERT_TRUE(store.refresh());
    EXPECT_EQ(store.lastDate(), dateValue(2020, 1, 2));
    EXPECT_TRUE(store.hasDate(dateValue(2020, 1, 1)));
    EXPECT_FALSE(store.hasDate(0));
    // An append of a stored date replaces it rather than storing the date twice.
    ASSERT_TRUE(store.append(draw(2020, 1, 2, 9)));
    ASSERT_TRUE(store.append(draw(2020, 1, 3)));
    const auto recs = readDraws(dir.file("Keno.dat"));
    ASSERT_EQ(recs.size(), 4u);
    EXPECT_EQ(recs[1].zahl[0], 9);
    EXPECT_EQ(recs[2], DrawRecord{});
    EXPECT_EQ(recs[3].datum, dateValue(2020, 1, 3));
}

TEST(DrawStore, AFailedWriteLeavesTheHistoryAsItWasAndSaysWhy) {
    TempDir dir;
    const std::vector<DrawRecord> before = {draw(2020, 1, 1), draw(2020, 1, 3), draw(2020, 1, 5)};
    writeDraws(dir.file("Keno.dat"), before);
    const std::string bytes = fileBytes(dir.file("Keno.dat"));
    DrawStore store(dir.file("Keno.dat"));
    struct Case {
        const char* name;
        rlim_t limit; // the disk is full after this many bytes of a file
        std::function<bool(std::string*)> write;
    };
    const std::vector<Case> cases = {
        // Half a record fits: the append is cut back to the whole records.
        {"append", 3 * kRecordSize + 20, [&](std::string* e) { return store.append(draw(2020, 1, 6), e); }},
        {"insert", 3 * kRecordSize + 20, [&](std::string* e) { return store.insertOrReplace(draw(2020, 1, 2), e); }},
        {"replace", 2 * kRecordSize, [&](std::string* e) { return store.insertOrReplace(draw(2020, 1, 3, 9), e); }},
        {"delete", kRecordSize, [&](std::string* e) { return store.deleteDate(dateValue(2020, 1, 1), e); }},
    };
    for (const Case& c : cases) {
        std::string error;
        {
            FileSizeLimit full(c.limit);
            EXPECT_FALSE(c.write(&error)) << c.name;
        }
        EXPECT_NE(error.find(systemReason(EFBIG)), std::string::npos) << c.name << ": " << error;
        EXPECT_EQ(error.find(systemReason(ENOENT)), std::string::npos) << c.name << ": " << error;
        EXPECT_EQ(fileBytes(dir.file("Keno.dat")), bytes) << c.name;
        // No temporary file is left behind.
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.path())) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"Keno.dat"})) << c.name;
    }
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
