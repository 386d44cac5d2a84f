#include "core/evaluation/Chance.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <thread>

#include "base/GermanNumber.h"
#include "base/Parse.h"
#include "core/evaluation/HitCount.h"
#include "core/evaluation/Winnings.h"

namespace zf {

namespace {

__extension__ typedef unsigned __int128 U128;

// A small, fast generator of its own (wyrand): the comparison must not move the program's random state
// (that would change the next tips), and it needs far more numbers than the tips do.
class FastRandom {
public:
    explicit FastRandom(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        state_ += 0xA0761D6478BD642Full;
        const U128 t = static_cast<U128>(state_) * (state_ ^ 0xE7037ED1A0B428DBull);
        return static_cast<uint64_t>(t >> 64) ^ static_cast<uint64_t>(t);
    }

private:
    uint64_t state_;
};

// A whole number in [0, m) from 32 random bits, m small: the bias is below m / 2^32.
inline int below(uint64_t bits32, int m) { return static_cast<int>(((bits32 & 0xFFFFFFFFu) * uint64_t(m)) >> 32); }

void setBit(Tip70& t, int bit) {
    if (bit < 64)
        t.lo |= uint64_t{1} << bit;
    else
        t.hi |= uint64_t{1} << (bit - 64);
}

// Draws of 20 of 70, uniformly: the first 20 steps of a Fisher-Yates shuffle. Whatever order the
// numbers are in, 20 steps pick a uniform 20-subset, so the order the last draw left is shuffled on.
class DrawMachine {
public:
    explicit DrawMachine(uint64_t seed) : rng_(seed) {
        for (uint8_t i = 0; i < 70; ++i) order_[i] = i;
    }
    Tip70 next() {
        uint64_t lo = 0, hi = 0;
        for (int i = 0; i < 20; i += 2) {
            const uint64_t r = rng_.next(); // two numbers from each random word
            lo |= pick(i, below(r, 70 - i), hi);
            lo |= pick(i + 1, below(r >> 32, 69 - i), hi);
        }
        return {lo, hi};
    }

private:
    uint64_t pick(int i, int offset, uint64_t& hi) {
        const size_t k = static_cast<size_t>(i + offset);
        const uint8_t v = order_[k];
        order_[k] = order_[static_cast<size_t>(i)];
        order_[static_cast<size_t>(i)] = v;
        hi |= v >= 64 ? uint64_t{1} << (v - 64) : 0;
        return v < 64 ? uint64_t{1} << v : 0;
    }
    FastRandom rng_;
    std::array<uint8_t, 70> order_{};
};

// Repetitions go in blocks, each with a random stream of its own, so that the result does not depend
// on how many threads share the work.
constexpr int kBlock = 8;
uint64_t blockSeed(uint64_t seed, int block) {
    FastRandom mix(seed ^ (0x9E3779B97F4A7C15ull * static_cast<uint64_t>(block + 1)));
    return mix.next();
}

// The bits set in both words, inline: without a popcount instruction in the target, std::popcount
// calls a library function.
inline int bitsIn(uint64_t a, uint64_t b) {
    constexpr uint64_t m1 = 0x5555555555555555ull, m2 = 0x3333333333333333ull, m4 = 0x0F0F0F0F0F0F0F0Full;
    a -= (a >> 1) & m1;
    b -= (b >> 1) & m1;
    uint64_t x = (a & m2) + ((a >> 2) & m2) + (b & m2) + ((b >> 2) & m2); // at most 8 a nibble
    x = (x & m4) + ((x >> 4) & m4);
    return static_cast<int>((x * 0x0101010101010101ull) >> 56);
}

// Hits drawn from a hit law with one random number u: h hits when cdf[h-1] <= u < cdf[h], cdf[h] being
// the share of 2^64 up to h hits. The top 12 bits of u look up where to start, so that mostly no
// step is needed.
class HitSampler {
public:
    explicit HitSampler(const HitLaw& law) : last_(law.numbers) {
        U128 cum = 0;
        cdf_.fill(~uint64_t{0});
        for (int h = 0; h < last_; ++h) {
            cum += law.ways[static_cast<size_t>(h)];
            cdf_[static_cast<size_t>(h)] = static_cast<uint64_t>((cum << 64) / law.total);
        }
        int h = 0;
        for (size_t i = 0; i < start_.size(); ++i) {
            const uint64_t lowest = uint64_t{i} << 52;
            while (h < last_ && lowest >= cdf_[static_cast<size_t>(h)]) ++h;
            start_[i] = static_cast<uint8_t>(h);
        }
    }
    int operator()(FastRandom& rng) const {
        const uint64_t u = rng.next();
        int h = start_[u >> 52];
        while (h < last_ && u >= cdf_[static_cast<size_t>(h)]) ++h;
        return h;
    }

private:
    int last_;
    std::array<uint64_t, 21> cdf_{};
    std::array<uint8_t, 4096> start_{};
};

// Pearson's distance between observed and expected totals. Hit counts with few expected checks are
// pooled with their neighbours (at least 5 expected per cell), so a single rare hit count does not
// decide the verdict alone.
class PooledCells {
public:
    explicit PooledCells(const std::vector<double>& expected) : of_(expected.size()) {
        double acc = 0;
        for (size_t h = 0; h < expected.size(); ++h) {
            of_[h] = cells_.size();
            acc += expected[h];
            if (acc >= 5) {
                cells_.push_back(acc);
                acc = 0;
            }
        }
        // What is left joins the last cell; with less than 5 expected in all there is one cell.
        if (cells_.empty()) {
            cells_.push_back(acc);
            std::fill(of_.begin(), of_.end(), 0);
        } else {
            for (size_t& c : of_)
                if (c == cells_.size()) c = cells_.size() - 1;
            cells_.back() += acc;
        }
    }
    template <class Counts> double distance(const Counts& counts) const {
        std::array<double, 21> observed{};
        for (size_t h = 0; h < of_.size(); ++h) observed[of_[h]] += static_cast<double>(counts[h]);
        double d = 0;
        for (size_t c = 0; c < cells_.size(); ++c) {
            const double diff = observed[c] - cells_[c];
            if (cells_[c] > 0)
                d += diff * diff / cells_[c];
            else if (observed[c] > 0)
                return std::numeric_limits<double>::infinity();
        }
        return d;
    }

private:
    std::vector<size_t> of_;
    std::vector<double> cells_;
};

// Counts how many repetitions deviate at least as much as the observation; false when stopped.
struct Tally {
    double observedDistance = 0;
    int atLeast = 0;
    int done = 0;
    void add(double d) {
        // Equal distances count as "at least as much", rounding included.
        if (d >= observedDistance - 1e-9 * std::max(1.0, observedDistance)) ++atLeast;
        ++done;
    }
    void finish(ChanceComparison& c, int repetitions) const {
        c.repetitions = done;
        c.complete = done == repetitions;
        c.beyondAll = atLeast == 0;
        c.pValue = (1.0 + atLeast) / (1.0 + done);
    }
};

std::string euros(double v) { return formatAmount(v, 2) + " €"; }

std::string pText(const ChanceComparison& c) {
    if (c.beyondAll) return "p < " + formatAmount(1.0 / std::max(c.repetitions, 1), 3);
    return "p = " + formatAmount(c.pValue, c.pValue >= 0.1 ? 2 : 3);
}

constexpr std::array<std::string_view, 7> kCaptions = {
    "Tipp berechnen und Test welchen Erfolg dieser bis Heute hätte",
    "Tipp berechnen und jeweils den Erfolg in der nächsten Ziehung testen",
    "Test wie oft die gezogenen Zahlen in der jeweils nächsten Ziehung auftreten",
    "Test wie oft die Zahlen in der jeweils übernächsten Ziehung auftreten",
    "Test wie oft die Zahlen in der jeweils überübernächsten Ziehung auftreten",
    "Test wie oft die Zahlen in den nächsten 3 Ziehungen vorkommen",
    "Test wie oft die Zahlen in den letzten 3 Ziehungen vorkommen",
};

int clampType(int kenoType) { return std::clamp(kenoType, 2, 10); }

} // namespace

uint64_t binomial(int n, int k) {
    if (k < 0 || n < 0 || k > n) return 0;
    k = std::min(k, n - k);
    U128 r = 1;
    // Each partial product is itself a binomial coefficient, so every division is exact.
    for (int i = 1; i <= k; ++i) r = r * static_cast<U128>(n - k + i) / static_cast<U128>(i);
    return static_cast<uint64_t>(r);
}

double HitLaw::probability(int h) const {
    if (h < 0 || h > 20) return 0;
    return static_cast<double>(ways[static_cast<size_t>(h)]) / static_cast<double>(total);
}

const HitLaw& hitLaw(int numbers) {
    static const std::array<HitLaw, 21> laws = [] {
        std::array<HitLaw, 21> all{};
        for (int k = 0; k <= 20; ++k) {
            HitLaw& law = all[static_cast<size_t>(k)];
            law.numbers = k;
            law.total = binomial(70, k);
            for (int h = 0; h <= k; ++h) law.ways[static_cast<size_t>(h)] = binomial(20, h) * binomial(50, k - h);
        }
        return all;
    }();
    return laws[static_cast<size_t>(std::clamp(numbers, 0, 20))];
}

Ratio expectedReturn(int kenoType) {
    if (kenoType < 2 || kenoType > 10) return {};
    const HitLaw& law = hitLaw(kenoType);
    U128 num = 0;
    for (int h = 0; h <= kenoType; ++h)
        num += static_cast<U128>(law.ways[static_cast<size_t>(h)]) * static_cast<U128>(payout(kenoType, h));
    const uint64_t n = static_cast<uint64_t>(num); // below C(70,10) · 100000, about 4e16
    const uint64_t g = std::gcd(n, law.total);
    return {n / g, law.total / g};
}

int64_t stakeEuros(int stakeItem) {
    static const int64_t stakes[] = {1, 2, 5, 10};
    return stakeItem >= 0 && stakeItem <= 3 ? stakes[stakeItem] : 1;
}

OddsTable oddsTable(int kenoType, int stakeItem) {
    OddsTable t;
    t.kenoType = clampType(kenoType);
    t.stakeItem = stakeItem;
    t.stake = stakeEuros(stakeItem);
    const HitLaw& law = hitLaw(t.kenoType);
    t.total = law.total;
    uint64_t winningWays = 0;
    for (int h = t.kenoType; h >= 0; --h) {
        OddsRow r;
        r.hits = h;
        r.ways = law.ways[static_cast<size_t>(h)];
        r.odds = static_cast<double>(law.total) / static_cast<double>(r.ways);
        r.payout = payout(t.kenoType, h) * t.stake;
        r.expected = static_cast<double>(r.payout) * law.probability(h);
        if (r.payout > 0) winningWays += r.ways;
        t.expectedPayout += r.expected;
        t.rows.push_back(r);
    }
    t.anyWin = static_cast<double>(winningWays) / static_cast<double>(law.total);
    t.returnRate = t.expectedPayout / static_cast<double>(t.stake);
    return t;
}

std::string oddsText(double odds) {
    const int decimals = odds >= 100 ? 0 : (odds >= 10 ? 1 : 2);
    return "1 : " + formatAmount(odds, decimals);
}

std::string anyWinText(const OddsTable& t) {
    return "Gewinnchance je Tipp " + oddsText(1 / t.anyWin) + " (" + formatAmount(100 * t.anyWin, 2) + " %)";
}

std::string returnText(const OddsTable& t) {
    return "Von " + formatAmount(static_cast<double>(t.stake), 0) + " € Einsatz fließen im Mittel " +
           euros(t.expectedPayout) + " zurück";
}

std::vector<std::string> oddsLines(const OddsTable& t) {
    std::vector<std::string> lines;
    for (const OddsRow& r : t.rows)
        lines.push_back(std::to_string(r.hits) + ";" + oddsText(r.odds) + ";" +
                        formatAmount(static_cast<double>(r.payout), 0, false) + ";" +
                        formatAmount(r.expected, 4, false));
    lines.push_back("anywin;" + oddsText(1 / t.anyWin) + ";" + formatAmount(100 * t.anyWin, 2) + " %");
    lines.push_back("return;" + formatAmount(100 * t.returnRate, 1) + " %;" + returnText(t));
    return lines;
}

// ---- the tip list in any draw ----

namespace {

// The chance that the tips' payouts (in euros at a stake of 1) add up to at least `target`: exactly,
// amount by amount, unless the list and the target are both so large that random trials must do.
double chanceAtLeast(const std::array<int64_t, 21>& tipsBySize, int kenoType, int64_t target, bool& estimated) {
    estimated = false;
    if (target <= 0) return 1;
    struct Outcome {
        int64_t value;
        double p;
    };
    std::array<std::vector<Outcome>, 21> outcomes;
    double work = 0;
    for (int k = 0; k <= 20; ++k) {
        if (tipsBySize[static_cast<size_t>(k)] == 0) continue;
        auto& o = outcomes[static_cast<size_t>(k)];
        for (int h = 0; h <= k; ++h) {
            const int64_t v = payout(kenoType, h);
            const double p = hitLaw(k).probability(h);
            auto same = std::find_if(o.begin(), o.end(), [v](const Outcome& x) { return x.value == v; });
            if (same != o.end())
                same->p += p;
            else
                o.push_back({v, p});
        }
        work += static_cast<double>(tipsBySize[static_cast<size_t>(k)]) * static_cast<double>(target) *
                static_cast<double>(o.size());
    }
    if (work <= 4e7) {
        const size_t n = static_cast<size_t>(target);
        std::vector<double> cur(n, 0.0), next(n, 0.0);
        cur[0] = 1;
        size_t reach = 1; // cur is 0 from here on
        double reached = 0;
        for (int k = 0; k <= 20; ++k) {
            const auto& o = outcomes[static_cast<size_t>(k)];
            int64_t widest = 0;
            for (const Outcome& x : o) widest = std::max(widest, x.value);
            for (int64_t i = 0; i < tipsBySize[static_cast<size_t>(k)]; ++i) {
                const size_t nextReach = std::min(n, reach + static_cast<size_t>(widest));
                std::fill(next.begin(), next.begin() + static_cast<std::ptrdiff_t>(nextReach), 0.0);
                for (size_t v = 0; v < reach; ++v) {
                    const double d = cur[v];
                    if (d == 0) continue;
                    for (const Outcome& x : o) {
                        const size_t w = v + static_cast<size_t>(x.value);
                        if (w >= n)
                            reached += d * x.p;
                        else
                            next[w] += d * x.p;
                    }
                }
                reach = nextReach;
                std::swap(cur, next);
            }
        }
        return std::min(1.0, reached);
    }
    // Random trials: how many tips of each size land in each payout class is multinomial, drawn as a
    // chain of binomials, so that a trial costs the same however long the list is.
    estimated = true;
    constexpr int kTrials = 20000;
    std::mt19937_64 rng(31334);
    int hit = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        int64_t sum = 0;
        for (int k = 0; k <= 20 && sum < target; ++k) {
            int64_t left = tipsBySize[static_cast<size_t>(k)];
            double share = 1;
            const auto& o = outcomes[static_cast<size_t>(k)];
            for (size_t j = 0; j < o.size() && left > 0; ++j) {
                int64_t inClass = left;
                if (j + 1 < o.size()) {
                    const double p = std::clamp(o[j].p / share, 0.0, 1.0);
                    inClass = std::binomial_distribution<int64_t>(left, p)(rng);
                    share -= o[j].p;
                }
                sum += inClass * o[j].value;
                left -= inClass;
            }
        }
        hit += sum >= target;
    }
    return static_cast<double>(hit) / kTrials;
}

} // namespace

