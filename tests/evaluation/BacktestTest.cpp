#include <gtest/gtest.h>

#include <sys/stat.h>

#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "app/AppController.h"
#include "app/Model.h"
#include "app/Session.h"
#include "app/evaluation/Backtest.h"
#include "base/FileWriter.h"
#include "base/GermanFormat.h"
#include "base/Text.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

// Six draws of consecutive numbers starting at 1, 11, 6, 1, 21 and 16: two of them share
// 20 - |a - b| numbers, so every count below can be worked out by hand.
const double kDates[] = {dateValue(2020, 1, 6),  dateValue(2020, 1, 8),  dateValue(2020, 1, 10),
                         dateValue(2020, 1, 13), dateValue(2020, 1, 15), dateValue(2020, 1, 17)};

std::vector<std::string> longLines(const std::map<int, int>& hits, int passes) {
    std::vector<std::string> out{"Aktuelle Einstellung brachten "};
    for (int h = 0; h <= 20; ++h) {
        const auto it = hits.find(h);
        out.push_back((h < 10 ? "0" : "") + std::to_string(h) + "er         => \t" +
                      std::to_string(it == hits.end() ? 0 : it->second));
    }
    out.push_back("Bei " + std::to_string(passes) + " Ziehungen");
    return out;
}

std::vector<std::string> withPassSums(std::vector<std::string> lines, const char* lowDate, int low,
                                      const char* highDate, int high) {
    lines.push_back(std::string("Am ") + lowDate + " ab es " + std::to_string(low) + " Übereinstimmungen");
    lines.push_back(std::string("Am ") + highDate + " ab es " + std::to_string(high) + " Übereinstimmungen");
    return lines;
}

std::string fileText(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += utf8ToCp1252(l) + "\r\n";
    return out;
}

struct BacktestFixture : ::testing::Test, WithSession {
    BacktestFixture() : WithSession(dateValue(2020, 2, 1)) {}
    TempDir dir;
    Backtest& backtest = session.backtest;

    void SetUp() override {
        m.home = dir.path();
        m.hitCheckOn = true;
        m.num(Num::KenoType).pos = 6;
        const int firsts[] = {1, 11, 6, 1, 21, 16};
        std::vector<DrawRecord> records;
        for (size_t i = 0; i < 6; ++i) {
            DrawRecord r = draw(2020, 1, 1, firsts[i]);
            r.datum = kDates[i];
            records.push_back(r);
        }
        writeDraws(dir.file("Keno.dat"), records);
        m.browseDate = kDates[0];
        m.on(Opt::EditPool) = true;
    }
    std::string analysis() const { return dir.file("Analyse.txt"); }
};

} // namespace

