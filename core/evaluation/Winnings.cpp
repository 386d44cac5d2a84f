#include "core/evaluation/Winnings.h"

namespace zf {
namespace {

// Gewinnquoten by Keno type 2..10 and hits 0..10.
constexpr int64_t kQuoten[11][11] = {
    {},
    {},
    /* 2 */ {0, 0, 6, 0, 0, 0, 0, 0, 0, 0, 0},
    /* 3 */ {0, 0, 1, 16, 0, 0, 0, 0, 0, 0, 0},
    /* 4 */ {0, 0, 1, 2, 22, 0, 0, 0, 0, 0, 0},
    /* 5 */ {0, 0, 0, 2, 7, 100, 0, 0, 0, 0, 0},
    /* 6 */ {0, 0, 0, 1, 2, 15, 500, 0, 0, 0, 0},
    /* 7 */ {0, 0, 0, 0, 1, 12, 100, 1000, 0, 0, 0},
    /* 8 */ {1, 0, 0, 0, 1, 2, 15, 100, 10000, 0, 0},
    /* 9 */ {2, 0, 0, 0, 0, 2, 5, 20, 1000, 50000, 0},
    /* 10 */ {2, 0, 0, 0, 0, 2, 5, 15, 100, 1000, 100000},
};

} // namespace

int64_t payout(int kenoType, int hits) {
    if (kenoType < 2 || kenoType > 10 || hits < 0 || hits > 10) return 0;
    return kQuoten[kenoType][hits];
}

std::string winningsText(const std::vector<uint8_t>& hits, int kenoType, int stakeItem) {
    std::array<int64_t, 11> count{};
    for (uint8_t h : hits)
        if (h <= 10) ++count[h];
    static const int64_t stakes[] = {1, 2, 5, 10};
    const int64_t s = stakeItem >= 0 && stakeItem <= 3 ? stakes[stakeItem] : 1;
    static const char* const labels[] = {" x  0er ", "",         " x  2er ", " x  3er ", " x  4er ", " x  5er ",
                                         " x  6er ", " x  7er ", " x  8er ", " x  9er ", " x 10er "};
    std::string text = "Gewinne\n";
    int64_t total = 0;
    bool any = false;
    // Amounts in 64 bits: 500000 tips of 10 euro at 100000 do not fit 32 bits.
    for (int h : {10, 9, 8, 7, 6, 5, 4, 3, 2, 0}) {
        const int64_t quote = payout(kenoType, h);
        if (quote == 0 || count[static_cast<size_t>(h)] == 0) continue;
        const int64_t amount = s * count[static_cast<size_t>(h)] * quote;
        text += std::to_string(count[static_cast<size_t>(h)]) + labels[h] + "\t" + std::to_string(amount) + "\n";
        total += amount;
        any = true;
    }
    if (!any) return "Kein Gewinn!";
    return text + "\n" + std::to_string(total) + "€ ohne Gewähr";
}

} // namespace zf