ListOutlook listOutlook(const std::vector<std::string>& tipLines, const std::vector<uint8_t>& hits, int kenoType,
                        int stakeItem) {
    ListOutlook o;
    const int64_t s = stakeEuros(stakeItem);
    std::array<int64_t, 21> bySize{};
    for (const std::string& line : tipLines) ++bySize[static_cast<size_t>(countedNumbers(line, kenoType).size())];
    o.tips = static_cast<int64_t>(tipLines.size());
    o.stake = o.tips * s;
    for (int k = 0; k <= 20; ++k) {
        double perTip = 0;
        for (int h = 0; h <= k; ++h) perTip += static_cast<double>(payout(kenoType, h)) * hitLaw(k).probability(h);
        o.expectedWin += static_cast<double>(bySize[static_cast<size_t>(k)]) * perTip * static_cast<double>(s);
    }
    int64_t units = 0;
    for (uint8_t h : hits)
        if (h <= 10) units += payout(kenoType, h);
    o.won = units * s;
    o.chanceAtLeast = chanceAtLeast(bySize, kenoType, units, o.estimated);
    return o;
}

std::string outlookText(const ListOutlook& o) {
    std::string text = "Einsatz der Liste: " + euros(static_cast<double>(o.stake)) +
                       "\nIm Mittel gewinnt die Liste je Ziehung " + euros(o.expectedWin);
    if (o.won > 0) {
        const double p = o.chanceAtLeast;
        text += "\nSo viel oder mehr gewinnen zufällige Tipps " + std::string(o.estimated ? "etwa " : "") + "in " +
                formatAmount(100 * p, p >= 0.1 ? 1 : (p >= 0.001 ? 2 : 4)) + " % der Ziehungen";
        if (p > 0) text += " (" + oddsText(1 / p) + ")";
    }
    return text;
}

