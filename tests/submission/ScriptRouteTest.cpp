// The click-script route: finding Klicker, the script dialog, the filled scripts handed over by the
// DDE conversation (a local socket a stand-in Klicker listens on) or by starting the executable.
#include <QLocalServer>
#include <QLocalSocket>
#include <filesystem>
#include <gtest/gtest.h>

#include "app/Session.h"
#include "base/Text.h"
#include "platform/qt/QtDdeClient.h"
#include "platform/qt/QtHttpClient.h"
#include "platform/qt/QtShell.h"
#include "submission/ShopServer.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;
namespace fs = std::filesystem;

namespace {

const double kDay = dateValue(2026, 3, 7) + 0.5;
const std::string kUserKey = "HKEY_CURRENT_USER\\SOFTWARE\\Orvane\\Klicker";

struct WithClients {
    TempDir sockets;
    QtHttpClient http;
    QtDdeClient dde{sockets.path(), 300};
};

// A stand-in Klicker: listens on the conversation's socket and collects what it was sent.
struct StandInKlicker {
    QLocalServer server;
    explicit StandInKlicker(const std::string& folder) {
        server.listen(QString::fromStdString(folder + QtDdeClient::socketName("klicker", "ddeklicker")));
    }
    std::vector<std::string> received() {
        std::vector<std::string> out;
        while (server.waitForNewConnection(200)) {
            QLocalSocket* s = server.nextPendingConnection();
            QByteArray all;
            while (s->waitForReadyRead(200)) all += s->readAll();
            all += s->readAll();
            out.emplace_back(all.constData(), static_cast<size_t>(all.size()));
        }
        return out;
    }
};

struct ScriptRoute : ::testing::Test, WithClients, WithSession {
    ScriptRoute() : WithSession(kDay, &http, &dde) {}
    TempDir dir;
    std::vector<double> booked;
    SubmissionController& c = session.submission;
    std::string exe;

    void SetUp() override {
        m.home = dir.path();
        m.tipLines.clear();
        m.plus5 = true;
        m.plus5Ticket = {0, 1, 2, 3, 4, 5};
        m.on(Opt::WriteProtocol) = true;
        m.num(Num::KenoType).set(6);
        m.num(Num::TipsPerTicket).set(5);
        for (int i = 0; i < 7; ++i) {
            std::string line;
            for (int n = 1; n <= 6; ++n) line += (n > 1 ? "," : "") + two(i * 6 + n);
            m.tipLines.push_back(line);
        }
        writeDraws(dir.file("Keno.dat"), {draw(2020, 1, 6, 1)});
        fs::create_directories(dir.path() + "Script");
        ASSERT_TRUE(writeFileAtomic(dir.path() + "Script/Lotto_de_KENO.kcs",
                                    "A=[Z1_1] [Z6_1] [Z7_1] [Z1_5]\r\n"
                                    "B=[LOS1][LOS2][LOS3][LOS4][LOS5] [PLUS5]\r\n"));
        fs::create_directories(dir.path() + "Klicker");
        exe = dir.path() + "Klicker/Klicker.exe";
        ASSERT_TRUE(writeFileAtomic(exe, "stand-in"));
        store.createKey(kUserKey);
        store.set(kUserKey + "\\Settings", "Path", RegValue::ofString(dir.path() + "Klicker"));
        store.set(kUserKey, "KenoText2", RegValue::ofString("pa\"ss wort"));
        store.set(kUserKey, "KenoScript", RegValue::ofString(""));
        c.scriptState = ScriptDialogState{};
        c.stakeBooking = [this](double cost) { booked.push_back(cost); };
        prompter.gameChoice = GameChoice::Klicker;
    }
    static std::string two(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }
    std::string script(int n) const { return dir.path() + "Tipps/20260307_" + std::to_string(n) + ".kcs"; }
};

} // namespace

