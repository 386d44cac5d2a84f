#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/Model.h"
#include "app/Session.h"
#include "app/evaluation/TipSearch.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

constexpr const char* kTitle = "Treffe in Datenbank gefunden!";

std::string hitQuestion(const char* date) { return std::string("Ein Treffer am: ") + date + "   Weiter suchen?"; }

// Six draws; the window runs from the second (06.01.) to the fifth (13.01.). Against the two tips
// the best hits are 6, 8, 8 and 4 in the window.
struct TipSearchFixture : ::testing::Test, WithSession {
    TipSearchFixture() : WithSession(dateValue(2020, 2, 1)) {}
    TempDir dir;
    std::vector<std::string> shown; // the draw display each time the walk lets the window repaint

    void SetUp() override {
        m.home = dir.path();
        m.hitCheckOn = true;
        m.num(Num::KenoType).pos = 10;
        writeDraws(dir.file("Keno.dat"), {draw(2019, 12, 30, 1), draw(2020, 1, 6, 1), draw(2020, 1, 8, 11),
                                          draw(2020, 1, 10, 21), draw(2020, 1, 13, 5), draw(2020, 1, 15, 51)});
        m.tipLines = {"1,2,3,4,5,6", "21,22,23,24,25,26,27,28"};
        m.statsStart = dateValue(2020, 1, 6);
        m.browseDate = dateValue(2020, 1, 13);
        m.drawIndex = 1; // the browser shows 06.01.
        session.tipSearch.eventPump = [this] { shown.push_back(m.drawTextMain.substr(0, 11)); };
    }
};

} // namespace

TEST_F(TipSearchFixture, AsksWhereTheBestTipReachesTheThresholdAndStepsTheBrowserOn) {
    struct Case {
        const char* name;
        std::optional<std::string> input;
        std::vector<bool> answers;
        std::vector<std::string> hits;  // the dates asked about
        std::vector<std::string> shown; // the draws examined
    };
    const std::vector<std::string> window = {"Mo 06.01.20", "Mi 08.01.20", "Fr 10.01.20", "Mo 13.01.20"};
    const Case cases[] = {
        {"proposal", "6", {true, true}, {"06.01.2020", "08.01.2020", "10.01.2020"}, window},
        {"cancel gives the proposal", std::nullopt, {}, {"06.01.2020", "08.01.2020", "10.01.2020"}, window},
        {"blanks in front", " 8", {}, {"08.01.2020", "10.01.2020"}, window},
        {"No skips the rest", "8", {false}, {"08.01.2020"}, {"Mo 06.01.20", "Mi 08.01.20"}},
        {"No at the first", "0", {false}, {"06.01.2020"}, {"Mo 06.01.20"}},
        {"Yes then No", "4", {true, false}, {"06.01.2020", "08.01.2020"}, {"Mo 06.01.20", "Mi 08.01.20"}},
        {"zero asks at every draw", "0", {}, {"06.01.2020", "08.01.2020", "10.01.2020", "13.01.2020"}, window},
        {"below zero asks at every draw", "-3", {}, {"06.01.2020", "08.01.2020", "10.01.2020", "13.01.2020"}, window},
        {"just above the best", "9", {}, {}, window},
        {"above the Keno type", "11", {}, {}, window},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        prompter.questions.clear();
        prompter.titles.clear();
        prompter.messages.clear();
        shown.clear();
        prompter.inputs = {c.input};
        prompter.answers = c.answers;

        session.tipSearch.run();

        std::vector<std::string> expected = {"Tipp-Test"};
        for (const auto& d : c.hits) expected.push_back(hitQuestion(d.c_str()));
        EXPECT_EQ(prompter.questions, expected);
        EXPECT_EQ(prompter.titles, std::vector<std::string>(c.hits.size(), kTitle));
        EXPECT_EQ(shown, c.shown);
        EXPECT_TRUE(prompter.messages.empty());
        // The browser's step from where it stood, with the hit check for the draw it shows.
        EXPECT_EQ(m.drawIndex, 2);
        EXPECT_EQ(m.drawDate, dateValue(2020, 1, 8));
        EXPECT_EQ(m.drawTextMain.substr(0, 11), "Mi 08.01.20");
        EXPECT_EQ(m.hits, (std::vector<uint8_t>{0, 8}));
        EXPECT_EQ(m.status[0], "Max-Gewinn 8er");
    }
}

