#include "base/GermanNumber.h"

#include <charconv>
#include <cmath>

namespace zf {
namespace {

// Room for the widest fixed double (309 integer digits) with any sensible number of decimals.
constexpr size_t kBuffer = 400;

std::string fixedC(double value, int decimals) {
    if (decimals < 0) decimals = 0;
    if (decimals > 60) decimals = 60;
    char buf[kBuffer];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string();
}

} // namespace

std::string formatAmount(double value, int decimals, bool thousands) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    std::string s = fixedC(value, decimals);
    const bool negative = !s.empty() && s[0] == '-';
    if (negative) s.erase(0, 1);
    std::string intPart = s, frac;
    if (const auto dot = s.find('.'); dot != std::string::npos) {
        intPart = s.substr(0, dot);
        frac = s.substr(dot + 1);
    }
    std::string out;
    out.reserve(s.size() + s.size() / 3 + 2);
    for (size_t i = 0; i < intPart.size(); ++i) {
        if (thousands && i > 0 && (intPart.size() - i) % 3 == 0) out += '.';
        out += intPart[i];
    }
    if (!frac.empty()) out += "," + frac;
    const bool zero = out.find_first_not_of("0.,") == std::string::npos;
    return negative && !zero ? "-" + out : out;
}

std::string formatPadded(double value, int width, int decimals) {
    std::string s = formatAmount(value, decimals, false);
    if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), ' ');
    return s;
}

std::string formatGeneral(double value, int significant) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    char buf[kBuffer];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, significant);
    if (r.ec != std::errc()) return std::string();
    std::string out;
    for (const char* p = buf; p < r.ptr; ++p) {
        if (*p == '.') {
            out += ',';
        } else if (*p == 'e') {
            // "1e+20" is written "1E20", "1e-05" "1E-5".
            out += 'E';
            ++p;
            if (p < r.ptr && *p == '-') out += '-';
            ++p;
            while (p + 1 < r.ptr && *p == '0') ++p;
            out.append(p, static_cast<size_t>(r.ptr - p));
            break;
        } else {
            out += *p;
        }
    }
    return out == "-0" ? "0" : out;
}

std::optional<double> parseDecimal(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
    std::string plain;
    size_t i = b;
    if (i < e && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') plain += '-';
        ++i;
    }
    size_t digits = 0, group = 0;
    bool grouped = false;
    for (; i < e; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            plain += c;
            ++digits;
            ++group;
        } else if (c == '.') {
            // A thousands point follows one to three digits, then every group has exactly three.
            if (group == 0 || group > 3 || (grouped && group != 3)) return std::nullopt;
            grouped = true;
            group = 0;
        } else {
            break;
        }
    }
    if (grouped && group != 3) return std::nullopt;
    if (i < e && text[i] == ',') {
        if (plain.empty() || plain == "-") plain += '0';
        plain += '.';
        ++i;
        while (i < e && text[i] >= '0' && text[i] <= '9') plain += text[i++], ++digits;
    }
    if (!digits) return std::nullopt;
    if (i < e && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < e && (text[i] == '+' || text[i] == '-')) {
            if (text[i] == '-') plain += '-';
            ++i;
        }
        size_t expDigits = 0;
        while (i < e && text[i] >= '0' && text[i] <= '9') plain += text[i++], ++expDigits;
        if (!expDigits) return std::nullopt;
    }
    if (i != e) return std::nullopt;
    double v = 0;
    const auto r = std::from_chars(plain.data(), plain.data() + plain.size(), v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != plain.data() + plain.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

} // namespace zf
