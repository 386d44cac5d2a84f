#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "app/AppController.h"
#include "app/Model.h"
#include "app/Services.h"
#include "app/Session.h"
#include "app/draws/Browser.h"
#include "app/draws/Update.h"
#include "app/settings/ControlCatalogue.h"
#include "app/settings/SettingsPersistence.h"
#include "app/settings/SettingsSchema.h"
#include "platform/SystemClock.h"
#include "platform/qt/QtHttpClient.h"
#include "update/ServerSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

const double kMar1 = dateValue(2025, 3, 1);

std::string csvHistory() {
    const std::string script = ZF_DRAWSERVER;
    return script.substr(0, script.rfind("/tools/")) + "/data/keno_draws.csv";
}

// The HTTP client exists before the session that is handed it.
struct WithHttp {
    QtHttpClient http;
};

struct UpdateFixture : ::testing::Test, WithHttp, WithSession {
    UpdateFixture() : WithSession(kMar1 + 9 + 0.75, &http) {} // 10.03.2025 in the evening
    TempDir dir;
    UpdateController& update = *session.update;
    std::unique_ptr<tools::DrawServerProcess> server;
    const std::vector<DrawRecord> history = serverDraws(kMar1, 10); // 01.03. to 10.03.2025

    struct Day {
        std::string status0, drawLine, plus5Line;
        bool buttonsAsRunning;
    };
    std::vector<Day> days;

    void SetUp() override {
        m.home = dir.path();
        m.hitCheckOn = true;
        m.proxyPort = "80";
        m.browseDate = kMar1;
        writeDraws(dir.file("server.dat"), history);
        keep(3);
        update.timeoutMs = 5000;
        update.afterDay = [this](double) {
            days.push_back({m.status[0], m.drawText, m.plus5Text,
                            !m.updateButtonEnabled && !m.mainUpdateEnabled && m.stopUpdateVisible});
        };
    }
    // The local history holds the first n draws of the server's.
    void keep(size_t n) { writeDraws(dir.file("Keno.dat"), {history.begin(), history.begin() + static_cast<long>(n)}); }
    void serve(std::vector<std::string> extra = {}, const std::string& data = {}) {
        server.reset();
        std::remove(dir.file("requests.log").c_str());
        std::remove(dir.file("server.err").c_str());
        server = startDrawServer(data.empty() ? dir.file("server.dat") : data, dir.file("requests.log"), extra,
                                 dir.file("server.err"));
        m.downloadServer = server->url();
    }
    std::vector<std::string> requests() const { return requestedDays(dir.file("requests.log")); }
    // What the server wrote to standard error, one line per entry.
    std::vector<std::string> serverErrors() const {
        std::string text;
        return readFile(dir.file("server.err"), text) ? splitLines(text) : std::vector<std::string>{};
    }
    std::vector<DrawRecord> stored() const { return readDraws(dir.file("Keno.dat")); }
    std::vector<std::string> statuses() const {
        std::vector<std::string> out;
        for (const Day& d : days) out.push_back(d.status0);
        return out;
    }
    void expectIdle() {
        EXPECT_TRUE(m.updateButtonEnabled);
        EXPECT_TRUE(m.mainUpdateEnabled);
        EXPECT_FALSE(m.stopUpdateVisible);
        EXPECT_FALSE(update.running());
    }
};

} // namespace

