#pragma once
// The one reader of whole numbers typed or stored as text, and the calendar checks.
#include <cstdint>
#include <optional>
#include <string_view>

namespace zf {

// A signed 32-bit whole number: blanks (space, tab) in front allowed, then an optional sign and at
// least one digit, nothing behind. Anything else, or a number outside the 32-bit range, is nothing.
std::optional<int32_t> parseInt32(std::string_view text);

// Plain decimal digits only (no blanks, no sign), at most `max`; nothing otherwise.
std::optional<long long> parseDigits(std::string_view text, long long max);

bool isLeapYear(int year);
// Whether day.month.year is a day of the calendar (years 1..9999).
bool isValidDay(int year, int month, int day);

} // namespace zf
