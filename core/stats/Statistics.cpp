#include "core/stats/Statistics.h"
#include "base/Parse.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

namespace zf::stats {
namespace {

constexpr int kNumbers = 70;

// The value axis fixed to the smallest and largest bar, so the smallest bar shows no height.
void fixAxisToBars(ChartData& c) {
    c.axisFixed = true;
    c.axisMin = 0;
    c.axisMax = 0;
    if (c.points.empty()) return;
    const auto [lo, hi] = std::minmax_element(c.points.begin(), c.points.end(),
                                              [](const ChartPoint& a, const ChartPoint& b) { return a.y < b.y; });
    c.axisMin = lo->y;
    c.axisMax = hi->y;
}

// Automatic scaling: bars grow from 0, so the range it covers runs from 0 to the largest bar.
// The range is kept for the readers of the chart all the same.
void autoAxis(ChartData& c) {
    c.axisFixed = false;
    c.axisMin = 0;
    c.axisMax = 0;
    for (const auto& p : c.points) {
        c.axisMin = std::min(c.axisMin, p.y);
        c.axisMax = std::max(c.axisMax, p.y);
    }
}

BarColour primeColour(int x) { return inPrimeSet(x) ? BarColour::Red : BarColour::Green; }

int crossSum(const DrawRecord& r) {
    int s = 0;
    for (uint8_t n : r.zahl) s += n;
    return s;
}

std::string drawsAndMean(double draws, double sum) {
    return std::to_string(roundHalfEven(draws)) + "    Quersumme: " + meanText(sum, draws);
}

// A tip piece as a whole number: blanks around it are allowed, nothing else.
std::optional<int32_t> pieceNumber(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return parseInt32(s);
}

} // namespace

Window settleWindow(double startPicker, double endPicker) {
    Window w;
    w.start = std::floor(startPicker);
    w.end = std::floor(endPicker);
    if (w.end < w.start) {
        w.start = w.end - 365;
        w.startMoved = true;
    }
    return w;
}

bool inWindow(const Window& w, double datum, StartDay startDay) {
    if (!std::isfinite(datum) || datum > w.end) return false;
    return startDay == StartDay::Included ? datum >= w.start : datum > w.start;
}

bool isValidKenoDraw(const DrawRecord& r) {
    DrawBits seen;
    for (uint8_t n : r.zahl) {
        if (n < 1 || n > kNumbers || seen.has(n)) return false;
        seen.set(n);
    }
    return true;
}

bool isValidPlus5Draw(const DrawRecord& r) {
    if (!r.hasPlus5()) return false;
    return std::all_of(r.zahl5.begin(), r.zahl5.end(), [](uint8_t d) { return d <= 9; });
}

bool inPrimeSet(int x) {
    static constexpr std::array<int, 20> primes = {1,  2,  3,  5,  7,  11, 13, 17, 19, 23,
                                                   29, 31, 37, 41, 43, 47, 53, 59, 61, 67};
    return std::find(primes.begin(), primes.end(), x) != primes.end();
}

long long roundHalfEven(double v) {
    const double f = std::floor(v);
    const double frac = v - f;
    if (frac < 0.5) return static_cast<long long>(f);
    if (frac > 0.5) return static_cast<long long>(f) + 1;
    const long long whole = static_cast<long long>(f);
    return whole % 2 == 0 ? whole : whole + 1;
}

std::string meanText(double sum, double count) {
    if (!(count > 0)) return "-";
    return std::to_string(roundHalfEven(sum / count));
}

namespace {

ChartData numberChart(const std::array<int, kNumbers + 1>& n, double count, double sum) {
    ChartData c;
    c.marksVisible = false;
    for (int x = 1; x <= kNumbers; ++x) c.points.push_back({x, double(n[size_t(x)]), primeColour(x)});
    fixAxisToBars(c);
    c.caption = "Zahlenverteilung     Ziehungen: " + drawsAndMean(count, sum);
    return c;
}

ChartData overdueChart(const std::array<int, kNumbers + 1>& wait) {
    ChartData c;
    for (int x = 1; x <= kNumbers; ++x) c.points.push_back({x, double(wait[size_t(x)]), primeColour(x)});
    fixAxisToBars(c);
    c.caption = "Welche Zahl ist überfällig, wurde als seit wievielen Ziehungen nicht gezogen?";
    return c;
}

} // namespace

ChartData numberDistribution(const std::vector<DrawRecord>& draws, const Window& w) {
    std::array<int, kNumbers + 1> n{};
    double count = 0, sum = 0;
    for (const DrawRecord& r : draws) {
        if (!inWindow(w, r.datum, StartDay::Included) || !isValidKenoDraw(r)) continue;
        for (uint8_t x : r.zahl) ++n[x];
        count += 1;
        sum += crossSum(r);
    }
    return numberChart(n, count, sum);
}

namespace {

// Sums that occurred, counted by value and charted from the smallest to the largest one, with the
// draw count and the mean sum in the caption.
template <size_t N> struct SumCounts {
    std::array<int, N> q{};
    int smallest;
    int largest = 0;
    double count = 0, sum = 0;
    explicit SumCounts(int above) : smallest(above) {}
    void add(int s) {
        ++q[size_t(s)];
        smallest = std::min(smallest, s);
        largest = std::max(largest, s);
        count += 1;
        sum += s;
    }
    ChartData chart() const {
        ChartData c;
        for (int s = smallest; s <= largest; ++s) c.points.push_back({s, double(q[size_t(s)]), BarColour::Series});
        autoAxis(c);
        c.caption = "Quersummenverteilung     Ziehungen: " + drawsAndMean(count, sum);
        return c;
    }
};

} // namespace

ChartData crossSums(const std::vector<DrawRecord>& draws, const Window& w) {
    SumCounts<5842> sums(6000);
    for (const DrawRecord& r : draws)
        if (inWindow(w, r.datum, StartDay::Excluded) && isValidKenoDraw(r)) sums.add(crossSum(r));
    return sums.chart();
}

ChartData overdue(const std::vector<DrawRecord>& draws, const Window& w) {
    std::array<int, kNumbers + 1> wait;
    wait.fill(1);
    for (const DrawRecord& r : draws) {
        if (!inWindow(w, r.datum, StartDay::Excluded) || !isValidKenoDraw(r)) continue;
        for (int& v : wait) ++v;
        for (uint8_t x : r.zahl) wait[x] = 1;
    }
    return overdueChart(wait);
}

void DrawTally::update(const std::vector<DrawRecord>& draws, uint64_t generation) {
    if (built_ && generation == generation_) return;
    built_ = true;
    generation_ = generation;
    ordered_ = true;
    for (size_t i = 0; i < draws.size() && ordered_; ++i)
        ordered_ = std::isfinite(draws[i].datum) && (i == 0 || draws[i - 1].datum <= draws[i].datum);
    valid_.assign(draws.size(), 0);
    totals_.assign(1, Totals{});
    if (!ordered_) return;
    Totals t;
    for (size_t i = 0; i < draws.size(); ++i) {
        const DrawRecord& r = draws[i];
        if (isValidKenoDraw(r)) {
            valid_[i] = 1;
            for (uint8_t x : r.zahl) ++t.numbers[x];
            ++t.draws;
            t.crossSums += crossSum(r);
        }
        if ((i + 1) % kStride == 0) totals_.push_back(t);
    }
}

std::pair<size_t, size_t> DrawTally::range(const std::vector<DrawRecord>& draws, const Window& w, StartDay day) const {
    // The same bounds as inWindow: start <= d (or start < d) and d <= end, for finite dates in order.
    const auto before = [&](const DrawRecord& r) {
        return day == StartDay::Included ? r.datum < w.start : r.datum <= w.start;
    };
    const auto first = std::partition_point(draws.begin(), draws.end(), before);
    const auto last = std::partition_point(first, draws.end(), [&](const DrawRecord& r) { return r.datum <= w.end; });
    return {static_cast<size_t>(first - draws.begin()), static_cast<size_t>(last - draws.begin())};
}

DrawTally::Totals DrawTally::upTo(const std::vector<DrawRecord>& draws, size_t end) const {
    Totals t = totals_[end / kStride];
    for (size_t i = end / kStride * kStride; i < end; ++i) {
        if (!valid_[i]) continue;
        for (uint8_t x : draws[i].zahl) ++t.numbers[x];
        ++t.draws;
        t.crossSums += crossSum(draws[i]);
    }
    return t;
}

ChartData DrawTally::numberDistribution(const std::vector<DrawRecord>& draws, const Window& w) const {
    const auto [first, last] = range(draws, w, StartDay::Included);
    std::array<int, kNumbers + 1> n{};
    double count = 0, sum = 0;
    if (first < last) {
        const Totals a = upTo(draws, first), b = upTo(draws, last);
        for (size_t x = 1; x <= kNumbers; ++x) n[x] = b.numbers[x] - a.numbers[x];
        count = b.draws - a.draws;
        sum = static_cast<double>(b.crossSums - a.crossSums);
    }
    return numberChart(n, count, sum);
}

ChartData DrawTally::overdue(const std::vector<DrawRecord>& draws, const Window& w) const {
    // A number last drawn k valid draws before the window's end waits k + 1; one not drawn in the
    // window waits the window's draws + 1. From the end backwards every number is usually found
    // within a few dozen draws.
    const auto [first, last] = range(draws, w, StartDay::Excluded);
    std::array<int, kNumbers + 1> wait{};
    int found = 0, after = 0;
    for (size_t i = last; i-- > first && found < kNumbers;) {
        if (!valid_[i]) continue;
        for (uint8_t x : draws[i].zahl)
            if (wait[x] == 0) {
                wait[x] = after + 1;
                ++found;
            }
        ++after;
    }
    if (found < kNumbers) {
        const int windowDraws = first < last ? upTo(draws, last).draws - upTo(draws, first).draws : 0;
        for (size_t x = 1; x <= kNumbers; ++x)
            if (wait[x] == 0) wait[x] = windowDraws + 1;
    }
    return overdueChart(wait);
}

ChartData runs(const std::vector<DrawRecord>& draws, const Window& w, int length) {
    if (length < 2 || length > 4) throw std::invalid_argument("run length must be 2, 3 or 4");
    const int firsts = kNumbers + 1 - length; // first numbers searched: 1..firsts
    std::array<int, kNumbers + 1> r{};
    int found = 0, count = 0;
    for (const DrawRecord& d : draws) {
        if (!inWindow(w, d.datum, StartDay::Excluded) || !isValidKenoDraw(d)) continue;
        ++count;
        // Bit x-1 stands for number x; a run starts at x when bits x-1 .. x+length-2 are all set.
        const DrawBits b = bitsOf(d);
        using u128 = unsigned __int128;
        const u128 all = (u128(b.hi) << 64) | b.lo;
        u128 starts = all;
        for (int k = 1; k < length; ++k) starts &= all >> k;
        while (starts) {
            const int bit = starts & ~uint64_t{0} ? __builtin_ctzll(uint64_t(starts))
                                                  : 64 + __builtin_ctzll(uint64_t(starts >> 64));
            starts &= starts - 1;
            const int x = bit + 1;
            if (x > firsts) continue;
            ++r[size_t(x)];
            ++found;
        }
    }
    ChartData c;
    // The quad chart keeps the full 70 bars, the ones at 68..70 always empty.
    const int bars = length == 4 ? kNumbers : firsts;
    for (int x = 1; x <= bars; ++x) c.points.push_back({x, double(r[size_t(x)]), BarColour::Series});
    if (length == 4)
        autoAxis(c);
    else
        fixAxisToBars(c);
    static const char* const endings[] = {"", "", " Paare gefunden!", " Dreier gefunden!", " Vierer gefunden!"};
    c.caption = "Bei " + std::to_string(count) + " Ziehungen wurden " + std::to_string(found) + endings[length];
    return c;
}

std::optional<size_t> lastKenoDraw(const std::vector<DrawRecord>& draws, const Window& w, StartDay startDay) {
    std::optional<size_t> last;
    for (size_t i = 0; i < draws.size(); ++i)
        if (inWindow(w, draws[i].datum, startDay) && isValidKenoDraw(draws[i])) last = i;
    return last;
}

ChartData plus5Digits(const std::vector<DrawRecord>& draws, const Window& w, int position, Plus5Mode mode) {
    if (position < 1 || position > 6) throw std::invalid_argument("Plus 5 position must be 1..6");
    std::array<int, 10> n{};
    double count = 0, sum = 0;
    for (const DrawRecord& r : draws) {
        if (!inWindow(w, r.datum, StartDay::Included) || !isValidPlus5Draw(r)) continue;
        int s = 0;
        if (mode == Plus5Mode::Ausstehend)
            for (int& v : n) ++v;
        auto see = [&](uint8_t d) {
            if (mode == Plus5Mode::WieOft)
                ++n[d];
            else
                n[d] = 1;
            s += d;
        };
        if (position <= 5)
            see(r.zahl5[size_t(position - 1)]);
        else
            for (uint8_t d : r.zahl5) see(d);
        count += 1;
        sum += s;
    }
    ChartData c;
    c.marksVisible = false;
    for (int x = 0; x <= 9; ++x) c.points.push_back({x, double(n[size_t(x)]), BarColour::Green});
    fixAxisToBars(c);
    // Digit 1 is the leftmost digit, the ten-thousands; digit 5 the ones.
    static const char* const places[] = {"",
                                         "Zehntausender-Position",
                                         "Tausender-Position",
                                         "Hunderter-Position",
                                         "Zehner-Position",
                                         "Einer-Position",
                                         "Über alle Position"};
    c.caption = std::string("Zahlenverteilung ") + places[position] + "   Ziehungen: " + drawsAndMean(count, sum);
    return c;
}

ChartData plus5Sums(const std::vector<DrawRecord>& draws, const Window& w) {
    SumCounts<49> sums(48);
    for (const DrawRecord& r : draws) {
        if (!inWindow(w, r.datum, StartDay::Excluded) || !isValidPlus5Draw(r)) continue;
        int s = 0;
        for (uint8_t d : r.zahl5) s += d;
        sums.add(s);
    }
    return sums.chart();
}

ChartData tipDistribution(const std::vector<std::string>& tipLines) {
    std::array<int, kNumbers + 1> n{};
    for (const std::string& line : tipLines) {
        std::string_view rest(line);
        while (true) {
            const size_t comma = rest.find(',');
            const std::string_view piece = rest.substr(0, comma);
            const auto x = pieceNumber(piece);
            if (x && *x >= 1 && *x <= kNumbers) ++n[size_t(*x)];
            if (comma == std::string_view::npos) break;
            rest.remove_prefix(comma + 1);
        }
    }
    ChartData c;
    for (int x = 1; x <= kNumbers; ++x) c.points.push_back({x, double(n[size_t(x)]), primeColour(x)});
    fixAxisToBars(c);
    c.caption = "Zahlenverteilung des Tippes";
    return c;
}

} // namespace zf::stats
