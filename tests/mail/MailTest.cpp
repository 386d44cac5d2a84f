// The mail dialog's sending against a real local SMTP server with STARTTLS and AUTH LOGIN: the message
// structures the server received, refused recipients, refused logins and TLS, the settings file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>

#include "base/Text.h"
#include "mail/MailController.h"
#include "mail/MimeMessage.h"
#include "platform/curl/CurlMailTransport.h"
#include "support/TestSupport.h"
#include "tools/drawserver/DrawServerProcess.h"

using namespace zf;
using namespace zf::test;

namespace {

struct SmtpServer {
    explicit SmtpServer(const std::string& out, std::vector<std::string> extra = {}) {
        std::vector<std::string> args{"--out", out};
        args.insert(args.end(), extra.begin(), extra.end());
        process = std::make_unique<tools::DrawServerProcess>(ZF_SMTPSERVER, args);
    }
    std::unique_ptr<tools::DrawServerProcess> process;
};

struct Mail : ::testing::Test, WithSession {
    Mail() : WithSession(dateValue(2024, 5, 15) + 0.5) {}
    TempDir dir, received;
    CurlMailTransport transport;
    MailController& mail = session.mail;
    std::unique_ptr<SmtpServer> server;

    void SetUp() override {
        m.home = dir.path();
        mail.setTransport(&transport);
        transport.timeoutSeconds = 10;
    }
    void start(std::vector<std::string> extra = {}) {
        server = std::make_unique<SmtpServer>(received.path(), std::move(extra));
        mail.ensureLoaded();
        MailDraft& d = mail.draft;
        d.host = "127.0.0.1";
        d.port = server->process->port();
        d.user = "alice";
        d.password = "geheim";
        d.verifyCertificate = false;
        d.fromAddress = "org@example.org";
        d.toAddress = "anna@example.org";
        d.toName = "Anna";
        d.subject = "Zahlfuchs - aktueller Stand";
        d.body = "Hallo Anna,\r\nGrüße";
    }
    // What the server noted about its n-th message, and the message itself.
    std::string note(int n = 1) const { return contents(received.file("msg" + std::to_string(n) + ".txt")); }
    std::string raw(int n = 1) const { return contents(received.file("msg" + std::to_string(n) + ".eml")); }
    bool nothingReceived() const { return !fileExists(received.file("msg1.txt")); }
    std::string statusText() const {
        std::string t;
        for (const auto& l : mail.statusLines) t += l + "\n";
        return t;
    }
};

} // namespace

TEST(MailText, HtmlConversionAndTypes) {
    EXPECT_EQ(htmlFromText("zwei Wörter\r\n"), "<html><body>zwei &nbsp;Wörter\r\n<br></body></html>");
    const std::pair<const char*, const char*> types[] = {{"bild.jpg", "image/jpeg"},
                                                         {"B.GIF", "image/gif"},
                                                         {"a/b.c/datei", "application/octet-stream"},
                                                         {"x.unbekannt", "application/octet-stream"},
                                                         {"tipps.txt", "text/plain"},
                                                         {"brief.pdf", "application/pdf"}};
    for (const auto& [file, type] : types) EXPECT_EQ(mimeTypeForFile(file), type) << file;
    EXPECT_EQ(addressList(" a@x.de, ,b@y.de "), (std::vector<std::string>{"a@x.de", "b@y.de"}));
    EXPECT_EQ(base64("geheim"), "Z2VoZWlt");
}