TEST_F(ScriptRoute, EveryTicketThroughTheConversation) {
    StandInKlicker klicker(sockets.path());
    std::vector<int> numbers;
    prompter.onGameOptions = [&](GameOptions& o, GameOptionsActions&) {
        o.stakeItem = 2;
        o.stakeText = "5 EUR";
        o.computeCost();
        return GameChoice::Klicker;
    };
    prompter.onScriptDialog = [&](ScriptDialogState& st) {
        EXPECT_EQ(st.templatePath, dir.path() + "Script/Lotto_de_KENO.kcs");
        EXPECT_EQ(st.templateList, std::vector<std::string>{dir.path() + "Script/Lotto_de_KENO.kcs"});
        EXPECT_EQ(st.text2, "pa\"ss wort");
        st.zahl1 = "0";
        st.text1 = "ich";
        return true;
    };
    EXPECT_TRUE(c.handOver());
    EXPECT_EQ(klicker.received(), (std::vector<std::string>{std::string("SCRIPT\r\n") + script(1) + "\r\n" + '\0',
                                                            std::string("SCRIPT\r\n") + script(2) + "\r\n" + '\0'}));
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_EQ(prompter.messages, std::vector<std::string>{"Wenn der erste Schein abgegeben ist, klicken Sie auf OK!"});
    EXPECT_EQ(contents(script(1)), "A=01 06 71 25\r\nB=12345 JA\r\n");
    const std::string second = contents(script(2));
    EXPECT_EQ(second.substr(0, 17), "A=31 36 71 71\r\nB="); // the sixth and the seventh tip
    EXPECT_EQ(second.find("12345"), std::string::npos);     // a new ticket number for the second ticket
    EXPECT_EQ(booked, std::vector<double>{7 * 5 + 0.20 + 2 * 0.75});
    EXPECT_EQ(m.stakeItem, 2);
    EXPECT_EQ(store.get(kUserKey, "KenoText1")->str, "ich");
    EXPECT_EQ(store.get(kUserKey, "KenoScript")->str, dir.path() + "Script/Lotto_de_KENO.kcs");
}

TEST_F(ScriptRoute, WithoutAConversationKlickerIsStartedWithQuotedArguments) {
    EXPECT_TRUE(c.handOver());
    ASSERT_EQ(shell.opened.size(), 2u);
    const std::string expected = exe + " START \"" + script(1) + "\" \"0\" \"\" \"0\" \"pa\"\"\"ss wort\"";
    EXPECT_EQ(shell.opened[0], expected);
    // The launcher reads the line back into the same arguments: the empty TEXT1 and the quote inside TEXT2.
    const QStringList args = QtShell::splitParameters(QString::fromStdString(shell.opened[1].substr(exe.size() + 1)));
    EXPECT_EQ(args, (QStringList{"START", QString::fromStdString(script(2)), "0", "", "0", "pa\"ss wort"}));
    EXPECT_EQ(QtShell::splitParameters("a  \"b c\"\"\"\" \"\" d\"\"\"e"), (QStringList{"a", "b c\"", "", "d\"e"}));
    EXPECT_EQ(booked.size(), 1u);
}

TEST_F(ScriptRoute, RefusalsAndErrorsBookNothing) {
    struct Case {
        const char* what;
        std::function<void()> setUp;
        std::vector<std::string> titles, messages;
        size_t scripts;
    } cases[] = {
        {"dialog cancelled", [&] { prompter.scriptOk = false; }, {}, {}, 0},
        {"registered executable missing", [&] { fs::remove(exe); }, {"Klicker jetzt installieren?"}, {}, 0},
        {"template unreadable",
         [&] {
             prompter.onScriptDialog = [&](ScriptDialogState& st) {
                 st.templatePath = dir.path() + "Script/fehlt.kcs";
                 return true;
             };
         },
         {},
         {"Die Script-Vorlage \"" + dir.path() + "Script/fehlt.kcs\" kann nicht gelesen werden (Die Datei " +
          dir.path() + "Script/fehlt.kcs kann nicht gelesen werden: Datei oder Ordner nicht gefunden)."},
         0},
        {"bad tip line in the second ticket",
         [&] { m.tipLines[5] = "01,0x,03"; },
         {},
         {"Wenn der erste Schein abgegeben ist, klicken Sie auf OK!",
          "Die Tippzeile \"01,0x,03\" enthält etwas, das keine Zahl ist."},
         1},
    };
    for (const auto& cs : cases) {
        fs::remove_all(dir.path() + "Tipps");
        SetUp();
        prompter.scriptOk = true;
        prompter.onScriptDialog = nullptr;
        prompter.titles.clear();
        prompter.messages.clear();
        prompter.answers = {false};
        booked.clear();
        cs.setUp();
        EXPECT_FALSE(c.handOver()) << cs.what;
        EXPECT_EQ(prompter.titles, cs.titles) << cs.what;
        EXPECT_EQ(prompter.messages, cs.messages) << cs.what;
        size_t n = 0;
        if (fs::exists(dir.path() + "Tipps"))
            for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path() + "Tipps")) ++n;
        EXPECT_EQ(n, cs.scripts) << cs.what;
        EXPECT_TRUE(booked.empty()) << cs.what;
    }
}

