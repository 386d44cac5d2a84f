#pragma once
// The hits of one tip line in a draw, without the model: the split of a line into its pieces and the
// count of its numbers among the 20 drawn. The tip check and the hit check of the list share it.
#include <array>
#include <cstdint>
#include <string_view>

namespace zf {

// A tip line cut into pieces as the tip check reads it: the line with a "," appended, trimmed and cut
// at each ","; at most 26 pieces of at most 20 characters, slots 1..count. A last piece without a
// "," behind it reads "0".
struct TipPieces {
    static constexpr int kMaxPieces = 26;
    static constexpr size_t kMaxPieceLength = 20;
    std::array<std::string_view, kMaxPieces + 1> slot{};
    int count = 0;
};
// `withComma` is the line with "," appended; the pieces point into it.
void splitTipLine(std::string_view withComma, TipPieces& out);

// How often each value stands among the 20 drawn numbers. A damaged record can hold any value; a
// tip piece counts as often as its value was drawn.
class DrawnCounts {
public:
    explicit DrawnCounts(const std::array<int, 21>& drawn); // slots 1..20
    int hitsOf(long long value) const;

private:
    std::array<int, 21> drawn_{};
    std::array<uint8_t, 256> times_{};
    bool onlyBytes_ = true;
};

// The hits of the first min(count, kenoType) pieces; the first piece that is no whole number ends the count.
int countHits(const TipPieces& pieces, const DrawnCounts& drawn, int kenoType);

} // namespace zf
