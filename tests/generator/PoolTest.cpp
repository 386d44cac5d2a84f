// The candidate pool: its own operations, and the pool a run builds from the statistics.
#include <functional>

#include "GeneratorFixture.h"
#include "core/generator/NumberChoice.h"
#include "core/generator/Pool.h"

using namespace zf;
using namespace zf::gentest;

TEST(CandidatePool, CompactionFillsHolesFromTheEnd) {
    CandidatePool p;
    for (int i = 1; i <= 70; ++i) p.put(i, i);
    p.last = 70;
    p.compact();
    auto e = p.entries();
    ASSERT_EQ(e.size(), 70u);
    EXPECT_EQ(e[0], 70); // moved into the hole at position 0
    for (int i = 1; i < 70; ++i) EXPECT_EQ(e[static_cast<size_t>(i)], i);

    CandidatePool q; // holes in the middle and at the end
    for (int i : {0, 1, 2, 3, 4, 5}) q.put(i, i == 1 || i == 4 ? 0 : 10 + i);
    q.last = 5;
    q.compact();
    EXPECT_EQ(q.entries(), (std::vector<uint8_t>{10, 15, 12, 13}));

    CandidatePool empty;
    empty.last = 0;
    empty.compact();
    EXPECT_EQ(empty.last, -1);
}

TEST(CandidatePool, PoolAusListe) {
    NumberChoice f;
    f.untickAll(BoxColour::Normal);
    f.ticked[3] = true;
    f.hint[3] = "2";
    f.ticked[9] = true;
    f.hint[9] = "0";  // 0 counts as 1
    f.hint[12] = "x"; // not ticked: not read
    CandidatePool p;
    EXPECT_FALSE(p.fromNumberChoice(f, false));
    EXPECT_EQ(p.entries(), (std::vector<uint8_t>{0, 3, 3, 9}));
    EXPECT_EQ(p.last, 3);

    EXPECT_FALSE(p.fromNumberChoice(f, true)); // an enumeration takes every number once
    EXPECT_EQ(p.entries(), (std::vector<uint8_t>{0, 3, 9}));

    f.ticked[20] = true;
    f.hint[20] = "-4"; // appends nothing
    f.ticked[21] = true;
    f.hint[21] = " 99999"; // a blank in front is fine; the weight is capped
    EXPECT_FALSE(p.fromNumberChoice(f, false));
    EXPECT_EQ(p.count(20), 0);
    EXPECT_EQ(p.count(21), CandidatePool::kMaxWeight);
    EXPECT_EQ(p.last, 3 + CandidatePool::kMaxWeight); // far beyond the 1401 design positions

    f.ticked[12] = true; // "x" is no weight: a message, the pool stays as it was
    const auto before = p.entries();
    const auto error = p.fromNumberChoice(f, false);
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "Die Gewichtung \"x\" der Zahl 12 ist keine ganze Zahl. Die Tippberechnung wird abgebrochen.");
    EXPECT_EQ(p.entries(), before);

    NumberChoice none;
    none.untickAll(BoxColour::Normal);
    EXPECT_FALSE(p.fromNumberChoice(none, false));
    EXPECT_EQ(p.last, 0);
    EXPECT_EQ(p.distinctNumbers(), 0);
}

namespace {

// Three draws: 1..20, 1..20, 11..30; the last one is the draw of the chosen day.
struct PoolFixture : GenFixture {
    void SetUp() override {
        GenFixture::SetUp();
        useDraws({keno(2021, 2, 1, range(1, 20)), keno(2021, 2, 2, range(1, 20)), keno(2021, 2, 3, range(11, 30))});
        chooseDay(2021, 2, 3);
        neutralOptions(m);
        m.num(Num::TotalTips).set(1);
        m.totalTipsText = "1";
    }
};

using Weights = std::function<int(int)>;

// The weight of k before the last step of the pool: after compaction position 0 is emptied when it
// holds the number of position 1.
int weightBeforeZeroRule(const CandidatePool& p, int k) {
    const auto e = p.entries();
    const bool dropped = e.size() > 1 && e[0] == 0 && e[1] == k;
    return p.count(k) + (dropped ? 1 : 0);
}

struct PoolCase {
    const char* name;
    std::function<void(Model&)> options;
    Weights weight;
};

Weights bands(std::vector<std::pair<int, int>> upTo) { // {{last number, weight}, ...}
    return [upTo](int k) {
        for (auto [last, w] : upTo)
            if (k <= last) return w;
        return 1;
    };
}

} // namespace