// ---- backtests beside chance ----

void Tip70::add(int number) {
    if (number >= 1 && number <= 70) setBit(*this, number - 1);
}
int Tip70::size() const { return bitsIn(lo, hi); }
int Tip70::hitsIn(const Tip70& draw) const { return bitsIn(lo & draw.lo, hi & draw.hi); }

Tip70 countedNumbers(std::string_view line, int kenoType) {
    std::string withComma(line);
    withComma += ',';
    TipPieces pieces;
    splitTipLine(withComma, pieces);
    Tip70 t;
    const int n = std::min(pieces.count, kenoType);
    for (int k = 1; k <= n; ++k) {
        const auto v = parseInt32(pieces.slot[static_cast<size_t>(k)]);
        if (!v) break;
        t.add(*v);
    }
    return t;
}

Tip70 drawnNumbers(const std::array<int, 21>& zahl) {
    Tip70 t;
    for (size_t k = 1; k <= 20; ++k) t.add(zahl[k]);
    return t;
}

void TipCheckRecord::addPass(const std::vector<Tip70>& tips, const Tip70& draw) {
    checks_ += static_cast<int64_t>(tips.size());
    if (!passes_.empty()) {
        const Pass last = passes_.back();
        if (last.offset + last.count == tips_.size() && tips.size() >= last.count &&
            std::equal(tips.begin(), tips.begin() + static_cast<std::ptrdiff_t>(last.count),
                       tips_.begin() + static_cast<std::ptrdiff_t>(last.offset))) {
            tips_.insert(tips_.end(), tips.begin() + static_cast<std::ptrdiff_t>(last.count), tips.end());
            passes_.push_back({last.offset, tips.size(), draw});
            return;
        }
    }
    passes_.push_back({tips_.size(), tips.size(), draw});
    tips_.insert(tips_.end(), tips.begin(), tips.end());
}

