// "Tipps erzeugen": the combination file and the table of a small pool, the count, the status texts,
// the refusals before anything is written, a stop while the combinations are written, the batch command.
#include <filesystem>
#include <functional>

#include "GeneratorFixture.h"
#include "app/generator/Enumeration.h"
#include "base/Text.h"
#include "core/generator/NumberChoice.h"

using namespace zf;
using namespace zf::gentest;

namespace {

struct Enumerate : GenFixture {
    Enumeration& enumeration = session.enumeration;
    std::vector<std::string> panel0; // every text status bar panel 0 was given

    void SetUp() override {
        GenFixture::SetUp();
        std::vector<DrawRecord> draws;
        for (int d = 1; d <= 10; ++d) draws.push_back(test::draw(2021, 2, d, 21 + d));
        useDraws(draws);
        chooseDay(2021, 2, 10);
        neutralOptions(m);
        auto log = m.listener;
        m.listener = [this, log](unsigned what) {
            log(what);
            if ((what & ChangeStatus) && (panel0.empty() || panel0.back() != m.status[0]))
                panel0.push_back(m.status[0]);
        };
    }
    // The numbers 1..count ticked in the number dialog, left with "&Rechnen".
    void pool(int count) {
        m.on(Opt::EditPool) = true;
        prompter.onNumberDialog = [count](NumberChoice& f) {
            f.untickAll(BoxColour::Normal);
            for (int k = 1; k <= count; ++k) {
                f.ticked[static_cast<size_t>(k)] = true;
                f.hint[static_cast<size_t>(k)] = "1";
            }
            return ModalResult::Retry;
        };
    }
    std::vector<std::string> variationFiles() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.path()))
            if (e.path().filename().string().rfind("Variation", 0) == 0) names.push_back(e.path().filename().string());
        return names;
    }
    bool has(const std::vector<std::string>& log, const std::string& text) const {
        return std::find(log.begin(), log.end(), text) != log.end();
    }
};

} // namespace

// 3 of 5 with triples refused: every combination in lexicographic order, CR LF; the table holds one row
// per first number and one cell per second number, the passing combinations in bold. The last
// combination, tested in the last attempt, gets its cell when the run ends.
TEST_F(Enumerate, FilesOfASmallPool) {
    pool(5);
    m.num(Num::KenoType).set(3);
    m.on(Opt::NoTriples) = true;
    m.on(Opt::ClearBeforeRun) = false;
    m.tipLines = {"07,08,09"};
    gen.toggleEnumeration();

    EXPECT_EQ(test::contents(dir.file("Variation_3_aus_5.txt")),
              "1,2,3\r\n1,2,4\r\n1,2,5\r\n1,3,4\r\n1,3,5\r\n1,4,5\r\n2,3,4\r\n2,3,5\r\n2,4,5\r\n3,4,5\r\n");
    const std::string table[] = {"<table>",
                                 "<tr>",
                                 "<td>",
                                 "1,2,3,</b><br>",
                                 "<b>1,2,4,</b><br>",
                                 "<b>1,2,5,</b><br>",
                                 "</td>",
                                 "<td>",
                                 "<b>1,3,4,</b><br>",
                                 "<b>1,3,5,</b><br>",
                                 "</td>",
                                 "<td>",
                                 "<b>1,4,5,</b><br>",
                                 "</td>",
                                 "</tr>",
                                 "<tr>",
                                 "<td></td><td>",
                                 "2,3,4,</b><br>",
                                 "<b>2,3,5,</b><br>",
                                 "</td>",
                                 "<td>",
                                 "<b>2,4,5,</b><br>",
                                 "</td>",
                                 "</tr>",
                                 "<tr>",
                                 "<td></td><td></td><td>",
                                 "3,4,5,</b><br>",
                                 "</tr>",
                                 "</table>"};
    std::string expected;
    for (const auto& line : table) expected += line + "\r\n";
    EXPECT_EQ(test::contents(dir.file("Variation_3_aus_5.htm")), expected);

    // K = 10 < 100000: the passing combinations stay out of the list.
    EXPECT_EQ(m.tipLines, std::vector<std::string>{"07,08,09"});
    EXPECT_EQ(m.attemptLimit, 10);
    EXPECT_EQ(gen.attemptsOfLastRun(), 10u);
    EXPECT_EQ(m.num(Num::TotalTips).max, 10);
    EXPECT_EQ(m.num(Num::TotalTips).pos, 10);
    EXPECT_EQ(m.totalTipsText, "10");
    EXPECT_TRUE(has(statusLog, "Variation: 3 aus 5"));
    EXPECT_TRUE(has(panel0, "Variation: 10"));
    EXPECT_EQ(m.status[1], "Ändern Sie die Parameter um 10 Tipps zuberechnen => 1 berechnet!");
    EXPECT_EQ(variationFiles().size(), 2u); // no temporary or lock file left
    EXPECT_TRUE(prompter.messages.empty());
}

