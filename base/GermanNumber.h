#pragma once
// Decimal numbers as German users write them: decimal comma, thousands point. Formatted and read with
// std::to_chars/std::from_chars, which never look at the process locale: a desktop session sets the C
// library's locale from LANG, and printf/strtod would then follow whatever the user's machine says.
#include <optional>
#include <string>
#include <string_view>

namespace zf {

// Fixed decimals, "1.234,56" (thousands points optional); -0 after rounding is written "0".
std::string formatAmount(double value, int decimals, bool thousands = true);
// Fixed decimals, right-aligned in at least `width` characters: formatPadded(2.5, 7, 5) is "2,50000".
std::string formatPadded(double value, int width, int decimals);
// Up to `significant` significant digits, no thousands points, exponent as "1E20"/"1E-5":
// "12,5", "43,7", "1E20". NaN and infinity are written "NAN", "INF", "-INF".
std::string formatGeneral(double value, int significant = 15);
// Blanks around, an optional sign, digits with an optional decimal comma and an optional exponent
// ("1,5E3"). Thousands points are taken only between groups of three digits ("1.234,5", not "1.5").
// Anything else, and a number beyond the range of double, is nothing.
std::optional<double> parseDecimal(std::string_view text);

} // namespace zf
