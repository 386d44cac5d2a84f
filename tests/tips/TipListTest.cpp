#include <gtest/gtest.h>

#include "app/Model.h"
#include "app/Session.h"
#include "app/draws/Browser.h"
#include "app/tips/TipListController.h"
#include "base/Text.h"
#include "core/evaluation/Winnings.h"
#include "core/tips/TipLine.h"
#include "platform/SystemClock.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

struct TipFixture : ::testing::Test, WithSession {
    TipFixture() : WithSession(dateValue(2026, 12, 10) + 0.4) {} // a Thursday
    TempDir dir;
    TipListController& tips = session.tips;

    void SetUp() override {
        m.home = dir.path();
        m.hitCheckOn = true;
        for (int i = 1; i <= 20; ++i) m.drawNumbers[static_cast<size_t>(i)] = i; // the draw holds 1..20
        writeDraws(dir.file("Keno.dat"), {draw(2021, 3, 5, 1)});
    }
    // The dialog answers OK after ticking exactly these numbers.
    void answerWith(std::vector<int> numbers) {
        prompter.onNumberDialog = [numbers](NumberChoice& f) {
            f.untickAll(BoxColour::Info);
            for (int n : numbers) f.ticked[static_cast<size_t>(n)] = true;
            return ModalResult::Ok;
        };
    }
};

} // namespace

TEST(TipLine, FormatAndSplit) {
    EXPECT_EQ(formatTipLine({3, 17, 22, 45, 61}), "03,17,22,45,61");
    EXPECT_EQ(splitPieces("03,17,"), (std::vector<std::string>{"03", "17", ""}));
    EXPECT_TRUE(splitPieces("").empty());
    EXPECT_TRUE(isTipLine(" 03, 17 "));
    for (const char* odd : {"x", "03,,04", "71", "0", "03;04", "123"}) EXPECT_FALSE(isTipLine(odd)) << odd;
}

TEST_F(TipFixture, AddInsertsBehindTheSelectionAndEditsIt) {
    answerWith({5, 9});
    tips.addTip(); // nothing selected: at the end
    EXPECT_EQ(m.tipLines, (std::vector<std::string>{"05,09"}));
    m.tipLines = {"01,02", "03,04"};
    tips.selectLine(0);
    answerWith({44, 7});
    tips.addTip();
    EXPECT_EQ(m.tipLines, (std::vector<std::string>{"01,02", "07,44", "03,04"}));
    EXPECT_EQ(m.hits, (std::vector<uint8_t>{2, 1, 2}));
    // Cancelled: the empty line disappears at the hit check.
    prompter.onNumberDialog = nullptr;
    tips.selectLine(2);
    tips.addTip();
    EXPECT_EQ(m.tipLines.size(), 3u);
    EXPECT_EQ(m.selectedTip, -1);
}

// Closing the dialog activates the window again, and each activation runs the hit check, which
// drops empty lines: the new tip must still go into the line inserted for it, not over the next tip.
TEST_F(TipFixture, AddInsertsEvenWhenTheWindowIsActivatedDuringTheDialog) {
    m.tipLines = {"01,02", "03,04", "05,06"};
    for (int round = 0; round < 3; ++round) {
        tips.selectLine(0);
        prompter.onNumberDialog = [this](NumberChoice& f) {
            session.app.activate(); // what the window does when the dialog gives the focus back
            f.untickAll(BoxColour::Info);
            for (int n : {9, 19}) f.ticked[static_cast<size_t>(n)] = true;
            return ModalResult::Ok;
        };
        tips.addTip();
    }
    EXPECT_EQ(m.tipLines, (std::vector<std::string>{"01,02", "09,19", "09,19", "09,19", "03,04", "05,06"}));
}

