#pragma once
// German date formats, fixed whatever the machine's locale (numbers: base/GermanNumber.h).
// A date value counts days since 1899-12-30; its integer part is the day.
#include <optional>
#include <string>
#include <string_view>

namespace zf {

struct Ymd {
    int year = 1899;
    int month = 12;
    int day = 30;
};

double dateValue(int year, int month, int day); // whole day value
Ymd ymdOf(double dateValue);                    // day part only
int weekdayOf(double dateValue);                // 0 = Montag ... 6 = Sonntag

const char* shortWeekdayName(int weekday); // "Mo" ... "So"
const char* longWeekdayName(int weekday);  // "Montag" ... "Sonntag"

std::string formatDate(double dateValue);       // "dd.mm.yyyy"
std::string formatDrawDate(double dateValue);   // "DDD dd.mm.yy", e.g. "Mo 02.02.04"
std::string formatYmdCompact(double dateValue); // "yyyymmdd"
// Parses "d.m.yyyy" / "dd.mm.yyyy" (also a two-digit year as 20yy); nothing on a bad date.
std::optional<double> parseDate(std::string_view text);

constexpr double kFirstDrawDay = 38018; // 2004-02-01
constexpr double kStatsMinDate = 35184; // 1996-04-29

} // namespace zf
