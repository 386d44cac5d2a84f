#include <gtest/gtest.h>

#include "app/Model.h"
#include "app/evaluation/TipCheck.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

// The current draw holds 1..20.
Model modelWithDraw() {
    Model m;
    for (int i = 1; i <= 20; ++i) m.drawNumbers[static_cast<size_t>(i)] = i;
    m.hitCheckOn = true;
    m.winSoundPath = "/home/yippee.wav";
    return m;
}

} // namespace

TEST(checkTip, SplitsALineIntoItsSlots) {
    Model m = modelWithDraw();
    checkTip(m, "3,17,44");
    EXPECT_EQ(m.tipPieces[0], "0");
    EXPECT_EQ(m.tipPieces[1], "3");
    EXPECT_EQ(m.tipPieces[2], "17");
    EXPECT_EQ(m.tipPieces[3], "44");
    for (size_t i = 4; i <= 26; ++i) EXPECT_EQ(m.tipPieces[i], "0") << i;
    EXPECT_EQ(m.tipCount, 3);
    EXPECT_EQ(m.tipHits, 2);
}

TEST(checkTip, CountsHitsAsTheLineReads) {
    struct Case {
        const char* line;
        int kenoType;
        int pieces;
        int hits;
    };
    const Case cases[] = {
        {"01,02,03,04,05,06,07,08,09,10", 6, 10, 6}, // only the first Keno-type numbers count
        {"01,02,03,04,05,06,07,08,09,10", 10, 10, 10},
        {"05,x,06", 10, 3, 1},      // an unreadable piece ends the counting
        {" 05, 06,  07", 10, 3, 3}, // blanks in front of a piece are skipped
        {"05 ,06", 10, 2, 0},       // a blank before the comma spoils the piece
        {"05,06,", 10, 3, 2},       // a trailing comma makes an empty last piece
        {"", 10, 1, 0},
        {"+5,-6,99999999999", 10, 3, 1},
        {"50,60,70", 10, 3, 0},
    };
    for (const auto& c : cases) {
        Model m = modelWithDraw();
        m.num(Num::KenoType).pos = c.kenoType;
        checkTip(m, c.line);
        EXPECT_EQ(m.tipCount, c.pieces) << c.line;
        EXPECT_EQ(m.tipHits, c.hits) << c.line;
    }
}

TEST(checkTip, StopsAtTwentySixPiecesOfTwentyCharacters) {
    Model m = modelWithDraw();
    std::string line;
    for (int i = 1; i <= 30; ++i) line += std::to_string(i) + ",";
    checkTip(m, line);
    EXPECT_EQ(m.tipCount, 26);
    EXPECT_EQ(m.tipPieces[26], "26");
    checkTip(m, std::string(30, '7') + ",1");
    EXPECT_EQ(m.tipPieces[1], std::string(20, '7'));
}

TEST(checkAllTips, FillsTheHitsColumnAndStatistik) {
    Model m = modelWithDraw();
    RecordingSound sound;
    m.tipLines = {"01,02,03,31,32,33,34,35,36,37", "   ", "41,42,43,44,45,46,47,48,49,50", "",
                  "01,02,03,04,05,06,07,08,09,10"};
    const int best = checkAllTips(m, sound);
    EXPECT_EQ(best, 10);
    EXPECT_EQ(m.tipLines.size(), 3u); // blank lines are gone
    EXPECT_EQ(m.hits, (std::vector<uint8_t>{3, 0, 10}));
    EXPECT_EQ(m.hitStats[3], 1);
    EXPECT_EQ(m.hitStats[0], 1);
    EXPECT_EQ(m.hitStats[10], 1);
    EXPECT_EQ(m.status[0], "Max-Gewinn 10er");
    EXPECT_EQ(sound.played, std::vector<std::string>{"/home/yippee.wav"});
}

TEST(checkAllTips, SoundThresholdIsHalfThePiecesRoundedUp) {
    Model m = modelWithDraw();
    RecordingSound sound;
    m.num(Num::KenoType).pos = 6;
    // 10 pieces, Keno type 6: 5 hits among the first six reach the threshold of 5, 4 do not.
    m.tipLines = {"01,02,03,04,05,60,61,62,63,64", "01,02,03,04,60,61,62,63,64,65", "07"};
    checkAllTips(m, sound);
    EXPECT_EQ(sound.played.size(), 2u); // the first line and the one-number tip "07"
    m.on(Opt::WinSound) = false;
    sound.played.clear();
    checkAllTips(m, sound);
    EXPECT_TRUE(sound.played.empty());
}

TEST(checkAllTips, EmptyListAndSwitchedOff) {
    Model m = modelWithDraw();
    RecordingSound sound;
    m.status[0] = "alt";
    EXPECT_EQ(checkAllTips(m, sound), 0);
    EXPECT_TRUE(m.hits.empty());
    EXPECT_EQ(m.status[0], "");

    m.tipLines = {"01,02"};
    checkAllTips(m, sound);
    m.tipLines.push_back("03");
    m.hitCheckOn = false;
    m.hitStats[2] = 5;
    EXPECT_EQ(checkAllTips(m, sound), 0);
    EXPECT_EQ(m.hitStats[2], 0);
    EXPECT_EQ(m.hits.size(), 1u); // column and status bar stay as they were
    EXPECT_EQ(m.status[0], "Max-Gewinn 2er");
}
