#pragma once
// A generator on a temp program folder, and an independent check of what the acceptance chain
// promises about every tip it lets into the list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/AppController.h"
#include "app/Model.h"
#include "app/draws/Browser.h"
#include "app/generator/GeneratorController.h"
#include "base/GermanFormat.h"
#include "core/ports/SettingsStore.h"
#include "core/tips/TipLine.h"
#include "platform/SystemClock.h"
#include "support/TestSupport.h"

namespace zf::gentest {

using test::TempDir;

// A draw of y-m-d with exactly these numbers (padded with 51, 52, ... to twenty).
inline DrawRecord keno(int y, int mo, int d, std::vector<int> numbers) {
    for (int pad = 51; numbers.size() < 20; ++pad)
        if (std::find(numbers.begin(), numbers.end(), pad) == numbers.end()) numbers.push_back(pad);
    return test::drawWith(y, mo, d, numbers);
}

inline std::vector<int> range(int from, int to) {
    std::vector<int> v;
    for (int i = from; i <= to; ++i) v.push_back(i);
    return v;
}

// Every option that favours numbers or rejects tips switched off, the cross-sum range wide open.
inline void neutralOptions(Model& m) {
    for (int n :
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17, 18, 19, 20, 22, 23, 24, 25, 26, 29, 30, 31, 32})
        m.checkBoxes[static_cast<size_t>(n)] = false;
    m.num(Num::CrossSumMin).set(1);
    m.num(Num::CrossSumMax).set(1400);
}

struct GenFixture : ::testing::Test, test::WithSession {
    GenFixture() : WithSession(dateValue(2021, 3, 1) + 0.5) {}
    TempDir dir;
    GeneratorController& gen = session.generator;
    std::vector<std::string> statusLog; // every text status bar panel 1 was given

    void SetUp() override {
        m.home = dir.path();
        m.hitCheckOn = true;
        m.statsStart = Model::statsStartMin;
        m.yearlyDate = dateValue(2021, 3, 2);
        m.listener = [this](unsigned what) {
            if ((what & ChangeStatus) && (statusLog.empty() || statusLog.back() != m.status[1]))
                statusLog.push_back(m.status[1]);
        };
    }
    void useDraws(const std::vector<DrawRecord>& records) { test::writeDraws(dir.file("Keno.dat"), records); }
    void useBundledHistory() {
        std::string error;
        ASSERT_TRUE(writeBundledHistory(dir.file("Keno.dat"), &error)) << error;
    }
    void chooseDay(int y, int mo, int d) { ASSERT_TRUE(m.setBrowseDate(dateValue(y, mo, d))); }
    // "Tipps berechnen" with this random state, to the end.
    const std::vector<std::string>& generate(uint32_t seed) {
        m.random.setState(seed);
        gen.toggleRun();
        return m.tipLines;
    }
    int weight(int k) const { return gen.pool().count(k); }
};

inline std::vector<int> numbersOf(const std::string& line) {
    std::vector<int> v;
    for (const auto& p : splitPieces(line)) v.push_back(std::stoi(p));
    return v;
}

inline int roundEven(double x) {
    std::fesetround(FE_TONEAREST);
    return static_cast<int>(std::nearbyint(x));
}

inline int common(const std::vector<int>& a, const std::vector<int>& b) {
    int c = 0;
    for (int x : a) c += static_cast<int>(std::count(b.begin(), b.end(), x));
    return c;
}

