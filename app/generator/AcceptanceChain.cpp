#include "app/generator/AcceptanceChain.h"

#include <algorithm>

#include "app/Model.h"
#include "core/generator/TipFilters.h"

namespace zf {

void RunState::storeTip(int position, const std::vector<uint8_t>& numbers) {
    if (position < 1) return;
    if (static_cast<int>(stored.size()) <= position) stored.resize(static_cast<size_t>(position) + 1);
    StoredTip tip;
    bool repeats = false;
    for (uint8_t x : numbers) {
        repeats = repeats || tip.mask.has(x);
        tip.mask.set(x);
        maxOccurrence = std::max(maxOccurrence, ++occurrences[x]);
    }
    if (repeats) tip.numbers = numbers;
    stored[static_cast<size_t>(position)] = std::move(tip);
}

int arrangeCandidate(Tipp& tipp, Candidate& c, int n, bool fromTipp) {
    uint8_t* p = tipp.data();
    int sum = 0;
    for (int i = 1; i <= n; ++i) sum += p[i];

    if (fromTipp) {
        std::sort(p + 1, p + 1 + n);
        c.mask = DrawBits{};
        c.repeats = false;
        c.listed = true;
        c.count = 0;
        for (int i = 1; i <= n; ++i) {
            const int x = p[i];
            if (x < 1 || x > 70) continue;
            c.repeats = c.repeats || c.mask.has(x);
            c.mask.set(x);
            c.numbers[static_cast<size_t>(c.count++)] = static_cast<uint8_t>(x);
        }
    } else {
        // The drawn numbers are all different: their set read upwards is the sorted tip.
        int i = 1;
        for (uint64_t w = c.mask.lo; w; w &= w - 1) p[i++] = static_cast<uint8_t>(__builtin_ctzll(w) + 1);
        for (uint64_t w = c.mask.hi; w; w &= w - 1) p[i++] = static_cast<uint8_t>(__builtin_ctzll(w) + 65);
        c.count = n;
        c.listed = true;
        for (int k = 0; k < n; ++k) c.numbers[static_cast<size_t>(k)] = p[k + 1];
    }
    return scaledCrossSum(sum, n);
}

void AcceptanceChain::beginRun() {
    scans_ = 0;
    chartCleared_ = false;
    wholeStart_ = wholeEnd_ = recentStart_ = recentEnd_ = -1;
    rangeGeneration_ = ~0ull;
}

void AcceptanceChain::refreshHistory() {
    if (m_.draws.generation() == historyGeneration_) return;
    history_.build(m_.draws.records(), m_.draws.bits());
    historyGeneration_ = m_.draws.generation();
}

void AcceptanceChain::setCodePath(CodePath path) {
    path_ = codePathAvailable(path) ? path : CodePath::Generic;
    history_.setCodePath(path_);
}

[[gnu::always_inline]] inline bool AcceptanceChain::noHistoryMatch(const DrawBits& tip, int limit) {
    if (m_.browseDate < m_.statsStart && m_.setStatsStart(m_.browseDate - 365)) m_.notify(ChangeDates);
    m_.workDate = m_.statsStart;
    m_.windowEnd = m_.browseDate;
    if (!chartCleared_ || rangeGeneration_ != historyGeneration_) prepareHistoryFilterOnce();
    if (wholeStart_ != m_.workDate || wholeEnd_ != m_.windowEnd) {
        wholeStart_ = m_.workDate;
        wholeEnd_ = m_.windowEnd;
        wholeRange_ = history_.window(wholeStart_, wholeEnd_);
    }
    return !history_.anyWithHits(wholeRange_, tip, limit);
}

[[gnu::always_inline]] inline bool AcceptanceChain::noRecentMatch(const DrawBits& tip, int limit) {
    const double start = m_.browseDate - recentWindowWeeks(m_.num(Num::RecentDraws).pos) * 7.0;
    m_.windowEnd = m_.browseDate;
    if (!chartCleared_ || rangeGeneration_ != historyGeneration_) prepareHistoryFilterOnce();
    if (recentStart_ != start || recentEnd_ != m_.windowEnd) {
        recentStart_ = start;
        recentEnd_ = m_.windowEnd;
        recentRange_ = history_.window(recentStart_, recentEnd_);
    }
    return !history_.anyWithHits(recentRange_, tip, limit);
}

[[gnu::always_inline]] inline bool AcceptanceChain::acceptsOn(const Tipp& tipp, const Candidate& c, int crossSum,
                                                              const RunState& run) {
    const int n = run.n;
    const uint8_t* p = tipp.data();
    // n different numbers 1..70: the set read upwards is the sorted tip, and the tests look at the set.
    const bool plain = !c.repeats && c.count == n;

    if (run.t >= 2 && !overlapTests(c, run)) return false;

    // The tests up to the history filters, all of them at once: they only read, and which one rejects
    // makes no difference, while a branch per test would be guessed wrong often.
    const bool pair = plain ? tipset::hasPair(c.mask) : hasPair(p, n);
    const bool triple = plain ? tipset::hasTriple(c.mask) : hasTriple(p, n);
    bool reject = m_.on(Opt::ForcePair) & !run.pairRelaxed & !pair;
    reject |= m_.on(Opt::NoTriples) & triple;
    const int crossLow = m_.num(Num::CrossSumMin).pos, crossHigh = m_.num(Num::CrossSumMax).pos;
    reject |= (crossSum < crossLow) | (crossSum > crossHigh);

    const auto hitsWith = [&](const DrawBits& draw) {
        if (!c.repeats) return c.mask.hits(draw);
        int h = 0;
        for (int k = 0; k < c.count; ++k) h += draw.has(c.numbers[static_cast<size_t>(k)]);
        return h;
    };
    const auto outside = [&](Opt on, const DrawBits& draw, Num max, Num min) {
        const int h = hitsWith(draw), high = m_.num(max).pos, low = m_.num(min).pos;
        const bool active = m_.on(on);
        return active & ((h > high) | (h < low));
    };
    reject |= outside(Opt::LastDrawHits, run.recentBits[0], Num::LastDrawMax, Num::LastDrawMin);
    reject |= outside(Opt::SecondDrawHits, run.recentBits[1], Num::SecondDrawMax, Num::SecondDrawMin);
    reject |= outside(Opt::ThirdDrawHits, run.recentBits[2], Num::ThirdDrawMax, Num::ThirdDrawMin);
    if (reject) return false;

    // The history filters and the prime count look at the first numbers of the tip up to the Keno type.
    const int counted = std::min(n, m_.num(Num::KenoType).pos);
    const auto firstNumbers = [&] {
        if (counted >= n && !c.repeats) return c.mask;
        if (plain) return tipset::lowest(c.mask, counted);
        DrawBits tip;
        for (int i = 1; i <= counted; ++i) tip.set(p[i]);
        return tip;
    };
    if (m_.on(Opt::NoHistoryMatch) || m_.on(Opt::NoRecentMatch)) {
        ++scans_;
        const DrawBits tip = firstNumbers();
        if (m_.on(Opt::NoHistoryMatch) && !noHistoryMatch(tip, m_.num(Num::HistoryMatch).pos)) return false;
        if (m_.on(Opt::NoRecentMatch) && !noRecentMatch(tip, m_.num(Num::RecentMatch).pos)) return false;
    }

    if (m_.on(Opt::MinEven) && (plain ? tipset::countEven(c.mask) : countEven(p, n)) < m_.num(Num::MinEven).pos)
        return false;
    if (m_.on(Opt::MinOdd) && (plain ? tipset::countOdd(c.mask) : countOdd(p, n)) < m_.num(Num::MinOdd).pos)
        return false;
    if (m_.on(Opt::MinPrimes) &&
        (plain ? tipset::countPrimes(firstNumbers()) : countPrimes(p, counted)) < m_.num(Num::MinPrimes).pos)
        return false;
    if (m_.on(Opt::OnePerTen) && (plain ? tipset::sameTen(c.mask) : sameTen(p, n))) return false;
    return true;
}

// The chain compiled twice: with the population counts of the processor, and without.
#if ZF_X86_DISPATCH
ZF_TARGET_AVX2 bool AcceptanceChain::acceptsAvx2(const Tipp& tipp, const Candidate& c, int crossSum,
                                                 const RunState& run) {
    return acceptsOn(tipp, c, crossSum, run);
}
#endif

bool AcceptanceChain::acceptsGeneric(const Tipp& tipp, const Candidate& c, int crossSum, const RunState& run) {
    return acceptsOn(tipp, c, crossSum, run);
}

bool AcceptanceChain::overlapTests(const Candidate& c, const RunState& r) {
    const bool maxOn = m_.on(Opt::MaxOverlap), minOn = m_.on(Opt::MinOverlap), occOn = m_.on(Opt::MaxOccurrence);
    if (!maxOn && !minOn && !occOn) return true;
    // A drawn candidate comes as its set: list its numbers for the tests that go number by number.
    std::array<uint8_t, 11> listed = c.numbers;
    if (!c.listed) {
        int k = 0;
        for (uint64_t w = c.mask.lo; w && k < c.count; w &= w - 1)
            listed[static_cast<size_t>(k++)] = static_cast<uint8_t>(__builtin_ctzll(w) + 1);
        for (uint64_t w = c.mask.hi; w && k < c.count; w &= w - 1)
            listed[static_cast<size_t>(k++)] = static_cast<uint8_t>(__builtin_ctzll(w) + 65);
    }
    const auto overlap = [&](const StoredTip& e) {
        if (!c.repeats && e.numbers.empty()) return c.mask.hits(e.mask);
        // pairs of equal numbers, counted with their repeats
        int ov = 0;
        for (int a = 0; a < c.count; ++a) {
            const uint8_t x = listed[static_cast<size_t>(a)];
            if (e.numbers.empty())
                ov += e.mask.has(x);
            else
                ov += static_cast<int>(std::count(e.numbers.begin(), e.numbers.end(), x));
        }
        return ov;
    };
    if (maxOn || minOn) {
        const int maxOverlap = m_.num(Num::MaxOverlap).pos, minOverlap = m_.num(Num::MinOverlap).pos;
        const int last = r.t - 1;
        const int stored = std::min(last, static_cast<int>(r.stored.size()) - 1);
        for (int e = 1; e <= stored; ++e) {
            const int ov = overlap(r.stored[static_cast<size_t>(e)]);
            if (maxOn && ov > maxOverlap) return false;
            if (minOn && ov < minOverlap) return false;
        }
        // list positions without a tip share nothing with the candidate
        if (last > stored && ((minOn && 0 < minOverlap) || (maxOn && 0 > maxOverlap))) return false;
    }
    if (occOn) {
        const int limit = m_.num(Num::MaxOccurrence).pos;
        if (r.maxOccurrence > limit) return false;
        std::array<int, 71> own{};
        for (int a = 0; a < c.count; ++a) {
            const uint8_t x = listed[static_cast<size_t>(a)];
            if (r.occurrences[x] + ++own[x] > limit) return false;
        }
    }
    return true;
}

void AcceptanceChain::prepareHistoryFilterOnce() {
    if (!chartCleared_) {
        // The filters leave the chart's series empty, as a walk of the history with it does.
        chartCleared_ = true;
        m_.numberChart.active = true;
        m_.numberChart.points.clear();
        m_.notify(ChangeChart1);
    }
    if (rangeGeneration_ != historyGeneration_) {
        // The history changed: the cached windows point into the old one.
        rangeGeneration_ = historyGeneration_;
        wholeStart_ = wholeEnd_ = recentStart_ = recentEnd_ = -1;
    }
}

} // namespace zf
