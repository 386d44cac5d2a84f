// The payout table, every cell: the rows as the lottery publishes them (hits 10 down to 2, then 0;
// "-" is no winning class). A changed digit anywhere fails here.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/evaluation/Winnings.h"

using namespace zf;

TEST(PayoutTable, EveryCellAsPublished) {
    const char* const rows[] = {
        /* type  10      9     8    7   6   5  4  3  2  0 */
        "10 | 100000 | 1000 | 100 | 15 | 5 | 2 | - | - | - | 2",
        "9 | - | 50000 | 1000 | 20 | 5 | 2 | - | - | - | 2",
        "8 | - | - | 10000 | 100 | 15 | 2 | 1 | - | - | 1",
        "7 | - | - | - | 1000 | 100 | 12 | 1 | - | - | -",
        "6 | - | - | - | - | 500 | 15 | 2 | 1 | - | -",
        "5 | - | - | - | - | - | 100 | 7 | 2 | - | -",
        "4 | - | - | - | - | - | - | 22 | 2 | 1 | -",
        "3 | - | - | - | - | - | - | - | 16 | 1 | -",
        "2 | - | - | - | - | - | - | - | - | 6 | -",
    };
    const int columns[] = {10, 9, 8, 7, 6, 5, 4, 3, 2, 0};
    for (const char* row : rows) {
        std::istringstream in(row);
        int type = 0;
        in >> type;
        for (int hits : columns) {
            std::string bar, cell;
            in >> bar >> cell;
            ASSERT_EQ(bar, "|") << row;
            EXPECT_EQ(payout(type, hits), cell == "-" ? 0 : std::stoll(cell)) << "type " << type << ", " << hits;
        }
        EXPECT_EQ(payout(type, 1), 0) << "type " << type; // one hit never wins
    }
    for (int type : {0, 1, 11})
        for (int hits = 0; hits <= 10; ++hits) EXPECT_EQ(payout(type, hits), 0);
}
