#pragma once
// Tip lines: the numbers of a tip in ascending order, "%.2d" each, joined by ",".
#include <string>
#include <string_view>
#include <vector>

namespace zf {

std::string formatTipLine(const std::vector<int>& ascendingNumbers);
// A line the hit check can read as a tip: whole numbers 1..70 separated by ","; a blank line counts
// as fine too (the hit check drops it).
bool isTipLine(std::string_view line);
// The line split at ","; the text after the last "," is a piece too, an empty line has none.
std::vector<std::string> splitPieces(std::string_view line);
// Counts the lines that are no tips.
size_t countOddLines(const std::vector<std::string>& lines);

} // namespace zf