TEST_F(TipFixture, EditPreparesTheDialogAndKeepsTheKenoType) {
    m.tipLines = {"3,17,22"};
    m.num(Num::KenoType).pos = 2;
    tips.selectLine(0);
    NumberChoice seen;
    int shown = 0;
    prompter.onNumberDialog = [&](NumberChoice& f) {
        if (++shown == 1) {
            seen = f;
            return ModalResult::Ok; // three numbers for a tip of two: said, and shown again
        }
        EXPECT_EQ(f.tickedNumbers(), (std::vector<int>{3, 17, 22}));
        f.ticked[22] = false;
        return ModalResult::Ok;
    };
    tips.editTip();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(prompter.messages, std::vector<std::string>{"Gewählt sind 3 Zahlen, ein Tipp hat aber höchstens 2 "
                                                          "(\"Zahlen pro Tipp\"). Wählen Sie 1 Zahl ab."});
    EXPECT_EQ(m.tipLines[0], "03,17");
    EXPECT_EQ(seen.tickedNumbers(), (std::vector<int>{3, 17, 22}));
    EXPECT_TRUE(seen.randomVisible);
    EXPECT_FALSE(seen.computeVisible);
    EXPECT_EQ(seen.randomMax, 2);
    EXPECT_EQ(seen.colour[3], BoxColour::Yellow);
    EXPECT_TRUE(m.numberChoice.computeVisible);
    EXPECT_FALSE(m.numberChoice.randomVisible);
    EXPECT_EQ(m.numberChoice.caption, "Zahlen für Berechnung wählen");

    m.tipLines = {"05,x,07,99"}; // stops at the piece that is no number
    prompter.onNumberDialog = [&](NumberChoice& f) {
        seen = f;
        return ModalResult::Abort;
    };
    tips.selectLine(0);
    tips.editTip();
    EXPECT_EQ(seen.tickedNumbers(), std::vector<int>{5});
    EXPECT_EQ(m.tipLines[0], "05,x,07,99");
}

// "+" with more numbers ticked than the Keno type allows: a message and the dialog again with the
// choice as it was, never a tip cut short without a word.
TEST_F(TipFixture, AddWithTooManyNumbersSaysSo) {
    m.num(Num::KenoType).pos = 10;
    const std::vector<int> eleven = {1, 5, 9, 13, 17, 21, 25, 29, 33, 37, 41};
    const std::string told = "Gewählt sind 11 Zahlen, ein Tipp hat aber höchstens 10 (\"Zahlen pro Tipp\"). "
                             "Wählen Sie 1 Zahl ab.";
    struct Case {
        const char* name;
        ModalResult second; // how the dialog shown again is left
        std::vector<std::string> list;
    };
    const Case cases[] = {
        {"one taken off", ModalResult::Ok, {"01,02", "05,09,13,17,21,25,29,33,37,41"}},
        {"cancelled", ModalResult::Abort, {"01,02"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m.tipLines = {"01,02"};
        tips.selectLine(0);
        prompter.messages.clear();
        std::vector<std::vector<int>> shownWith;
        prompter.onNumberDialog = [&](NumberChoice& f) {
            if (shownWith.empty()) {
                f.untickAll(BoxColour::Info);
                for (int n : eleven) f.ticked[static_cast<size_t>(n)] = true;
                shownWith.push_back({});
                return ModalResult::Ok;
            }
            shownWith.push_back(f.tickedNumbers());
            f.ticked[1] = false;
            return c.second;
        };
        tips.addTip();
        ASSERT_EQ(shownWith.size(), 2u);
        EXPECT_EQ(shownWith[1], eleven); // the choice is kept for the second look
        EXPECT_EQ(prompter.messages, std::vector<std::string>{told});
        EXPECT_EQ(m.tipLines, c.list);
    }
}

TEST_F(TipFixture, EditOnAnEmptyListOrWithoutSelection) {
    answerWith({1, 2, 3});
    tips.editTip();
    EXPECT_EQ(m.tipLines, std::vector<std::string>{"01,02,03"});
    m.selectedTip = -1;
    tips.editTip();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0], "Wählen Sie zuerst einen Tipp aus");
}

TEST_F(TipFixture, DeleteOneAndDeleteAll) {
    m.tipLines = {"01", "02", "03"};
    tips.deleteTip(); // no selection: nothing
    EXPECT_EQ(m.tipLines.size(), 3u);
    tips.selectLine(1);
    tips.deleteTip();
    EXPECT_EQ(m.tipLines, (std::vector<std::string>{"01", "03"}));
    EXPECT_EQ(m.hits.size(), 2u);
    prompter.answers = {false, true};
    tips.deleteAll();
    EXPECT_EQ(m.tipLines.size(), 2u);
    tips.deleteAll();
    EXPECT_TRUE(m.tipLines.empty());
    EXPECT_TRUE(m.hits.empty());
    EXPECT_EQ(prompter.questions.back(), "Tipps löschen?");
    EXPECT_EQ(prompter.titles.back(), "Sollen alle Tipps gelöscht werden?");
}

