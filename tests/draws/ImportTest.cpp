// "Ziehungen importieren": a user's text file of draws merged into Keno.dat, every kind of bad line,
// files that are no list of draws, and a Keno.dat that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "app/AppController.h"
#include "base/Text.h"
#include "core/draws/DrawImport.h"
#include "draws/FileSizeLimit.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;
namespace fs = std::filesystem;

namespace {

constexpr size_t kBundled = 7666;

std::string numbers(int first, int count = 20) {
    std::string s;
    for (int i = 0; i < count; ++i) s += (i ? "," : "") + std::to_string((first + i - 1) % 70 + 1);
    return s;
}

struct Import : ::testing::Test, WithSession {
    Import() : WithSession(dateValue(2026, 12, 10)) {}
    TempDir dir;
    std::string keno() const { return dir.file("Keno.dat"); }

    void SetUp() override {
        m.home = dir.path();
        writeDraws(keno(), {draw(2025, 1, 6, 1), draw(2025, 1, 8, 11), draw(2025, 1, 10, 21)});
    }
    std::string file(const std::string& text, const std::string& name = "draws.csv") {
        std::ofstream(dir.file(name), std::ios::binary) << text;
        return dir.file(name);
    }
    ImportOutcome run(const std::string& text) { return session.importer.importFile(file(text)); }
};

} // namespace

TEST_F(Import, TheLastHundredDrawsOfTheBundledCsvCompleteAHistoryThatEndsEarlier) {
    const std::string full = dir.file("full.dat");
    ASSERT_TRUE(writeBundledHistory(full, nullptr));
    ASSERT_TRUE(writeBundledHistory(keno(), nullptr));
    fs::resize_file(keno(), (kBundled - 100) * kRecordSize);

    std::vector<std::string> lines;
    ASSERT_TRUE(readTextLines(std::string(ZF_SOURCE_DIR) + "/data/keno_draws.csv", lines));
    ASSERT_EQ(lines.size(), kBundled + 1);
    std::string tail;
    for (size_t i = lines.size() - 100; i < lines.size(); ++i) tail += lines[i] + "\n";

    const ImportOutcome out = run(tail);
    EXPECT_FALSE(out.failed);
    EXPECT_EQ(contents(keno()), contents(full));
    ASSERT_GE(out.summary.size(), 3u);
    EXPECT_EQ(out.summary[0], "100 Ziehungen wurden hinzugefügt.");
    EXPECT_EQ(out.summary[1], "0 Ziehungen wurden ersetzt.");
    EXPECT_EQ(out.summary[2], "0 Ziehungen waren schon gespeichert und bleiben unverändert.");
    EXPECT_EQ(m.drawDate, dateValue(2025, 12, 29)); // the newest draw is on display

    // The same file again changes nothing and does not rewrite the file.
    const auto before = inode(keno());
    EXPECT_EQ(run(tail).summary[2], "100 Ziehungen waren schon gespeichert und bleiben unverändert.");
    EXPECT_EQ(inode(keno()), before);
}

