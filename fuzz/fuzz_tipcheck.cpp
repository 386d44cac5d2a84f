// Fuzzes the tip check and the hit check with arbitrary tip lines.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/Model.h"
#include "app/evaluation/TipCheck.h"
#include "core/ports/Seams.h"

namespace {
class Silent : public zf::SoundPlayer {
public:
    void play(const std::string&) override {}
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static zf::Model m;
    static Silent sound;
    if (size == 0) return 0;
    // The first byte picks the Keno type; the rest is the tip list text.
    m.num(zf::Num::KenoType).pos = 2 + data[0] % 19;
    for (int i = 1; i <= 20; ++i) m.drawNumbers[static_cast<size_t>(i)] = (i * 7 + data[0]) % 70 + 1;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    zf::checkTip(m, text);
    if (m.tipCount < 1 || m.tipCount > 26) std::abort();
    for (const auto& slot : m.tipPieces)
        if (slot.size() > 20) std::abort();
    m.tipLines.clear();
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i)
        if (i == text.size() || text[i] == '\n') {
            m.tipLines.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    m.hitCheckOn = true;
    const int best = zf::checkAllTips(m, sound);
    if (m.tipLines.size() != m.hits.size() || best < 0 || best > 255) std::abort();
    // The list check must count every line exactly as the tip check of that line alone does.
    const auto hits = m.hits;
    const auto lines = m.tipLines;
    for (size_t i = 0; i < lines.size(); ++i) {
        zf::checkTip(m, lines[i]);
        if (m.tipHits != hits[i]) std::abort();
    }
    int total = 0;
    for (int c : m.hitStats) total += c;
    if (static_cast<size_t>(total) != m.tipLines.size()) std::abort();
    return 0;
}