TEST_F(TipFixture, TicketsStakeAndGesamtTipps) {
    m.tipLines.assign(10, "01");
    m.num(Num::TipsPerTicket).pos = 5;
    tips.selectLine(7);
    EXPECT_EQ(m.ticketLabel, "2.Schein");
    EXPECT_EQ(m.tipLabel, "3.Tipp");

    for (auto [typed, shown, upDown] : {std::tuple{"0", "500000", 120},
                                        {"", "500000", 120},
                                        {"0042", "42", 42},
                                        {"abc", "500000", 120},
                                        {"500001", "500000", 120},
                                        {"7", "7", 7}}) {
        EXPECT_EQ(tips.totalTipsTyped(typed), shown) << typed;
        EXPECT_EQ(m.num(Num::TotalTips).pos, upDown) << typed;
    }
    m.stakeItem = 3;
    tips.applyStake();
    EXPECT_EQ(m.price, 10 * 5 * 7);
}

TEST(Printout, GroupsTheListIntoTickets) {
    const double thursday = dateValue(2026, 12, 10);
    std::vector<std::string> twelve;
    for (int i = 1; i <= 12; ++i) twelve.push_back(formatTipLine({i, i + 1}));
    auto lines = printoutLines(twelve, 5, 5, thursday);
    ASSERT_EQ(lines.size(), 3u + 5 + 1);
    EXPECT_EQ(lines[0], "Zahlfuchs Tipp vom Donnerstag 10.12.26");
    EXPECT_EQ(lines[1], std::string(39, '~'));
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], " 1. Tipp:  01,02");
    EXPECT_EQ(lines[8], " ");

    lines = printoutLines(twelve, 12, 5, thursday);
    EXPECT_EQ(lines.size(), 3u + 5 + 1 + 5 + 1 + 2 + 1);
    EXPECT_EQ(lines[15], " 1. Tipp:  11,12");

    lines = printoutLines({"01", "02", "03"}, 10, 5, thursday);
    EXPECT_EQ(lines, (std::vector<std::string>{lines[0], lines[1], "", " 1. Tipp:  01", " 2. Tipp:  02",
                                               " 3. Tipp:  03", " ", " "}));
}

TEST_F(TipFixture, PrintWritesTippTxtAndOpensIt) {
    m.tipLines = {"01,02"};
    m.setTotalTips(1);
    tips.printTips();
    std::string text;
    ASSERT_TRUE(readFile(dir.file("Tipp.txt"), text));
    EXPECT_EQ(text, "Zahlfuchs Tipp vom Donnerstag 10.12.26\r\n" + std::string(39, '~') +
                        "\r\n\r\n 1. Tipp:  01,02\r\n \r\n");
    EXPECT_EQ(shell.opened, std::vector<std::string>{dir.file("Tipp.txt")});
    EXPECT_EQ(m.status[1], "Ausdruck gespeichert in " + dir.file("Tipp.txt"));
    EXPECT_TRUE(prompter.messages.empty());
    // No program to open it: the user learns where the printout is.
    shell.succeeds = false;
    tips.printTips();
    EXPECT_EQ(prompter.messages,
              std::vector<std::string>{"Der Ausdruck wurde gespeichert, aber kein Programm konnte ihn öffnen:\n" +
                                       dir.file("Tipp.txt")});
}