TEST_F(PoolFixture, WeightsOfTheFavouringOptions) {
    const PoolCase cases[] = {
        {"nothing favoured", [](Model&) {}, bands({{70, 1}})},
        {"frequent numbers", [](Model& m) { m.on(Opt::PreferFrequent) = true; }, bands({{10, 3}, {20, 4}})},
        {"rare numbers", [](Model& m) { m.on(Opt::PreferRare) = true; }, bands({{20, 1}, {30, 3}, {70, 4}})},
        {"rare numbers read the frequent block's series",
         [](Model& m) { m.on(Opt::PreferFrequent) = m.on(Opt::PreferRare) = true; },
         bands({{10, 3}, {20, 4}, {30, 3}, {70, 4}})},
        {"narrow band",
         [](Model& m) {
             m.on(Opt::PreferFrequent) = true;
             m.num(Num::FrequentBand).set(5);
         }, // 3 - 0.15 -> 3
         bands({{10, 1}, {20, 4}})},
        {"overdue numbers", [](Model& m) { m.on(Opt::PreferOverdue) = true; }, bands({{30, 1}, {70, 4}})},
        {"frequent pairs", [](Model& m) { m.on(Opt::PreferPairs) = true; },
         bands({{10, 1}, {11, 2}, {19, 3}, {20, 2}})},
        {"rarest pairs", [](Model& m) { m.on(Opt::RarestPairs) = true; }, bands({{19, 1}, {20, 2}, {29, 3}, {30, 2}})},
        {"frequent and rarest pairs", [](Model& m) { m.on(Opt::PreferPairs) = m.on(Opt::RarestPairs) = true; },
         bands({{10, 1}, {11, 2}, {20, 3}, {29, 3}, {30, 2}})},
        {"frequent triples", [](Model& m) { m.on(Opt::PreferTriples) = true; },
         bands({{10, 1}, {11, 2}, {12, 3}, {18, 4}, {19, 3}, {20, 2}})},
        {"rarest triples", [](Model& m) { m.on(Opt::RarestTriples) = true; },
         bands({{18, 1}, {19, 2}, {20, 3}, {28, 4}, {29, 3}, {30, 2}})},
        {"frequent quadruples", [](Model& m) { m.on(Opt::PreferQuads) = true; },
         bands({{10, 1}, {11, 2}, {12, 3}, {13, 4}, {17, 5}, {18, 4}, {19, 3}, {20, 2}})},
        {"rarest quadruples", [](Model& m) { m.on(Opt::RarestQuads) = true; },
         bands({{17, 1}, {18, 2}, {19, 3}, {20, 4}, {27, 5}, {28, 4}, {29, 3}, {30, 2}})},
        {"neighbours of the last draw", [](Model& m) { m.on(Opt::PreferNeighbours) = true; },
         bands({{9, 1}, {11, 5}, {29, 9}, {31, 5}})},
        {"last draw",
         [](Model& m) {
             m.on(Opt::RecentDrawNumbers) = true;
             m.recentDrawsItem = 0;
         },
         bands({{10, 1}, {30, 2}})},
        {"last two draws",
         [](Model& m) {
             m.on(Opt::RecentDrawNumbers) = true;
             m.recentDrawsItem = 1;
         },
         bands({{10, 2}, {20, 3}, {30, 2}})},
        {"last three draws",
         [](Model& m) {
             m.on(Opt::RecentDrawNumbers) = true;
             m.recentDrawsItem = 2;
         },
         bands({{10, 3}, {20, 4}, {30, 2}})},
        {"no item chosen",
         [](Model& m) {
             m.on(Opt::RecentDrawNumbers) = true;
             m.recentDrawsItem = -1;
         },
         bands({{70, 1}})},
        {"maximum 0 for the last draw clears its numbers wherever they came from",
         [](Model& m) {
             m.on(Opt::LastDrawHits) = m.on(Opt::PreferNeighbours) = true;
             m.num(Num::LastDrawMax).set(0);
         },
         bands({{9, 1}, {10, 5}, {30, 0}, {31, 5}})},
        {"... but only with its switch", [](Model& m) { m.num(Num::LastDrawMax).set(0); }, bands({{70, 1}})},
        {"maximum 0 for the second-last draw",
         [](Model& m) {
             m.on(Opt::SecondDrawHits) = true;
             m.num(Num::SecondDrawMax).set(0);
         },
         bands({{20, 0}})},
        {"maximum 0 for the third-last draw",
         [](Model& m) {
             m.on(Opt::ThirdDrawHits) = true;
             m.num(Num::ThirdDrawMax).set(0);
         },
         bands({{20, 0}})},
        {"only favoured numbers", [](Model& m) { m.on(Opt::OnlyFavoured) = m.on(Opt::PreferFrequent) = true; },
         bands({{10, 2}, {20, 3}, {70, 0}})},
        {"design options: overdue and rare numbers and the base",
         [](Model& m) {
             m.resetToDesign();
             m.num(Num::TotalTips).set(1);
             m.totalTipsText = "1";
         },
         bands({{20, 1}, {30, 3}, {70, 7}})},
    };
    for (const PoolCase& c : cases) {
        SCOPED_TRACE(c.name);
        neutralOptions(m);
        m.num(Num::LastDrawMax).set(3);
        m.num(Num::SecondDrawMax).set(3);
        m.num(Num::ThirdDrawMax).set(3);
        m.num(Num::FrequentBand).set(30);
        m.recentDrawsItem = 2;
        c.options(m);
        generate(1);
        int total = 0;
        for (int k = 1; k <= 70; ++k) {
            EXPECT_EQ(weightBeforeZeroRule(gen.pool(), k), c.weight(k)) << "Zahl " << k;
            total += weightBeforeZeroRule(gen.pool(), k);
        }
        EXPECT_EQ(total, gen.pool().last + 1); // no other empty position is left
    }
}