TEST_F(TipSearchFixture, AnEmptyTipListNeverStops) {
    m.tipLines.clear();
    prompter.inputs = {"1"};
    session.tipSearch.run();
    EXPECT_EQ(prompter.questions, std::vector<std::string>{"Tipp-Test"});
    EXPECT_EQ(shown.size(), 4u);
}

TEST_F(TipSearchFixture, AStartAfterTheEndIsMovedAYearBeforeIt) {
    m.statsStart = dateValue(2020, 2, 1);
    prompter.inputs = {"0"};
    session.tipSearch.run();
    EXPECT_EQ(m.statsStart, dateValue(2020, 1, 13) - 365);
    EXPECT_EQ(shown,
              (std::vector<std::string>{"Mo 30.12.19", "Mo 06.01.20", "Mi 08.01.20", "Fr 10.01.20", "Mo 13.01.20"}));
}

TEST_F(TipSearchFixture, OnTheNewestDrawTheBrowserStaysThere) {
    m.drawIndex = 5;
    prompter.inputs = {"9"};
    session.tipSearch.run();
    EXPECT_EQ(m.drawIndex, 5);
    EXPECT_EQ(m.drawDate, dateValue(2020, 1, 15));
}

TEST_F(TipSearchFixture, NoSearchWithoutAWholeNumberOrWithoutDraws) {
    struct Case {
        const char* input;
        bool withDraws;
        std::string message;
    };
    const Case cases[] = {
        {"sechs", true, "\"sechs\" ist keine ganze Zahl. Die Suche wird nicht gestartet."},
        {"", true, "\"\" ist keine ganze Zahl. Die Suche wird nicht gestartet."},
        {"6 ", true, "\"6 \" ist keine ganze Zahl. Die Suche wird nicht gestartet."},
        {"6", false, "Die Datei " + dir.file("Keno.dat") + " fehlt."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        SetUp();
        if (!c.withDraws) std::filesystem::remove(dir.file("Keno.dat"));
        prompter.messages.clear();
        shown.clear();
        const double before = m.drawDate;
        prompter.inputs = {std::string(c.input)};
        session.tipSearch.run();
        EXPECT_EQ(prompter.messages, std::vector<std::string>{c.message});
        EXPECT_TRUE(shown.empty());
        EXPECT_EQ(m.drawIndex, 1) << "the browser does not move";
        EXPECT_EQ(m.drawDate, before);
    }
}

TEST_F(TipSearchFixture, AClickWhileItWalksStartsNoSecondSearch) {
    int pumped = 0;
    session.tipSearch.eventPump = [this, &pumped] {
        ++pumped;
        session.tipSearch.run(); // the button clicked again while the window's events run
    };
    prompter.inputs = {"9"};
    session.tipSearch.run();
    EXPECT_EQ(prompter.questions, std::vector<std::string>{"Tipp-Test"});
    EXPECT_EQ(pumped, 4);
}

// The window closing during the walk stops it before the next draw.
TEST_F(TipSearchFixture, AStopEndsTheWalkBeforeTheNextDraw) {
    session.tipSearch.eventPump = [this] {
        shown.push_back(m.drawTextMain.substr(0, 11));
        session.tipSearch.stop();
    };
    prompter.inputs = {"0"}; // would ask at every draw
    session.tipSearch.run();
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(prompter.titles.size(), 0u);
    EXPECT_FALSE(session.tipSearch.running());
}
