// Runs of "Tipps berechnen": the order of the random draws, pinned tips, the acceptance chain checked
// independently, slicing, stop, option changes during a run, failures, the lucky number and the
// coupling of the option controls.
#include <regex>

#include "GeneratorFixture.h"
#include "app/evaluation/TipCheck.h"
#include "core/generator/NumberChoice.h"

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
    void setTotal(int t) { m.setTotalTips(t); }
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
    EXPECT_EQ(m.tipLines, expected);
    EXPECT_EQ(m.random.state(), r.state()); // no random number is spent elsewhere
    EXPECT_EQ(m.status[1], "Tipps wurden neu berechnet");
    EXPECT_EQ(gen.attemptsOfTip(), 1);
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
    m.setTotalTips(total);
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
             m.num(Num::KenoType).set(6);
             m.on(Opt::PreferFrequent) = m.on(Opt::PreferPairs) = true;
             m.on(Opt::PreferOverdue) = m.on(Opt::PreferRare) = false;
             m.statsStart = dateValue(2024, 12, 29);
         },
         77, 12, "12,19,32,49,61,67", "11,36,45,48,55,56", "Tipps wurden neu berechnet",
         "1111111311131111111111111111111122111111111144146222113223111111111111"},
        {"four numbers, one per ten, primes, evens and odds",
         [](Model& m) {
             designWith(m, 10);
             m.num(Num::KenoType).set(4);
             m.on(Opt::OnePerTen) = m.on(Opt::MinPrimes) = m.on(Opt::MinEven) = m.on(Opt::MinOdd) = true;
             m.num(Num::MinPrimes).set(1);
             m.num(Num::MinEven).set(1);
             m.num(Num::MinOdd).set(2);
         },
         5, 10, "15,20,59,66", "29,46,53,70", "Tipps wurden neu berechnet",
         "3131111111111141111431111111311111361514311111111111311111611113141134"},
        {"five numbers never all in a year's draws, hits with the last draws",
         [](Model& m) {
             designWith(m, 8);
             m.num(Num::KenoType).set(5);
             m.num(Num::HistoryMatch).set(5);
             m.statsStart = dateValue(2024, 12, 29);
             m.num(Num::LastDrawMin).set(1);
             m.num(Num::LastDrawMax).set(2);
             m.num(Num::SecondDrawMin).set(1);
             m.num(Num::RecentMatch).set(4);
             m.num(Num::RecentDraws).set(40);
         },
         3, 8, "03,06,20,21,41", "03,06,21,37,38", "Tipps wurden neu berechnet",
         "3131111111111141111431111111311111361514311111111111311111611113141134"},
        {"only the last draws and their neighbours, the last draw's numbers excluded",
         [](Model& m) {
             designWith(m, 6);
             m.on(Opt::RecentDrawNumbers) = m.on(Opt::OnlyFavoured) = m.on(Opt::PreferNeighbours) = true;
             m.on(Opt::PreferOverdue) = m.on(Opt::PreferRare) = false;
             m.recentDrawsItem = 2;
             m.num(Num::LastDrawMax).set(0);
             m.on(Opt::MinOverlap) = true;
             m.num(Num::MinOverlap).set(1);
             m.num(Num::MaxOverlap).set(6);
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
        for (int k = 1; k <= 70; ++k) weights += std::to_string(gen.pool().count(k));
        EXPECT_EQ(weights, c.weights);
        EXPECT_EQ(m.tipLines.size(), c.tips);
        if (!m.tipLines.empty()) {
            EXPECT_EQ(m.tipLines.front(), c.first);
            EXPECT_EQ(m.tipLines.back(), c.last);
        }
        EXPECT_EQ(m.status[1], c.status);
        EXPECT_EQ(m.runCaption, kCaptionStart);
        EXPECT_EQ(m.hits.size(), m.tipLines.size());
    }
}

