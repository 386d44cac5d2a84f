#pragma once
// The payout table and the winnings of the tip list in the draw on display.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zf {

class Model;

// Win per tip in euro for a stake of 1 euro: [Keno type][hits], 0 for no winning class.
int64_t payout(int kenoType, int hits);

// The text of the winnings message, or "Kein Gewinn!".
std::string winningsText(const std::vector<uint8_t>& hits, int kenoType, int stakeItem);

} // namespace zf
