// "Tipps in den Warenkorb" against the stand-in template server: the dialog's contract, the cart
// route ticket by ticket, its failures, and one booking per hand-over.
#include <gtest/gtest.h>

#include "app/Session.h"
#include "base/Text.h"
#include "core/submission/CartAddress.h"
#include "platform/qt/QtHttpClient.h"
#include "submission/ShopServer.h"
#include "support/TestSupport.h"
#include <filesystem>

using namespace zf;
using namespace zf::test;

namespace {

const double kDay = dateValue(2026, 3, 7) + 0.5;

struct WithHttp {
    QtHttpClient http;
};

struct HandOver : ::testing::Test, WithHttp, WithSession {
    HandOver() : WithSession(kDay, &http) {}
    TempDir dir;
    std::unique_ptr<tools::DrawServerProcess> server;
    std::vector<double> booked;
    SubmissionController& c = session.submission;
    const StakeBooking playersHook = session.submission.stakeBooking; // the session's own, before a test's

    void SetUp() override {
        m.home = dir.path();
        m.proxyPort = "80";
        m.feeText = "0,20";
        m.plus5 = true;
        m.plus5Ticket = {0, 1, 2, 3, 4, 5};
        m.on(Opt::WriteProtocol) = true;
        m.cart.partnerCode = "AbCdEfGhIjKlMnOpQ";
        m.cart.partnerNumber = "123456";
        m.cart.siteNumber = "54321";
        m.cart.cartServer = "https://shop.test/";
        m.cart.redirectServer = "https://partner.test/";
        writeDraws(dir.file("Keno.dat"), {draw(2020, 1, 6, 1, {1, 2, 3, 4, 5}), draw(2020, 1, 7, 9, {4, 7, 1, 1, 0})});
        c.stakeBooking = [this](double cost) { booked.push_back(cost); };
        prompter.gameChoice = GameChoice::Cart;
    }
    void serve(std::vector<std::string> args = {}) {
        args.insert(args.end(), {"--log", dir.file("server.log")});
        server = startShopServer(args);
        m.cart.templateServer = server->url();
    }
    void tips(int n) {
        m.tipLines.clear();
        for (int i = 0; i < n; ++i)
            m.tipLines.push_back(formatTwo(i + 1) + "," + formatTwo(i + 11) + "," + formatTwo(i + 21));
    }
    static std::string formatTwo(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }
    std::string copy(int n) const { return contents(dir.path() + "Tipps/20260307_" + std::to_string(n) + ".kcs"); }
};

} // namespace

TEST_F(HandOver, ThreeTicketsEachSavedAndOpenedThenOneBooking) {
    serve();
    tips(12);
    m.stakeItem = 1; // 2 EUR
    std::vector<int> shownNumbers;
    prompter.onGameOptions = [&](GameOptions& o, GameOptionsActions&) {
        EXPECT_EQ(o.tips, 12);
        EXPECT_TRUE(o.plus5);
        EXPECT_EQ(o.stakeText, "2 EUR");
        EXPECT_EQ(o.costText(), "26,45 €"); // 12 × 2 × 1 + 0,20 + 3 × 0,75
        o.durationItem = 7;                 // 14 draws
        o.durationText = "14 Ziehungen";
        o.computeCost();
        shownNumbers.push_back(o.ticketNumber());
        return GameChoice::Cart;
    };
    EXPECT_TRUE(c.handOver());
    EXPECT_EQ(prompter.messages, std::vector<std::string>{});
    ASSERT_EQ(shell.opened.size(), 3u);
    EXPECT_EQ(shownNumbers, std::vector<int>{12345});
    // the first ticket as the template server's template made it, encoded behind the partner redirect
    const std::string first = "https%3A%2F%2Fshop.example.invalid%2Flotto%2Fwarenkorb2.asp%3Flos%3D12345%26plus5%3D1"
                              "%26anzahl%3D14%26einsatz%3D200%26k1%3D1,11,21%26k2%3D2,12,22%26k3%3D3,13,23"
                              "%26k4%3D4,14,24%26k5%3D5,15,25";
    EXPECT_EQ(shell.opened[0], "https://partner.test/click.asp?ref=123456&site=54321&type=text&tnb=60&diurl=" + first);
    EXPECT_EQ(copy(1), first + "\r\n");
    EXPECT_NE(copy(2).find("k1%3D6,16,26"), std::string::npos);
    EXPECT_NE(copy(3).find("k2%3D12,22,32%26k3%3D%26k4%3D%26k5%3D\r\n"), std::string::npos); // the third: two tips
    EXPECT_EQ(copy(3).find("los%3D12345"), std::string::npos);                               // a new ticket number
    EXPECT_EQ(requestLog(dir.file("server.log")),
              std::vector<std::string>{"/lotto/lotto.asp?Spiel=Keno&Wo=Lottoland&Tipps=5"});
    EXPECT_EQ(booked, std::vector<double>{12 * 2 * 14 + 0.20 + 3 * 0.75}); // once, the whole cost
    EXPECT_EQ(m.stakeItem, 1);
}

