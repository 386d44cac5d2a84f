#include <gtest/gtest.h>

#include "app/Model.h"
#include "app/settings/ControlCatalogue.h"
#include "app/settings/SettingsPersistence.h"
#include "app/settings/SettingsSchema.h"
#include "base/GermanFormat.h"
#include "base/Text.h"
#include "core/submission/CartAddress.h"
#include "core/submission/ClickScript.h"
#include "support/TestSupport.h"

using namespace zf;

namespace {

// "[MELDUNGFERTIG]" of both templates becomes this text.
const std::string kReady = "Bitte überprüfen Sie jetzt den Tipp und dann können Sie ihn abgeben!";

CartEndpoints endpoints() {
    return {
        "http://vorlage.test/", "https://shop.test", "https://partner.test/", "AbCdEfGhIjKlMnOpQ", "123456", "54321"};
}

} // namespace

TEST(CartAddress, EveryPlaceholderInItsOrder) {
    CartValues v;
    v.fields = {"3,7,12", "1,2", ""};
    v.plus5 = true;
    v.stakeText = "10 EUR";
    v.durationText = "14 Ziehungen";
    v.digits = {"0", "4", "7", "1", "1"};
    // "[KASTEN1]" is filled first, so a field text could never feed a later placeholder; a placeholder
    // beyond the ticket's fields stays.
    const std::string t = "[KASTEN1]|[KASTEN2]|[KASTEN3]|[KASTEN4]|[PLUS5]|[PREIS]|[ANZAHL]|[LOS1][LOS2][LOS3][LOS4]"
                          "[LOS5]|[MELDUNGFERTIG]|[kasten1]|[KASTEN1]";
    EXPECT_EQ(fillCartTemplate(t, v), "3,7,12|1,2||[KASTEN4]|1|1000|14|04711|" + kReady + "|[kasten1]|3,7,12");
    v.plus5 = false;
    v.stakeText = "1 EUR";
    v.durationText = "Dauer";
    EXPECT_EQ(fillCartTemplate("[PLUS5];[PREIS];[ANZAHL]", v), "0;100;Dauer");
}

TEST(CartAddress, FieldTextStakeAndDraws) {
    EXPECT_EQ(cartFieldText("03,07,12"), "3,7,12");
    EXPECT_EQ(cartFieldText("01,02,03,04,05,06,07,08,09,10,11"), "1,2,3,4,5,6,7,8,9,10"); // ten at most
    EXPECT_EQ(cartFieldText("0,5,6"), "");
    EXPECT_EQ(cartFieldText(""), "");
    EXPECT_EQ(cartFieldText("05,0,,06"), "5,6");
    EXPECT_EQ(cartFieldText("05,x7"), std::nullopt);
    EXPECT_EQ(cartFieldText("5a,07"), std::nullopt);

    EXPECT_EQ(stakeCents("1 EUR"), 100);
    EXPECT_EQ(stakeCents("2 EUR"), 200);
    EXPECT_EQ(stakeCents("10 EUR"), 1000);
    EXPECT_EQ(stakeCents(" 5"), 500);
    EXPECT_EQ(stakeCents("EUR 5"), std::nullopt);
    EXPECT_EQ(stakeCents("5,50 EUR"), std::nullopt);
    EXPECT_EQ(stakeCents(""), std::nullopt);

    EXPECT_EQ(drawsWord("14 Ziehungen"), "14");
    EXPECT_EQ(drawsWord("1 Ziehung"), "1");
    EXPECT_EQ(drawsWord("Dauerspiel"), "Dauerspiel");
}

TEST(CartAddress, BuiltInTemplateEncodingAndRedirect) {
    const CartEndpoints e = endpoints();
    EXPECT_EQ(builtInCartTemplate(e),
              "https://shop.test/lotto/warenkorb2.asp?spielscheinnummer=[LOS1][LOS2][LOS3][LOS4][LOS5]"
              "&plus5_teilnahme=[PLUS5]&anzahl_ziehungen=[ANZAHL]&einsatz=[PREIS]&is_dauerspiel=0"
              "&dauerspiel_name=0&kasten1=[KASTEN1]&kasten2=[KASTEN2]&kasten3=[KASTEN3]&kasten4=[KASTEN4]"
              "&kasten5=[KASTEN5]&redirect_warenkorb=1&mc=AbCdEfGhIjKlMnOpQ&ref=$ref$");
    EXPECT_EQ(templateRequestUrl(e, "Lottoland", 3),
              "http://vorlage.test/lotto/lotto.asp?Spiel=Keno&Wo=Lottoland&Tipps=3");
    EXPECT_EQ(partnerRedirectPrefix(e), "https://partner.test/click.asp?ref=123456&site=54321&type=text&tnb=60&diurl=");
    // "%" stays, so an encoded character is never encoded twice; brackets stay too.
    EXPECT_EQ(percentEncode("a=b:c$d&e/f?g%h[KASTEN4]"), "a%3Db%3Ac%24d%26e%2Ff%3Fg%h[KASTEN4]");
    EXPECT_EQ(percentEncode("https://x/y?a=1&r=$ref$"), "https%3A%2F%2Fx%2Fy%3Fa%3D1%26r%3D%24ref%24");
}

