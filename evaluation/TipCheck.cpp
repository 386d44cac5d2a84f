#include "evaluation/TipCheck.h"

#include <algorithm>
#include <array>
#include <string>

#include "app/Model.h"
#include "base/Text.h"
#include "platform/Seams.h"

namespace zf {
namespace {

// Whole-number conversion of a piece: blanks in front are allowed, nothing behind the digits.
bool pieceToInt(std::string_view s, long long& out) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i == s.size()) return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
        if (v > 2147483648LL) return false;
    }
    out = negative ? -v : v;
    return out >= -2147483648LL && out <= 2147483647LL;
}

// The pieces of a tip line as the tip check splits them, without copying: the line with a "," appended,
// cut at each "," after trimming, at most 26 pieces of at most 20 characters.
struct Pieces {
    std::array<std::string_view, 27> slot;
    int count = 0;
};

void splitLikeZettelcheck(std::string_view text, Pieces& out) {
    std::string_view rest = text;
    int j = 0;
    while (!rest.empty() && j < 26) {
        ++j;
        rest = trimView(rest);
        const size_t comma = rest.find(',');
        if (comma != std::string_view::npos) {
            out.slot[static_cast<size_t>(j)] = rest.substr(0, std::min<size_t>(comma, 20));
            rest.remove_prefix(comma + 1);
        } else {
            out.slot[static_cast<size_t>(j)] = "0";
        }
    }
    out.count = j;
}

// How often each value stands in the draw register, for values 0..255 (what a record can hold).
struct DrawCounts {
    std::array<uint8_t, 256> times{};
    bool onlyBytes = true;
    explicit DrawCounts(const Model& m) {
        for (int k = 1; k <= 20; ++k) {
            const int z = m.drawNumbers[static_cast<size_t>(k)];
            if (z < 0 || z > 255) onlyBytes = false;
            else ++times[static_cast<size_t>(z)];
        }
    }
    int hitsOf(const Model& m, long long v) const {
        if (onlyBytes) return v >= 0 && v <= 255 ? times[static_cast<size_t>(v)] : 0;
        int h = 0;
        for (int k = 1; k <= 20; ++k) h += m.drawNumbers[static_cast<size_t>(k)] == v;
        return h;
    }
};

} // namespace

void checkTip(Model& m, std::string_view line) {
    std::string text(line);
    text += ',';
    for (auto& slot : m.tipPieces) slot = "0";
    std::string_view rest(text);
    int j = 0;
    while (!rest.empty() && j < 26) {
        ++j;
        rest = trimView(rest);
        const size_t comma = rest.find(',');
        if (comma != std::string_view::npos) {
            m.tipPieces[static_cast<size_t>(j)] = std::string(rest.substr(0, std::min<size_t>(comma, 20)));
            rest.remove_prefix(comma + 1);
        } else {
            m.tipPieces[static_cast<size_t>(j)] = "0";
        }
    }
    m.tipCount = j;
    const int n = std::min(j, m.num(Num::KenoType).pos);
    int hits = 0;
    for (int i = 1; i <= n; ++i) {
        long long v;
        if (!pieceToInt(m.tipPieces[static_cast<size_t>(i)], v)) break;
        for (int k = 1; k <= 20; ++k)
            if (m.drawNumbers[static_cast<size_t>(k)] == v) ++hits;
    }
    m.tipHits = static_cast<uint8_t>(std::min(hits, 255));
}

int checkAllTips(Model& m, SoundPlayer& sound) {
    m.hitStats.fill(0);
    if (!m.hitCheckOn) return 0;
    int best = 0;
    m.hits.clear();
    m.hits.reserve(m.tipLines.size());
    bool removed = false;
    size_t out = 0;
    const DrawCounts counts(m);
    const int kenoType = m.num(Num::KenoType).pos;
    std::string text;
    Pieces pieces;
    for (size_t i = 0; i < m.tipLines.size(); ++i) {
        if (trimView(m.tipLines[i]).empty()) {
            removed = true;
            continue;
        }
        if (out != i) m.tipLines[out] = std::move(m.tipLines[i]);
        const std::string& line = m.tipLines[out++];
        // Same result as checkTip, without building the 27 slot strings for every line.
        text.assign(line);
        text += ',';
        splitLikeZettelcheck(text, pieces);
        const int n = std::min(pieces.count, kenoType);
        int hits = 0;
        for (int k = 1; k <= n; ++k) {
            long long v;
            if (!pieceToInt(pieces.slot[static_cast<size_t>(k)], v)) break;
            hits += counts.hitsOf(m, v);
        }
        const uint8_t gewinn = static_cast<uint8_t>(std::min(hits, 255));
        const int anzahl = pieces.count;
        if (gewinn >= anzahl / 2 + anzahl % 2 && m.on(Opt::WinSound)) sound.play(m.winSoundPath);
        best = std::max<int>(best, gewinn);
        ++m.hitStats[std::min<size_t>(gewinn, 20)];
        m.hits.push_back(gewinn);
    }
    m.tipLines.resize(out);
    // The split tip and the counters describe the last line examined, as after a plain tip check.
    if (out > 0) checkTip(m, m.tipLines[out - 1]);
    m.setStatus(0, best > 0 ? "Max-Gewinn " + std::to_string(best) + "er" : std::string());
    m.notify(ChangeHits | (removed ? ChangeTips : 0u));
    return best;
}

} // namespace zf