TEST_F(PoolFixture, PlainPoolOrderAndEmptyPool) {
    generate(1);
    auto e = gen.pool().entries();
    ASSERT_EQ(e.size(), 70u);
    EXPECT_EQ(e[0], 70);
    EXPECT_EQ(e[69], 69);

    m.on(Opt::OnlyFavoured) = true; // only favoured numbers, and none is favoured
    m.on(Opt::ClearBeforeRun) = false;
    m.tipLines = {"01,02,03,04,05,06,07,08,09,10"};
    m.num(Num::TotalTips).set(2);
    m.totalTipsText = "2";
    generate(1);
    EXPECT_EQ(gen.pool().last, -1);
    EXPECT_EQ(m.status[1], "Der Zahlenpool enthält nur 0 verschiedene Zahlen, für einen Tipp werden 10 gebraucht. "
                           "Ändern Sie die Optionen!");
    EXPECT_EQ(m.tipLines.size(), 1u);
    EXPECT_EQ(m.hits.size(), 1u); // the end step ran: hit check
    EXPECT_EQ(m.runCaption, kCaptionStart);
    EXPECT_TRUE(m.hitCheckOn);
}

// Each favouring block of the pool alone: its status text, then the bounds of its band(s) with the
// write position ("Min: lo  Max: hi  w"). Over twenty draws of 1..20 and then one of 11..30, a pair,
// triple or quadruple count and a number's count run from 0 to 21 and a waiting count from 1 to 22, so
// 30 % of the range is 6.3 and 15 % is 3.15.
TEST_F(PoolFixture, StatusAndBandOfEveryBlock) {
    std::vector<DrawRecord> draws;
    for (int d = 1; d <= 20; ++d) draws.push_back(keno(2021, 1, d, range(1, 20)));
    draws.push_back(keno(2021, 1, 21, range(11, 30)));
    useDraws(draws);
    chooseDay(2021, 1, 21);
    struct Case {
        const char* block;
        std::function<void(Model&)> options;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {"frequent pairs",
         [](Model& m) { m.on(Opt::PreferPairs) = true; },
         {"Berechnung der Paarbildung", "Min: 15  Max: 21  0", "Beginn der Tippberechnung"}},
        {"rarest pairs",
         [](Model& m) { m.on(Opt::RarestPairs) = true; },
         {"Berechnung der Paarbildung", "Min: 0  Max: 6  0", "Beginn der Tippberechnung"}},
        {"frequent triples",
         [](Model& m) { m.on(Opt::PreferTriples) = true; },
         {"Berechnung der Dreiergruppenbildung", "Min: 15  Max: 21  0", "Beginn der Tippberechnung"}},
        {"rarest triples",
         [](Model& m) { m.on(Opt::RarestTriples) = true; },
         {"Berechnung der Dreiergruppenbildung", "Min: 0  Max: 6  0", "Beginn der Tippberechnung"}},
        {"frequent quadruples",
         [](Model& m) { m.on(Opt::PreferQuads) = true; },
         {"Berechnung der Vierergruppenbildung", "Min: 15  Max: 21  0", "Beginn der Tippberechnung"}},
        {"rarest quadruples",
         [](Model& m) { m.on(Opt::RarestQuads) = true; },
         {"Berechnung der Vierergruppenbildung", "Min: 0 Max: 6  0", "Beginn der Tippberechnung"}},
        {"frequent numbers",
         [](Model& m) { m.on(Opt::PreferFrequent) = true; },
         {"Berechnung der Zahlenverteilung", "Min: 15  Max: 21  0", "Min: 18  Max: 21  40",
          "Beginn der Tippberechnung"}},
        {"rare numbers",
         [](Model& m) { m.on(Opt::PreferRare) = true; },
         {"Berechnung der Zahlenverteilung", "Min: 0  Max: 6  0", "Min: 0  Max: 3  100", "Beginn der Tippberechnung"}},
        {"overdue numbers",
         [](Model& m) { m.on(Opt::PreferOverdue) = true; },
         {"Berechnung der der Ausstehenden Zahlen", "Min: 16 Max: 22  0", "Min: 19  Max: 22  80",
          "Beginn der Tippberechnung"}},
        // a rarest block reads the series its frequent block left
        {"both quadruple blocks",
         [](Model& m) { m.on(Opt::PreferQuads) = m.on(Opt::RarestQuads) = true; },
         {"Berechnung der Vierergruppenbildung", "Min: 15  Max: 21  0", "Min: 0 Max: 6  68"}},
        {"rarest pairs and the neighbours",
         [](Model& m) { m.on(Opt::RarestPairs) = m.on(Opt::PreferNeighbours) = true; },
         {"Berechnung der Paarbildung", "Min: 0  Max: 6  0", "Berechnung der benachbarten Zahlen der letzten Ziehung"}},
    };
    for (const Case& c : cases) {
        neutralOptions(m);
        c.options(m);
        statusLog.clear();
        generate(1);
        std::vector<std::string> log(statusLog.begin(), statusLog.begin() + std::min(statusLog.size(), c.texts.size()));
        EXPECT_EQ(log, c.texts) << c.block;
    }
}