TEST(DrawAnswer, ReadsAndChecksTheWholeAnswer) {
    const double today = dateValue(2026, 1, 10);
    const std::string numbers = "7,61,10,9,46,48,12,23,33,26,6,43,41,13,3,63,65,2,40,29,";
    const DrawAnswer ok = parseDrawAnswer("09.01.2026," + numbers + "00712", today);
    ASSERT_EQ(ok.kind, DrawAnswer::Draw) << ok.problem;
    EXPECT_EQ(ok.record.datum, dateValue(2026, 1, 9));
    EXPECT_EQ(ok.record.zahl[0], 7); // kept in the order received
    EXPECT_EQ(ok.record.zahl[19], 29);
    EXPECT_EQ(ok.record.plus5Number(), 712);
    EXPECT_TRUE(ok.record.hasPlus5());
    EXPECT_EQ(drawAnswerText(ok.record), "09.01.2026," + numbers + "00712");

    // Nothing after the twentieth number's ",": a draw without a Plus 5 number, stored as one.
    const DrawAnswer none = parseDrawAnswer("09.01.2026," + numbers, today);
    ASSERT_EQ(none.kind, DrawAnswer::Draw) << none.problem;
    EXPECT_FALSE(none.record.hasPlus5());
    EXPECT_EQ(none.record.flags, kFlagNoPlus5);
    EXPECT_EQ(none.record.zahl5, (std::array<uint8_t, 5>{}));
    EXPECT_EQ(none.record.zahl, ok.record.zahl);
    EXPECT_EQ(drawAnswerText(none.record), "09.01.2026," + numbers);

    struct Case {
        std::string body;
        DrawAnswer::Kind kind;
        std::string problem;
    };
    const std::vector<Case> cases = {
        {"09.01.2026," + numbers + "00712\r\n<!-- Zähler -->", DrawAnswer::Draw, ""}, // text after the digits
        {"09.01.2026," + numbers, DrawAnswer::Draw, ""},                              // no Plus 5 number
        {"9.1.2026, 7, 61,10,9,46,48,12,23,33,26,6,43,41,13,3,63,65,2,40,29,", DrawAnswer::Draw, ""},
        {"9.1.2026, 7, 61,10,9,46,48,12,23,33,26,6,43,41,13,3,63,65,2,40,29,123456", DrawAnswer::Draw, ""},
        {"  \r\n ", DrawAnswer::Skip, ""},
        {"09.01.2026,0,61,10,9,46,48,12,23,33,26,6,43,41,13,3,63,65,2,40,29,00000", DrawAnswer::Skip, ""},
        {" ," + numbers + "00712", DrawAnswer::Skip, ""},
        {"09.01.2026,0,61,10,9,46,48,12,23,33,26,6,43,41,13,3,63,65,2,40,29,", DrawAnswer::Skip, ""},
        {" ," + numbers, DrawAnswer::Skip, ""},
        {"Keine Daten", DrawAnswer::Invalid, "keine Ziehungsdaten"},
        {"09.01.2026,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,00712", DrawAnswer::Invalid,
         "nur 19 Zahlen statt 20"},
        {"09.01.2026,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,", DrawAnswer::Invalid, "nur 19 Zahlen statt 20"},
        {"09.01.2026," + numbers + "1,00712", DrawAnswer::Invalid, "mehr als 20 Zahlen"},
        {"09.01.2026," + numbers + "1,", DrawAnswer::Invalid, "mehr als 20 Zahlen"},
        {"09.01.2026," + numbers + "0712\r\n", DrawAnswer::Invalid, "die Plus 5-Gewinnzahl hat keine fünf Ziffern"},
        {"09.01.2026," + numbers + "0712", DrawAnswer::Invalid, "die Plus 5-Gewinnzahl hat keine fünf Ziffern"},
        {"09.01.2026," + numbers + "0a712", DrawAnswer::Invalid, "die Plus 5-Gewinnzahl hat keine fünf Ziffern"},
        // Only an answer that ends right after the last "," has no Plus 5 number; a partial field
        // (one digit, blanks, a line break, a placeholder) is no answer.
        {"09.01.2026," + numbers + "7", DrawAnswer::Invalid, "die Plus 5-Gewinnzahl hat keine fünf Ziffern"},
        {"09.01.2026," + numbers + "\r\n", DrawAnswer::Invalid, "die Plus 5-Gewinnzahl hat keine fünf Ziffern"},
        {"09.01.2026," + numbers + " ", DrawAnswer::Invalid, "die Plus 5-Gewinnzahl hat keine fünf Ziffern"},
        {"09.01.2026," + numbers + " 00712", DrawAnswer::Invalid, "die Plus 5-Gewinnzahl hat keine fünf Ziffern"},
        {"09.01.2026," + numbers + "-----", DrawAnswer::Invalid, "die Plus 5-Gewinnzahl hat keine fünf Ziffern"},
        {"09.01.2026,7,61,x,9,46,48,12,23,33,26,6,43,41,13,3,63,65,2,40,29,", DrawAnswer::Invalid,
         "die 3. Zahl ist keine Zahl"},
        {"09.01.2026,7,61,71,9,46,48,12,23,33,26,6,43,41,13,3,63,65,2,40,29,", DrawAnswer::Invalid,
         "Zahl 71 liegt nicht zwischen 1 und 70"},
        {"31.02.2026," + numbers, DrawAnswer::Invalid, "kein gültiges Datum"},
        {"11.01.2026," + numbers, DrawAnswer::Invalid, "Datum 11.01.2026 liegt in der Zukunft"},
        {"09.01.2026,7,61,x,9,46,48,12,23,33,26,6,43,41,13,3,63,65,2,40,29,00712", DrawAnswer::Invalid,
         "die 3. Zahl ist keine Zahl"},
        {"09.01.2026,7,61,71,9,46,48,12,23,33,26,6,43,41,13,3,63,65,2,40,29,00712", DrawAnswer::Invalid,
         "Zahl 71 liegt nicht zwischen 1 und 70"},
        {"09.01.2026,7,61,0,9,46,48,12,23,33,26,6,43,41,13,3,63,65,2,40,29,00712", DrawAnswer::Invalid,
         "Zahl 0 liegt nicht zwischen 1 und 70"},
        {"09.01.2026,7,61,-5,9,46,48,12,23,33,26,6,43,41,13,3,63,65,2,40,29,00712", DrawAnswer::Invalid,
         "Zahl -5 liegt nicht zwischen 1 und 70"},
        {"09.01.2026,7,61,7,9,46,48,12,23,33,26,6,43,41,13,3,63,65,2,40,29,00712", DrawAnswer::Invalid,
         "Zahl 7 kommt doppelt vor"},
        {"31.02.2026," + numbers + "00712", DrawAnswer::Invalid, "kein gültiges Datum"},
        {"<html><body>Fehler," + numbers + "00712", DrawAnswer::Invalid, "kein gültiges Datum"},
        {"31.01.2004," + numbers + "00712", DrawAnswer::Invalid, "Datum 31.01.2004 liegt vor der ersten Ziehung"},
        {"11.01.2026," + numbers + "00712", DrawAnswer::Invalid, "Datum 11.01.2026 liegt in der Zukunft"},
    };
    for (const Case& c : cases) {
        const DrawAnswer a = parseDrawAnswer(c.body, today + 0.9);
        EXPECT_EQ(a.kind, c.kind) << c.body;
        EXPECT_EQ(a.problem, c.problem) << c.body;
    }
}