// The count and the first and last lines for other pools; n > M writes an empty file and checks nothing.
TEST_F(Enumerate, CountAndNames) {
    struct Case {
        int ticked, n, K;
        const char *name, *first, *last;
    };
    const Case cases[] = {
        {8, 6, 28, "Variation_6_aus_8", "1,2,3,4,5,6", "3,4,5,6,7,8"},
        {20, 10, 184756, "Variation_10_aus_20", "1,2,3,4,5,6,7,8,9,10", "11,12,13,14,15,16,17,18,19,20"},
        {3, 4, 0, "Variation_4_aus_3", nullptr, nullptr},
    };
    m.on(Opt::ClearBeforeRun) = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        pool(c.ticked);
        m.num(Num::KenoType).set(c.n);
        gen.toggleEnumeration();
        const auto lines = splitLines(test::contents(dir.file(std::string(c.name) + ".txt")));
        ASSERT_EQ(static_cast<int>(lines.size()), c.K);
        if (c.K > 0) {
            EXPECT_EQ(lines.front(), c.first);
            EXPECT_EQ(lines.back(), c.last);
        }
        EXPECT_EQ(m.attemptLimit, c.K);
        EXPECT_EQ(static_cast<int>(gen.attemptsOfLastRun()), c.K);
        EXPECT_TRUE(has(panel0, "Variation: " + std::to_string(c.K)));
        EXPECT_TRUE(std::filesystem::exists(dir.file(std::string(c.name) + ".htm")));
        // From 100000 combinations on, each passing one goes into the list, the last one too.
        EXPECT_EQ(static_cast<int>(m.tipLines.size()), c.K >= 100000 ? c.K : 0);
        if (c.K >= 100000) {
            EXPECT_EQ(m.tipLines.back(), "11,12,13,14,15,16,17,18,19,20");
        }
        if (c.K > 0) {
            EXPECT_EQ(m.status[1], "Tipps wurden neu berechnet"); // the last combination passed
        }
    }
}

// The combination of the last attempt counts like every other one: its cell in bold when it passed,
// the last status text by its outcome, and into the list from 100000 combinations on.
TEST_F(Enumerate, TheLastCombinationCounts) {
    struct Case {
        const char* name;
        bool noTriples;
        const char* lastCell;
        const char* status;
    };
    const Case cases[] = {
        {"the last one passes", false, "<b>3,4,5,</b><br>", "Tipps wurden neu berechnet"},
        {"the last one fails", true, "3,4,5,</b><br>",
         "Ändern Sie die Parameter um 10 Tipps zuberechnen => 0 berechnet!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pool(5);
        m.num(Num::KenoType).set(3);
        m.on(Opt::NoTriples) = c.noTriples;
        m.on(Opt::ClearBeforeRun) = true;
        gen.toggleEnumeration();
        const auto lines = splitLines(test::contents(dir.file("Variation_3_aus_5.htm")));
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[lines.size() - 3], c.lastCell);
        EXPECT_EQ(lines[lines.size() - 2], "</tr>");
        size_t cells = 0;
        for (const auto& line : lines) cells += line.find("<br>") != std::string::npos;
        EXPECT_EQ(cells, 10u);
        EXPECT_EQ(m.status[1], c.status);
        EXPECT_TRUE(m.tipLines.empty()); // 10 combinations: none goes into the list
    }
}