std::string_view backtestCaption(BacktestKind kind) { return kCaptions[static_cast<size_t>(kind)]; }

std::string verdictText(const ChanceComparison& c) {
    if (!c.complete) return "kein Urteil (der Vergleich wurde abgebrochen)";
    return std::string(c.remarkable() ? "auffällig" : "im Rahmen des Zufalls") + " (" + pText(c) + ")";
}

std::string meaningText(const ChanceComparison& c) {
    if (!c.complete)
        return "Der Vergleich wurde vor dem Ende der " + std::to_string(c.repetitions) +
               " Wiederholungen gestoppt; die erwarteten Zahlen gelten trotzdem.";
    std::string share;
    if (c.beyondAll)
        share = "in weniger als " + formatAmount(100.0 / std::max(c.repetitions, 1), 1) + " %";
    else
        share = "in " + formatAmount(100 * c.pValue, c.pValue >= 0.1 ? 0 : 1) + " %";
    if (c.remarkable())
        return "Das heißt: Zufällige Ziehungen weichen nur " + share +
               " der Fälle so stark von der erwarteten Trefferverteilung ab; das ist ungewöhnlich, verspricht aber "
               "keine Gewinne in künftigen Ziehungen.";
    return "Das heißt: Zufällige Ziehungen weichen " + share +
           " der Fälle mindestens so stark von der erwarteten Trefferverteilung ab; ein Vorteil gegenüber dem "
           "Zufall ist nicht zu erkennen, ein Beweis für reinen Zufall ist das aber nicht.";
}