TEST(DrawAnswer, RequestAddressFromTheServerSetting) {
    const double day = dateValue(2026, 1, 9);
    EXPECT_EQ(drawRequestUrl("http://127.0.0.1:8471/", day),
              "http://127.0.0.1:8471/zahlen/keno.asp?Datei=20260109.txt");
    EXPECT_EQ(drawRequestUrl("https://example.org/keno", day),
              "https://example.org/keno/zahlen/keno.asp?Datei=20260109.txt");
    for (const char* bad :
         {"", "example.org/", "ftp://example.org/", "http://", "http:///x", "http://a b/", "http://x/?a=1"})
        EXPECT_FALSE(drawRequestUrl(bad, day)) << bad;
}

TEST(DrawAnswer, DownloadServerIsAPersistedSetting) {
    Model m;
    MemorySettingsStore store;
    m.downloadServer = "http://elsewhere/";
    restoreSettings(m, store, dateValue(2026, 1, 1));
    EXPECT_EQ(m.downloadServer, Model::kDefaultDownloadServer);
    m.downloadServer = "https://keno.example/";
    saveSettings(m, store, dateValue(2026, 1, 1));
    Model back;
    restoreSettings(back, store, dateValue(2026, 1, 1));
    EXPECT_EQ(back.downloadServer, "https://keno.example/");
}

