#include "core/evaluation/HitCount.h"

#include <algorithm>

#include "base/Parse.h"
#include "base/Text.h"

namespace zf {

void splitTipLine(std::string_view rest, TipPieces& out) {
    int j = 0;
    while (!rest.empty() && j < TipPieces::kMaxPieces) {
        ++j;
        rest = trimView(rest);
        const size_t comma = rest.find(',');
        if (comma != std::string_view::npos) {
            out.slot[static_cast<size_t>(j)] = rest.substr(0, std::min(comma, TipPieces::kMaxPieceLength));
            rest.remove_prefix(comma + 1);
        } else {
            out.slot[static_cast<size_t>(j)] = "0";
        }
    }
    out.count = j;
}

DrawnCounts::DrawnCounts(const std::array<int, 21>& drawn) : drawn_(drawn) {
    for (int k = 1; k <= 20; ++k) {
        const int z = drawn[static_cast<size_t>(k)];
        if (z < 0 || z > 255)
            onlyBytes_ = false;
        else
            ++times_[static_cast<size_t>(z)];
    }
}

int DrawnCounts::hitsOf(long long v) const {
    if (onlyBytes_) return v >= 0 && v <= 255 ? times_[static_cast<size_t>(v)] : 0;
    int h = 0;
    for (int k = 1; k <= 20; ++k) h += drawn_[static_cast<size_t>(k)] == v;
    return h;
}

int countHits(const TipPieces& pieces, const DrawnCounts& drawn, int kenoType) {
    const int n = std::min(pieces.count, kenoType);
    int hits = 0;
    for (int k = 1; k <= n; ++k) {
        const auto v = parseInt32(pieces.slot[static_cast<size_t>(k)]);
        if (!v) break;
        hits += drawn.hitsOf(*v);
    }
    return hits;
}

} // namespace zf
