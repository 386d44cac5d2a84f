// Runs of "Tipps berechnen": the order of the random draws, pinned tips, the acceptance chain checked
// independently, slicing, stop, option changes during a run, failures, the lucky number and the
// coupling of the option controls.
#include <regex>

#include "GeneratorFixture.h"
#include "evaluation/TipCheck.h"
#include "generator/NumberChoice.h"

using namespace zf;
using namespace zf::gentest;

namespace {

struct SmallHistory : GenFixture {
    std::vector<DrawRecord> draws;
    void SetUp() override {
        GenFixture::SetUp();
        // Four weeks of draws with numbers that shift by seven a day.
        for (int d = 0; d < 28; ++d) {
            std::vector<int> numbers;
            for (int i = 0; i < 20; ++i) numbers.push_back((d * 7 + i * 3) % 70 + 1);
            std::sort(numbers.begin(), numbers.end());
            numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
            for (int x = 1; numbers.size() < 20; ++x)
                if (!std::count(numbers.begin(), numbers.end(), x)) numbers.push_back(x);
            draws.push_back(keno(2021, 2, 1 + d, numbers));
        }
        useDraws(draws);
        chooseDay(2021, 2, 28);
    }
    void setTotal(int t) { m.setGesamtTipps(t); }
};

struct BundledHistory : GenFixture {
    std::vector<DrawRecord> draws;
    void SetUp() override {
        GenFixture::SetUp();
        useBundledHistory();
        draws = test::readDraws(dir.file("Keno.dat"));
        chooseDay(2025, 12, 29);
    }
};

} // namespace

TEST_F(SmallHistory, EachDrawTakesOneRandomNumberBelowThePoolSize) {
    neutralOptions(m);
    setTotal(3);
    const uint32_t seed = 20210228;
    generate(seed);

    // The plain pool after compaction is 70, 1, ..., 69; every draw is one number below 70.
    Random r;
    r.setState(seed);
    std::vector<std::string> expected;
    for (int t = 0; t < 3; ++t) {
        std::vector<int> tip;
        while (tip.size() < 10) {
            const int i = static_cast<int>(r.below(70));
            const int x = i == 0 ? 70 : i;
            if (!std::count(tip.begin(), tip.end(), x)) tip.push_back(x);
        }
        std::sort(tip.begin(), tip.end());
        expected.push_back(formatTipLine(tip));
    }
    EXPECT_EQ(m.ListBox1, expected);
    EXPECT_EQ(m.random.state(), r.state()); // no random number is spent elsewhere
    EXPECT_EQ(m.status[1], "Tipps wurden neu berechnet");
    EXPECT_EQ(gen.Versuchszaehler(), 1);
}

namespace {

struct RunCase {
    const char* name;
    std::function<void(Model&)> options;
    uint32_t seed;
    size_t tips;
    const char* first;
    const char* last;
    const char* status;
    const char* weights; // of the pool, numbers 1..70
};

void designWith(Model& m, int total) {
    m.resetToDesign();
    m.setGesamtTipps(total);
}

} // namespace