TEST_F(ScriptRoute, NotInstalledOffersTheDownload) {
    store = MemorySettingsStore(); // no registry entry; the fallback beside the program folder is missing
    prompter.answers = {true};
    m.klickerDownload = "https://klicker.test/";
    EXPECT_FALSE(c.handOver());
    EXPECT_EQ(prompter.questions, std::vector<std::string>{"Orvanes Klicker installieren?"});
    EXPECT_EQ(shell.opened, std::vector<std::string>{"https://klicker.test/dateien/klickerp.exe"});
    EXPECT_TRUE(booked.empty());

    // found beside a program folder under "Orvane"
    const std::string home = dir.path() + "orvane/Keno/";
    fs::create_directories(home);
    fs::create_directories(dir.path() + "orvane/Klicker");
    ASSERT_TRUE(writeFileAtomic(dir.path() + "orvane/Klicker/klicker.exe", "x"));
    m.home = home;
    EXPECT_EQ(c.findKlicker(), dir.path() + "orvane/Klicker/klicker.exe");
}

using KlickerRegistry = ScriptRoute;

// The values of the two registry keys: where Klicker lives (the local machine's key first), the
// template last used and the four script parameters, read before the dialog and written after it.
TEST_F(KlickerRegistry, EveryValueAsSpecified) {
    const std::string machineKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvane\\Klicker";
    store.createKey(machineKey);
    store.set(machineKey + "\\Settings", "Path", RegValue::ofString(dir.path() + "Maschine"));
    EXPECT_EQ(c.findKlicker(), dir.path() + "Maschine/Klicker.exe");
    store = MemorySettingsStore();
    store.createKey(kUserKey);
    store.set(kUserKey + "\\Settings", "Path", RegValue::ofString(dir.path() + "Klicker"));
    EXPECT_EQ(c.findKlicker(), exe);

    const std::string other = dir.path() + "Script/Anderes.kcs";
    ASSERT_TRUE(writeFileAtomic(other, "[LOS1]\r\n"));
    const struct {
        const char* name;
        std::string ScriptDialogState::*field;
        const char* stored; // none: absent, read as an empty text
        const char* typed;
    } values[] = {{"KenoScript", &ScriptDialogState::templatePath, nullptr, nullptr},
                  {"KenoZahl1", &ScriptDialogState::zahl1, "3", "5"},
                  {"KenoText1", &ScriptDialogState::text1, "ich", "du"},
                  {"KenoZahl2", &ScriptDialogState::zahl2, nullptr, "6"},
                  {"KenoText2", &ScriptDialogState::text2, "geheim", "offen"}};
    for (const auto& v : values)
        if (v.stored) store.set(kUserKey, v.name, RegValue::ofString(v.stored));
    prompter.onScriptDialog = [&](ScriptDialogState& st) {
        EXPECT_EQ(st.templatePath, dir.path() + "Script/Lotto_de_KENO.kcs"); // the default when none is stored
        for (const auto& v : values) {
            if (v.typed) {
                EXPECT_EQ(st.*v.field, v.stored ? v.stored : "") << v.name;
                st.*v.field = v.typed;
            }
        }
        st.templatePath = other;
        return true;
    };
    EXPECT_TRUE(c.handOver());
    EXPECT_EQ(store.get(kUserKey, "KenoScript"), RegValue::ofString(other));
    for (const auto& v : values) {
        if (v.typed) {
            EXPECT_EQ(store.get(kUserKey, v.name), RegValue::ofString(v.typed)) << v.name;
        }
    }
}

TEST_F(ScriptRoute, ScriptUpdateTakesOnlyANewerTemplate) {
    TempDir served;
    const std::string local = dir.path() + "Script/Lotto_de_KENO.kcs";
    ASSERT_TRUE(writeFileAtomic(served.path() + "Lotto_de_KENO.kcs.txt", "NEU [LOS1]\r\n"));
    auto server = startShopServer({"--scripts", served.path(), "--log", dir.file("server.log")});
    m.scriptServer = server->url();

    fs::last_write_time(local, fs::file_time_type::clock::now() + std::chrono::hours(1)); // local is newer
    c.updateScript(local);
    EXPECT_NE(contents(local).find("[Z1_1]"), std::string::npos);
    fs::last_write_time(local, fs::file_time_type::clock::now() - std::chrono::hours(1)); // served is newer
    c.updateScript(local);
    EXPECT_EQ(contents(local), "NEU [LOS1]\r\n");
    EXPECT_EQ(requestLog(dir.file("server.log")), std::vector<std::string>{"/scripts/Lotto_de_KENO.kcs.txt"});
    c.updateScript(dir.path() + "Script/fehlt.kcs"); // no local file: nothing asked, nothing said
    EXPECT_EQ(requestLog(dir.file("server.log")).size(), 1u);
    EXPECT_TRUE(prompter.messages.empty());
}
