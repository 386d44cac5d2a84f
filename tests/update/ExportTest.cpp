#include <gtest/gtest.h>

#include <filesystem>

#include "app/Model.h"
#include "app/Services.h"
#include "app/Session.h"
#include "app/draws/Browser.h"
#include "app/draws/Export.h"
#include "app/draws/Update.h"
#include "base/Text.h"
#include "platform/SystemClock.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

struct ExportFixture : ::testing::Test, WithSession {
    ExportFixture() : WithSession(dateValue(2020, 2, 1)) {}
    TempDir dir;
    DrawExport& exporter = session.exporter;
    std::vector<DrawRecord> records;

    void SetUp() override {
        m.home = dir.path();
        m.hitCheckOn = true;
        DrawRecord noPlus5 = draw(2020, 1, 10, 51);
        noPlus5.zahl5 = {};
        noPlus5.flags = kFlagNoPlus5; // as in the bundled history
        records = {draw(2020, 1, 6, 1),
                   drawWith(2020, 1, 8, {5, 17, 3, 70, 44, 12, 9, 1, 55, 23, 31, 68, 40, 16, 29, 50, 61, 6, 36, 48},
                            {0, 0, 7, 1, 2}),
                   noPlus5};
        writeDraws(dir.file("Keno.dat"), records);
    }
    void seek(double date) {
        m.browseDate = date;
        browser.seekDate();
    }
    std::string read(const std::string& path) const {
        std::string text;
        EXPECT_TRUE(readFile(path, text)) << path;
        return text;
    }
};

// Runs the test body with the process in another working folder.
struct InFolder {
    std::filesystem::path before = std::filesystem::current_path();
    explicit InFolder(const std::string& dir) {
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
    }
    ~InFolder() { std::filesystem::current_path(before); }
};

} // namespace

// The file types of the save dialog by filter index, each with its extension and line layout.
TEST_F(ExportFixture, EveryFilterIndexAsSpecified) {
    const DrawRecord& r = records[1];
    const std::string n = "5,17,3,70,44,12,9,1,55,23,31,68,40,16,29,50,61,6,36,48";
    std::string semicolons = n, tabs = n, blanks = n + ",";
    for (char& c : semicolons) c = c == ',' ? ';' : c;
    for (char& c : tabs) c = c == ',' ? '\t' : c;
    for (char& c : blanks) c = c == ',' ? ' ' : c;
    const struct {
        int index;
        const char* type;
        const char* extension;
        std::string line;
    } rows[] = {
        {1, "Textdatei(Datum,Zahlen;)", "*.txt", "08.01.2020," + n + ";"},
        {2, "Textdatei(nur Zahlen mit Leerzeichen)", "*.txt", blanks},
        {3, "CSV-Datei(Komma getrennt)", "*.csv", "08.01.2020," + n},
        {4, "CSV-Datei(Semikolon getrennt)", "*.csv", "08.01.2020;" + semicolons + ";"},
        {5, "CSV-Datei(Tabulator getrennt)", "*.csv", "08.01.2020\t" + tabs},
    };
    std::string filter;
    for (const auto& row : rows) {
        filter += std::string(filter.empty() ? "" : "|") + row.type + "|" + row.extension;
        EXPECT_EQ(exportLine(r, row.index), row.line) << row.type;
    }
    EXPECT_EQ(kExportFilter, filter);
}

TEST_F(ExportFixture, ExportsFromThePickerDateWithTheChosenFileType) {
    const std::vector<FileDialogSetup>& asked = prompter.dialogs;
    prompter.choosesFileType = true;
    prompter.fileChoice = FileChoice{dir.file("out.csv"), 4};
    const std::vector<std::pair<double, size_t>> fromAndLines = {
        {records[0].datum, 3}, {records[1].datum, 2}, {records[2].datum, 1}};
    for (const auto& [from, lines] : fromAndLines) {
        m.browseDate = from;
        ASSERT_TRUE(exporter.exportText());
        const std::string text = read(dir.file("out.csv"));
        EXPECT_EQ(splitLines(text).size(), lines);
        EXPECT_EQ(m.status[1], std::to_string(lines) + " Ziehungen exportiert nach " + dir.file("out.csv"));
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
        EXPECT_EQ(m.workDate, from);
    }
    EXPECT_EQ(read(dir.file("out.csv")), exportLine(records[2], 4) + "\r\n");
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked[0].defaultExt, "txt");
    EXPECT_EQ(asked[0].filter, kExportFilter);
    EXPECT_EQ(asked[0].proposedName, dir.path() + "KenoZahlen");
    EXPECT_EQ(asked[0].title, "Export nach Text");

    prompter.fileChoice.reset(); // cancelled
    EXPECT_FALSE(exporter.exportText());

    // Without a dialog that tells the file type, the first type applies.
    prompter.choosesFileType = false;
    prompter.nextPath = dir.file("plain.txt");
    m.browseDate = records[1].datum;
    ASSERT_TRUE(exporter.exportText());
    EXPECT_EQ(read(dir.file("plain.txt")), exportLine(records[1], 1) + "\r\n" + exportLine(records[2], 1) + "\r\n");
}

TEST_F(ExportFixture, SingleDrawFilesFromTheCurrentDrawToTheLast) {
    InFolder folder(dir.path() + "single");
    seek(records[1].datum);
    EXPECT_EQ(exporter.exportSingleFiles(), 2);
    EXPECT_FALSE(fileExists("20200106.txt"));
    const std::string second = read("20200108.txt");
    EXPECT_EQ(second, "08.01.2020,5,17,3,70,44,12,9,1,55,23,31,68,40,16,29,50,61,6,36,48,00712");
    // The file is the server's answer for that day.
    const DrawAnswer back = parseDrawAnswer(second, clock.now());
    ASSERT_EQ(back.kind, DrawAnswer::Draw);
    EXPECT_EQ(back.record, records[1]);
    // An unknown Plus 5 number is left out rather than written as 00000.
    EXPECT_EQ(read("20200110.txt"), exportLine(records[2], 3) + ",");
    EXPECT_EQ(m.drawDate, records[2].datum);

    EXPECT_EQ(exporter.exportSingleFiles(), 1); // started on the last draw
}