TEST_F(BundledHistory, PinnedTipsObeyEveryOption) {
    const RunCase cases[] = {
        {"design options, 120 tips: the occurrence limit runs out", [](Model& m) { designWith(m, 120); }, 1, 22,
         "17,22,30,34,42,52,54,58,61,62", "05,24,29,40,47,48,52,57,58,66",
         "Ändern Sie die Parameter um 120 Tipps zuberechnen => 22 berechnet!",
         "2114311111113341313134311111141113343311131113111131131111314311113131"},
        {"Keno type 6, frequent numbers and pairs, one year",
         [](Model& m) {
             designWith(m, 12);
             m.UpDown[18].set(6);
             m.CheckBox[2] = m.CheckBox[1] = true;
             m.CheckBox[10] = m.CheckBox[14] = false;
             m.DateTimePicker2 = dateValue(2024, 12, 29);
         },
         77, 12, "12,19,32,49,61,67", "11,36,45,48,55,56", "Tipps wurden neu berechnet",
         "1111111311131111111111111111111122111111111144146222113223111111111111"},
        {"four numbers, one per ten, primes, evens and odds",
         [](Model& m) {
             designWith(m, 10);
             m.UpDown[18].set(4);
             m.CheckBox[29] = m.CheckBox[22] = m.CheckBox[25] = m.CheckBox[26] = true;
             m.UpDown[10].set(1);
             m.UpDown[16].set(1);
             m.UpDown[17].set(2);
         },
         5, 10, "15,20,59,66", "29,46,53,70", "Tipps wurden neu berechnet",
         "3131111111111141111431111111311111361514311111111111311111611113141134"},
        {"five numbers never all in a year's draws, hits with the last draws",
         [](Model& m) {
             designWith(m, 8);
             m.UpDown[18].set(5);
             m.UpDown[6].set(5);
             m.DateTimePicker2 = dateValue(2024, 12, 29);
             m.UpDown[21].set(1);
             m.UpDown[4].set(2);
             m.UpDown[22].set(1);
             m.UpDown[19].set(4);
             m.UpDown[20].set(40);
         },
         3, 8, "03,06,20,21,41", "03,06,21,37,38", "Tipps wurden neu berechnet",
         "3131111111111141111431111111311111361514311111111111311111611113141134"},
        {"only the last draws and their neighbours, the last draw's numbers excluded",
         [](Model& m) {
             designWith(m, 6);
             m.CheckBox[31] = m.CheckBox[15] = m.CheckBox[19] = true;
             m.CheckBox[10] = m.CheckBox[14] = false;
             m.ComboBox3 = 2;
             m.UpDown[4].set(0);
             m.CheckBox[24] = true;
             m.UpDown[1].set(1);
             m.UpDown[3].set(6);
         },
         11, 6, "13,18,22,34,36,40,44,52,53,57", "07,13,15,24,34,36,41,42,44,64", "Tipps wurden neu berechnet",
         "0160005160905140051104051500500014030011140806150004509080411405100000"},
    };
    for (const RunCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.options(m);
        chooseDay(2025, 12, 29);
        generate(c.seed);
        expectTipsObeyOptions(m, draws);
        std::string weights; // every weight here is below 10: one digit a number
        for (int k = 1; k <= 70; ++k) weights += std::to_string(gen.pool().ZahlImPool(k));
        EXPECT_EQ(weights, c.weights);
        EXPECT_EQ(m.ListBox1.size(), c.tips);
        if (!m.ListBox1.empty()) {
            EXPECT_EQ(m.ListBox1.front(), c.first);
            EXPECT_EQ(m.ListBox1.back(), c.last);
        }
        EXPECT_EQ(m.status[1], c.status);
        EXPECT_EQ(m.BitBtn4Caption, kCaptionStart);
        EXPECT_EQ(m.ListBox2.size(), m.ListBox1.size());
    }
}

TEST_F(BundledHistory, SlicesDoNotChangeTheTips) {
    designWith(m, 15);
    generate(4711);
    const auto whole = m.ListBox1;
    const auto state = m.random.state();
    ASSERT_EQ(whole.size(), 15u);

    // The same run in slices of a microsecond, with the event pump in between.
    m.random.setState(4711);
    int pumps = 0;
    m.BitBtn4Caption = kCaptionStop;
    ASSERT_TRUE(gen.start());
    while (gen.step(std::chrono::microseconds(1))) ++pumps;
    EXPECT_GT(pumps, 5);
    EXPECT_EQ(m.ListBox1, whole);
    EXPECT_EQ(m.random.state(), state);
    EXPECT_EQ(m.BitBtn4Caption, kCaptionStart);
    EXPECT_FALSE(gen.running());
}