TEST_F(Import, EveryKindOfBadLineIsSkippedWithItsLineAndTheGoodOnesAreStored) {
    const std::string text = "Datum;Z1;Z2;Z3;Plus 5\r\n" // 1 header
                             "\r\n"                      // 2 empty
                             "Mo, 13.01.2025;" +
                             numbers(5) +
                             ";01234\r\n" // 3 good, weekday before
                             "2025-01-14\tDi\t" +
                             numbers(6, 10) + "\t" + numbers(16, 10) +
                             "\r\n" // 4 good, tabs
                             "2025-01-15," +
                             numbers(7) +
                             ",Mittwoch\r\n" // 5 good, weekday after
                             "01.01.2027;" +
                             numbers(1) +
                             "\r\n" // 6 future
                             "16.01.2025;" +
                             numbers(1, 19) +
                             "\r\n" // 7 19 numbers
                             "17.01.2025;" +
                             numbers(1, 21) +
                             "\r\n" // 8 21 numbers
                             "18.01.2025;" +
                             numbers(1, 19) +
                             ",71\r\n" // 9 out of range
                             "19.01.2025;" +
                             numbers(1, 19) +
                             ",0\r\n" // 10 zero
                             "20.01.2025;" +
                             numbers(1, 19) +
                             ",5\r\n" // 11 repeated
                             "21.01.2025;" +
                             numbers(1) +
                             ";1234\r\n" // 12 Plus 5 of four digits
                             "31.02.2025;" +
                             numbers(1) +
                             "\r\n" // 13 no such day
                             "22.01.2025;" +
                             numbers(1) +
                             "\r\n" // 14 date twice,
                             "22.01.2025;" +
                             numbers(2) +
                             "\r\n"      // 15 other numbers
                             "Summe\r\n" // 16 text among draws
                             "23.01.2025;" +
                             numbers(1, 10) + ";x;" + numbers(11, 9) +
                             "\r\n" // 17 no number
                             "23.01.2025;" +
                             numbers(3) +
                             "\r\n" // 18 good
                             "13.01.2025;" +
                             numbers(5) +
                             ";01234\r\n" // 19 line 3 again
                             "0025-12-02;" +
                             numbers(1) + "\r\n"; // 20 before the first day Keno.dat can hold
    const std::string before = contents(keno());
    const ImportOutcome out = run(text);
    EXPECT_FALSE(out.failed);

    const std::vector<std::string> expected = {
        "4 Ziehungen wurden hinzugefügt.",
        "0 Ziehungen wurden ersetzt.",
        "0 Ziehungen waren schon gespeichert und bleiben unverändert.",
        "14 Zeilen wurden übersprungen:",
        "Zeile 6: das Datum 01.01.2027 liegt in der Zukunft.",
        "Zeile 7: 19 Zahlen statt 20.",
        "Zeile 8: 21 Zahlen statt 20.",
        "Zeile 9: die Zahl 71 liegt nicht zwischen 1 und 70.",
        "Zeile 10: die Zahl 0 liegt nicht zwischen 1 und 70.",
        "Zeile 11: die Zahl 5 kommt doppelt vor.",
        "Zeile 12: die Plus-5-Zahl „1234“ hat 4 statt 5 Ziffern.",
        "Zeile 13: ungültiges Datum „31.02.2025“.",
        "Zeile 14: das Datum 22.01.2025 steht auch in Zeile 15, mit anderen Zahlen.",
        "Zeile 15: das Datum 22.01.2025 steht auch in Zeile 14, mit anderen Zahlen.",
        "Zeile 16: kein Datum am Zeilenanfang, sondern „Summe“.",
        "Zeile 17: „x“ ist keine Zahl.",
        "Zeile 19: dieselbe Ziehung wie in Zeile 3.",
        "Zeile 20: ungültiges Datum „0025-12-02“.",
    };
    EXPECT_EQ(out.summary, expected);

    const std::vector<DrawRecord> stored = readDraws(keno());
    ASSERT_EQ(stored.size(), 7u);
    EXPECT_EQ(contents(keno()).substr(0, before.size()), before); // appended behind, old records untouched
    EXPECT_EQ(stored[3].datum, dateValue(2025, 1, 13));
    EXPECT_TRUE(stored[3].hasPlus5());
    EXPECT_EQ(stored[3].plus5Number(), 1234);
    EXPECT_EQ(stored[4].zahl[10], 16);  // the second tab-separated half
    EXPECT_FALSE(stored[5].hasPlus5()); // no Plus 5 number: marked unknown
    EXPECT_EQ(stored[6].datum, dateValue(2025, 1, 23));
}

TEST_F(Import, ASpreadsheetInWindows1252WithAWeekdayInBracketsIsRead) {
    const ImportOutcome out = run("Ziehungstag;Gewinnzahlen (Ausspielung \xA7 3)\n"
                                  "07.01.2025 (Dienstag);" +
                                  numbers(30) + ";98765\n");
    EXPECT_FALSE(out.failed);
    EXPECT_EQ(out.summary[0], "1 Ziehung wurde hinzugefügt.");
    const auto stored = readDraws(keno());
    ASSERT_EQ(stored.size(), 4u);
    EXPECT_EQ(stored[1].datum, dateValue(2025, 1, 7)); // in its place by date
    EXPECT_EQ(stored[1].plus5Number(), 98765);
}