// Checks the tips of the list from position `first` on against the options in `m` (as they are after
// the run) and the draws of the history, with plain loops over the records.
inline void expectTipsObeyOptions(const Model& m, const std::vector<DrawRecord>& recs, size_t first = 1) {
    const int n = m.num(Num::KenoType).pos;
    const double day = std::floor(m.browseDate);
    size_t cur = recs.size() - 1;
    for (size_t i = 0; i < recs.size(); ++i)
        if (recs[i].datum >= day) {
            cur = i;
            break;
        }
    std::vector<std::vector<int>> recent;
    for (size_t back = 0; back < 3; ++back)
        recent.push_back(cur >= back ? std::vector<int>(recs[cur - back].zahl.begin(), recs[cur - back].zahl.end())
                                     : std::vector<int>{});
    const double start = m.statsStart; // as the run left it
    const int M = m.num(Num::RecentDraws).pos;
    const double recentStart = m.browseDate - roundEven(M / 6.0) * 7;
    const auto isPrime = [](int x) {
        if (x == 1) return true;
        for (int d = 2; d * d <= x; ++d)
            if (x % d == 0) return false;
        return x > 1;
    };

    std::vector<std::vector<int>> tips;
    for (const auto& line : m.tipLines) tips.push_back(numbersOf(line));
    for (size_t t = first - 1; t < tips.size(); ++t) {
        const auto& tip = tips[t];
        SCOPED_TRACE("Tipp " + std::to_string(t + 1) + ": " + m.tipLines[t]);
        ASSERT_EQ(static_cast<int>(tip.size()), n);
        EXPECT_TRUE(std::is_sorted(tip.begin(), tip.end()));
        EXPECT_EQ(std::set<int>(tip.begin(), tip.end()).size(), tip.size());
        for (int x : tip) EXPECT_TRUE(x >= 1 && x <= 70);
        EXPECT_EQ(formatTipLine(tip), m.tipLines[t]);

        int sum = 0;
        for (int x : tip) sum += x;
        const int qs = roundEven(static_cast<double>(sum) / n * 20);
        EXPECT_GE(qs, m.num(Num::CrossSumMin).pos);
        EXPECT_LE(qs, m.num(Num::CrossSumMax).pos);

        if (t > 0) {
            int maxOv = 0, minOv = n;
            for (size_t e = 0; e < t; ++e) {
                std::vector<int> other(tips[e].begin(), tips[e].begin() + std::min<size_t>(tips[e].size(), n));
                maxOv = std::max(maxOv, common(tip, other));
                minOv = std::min(minOv, common(tip, other));
            }
            if (m.on(Opt::MaxOverlap)) {
                EXPECT_LE(maxOv, m.num(Num::MaxOverlap).pos);
            }
            if (m.on(Opt::MinOverlap)) {
                EXPECT_GE(minOv, m.num(Num::MinOverlap).pos);
            }
            if (m.on(Opt::MaxOccurrence)) {
                for (int x = 1; x <= 70; ++x) {
                    int c = 0;
                    for (size_t e = 0; e <= t; ++e)
                        c += static_cast<int>(std::count(tips[e].begin(), tips[e].end(), x));
                    EXPECT_LE(c, m.num(Num::MaxOccurrence).pos) << "Zahl " << x;
                }
            }
        }
        bool pair = false, triple = false;
        for (size_t i = 0; i + 1 < tip.size(); ++i) pair = pair || tip[i] + 1 == tip[i + 1];
        for (size_t i = 0; i + 2 < tip.size(); ++i)
            triple = triple || (tip[i] + 1 == tip[i + 1] && tip[i] + 2 == tip[i + 2]);
        if (m.on(Opt::ForcePair)) {
            EXPECT_TRUE(pair);
        }
        if (m.on(Opt::NoTriples)) {
            EXPECT_FALSE(triple);
        }

        const int boxes[3] = {4, 5, 23}, maxima[3] = {4, 5, 11}, minima[3] = {21, 22, 23};
        for (size_t d = 0; d < 3; ++d) {
            if (!m.checkBoxes[static_cast<size_t>(boxes[d])]) continue;
            const int h = common(tip, recent[d]);
            EXPECT_LE(h, m.upDowns[static_cast<size_t>(maxima[d])].pos) << "Ziehung " << d;
            EXPECT_GE(h, m.upDowns[static_cast<size_t>(minima[d])].pos) << "Ziehung " << d;
        }
        for (const auto& r : recs) {
            const std::vector<int> drawn(r.zahl.begin(), r.zahl.end());
            const int h = common(tip, drawn);
            if (m.on(Opt::NoHistoryMatch) && r.datum > start && r.datum <= m.browseDate) {
                EXPECT_LT(h, m.num(Num::HistoryMatch).pos) << formatDate(r.datum);
            }
            if (m.on(Opt::NoRecentMatch) && r.datum > recentStart && r.datum <= m.browseDate) {
                EXPECT_LT(h, m.num(Num::RecentMatch).pos) << formatDate(r.datum);
            }
        }
        int even = 0, primes = 0;
        for (int x : tip) {
            even += x % 2 == 0;
            primes += isPrime(x);
        }
        if (m.on(Opt::MinEven)) {
            EXPECT_GE(even, m.num(Num::MinEven).pos);
        }
        if (m.on(Opt::MinOdd)) {
            EXPECT_GE(n - even, m.num(Num::MinOdd).pos);
        }
        if (m.on(Opt::MinPrimes)) {
            EXPECT_GE(primes, m.num(Num::MinPrimes).pos);
        }
        if (m.on(Opt::OnePerTen)) {
            for (size_t i = 0; i + 1 < tip.size(); ++i) EXPECT_NE(tip[i] / 10, tip[i + 1] / 10);
        }
    }
}

} // namespace zf::gentest
