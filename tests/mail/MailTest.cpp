// The mail dialog's sending against a real local SMTP server with STARTTLS (or implicit TLS) and AUTH
// LOGIN: the message structures the server received, refused recipients, refused logins and TLS, names,
// addresses and subjects that try to become protocol, the settings file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "app/mail/MailController.h"
#include "base/Text.h"
#include "core/mail/MimeMessage.h"
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
    std::string out; // the running server's folder: every start gets a new one
    int starts = 0;
    void start(std::vector<std::string> extra = {}) {
        out = received.file(std::to_string(++starts));
        std::filesystem::create_directory(out);
        extra.insert(extra.end(), {"--cert-out", out + "/cert.pem"});
        server = std::make_unique<SmtpServer>(out, std::move(extra));
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
        d.cc.clear();
        d.bcc.clear();
        d.attachments.clear();
        d.subject = "Zahlfuchs - aktueller Stand";
        d.body = "Hallo Anna,\r\nGrüße";
    }
    // What the server noted about its n-th message, the message itself, and its headers as read.
    std::string note(int n = 1) const { return contents(out + "/msg" + std::to_string(n) + ".txt"); }
    std::string raw(int n = 1) const { return contents(out + "/msg" + std::to_string(n) + ".eml"); }
    std::string headers(int n = 1) const { return contents(out + "/msg" + std::to_string(n) + ".headers"); }
    bool nothingReceived() const { return !fileExists(out + "/msg1.txt"); }
    // Every recipient named and every login tried, with whether the connection was encrypted then.
    std::string sessionLog() const { return fileExists(out + "/session.log") ? contents(out + "/session.log") : ""; }
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

// One address and nothing more may reach the server's commands and the headers.
TEST(MailText, OnlyOneAddressIsAnAddress) {
    const char* good[] = {"anna@example.org",
                          "a.b+c-d@mail.example.de",
                          "\"Anna Meier\"@example.org",
                          "\"a,b;<c>\"@example.org",
                          "müller@bücher.de",
                          "x@[192.0.2.1]",
                          "x@localhost",
                          "o'neil@example.org"};
    for (const char* a : good) EXPECT_TRUE(isMailAddress(a)) << a;
    const std::string bad[] = {"",
                               "anna",
                               "@example.org",
                               "anna@",
                               "a@b@example.org",
                               "anna meier@example.org",
                               "<anna@example.org>",
                               "anna@example.org>",
                               "anna@example.org, bernd@example.org",
                               "anna@example.org;bernd@example.org",
                               "anna@example.org\r\nRCPT TO:<evil@example.org>",
                               "anna@example.org\n",
                               "an\tna@example.org",
                               "\"an\r\nna\"@example.org",
                               "\"anna@example.org",
                               "a..b@example.org",
                               ".anna@example.org",
                               "anna.@example.org",
                               "anna@-example.org",
                               "anna@example..org",
                               "anna@example.org.",
                               "an\xC2\xA0na@example.org",     // a no-break space
                               "an\xE2\x80\xA8na@example.org", // a line separator
                               "an\xFFna@example.org",
                               std::string(65, 'a') + "@example.org",
                               "anna@" + std::string(250, 'e') + ".org",
                               std::string("an\0na@example.org", 16)};
    for (const auto& a : bad) EXPECT_FALSE(isMailAddress(a)) << visibleText(a);
}