TEST_F(Mail, PlainBodyOnlyOverStartTlsWithLogin) {
    start();
    mail.draft.cc = "kopie@example.org";
    mail.draft.bcc = "blind@example.org";
    const SmtpResult r = mail.send();
    ASSERT_TRUE(r.sent) << r.error;
    EXPECT_TRUE(r.connected);
    EXPECT_EQ(note(), "from org@example.org\nrcpt anna@example.org\nrcpt kopie@example.org\nrcpt blind@example.org\n"
                      "tls 1\nauth alice\nstructure multipart/alternative(text/plain[charset=utf-8;8bit])\n");
    const std::string message = raw();
    EXPECT_NE(message.find("From: \"Orvane Software\" <org@example.org>\r\n"), std::string::npos);
    EXPECT_NE(message.find("To: \"Anna\" <anna@example.org>\r\n"), std::string::npos);
    EXPECT_NE(message.find("Cc: <kopie@example.org>\r\n"), std::string::npos);
    EXPECT_EQ(message.find("blind@example.org"), std::string::npos);
    EXPECT_NE(message.find("Disposition-Notification-To: \"Orvane Software\" <org@example.org>\r\n"),
              std::string::npos);
    EXPECT_NE(message.find("X-Mailer: Orvane Software\r\n"), std::string::npos);
    EXPECT_NE(message.find("Hallo Anna,\r\nGrüße\r\n"), std::string::npos);
    // The status lines, newest on top, tell the conversation without the password.
    EXPECT_EQ(mail.statusLines.front().rfind("Status: ", 0), 0u);
    EXPECT_NE(statusText().find("Status: 250"), std::string::npos);
    EXPECT_EQ(statusText().find("geheim"), std::string::npos);
    EXPECT_EQ(statusText().find(base64("geheim")), std::string::npos);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(Mail, AttachmentsMakeAMixedMessage) {
    start();
    ASSERT_TRUE(writeFileAtomic(dir.file("bild.jpg"), std::string("\xFF\xD8\xFF\x00jpeg", 8)));
    ASSERT_TRUE(writeFileAtomic(dir.file("Übersicht.gif"), "GIF89a"));
    struct Case {
        std::string html, attachments, structure;
        bool receipt;
    };
    const Case cases[] = {
        {"<p>Hallo</p>", dir.file("bild.jpg") + "\n" + dir.file("fehlt.png"),
         "multipart/mixed(multipart/alternative(text/plain[charset=utf-8;8bit],text/html[charset=utf-8;8bit]),"
         "image/jpeg[base64;attachment=bild.jpg])",
         true},
        {"<p>Hallo</p>", dir.file("Übersicht.gif"),
         "multipart/mixed(text/html[charset=utf-8;8bit],image/gif[base64;attachment=Übersicht.gif])", false},
    };
    int n = 0;
    for (const auto& c : cases) {
        mail.draft.htmlBody = c.html;
        mail.draft.attachments = c.attachments;
        mail.draft.readReceipt = c.receipt;
        if (n == 1) mail.draft.body.clear();
        ASSERT_TRUE(mail.send().sent);
        ++n;
        EXPECT_NE(note(n).find("structure " + c.structure + "\n"), std::string::npos) << note(n);
        EXPECT_EQ(raw(n).find("Disposition-Notification-To") != std::string::npos, c.receipt);
    }
}

TEST_F(Mail, ARefusedRecipientIsReportedAndTheOthersAreServed) {
    start({"--refuse", "weg@example.org"});
    mail.draft.cc = "weg@example.org, kopie@example.org";
    const SmtpResult r = mail.send();
    EXPECT_TRUE(r.sent);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].rfind("ERROR:550 5.1.1 Empfaenger unbekannt: weg@example.org", 0), 0u);
    EXPECT_NE(note().find("rcpt anna@example.org\nrcpt kopie@example.org\ntls"), std::string::npos);
}

