#include "evaluation/TipCheck.h"

#include <algorithm>
#include <string>

#include "app/Model.h"
#include "app/Text.h"
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

} // namespace

void Zettelcheck(Model& m, std::string_view line) {
    std::string text(line);
    text += ',';
    for (auto& slot : m.TippZahl) slot = "0";
    std::string_view rest(text);
    int j = 0;
    while (!rest.empty() && j < 26) {
        ++j;
        rest = trimView(rest);
        const size_t comma = rest.find(',');
        if (comma != std::string_view::npos) {
            m.TippZahl[static_cast<size_t>(j)] = std::string(rest.substr(0, std::min<size_t>(comma, 20)));
            rest.remove_prefix(comma + 1);
        } else {
            m.TippZahl[static_cast<size_t>(j)] = "0";
        }
    }
    m.ZahlenAnzahl = j;
    const int n = std::min(j, m.UpDown[18].pos);
    int hits = 0;
    for (int i = 1; i <= n; ++i) {
        long long v;
        if (!pieceToInt(m.TippZahl[static_cast<size_t>(i)], v)) break;
        for (int k = 1; k <= 20; ++k)
            if (m.Zahl[static_cast<size_t>(k)] == v) ++hits;
    }
    m.Gewinn = static_cast<uint8_t>(std::min(hits, 255));
}

int Komplettcheck(Model& m, SoundPlayer& sound) {
    m.Statistik.fill(0);
    if (!m.sortieren) return 0;
    int best = 0;
    m.ListBox2.clear();
    m.ListBox2.reserve(m.ListBox1.size());
    bool removed = false;
    size_t out = 0;
    for (size_t i = 0; i < m.ListBox1.size(); ++i) {
        if (trimView(m.ListBox1[i]).empty()) {
            removed = true;
            continue;
        }
        if (out != i) m.ListBox1[out] = std::move(m.ListBox1[i]);
        const std::string& line = m.ListBox1[out++];
        Zettelcheck(m, line);
        if (m.Gewinn >= m.ZahlenAnzahl / 2 + m.ZahlenAnzahl % 2 && m.CheckBox[36]) sound.play(m.SoundName);
        best = std::max<int>(best, m.Gewinn);
        ++m.Statistik[std::min<size_t>(m.Gewinn, 20)];
        m.ListBox2.push_back(m.Gewinn);
    }
    m.ListBox1.resize(out);
    m.setStatus(0, best > 0 ? "Max-Gewinn " + std::to_string(best) + "er" : std::string());
    m.notify(ChangeHits | (removed ? ChangeTips : 0u));
    return best;
}

} // namespace zf