TEST_F(PoolFixture, EqualStatisticsAndAnEmptyHistory) {
    // No draw at all: every count is 0, so a frequent-pair band is empty, a frequent-number band
    // holds every number; the last draws are empty and exclude nothing.
    useDraws({});
    m.on(Opt::PreferPairs) = m.on(Opt::PreferFrequent) = m.on(Opt::LastDrawHits) = m.on(Opt::PreferNeighbours) = true;
    m.num(Num::LastDrawMax).set(0);
    generate(3);
    for (int k = 1; k <= 70; ++k) EXPECT_EQ(weightBeforeZeroRule(gen.pool(), k), 4) << k;
    EXPECT_EQ(m.tipLines.size(), 1u);
    EXPECT_EQ(m.status[1], "Tipps wurden neu berechnet");
}

TEST_F(PoolFixture, OneDateInAllYears) {
    // 18 June of 2005..2009 and 29 February 2008; the statistics start after 18 June 2005, the
    // chosen date's year 2009 is the last; 2009's draw is missing, so the next one counts.
    useDraws({keno(2005, 6, 18, range(1, 20)), keno(2006, 6, 18, range(21, 40)), keno(2007, 2, 28, range(41, 60)),
              keno(2007, 3, 1, range(41, 60)), keno(2007, 6, 18, range(41, 60)), keno(2008, 2, 29, range(51, 70)),
              keno(2008, 6, 18, range(51, 70)), keno(2009, 6, 19, range(2, 21)), keno(2009, 7, 1, range(31, 50))});
    chooseDay(2009, 7, 1);
    m.on(Opt::DateInAllYears) = true;
    m.on(Opt::OnlyFavoured) = true; // only the date's entries
    m.on(Opt::LastDrawHits) = true;
    m.num(Num::LastDrawMax).set(0); // does not clear entries of the date option
    m.num(Num::KenoType).set(2);
    m.statsStart = dateValue(2005, 6, 19);
    m.yearlyDate = dateValue(2009, 6, 18) + 0.7;
    generate(1);
    const Weights expected = [](int k) {
        int w = 0;
        w += k >= 21 && k <= 40; // 2006
        w += k >= 41 && k <= 60; // 2007
        w += k >= 51 && k <= 70; // 2008
        w += k >= 2 && k <= 21;  // 2009: the draw of 19 June
        return w;
    };
    for (int k = 1; k <= 70; ++k) EXPECT_EQ(weightBeforeZeroRule(gen.pool(), k), expected(k)) << k;
    EXPECT_DOUBLE_EQ(m.browseDate, dateValue(2009, 7, 1));
    EXPECT_EQ(m.drawTextMain.substr(0, 11), "Mi 01.07.09"); // the chosen draw is shown again

    // 29 February exists in 2008 only; a day after the last draw has no draw yet.
    m.statsStart = dateValue(2005, 1, 1);
    m.yearlyDate = dateValue(2012, 2, 29);
    generate(1);
    for (int k = 1; k <= 70; ++k) EXPECT_EQ(weightBeforeZeroRule(gen.pool(), k), k >= 51 ? 1 : 0) << k;
}