// The server field: a host with an optional port, "smtps://" or port 465 for TLS from the first byte;
// nothing that could change the address the library is given.
TEST(MailText, ServerField) {
    struct Case {
        const char* field;
        const char* host;
        int port;
        bool implicitTls;
    };
    const Case good[] = {{"smtp.example.org", "smtp.example.org", 25, false},
                         {" 127.0.0.1:2525 ", "127.0.0.1", 2525, false},
                         {"smtps://mail.example.org", "mail.example.org", 465, true},
                         {"SMTPS://mail.example.org:4650", "mail.example.org", 4650, true},
                         {"mail.example.org:465", "mail.example.org", 465, true},
                         {"smtp://mail.example.org:587", "mail.example.org", 587, false},
                         {"smtp://mail.example.org:465", "mail.example.org", 465, false},
                         {"[::1]:2525", "[::1]", 2525, false}};
    for (const auto& c : good) {
        std::string error;
        const auto s = parseSmtpServer(c.field, 25, &error);
        ASSERT_TRUE(s) << c.field << ": " << error;
        EXPECT_EQ(s->host, c.host);
        EXPECT_EQ(s->port, c.port) << c.field;
        EXPECT_EQ(s->implicitTls, c.implicitTls) << c.field;
    }
    const char* bad[] = {"",    "  ",           "host:0",    "host:x",   "host:70000",  "evil.example.org/path",
                         "a@b", "host\r\nQUIT", "two words", "host?x=1", "http://host", "[::1"};
    for (const char* field : bad) {
        std::string error;
        EXPECT_FALSE(parseSmtpServer(field, 25, &error)) << field;
        EXPECT_EQ(error.find("\r"), std::string::npos);
        EXPECT_FALSE(error.empty()) << field;
    }
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
        // An address that carries SMTP commands never reaches the server: no connection is made.
        {{},
         [](MailDraft& d) {
             d.toAddress = "n6@example.org>\r\nRCPT TO:<evil3@example.org>\r\nDATA\r\nSubject: injected\r\n\r\n"
                           "forged\r\n.\r\nNOOP <";
         },
         "Die Empfänger-Adresse (To-Email) \"n6@example.org>\\r\\nRCPT TO:<evil3@example.org>\\r\\nDATA",
         false},
        {{},
         [](MailDraft& d) { d.cc = "kopie@example.org\nRCPT TO:<evil@example.org>"; },
         "Die Kopie-Adresse (CC) \"kopie@example.org\\nRCPT TO:<evil@example.org>\" ist keine gültige Email-Adresse",
         false},
        {{},
         [](MailDraft& d) { d.bcc = "a@example.org; evil@example.org"; },
         "Die Blindkopie-Adresse (BCC) \"a@example.org; evil@example.org\"",
         false},
        {{},
         [](MailDraft& d) { d.fromAddress = "org@example.org> SIZE=1\r\nRCPT TO:<evil@example.org"; },
         "Die Absender-Adresse (From-Email)",
         false},
        {{},
         [](MailDraft& d) { d.fromAddress.clear(); },
         "Es ist keine Absender-Adresse (From-Email) eingetragen",
         false},
        {{},
         [](MailDraft& d) { d.host = "127.0.0.1/x\r\nQUIT"; },
         "Der SMTP-Server \"127.0.0.1/x\\r\\nQUIT\" ist kein gültiger Servername",
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
        EXPECT_EQ(sessionLog().find("evil"), std::string::npos) << sessionLog();
    }
}

// "Zertifikat prüfen" on: the conversation is encrypted before the login, by STARTTLS or from the first
// byte (smtps, port 465). A server without STARTTLS, or a network that strips it from the greeting,
// gets neither the password nor the mail; nor does one that refuses STARTTLS.
TEST_F(Mail, CheckedCertificateMeansEncryptedBeforeTheLogin) {
    struct Case {
        std::vector<std::string> server;
        bool implicitTls;
        std::string reason; // empty: sent
    };
    const Case cases[] = {
        {{}, false, ""},
        {{"--implicit-tls"}, true, ""},
        {{"--no-starttls"}, false, "Der SMTP-Server bietet keine verschlüsselte Verbindung (STARTTLS) an."},
        {{"--refuse-starttls"}, false, "Der SMTP-Server lehnt die verschlüsselte Verbindung ab"},
    };
    for (const auto& c : cases) {
        prompter.messages.clear();
        start(c.server);
        transport.caFile = out + "/cert.pem";
        mail.draft.verifyCertificate = true;
        if (c.implicitTls) mail.draft.host = "smtps://127.0.0.1:" + std::to_string(server->process->port());
        const SmtpResult r = mail.send();
        EXPECT_TRUE(r.connected) << c.reason;
        if (c.reason.empty()) {
            ASSERT_TRUE(r.sent) << r.error;
            EXPECT_NE(note().find("rcpt anna@example.org\ntls 1\nauth alice\n"), std::string::npos) << note();
            EXPECT_EQ(sessionLog(), "auth LOGIN tls 1\nrcpt anna@example.org tls 1\n");
        } else {
            EXPECT_FALSE(r.sent);
            EXPECT_TRUE(nothingReceived());
            EXPECT_EQ(sessionLog(), "") << c.reason; // no login was tried, no recipient named
            ASSERT_EQ(prompter.messages.size(), 1u);
            EXPECT_EQ(prompter.messages[0].rfind(c.reason, 0), 0u) << prompter.messages[0];
        }
    }
}

