// zahlfuchs-cli mail-status: the status mails printed, and sent with --send through the stored settings.
#include <gtest/gtest.h>

#include <memory>

#include "base/Text.h"
#include "core/players/PlayersFile.h"
#include "support/TestSupport.h"
#include "tools/drawserver/DrawServerProcess.h"

using namespace zf;
using namespace zf::test;

namespace {

struct CliMail : ::testing::Test {
    TempDir dir, received;
    CommandResult run(const std::string& args) {
        return runCommand(std::string(ZF_CLI) + " --home " + dir.path() + " --settings " + dir.file("s.reg") +
                          " --date 15.05.2024 --set UpDown8=2 --set UpDown9=2 " + args + " 2>&1");
    }
    void SetUp() override {
        writeDraws(dir.file("Keno.dat"), {draw(2024, 5, 15, 5)});
        ASSERT_TRUE(writeTextLines(dir.file("tipps.txt"), {"03,17,22,45,61,70", "01,02,03,04,05,06"}));
        std::string bytes;
        ASSERT_FALSE(encodePlayers({{"Anna", "2", "12,5", "0", "0", "anna@example.org"},
                                    {"Ohne", "1", "0", "0", "0", ""},
                                    {"Bernd", "1", "-3", "0", "0", "bernd@example.org"}},
                                   {}, bytes));
        ASSERT_TRUE(writeFileAtomic(dir.file("lotto.spl"), bytes));
    }
    static std::string mailBlock(const std::string& name, const std::string& address, const std::string& balance) {
        return "to;" + address + ";" + name + "\nsubject;Zahlfuchs - aktueller Stand\nHallo " + name +
               ",\n \ndie neuen Zahlen für die nächste Ziehung und der aktuelle Stand auf deinem Zahlfuchs-Konto.\n"
               " \n \nZahlfuchs Tipp für Samstag 18.05.24\n~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~\n"
               " 1. Tipp:  03,17,22,45,61,70\n 2. Tipp:  01,02,03,04,05,06\n \nDu hast ein Guthaben von " +
               balance + " EUR\nend\n";
    }
};

} // namespace

TEST_F(CliMail, PrintsEveryMailAndSendsWithSend) {
    auto r = run("mail-status");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, mailBlock("Anna", "anna@example.org", "12,50") + mailBlock("Bernd", "bernd@example.org", "-3,00"));

    tools::DrawServerProcess server(ZF_SMTPSERVER, {"--out", received.path(), "--refuse", "bernd@example.org"});
    // "Host:Port" stands for another port than 25.
    const std::string ini = "[SMTP]\r\nHost=127.0.0.1:" + std::to_string(server.port()) +
                            "\r\nUser=alice\r\nPass=geheim\r\nCheckCertificate=0\r\n\r\n"
                            "[MAIL]\r\nFrom=org@example.org\r\nTo=\r\nCC=\r\n";
    ASSERT_TRUE(writeFileAtomic(dir.file("zahlfuchs.ini"), ini));
    r = run("mail-status --send");
    EXPECT_EQ(r.status, 1); // not every mail went out
    const std::string anna = mailBlock("Anna", "anna@example.org", "12,50") + "sent;OK\n";
    const std::string bernd = mailBlock("Bernd", "bernd@example.org", "-3,00") + "sent;";
    ASSERT_EQ(r.out.substr(0, anna.size() + bernd.size()), anna + bernd);
    EXPECT_NE(r.out.find("message;1 von 2 Emails wurden gesendet.\\nNicht gesendet:\\nBernd (bernd@example.org): "),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("geheim"), std::string::npos);
    EXPECT_NE(contents(received.file("msg1.txt")).find("rcpt anna@example.org\ntls 1\nauth alice\n"),
              std::string::npos);
    EXPECT_FALSE(fileExists(received.file("msg2.txt")));
    EXPECT_EQ(contents(dir.file("zahlfuchs.ini")), ini); // the batch program only reads the settings
}

// A players file whose address smuggles SMTP commands and whose name smuggles a header. The address is
// never handed to the server: the player is named in the summary and the others get their mails. The
// name stays a name. The server sees exactly one message, for the one intended recipient, and no
// line of the batch output is made by a player's text.
TEST_F(CliMail, AnAddressOrANameCannotBecomeProtocol) {
    const std::string probe = "n6@example.org>\r\nRCPT TO:<evil3@example.org>\r\nDATA\r\nSubject: injected\r\n\r\n"
                              "forged\r\n.\r\nNOOP <";
    std::string bytes;
    ASSERT_FALSE(encodePlayers({{"X\r\nBcc: evil1@example.org", "2", "12,5", "0", "0", "anna@example.org"},
                                {"Eve", "1", "0", "0", "0", probe}},
                               {}, bytes));
    ASSERT_TRUE(writeFileAtomic(dir.file("lotto.spl"), bytes));
    tools::DrawServerProcess server(ZF_SMTPSERVER, {"--out", received.path()});
    ASSERT_TRUE(writeFileAtomic(dir.file("zahlfuchs.ini"), "[SMTP]\r\nHost=127.0.0.1:" + std::to_string(server.port()) +
                                                               "\r\nUser=alice\r\nPass=geheim\r\nCheckCertificate=0\r\n"
                                                               "\r\n[MAIL]\r\nFrom=org@example.org\r\nTo=\r\nCC=\r\n"));
    const auto r = run("mail-status --send");
    EXPECT_EQ(r.status, 1);
    // Read from the shared file, the line breaks are shown as blanks.
    const std::string shown =
        "n6@example.org>  RCPT TO:<evil3@example.org>  DATA  Subject: injected    forged  .  NOOP <";
    const std::string why = "Die Email-Adresse ist ungültig; diese Email wurde nicht gesendet.";
    EXPECT_NE(r.out.find("to;anna@example.org;X  Bcc: evil1@example.org\nsubject;Zahlfuchs - aktueller Stand\n"
                         "Hallo X  Bcc: evil1@example.org,\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("end\nsent;OK\nto;" + shown + ";Eve\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("end\nsent;" + why + "\nmessage;1 von 2 Emails wurden gesendet.\\nNicht gesendet:\\nEve (" +
                         shown + "): " + why + "\n"),
              std::string::npos)
        << r.out;
    for (const char* forged : {"\nBcc", "\nRCPT", "\nDATA", "\nforged", "\n.\n"})
        EXPECT_EQ(r.out.find(forged), std::string::npos) << forged;

    EXPECT_EQ(contents(received.file("msg1.txt"))
                  .rfind("from org@example.org\nrcpt anna@example.org\ntls 1\nauth alice\n", 0),
              0u);
    EXPECT_NE(contents(received.file("msg1.headers")).find("\nTo: \"X  Bcc: evil1@example.org\" <anna@example.org>\n"),
              std::string::npos)
        << contents(received.file("msg1.headers"));
    EXPECT_FALSE(fileExists(received.file("msg2.txt")));
    EXPECT_EQ(contents(received.file("session.log")), "auth LOGIN tls 1\nrcpt anna@example.org tls 1\n");
}
