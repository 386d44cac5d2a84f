#include "core/draws/DrawText.h"

#include <cmath>

#include "base/GermanFormat.h"
#include "base/Parse.h"
#include "base/Text.h"

namespace zf {

std::string drawLine(const DrawRecord& r, int separatorBlanks) {
    std::string s = formatDrawDate(r.datum);
    s.append(static_cast<size_t>(separatorBlanks), ' ');
    for (uint8_t n : r.zahl) s += "  " + std::to_string(n);
    return s;
}

std::string plus5Line(const DrawRecord& r, int separatorBlanks) {
    std::string s = formatDrawDate(r.datum);
    s.append(static_cast<size_t>(separatorBlanks), ' ');
    for (uint8_t d : r.zahl5) s += r.hasPlus5() ? "  " + std::to_string(d) : std::string("  -");
    return s;
}

std::string exportLine(const DrawRecord& r, int layout) {
    std::string s;
    switch (layout) {
    case 2:
        for (uint8_t n : r.zahl) s += std::to_string(n) + " ";
        return s;
    case 3:
        s = formatDate(r.datum);
        for (uint8_t n : r.zahl) s += "," + std::to_string(n);
        return s;
    case 4:
        s = formatDate(r.datum);
        for (uint8_t n : r.zahl) s += ";" + std::to_string(n);
        return s + ";";
    case 5:
        s = formatDate(r.datum);
        for (uint8_t n : r.zahl) s += "\t" + std::to_string(n);
        return s;
    default:
        s = formatDate(r.datum);
        for (uint8_t n : r.zahl) s += "," + std::to_string(n);
        return s + ";";
    }
}

// A whole number as the answer writes it; blanks and line ends around it are tolerated.
std::optional<int> answerNumber(std::string_view piece) {
    piece = trimView(piece);
    const size_t sign = !piece.empty() && (piece[0] == '+' || piece[0] == '-') ? 1 : 0;
    if (piece.size() - sign > 9) return std::nullopt;
    const auto v = parseInt32(piece);
    if (!v) return std::nullopt;
    return *v;
}

std::optional<std::string> drawRequestUrl(const std::string& base, double day) {
    const std::string b(trimView(base));
    if (b.rfind("http://", 0) != 0 && b.rfind("https://", 0) != 0) return std::nullopt;
    const size_t hostStart = b.find("//") + 2;
    if (hostStart >= b.size() || b[hostStart] == '/') return std::nullopt;
    for (char c : b)
        if (static_cast<unsigned char>(c) <= ' ' || c == '?' || c == '#') return std::nullopt;
    return b + (b.back() == '/' ? "" : "/") + "zahlen/keno.asp?Datei=" + formatYmdCompact(day) + ".txt";
}

std::string drawAnswerText(const DrawRecord& r) {
    std::string s = formatDate(r.datum);
    for (uint8_t n : r.zahl) s += "," + std::to_string(n);
    s += ",";
    if (r.hasPlus5())
        for (uint8_t d : r.zahl5) s += static_cast<char>('0' + d % 10);
    return s;
}

DrawAnswer parseDrawAnswer(std::string_view body, double today) {
    DrawAnswer a;
    if (trimView(body).empty()) {
        a.kind = DrawAnswer::Skip;
        return a;
    }
    auto invalid = [&](std::string why) {
        a.kind = DrawAnswer::Invalid;
        a.problem = std::move(why);
        return a;
    };

    size_t comma = body.find(',');
    if (comma == std::string_view::npos) return invalid("keine Ziehungsdaten");
    const std::string_view dateText = trimView(body.substr(0, comma));
    std::string_view rest = body.substr(comma + 1);

    int numbers[20] = {};
    for (int i = 0; i < 20; ++i) {
        comma = rest.find(',');
        if (comma == std::string_view::npos)
            return invalid(i == 0 ? "keine Zahlen" : "nur " + std::to_string(i) + " Zahlen statt 20");
        const auto n = answerNumber(rest.substr(0, comma));
        if (!n) return invalid("die " + std::to_string(i + 1) + ". Zahl ist keine Zahl");
        numbers[i] = *n;
        rest.remove_prefix(comma + 1);
    }
    // The answer for a draw whose Plus 5 number the server does not have ends right after the
    // twentieth number's ","; anything else there has to be the five digits.
    const bool noPlus5 = rest.empty();
    int digits[5] = {};
    for (int i = 0; i < 5 && !noPlus5; ++i) {
        if (i >= static_cast<int>(rest.size()) || rest[static_cast<size_t>(i)] < '0' ||
            rest[static_cast<size_t>(i)] > '9') {
            const std::string_view head = rest.substr(0, rest.find_first_of("\r\n"));
            if (head.find(',') != std::string_view::npos) return invalid("mehr als 20 Zahlen");
            return invalid("die Plus 5-Gewinnzahl hat keine fünf Ziffern");
        }
        digits[i] = rest[static_cast<size_t>(i)] - '0';
    }

    // No draw in it: the server's way of saying "nothing for this day".
    if (numbers[0] == 0 || dateText.empty()) {
        a.kind = DrawAnswer::Skip;
        return a;
    }

    const auto date = parseDate(dateText);
    if (!date) return invalid("kein gültiges Datum");
    if (*date < kFirstDrawDay) return invalid("Datum " + formatDate(*date) + " liegt vor der ersten Ziehung");
    if (*date > std::floor(today)) return invalid("Datum " + formatDate(*date) + " liegt in der Zukunft");

    DrawBits seen;
    for (int i = 0; i < 20; ++i) {
        const int n = numbers[i];
        if (n < 1 || n > 70) return invalid("Zahl " + std::to_string(n) + " liegt nicht zwischen 1 und 70");
        if (seen.has(n)) return invalid("Zahl " + std::to_string(n) + " kommt doppelt vor");
        seen.set(n);
        a.record.zahl[static_cast<size_t>(i)] = static_cast<uint8_t>(n);
    }
    for (int i = 0; i < 5; ++i) a.record.zahl5[static_cast<size_t>(i)] = static_cast<uint8_t>(digits[i]);
    a.record.datum = *date;
    a.record.flags = noPlus5 ? kFlagNoPlus5 : 0;
    a.kind = DrawAnswer::Draw;
    return a;
}

} // namespace zf