TEST_F(HandOver, DirectPortalAndEveryServerAnswer) {
    struct Case {
        std::vector<std::string> server;
        std::string opened;  // what the shell got first ("" for nothing)
        std::string message; // the start of the one message, if any
        bool booked;
    } cases[] = {
        {{"--status", "204"}, "https://shop.test/lotto/warenkorb2.asp?spielscheinnummer=12345", "", true},
        {{"--status", "500"}, "https://shop.test/lotto/warenkorb2.asp?spielscheinnummer=12345", "", true},
        {{"--answer", "message"}, dir.path() + "Meldung.htm", "", false},
        {{"--answer", "garbage"}, "", "Die Vorlage für den Warenkorb ist keine Internetadresse.", false},
        {{"--answer", "drop"}, "", "Die Vorlage für den Warenkorb konnte nicht geholt werden", false},
    };
    m.portal = kDirectPortal; // the cart address as it is, unencoded
    tips(2);
    for (const auto& cs : cases) {
        serve(cs.server);
        shell.opened.clear();
        prompter.messages.clear();
        booked.clear();
        c.handOver();
        const std::string what = cs.server.back();
        EXPECT_EQ(shell.opened.empty() ? "" : shell.opened[0].substr(0, cs.opened.size()), cs.opened) << what;
        EXPECT_EQ(prompter.messages.empty() ? "" : prompter.messages[0].substr(0, cs.message.size()), cs.message)
            << what;
        EXPECT_EQ(booked.size(), cs.booked ? 1u : 0u) << what;
        server.reset();
    }
    EXPECT_NE(contents(dir.path() + "Meldung.htm").find("Mitteilung"), std::string::npos);
}

TEST_F(HandOver, AnErrorEndsTheHandOverWithoutBooking) {
    serve();
    struct Case {
        const char* what;
        std::function<void()> setUp;
        size_t opened, saved;
        std::string message;
    } cases[] = {
        {"piece that is no number in the second ticket", [&] { tips(7), m.tipLines[6] = "05,x7,09"; }, 1, 1,
         "Die Tippzeile \"05,x7,09\" enthält etwas, das keine Zahl ist."},
        {"stake without a number",
         [&] {
             tips(3), prompter.onGameOptions = [](GameOptions& o, GameOptionsActions&) {
                 o.stakeItem = -1, o.stakeText = "EUR 5";
                 return GameChoice::Cart;
             };
         },
         0, 0, "Der Einsatz \"EUR 5\" beginnt nicht mit einem Betrag in Euro."},
        {"address too long", [&] { tips(3), m.cart.redirectServer = "https://p.test/" + std::string(2000, 'x'); }, 0, 0,
         "Die Adresse des Warenkorbs ist mit "},
        {"proxy port", [&] { tips(3), m.proxyHost = "proxy.test", m.proxyPort = "8o"; }, 0, 0,
         "Der Proxy-Port \"8o\" ist keine gültige Zahl."},
        {"dialog closed with Esc", [&] { tips(3), prompter.gameChoice = GameChoice::Abort; }, 0, 0, ""},
    };
    for (const auto& cs : cases) {
        SetUp();
        m.cart.templateServer = server->url();
        prompter.onGameOptions = nullptr;
        prompter.messages.clear();
        shell.opened.clear();
        booked.clear();
        std::filesystem::remove_all(dir.path() + "Tipps");
        cs.setUp();
        c.handOver();
        EXPECT_EQ(shell.opened.size(), cs.opened) << cs.what;
        size_t saved = 0;
        if (std::filesystem::exists(dir.path() + "Tipps"))
            for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path() + "Tipps")) ++saved;
        EXPECT_EQ(saved, cs.saved) << cs.what;
        EXPECT_EQ(prompter.messages.empty() ? "" : prompter.messages[0].substr(0, cs.message.size()), cs.message)
            << cs.what;
        EXPECT_TRUE(booked.empty()) << cs.what;
    }
}

TEST_F(HandOver, DialogContract) {
    tips(3);
    m.plus5Ticket = {0, 0, 0, 0, 0, 0}; // 00000 is replaced by a never-drawn number before the dialog
    m.random.setState(7);
    m.feeText = "0.20"; // no number: 0,25
    m.stakeItem = -1;   // no stake chosen: the first
    prompter.onGameOptions = [&](GameOptions& o, GameOptionsActions& a) {
        EXPECT_NE(o.ticketNumber(), 0);
        EXPECT_EQ(o.stakeItem, 0);
        EXPECT_DOUBLE_EQ(o.fee, 0.25);
        o.digits = {1, 2, 3, 4, 5};
        a.checkTicket(o); // drawn on 06.01.2020
        o.digits = {4, 7, 1, 1, 1};
        a.checkTicket(o);
        o.plus5 = false;
        return GameChoice::Abort;
    };
    EXPECT_FALSE(c.handOver());
    EXPECT_EQ(prompter.messages, (std::vector<std::string>{"Die Schein-Nummer wurde schon am 06.01.2020 bei Plus 5 "
                                                           "gezogen.",
                                                           "Wurde noch nie gezogen"}));
    EXPECT_FALSE(m.plus5); // copied back whatever the result
    EXPECT_EQ(m.plus5Ticket, (std::array<int, 6>{0, 4, 7, 1, 1, 1}));
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_TRUE(booked.empty());
}

// With the players' hook in place: one protocol line and one stake dialog for three tickets.
TEST_F(HandOver, OneProtocolLineAndOneStakeDialogPerHandOver) {
    serve();
    tips(12);
    c.stakeBooking = playersHook;
    EXPECT_TRUE(c.handOver());
    EXPECT_EQ(shell.opened.size(), 3u);
    EXPECT_EQ(prompter.stakeProposals, std::vector<std::string>{"14,45"}); // 12 × 1 + 0,20 + 3 × 0,75, once
    std::string protocol;
    ASSERT_TRUE(readFile(dir.path() + "lotto.prt", protocol));
    size_t lines = 0;
    for (size_t at = protocol.find("Tippschein abgegeben"); at != std::string::npos;
         at = protocol.find("Tippschein abgegeben", at + 1))
        ++lines;
    EXPECT_EQ(lines, 1u);
    EXPECT_NE(protocol.find("Einsatz: 14,45"), std::string::npos) << protocol;
}