TEST_F(PoolFixture, PoolDialog) {
    m.on(Opt::EditPool) = true;
    m.on(Opt::PreferFrequent) = true;
    m.num(Num::KenoType).set(2);
    // Another caller left the dialog with the random choice and the draw entry showing.
    m.numberChoice.randomVisible = true;
    m.numberChoice.entryVisible = true;
    m.numberChoice.caption = "Tipp bearbeiten";

    std::vector<std::string> hintsShown;
    prompter.onNumberDialog = [&](NumberChoice& f) {
        hintsShown.assign(f.hint.begin() + 1, f.hint.end());
        EXPECT_TRUE(f.computeVisible);
        EXPECT_FALSE(f.randomVisible);
        EXPECT_FALSE(f.entryVisible);
        EXPECT_EQ(f.caption, "Welche Zahlen für die Berechnung");
        EXPECT_EQ(m.pageRequest, "Keno-Tipp");
        f.untickAll(BoxColour::Normal); // OK ignores what was changed
        return ModalResult::Ok;
    };
    generate(1);
    ASSERT_EQ(hintsShown.size(), 70u);
    for (int k = 1; k <= 70; ++k) EXPECT_EQ(hintsShown[static_cast<size_t>(k - 1)], std::to_string(weight(k))) << k;
    EXPECT_EQ(weight(15), 4);
    EXPECT_EQ(m.tipLines.size(), 1u);

    // "&Rechnen": the pool is rebuilt from the dialog.
    prompter.onNumberDialog = [](NumberChoice& f) {
        f.untickAll(BoxColour::Normal);
        f.ticked[3] = true;
        f.hint[3] = "2";
        f.ticked[9] = true;
        f.hint[9] = "0";
        return ModalResult::Retry;
    };
    generate(1);
    EXPECT_EQ(gen.pool().entries(), (std::vector<uint8_t>{0, 3, 3, 9}));
    ASSERT_EQ(m.tipLines.size(), 1u);
    EXPECT_EQ(m.tipLines[0], "03,09");

    // Abbrechen: the run ends at once. "Löschen vor Berechnung" is ticked, but a run that never
    // started leaves the list as it was.
    ASSERT_TRUE(m.on(Opt::ClearBeforeRun));
    const std::vector<std::string> before = m.tipLines;
    prompter.onNumberDialog = [](NumberChoice&) { return ModalResult::Abort; };
    statusLog.clear();
    generate(1);
    EXPECT_EQ(m.tipLines, before);
    EXPECT_EQ(m.runCaption, kCaptionStart);
    EXPECT_TRUE(m.hitCheckOn);
    EXPECT_EQ(std::count(statusLog.begin(), statusLog.end(), "Beginn der Tippberechnung"), 0);

    // A weight that is no number: a message, and the run ends.
    prompter.onNumberDialog = [](NumberChoice& f) {
        f.hint[5] = "viel";
        f.ticked[5] = true;
        return ModalResult::Retry;
    };
    generate(1);
    ASSERT_FALSE(prompter.messages.empty());
    EXPECT_EQ(prompter.messages.back(),
              "Die Gewichtung \"viel\" der Zahl 5 ist keine ganze Zahl. Die Tippberechnung wird abgebrochen.");
    EXPECT_EQ(m.tipLines, before);
    EXPECT_EQ(m.runCaption, kCaptionStart);

    // Edited down to fewer numbers than a tip has, or to nothing: the run ends before the first attempt.
    for (int kept : {1, 0}) {
        prompter.onNumberDialog = [kept](NumberChoice& f) {
            f.untickAll(BoxColour::Normal);
            f.ticked[7] = kept > 0;
            f.hint[7] = "50";
            return ModalResult::Retry;
        };
        generate(1);
        EXPECT_EQ(m.tipLines, before);
        EXPECT_EQ(m.status[1], "Der Zahlenpool enthält nur " + std::to_string(kept) +
                                   " verschiedene Zahlen, für einen Tipp werden 2 gebraucht. Ändern Sie die Optionen!");
        EXPECT_EQ(gen.attemptsOfLastRun(), 0u);
        EXPECT_EQ(m.runCaption, kCaptionStart);
    }
}