TEST_F(UpdateFixture, CatchesUpEveryDayUpToToday) {
    serve();
    update.runUpdate();

    EXPECT_EQ(requests(), (std::vector<std::string>{"20250304", "20250305", "20250306", "20250307", "20250308",
                                                    "20250309", "20250310"}));
    EXPECT_EQ(stored(), history);
    ASSERT_EQ(days.size(), 7u);
    for (size_t i = 0; i < days.size(); ++i) {
        const DrawRecord& r = history[i + 3];
        EXPECT_EQ(days[i].status0, "Received " + std::to_string(drawAnswerText(r).size()) + " bytes");
        EXPECT_EQ(days[i].drawLine, drawLine(r, 3)); // each stored draw is shown as it arrives
        EXPECT_EQ(days[i].plus5Line, plus5Line(r, 3));
        EXPECT_TRUE(days[i].buttonsAsRunning);
    }
    EXPECT_EQ(m.status[1], "Alle Angaben ohne Gewähr!!");
    EXPECT_TRUE(prompter.messages.empty());
    expectIdle();
    // The latest draw is current, as the seek leaves it.
    EXPECT_EQ(m.drawDate, history.back().datum);
    EXPECT_EQ(m.drawIndex, 9);
    EXPECT_EQ(m.drawTextMain, drawLine(history.back(), 2));
    EXPECT_EQ(m.drawPlus5[1], history.back().zahl5[0]);
    EXPECT_EQ(m.browseDate, history.back().datum);
}

TEST_F(UpdateFixture, TodaysDrawNotYetAvailable) {
    keep(10);
    clock.set(kMar1 + 10 + 0.5);
    serve();
    update.runUpdate();
    EXPECT_EQ(requests(), std::vector<std::string>{"20250311"});
    EXPECT_EQ(statuses(), std::vector<std::string>{"11.03.2025 noch nicht verfügbar!"});
    EXPECT_EQ(stored(), history);
    expectIdle();
}

TEST_F(UpdateFixture, StopButtonEndsTheLoopAfterTheCurrentDay) {
    serve();
    int pumps = 0;
    update.pumpEvents = [&] {
        update.runUpdate(); // the start buttons are disabled: a second start does nothing
        if (++pumps == 2) update.stop();
    };
    update.runUpdate();
    EXPECT_EQ(requests(), (std::vector<std::string>{"20250304", "20250305"}));
    EXPECT_EQ(stored(), std::vector<DrawRecord>(history.begin(), history.begin() + 5));
    EXPECT_EQ(m.drawDate, history[4].datum);
    expectIdle();
}

TEST_F(UpdateFixture, BadAnswerStoresNothingAndEndsTheUpdate) {
    const std::string repeated = std::to_string(history[4].zahl[4]);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"19", "05.03.2025 fehlerhaft: nur 19 Zahlen statt 20"},
        {"21", "05.03.2025 fehlerhaft: mehr als 20 Zahlen"},
        {"range", "05.03.2025 fehlerhaft: Zahl 71 liegt nicht zwischen 1 und 70"},
        {"repeat", "05.03.2025 fehlerhaft: Zahl " + repeated + " kommt doppelt vor"},
        {"baddate", "05.03.2025 fehlerhaft: kein gültiges Datum"},
        {"future", "05.03.2025 fehlerhaft: Datum 12.03.2025 liegt in der Zukunft"},
        {"plus5-4", "05.03.2025 fehlerhaft: die Plus 5-Gewinnzahl hat keine fünf Ziffern"},
        {"html", "05.03.2025 fehlerhaft: keine Zahlen"},
        {"huge", "Failed : 200 Antwort zu groß (mehr als 65536 Bytes)"},
    };
    for (const auto& [kind, text] : cases) {
        SCOPED_TRACE(kind);
        keep(3);
        days.clear();
        serve({"--fault", "20250305=" + kind});
        update.runUpdate();
        EXPECT_EQ(requests(), (std::vector<std::string>{"20250304", "20250305"}));
        EXPECT_EQ(stored(), std::vector<DrawRecord>(history.begin(), history.begin() + 4));
        ASSERT_EQ(days.size(), 2u);
        EXPECT_EQ(days[1].status0, text);
        EXPECT_NE(m.status[1].find("beendet"), std::string::npos) << m.status[1];
        EXPECT_FALSE(m.draws.issues().any());
        EXPECT_EQ(m.drawDate, history[3].datum);
        expectIdle();
    }
}