TEST_F(BundledHistory, SlicesDoNotChangeTheTips) {
    designWith(m, 15);
    generate(4711);
    const auto whole = m.tipLines;
    const auto state = m.random.state();
    ASSERT_EQ(whole.size(), 15u);

    // The same run in slices of a microsecond, with the event pump in between.
    m.random.setState(4711);
    int pumps = 0;
    m.runState = GeneratorRun::Running;
    ASSERT_TRUE(gen.start());
    while (gen.step(std::chrono::microseconds(1))) ++pumps;
    EXPECT_GT(pumps, 5);
    EXPECT_EQ(m.tipLines, whole);
    EXPECT_EQ(m.random.state(), state);
    EXPECT_EQ(m.runCaption, kCaptionStart);
    EXPECT_FALSE(gen.running());

    // The same run for a caller without the button (the batch program), seeded directly.
    gen.seed(4711);
    gen.runToEnd();
    EXPECT_EQ(m.tipLines, whole);
}

TEST_F(SmallHistory, StopRequestDropsTheTipBeingSearched) {
    neutralOptions(m);
    m.on(Opt::LastDrawHits) = true;
    m.num(Num::LastDrawMin).set(9); // typed past its maximum 3: no candidate can pass
    setTotal(3);
    m.tipLines = {"01,02"};
    gen.slice = std::chrono::microseconds(200);
    int pumps = 0;
    std::string shown;
    gen.eventPump = [&] {
        shown = m.status[1];               // between two slices the status bar shows the last candidate
        if (++pumps == 2) gen.toggleRun(); // a click on "Stoppen"
    };
    generate(9);
    EXPECT_EQ(pumps, 2);
    EXPECT_TRUE(std::regex_match(shown, std::regex(R"(1\.Tipp:  ( [1-9][0-9]?){10} QS: [0-9]+)"))) << shown;
    EXPECT_TRUE(m.tipLines.empty()); // only the clearing of "Löschen vor Berechnung"
    EXPECT_EQ(m.status[1], "Tipps wurden neu berechnet");
    EXPECT_EQ(m.runCaption, kCaptionStart);
    EXPECT_TRUE(m.hitCheckOn);
    EXPECT_LT(gen.attemptsOfTip(), m.attemptLimit + 1);
}

TEST_F(SmallHistory, OptionsChangedDuringARunCountFromTheNextCandidate) {
    neutralOptions(m);
    m.on(Opt::LastDrawHits) = true;
    m.num(Num::LastDrawMin).set(9); // nothing passes until the minimum is put right
    m.on(Opt::NoHistoryMatch) = true;
    m.num(Num::HistoryMatch).set(10);
    setTotal(4);
    gen.slice = std::chrono::microseconds(200);
    int pumps = 0;
    gen.eventPump = [&] {
        if (++pumps == 3) {
            m.num(Num::LastDrawMin).set(0);
            m.num(Num::HistoryMatch).set(9); // put back when the run ends
        }
    };
    generate(12);
    EXPECT_GE(pumps, 3);
    EXPECT_EQ(m.tipLines.size(), 4u);
    EXPECT_EQ(m.num(Num::HistoryMatch).pos, 10);
    EXPECT_EQ(m.status[1], "Tipps wurden neu berechnet");
}

TEST_F(SmallHistory, AttemptLimitAndThePairConstraint) {
    // The user's pair option is never touched by a run: it stays ticked before, during and after.
    bool optionCleared = false;
    m.listener = [&](unsigned) { optionCleared = optionCleared || !m.on(Opt::ForcePair); };

    // A minimum of hits typed above its maximum: every candidate fails, the pair or not.
    neutralOptions(m);
    m.on(Opt::LastDrawHits) = true;
    m.num(Num::LastDrawMax).set(2);
    m.num(Num::LastDrawMin).set(3);
    m.on(Opt::ForcePair) = true;
    m.num(Num::AttemptThousands).set(1);
    setTotal(5);
    generate(3);
    EXPECT_EQ(m.attemptLimit, 1000);
    EXPECT_EQ(gen.attemptsOfTip(), 1000);
    EXPECT_EQ(gen.attemptsOfLastRun(), 1000u); // the later positions are passed over
    EXPECT_TRUE(m.tipLines.empty());
    EXPECT_EQ(m.status[1], "Ändern Sie die Parameter um 5 Tipps zuberechnen => 0 berechnet!");
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(gen.tipp()[static_cast<size_t>(i)], 0);

    // Only odd numbers in the pool, so no candidate holds a pair: the pair constraint gives way
    // exactly when half of the attempts are used, and stays relaxed for the later tips of the run,
    // not of the next run.
    m.on(Opt::LastDrawHits) = false;
    m.on(Opt::EditPool) = true;
    std::vector<std::string> oddOnly(70); // a weight list: weight 1 for 1, 3, ..., 69
    for (size_t i = 0; i < 70; i += 2) oddOnly[i] = "1";
    prompter.onNumberDialog = [&](NumberChoice& form) {
        form.loadWeightList(oddOnly);
        return ModalResult::Retry;
    };
    setTotal(3);
    for (uint32_t seed : {3u, 4u}) {
        generate(seed);
        ASSERT_EQ(m.tipLines.size(), 3u);
        EXPECT_EQ(gen.attemptsOfLastRun(), 500u + 2);
        EXPECT_EQ(gen.attemptsOfTip(), 1);
    }
    EXPECT_FALSE(optionCleared);
}