TEST_F(SmallHistory, StopRequestDropsTheTipBeingSearched) {
    neutralOptions(m);
    m.CheckBox[4] = true;
    m.UpDown[21].set(9); // typed past its maximum 3: no candidate can pass
    setTotal(3);
    m.ListBox1 = {"01,02"};
    gen.slice = std::chrono::microseconds(200);
    int pumps = 0;
    std::string shown;
    gen.eventPump = [&] {
        shown = m.status[1]; // between two slices the status bar shows the last candidate
        if (++pumps == 2) gen.BitBtn19Click(); // a click on "Stoppen"
    };
    generate(9);
    EXPECT_EQ(pumps, 2);
    EXPECT_TRUE(std::regex_match(shown, std::regex(R"(1\.Tipp:  ( [1-9][0-9]?){10} QS: [0-9]+)"))) << shown;
    EXPECT_TRUE(m.ListBox1.empty()); // only the clearing of "Löschen vor Berechnung"
    EXPECT_EQ(m.status[1], "Tipps wurden neu berechnet");
    EXPECT_EQ(m.BitBtn4Caption, kCaptionStart);
    EXPECT_TRUE(m.sortieren);
    EXPECT_LT(gen.Versuchszaehler(), m.LaufMax + 1);
}

TEST_F(SmallHistory, OptionsChangedDuringARunCountFromTheNextCandidate) {
    neutralOptions(m);
    m.CheckBox[4] = true;
    m.UpDown[21].set(9); // nothing passes until the minimum is put right
    m.CheckBox[9] = true;
    m.UpDown[6].set(10);
    setTotal(4);
    gen.slice = std::chrono::microseconds(200);
    int pumps = 0;
    gen.eventPump = [&] {
        if (++pumps == 3) {
            m.UpDown[21].set(0);
            m.UpDown[6].set(9); // put back when the run ends
        }
    };
    generate(12);
    EXPECT_GE(pumps, 3);
    EXPECT_EQ(m.ListBox1.size(), 4u);
    EXPECT_EQ(m.UpDown[6].pos, 10);
    EXPECT_EQ(m.status[1], "Tipps wurden neu berechnet");
}

TEST_F(SmallHistory, AttemptLimitAndThePairConstraint) {
    // A minimum of hits typed above its maximum: every candidate fails; the pair constraint gives
    // way exactly when half of the attempts are used, and comes back when the run ends.
    neutralOptions(m);
    m.CheckBox[4] = true;
    m.UpDown[4].set(2);
    m.UpDown[21].set(3);
    m.CheckBox[8] = true;
    m.UpDown[7].set(1);
    setTotal(5);
    int releasedAt = -1;
    m.listener = [&](unsigned what) {
        if ((what & ChangeOptions) && !m.CheckBox[8] && releasedAt < 0) releasedAt = gen.Versuchszaehler();
    };
    generate(3);
    EXPECT_EQ(releasedAt, 500);
    EXPECT_TRUE(m.CheckBox[8]);
    EXPECT_EQ(m.LaufMax, 1000);
    EXPECT_EQ(gen.Versuchszaehler(), 1000);
    EXPECT_EQ(gen.attemptsOfLastRun(), 1000u); // the later positions are passed over
    EXPECT_TRUE(m.ListBox1.empty());
    EXPECT_EQ(m.status[1], "Ändern Sie die Parameter um 5 Tipps zuberechnen => 0 berechnet!");
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(gen.tipp()[static_cast<size_t>(i)], 0);
}