TEST_F(UpdateFixture, DayFailuresAreReportedAndTheUpdateGoesOn) {
    serve({"--fault", "20250305=stale", "--fault", "20250306=status:404", "--fault", "20250307=empty", "--fault",
           "20250308=zero", "--fault", "20250309=redirect", "--fault", "20250310=status:500"});
    update.runUpdate();
    EXPECT_EQ(requests(), (std::vector<std::string>{"20250304", "20250305", "20250306", "20250307", "20250308",
                                                    "20250309", "20250310"}));
    std::string zeroAnswer = drawAnswerText(history[7]);
    zeroAnswer.replace(11, zeroAnswer.find(',', 11) - 11, "0");
    EXPECT_EQ(statuses(), (std::vector<std::string>{
                              "Received " + std::to_string(drawAnswerText(history[3]).size()) + " bytes",
                              "04.03.2025 schon vorhanden", // an old answer does not touch the history
                              "Failed : 404 Not Found",
                              "Failed : 200 OK",
                              "Received " + std::to_string(zeroAnswer.size()) + " bytes",
                              "Received " + std::to_string(drawAnswerText(history[8]).size()) + " bytes",
                              "10.03.2025 noch nicht verfügbar!",
                          }));
    const std::vector<DrawRecord> expected = {history[0], history[1], history[2], history[3], history[8]};
    EXPECT_EQ(stored(), expected);
    expectIdle();
}

TEST_F(UpdateFixture, NoAnswerAtAllEndsTheUpdate) {
    struct Case {
        std::string name;
        std::vector<std::string> fault;
        int timeoutMs;
        std::string status;
    };
    const std::vector<Case> cases = {
        {"dead server", {}, 5000, "Failed : 0 Verbindung abgelehnt"},
        {"slow answer", {"--fault", "*=slow", "--delay", "5"}, 300, "Failed : 0 Zeitüberschreitung nach 0,3 s"},
        {"trickling answer",
         {"--fault", "*=trickle", "--delay", "4"},
         1000,
         "Failed : 200 Zeitüberschreitung nach 1 s"}, // the answer began but never ended
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        days.clear();
        serve(c.fault);
        if (c.fault.empty()) server->stop(); // nothing listens on the port any more
        update.timeoutMs = c.timeoutMs;
        const int before = update.requestsSent();
        update.runUpdate();
        EXPECT_EQ(update.requestsSent() - before, 1);
        EXPECT_EQ(statuses(), std::vector<std::string>{c.status});
        EXPECT_EQ(m.status[1], "Keine verwertbare Antwort vom Server, Aktualisierung beendet.");
        EXPECT_EQ(stored().size(), 3u);
        EXPECT_EQ(m.drawDate, history[2].datum);
        expectIdle();
    }
}

TEST_F(UpdateFixture, GoesThroughTheProxyTheUserSet) {
    serve();
    m.proxyHost = "127.0.0.1";
    m.proxyPort = std::to_string(server->port());
    m.downloadServer = "http://keno-download.invalid/"; // only the proxy can reach it
    update.runUpdate();
    EXPECT_EQ(stored(), history);
}

TEST_F(UpdateFixture, RefusesToStartWithAProxyPortOrAddressThatIsNoUse) {
    serve();
    const std::vector<std::pair<std::string, std::string>> settings = {
        {"abc", ""}, {"80a", ""}, {"", ""}, {"70000", ""}, {"-1", ""}, {"80", "ftp://127.0.0.1/"}};
    m.proxyHost = "proxy.example";
    for (const auto& [port, address] : settings) {
        SCOPED_TRACE(port + " " + address);
        prompter.messages.clear();
        m.proxyPort = port;
        m.downloadServer = address.empty() ? server->url() : address;
        update.runUpdate();
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_NE(prompter.messages[0].find(address.empty() ? "Der Proxy-Port \"" + port + "\"" : "Download-Servers"),
                  std::string::npos)
            << prompter.messages[0];
        EXPECT_EQ(update.requestsSent(), 0);
        EXPECT_TRUE(requests().empty());
        EXPECT_EQ(stored().size(), 3u);
        EXPECT_EQ(m.drawDate, history[2].datum); // the seek still ran
        expectIdle();
    }
}