TEST(CartAddress, OnlyWebAddressesAreOpened) {
    EXPECT_TRUE(isWebAddress("https://shop.test/a?b=1"));
    EXPECT_TRUE(isWebAddress("  HTTP://shop.test/\r\n"));
    for (const char* bad : {"", "file:///etc/passwd", "/usr/bin/xterm", "C:\\Windows\\calc.exe", "http://",
                            "https://a\nhttps://b", "<html>Fehler</html>", "javascript:alert(1)"})
        EXPECT_FALSE(isWebAddress(bad)) << bad;
}

TEST(TicketFiles, SmallestFreeNumberOfTheDay) {
    test::TempDir dir;
    const double day = dateValue(2026, 3, 7);
    EXPECT_EQ(nextTicketFile(dir.path(), day), dir.path() + "20260307_1.kcs");
    ASSERT_TRUE(writeFileAtomic(dir.path() + "20260307_1.kcs", "x"));
    ASSERT_TRUE(writeFileAtomic(dir.path() + "20260307_3.kcs", "x"));
    ASSERT_TRUE(writeFileAtomic(dir.path() + "20260306_2.kcs", "x"));
    EXPECT_EQ(nextTicketFile(dir.path(), day), dir.path() + "20260307_2.kcs");
    EXPECT_EQ(nextTicketFile(dir.path(), day + 1), dir.path() + "20260308_1.kcs");
}

namespace {

std::string allScriptPlaceholders() {
    std::string t;
    for (int k = 1; k <= 5; ++k) {
        for (int n = 1; n <= 10; ++n) t += "[Z" + std::to_string(n) + "_" + std::to_string(k) + "]";
        t += "\n";
    }
    return t + "[TIPP24]";
}

} // namespace

TEST(ClickScript, NumbersAndPairsOfTheFirstAndTheLastTicket) {
    ScriptValues v;
    v.kenoType = 6;
    v.tipsPerTicket = 5;
    v.tipLines = {"01,02,03,04,05,06", "07,08,09,10,11,12", "13,14,15,16,17,18", "19,20,21,22,23,24",
                  "25,26,27,28,29,30"};
    auto filled = fillScript(allScriptPlaceholders(), v);
    ASSERT_TRUE(filled);
    auto lines = splitLines(*filled);
    EXPECT_EQ(lines[0], "010203040506717171"
                        "71");
    EXPECT_EQ(lines[4], "252627282930717171"
                        "71");
    size_t pairs = 0;
    for (size_t at = lines[5].find('&'); at != std::string::npos; at = lines[5].find('&', at + 1)) ++pairs;
    EXPECT_EQ(pairs, 30u);
    EXPECT_EQ(lines[5].substr(0, 40), "keno1_1=01&keno1_2=02&keno1_3=03&keno1_4");

    v.tipLines = {"31,32,33,34,35,36", "37,38,39,40,41,42"}; // the second ticket of seven tips
    filled = fillScript(allScriptPlaceholders(), v);
    ASSERT_TRUE(filled);
    lines = splitLines(*filled);
    EXPECT_EQ(lines[2], std::string(20, ' ').replace(0, 20, "71717171717171717171"));
    EXPECT_EQ(lines[5], "keno1_1=31&keno1_2=32&keno1_3=33&keno1_4=34&keno1_5=35&keno1_6=36&"
                        "keno2_1=37&keno2_2=38&keno2_3=39&keno2_4=40&keno2_5=41&keno2_6=42&");
}