TEST_F(PoolFixture, EveryOptionTogetherOnTheRealHistory) {
    useBundledHistory();
    chooseDay(2025, 12, 29);
    for (int n : {1, 2, 6, 7, 10, 11, 12, 13, 14, 19, 30, 31}) m.checkBoxes[static_cast<size_t>(n)] = true;
    for (int n : {12, 13, 14}) m.upDowns[static_cast<size_t>(n)].set(75);
    m.yearlyDate = dateValue(2025, 6, 18);
    generate(1);
    int total = 0;
    for (int k = 1; k <= 70; ++k) total += weightBeforeZeroRule(gen.pool(), k);
    EXPECT_EQ(total, gen.pool().last + 1);
    EXPECT_GT(total, 1000);
    EXPECT_EQ(m.tipLines.size(), 1u);
}

TEST_F(PoolFixture, APoolBeyondItsDesignSizeKeepsEveryEntry) {
    m.on(Opt::EditPool) = true;
    m.num(Num::KenoType).set(2);
    m.setTotalTips(4);
    prompter.onNumberDialog = [](NumberChoice& f) {
        for (int k = 1; k <= 70; ++k) f.hint[static_cast<size_t>(k)] = k == 70 ? "1400" : "1";
        return ModalResult::Retry;
    };
    generate(5);
    EXPECT_EQ(gen.pool().last, 69 + 1400);
    EXPECT_EQ(weight(70), 1400); // the entries after position 1400 are drawn from like any other
    ASSERT_EQ(m.tipLines.size(), 4u);
    for (const auto& line : m.tipLines) EXPECT_EQ(line.substr(3), "70") << line;
}