TEST_F(UpdateFixture, RecreatingTheDatabaseKeepsTheOldHistoryAside) {
    clock.set(dateValue(2004, 2, 3) + 0.5);
    serve({}, csvHistory());
    update.rebuildHistory();
    EXPECT_EQ(requests(), (std::vector<std::string>{"20040201", "20040202", "20040203"}));
    EXPECT_EQ(statuses().front(), "01.02.2004 noch nicht verfügbar!");
    const auto now = stored();
    ASSERT_EQ(now.size(), 2u);
    EXPECT_EQ(now[0].datum, dateValue(2004, 2, 2));
    EXPECT_EQ(now[0].zahl[0], 4);
    EXPECT_EQ(now[0].zahl[19], 66);
    // The history has no Plus 5 numbers: the draws come and are stored without one, byte for byte
    // as the program's own copy of that history holds them.
    EXPECT_FALSE(now[0].hasPlus5());
    ASSERT_TRUE(writeBundledHistory(dir.file("bundled.dat"), nullptr));
    EXPECT_EQ(contents(dir.file("Keno.dat")), contents(dir.file("bundled.dat")).substr(0, 2 * kRecordSize));
    EXPECT_EQ(readDraws(dir.file("Keno.dat.bak")), std::vector<DrawRecord>(history.begin(), history.begin() + 3));
}

TEST_F(UpdateFixture, RecreatingALinkedOrProtectedDatabaseKeepsLinkAndProtection) {
    clock.set(dateValue(2004, 2, 3) + 0.5);
    serve({}, csvHistory());
    const std::string before = [&] {
        std::string s;
        EXPECT_TRUE(readFile(dir.file("Keno.dat"), s));
        return s;
    }();
    // Protected: refused with a word, nothing moved, nothing asked.
    ::chmod(dir.file("Keno.dat").c_str(), 0444);
    update.rebuildHistory();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_NE(prompter.messages[0].find("schreibgeschützt"), std::string::npos) << prompter.messages[0];
    EXPECT_TRUE(requests().empty());
    EXPECT_FALSE(fileExists(dir.file("Keno.dat.bak")));

    // Linked: the link stays, its target is read again from the start.
    ::chmod(dir.file("Keno.dat").c_str(), 0644);
    std::filesystem::create_directory(dir.file("ablage"));
    std::filesystem::rename(dir.file("Keno.dat"), dir.file("ablage/Keno.dat"));
    std::filesystem::create_symlink(dir.file("ablage/Keno.dat"), dir.file("Keno.dat"));
    update.rebuildHistory();
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("Keno.dat")));
    EXPECT_EQ(readDraws(dir.file("ablage/Keno.dat")).size(), 2u);
    std::string backup;
    ASSERT_TRUE(readFile(dir.file("Keno.dat.bak"), backup));
    EXPECT_EQ(backup, before);
}

TEST_F(UpdateFixture, ServerLeavesOutRecordsItCannotReadAndServesTheOthers) {
    // The server's file: a draw without a Plus 5 number, a date that is no day, a number out of range.
    std::vector<DrawRecord> file = history;
    file[4].flags = kFlagNoPlus5;
    file[4].zahl5 = {};
    file[5].datum = 1e300; // 06.03.
    file[7].zahl[3] = 71;  // 08.03.
    writeDraws(dir.file("server.dat"), file);
    serve(); // starts all the same

    update.runUpdate();
    EXPECT_EQ(requests(), (std::vector<std::string>{"20250304", "20250305", "20250306", "20250307", "20250308",
                                                    "20250309", "20250310"}));
    EXPECT_EQ(statuses(), (std::vector<std::string>{
                              "Received " + std::to_string(drawAnswerText(file[3]).size()) + " bytes",
                              "Received " + std::to_string(drawAnswerText(file[4]).size()) + " bytes",
                              "06.03.2025 noch nicht verfügbar!",
                              "Received " + std::to_string(drawAnswerText(file[6]).size()) + " bytes",
                              "08.03.2025 noch nicht verfügbar!",
                              "Received " + std::to_string(drawAnswerText(file[8]).size()) + " bytes",
                              "Received " + std::to_string(drawAnswerText(file[9]).size()) + " bytes",
                          }));
    EXPECT_EQ(stored(),
              (std::vector<DrawRecord>{file[0], file[1], file[2], file[3], file[4], file[6], file[8], file[9]}));
    EXPECT_EQ(days[1].plus5Line, plus5Line(file[4], 3)); // shown as "-" digits, not made up
    EXPECT_NE(days[1].plus5Line.find("  -  -  -  -  -"), std::string::npos) << days[1].plus5Line;
    EXPECT_EQ(serverErrors(), (std::vector<std::string>{
                                  "drawserver: " + dir.file("server.dat") +
                                      ": Datensatz 6 (ab Byte 200) übersprungen: kein gültiges Datum (1e+300)",
                                  "drawserver: " + dir.file("server.dat") +
                                      ": Datensatz 8 (ab Byte 280) übersprungen: Zahl 71 liegt nicht zwischen 1 und 70",
                              }));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_FALSE(update.failed());
    expectIdle();
}