std::vector<std::string> comparisonLines(const ChanceComparison& c) {
    std::vector<std::string> out{"Vergleich mit dem Zufall", "Test: " + std::string(backtestCaption(c.kind))};
    if (isGeneratorBacktest(c.kind))
        out.push_back("Geprüft: " + std::to_string(c.checks) + " Tipps in " + std::to_string(c.passes) + " Ziehungen");
    else
        out.push_back("Geprüft: " + std::to_string(c.checks) +
                      " Vergleiche der 20 Zahlen einer Ziehung mit einer anderen Ziehung");
    out.push_back("Treffer\tbeobachtet\terwartet");
    for (size_t h = 0; h < c.observed.size(); ++h)
        out.push_back((h < 10 ? "0" : "") + std::to_string(h) + "\t" + std::to_string(c.observed[h]) + "\t" +
                      formatAmount(c.expected[h], 1, false));
    out.push_back("Ergebnis: " + verdictText(c));
    out.push_back(meaningText(c));
    if (c.money) {
        const ChanceMoney& m = *c.money;
        out.push_back("Einsatz: " + euros(static_cast<double>(m.staked)));
        out.push_back("Gewonnen: " + euros(static_cast<double>(m.won)));
        if (c.complete)
            out.push_back("Zufällige Ziehungen: im Mittel " + euros(m.mean) + ", 5–95 %: " + euros(m.low) + " bis " +
                          euros(m.high));
    }
    const std::string reps =
        std::to_string(c.repetitions) + " Wiederholungen (Startwert " + std::to_string(c.seed) + ")";
    if (isGeneratorBacktest(c.kind))
        out.push_back("Grundlage: die Tipps wie getestet, die Ziehungen zufällig neu gezogen (20 aus 70), " + reps);
    else
        out.push_back("Grundlage: exakte Trefferverteilung zweier unabhängiger Ziehungen (20 aus 70), " + reps);
    return out;
}