// A spreadsheet's "Unicode text" (UTF-16 with a byte-order mark, either byte order) is read; a reason
// quotes at most 40 characters of the line, however long it is.
TEST_F(Import, Utf16FilesAreReadAndReasonsStayShort) {
    const std::string line = "07.01.2025;" + numbers(30) + ";98765\r\n";
    std::string le = "\xFF\xFE", be = "\xFE\xFF";
    for (const std::string& units : {utf8ToUtf16le(line)}) {
        le += units;
        for (size_t i = 0; i + 1 < units.size(); i += 2) be += std::string{units[i + 1], units[i]};
    }
    for (const std::string& bytes : {le, be}) {
        std::filesystem::remove(keno());
        writeDraws(keno(), {draw(2025, 1, 6, 1)});
        const ImportOutcome out = run(bytes);
        EXPECT_FALSE(out.failed);
        EXPECT_EQ(out.summary[0], "1 Ziehung wurde hinzugefügt.");
        EXPECT_EQ(readDraws(keno()).back().plus5Number(), 98765);
    }
    const ImportOutcome out = run("07.01.2025;" + std::string(1 << 20, '7') + "," + numbers(2, 19) + "\n" +
                                  "08.01.2025;x" + std::string(1 << 20, 'y') + "," + numbers(2, 19) + "\n");
    for (const auto& l : out.summary) EXPECT_LT(l.size(), 160u) << l.substr(0, 200);
}

// Two lines of one date whose numbers agree and whose Plus 5 numbers differ are named as such.
TEST_F(Import, APlusFiveOnlyDifferenceIsNamed) {
    const ImportOutcome out = run("07.01.2025;" + numbers(30) + ";11111\n07.01.2025;" + numbers(30) + ";22222\n");
    EXPECT_EQ(out.summary.back(),
              "Zeile 2: das Datum 07.01.2025 steht auch in Zeile 1, mit einer anderen Plus-5-Zahl.");
}

TEST_F(Import, AFileThatIsNoListOfDrawsStoresNothing) {
    struct Case {
        const char* what;
        std::function<std::string()> make;
        const char* says;
    };
    const std::vector<Case> cases = {
        {"binary",
         [&] {
             return file(std::string("\x7F"
                                     "ELF\0\0\0",
                                     7) +
                         numbers(1));
         },
         "binäre Daten"},
        {"empty", [&] { return file(""); }, "enthält keine Ziehungen"},
        {"only a header", [&] { return file("Datum;Zahlen\n\n"); }, "enthält keine Ziehungen"},
        {"only bad lines", [&] { return file("07.01.2025;1,2,3\n"); }, "Zeile 1: 3 Zahlen statt 20."},
        {"100 MB",
         [&] {
             const std::string big = file("07.01.2025;" + numbers(1) + "\n", "big.csv");
             fs::resize_file(big, 100u * 1024 * 1024);
             return big;
         },
         "zu groß"},
        {"missing", [&] { return dir.file("nowhere.csv"); }, "kann nicht gelesen werden"},
        {"a folder", [&] { return dir.path(); }, "keine gewöhnliche Datei"},
    };
    const std::string before = contents(keno());
    const auto id = inode(keno());
    for (const Case& c : cases) {
        const ImportOutcome out = session.importer.importFile(c.make());
        EXPECT_TRUE(out.failed) << c.what;
        std::string all;
        for (const auto& l : out.summary) all += l + "\n";
        EXPECT_NE(all.find(c.says), std::string::npos) << c.what << ":\n" << all;
        EXPECT_EQ(contents(keno()), before) << c.what;
        EXPECT_EQ(inode(keno()), id) << c.what;
    }
}

