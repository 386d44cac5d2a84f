#include <gtest/gtest.h>

#include "base/GermanFormat.h"
#include "base/Random.h"

using namespace zf;

TEST(GermanFormat, DateValuesCountDaysFrom30December1899) {
    EXPECT_EQ(dateValue(1899, 12, 30), 0);
    EXPECT_EQ(dateValue(2004, 2, 1), kFirstDrawDay);
    EXPECT_EQ(dateValue(1996, 4, 29), kStatsMinDate);
    EXPECT_EQ(formatDate(38019), "02.02.2004");
    EXPECT_EQ(formatDrawDate(38019), "Mo 02.02.04");
    EXPECT_EQ(formatDrawDate(dateValue(2025, 12, 28)), "So 28.12.25");
    EXPECT_EQ(formatYmdCompact(dateValue(2024, 4, 19)), "20240419");
}

TEST(GermanFormat, ParsesOnlyRealDates) {
    EXPECT_EQ(parseDate("29.02.2024"), dateValue(2024, 2, 29));
    EXPECT_EQ(parseDate("1.2.2004"), dateValue(2004, 2, 1));
    for (const char* bad : {"29.02.2023", "32.01.2020", "01.13.2020", "", "1.1", "a.b.cccc", "01.01.20201"})
        EXPECT_FALSE(parseDate(bad)) << bad;
}

TEST(Random, FollowsTheLinearCongruentialRule) {
    Random r;
    r.setState(0);
    EXPECT_EQ(r.below(100), 0u); // state 1 -> (1 * 100) >> 32
    EXPECT_EQ(r.state(), 1u);
    EXPECT_EQ(r.below(70), static_cast<uint32_t>((uint64_t{134775814u} * 70) >> 32));
    r.setState(0xFFFFFFFFu);
    r.below(10);
    EXPECT_EQ(r.state(), 0xFFFFFFFFu * 134775813u + 1u);
}
