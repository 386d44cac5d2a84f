#include "base/Parse.h"

namespace zf {

std::optional<long long> parseDigits(std::string_view s, long long max) {
    if (s.empty()) return std::nullopt;
    long long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
        if (v > max) return std::nullopt;
    }
    return v;
}

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

bool isValidDay(int y, int m, int d) {
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return d <= days[m - 1] + (m == 2 && isLeapYear(y) ? 1 : 0);
}

} // namespace zf