TEST_F(SmallHistory, ExistingTipsStayAndTakePart) {
    neutralOptions(m);
    m.CheckBox[28] = false;
    m.ListBox1 = {"01,02,03,04,05,06,07,08,09,10", "11,12,13,14,15,16,17,18,19,20", "21,22,23,24,25,26,27,28,29,30"};
    setTotal(3); // nothing to add, but the pool, the draw and the hit check are done again
    generate(5);
    EXPECT_EQ(m.ListBox1.size(), 3u);
    EXPECT_EQ(m.ListBox2.size(), 3u);
    EXPECT_EQ(gen.pool().Poolende, 69);
    EXPECT_EQ(gen.attemptsOfLastRun(), 0u);

    m.CheckBox[3] = true;
    m.UpDown[3].set(1); // at most one number in common with each of them
    m.CheckBox[32] = true;
    m.UpDown[24].set(2);
    setTotal(6);
    generate(5);
    ASSERT_EQ(m.ListBox1.size(), 6u);
    expectTipsObeyOptions(m, draws, 4);

    // A line that is no tip stops the reading; the run goes on behind the list.
    m.ListBox1 = {"01,02,03,04,05,06,07,08,09,10", "11,zwölf,13", "21,22,23,24,25,26,27,28,29,30"};
    m.CheckBox[3] = false;
    setTotal(5);
    generate(5);
    EXPECT_EQ(prompter.messages, (std::vector<std::string>{"FEHLER beim Zahlen lesen"}));
    ASSERT_EQ(m.ListBox1.size(), 5u);
    EXPECT_EQ(m.ListBox1[1], "11,zwölf,13");
}

TEST_F(SmallHistory, MinimumOverlapCountsListPositionsWithoutATip) {
    // Unread lines are tips without numbers: they share nothing with a candidate.
    neutralOptions(m);
    m.CheckBox[28] = false;
    m.CheckBox[24] = true;
    m.UpDown[1].set(1);
    m.UpDown[7].set(1);
    m.ListBox1 = {"x"};
    setTotal(2);
    generate(5);
    EXPECT_EQ(m.ListBox1, (std::vector<std::string>{"x"}));
    EXPECT_EQ(m.status[1], "Ändern Sie die Parameter um 2 Tipps zuberechnen => 1 berechnet!");
}

TEST_F(SmallHistory, DrawHistoryProblems) {
    neutralOptions(m);
    setTotal(2);

    // No Keno.dat: nothing to generate from.
    std::filesystem::remove(dir.file("Keno.dat"));
    m.ListBox1 = {"01,02"};
    generate(1);
    EXPECT_EQ(prompter.messages, (std::vector<std::string>{"Lesen Sie zuerst die Daten der Ziehungen ein"}));
    EXPECT_EQ(m.status[1], "Ohne Ziehungen in Keno.dat können keine Tipps berechnet werden");
    EXPECT_EQ(m.ListBox1, (std::vector<std::string>{"01,02"}));
    EXPECT_EQ(m.BitBtn4Caption, kCaptionStart);
    EXPECT_TRUE(m.sortieren);

    // Two draws: there is no third-last draw, so it has no numbers.
    useDraws({keno(2021, 2, 1, range(1, 20)), keno(2021, 2, 2, range(21, 40))});
    chooseDay(2021, 2, 2);
    m.CheckBox[31] = true;
    m.CheckBox[15] = true;
    m.ComboBox3 = 2;
    generate(1);
    for (int k = 1; k <= 70; ++k) EXPECT_EQ(gen.pool().ZahlImPool(k), k <= 40 ? 1 : 0) << k; // not the first draw twice
    EXPECT_EQ(m.ListBox1.size(), 2u);

    m.CheckBox[23] = true;
    m.UpDown[23].set(1); // at least one hit with the missing draw: impossible
    m.UpDown[7].set(1);
    generate(1);
    EXPECT_TRUE(m.ListBox1.empty());
    EXPECT_EQ(m.status[1], "Ändern Sie die Parameter um 2 Tipps zuberechnen => 0 berechnet!");
}

TEST_F(SmallHistory, TheEndStepPutsTheDrawBack) {
    neutralOptions(m);
    m.CheckBox[9] = true;
    m.CheckBox[1] = true; // the pair statistic walks the history
    m.DateTimePicker2 = dateValue(2021, 2, 10);
    chooseDay(2021, 2, 20);
    setTotal(2);
    generate(8);
    EXPECT_DOUBLE_EQ(m.DateTimePicker1, dateValue(2021, 2, 20));
    EXPECT_DOUBLE_EQ(m.Datum1, dateValue(2021, 2, 20));
    for (int i = 0; i < 20; ++i) EXPECT_EQ(m.Zahl[static_cast<size_t>(i + 1)], draws[19].zahl[static_cast<size_t>(i)]);
    EXPECT_TRUE(m.Series2.points.empty()); // the history filter leaves the chart's series empty
    EXPECT_DOUBLE_EQ(m.aktDatum, dateValue(2021, 2, 20)); // the seek's working date
    ASSERT_EQ(m.ListBox2.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        Zettelcheck(m, m.ListBox1[i]);
        EXPECT_EQ(m.ListBox2[i], m.Gewinn);
    }
}