TEST(ClickScript, EveryOtherPlaceholder) {
    ScriptValues v;
    v.kenoType = 10;
    v.tipsPerTicket = 3;
    v.tipLines = {"03,17,22"};
    v.plus5 = true;
    v.stakeText = "2 EUR";
    v.durationText = "7 Ziehungen";
    v.digits = {"9", "0", "1", "2", "3"};
    const auto filled = fillScript("[Z1_1] [Z3_1] [Z4_1] [Z1_2] [Z1_4]|[PLUS5]|[PLUS5ON]|[PREIS]|[LOS1][LOS2][LOS3]"
                                   "[LOS4][LOS5]|[ZIEHUNGEN]|[ZIEHUNG]|[MELDUNGFERTIG]|[TIPP24]",
                                   v);
    EXPECT_EQ(filled,
              "03 22 71 71 [Z1_4]|JA|on|2 EUR|90123|7 Ziehungen|7|" + kReady + "|keno1_1=03&keno1_2=17&keno1_3=22&");
    v.plus5 = false;
    EXPECT_EQ(fillScript("[PLUS5]|[PLUS5ON]", v), "NEIN|off");
    std::string bad;
    v.tipLines = {"03,17", "04,x5"};
    EXPECT_EQ(fillScript("[Z1_1]", v, &bad), std::nullopt);
    EXPECT_EQ(bad, "04,x5");
}

TEST(ClickScript, KeepsTheTemplatesEncoding) {
    const std::string utf8 = "Gr\xC3\xBC\xC3\x9F [LOS1]\nzwei";
    struct Case {
        std::string bytes;
        TextEncoding encoding;
    } cases[] = {
        {"Gr\xFC\xDF [LOS1]\r\nzwei", TextEncoding::Ansi},
        {"\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F [LOS1]\nzwei", TextEncoding::Utf8Bom},
        {std::string("\xFF\xFEG\0r\0\xFC\0\xDF\0 \0[\0L\0O\0S\0"
                     "1\0]\0\n\0z\0w\0e\0i\0",
                     34),
         TextEncoding::Utf16Le},
        {std::string("\xFE\xFF\0G\0r\0\xFC\0\xDF\0 \0[\0L\0O\0S\0"
                     "1\0]\0\n\0z\0w\0e\0i",
                     34),
         TextEncoding::Utf16Be},
    };
    for (const auto& c : cases) {
        const ScriptText t = decodeScript(c.bytes);
        EXPECT_EQ(t.encoding, c.encoding);
        EXPECT_EQ(splitLines(t.utf8), splitLines(utf8));
        // written back with CR LF after every line, in the same encoding
        EXPECT_EQ(decodeScript(encodeScript(t.utf8, t.encoding)).utf8, "Gr\xC3\xBC\xC3\x9F [LOS1]\r\nzwei\r\n");
        EXPECT_EQ(decodeScript(encodeScript(t.utf8, t.encoding)).encoding, c.encoding);
    }
    EXPECT_EQ(encodeScript("\xC3\xBC", TextEncoding::Ansi), "\xFC\r\n");
}

TEST(ClickScript, KlickerCommandLineAndPath) {
    EXPECT_EQ(klickerCommand("/a/Tipps/20260307_1.kcs"), std::string("SCRIPT\r\n/a/Tipps/20260307_1.kcs\r\n\0", 34));
    EXPECT_EQ(klickerParameterLine("/p/s.kcs", "0", "Login", "7", "pa\"ss"),
              "START \"/p/s.kcs\" \"0\" \"Login\" \"7\" \"pa\"\"\"ss\"");
    EXPECT_EQ(klickerFallbackPath("/opt/Orvane/Keno/"), "/opt/Orvane/Klicker/klicker.exe");
    EXPECT_EQ(klickerFallbackPath("/home/u/zahlfuchs/"), "/home/u/zahlfuchs/Klicker/klicker.exe");
}

TEST(HandOverSettings, AddressesAreSettingsWithHarmlessDefaults) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"CartTemplateServer", "http://vorlagen.zahlfuchs.invalid/"},
        {"CartServer", "https://warenkorb.zahlfuchs.invalid/"},
        {"PartnerRedirectServer", "https://partner.zahlfuchs.invalid/"},
        {"PartnerCode", "00000000000000000"},
        {"PartnerNumber", "000000"},
        {"SiteNumber", "00000"},
        {"ScriptServer", "http://skripte.zahlfuchs.invalid/"},
        {"KlickerDownloadServer", "https://klicker.zahlfuchs.invalid/"},
    };
    MemorySettingsStore empty, stored;
    for (const auto& [name, design] : table) stored.set(kSettingsKey, name, RegValue::ofString("x" + name));
    Model fresh, restored;
    restoreSettings(fresh, empty, 46000);
    restoreSettings(restored, stored, 46000);
    MemorySettingsStore saved;
    saveSettings(restored, saved, 46000);
    for (const auto& [name, design] : table) {
        ASSERT_NE(findSetting(name), nullptr) << name;
        EXPECT_EQ(findSetting(name)->save(fresh).str, design) << name;
        EXPECT_EQ(findSetting(name)->save(restored).str, "x" + name) << name;
        EXPECT_EQ(saved.get(kSettingsKey, name)->str, "x" + name) << name;
    }
    EXPECT_EQ(fresh.portal, "Lottoland");
}
