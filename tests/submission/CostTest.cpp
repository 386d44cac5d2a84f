#include <gtest/gtest.h>

#include "base/GermanFormat.h"
#include "core/submission/GameOptions.h"
#include "support/TestSupport.h"

using namespace zf;

TEST(Cost, ListsOfTheDialogAreTheTable) {
    std::vector<std::pair<std::string, int>> durations;
    for (const auto& d : durationItems()) durations.emplace_back(d.caption, d.draws);
    EXPECT_EQ(durations, (std::vector<std::pair<std::string, int>>{{"1 Ziehung", 1},
                                                                   {"2 Ziehungen", 2},
                                                                   {"3 Ziehungen", 3},
                                                                   {"4 Ziehungen", 4},
                                                                   {"5 Ziehungen", 5},
                                                                   {"6 Ziehungen", 6},
                                                                   {"7 Ziehungen", 7},
                                                                   {"14 Ziehungen", 14},
                                                                   {"28 Ziehungen", 28}}));
    std::vector<std::pair<std::string, double>> stakes;
    for (const auto& s : stakeItems()) stakes.emplace_back(s.caption, s.euro);
    EXPECT_EQ(stakes, (std::vector<std::pair<std::string, double>>{
                          {"1 EUR", 1.0}, {"2 EUR", 2.0}, {"5 EUR", 5.0}, {"10 EUR", 10.0}}));
    EXPECT_EQ(kPlus5PerFiveTips, 0.75);
    EXPECT_EQ(kFeeWhenNoNumber, 0.25);
}

TEST(Cost, ComputedAndShownToTheCent) {
    struct Case {
        int tips, durationItem, stakeItem;
        bool plus5;
        double fee;
        const char* shown;
    } cases[] = {
        {7, 2, 1, true, 0.20, "43,70 €"},       // 7 × 2 × 3 + 0,20 + 2 × 0,75
        {0, 0, 0, true, 0.20, "0,20 €"},        // no tips: the fee alone
        {5, 0, 0, true, 0, "5,75 €"},           // five tips: one Plus 5 charge
        {6, 0, 0, true, 0, "7,50 €"},           // six: two
        {120, 8, 3, false, 0, "33.600,00 €"},   // 10 EUR, 28 draws
        {1, 8, 0, true, 1206.56, "1.235,31 €"}, // every cent shown, not five significant digits
        {3, 7, 2, false, 0.25, "210,25 €"},     // 14 draws
        {10, 6, 0, true, 0, "71,50 €"},         // the Plus 5 charge is not multiplied by the draws
    };
    for (const auto& c : cases) {
        GameOptions o;
        o.tips = c.tips;
        o.durationItem = c.durationItem;
        o.stakeItem = c.stakeItem;
        o.plus5 = c.plus5;
        o.fee = c.fee;
        o.computeCost();
        EXPECT_EQ(o.costText(), c.shown) << c.tips << " Tipps";
    }
    EXPECT_EQ(formatCost(1234.56), "1.234,56 €");
}

TEST(Cost, TypedTextsKeepThePreviousFactors) {
    GameOptions o;
    o.tips = 2;
    o.stakeItem = 2;    // 5 EUR
    o.durationItem = 1; // 2 draws
    o.computeCost();
    EXPECT_DOUBLE_EQ(o.price, 20);
    o.stakeItem = -1;
    o.stakeText = "3 EUR";
    o.durationItem = -1;
    o.durationText = "9 Ziehungen";
    o.computeCost();
    EXPECT_DOUBLE_EQ(o.price, 20);
    GameOptions fresh; // no stake chosen yet: nothing per field
    fresh.tips = 4;
    fresh.stakeItem = -1;
    fresh.fee = 0.2;
    fresh.computeCost();
    EXPECT_DOUBLE_EQ(fresh.price, 0.2);
}

TEST(Cost, FeeAsTyped) {
    EXPECT_EQ(feeOf("0,20"), 0.20);
    EXPECT_EQ(feeOf(" 1,5 "), 1.5);
    EXPECT_EQ(feeOf("2"), 2.0);
    EXPECT_EQ(feeOf("1.000"), 1000.0);
    for (const char* bad : {"", "abc", "0.20", "1,2,3", ",", "1e", "1,5 EUR", "1e999"})
        EXPECT_EQ(feeOf(bad), 0.25) << bad;
    // A number, but no fee: refused, not charged.
    for (const char* refused : {"-0,5", "-5", "1000,01", "1e308"}) EXPECT_EQ(feeOf(refused), std::nullopt) << refused;
}

TEST(TicketNumber, NeverDrawnSkipsDrawnAndUnknownNumbers) {
    auto rec = [](int y, int m, int d, std::array<uint8_t, 5> p, bool known) {
        DrawRecord r = test::draw(y, m, d);
        r.zahl5 = p;
        r.flags = known ? 0 : kFlagNoPlus5;
        return r;
    };
    Random probe;
    probe.setState(42);
    GameOptions first;
    first.randomTicket(probe);
    const auto drawnDigits = first.digits; // what state 42 proposes first

    std::array<uint8_t, 5> d{};
    for (size_t i = 0; i < 5; ++i) d[i] = static_cast<uint8_t>(drawnDigits[i]);
    Random r1;
    r1.setState(42);
    GameOptions o;
    o.neverDrawnTicket(r1, {rec(2020, 1, 1, d, true)});
    EXPECT_NE(o.ticketNumber(), first.ticketNumber()); // drawn once: a new one is drawn

    Random r2;
    r2.setState(42);
    GameOptions u;
    u.neverDrawnTicket(r2, {rec(2020, 1, 1, d, false)}); // unknown Plus 5 number: no match
    EXPECT_EQ(u.ticketNumber(), first.ticketNumber());
}

TEST(TicketNumber, CheckNamesEveryDrawOldestFirst) {
    auto rec = [](int y, int m, int dd, int number, bool known = true) {
        DrawRecord r = test::draw(y, m, dd);
        for (int i = 4; i >= 0; --i, number /= 10) r.zahl5[static_cast<size_t>(i)] = static_cast<uint8_t>(number % 10);
        r.flags = known ? 0 : kFlagNoPlus5;
        return r;
    };
    const std::vector<DrawRecord> h = {rec(2020, 1, 1, 12345), rec(2020, 1, 2, 4711), rec(2020, 2, 3, 12345),
                                       rec(2020, 3, 4, 12345, false), rec(2021, 5, 6, 12345)};
    EXPECT_EQ(ticketCheckMessages(12345, h),
              (std::vector<std::string>{"Die Schein-Nummer wurde schon am 01.01.2020 bei Plus 5 gezogen.",
                                        "Die Schein-Nummer wurde schon am 03.02.2020 bei Plus 5 gezogen.",
                                        "Die Schein-Nummer wurde schon am 06.05.2021 bei Plus 5 gezogen."}));
    EXPECT_EQ(ticketCheckMessages(4712, h), std::vector<std::string>{"Wurde noch nie gezogen"});
    EXPECT_EQ(ticketCheckMessages(0, {rec(2020, 1, 1, 0, false)}), std::vector<std::string>{kNoKnownPlus5Text});
}
