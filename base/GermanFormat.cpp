#include "base/GermanFormat.h"

#include <cmath>
#include <cstdio>

namespace zf {
namespace {

// Days from 1970-01-01 for a proleptic Gregorian date (Howard Hinnant's algorithm).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

Ymd civilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp + (mp < 10 ? 3 : -9);
    return Ymd{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

constexpr long long kEpochOffset = 25569; // 1970-01-01 as a date value

} // namespace

double dateValue(int year, int month, int day) {
    return static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                               kEpochOffset);
}

Ymd ymdOf(double value) { return civilFromDays(static_cast<long long>(std::floor(value)) - kEpochOffset); }

int weekdayOf(double value) {
    // 1899-12-30 was a Saturday (5 when Monday is 0).
    const long long day = static_cast<long long>(std::floor(value));
    return static_cast<int>(((day + 5) % 7 + 7) % 7);
}

const char* shortWeekdayName(int weekday) {
    static const char* const names[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
    return names[((weekday % 7) + 7) % 7];
}

const char* longWeekdayName(int weekday) {
    static const char* const names[] = {"Montag",  "Dienstag", "Mittwoch", "Donnerstag",
                                        "Freitag", "Samstag",  "Sonntag"};
    return names[((weekday % 7) + 7) % 7];
}

std::string formatDate(double value) {
    const Ymd d = ymdOf(value);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", d.day, d.month, d.year);
    return buf;
}

std::string formatDrawDate(double value) {
    const Ymd d = ymdOf(value);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%s %02d.%02d.%02d", shortWeekdayName(weekdayOf(value)), d.day, d.month,
                  ((d.year % 100) + 100) % 100);
    return buf;
}

std::string formatYmdCompact(double value) {
    const Ymd d = ymdOf(value);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", d.year, d.month, d.day);
    return buf;
}

std::optional<double> parseDate(std::string_view text) {
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int idx = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            if (digits[idx] >= 4) return std::nullopt;
            parts[idx] = parts[idx] * 10 + (c - '0');
            ++digits[idx];
        } else if (c == '.' && idx < 2 && digits[idx] > 0) {
            ++idx;
        } else {
            return std::nullopt;
        }
    }
    if (idx != 2 || digits[2] == 0 || digits[0] > 2 || digits[1] > 2) return std::nullopt;
    int year = parts[2];
    if (digits[2] <= 2)
        year += 2000;
    else if (digits[2] != 4)
        return std::nullopt;
    const int month = parts[1];
    const int day = parts[0];
    if (month < 1 || month > 12 || day < 1 || year < 1) return std::nullopt;
    const double v = dateValue(year, month, day);
    const Ymd back = ymdOf(v);
    if (back.day != day || back.month != month) return std::nullopt;
    return v;
}

} // namespace zf