TEST_F(SmallHistory, ExistingTipsStayAndTakePart) {
    neutralOptions(m);
    m.on(Opt::ClearBeforeRun) = false;
    m.tipLines = {"01,02,03,04,05,06,07,08,09,10", "11,12,13,14,15,16,17,18,19,20", "21,22,23,24,25,26,27,28,29,30"};
    setTotal(3); // nothing to add, but the pool, the draw and the hit check are done again
    generate(5);
    EXPECT_EQ(m.tipLines.size(), 3u);
    EXPECT_EQ(m.hits.size(), 3u);
    EXPECT_EQ(gen.pool().last, 69);
    EXPECT_EQ(gen.attemptsOfLastRun(), 0u);

    m.on(Opt::MaxOverlap) = true;
    m.num(Num::MaxOverlap).set(1); // at most one number in common with each of them
    m.on(Opt::MaxOccurrence) = true;
    m.num(Num::MaxOccurrence).set(2);
    setTotal(6);
    generate(5);
    ASSERT_EQ(m.tipLines.size(), 6u);
    expectTipsObeyOptions(m, draws, 4);

    // A line that is no tip stops the reading; the run goes on behind the list.
    m.tipLines = {"01,02,03,04,05,06,07,08,09,10", "11,zwölf,13", "21,22,23,24,25,26,27,28,29,30"};
    m.on(Opt::MaxOverlap) = false;
    setTotal(5);
    generate(5);
    EXPECT_EQ(prompter.messages, (std::vector<std::string>{"FEHLER beim Zahlen lesen"}));
    ASSERT_EQ(m.tipLines.size(), 5u);
    EXPECT_EQ(m.tipLines[1], "11,zwölf,13");
}

TEST_F(SmallHistory, MinimumOverlapCountsListPositionsWithoutATip) {
    // Unread lines are tips without numbers: they share nothing with a candidate.
    neutralOptions(m);
    m.on(Opt::ClearBeforeRun) = false;
    m.on(Opt::MinOverlap) = true;
    m.num(Num::MinOverlap).set(1);
    m.num(Num::AttemptThousands).set(1);
    m.tipLines = {"x"};
    setTotal(2);
    generate(5);
    EXPECT_EQ(m.tipLines, (std::vector<std::string>{"x"}));
    EXPECT_EQ(m.status[1], "Ändern Sie die Parameter um 2 Tipps zuberechnen => 1 berechnet!");
}

TEST_F(SmallHistory, DrawHistoryProblems) {
    neutralOptions(m);
    setTotal(2);

    // No Keno.dat: nothing to generate from.
    std::filesystem::remove(dir.file("Keno.dat"));
    m.tipLines = {"01,02"};
    generate(1);
    EXPECT_EQ(prompter.messages, (std::vector<std::string>{"Lesen Sie zuerst die Daten der Ziehungen ein"}));
    EXPECT_EQ(m.status[1], "Ohne Ziehungen in Keno.dat können keine Tipps berechnet werden");
    EXPECT_EQ(m.tipLines, (std::vector<std::string>{"01,02"}));
    EXPECT_EQ(m.runCaption, kCaptionStart);
    EXPECT_TRUE(m.hitCheckOn);

    // Two draws: there is no third-last draw, so it has no numbers.
    useDraws({keno(2021, 2, 1, range(1, 20)), keno(2021, 2, 2, range(21, 40))});
    chooseDay(2021, 2, 2);
    m.on(Opt::RecentDrawNumbers) = true;
    m.on(Opt::OnlyFavoured) = true;
    m.recentDrawsItem = 2;
    generate(1);
    for (int k = 1; k <= 70; ++k) EXPECT_EQ(gen.pool().count(k), k <= 40 ? 1 : 0) << k; // not the first draw twice
    EXPECT_EQ(m.tipLines.size(), 2u);

    m.on(Opt::ThirdDrawHits) = true;
    m.num(Num::ThirdDrawMin).set(1); // at least one hit with the missing draw: impossible
    m.num(Num::AttemptThousands).set(1);
    generate(1);
    EXPECT_TRUE(m.tipLines.empty());
    EXPECT_EQ(m.status[1], "Ändern Sie die Parameter um 2 Tipps zuberechnen => 0 berechnet!");
}