// What goes wrong on the way: nothing arrives, the status memo and a message box say why.
TEST_F(Mail, FailuresAreReportedAndNothingIsSent) {
    struct Case {
        std::vector<std::string> server;
        std::function<void(MailDraft&)> change;
        std::string reason;
        bool connected;
    };
    const Case cases[] = {
        {{}, [](MailDraft& d) { d.password = "falsch"; }, "Der SMTP-Server hat die Anmeldung abgelehnt", true},
        {{"--refuse-starttls"}, [](MailDraft&) {}, "Der SMTP-Server lehnt die verschlüsselte Verbindung ab", true},
        {{}, [](MailDraft& d) { d.verifyCertificate = true; }, "Die verschlüsselte Verbindung zum SMTP-Server", true},
        {{"--hang-up", "anna@example.org"}, [](MailDraft&) {}, "", true},
        {{},
         [](MailDraft& d) { d.attachments = "/proc/self/mem"; },
         "Der Anhang /proc/self/mem kann nicht gelesen",
         false},
    };
    for (const auto& c : cases) {
        prompter.messages.clear();
        start(c.server);
        c.change(mail.draft);
        const SmtpResult r = mail.send();
        EXPECT_FALSE(r.sent) << c.reason;
        EXPECT_EQ(r.connected, c.connected) << c.reason;
        EXPECT_TRUE(nothingReceived()) << c.reason;
        ASSERT_FALSE(prompter.messages.empty()) << c.reason;
        EXPECT_NE(prompter.messages.back().find(c.reason), std::string::npos) << prompter.messages.back();
        EXPECT_EQ(mail.statusLines.front(), "ERROR: " + r.error);
        EXPECT_EQ(statusText().find("falsch"), std::string::npos);
    }
}

TEST_F(Mail, WithoutStartTlsOnOfferTheMailGoesPlain) {
    start({"--no-starttls"});
    ASSERT_TRUE(mail.send().sent);
    EXPECT_NE(note().find("tls 0\n"), std::string::npos);
}

// The settings file beside the program: only its owner may read it; an older file without the
// certificate switch keeps the unchecked connection, a new one checks.
TEST_F(Mail, SettingsFile) {
    mail.ensureLoaded();
    EXPECT_TRUE(mail.draft.verifyCertificate);
    mail.draft.host = "smtp.example.org";
    mail.draft.password = "geheim";
    ASSERT_TRUE(mail.saveSettings());
    struct stat st {};
    ASSERT_EQ(::stat(mail.settingsPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(contents(mail.settingsPath()), "[SMTP]\r\nHost=smtp.example.org\r\nUser=\r\nPass=geheim\r\n"
                                             "CheckCertificate=1\r\n\r\n[MAIL]\r\nFrom=\r\nTo=\r\nCC=\r\n");
    const MailSettings old = parseMailSettings("[SMTP]\nHost=h\nPass=p\n[MAIL]\nFrom=f@x.de\nCC=c@x.de\n");
    EXPECT_EQ(old, (MailSettings{"h", "", "p", "f@x.de", "", "c@x.de", false}));
}

TEST_F(Mail, StatusMailToEveryPlayerDirectly) {
    start({"--refuse", "bernd@example.org"});
    PlayersController& players = session.players;
    players.setCell(1, ColName, "Anna");
    players.setCell(1, ColBalance, "12,5");
    players.setCell(1, ColEmail, "anna@example.org");
    players.setCell(2, ColName, "Ohne");
    players.setCell(3, ColName, "Bernd");
    players.setCell(3, ColEmail, "bernd@example.org");
    m.tipLines = {"03,17,22,45,61,70"};
    m.num(Num::TipsPerTicket).pos = 1;
    m.setTotalTips(1);
    m.drawDate = dateValue(2024, 5, 15);
    const auto outcomes = mail.sendStatusMails(true);
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_TRUE(outcomes[0].sent);
    EXPECT_FALSE(outcomes[1].sent);
    ASSERT_EQ(prompter.messages.size(), 1u); // the summary only
    EXPECT_EQ(
        prompter.messages[0].rfind("1 von 2 Emails wurden gesendet.\nNicht gesendet:\nBernd (bernd@example.org): ", 0),
        0u);
    const std::string message = raw(1);
    EXPECT_NE(message.find("Hallo Anna,\r\n \r\n"), std::string::npos);
    EXPECT_NE(message.find(" 1. Tipp:  03,17,22,45,61,70\r\n"), std::string::npos);
    EXPECT_NE(message.find("Du hast ein Guthaben von 12,50 EUR"), std::string::npos);
    EXPECT_EQ(message.find("Bernd"), std::string::npos);
    EXPECT_NE(message.find("Subject: Zahlfuchs - aktueller Stand\r\n"), std::string::npos);
}
