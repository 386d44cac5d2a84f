#include "core/submission/CartAddress.h"

#include "base/GermanFormat.h"
#include "base/Parse.h"
#include "base/Text.h"
#include "core/evaluation/HitCount.h"

namespace zf {

std::string joinUrl(const std::string& base, const std::string& path) {
    std::string b = base;
    while (!b.empty() && b.back() == '/') b.pop_back();
    return b + "/" + path;
}

std::string templateRequestUrl(const CartEndpoints& e, const std::string& portal, int tipsPerTicket) {
    return joinUrl(e.templateServer,
                   "lotto/lotto.asp?Spiel=Keno&Wo=" + portal + "&Tipps=" + std::to_string(tipsPerTicket));
}

std::string builtInCartTemplate(const CartEndpoints& e) {
    return joinUrl(e.cartServer, "lotto/warenkorb2.asp") + "?" +
           "spielscheinnummer=[LOS1][LOS2][LOS3][LOS4][LOS5]&plus5_teilnahme=[PLUS5]" +
           "&anzahl_ziehungen=[ANZAHL]&einsatz=[PREIS]&is_dauerspiel=0&dauerspiel_name=0" +
           "&kasten1=[KASTEN1]&kasten2=[KASTEN2]&kasten3=[KASTEN3]&kasten4=[KASTEN4]&kasten5=[KASTEN5]" +
           "&redirect_warenkorb=1&mc=" + e.partnerCode + "&ref=$ref$";
}

std::string partnerRedirectPrefix(const CartEndpoints& e) {
    return joinUrl(e.redirectServer, "click.asp") + "?ref=" + e.partnerNumber + "&site=" + e.siteNumber +
           "&type=text&tnb=60&diurl=";
}

std::optional<std::string> cartFieldText(std::string_view tipLine) {
    const std::string withComma = std::string(tipLine) + ",";
    TipPieces p;
    splitTipLine(withComma, p);
    auto piece = [&](int n) { return n <= p.count ? p.slot[static_cast<size_t>(n)] : std::string_view{}; };
    auto unset = [](std::string_view s) { return s.empty() || s == "0"; };
    if (unset(piece(1))) return std::string();
    std::string out;
    for (int n = 1; n <= 10; ++n) {
        if (unset(piece(n))) continue;
        const auto v = parseInt32(piece(n));
        if (!v) return std::nullopt;
        if (!out.empty()) out += ',';
        out += std::to_string(*v);
    }
    return out;
}

std::optional<int> stakeCents(std::string_view stakeText) {
    const auto v = parseInt32(trimView(stakeText.substr(0, 2)));
    if (!v || *v > 20000000 || *v < -20000000) return std::nullopt;
    return *v * 100;
}

std::string drawsWord(std::string_view durationText) {
    const size_t blank = durationText.find(' ');
    return std::string(trimView(durationText.substr(0, blank)));
}

void replaceAll(std::string& text, std::string_view what, std::string_view with) {
    if (what.empty()) return;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

std::string fillCartTemplate(std::string text, const CartValues& v) {
    for (size_t k = 0; k < v.fields.size(); ++k) replaceAll(text, "[KASTEN" + std::to_string(k + 1) + "]", v.fields[k]);
    replaceAll(text, "[PLUS5]", v.plus5 ? "1" : "0");
    replaceAll(text, "[PREIS]", std::to_string(stakeCents(v.stakeText).value_or(0)));
    replaceAll(text, "[ANZAHL]", drawsWord(v.durationText));
    for (size_t i = 0; i < v.digits.size(); ++i) replaceAll(text, "[LOS" + std::to_string(i + 1) + "]", v.digits[i]);
    replaceAll(text, "[MELDUNGFERTIG]", kReadyText);
    return text;
}

std::string percentEncode(std::string text) {
    replaceAll(text, "=", "%3D");
    replaceAll(text, ":", "%3A");
    replaceAll(text, "$", "%24");
    replaceAll(text, "&", "%26");
    replaceAll(text, "/", "%2F");
    replaceAll(text, "?", "%3F");
    return text;
}

bool isWebAddress(std::string_view text) {
    const std::string_view t = trimView(text);
    auto startsWith = [&](std::string_view p) {
        if (t.size() <= p.size()) return false;
        for (size_t i = 0; i < p.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(t[i])) != p[i]) return false;
        return true;
    };
    if (!startsWith("http://") && !startsWith("https://")) return false;
    for (char c : t)
        if (static_cast<unsigned char>(c) < ' ' || c == 0x7f) return false; // one line, no controls
    return true;
}

std::string nextTicketFile(const std::string& folder, double today) {
    const std::string stem = folder + formatYmdCompact(today) + "_";
    for (int n = 1;; ++n) {
        const std::string path = stem + std::to_string(n) + ".kcs";
        if (!fileExists(path)) return path;
    }
}

} // namespace zf