TEST_F(SmallHistory, TheEndStepPutsTheDrawBack) {
    neutralOptions(m);
    m.on(Opt::NoHistoryMatch) = true;
    m.on(Opt::PreferPairs) = true; // the pair statistic walks the history
    m.statsStart = dateValue(2021, 2, 10);
    chooseDay(2021, 2, 20);
    setTotal(2);
    generate(8);
    EXPECT_DOUBLE_EQ(m.browseDate, dateValue(2021, 2, 20));
    EXPECT_DOUBLE_EQ(m.drawDate, dateValue(2021, 2, 20));
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(m.drawNumbers[static_cast<size_t>(i + 1)], draws[19].zahl[static_cast<size_t>(i)]);
    EXPECT_TRUE(m.numberChart.points.empty());            // the history filter leaves the chart's series empty
    EXPECT_DOUBLE_EQ(m.workDate, dateValue(2021, 2, 20)); // the seek's working date
    ASSERT_EQ(m.hits.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        checkTip(m, m.tipLines[i]);
        EXPECT_EQ(m.hits[i], m.tipHits);
    }
}

namespace {

// Feeds fixed candidates through the chain, as the full enumeration will.
class FixedCandidates : public CandidateEnumeration {
public:
    FixedCandidates(Model& m, std::vector<std::vector<int>> c, int count, int limit)
        : m_(m), candidates_(std::move(c)), count_(count), limit_(limit) {}
    std::optional<int> begin(const CandidatePool&, int) override {
        m_.attemptLimit = limit_;
        m_.setTotalTips(count_);
        return count_;
    }
    void next(Tipp& tipp, int n) override {
        const auto& c = candidates_[next_++ % candidates_.size()];
        for (int i = 1; i <= n; ++i) tipp[static_cast<size_t>(i)] = static_cast<uint8_t>(c[static_cast<size_t>(i - 1)]);
    }
    void end(bool lastPassed) override {
        ended = true;
        endedPassed = lastPassed;
    }
    bool ended = false;
    bool endedPassed = false;

private:
    Model& m_;
    std::vector<std::vector<int>> candidates_;
    size_t next_ = 0;
    int count_, limit_;
};

} // namespace