TEST_F(BacktestFixture, RecurrenceTestsCountWhatComesBack) {
    struct Case {
        BacktestKind kind;
        double from;
        std::vector<std::string> report;
        const char* shownAtEnd; // the draw the stepping ended on
    };
    const Case cases[] = {
        {BacktestKind::NextDraw, kDates[0], longLines({{10, 1}, {15, 3}, {0, 1}}, 5), "17.01.2020"},
        {BacktestKind::SecondNextDraw, kDates[0], longLines({{15, 1}, {10, 1}, {5, 2}}, 4), "15.01.2020"},
        {BacktestKind::ThirdNextDraw, kDates[0], longLines({{20, 1}, {10, 2}}, 3), "13.01.2020"},
        {BacktestKind::NextThreeDraws, kDates[0],
         withPassSums(longLines({{10, 4}, {15, 3}, {20, 1}, {5, 1}}, 3), "13.01.2020", 30, "08.01.2020", 45),
         "13.01.2020"},
        // The first three draws have too few before them; the newest base notes its own date.
        {BacktestKind::LastThreeDraws, kDates[0],
         withPassSums(longLines({{15, 2}, {10, 3}, {20, 1}, {0, 1}, {5, 2}}, 3), "17.01.2020", 15, "15.01.2020", 45),
         "17.01.2020"},
        {BacktestKind::LastThreeDraws, kDates[5],
         withPassSums(longLines({{15, 1}, {5, 1}, {10, 1}}, 1), "17.01.2020", 30, "17.01.2020", 30), "17.01.2020"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(backtestName(c.kind)) + " from " + formatDate(c.from));
        m.browseDate = c.from;
        m.num(Num::KenoType).max = 10;
        m.num(Num::KenoType).set(6);
        m.tipLines = {"01,02,03,04,05,06", "21,22,23,24,25,26"};
        m.selectedTip = 1;
        shell.opened.clear();
        ASSERT_TRUE(backtest.run(c.kind));
        EXPECT_EQ(backtest.report(), c.report);
        EXPECT_EQ(contents(analysis()), fileText(c.report));
        EXPECT_EQ(shell.opened, std::vector<std::string>{analysis()});
        EXPECT_EQ(formatDate(m.drawDate), c.shownAtEnd);
        // The user's tips are back, checked against the draw shown now.
        EXPECT_EQ(m.tipLines, (std::vector<std::string>{"01,02,03,04,05,06", "21,22,23,24,25,26"}));
        EXPECT_EQ(m.selectedTip, 1);
        EXPECT_EQ(m.hits.size(), 2u);
        EXPECT_EQ(m.num(Num::KenoType).pos, 10);
        EXPECT_EQ(m.num(Num::KenoType).max, 10);
        EXPECT_TRUE(m.on(Opt::EditPool));
        EXPECT_FALSE(m.backtestRunning);
        EXPECT_EQ(m.status[1], "Bericht gespeichert in " + analysis());
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(BacktestFixture, AStoppedOrFailedTestWritesNoReport) {
    ASSERT_TRUE(writeFileAtomic(analysis(), "alter Bericht\r\n"));
    // Stopped at its first progress step.
    backtest.pumpEvery = std::chrono::milliseconds(0);
    backtest.eventPump = [this] { backtest.stop(); };
    EXPECT_FALSE(backtest.run(BacktestKind::NextDraw));
    EXPECT_EQ(m.status[1], "Test gestoppt: kein Bericht geschrieben, Analyse.txt bleibt unverändert");
    EXPECT_EQ(m.num(Num::KenoType).pos, 10);
    EXPECT_TRUE(m.on(Opt::EditPool));
    backtest.eventPump = nullptr;

    // A report that cannot be stored leaves the old one and says so.
    ASSERT_EQ(::chmod(analysis().c_str(), 0444), 0);
    EXPECT_FALSE(backtest.run(BacktestKind::NextDraw));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_NE(prompter.messages[0].find("konnte nicht gespeichert werden"), std::string::npos);
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_EQ(contents(analysis()), "alter Bericht\r\n");

    // An empty history: a message, nothing else.
    prompter.messages.clear();
    writeDraws(dir.file("Keno.dat"), {});
    EXPECT_FALSE(backtest.run(BacktestKind::LastThreeDraws));
    EXPECT_EQ(prompter.messages,
              std::vector<std::string>{"Keno.dat enthält keine Ziehungen: der Test hat nichts zu prüfen."});
    EXPECT_EQ(contents(analysis()), "alter Bericht\r\n");
}

// A test with no draw to test against writes no report: a message, the old report and the user's
// tips as they were; the generator tests make no tips for the newest draw.
TEST_F(BacktestFixture, NothingToTestWritesNoReport) {
    ASSERT_TRUE(writeFileAtomic(analysis(), "alter Bericht\r\n"));
    const std::string later = "gibt es nicht genug Ziehungen, an denen sich der Test prüfen lässt. Wählen Sie ein "
                              "früheres Datum. Es wurde kein Bericht geschrieben, Analyse.txt bleibt unverändert.";
    struct Case {
        BacktestKind kind;
        double from;
        size_t draws; // of the six
        std::string message;
    };
    const Case cases[] = {
        {BacktestKind::NextDraw, kDates[5], 6, "Nach der Ziehung vom 17.01.2020 " + later},
        {BacktestKind::SecondNextDraw, kDates[4], 6, "Nach der Ziehung vom 15.01.2020 " + later},
        {BacktestKind::ThirdNextDraw, kDates[3], 6, "Nach der Ziehung vom 13.01.2020 " + later},
        {BacktestKind::NextThreeDraws, kDates[5], 6, "Nach der Ziehung vom 17.01.2020 " + later},
        {BacktestKind::TipsUntilToday, kDates[5], 6, "Nach der Ziehung vom 17.01.2020 " + later},
        {BacktestKind::TipsPerDraw, kDates[5], 6, "Nach der Ziehung vom 17.01.2020 " + later},
        {BacktestKind::LastThreeDraws, kDates[0], 3,
         "Keno.dat enthält zu wenige Ziehungen für diesen Test: jede getestete Ziehung braucht drei Ziehungen vor "
         "ihr. Es wurde kein Bericht geschrieben, Analyse.txt bleibt unverändert."},
    };
    std::vector<DrawRecord> all = readDraws(dir.file("Keno.dat"));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(backtestName(c.kind)) + " from " + formatDate(c.from));
        writeDraws(dir.file("Keno.dat"), std::vector<DrawRecord>(all.begin(), all.begin() + c.draws));
        m.browseDate = c.from;
        m.tipLines = {"01,02,03,04,05,06"};
        prompter.messages.clear();
        const int dialogs = prompter.numberDialogs;
        EXPECT_FALSE(backtest.run(c.kind));
        EXPECT_EQ(prompter.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(contents(analysis()), "alter Bericht\r\n");
        EXPECT_TRUE(shell.opened.empty());
        EXPECT_EQ(m.tipLines, std::vector<std::string>{"01,02,03,04,05,06"});
        EXPECT_EQ(prompter.numberDialogs, dialogs);
        EXPECT_FALSE(m.backtestRunning);
    }
}

// The generator tests on the real history: the last eight draws of 2025.
struct GeneratorBacktest : ::testing::Test, WithSession {
    GeneratorBacktest() : WithSession(dateValue(2026, 1, 10) + 0.5) {}
    TempDir dir;
    Backtest& backtest = session.backtest;

    void SetUp() override {
        m.home = dir.path();
        m.hitCheckOn = true;
        std::string error;
        ASSERT_TRUE(writeBundledHistory(dir.file("Keno.dat"), &error)) << error;
        m.browseDate = dateValue(2025, 12, 22);
        m.statsStart = Model::statsStartMin;
        m.on(Opt::EditPool) = true;
        m.on(Opt::ClearBeforeRun) = true;
        // The seeding's status text is the last one the window sees before the test runs quietly.
        m.listener = [this](unsigned what) {
            if ((what & ChangeStatus) && m.status[1].rfind("GlücksZahl", 0) == 0 &&
                (seeded.empty() || seeded.back() != m.status[1]))
                seeded.push_back(m.status[1]);
        };
    }
    std::vector<std::string> seeded;
    int64_t sum(const std::vector<std::string>& lines, size_t from, size_t to) const {
        int64_t total = 0;
        for (size_t i = from; i < to; ++i) total += std::stoll(lines[i].substr(lines[i].rfind(' ') + 1));
        return total;
    }
};

TEST_F(GeneratorBacktest, ReportsAndTheLuckyNumber) {
    const int kenoType = m.num(Num::KenoType).pos;
    const int tips = m.totalTips();
    const std::vector<std::string> userTips = {"01,02,03,04,05,06,07,08,09,10"};
    m.tipLines = userTips;
    prompter.inputs = {"4711"};
    ASSERT_TRUE(backtest.run(BacktestKind::TipsUntilToday));
    const auto once = backtest.report();
    // Short form: Keno type + 1 hit lines, a line with one blank, the passes; then the tips tested.
    const size_t counts = static_cast<size_t>(kenoType) + 4;
    ASSERT_EQ(once.size(), counts + 1 + static_cast<size_t>(tips));
    // Pinned for the lucky number 4711 and the design options.
    EXPECT_EQ(std::vector<std::string>(once.begin(), once.begin() + static_cast<std::ptrdiff_t>(counts)),
              (std::vector<std::string>{"Aktuelle Einstellung brachten ", "0er\t => 1", "1er\t => 5", "2er\t => 11",
                                        "3er\t => 9", "4er\t => 7", "5er\t => 2", "6er\t => 0", "7er\t => 0",
                                        "8er\t => 0", "9er\t => 0", "10er\t => 0", " ", "Bei 7 Ziehungen"}));
    EXPECT_EQ(once[1].substr(0, 8), "0er\t => ");
    EXPECT_EQ(once[counts - 2], " ");
    EXPECT_EQ(once[counts - 1], "Bei 7 Ziehungen");
    EXPECT_EQ(sum(once, 1, counts - 2), 7 * tips); // every tip counted at every step
    EXPECT_EQ(once[counts], "Getestete Tipps:");
    for (size_t i = counts + 1; i < once.size(); ++i) EXPECT_EQ(once[i].size(), 29u) << once[i]; // ten numbers
    EXPECT_EQ(contents(dir.file("Analyse.txt")), [&] {
        std::string file;
        for (const auto& l : once) file += utf8ToCp1252(l) + "\r\n";
        return file;
    }());
    // The user's list is back.
    EXPECT_EQ(m.tipLines, userTips);
    EXPECT_EQ(seeded, std::vector<std::string>{"GlücksZahl 4711 gesetzt"});
    EXPECT_EQ(prompter.questions, std::vector<std::string>{"Geben Sie Ihre GlücksZahl für den Zufallsgenerator ein!"});
    EXPECT_TRUE(m.on(Opt::EditPool));
    EXPECT_EQ(prompter.numberDialogs, 0);

    // Long form: 21 lines even above the Keno type; the same lucky number gives the same report.
    std::vector<std::string> first;
    for (int round = 0; round < 2; ++round) {
        m.browseDate = dateValue(2025, 12, 22); // the last test left the browser on the newest draw
        prompter.inputs = {"4711"};
        ASSERT_TRUE(backtest.run(BacktestKind::TipsPerDraw));
        const auto& r = backtest.report();
        ASSERT_EQ(r.size(), 23u + 1 + static_cast<size_t>(tips));
        EXPECT_EQ(r[22], "Bei 7 Ziehungen");
        EXPECT_EQ(sum(r, 1, 22), 7 * tips);
        EXPECT_EQ(sum(r, static_cast<size_t>(kenoType) + 2, 22), 0);
        const std::map<int, int> pinned = {{1, 4}, {2, 8}, {3, 10}, {4, 7}, {5, 6}};
        EXPECT_EQ(std::vector<std::string>(r.begin(), r.begin() + 23), longLines(pinned, 7));
        // The tips made for the newest draw, for the draw to come, close the report.
        EXPECT_EQ(r[23], "Tipps für die Ziehung nach dem 29.12.2025:");
        if (round == 0)
            first = r;
        else
            EXPECT_EQ(r, first);
    }
    EXPECT_EQ(m.drawDate, dateValue(2025, 12, 29));
    EXPECT_EQ(m.tipLines, userTips);
    EXPECT_EQ(m.hits.size(), 1u);

    // Cancel runs the test with the proposal, just as typing it would.
    Random proposal;
    proposal.setState(m.random.state());
    const std::string proposed = std::to_string(proposal.below(99999));
    seeded.clear();
    m.browseDate = dateValue(2025, 12, 22);
    prompter.inputs = {std::nullopt};
    ASSERT_TRUE(backtest.run(BacktestKind::TipsUntilToday));
    EXPECT_EQ(seeded, std::vector<std::string>{"GlücksZahl " + proposed + " gesetzt"});
    const auto cancelled = backtest.report();
    m.browseDate = dateValue(2025, 12, 22);
    prompter.inputs = {proposed};
    ASSERT_TRUE(backtest.run(BacktestKind::TipsUntilToday));
    EXPECT_EQ(backtest.report(), cancelled);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(GeneratorBacktest, ALuckyNumberThatIsNoNumberEndsTheTest) {
    for (const char* typed : {"zwölf", "", "99999999999"}) {
        SCOPED_TRACE(typed);
        prompter.messages.clear();
        prompter.inputs = {std::string(typed)};
        EXPECT_FALSE(backtest.run(BacktestKind::TipsPerDraw));
        EXPECT_EQ(prompter.messages, std::vector<std::string>{"Fehler bei Eingabe der ZufallsZahl"});
        EXPECT_FALSE(fileExists(dir.file("Analyse.txt")));
        EXPECT_TRUE(m.on(Opt::EditPool));
        EXPECT_FALSE(m.backtestRunning);
    }
}

TEST_F(GeneratorBacktest, AStopDuringAGeneratorRunEndsTheWholeTest) {
    // The stop comes while the first generator run is under way.
    session.generator.slice = std::chrono::microseconds(0);
    session.generator.eventPump = [this] { backtest.stop(); };
    prompter.inputs = {"1"};
    EXPECT_FALSE(backtest.run(BacktestKind::TipsPerDraw));
    EXPECT_FALSE(fileExists(dir.file("Analyse.txt")));
    EXPECT_FALSE(session.generator.running());
    EXPECT_EQ(m.runCaption, "Tipps berechnen");
    EXPECT_EQ(m.status[1], "Test gestoppt: kein Bericht geschrieben, Analyse.txt bleibt unverändert");
}