ChanceComparison compareRecurrence(BacktestKind kind, const BacktestTotals& totals, const ChanceRun& run) {
    ChanceComparison c;
    c.kind = kind;
    c.seed = run.seed;
    c.passes = totals.passes;
    const HitLaw& law = hitLaw(20);
    c.observed.assign(totals.hits.begin(), totals.hits.end());
    for (int64_t n : c.observed) c.checks += n;
    for (int h = 0; h <= 20; ++h) c.expected.push_back(static_cast<double>(c.checks) * law.probability(h));
    const PooledCells cells(c.expected);

    // Comparisons that share a draw (the three-draw tests) are pairwise independent under chance, which
    // keeps the expected totals and their spread; they are drawn here as fully independent.
    Tally tally{cells.distance(c.observed)};
    FastRandom rng(run.seed);
    const HitSampler sample(law);
    for (int r = 0; r < run.repetitions; ++r) {
        std::array<int64_t, 21> counts{};
        for (int64_t i = 0; i < c.checks; ++i) ++counts[static_cast<size_t>(sample(rng))];
        tally.add(cells.distance(counts));
        if (run.progress && !run.progress(static_cast<double>(r + 1) / run.repetitions)) break;
    }
    tally.finish(c, run.repetitions);
    return c;
}

ChanceComparison compareGenerator(BacktestKind kind, const TipCheckRecord& record, int kenoType, int stakeItem,
                                  const ChanceRun& run) {
    ChanceComparison c;
    c.kind = kind;
    c.seed = run.seed;
    c.passes = static_cast<int64_t>(record.passes());
    c.checks = record.checks();
    const auto& tips = record.tips();
    int widest = 0;
    std::array<int64_t, 21> bySize{}, observed{};
    for (const auto& pass : record.passList())
        for (size_t i = pass.offset; i < pass.offset + pass.count; ++i) {
            const int k = tips[i].size();
            widest = std::max(widest, k);
            ++bySize[static_cast<size_t>(k)];
            ++observed[static_cast<size_t>(tips[i].hitsIn(pass.draw))];
        }
    c.observed.assign(observed.begin(), observed.begin() + widest + 1);
    c.expected.assign(static_cast<size_t>(widest) + 1, 0.0);
    for (int k = 0; k <= widest; ++k)
        for (int h = 0; h <= k; ++h)
            c.expected[static_cast<size_t>(h)] +=
                static_cast<double>(bySize[static_cast<size_t>(k)]) * hitLaw(k).probability(h);
    const PooledCells cells(c.expected);

    const int64_t s = stakeEuros(stakeItem);
    auto paid = [&](const std::array<int64_t, 21>& counts) {
        int64_t units = 0;
        for (int h = 0; h <= 10; ++h) units += counts[static_cast<size_t>(h)] * payout(kenoType, h);
        return units * s;
    };
    ChanceMoney money;
    money.staked = c.checks * s;
    money.won = paid(observed);

    // Each repetition: a new draw for every pass, the hits of the pass's tips in it.
    const int repetitions = std::max(run.repetitions, 0);
    const int blocks = (repetitions + kBlock - 1) / kBlock;
    std::vector<std::array<int64_t, 21>> counts(static_cast<size_t>(blocks) * kBlock);
    std::vector<char> blockDone(static_cast<size_t>(blocks), 0);
    std::atomic<int> nextBlock{0}, blocksDone{0};
    std::atomic<bool> stop{false};
    const auto& passes = record.passList();
    auto work = [&](bool reports) {
        for (;;) {
            const int b = nextBlock.fetch_add(1);
            if (b >= blocks || stop.load()) return;
            DrawMachine draws(blockSeed(run.seed, b));
            std::array<int64_t, 21>* mine = &counts[static_cast<size_t>(b) * kBlock];
            for (int q = 0; q < kBlock; ++q) {
                auto& n = mine[q];
                for (const auto& pass : passes) {
                    const Tip70 draw = draws.next();
                    for (size_t i = pass.offset; i < pass.offset + pass.count; ++i)
                        ++n[static_cast<size_t>(tips[i].hitsIn(draw))];
                }
            }
            blockDone[static_cast<size_t>(b)] = 1;
            const int done = blocksDone.fetch_add(1) + 1;
            if (reports && run.progress &&
                !run.progress(std::min(1.0, static_cast<double>(done) * kBlock / std::max(repetitions, 1))))
                stop.store(true);
        }
    };
    // The calling thread works too and alone reports progress (the progress may touch the window).
    std::vector<std::thread> helpers;
    const size_t wanted = std::min<size_t>(std::max(1u, std::thread::hardware_concurrency()), 8) - 1;
    const auto workload = static_cast<double>(c.checks + c.passes * 20) * repetitions; // tip checks and numbers drawn
    for (size_t t = 0; t < wanted && blocks > 1 && workload > 1e6; ++t) helpers.emplace_back(work, false);
    work(true);
    for (std::thread& t : helpers) t.join();

    Tally tally{cells.distance(c.observed)};
    std::vector<double> paidByChance;
    for (int b = 0; b < blocks; ++b) {
        if (!blockDone[static_cast<size_t>(b)]) continue;
        for (int q = 0; q < kBlock && b * kBlock + q < repetitions; ++q) {
            const auto& n = counts[static_cast<size_t>(b * kBlock + q)];
            tally.add(cells.distance(n));
            paidByChance.push_back(static_cast<double>(paid(n)));
        }
    }
    tally.finish(c, repetitions);
    if (!paidByChance.empty()) {
        money.mean =
            std::accumulate(paidByChance.begin(), paidByChance.end(), 0.0) / static_cast<double>(paidByChance.size());
        std::sort(paidByChance.begin(), paidByChance.end());
        const auto at = [&](double q) {
            return paidByChance[static_cast<size_t>(std::lround(q * static_cast<double>(paidByChance.size() - 1)))];
        };
        money.low = at(0.05);
        money.high = at(0.95);
    }
    c.money = money;
    return c;
}

} // namespace zf
