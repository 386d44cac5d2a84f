#include <gtest/gtest.h>

#include "base/GermanFormat.h"
#include "core/generator/NumberChoice.h"

using namespace zf;

TEST(NumberChoice, ClickRulesRaiseLowerAndUntick) {
    NumberChoice f;
    // Design state: ticked with an empty hint; a left click unticks, and ticking again counts the
    // missing weight as 0 and raises it: one click ticks a number.
    f.mouseDown(5, false);
    EXPECT_FALSE(f.ticked[5]);
    EXPECT_EQ(f.hint[5], "");
    f.mouseDown(5, false);
    EXPECT_TRUE(f.ticked[5]);
    EXPECT_EQ(f.hint[5], "1");
    EXPECT_EQ(f.status, "Die Zahl 5 geht mit der Gewichtung 1 in die Berechnung ein");
    f.hint[6].clear();
    f.mouseDown(6, true); // right on an empty weight: lowers to 0 and unticks
    EXPECT_FALSE(f.ticked[6]);
    EXPECT_EQ(f.hint[6], "0");

    f.hint[7] = "2";
    f.ticked[7] = false;
    f.mouseDown(7, false); // ticks and raises
    EXPECT_TRUE(f.ticked[7]);
    EXPECT_EQ(f.hint[7], "3");
    EXPECT_EQ(f.status, "Die Zahl 7 geht mit der Gewichtung 3 in die Berechnung ein");
    f.mouseDown(7, true); // right: lowers, stays ticked
    EXPECT_EQ(f.hint[7], "2");
    EXPECT_TRUE(f.ticked[7]);
    f.mouseDown(7, true);
    f.mouseDown(7, true);
    EXPECT_EQ(f.hint[7], "0");
    EXPECT_FALSE(f.ticked[7]);
    f.mouseDown(7, true); // unticked: only the status text
    EXPECT_EQ(f.hint[7], "0");
    f.hint[8] = "x";
    f.mouseDown(8, true);
    EXPECT_EQ(f.hint[8], "0");
    EXPECT_FALSE(f.ticked[8]);
}

TEST(NumberChoice, WeightListsSaveAndLoad) {
    NumberChoice f;
    auto lines = f.weightListLines();
    ASSERT_EQ(lines.size(), 70u);
    for (const auto& l : lines) EXPECT_EQ(l, "1");

    f.loadWeightList({"3", "", " 4", "x", "7", "", "", "", "", "9"});
    EXPECT_TRUE(f.ticked[1]);
    EXPECT_EQ(f.hint[1], "3");
    EXPECT_FALSE(f.ticked[2]);
    EXPECT_EQ(f.hint[2], "1");
    EXPECT_EQ(f.hint[3], " 4"); // kept unchanged, blank included
    EXPECT_TRUE(f.ticked[4]);   // a non-numeric weight still ticks; a click later makes it "0"
    EXPECT_TRUE(f.ticked[10]);
    for (int k = 11; k <= 70; ++k) {
        EXPECT_FALSE(f.ticked[static_cast<size_t>(k)]) << k;
        EXPECT_EQ(f.hint[static_cast<size_t>(k)], "1");
    }
    lines = f.weightListLines();
    EXPECT_EQ(lines[0], "3");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], " 4");

    std::vector<std::string> many(100, "2");
    f.loadWeightList(many); // lines beyond 70 are ignored
    EXPECT_EQ(f.tickedNumbers().size(), 70u);
    EXPECT_EQ(NumberChoice::proposedListName(dateValue(2020, 11, 9)), "20201109.kwl");
}

TEST(NumberChoice, RandomChoiceFixesOneNumberPerClick) {
    NumberChoice f;
    Random r;
    r.setState(42);
    f.randomMax = 6;
    f.randomClick(); // start
    ASSERT_TRUE(f.timerRunning);
    for (int click = 1; click <= 6; ++click) {
        f.timerTick(r);
        EXPECT_EQ(f.tickedNumbers().size(), 6u);
        const auto before = f.randomPicks;
        f.randomClick();
        if (click < 6) {
            EXPECT_EQ(f.nextFixed, click + 1);
            f.timerTick(r);
            for (int i = 1; i <= click; ++i)
                EXPECT_EQ(f.randomPicks[static_cast<size_t>(i)], before[static_cast<size_t>(i)]);
        }
    }
    EXPECT_FALSE(f.timerRunning);
    EXPECT_EQ(f.tickedNumbers().size(), 6u);
    EXPECT_EQ(f.randomCaption, "&Zufall");

    // The same state draws the same numbers.
    NumberChoice g;
    Random r2;
    r2.setState(42);
    g.randomMax = 6;
    g.randomClick();
    g.timerTick(r2);
    NumberChoice h;
    Random r3;
    r3.setState(42);
    h.randomMax = 6;
    h.randomClick();
    h.timerTick(r3);
    EXPECT_EQ(g.tickedNumbers(), h.tickedNumbers());
    EXPECT_EQ(g.randomCaption, "1 Stopp");
}
