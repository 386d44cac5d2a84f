// The status mail text of every co-player with an address.
#include <gtest/gtest.h>

#include "base/GermanFormat.h"
#include "core/players/StatusMail.h"

using namespace zf;

namespace {

std::vector<std::string> tips(int n) {
    std::vector<std::string> t;
    for (int i = 1; i <= n; ++i) t.push_back(i == 1 ? "03,17,22,45,61,70" : "0" + std::to_string(i % 10) + ",20");
    return t;
}

} // namespace

TEST(StatusMail, TextLineByLine) {
    Ledger ledger;
    ledger.setCell(1, ColName, "Anna");
    ledger.setCell(1, ColBalance, "12,5");
    ledger.setCell(1, ColEmail, "anna@example.org");
    ledger.setCell(2, ColName, "Ohne Adresse");
    ledger.setCell(3, ColName, "Bernd");
    ledger.setCell(3, ColBalance, "-2,996");
    ledger.setCell(3, ColEmail, "b@example.org");
    const auto t = tips(7);
    // 7 tips, 5 per ticket: one ticket without heading; tips 6 and 7 are not in the mail.
    StatusMailInput in{&ledger, &t, 7, 5, dateValue(2024, 5, 15)}; // a Wednesday
    std::string error;
    const auto mails = statusMails(in, &error);
    ASSERT_EQ(mails.size(), 2u);
    EXPECT_EQ(mails[0].address, "anna@example.org");
    EXPECT_EQ(mails[0].name, "Anna");
    EXPECT_EQ(mails[0].subject, "Zahlfuchs - aktueller Stand");
    EXPECT_EQ(mails[0].body,
              (std::vector<std::string>{
                  "Hallo Anna,", " ",
                  "die neuen Zahlen für die nächste Ziehung und der aktuelle Stand auf deinem Zahlfuchs-Konto.", " ",
                  " ", "Zahlfuchs Tipp für Samstag 18.05.24", "~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~",
                  " 1. Tipp:  03,17,22,45,61,70", " 2. Tipp:  02,20", " 3. Tipp:  03,20", " 4. Tipp:  04,20",
                  " 5. Tipp:  05,20", " ", "Du hast ein Guthaben von 12,50 EUR"}));
    EXPECT_EQ(mails[1].row, 3);
    EXPECT_EQ(mails[1].body.front(), "Hallo Bernd,");
    EXPECT_EQ(mails[1].body.back(), "Du hast ein Guthaben von -3,00 EUR");
}

TEST(StatusMail, TicketsAndTipDates) {
    Ledger ledger;
    ledger.setCell(1, ColName, "Anna");
    ledger.setCell(1, ColEmail, "a@example.org");
    const auto t = tips(8);
    // 10 tips in tickets of 5, only 8 in the list: two headings, the second ticket lists 1 to 3.
    StatusMailInput in{&ledger, &t, 10, 5, dateValue(2024, 5, 16)}; // a Thursday: + 4
    const auto mails = statusMails(in, nullptr);
    ASSERT_EQ(mails.size(), 1u);
    const auto& b = mails[0].body;
    EXPECT_EQ(b[5], "Zahlfuchs Tipp für Montag 20.05.24");
    const std::vector<std::string> block(b.begin() + 7, b.end() - 1);
    EXPECT_EQ(block, (std::vector<std::string>{"1. Keno-Schein", " 1. Tipp:  03,17,22,45,61,70", " 2. Tipp:  02,20",
                                               " 3. Tipp:  03,20", " 4. Tipp:  04,20", " 5. Tipp:  05,20", " ",
                                               "2. Keno-Schein", " 1. Tipp:  06,20", " 2. Tipp:  07,20",
                                               " 3. Tipp:  08,20", " "}));
    EXPECT_EQ(b.back(), "Du hast ein Guthaben von 0,00 EUR");
}

TEST(StatusMail, ABalanceThatIsNoNumberSendsNothing) {
    Ledger ledger;
    ledger.setCell(1, ColName, "Anna");
    ledger.setCell(1, ColEmail, "a@example.org");
    ledger.setCell(2, ColName, "Bernd");
    ledger.setCell(2, ColBalance, "zehn");
    ledger.setCell(2, ColEmail, "b@example.org");
    const std::vector<std::string> t;
    std::string error;
    EXPECT_TRUE(statusMails({&ledger, &t, 5, 5, dateValue(2024, 5, 16)}, &error).empty());
    EXPECT_EQ(error, "Das Guthaben von \"Bernd\" (\"zehn\") ist keine Zahl; es wurde keine Email verschickt.");
}