// Too many combinations for a signed 32-bit count, or for the free space: a message, nothing written,
// the run ends without an attempt.
TEST_F(Enumerate, RefusedBeforeAnythingIsWritten) {
    struct Case {
        int ticked, n;
        uintmax_t free;
        const char* message;
    };
    const Case cases[] = {
        {69, 10, uintmax_t{1} << 50,
         "Aus den 69 Zahlen des Zahlenpools lassen sich mehr als 2147483647 Tipps mit 10 Zahlen bilden. Wählen Sie "
         "weniger Zahlen für "
         "die Berechnung!"},
        {20, 6, 1 << 20,
         "Für die 38760 Tipps von Variation_6_aus_20 werden etwa 3 MB gebraucht, auf dem Datenträger sind nur 1 MB "
         "frei."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        prompter.messages.clear();
        enumeration.freeSpace = [&c](const std::string&) { return std::optional<uintmax_t>(c.free); };
        pool(c.ticked);
        m.num(Num::KenoType).set(c.n);
        gen.toggleEnumeration();
        EXPECT_EQ(prompter.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(m.status[1],
                  "Variation: " + std::to_string(c.n) + " aus " + std::to_string(c.ticked) + " nicht erzeugt");
        EXPECT_TRUE(variationFiles().empty());
        EXPECT_EQ(gen.attemptsOfLastRun(), 0u);
        EXPECT_EQ(m.runCaption, kCaptionStart);
    }
}

// "Löschen vor Berechnung" empties the list only when the check of the combinations begins: a run
// refused, failed or stopped before that leaves the list and its hits as they were.
TEST_F(Enumerate, ListStaysUntilTheCheckBegins) {
    const std::vector<std::string> tips = {"01,02,03", "04,05,06", "07,08,09", "10,11,12", "13,14,15"};
    struct Case {
        const char* name;
        int ticked;
        std::function<void()> arrange;
        bool starts;
    };
    const Case cases[] = {
        {"too many combinations", 69, [] {}, false},
        {"too little space", 20,
         [this] { enumeration.freeSpace = [](const std::string&) { return std::optional<uintmax_t>(1); }; }, false},
        {"file cannot be written", 5, [this] { std::filesystem::create_directory(dir.file("Variation_3_aus_5.txt")); },
         false},
        {"stopped while writing", 20,
         [this] {
             enumeration.slice = std::chrono::microseconds(0);
             enumeration.eventPump = [this, pumps = 0]() mutable {
                 if (++pumps == 2) gen.toggleEnumeration(); // a click once the writing is under way
             };
         },
         false},
        {"the check begins", 5, [] {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& name : variationFiles()) std::filesystem::remove_all(dir.file(name));
        enumeration.freeSpace = nullptr;
        enumeration.eventPump = nullptr;
        pool(c.ticked);
        m.num(Num::KenoType).set(c.ticked == 69 ? 10 : 3);
        m.on(Opt::ClearBeforeRun) = true;
        m.tipLines = tips;
        browser.seekDate(); // shows the chosen draw and checks the tips against it
        const auto hits = m.hits;
        ASSERT_EQ(hits.size(), tips.size());
        c.arrange();
        gen.toggleEnumeration();
        EXPECT_EQ(m.runCaption, kCaptionStart);
        if (c.starts) {
            EXPECT_TRUE(m.tipLines.empty()); // few combinations: none goes into the emptied list
        } else {
            EXPECT_EQ(m.tipLines, tips);
            EXPECT_EQ(m.hits, hits);
            EXPECT_EQ(gen.attemptsOfLastRun(), 0u);
        }
    }
}

// The window stays usable while the combinations are written: progress in the status bar, and a stop
// request ends the writing and leaves neither file.
TEST_F(Enumerate, StopWhileWritingLeavesNoFile) {
    pool(20);
    m.num(Num::KenoType).set(5); // 15504 combinations
    m.on(Opt::ClearBeforeRun) = false;
    enumeration.slice = std::chrono::microseconds(0);
    int pumps = 0;
    enumeration.eventPump = [&] {
        if (++pumps == 2) gen.toggleEnumeration(); // the second click: the stop request
    };
    gen.toggleEnumeration();
    EXPECT_EQ(pumps, 2);
    EXPECT_TRUE(has(panel0, "Variation: 1024 von 15504"));
    EXPECT_EQ(m.status[1], "Variation: 5 aus 20 abgebrochen, keine Datei geschrieben");
    EXPECT_TRUE(variationFiles().empty());
    EXPECT_EQ(gen.attemptsOfLastRun(), 0u);
    EXPECT_TRUE(m.tipLines.empty());
    EXPECT_EQ(m.runCaption, kCaptionStart);
}

// A stop once the check has begun ends the run as in "Tipps berechnen": the combination file is complete,
// the table holds the cells of the combinations checked so far and says below it that the check stopped.
TEST_F(Enumerate, StopWhileChecking) {
    pool(8);
    m.num(Num::KenoType).set(3); // 56 combinations
    gen.slice = std::chrono::microseconds(0);
    gen.eventPump = [this] {
        if (m.runState == GeneratorRun::Running) gen.toggleEnumeration();
    };
    gen.toggleEnumeration();
    EXPECT_EQ(splitLines(test::contents(dir.file("Variation_3_aus_8.txt"))).size(), 56u);
    const auto table = test::contents(dir.file("Variation_3_aus_8.htm"));
    const auto attempts = static_cast<size_t>(gen.attemptsOfLastRun());
    EXPECT_LT(attempts, 56u);
    size_t cells = 0;
    for (size_t at = 0; (at = table.find("<br>", at)) != std::string::npos; ++at) ++cells;
    EXPECT_EQ(cells, attempts); // the last combination checked included
    const std::string end = "</tr>\r\n</table>\r\n<p>Abgebrochen: " + std::to_string(attempts) +
                            " von 56 Kombinationen gepr&uuml;ft</p>\r\n";
    ASSERT_GE(table.size(), end.size());
    EXPECT_EQ(table.substr(table.size() - end.size()), end);
    EXPECT_EQ(variationFiles().size(), 2u);
}

// A combination file that cannot take the place of what stands there: the message, and the run goes on
// without an attempt.
TEST_F(Enumerate, FileThatCannotBeWritten) {
    pool(5);
    m.num(Num::KenoType).set(3);
    std::filesystem::create_directory(dir.file("Variation_3_aus_5.txt"));
    gen.toggleEnumeration();
    EXPECT_EQ(prompter.messages, std::vector<std::string>{"Fehler beim erzeugen der Datei: Variation_3_aus_5.txt"});
    EXPECT_EQ(gen.attemptsOfLastRun(), 0u);
    EXPECT_EQ(m.status[1], "Variation: 3 aus 5 nicht erzeugt");
    EXPECT_EQ(variationFiles(), std::vector<std::string>{"Variation_3_aus_5.txt"});
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("Variation_3_aus_5.txt")));
}

// zahlfuchs-cli generate --enumerate: the same files, LaufMax = K, the status texts.
TEST_F(Enumerate, BatchCommand) {
    std::vector<std::string> list(70, "");
    for (int k = 1; k <= 5; ++k) list[static_cast<size_t>(k - 1)] = "1";
    ASSERT_TRUE(writeTextLines(dir.file("pool.kwl"), list));
    const auto r = test::runCommand(std::string(ZF_CLI) + " --home " + dir.path() + " --settings " + dir.file("s.reg") +
                                    " --date 10.02.2021 --set UpDown18=3 --set Chekcbox20=1 generate --enumerate "
                                    "--pool-list " +
                                    dir.file("pool.kwl") + " 2>/dev/null");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(test::contents(dir.file("Variation_3_aus_5.txt")).substr(0, 14), "1,2,3\r\n1,2,4\r\n");
    EXPECT_NE(r.out.find("laufmax;10\nstatus0;"), std::string::npos) << r.out;
    EXPECT_TRUE(std::filesystem::exists(dir.file("Variation_3_aus_5.htm")));
}