TEST_F(SmallHistory, TheEnumerationPlugsIntoTheSameLoop) {
    neutralOptions(m);
    m.num(Num::KenoType).set(3);
    gen.setEnumeration(nullptr);
    gen.toggleEnumeration(); // nothing plugged in: nothing happens
    EXPECT_EQ(m.runCaption, kCaptionStart);
    EXPECT_FALSE(m.enumerating);

    // Many combinations: passing ones go into the list; the attempts count on over the positions,
    // and the candidate that passes in the very last attempt counts like the others. A pool with
    // repeated numbers gives candidates with repeats, whose overlaps count every pair.
    FixedCandidates many(m, {{9, 2, 5}, {5, 9, 5}, {1, 2, 3}, {4, 6, 8}}, CandidateEnumeration::kListThreshold, 4);
    gen.setEnumeration(&many);
    m.on(Opt::MaxOverlap) = true;
    m.num(Num::MaxOverlap).set(2); // 5, 5, 9 shares three pairs with 2, 5, 9
    gen.toggleEnumeration();
    EXPECT_TRUE(m.enumerating);
    EXPECT_TRUE(many.ended);
    EXPECT_EQ(m.tipLines, (std::vector<std::string>{"02,05,09", "01,02,03", "04,06,08"}));
    EXPECT_TRUE(many.endedPassed);
    EXPECT_EQ(m.status[1], "Tipps wurden neu berechnet");
    EXPECT_EQ(gen.attemptsOfLastRun(), 4u);

    // Few combinations: none goes into the list.
    FixedCandidates few(m, {{1, 2, 3}}, 2, 2);
    gen.setEnumeration(&few);
    gen.toggleEnumeration();
    EXPECT_TRUE(m.tipLines.empty());
    EXPECT_EQ(gen.attemptsOfLastRun(), 2u);

    // The next "Tipps berechnen" is a random run again.
    m.setTotalTips(1);
    gen.toggleRun();
    EXPECT_FALSE(m.enumerating);
    EXPECT_EQ(m.tipLines.size(), 1u);
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
        gen.askLuckyNumber();
        EXPECT_EQ(m.random.state(), c.state) << c.answer.value_or("(abgebrochen)");
        EXPECT_EQ(m.status[1], c.status);
        EXPECT_EQ(prompter.questions,
                  (std::vector<std::string>{"Geben Sie Ihre GlücksZahl für den Zufallsgenerator ein!"}));
    }
    // The proposal is the state as a signed number.
    m.random.setState(0xFFFFFFFFu);
    prompter.inputs.clear();
    gen.askLuckyNumber();
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
        {"fitMinOverlapToMax caps the minimum overlap",
         [&] {
             m.num(Num::MaxOverlap).set(4);
             gen.fitMinOverlapToMax();
         },
         1, 0, 4, 0},
        {"... and pulls a higher one down",
         [&] {
             m.num(Num::MinOverlap).set(7);
             m.num(Num::MaxOverlap).set(4);
             gen.fitMinOverlapToMax();
         },
         1, 0, 4, 4},
        {"fitMaxOverlapToMin raises the floor of the maximum",
         [&] {
             m.num(Num::MinOverlap).set(3);
             gen.fitMaxOverlapToMin();
         },
         3, 3, 9, 5},
        {"fitEvenToOdd",
         [&] {
             m.num(Num::MinOdd).set(5);
             m.num(Num::MinEven).set(2);
             gen.fitEvenToOdd();
         },
         16, 0, 1, 1},
        {"fitEvenToOddPressed",
         [&] {
             m.num(Num::MinOdd).set(4);
             gen.fitEvenToOddPressed();
         },
         16, 0, 2, 2},
        {"fitOddToEven",
         [&] {
             m.num(Num::MinEven).set(5);
             m.num(Num::MinOdd).set(2);
             gen.fitOddToEven();
         },
         17, 0, 1, 1},
        {"lastDrawMinChanging drags the maximum up", [&] { gen.lastDrawMinChanging(5); }, 4, 0, 10, 5},
        {"... not down", [&] { gen.lastDrawMinChanging(1); }, 4, 0, 10, 3},
        {"secondDrawMinChanging", [&] { gen.secondDrawMinChanging(7); }, 5, 0, 10, 7},
        {"thirdDrawMinChanging", [&] { gen.thirdDrawMinChanging(4); }, 11, 0, 10, 4},
        {"lastDrawMaxChanging drags the minimum down",
         [&] {
             m.num(Num::LastDrawMin).set(3);
             gen.lastDrawMaxChanging(2);
         },
         21, 0, 10, 2},
        {"secondDrawMaxChanging",
         [&] {
             m.num(Num::SecondDrawMin).set(3);
             gen.secondDrawMaxChanging(1);
         },
         22, 0, 10, 1},
        {"thirdDrawMaxChanging",
         [&] {
             m.num(Num::ThirdDrawMin).set(3);
             gen.thirdDrawMaxChanging(0);
         },
         23, 0, 10, 0},
        {"... not up",
         [&] {
             m.num(Num::ThirdDrawMin).set(3);
             gen.thirdDrawMaxChanging(9);
         },
         23, 0, 10, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m.resetToDesign();
        c.act();
        const UpDownState& u = m.upDowns[static_cast<size_t>(c.upDown)];
        EXPECT_EQ(u.min, c.min);
        EXPECT_EQ(u.max, c.max);
        EXPECT_EQ(u.pos, c.pos);
    }
    m.resetToDesign();
    m.attemptLimit = 5;
    m.num(Num::AttemptThousands).set(250);
    gen.attemptLimitChanging();
    EXPECT_EQ(m.attemptLimit, 250000);
}