TEST_F(Import, ADateStoredWithOtherNumbersIsKeptUnlessTheAnswerIsYes) {
    // A broken record in the middle stays byte for byte through every rewrite.
    std::string raw = contents(keno());
    raw.insert(kRecordSize, std::string(kRecordSize, '\x7F'));
    std::ofstream(keno(), std::ios::binary | std::ios::trunc) << raw;

    const std::string text = "08.01.2025;" + numbers(40) +
                             "\n" // other numbers
                             "06.01.2025;" +
                             numbers(1) +
                             "\n" // the same
                             "10.01.2025;" +
                             numbers(21) + ";55555\n"; // same numbers, Plus 5 differs
    prompter.answers = {false};
    ImportOutcome out = run(text);
    EXPECT_FALSE(out.failed);
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0], "2 Ziehungen stehen schon mit anderen Zahlen oder einer anderen Plus-5-Zahl in "
                                     "Keno.dat (08.01.2025 …).\nDurch die Ziehungen aus der Datei ersetzen?");
    ASSERT_GE(out.summary.size(), 2u);
    EXPECT_EQ(out.summary[out.summary.size() - 2],
              "1 Ziehung steht mit anderen Zahlen in Keno.dat und wurde behalten: 08.01.2025.");
    EXPECT_EQ(out.summary.back(),
              "1 Ziehung steht mit einer anderen Plus-5-Zahl in Keno.dat und wurde behalten: 10.01.2025.");
    EXPECT_EQ(contents(keno()), raw);

    prompter.answers = {true};
    out = run(text);
    EXPECT_EQ(out.summary[1], "2 Ziehungen wurden ersetzt.");
    EXPECT_EQ(out.summary[2], "1 Ziehung war schon gespeichert und bleibt unverändert.");
    const std::string now = contents(keno());
    ASSERT_EQ(now.size(), raw.size());
    EXPECT_EQ(now.substr(0, 2 * kRecordSize), raw.substr(0, 2 * kRecordSize));
    const auto stored = readDraws(keno());
    EXPECT_EQ(stored[2].zahl[0], 40);
    EXPECT_EQ(stored[3].plus5Number(), 55555);
}

TEST_F(Import, AKenoDatThatCannotBeWrittenStaysAsItWas) {
    const std::string text = "07.01.2025;" + numbers(30) + "\n";
    const std::string before = contents(keno());
    {
        ::chmod(keno().c_str(), 0444);
        const ImportOutcome out = run(text);
        ::chmod(keno().c_str(), 0644);
        EXPECT_TRUE(out.failed);
        EXPECT_EQ(out.summary.front(), "Die Ziehungen konnten nicht gespeichert werden; Keno.dat bleibt unverändert.");
        EXPECT_EQ(contents(keno()), before);
    }
    {
        // A full disk: the new file cannot reach the old one's size.
        const FileSizeLimit full(before.size());
        const ImportOutcome out = run(text);
        EXPECT_TRUE(out.failed);
        EXPECT_EQ(contents(keno()), before);
    }
    std::string leftovers;
    for (const auto& e : fs::directory_iterator(dir.path()))
        if (e.path().filename().string().rfind("Keno.dat", 0) == 0 && e.path().filename() != "Keno.dat")
            leftovers += e.path().filename().string() + " ";
    EXPECT_EQ(leftovers, "");
}

TEST_F(Import, TheButtonAsksForTheFileAndShowsOneSummary) {
    prompter.nextPath = file("07.01.2025;" + numbers(30) + "\n");
    EXPECT_TRUE(session.importer.importDraws());
    ASSERT_EQ(prompter.dialogs.size(), 1u);
    EXPECT_EQ(prompter.dialogs[0].title, "Ziehungen importieren");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0], "1 Ziehung wurde hinzugefügt.\n0 Ziehungen wurden ersetzt.\n"
                                    "0 Ziehungen waren schon gespeichert und bleiben unverändert.");

    prompter.nextPath.reset(); // cancelled: nothing happens
    EXPECT_FALSE(session.importer.importDraws());
    EXPECT_EQ(prompter.messages.size(), 1u);
}