namespace {

// Feeds fixed candidates through the chain, as the full enumeration will.
class FixedCandidates : public CandidateEnumeration {
public:
    FixedCandidates(Model& m, std::vector<std::vector<int>> c, int count, int limit)
        : m_(m), candidates_(std::move(c)), count_(count), limit_(limit) {}
    int begin(const CandidatePool&, int) override {
        m_.LaufMax = limit_;
        m_.setGesamtTipps(count_);
        return count_;
    }
    void next(Tipp& tipp, int n) override {
        const auto& c = candidates_[next_++ % candidates_.size()];
        for (int i = 1; i <= n; ++i) tipp[static_cast<size_t>(i)] = static_cast<uint8_t>(c[static_cast<size_t>(i - 1)]);
    }
    void end() override { ended = true; }
    bool ended = false;

private:
    Model& m_;
    std::vector<std::vector<int>> candidates_;
    size_t next_ = 0;
    int count_, limit_;
};

} // namespace

TEST_F(SmallHistory, TheEnumerationPlugsIntoTheSameLoop) {
    neutralOptions(m);
    m.UpDown[18].set(3);
    gen.ErzeugenBtnClick(); // nothing plugged in: nothing happens
    EXPECT_EQ(m.BitBtn4Caption, kCaptionStart);
    EXPECT_FALSE(m.erzeugen);

    // Many combinations: passing ones go into the list; the attempts count on over the positions,
    // so the candidate that passes in the very last attempt is dropped like a failed one. A pool
    // with repeated numbers gives candidates with repeats, whose overlaps count every pair.
    FixedCandidates many(m, {{9, 2, 5}, {5, 9, 5}, {1, 2, 3}, {4, 6, 8}}, CandidateEnumeration::kListThreshold, 4);
    gen.setEnumeration(&many);
    m.CheckBox[3] = true;
    m.UpDown[3].set(2); // 5, 5, 9 shares three pairs with 2, 5, 9
    gen.ErzeugenBtnClick();
    EXPECT_TRUE(m.erzeugen);
    EXPECT_TRUE(many.ended);
    EXPECT_EQ(m.ListBox1, (std::vector<std::string>{"02,05,09", "01,02,03"}));
    EXPECT_EQ(m.status[1], "Ändern Sie die Parameter um 100000 Tipps zuberechnen => 2 berechnet!");
    EXPECT_EQ(gen.attemptsOfLastRun(), 4u);

    // Few combinations: none goes into the list.
    FixedCandidates few(m, {{1, 2, 3}}, 2, 2);
    gen.setEnumeration(&few);
    gen.ErzeugenBtnClick();
    EXPECT_TRUE(m.ListBox1.empty());
    EXPECT_EQ(gen.attemptsOfLastRun(), 2u);

    // The next "Tipps berechnen" is a random run again.
    m.setGesamtTipps(1);
    gen.BitBtn19Click();
    EXPECT_FALSE(m.erzeugen);
    EXPECT_EQ(m.ListBox1.size(), 1u);
}

