#pragma once
// The one reader of whole numbers typed or stored as text, and the calendar checks.
#include <cstdint>
#include <optional>
#include <string_view>

namespace zf {

// A signed 32-bit whole number: blanks (space, tab) in front allowed, then an optional sign and at
// least one digit, nothing behind. Anything else, or a number outside the 32-bit range, is nothing.
// Inline: the hit check reads millions of pieces.
inline std::optional<int32_t> parseInt32(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i == s.size()) return std::nullopt;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
        v = v * 10 + (s[i] - '0');
        if (v > 2147483648LL) return std::nullopt;
    }
    v = negative ? -v : v;
    if (v > 2147483647LL) return std::nullopt;
    return static_cast<int32_t>(v);
}

// Plain decimal digits only (no blanks, no sign), at most `max`; nothing otherwise.
std::optional<long long> parseDigits(std::string_view text, long long max);

bool isLeapYear(int year);
// Whether day.month.year is a day of the calendar (years 1..9999).
bool isValidDay(int year, int month, int day);

} // namespace zf