TEST_F(UpdateFixture, ServerReadsItsChangedFileAgainAndKeepsServing) {
    writeDraws(dir.file("server.dat"), {history.begin(), history.begin() + 7});
    clock.set(kMar1 + 6 + 0.75); // 07.03.
    serve();
    update.runUpdate();
    EXPECT_EQ(stored(), std::vector<DrawRecord>(history.begin(), history.begin() + 7));
    EXPECT_TRUE(serverErrors().empty());

    // While it runs, the file gets three more days, two of them unreadable, and half a record.
    std::vector<DrawRecord> file = history;
    file[7].datum = INFINITY; // 08.03.
    file[8].zahl5[2] = 12;    // 09.03.: no Plus 5 digit
    writeDraws(dir.file("server.new"), file);
    {
        std::ofstream tail(dir.file("server.new"), std::ios::binary | std::ios::app);
        tail << std::string(kRecordSize / 2, '\0');
    }
    std::filesystem::rename(dir.file("server.new"), dir.file("server.dat"));
    clock.set(kMar1 + 9 + 0.75); // 10.03.
    days.clear();
    update.runUpdate();
    EXPECT_EQ(statuses(), (std::vector<std::string>{
                              "08.03.2025 noch nicht verfügbar!",
                              "09.03.2025 noch nicht verfügbar!",
                              "Received " + std::to_string(drawAnswerText(file[9]).size()) + " bytes",
                          }));
    std::vector<DrawRecord> expected(history.begin(), history.begin() + 7);
    expected.push_back(history[9]);
    EXPECT_EQ(stored(), expected);
    const std::string name = "drawserver: " + dir.file("server.dat") + ": ";
    EXPECT_EQ(serverErrors(), (std::vector<std::string>{
                                  name + "Datensatz 8 (ab Byte 280) übersprungen: kein gültiges Datum (inf)",
                                  name + "Datensatz 9 (ab Byte 320) übersprungen: Plus 5-Ziffer 12 ist keine Ziffer",
                                  name + "die letzten 20 Bytes übersprungen: kein ganzer Datensatz",
                              }));
    EXPECT_FALSE(update.failed());
    expectIdle();
}

TEST_F(UpdateFixture, ServerLeavesOutUnreadableLinesOfAHistoryCsv) {
    std::ofstream csv(dir.file("server.csv"));
    csv << "date,n1,n2,n3,n4,n5,n6,n7,n8,n9,n10,n11,n12,n13,n14,n15,n16,n17,n18,n19,n20,plus5\n";
    for (size_t i = 3; i < history.size(); ++i) {
        const DrawRecord& r = history[i];
        const std::string date = formatDate(r.datum); // dd.mm.yyyy
        csv << (i == 5 ? "2025-02-30" : date.substr(6, 4) + "-" + date.substr(3, 2) + "-" + date.substr(0, 2));
        for (uint8_t n : r.zahl) csv << "," << (i == 7 && n == r.zahl[0] ? 0 : int(n));
        csv << ",";
        if (i != 4)
            for (uint8_t d : r.zahl5) csv << int(d);
        csv << "\n";
    }
    csv.close();
    serve({}, dir.file("server.csv"));
    update.runUpdate();
    DrawRecord withoutPlus5 = history[4];
    withoutPlus5.flags = kFlagNoPlus5;
    withoutPlus5.zahl5 = {};
    EXPECT_EQ(stored(), (std::vector<DrawRecord>{history[0], history[1], history[2], history[3], withoutPlus5,
                                                 history[6], history[8], history[9]}));
    const std::string name = "drawserver: " + dir.file("server.csv") + ": ";
    EXPECT_EQ(serverErrors(), (std::vector<std::string>{
                                  name + "Zeile 4 übersprungen: kein gültiges Datum: '2025-02-30'",
                                  name + "Zeile 6 übersprungen: Zahl 0 liegt nicht zwischen 1 und 70",
                              }));
}