TEST_F(SmallHistory, LuckyNumber) {
    struct Case {
        std::optional<std::string> answer; // nothing: cancelled
        uint32_t state;
        const char* status;
    };
    const Case cases[] = {
        {"1234", 1234u, "GlücksZahl 1234 gesetzt"},
        {" 99999999", 99999999u, "GlücksZahl 99999999 gesetzt"},
        {"-5", 0xFFFFFFFBu, "GlücksZahl -5 gesetzt"},
        {"12x", 77u, "vorher"},
        {"", 77u, "vorher"},
        {"4294967296", 77u, "vorher"},
        {std::nullopt, 77u, "GlücksZahl 77 gesetzt"},
    };
    for (const Case& c : cases) {
        m.random.setState(77);
        m.status[1] = "vorher";
        prompter.inputs = {c.answer};
        prompter.questions.clear();
        gen.SpeedButton13Click();
        EXPECT_EQ(m.random.state(), c.state) << c.answer.value_or("(abgebrochen)");
        EXPECT_EQ(m.status[1], c.status);
        EXPECT_EQ(prompter.questions, (std::vector<std::string>{"Geben Sie Ihre GlücksZahl für den Zufallsgenerator ein!"}));
    }
    // The proposal is the state as a signed number.
    m.random.setState(0xFFFFFFFFu);
    prompter.inputs.clear();
    gen.SpeedButton13Click();
    EXPECT_EQ(m.status[1], "GlücksZahl -1 gesetzt");
}

TEST_F(SmallHistory, CouplingOfTheOptionControls) {
    struct Case {
        const char* name;
        std::function<void()> act;
        int upDown;
        int min, max, pos;
    };
    const Case cases[] = {
        {"UpDown3MouseDown caps the minimum overlap", [&] { m.UpDown[3].set(4); gen.UpDown3MouseDown(); }, 1, 0, 4, 0},
        {"... and pulls a higher one down", [&] { m.UpDown[1].set(7); m.UpDown[3].set(4); gen.UpDown3MouseDown(); }, 1,
         0, 4, 4},
        {"UpDown1MouseUp raises the floor of the maximum", [&] { m.UpDown[1].set(3); gen.UpDown1MouseUp(); }, 3, 3, 9, 5},
        {"UpDown16MouseUp", [&] { m.UpDown[17].set(5); m.UpDown[16].set(2); gen.UpDown16MouseUp(); }, 16, 0, 1, 1},
        {"UpDown17MouseDown", [&] { m.UpDown[17].set(4); gen.UpDown17MouseDown(); }, 16, 0, 2, 2},
        {"UpDown17MouseUp", [&] { m.UpDown[16].set(5); m.UpDown[17].set(2); gen.UpDown17MouseUp(); }, 17, 0, 1, 1},
        {"UpDown21ChangingEx drags the maximum up", [&] { gen.UpDown21ChangingEx(5); }, 4, 0, 10, 5},
        {"... not down", [&] { gen.UpDown21ChangingEx(1); }, 4, 0, 10, 3},
        {"UpDown22ChangingEx", [&] { gen.UpDown22ChangingEx(7); }, 5, 0, 10, 7},
        {"UpDown23ChangingEx", [&] { gen.UpDown23ChangingEx(4); }, 11, 0, 10, 4},
        {"UpDown4ChangingEx drags the minimum down", [&] { m.UpDown[21].set(3); gen.UpDown4ChangingEx(2); }, 21, 0, 10, 2},
        {"UpDown5ChangingEx", [&] { m.UpDown[22].set(3); gen.UpDown5ChangingEx(1); }, 22, 0, 10, 1},
        {"UpDown11ChangingEx", [&] { m.UpDown[23].set(3); gen.UpDown11ChangingEx(0); }, 23, 0, 10, 0},
        {"... not up", [&] { m.UpDown[23].set(3); gen.UpDown11ChangingEx(9); }, 23, 0, 10, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m.resetToDesign();
        c.act();
        const UpDownState& u = m.UpDown[static_cast<size_t>(c.upDown)];
        EXPECT_EQ(u.min, c.min);
        EXPECT_EQ(u.max, c.max);
        EXPECT_EQ(u.pos, c.pos);
    }
    m.resetToDesign();
    m.LaufMax = 5;
    m.UpDown[7].set(250);
    gen.UpDown7Changing();
    EXPECT_EQ(m.LaufMax, 250000);
}
