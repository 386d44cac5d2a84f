#include <gtest/gtest.h>

#include "app/Model.h"
#include "evaluation/TipCheck.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

// The current draw holds 1..20.
Model modelWithDraw() {
    Model m;
    for (int i = 1; i <= 20; ++i) m.Zahl[static_cast<size_t>(i)] = i;
    m.sortieren = true;
    m.SoundName = "/home/yippee.wav";
    return m;
}

} // namespace

TEST(Zettelcheck, SplitsALineIntoItsSlots) {
    Model m = modelWithDraw();
    Zettelcheck(m, "3,17,44");
    EXPECT_EQ(m.TippZahl[0], "0");
    EXPECT_EQ(m.TippZahl[1], "3");
    EXPECT_EQ(m.TippZahl[2], "17");
    EXPECT_EQ(m.TippZahl[3], "44");
    for (size_t i = 4; i <= 26; ++i) EXPECT_EQ(m.TippZahl[i], "0") << i;
    EXPECT_EQ(m.ZahlenAnzahl, 3);
    EXPECT_EQ(m.Gewinn, 2);
}

TEST(Zettelcheck, CountsHitsAsTheLineReads) {
    struct Case {
        const char* line;
        int kenoType;
        int pieces;
        int hits;
    };
    const Case cases[] = {
        {"01,02,03,04,05,06,07,08,09,10", 6, 10, 6},  // only the first Keno-type numbers count
        {"01,02,03,04,05,06,07,08,09,10", 10, 10, 10},
        {"05,x,06", 10, 3, 1},                         // an unreadable piece ends the counting
        {" 05, 06,  07", 10, 3, 3},                    // blanks in front of a piece are skipped
        {"05 ,06", 10, 2, 0},                          // a blank before the comma spoils the piece
        {"05,06,", 10, 3, 2},                          // a trailing comma makes an empty last piece
        {"", 10, 1, 0},
        {"+5,-6,99999999999", 10, 3, 1},
        {"50,60,70", 10, 3, 0},
    };
    for (const auto& c : cases) {
        Model m = modelWithDraw();
        m.UpDown[18].pos = c.kenoType;
        Zettelcheck(m, c.line);
        EXPECT_EQ(m.ZahlenAnzahl, c.pieces) << c.line;
        EXPECT_EQ(m.Gewinn, c.hits) << c.line;
    }
}

TEST(Zettelcheck, StopsAtTwentySixPiecesOfTwentyCharacters) {
    Model m = modelWithDraw();
    std::string line;
    for (int i = 1; i <= 30; ++i) line += std::to_string(i) + ",";
    Zettelcheck(m, line);
    EXPECT_EQ(m.ZahlenAnzahl, 26);
    EXPECT_EQ(m.TippZahl[26], "26");
    Zettelcheck(m, std::string(30, '7') + ",1");
    EXPECT_EQ(m.TippZahl[1], std::string(20, '7'));
}

TEST(Komplettcheck, FillsTheHitsColumnAndStatistik) {
    Model m = modelWithDraw();
    RecordingSound sound;
    m.ListBox1 = {"01,02,03,31,32,33,34,35,36,37", "   ", "41,42,43,44,45,46,47,48,49,50", "", "01,02,03,04,05,06,07,08,09,10"};
    const int best = Komplettcheck(m, sound);
    EXPECT_EQ(best, 10);
    EXPECT_EQ(m.ListBox1.size(), 3u); // blank lines are gone
    EXPECT_EQ(m.ListBox2, (std::vector<uint8_t>{3, 0, 10}));
    EXPECT_EQ(m.Statistik[3], 1);
    EXPECT_EQ(m.Statistik[0], 1);
    EXPECT_EQ(m.Statistik[10], 1);
    EXPECT_EQ(m.status[0], "Max-Gewinn 10er");
    EXPECT_EQ(sound.played, std::vector<std::string>{"/home/yippee.wav"});
}

TEST(Komplettcheck, SoundThresholdIsHalfThePiecesRoundedUp) {
    Model m = modelWithDraw();
    RecordingSound sound;
    m.UpDown[18].pos = 6;
    // 10 pieces, Keno type 6: 5 hits among the first six reach the threshold of 5, 4 do not.
    m.ListBox1 = {"01,02,03,04,05,60,61,62,63,64", "01,02,03,04,60,61,62,63,64,65", "07"};
    Komplettcheck(m, sound);
    EXPECT_EQ(sound.played.size(), 2u); // the first line and the one-number tip "07"
    m.CheckBox[36] = false;
    sound.played.clear();
    Komplettcheck(m, sound);
    EXPECT_TRUE(sound.played.empty());
}

TEST(Komplettcheck, EmptyListAndSwitchedOff) {
    Model m = modelWithDraw();
    RecordingSound sound;
    m.status[0] = "alt";
    EXPECT_EQ(Komplettcheck(m, sound), 0);
    EXPECT_TRUE(m.ListBox2.empty());
    EXPECT_EQ(m.status[0], "");

    m.ListBox1 = {"01,02"};
    Komplettcheck(m, sound);
    m.ListBox1.push_back("03");
    m.sortieren = false;
    m.Statistik[2] = 5;
    EXPECT_EQ(Komplettcheck(m, sound), 0);
    EXPECT_EQ(m.Statistik[2], 0);
    EXPECT_EQ(m.ListBox2.size(), 1u); // column and status bar stay as they were
    EXPECT_EQ(m.status[0], "Max-Gewinn 2er");
}