// "Zertifikat prüfen" off: a server without STARTTLS still gets the mail (and the login) unencrypted,
// an implicit-TLS server gets it encrypted with its certificate unchecked.
TEST_F(Mail, UncheckedCertificateKeepsThePlainFallback) {
    struct Case {
        std::vector<std::string> server;
        bool implicitTls;
        std::string log;
    };
    const Case cases[] = {
        {{"--no-starttls"}, false, "auth LOGIN tls 0\nrcpt anna@example.org tls 0\n"},
        {{"--implicit-tls"}, true, "auth LOGIN tls 1\nrcpt anna@example.org tls 1\n"},
    };
    for (const auto& c : cases) {
        start(c.server);
        if (c.implicitTls) mail.draft.host = "smtps://127.0.0.1:" + std::to_string(server->process->port());
        const SmtpResult r = mail.send();
        ASSERT_TRUE(r.sent) << r.error;
        EXPECT_EQ(sessionLog(), c.log);
    }
}

// Names, a subject and a body that try to add header lines or end the message: the server gets one
// message, for the intended recipient only, with exactly the builder's headers; a reader sees each
// name and the subject on one line, and the body as it was written.
TEST_F(Mail, HostileNamesAndSubjectStayInTheirHeaders) {
    start();
    struct Case {
        std::string fromName, toName, subject, shown; // `shown`: the headers as the server's reader decodes them
    };
    const Case cases[] = {
        {"Org\r\nReply-To: evil@example.org", "X\r\nBcc: evil1@example.org",
         "Stand\r\nBcc: evil2@example.org\r\n\r\nforged",
         "From: \"Org  Reply-To: evil@example.org\" <org@example.org>\n"
         "To: \"X  Bcc: evil1@example.org\" <anna@example.org>\n"
         "Subject: Stand  Bcc: evil2@example.org    forged\n"},
        {"Jörg \"Wirt\" Müller", "Anna\rBcc: evil1@example.org\x7F", "Grüße\nBcc: evil2@example.org",
         "From: \"Jörg \\\"Wirt\\\" Müller\" <org@example.org>\n"
         "To: \"Anna Bcc: evil1@example.org \" <anna@example.org>\n"
         "Subject: Grüße Bcc: evil2@example.org\n"},
        {"Org", "Anna",
         std::string(30, 'x') + " =?UTF-8?B?QmNj?= " + std::string(40, 'y') + "\t" + std::string(20, 'z'),
         "From: Org <org@example.org>\nTo: Anna <anna@example.org>\nSubject: " + std::string(30, 'x') +
             " =?UTF-8?B?QmNj?= " + std::string(40, 'y') + " " + std::string(20, 'z') + "\n"},
    };
    const std::string body = "Hallo X\r\nBcc: evil1@example.org,\r\n.\r\nRCPT TO:<evil3@example.org>\r\nDATA\r\n"
                             "--zf-\r\n";
    int n = 0;
    for (const auto& c : cases) {
        mail.draft.fromName = c.fromName;
        mail.draft.toName = c.toName;
        mail.draft.subject = c.subject;
        mail.draft.body = body;
        mail.draft.readReceipt = false;
        ASSERT_TRUE(mail.send().sent);
        ++n;
        EXPECT_EQ(note(n).substr(0, note(n).find("tls")), "from org@example.org\nrcpt anna@example.org\n");
        EXPECT_EQ(note(n).substr(note(n).find("structure")),
                  "structure multipart/alternative(text/plain[charset=utf-8;8bit])\n");
        EXPECT_EQ(headers(n),
                  "Date, From, To, Subject, X-Mailer, MIME-Version, Content-Type, Content-Transfer-Encoding\n" +
                      c.shown);
        EXPECT_NE(raw(n).find("\r\n\r\n" + body + "\r\n--zf-"), std::string::npos) << raw(n);
    }
    EXPECT_FALSE(fileExists(out + "/msg" + std::to_string(n + 1) + ".txt")); // no forged message
    EXPECT_EQ(sessionLog().find("evil"), std::string::npos) << sessionLog();
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
