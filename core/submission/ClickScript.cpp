#include "core/submission/ClickScript.h"

#include <cctype>

#include "base/Parse.h"
#include "base/Text.h"
#include "core/evaluation/HitCount.h"
#include "core/submission/CartAddress.h"

namespace zf {

std::optional<std::string> fillScript(std::string text, const ScriptValues& v, std::string* badLine) {
    std::string pairs; // "[TIPP24]"
    for (int k = 1; k <= v.tipsPerTicket; ++k) {
        const bool hasTip = static_cast<size_t>(k) <= v.tipLines.size();
        const std::string withComma = hasTip ? v.tipLines[static_cast<size_t>(k - 1)] + "," : std::string();
        TipPieces p;
        if (hasTip) splitTipLine(withComma, p);
        const std::string ks = std::to_string(k);
        for (int n = 1; n <= 10; ++n) {
            const std::string placeholder = "[Z" + std::to_string(n) + "_" + ks + "]";
            std::string_view piece = n <= v.kenoType && n <= p.count ? p.slot[static_cast<size_t>(n)] : "";
            if (piece.empty() || piece == "0") {
                replaceAll(text, placeholder, kEmptyPosition);
                continue;
            }
            if (!parseInt32(piece)) {
                if (badLine) *badLine = v.tipLines[static_cast<size_t>(k - 1)];
                return std::nullopt;
            }
            replaceAll(text, placeholder, piece);
            pairs += "keno" + ks + "_" + std::to_string(n) + "=" + std::string(piece) + "&";
        }
    }
    replaceAll(text, "[PLUS5]", v.plus5 ? "JA" : "NEIN");
    replaceAll(text, "[PLUS5ON]", v.plus5 ? "on" : "off");
    replaceAll(text, "[TIPP24]", pairs);
    replaceAll(text, "[PREIS]", v.stakeText);
    for (size_t i = 0; i < v.digits.size(); ++i) replaceAll(text, "[LOS" + std::to_string(i + 1) + "]", v.digits[i]);
    replaceAll(text, "[ZIEHUNGEN]", v.durationText);
    replaceAll(text, "[ZIEHUNG]", drawsWord(v.durationText));
    replaceAll(text, "[MELDUNGFERTIG]", kReadyText);
    return text;
}

namespace {

std::string utf16ToUtf8(std::string_view b, bool bigEndian) {
    std::string out;
    auto unit = [&](size_t i) {
        const auto hi = static_cast<unsigned char>(b[bigEndian ? i : i + 1]);
        const auto lo = static_cast<unsigned char>(b[bigEndian ? i + 1 : i]);
        return static_cast<uint32_t>(hi << 8 | lo);
    };
    for (size_t i = 0; i + 1 < b.size(); i += 2) {
        uint32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < b.size()) {
            const uint32_t u2 = unit(i + 2);
            if (u2 >= 0xDC00 && u2 < 0xE000) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (u2 - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(out, (u >= 0xD800 && u < 0xE000) ? 0xFFFD : u);
    }
    return out;
}

std::string utf8ToUtf16(std::string_view s, bool bigEndian) {
    std::string out;
    auto put = [&](uint32_t u) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    };
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        uint32_t cp = 0xFFFD;
        size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0 && i + 1 < s.size()) {
            cp = (c & 0x1F) << 6 | (s[i + 1] & 0x3F), len = 2;
        } else if ((c & 0xF0) == 0xE0 && i + 2 < s.size()) {
            cp = (c & 0x0F) << 12 | (s[i + 1] & 0x3F) << 6 | (s[i + 2] & 0x3F), len = 3;
        } else if ((c & 0xF8) == 0xF0 && i + 3 < s.size()) {
            cp = (c & 0x07) << 18 | (s[i + 1] & 0x3F) << 12 | (s[i + 2] & 0x3F) << 6 | (s[i + 3] & 0x3F), len = 4;
        }
        i += len;
        if (cp >= 0x10000) {
            put(0xD800 + ((cp - 0x10000) >> 10));
            put(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            put(cp);
        }
    }
    return out;
}

} // namespace

ScriptText decodeScript(std::string_view b) {
    if (b.size() >= 3 && b.substr(0, 3) == "\xEF\xBB\xBF") return {std::string(b.substr(3)), TextEncoding::Utf8Bom};
    if (b.size() >= 2 && b.substr(0, 2) == "\xFF\xFE") return {utf16ToUtf8(b.substr(2), false), TextEncoding::Utf16Le};
    if (b.size() >= 2 && b.substr(0, 2) == "\xFE\xFF") return {utf16ToUtf8(b.substr(2), true), TextEncoding::Utf16Be};
    return {cp1252ToUtf8(b), TextEncoding::Ansi};
}

std::string encodeScript(std::string_view utf8, TextEncoding encoding) {
    std::string text;
    for (const std::string& line : splitLines(utf8)) text += line + "\r\n";
    switch (encoding) {
    case TextEncoding::Utf8Bom:
        return "\xEF\xBB\xBF" + text;
    case TextEncoding::Utf16Le:
        return "\xFF\xFE" + utf8ToUtf16(text, false);
    case TextEncoding::Utf16Be:
        return "\xFE\xFF" + utf8ToUtf16(text, true);
    case TextEncoding::Ansi:
        break;
    }
    return utf8ToCp1252(text);
}

std::string klickerCommand(const std::string& scriptPath) {
    return std::string("SCRIPT\r\n") + scriptPath + "\r\n" + '\0';
}

std::string klickerParameterLine(const std::string& scriptPath, const std::string& zahl1, const std::string& text1,
                                 const std::string& zahl2, const std::string& text2) {
    std::string line = "START";
    for (const std::string* arg : {&scriptPath, &zahl1, &text1, &zahl2, &text2}) {
        std::string quoted = *arg;
        replaceAll(quoted, "\"", "\"\"\"");
        line += " \"" + quoted + "\"";
    }
    return line;
}

std::string klickerFallbackPath(const std::string& programFolder) {
    std::string upper = programFolder;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::string folder = programFolder;
    const size_t at = upper.find("ORVANE");
    if (at != std::string::npos) folder = programFolder.substr(0, std::min(programFolder.size(), at + 7));
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + "Klicker/klicker.exe";
}

} // namespace zf
