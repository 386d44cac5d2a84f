#include "app/evaluation/TipCheck.h"

#include <algorithm>
#include <array>
#include <string>

#include "app/Model.h"
#include "base/Text.h"
#include "core/evaluation/HitCount.h"
#include "core/ports/Seams.h"

namespace zf {

void checkTip(Model& m, std::string_view line) {
    std::string text(line);
    text += ',';
    TipPieces pieces;
    splitTipLine(text, pieces);
    for (auto& slot : m.tipPieces) slot = "0";
    for (int j = 1; j <= pieces.count; ++j)
        m.tipPieces[static_cast<size_t>(j)] = std::string(pieces.slot[static_cast<size_t>(j)]);
    m.tipCount = pieces.count;
    const int hits = countHits(pieces, DrawnCounts(m.drawNumbers), m.num(Num::KenoType).pos);
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
    const DrawnCounts drawn(m.drawNumbers);
    const int kenoType = m.num(Num::KenoType).pos;
    std::string text;
    TipPieces pieces;
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
        splitTipLine(text, pieces);
        const uint8_t hits = static_cast<uint8_t>(std::min(countHits(pieces, drawn, kenoType), 255));
        const int pieceCount = pieces.count;
        if (hits >= pieceCount / 2 + pieceCount % 2 && m.on(Opt::WinSound)) sound.play(m.winSoundPath);
        best = std::max<int>(best, hits);
        ++m.hitStats[std::min<size_t>(hits, 20)];
        m.hits.push_back(hits);
    }
    m.tipLines.resize(out);
    // The split tip and the counters describe the last line examined, as after a plain tip check.
    if (out > 0) checkTip(m, m.tipLines[out - 1]);
    m.setStatus(0, best > 0 ? "Max-Gewinn " + std::to_string(best) + "er" : std::string());
    m.notify(ChangeHits | (removed ? ChangeTips : 0u));
    return best;
}

} // namespace zf