TEST_F(TipFixture, TipFilesSaveAndLoad) {
    m.tipLines = {"01,02", "03,04"};
    m.browseDate = dateValue(2021, 3, 5);
    prompter.nextPath = dir.file("a.ktf");
    tips.saveTipFileAs();
    EXPECT_EQ(prompter.dialogs.back().proposedName, "20210306.ktf");
    EXPECT_EQ(prompter.dialogs.back().filter, "Tippdatei|*.ktf");
    std::string text;
    ASSERT_TRUE(readFile(dir.file("a.ktf"), text));
    EXPECT_EQ(text, "01,02\r\n03,04\r\n");

    EXPECT_EQ(m.status[1], "Tipps gespeichert in " + dir.file("a.ktf"));

    // Mixed line ends, blanks, garbage and no final line end; "Ja" to "Tipps löschen?" replaces the list.
    ASSERT_TRUE(writeFileAtomic(
        dir.file("b.ktf"),
        "05,06\r07,08\n\n xx \r\n1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27\r\n09"));
    const std::vector<std::string> fileTips = {
        "05,06", "07,08", " xx ", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27", "09"};
    prompter.nextPath = dir.file("b.ktf");
    prompter.answers = {true};
    tips.openTipFile();
    EXPECT_EQ(m.tipLines, fileTips);
    EXPECT_EQ(m.totalTips(), 6); // lines loaded, before the hit check drops the blank one
    EXPECT_EQ(m.hits.size(), 5u);
    ASSERT_FALSE(prompter.messages.empty());
    EXPECT_EQ(prompter.messages.back().rfind("2 von 6 Zeilen", 0), 0u);

    // "Nein" keeps the list and puts the file's tips behind it.
    m.tipLines = {"01,02", "03,04"};
    prompter.answers = {false};
    tips.openTipFile();
    std::vector<std::string> both = {"01,02", "03,04"};
    both.insert(both.end(), fileTips.begin(), fileTips.end());
    EXPECT_EQ(m.tipLines, both);
    EXPECT_EQ(m.totalTips(), 8);

    prompter.nextPath = dir.file("fehlt.ktf");
    tips.openTipFile();
    EXPECT_EQ(m.tipLines.size(), 7u); // a failed load keeps the list
    EXPECT_NE(prompter.messages.back().find("kann nicht gelesen werden"), std::string::npos);
}

TEST(Winnings, ClassesAmountsAndTotal) {
    struct Case {
        std::vector<uint8_t> hits;
        int type, stake;
        std::string text;
    };
    const std::vector<Case> cases = {
        {{5, 3, 1, 3}, 5, 1, "Gewinne\n1 x  5er \t200\n2 x  3er \t8\n\n208€ ohne Gewähr"},
        {{4}, 4, 0, "Gewinne\n1 x  4er \t22\n\n22€ ohne Gewähr"},
        {{0}, 10, 2, "Gewinne\n1 x  0er \t10\n\n10€ ohne Gewähr"},
        {{0}, 7, 0, "Kein Gewinn!"},
        {{}, 10, 0, "Kein Gewinn!"},
        {{1, 1, 2}, 10, 0, "Kein Gewinn!"},
        {{10, 9}, 10, 0, "Gewinne\n1 x 10er \t100000\n1 x  9er \t1000\n\n101000€ ohne Gewähr"},
        {{6, 8, 7, 2}, 8, 0, "Gewinne\n1 x  8er \t10000\n1 x  7er \t100\n1 x  6er \t15\n\n10115€ ohne Gewähr"},
        {{2}, 2, 0, "Gewinne\n1 x  2er \t6\n\n6€ ohne Gewähr"},
    };
    for (const auto& c : cases) EXPECT_EQ(winningsText(c.hits, c.type, c.stake), c.text) << c.text;
    // 500000 tips of 10 euro with ten hits: far beyond 32 bits, still exact.
    EXPECT_EQ(winningsText(std::vector<uint8_t>(500000, 10), 10, 3),
              "Gewinne\n500000 x 10er \t500000000000\n\n500000000000€ ohne Gewähr");
}

TEST(TipFileText, EveryByteComesBackFromItsCharacter) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(byte)), byte) << "byte " << b;
    }
    // What a byte reads as: the code page's character, a C1 control for the five unassigned ones.
    const struct {
        std::string bytes, utf8;
    } reads[] = {
        {std::string(1, '\0'), std::string(1, '\0')},
        {"\x80", "\xE2\x82\xAC"},
        {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
        {"\x9F", "\xC5\xB8"},
        {"Gr\xFC\xDF", "Gr\xC3\xBC\xC3\x9F"},
        {"\xC3\x81", "\xC3\x83\xC2\x81"}, // "Á" written as UTF-8 by another program
    };
    for (const auto& r : reads) {
        EXPECT_EQ(cp1252ToUtf8(r.bytes), r.utf8) << r.bytes;
        EXPECT_EQ(utf8ToCp1252(r.utf8), r.bytes) << r.bytes;
    }
}

TEST(TipFileText, WhatTheCodePageLacksAndWhatIsNoUtf8) {
    const struct {
        std::string utf8, bytes;
    } writes[] = {
        {"\xE4\xB8\xAD", "?"},            // a character without a byte
        {"\xC2\x80", "?"},                // the C1 control of a byte that means "€"
        {"\xF0\x9F\x98\x80x", "?x"},      // beyond the basic plane
        {"a\377b", "a\377b"},             // no UTF-8: the byte stays
        {"\xC3", "\xC3"},                 // cut short
        {"\xC0\xAF", "\xC0\xAF"},         // overlong
        {"\xED\xA0\x80", "\xED\xA0\x80"}, // a surrogate
        {"\342\202A", "\342\202A"},       // a broken sequence
    };
    for (const auto& w : writes) EXPECT_EQ(utf8ToCp1252(w.utf8), w.bytes) << w.utf8;
}
