#include "generator/GeneratorController.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <vector>

#include "base/GermanFormat.h"
#include "app/Model.h"
#include "draws/Browser.h"
#include "evaluation/TipCheck.h"
#include "generator/NumberChoice.h"
#include "stats/StatsController.h"
#include "stats/Statistics.h"
#include "tips/TipLine.h"

namespace zf {
namespace {

using SteadyClock = std::chrono::steady_clock;

// Attempts between two looks at the clock: cheap enough not to show, often enough for a slice of 1 ms.
constexpr unsigned kClockEvery = 16;

void setMax(UpDownState& u, int max) {
    u.max = max;
    if (u.pos > u.max) u.pos = u.max;
    if (u.pos < u.min) u.pos = u.min;
}

void setMin(UpDownState& u, int min) {
    u.min = min;
    if (u.pos < u.min) u.pos = u.min;
    if (u.pos > u.max) u.pos = u.max;
}

bool validDay(int y, int m, int d) {
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= days[m - 1] + (m == 2 && leap ? 1 : 0);
}

// A piece of a tip line as a whole number: blanks in front and a sign allowed, nothing behind.
std::optional<long long> pieceValue(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i == s.size()) return std::nullopt;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
        v = v * 10 + (s[i] - '0');
        if (v > 2147483648LL) return std::nullopt;
    }
    v = negative ? -v : v;
    if (v > 2147483647LL) return std::nullopt;
    return v;
}

int popcount(const DrawBits& a, const DrawBits& b) { return a.hits(b); }

void setBit(DrawBits& b, int x) { b.set(x); }

std::string candidateText(int t, const Tipp& tipp, int n, int qs) {
    std::string s = std::to_string(t) + ".Tipp:  ";
    for (int i = 1; i <= n; ++i) s += " " + std::to_string(tipp[static_cast<size_t>(i)]);
    return s + " QS: " + std::to_string(qs);
}

std::string tipLine(const Tipp& tipp, int n) {
    std::string s;
    char buf[8];
    for (int i = 1; i <= n; ++i) {
        std::snprintf(buf, sizeof buf, "%.2d", tipp[static_cast<size_t>(i)]);
        if (i > 1) s += ',';
        s += buf;
    }
    return s;
}

} // namespace

// A tip of the list as the overlap and occurrence tests see it: its numbers 1..70 on positions 1..n.
struct StoredTip {
    DrawBits mask;
    std::vector<uint8_t> numbers; // kept only when a number stands more than once
};

// The candidate in the same form.
struct Candidate {
    DrawBits mask;
    bool repeats = false;
    std::array<uint8_t, 11> numbers{}; // the numbers 1..70 of the candidate, with repeats
    int count = 0;
};

struct GeneratorController::Run {
    int n = 10;
    int f = 1;
    int T = 0;
    int t = 1;
    bool inTip = false;
    int j = 1;
    bool enumerate = false;
    int K = 0;
    bool savedCheckBox8 = false;
    int saved4 = 0, saved5 = 0, saved6 = 0;
    std::array<std::array<uint8_t, 20>, 3> recent{}; // the last, second-last and third-last draw
    std::array<DrawBits, 3> recentBits{};
    std::vector<StoredTip> stored;                   // Tippspeicher, index = list position
    std::array<int, 71> occurrences{};
    int maxOccurrence = 0;
    std::vector<uint8_t> drawPool; // positions 0..last
    Candidate cand;
    // what the display has not been told yet; told at the end of a slice
    bool candidatePending = false;
    int pendingT = 0, pendingQs = 0;
    Tipp pendingTipp{};
    bool tipsChanged = false;
    bool chartCleared = false;
    unsigned sinceClock = 0;
    // the history filters' windows, kept while the pickers stay
    double sfStart = -1, sfEnd = -1, dvStart = -1, dvEnd = -1;
    std::pair<size_t, size_t> sfRange{0, 0}, dvRange{0, 0};
    uint64_t rangeGeneration = ~0ull;
};

GeneratorController::GeneratorController(Model& m, Services& s, Browser& browser)
    : m_(m), s_(s), browser_(browser) {}

GeneratorController::~GeneratorController() = default;

// ---------------------------------------------------------------------------------------------
// Coupling of the option controls

void GeneratorController::fitMinOverlapToMax() {
    setMax(m_.num(Num::MinOverlap), m_.num(Num::MaxOverlap).pos);
    m_.notify(ChangeOptions);
}

void GeneratorController::fitMaxOverlapToMin() {
    setMin(m_.num(Num::MaxOverlap), m_.num(Num::MinOverlap).pos);
    m_.notify(ChangeOptions);
}

void GeneratorController::fitEvenToOdd() {
    setMax(m_.num(Num::MinEven), 6 - m_.num(Num::MinOdd).pos);
    m_.notify(ChangeOptions);
}

void GeneratorController::fitEvenToOddPressed() {
    setMax(m_.num(Num::MinEven), 6 - m_.num(Num::MinOdd).pos);
    m_.notify(ChangeOptions);
}

void GeneratorController::fitOddToEven() {
    setMax(m_.num(Num::MinOdd), 6 - m_.num(Num::MinEven).pos);
    m_.notify(ChangeOptions);
}

void GeneratorController::lastDrawMinChanging(int v) {
    if (m_.num(Num::LastDrawMax).pos < v) m_.num(Num::LastDrawMax).set(v);
    m_.notify(ChangeOptions);
}

void GeneratorController::secondDrawMinChanging(int v) {
    if (m_.num(Num::SecondDrawMax).pos < v) m_.num(Num::SecondDrawMax).set(v);
    m_.notify(ChangeOptions);
}

void GeneratorController::thirdDrawMinChanging(int v) {
    if (m_.num(Num::ThirdDrawMax).pos < v) m_.num(Num::ThirdDrawMax).set(v);
    m_.notify(ChangeOptions);
}

void GeneratorController::lastDrawMaxChanging(int v) {
    if (v < m_.num(Num::LastDrawMin).pos) m_.num(Num::LastDrawMin).set(v);
    m_.notify(ChangeOptions);
}

void GeneratorController::secondDrawMaxChanging(int v) {
    if (v < m_.num(Num::SecondDrawMin).pos) m_.num(Num::SecondDrawMin).set(v);
    m_.notify(ChangeOptions);
}

void GeneratorController::thirdDrawMaxChanging(int v) {
    if (v < m_.num(Num::ThirdDrawMin).pos) m_.num(Num::ThirdDrawMin).set(v);
    m_.notify(ChangeOptions);
}

void GeneratorController::attemptLimitChanging() { m_.attemptLimit = m_.num(Num::AttemptThousands).pos * 1000; }

// ---------------------------------------------------------------------------------------------
// Lucky number

std::optional<int32_t> GeneratorController::luckyNumber(const std::string& text) {
    const auto v = pieceValue(text);
    if (!v) return std::nullopt;
    return static_cast<int32_t>(*v);
}

void GeneratorController::askLuckyNumber() {
    const std::string current = std::to_string(static_cast<int32_t>(m_.random.state()));
    const auto answer =
        s_.prompter.input("Ihre Glückszahl (1-99999999)?", "Geben Sie Ihre GlücksZahl für den Zufallsgenerator ein!",
                          current);
    // Cancelling gives the proposal back, which seeds with the state it already has.
    const auto seed = luckyNumber(answer ? *answer : current);
    if (!seed) return;
    m_.random.setState(static_cast<uint32_t>(*seed));
    m_.setStatus(1, "GlücksZahl " + std::to_string(*seed) + " gesetzt");
}

// ---------------------------------------------------------------------------------------------
// Start and stop

void GeneratorController::setCaption(const char* caption) {
    m_.runCaption = caption;
    m_.notify(ChangeOptions);
}

void GeneratorController::toggleRun() {
    if (m_.runCaption != kCaptionStop) {
        m_.enumerating = false;
        setCaption(kCaptionStop);
        runToEnd();
    } else {
        setCaption(kCaptionStart); // the stop request
    }
}

void GeneratorController::toggleEnumeration() {
    if (m_.runCaption != kCaptionStop) {
        if (!enumeration_) return;
        m_.enumerating = true;
        setCaption(kCaptionStop);
        runToEnd();
    } else {
        setCaption(kCaptionStart);
    }
}

void GeneratorController::runToEnd() {
    if (!start()) return;
    while (step(slice))
        if (eventPump) eventPump();
}

void GeneratorController::refreshHistory() {
    if (m_.draws.generation() == historyGeneration_) return;
    history_.build(m_.draws.records(), m_.draws.bits());
    historyGeneration_ = m_.draws.generation();
}

bool GeneratorController::loadHistory() {
    m_.draws.setPath(m_.kenoPath());
    if (!m_.draws.fileExists()) {
        s_.prompter.message("Lesen Sie zuerst die Daten der Ziehungen ein");
        return false;
    }
    std::string error;
    if (!m_.draws.refresh(&error)) {
        s_.prompter.message(error);
        return false;
    }
    refreshHistory();
    return true;
}

void GeneratorController::copyRecentDraws() {
    Run& r = *run_;
    const double remembered = m_.browseDate;
    const auto take = [&](size_t slot) {
        const auto& recs = m_.draws.records();
        if (recs.empty()) return;
        const size_t i = std::min(static_cast<size_t>(std::max(m_.drawIndex, 0)), recs.size() - 1);
        r.recent[slot] = recs[i].zahl;
        r.recentBits[slot] = bitsOf(recs[i]);
    };
    browser_.seekDate();
    take(0);
    for (size_t slot = 1; slot < 3; ++slot) {
        // A history too short for this draw leaves it empty: the browser would show the first draw again.
        const bool earlier = m_.drawIndex > 0;
        browser_.previous();
        if (!earlier) break;
        take(slot);
    }
    m_.setBrowseDate(remembered);
    browser_.seekDate();
}

bool GeneratorController::readTipList() {
    Run& r = *run_;
    r.stored.assign(m_.tipLines.size() + 1, StoredTip{});
    for (size_t i = 0; i < m_.tipLines.size(); ++i) {
        StoredTip& tip = r.stored[i + 1];
        const auto pieces = splitPieces(m_.tipLines[i]);
        std::vector<uint8_t> numbers;
        bool repeats = false;
        bool failed = false;
        for (size_t k = 0; k < pieces.size() && k < 26; ++k) {
            const auto v = pieceValue(pieces[k]);
            if (!v) {
                failed = true;
                break;
            }
            // Only positions 1..n take part; a number outside 1..70 matches nothing.
            if (static_cast<int>(k) < r.n && *v >= 1 && *v <= 70) {
                const int x = static_cast<int>(*v);
                repeats = repeats || tip.mask.has(x);
                setBit(tip.mask, x);
                numbers.push_back(static_cast<uint8_t>(x));
            }
        }
        if (repeats) tip.numbers = numbers;
        for (uint8_t x : numbers) ++r.occurrences[x];
        if (failed) {
            s_.prompter.message("FEHLER beim Zahlen lesen");
            break; // the lines after it stay unread: empty tips
        }
    }
    for (int x = 1; x <= 70; ++x) r.maxOccurrence = std::max(r.maxOccurrence, r.occurrences[static_cast<size_t>(x)]);
    return true;
}

void GeneratorController::endEarly(bool reseek) {
    m_.hitCheckOn = true;
    setCaption(kCaptionStart);
    // The pool may have walked the history: show the chosen draw again, so that the current draw,
    // the date picker and the hits column agree.
    if (reseek) browser_.seekDate();
    run_.reset();
}

bool GeneratorController::start() {
    if (run_) return false; // one run at a time
    run_ = std::make_unique<Run>();
    Run& r = *run_;
    attempts_ = 0;
    scans_ = 0;

    r.n = std::clamp(m_.num(Num::KenoType).pos, 2, 10);
    m_.hitCheckOn = false;
    m_.attemptLimit = m_.num(Num::AttemptThousands).pos * 1000;
    r.savedCheckBox8 = m_.on(Opt::ForcePair);
    r.saved4 = m_.num(Num::LastDrawMax).pos;
    r.saved5 = m_.num(Num::SecondDrawMax).pos;
    r.saved6 = m_.num(Num::HistoryMatch).pos;
    r.enumerate = m_.enumerating && enumeration_ != nullptr;

    if (!loadHistory()) {
        m_.setStatus(1, "Ohne Ziehungen in Keno.dat können keine Tipps berechnet werden");
        endEarly(false);
        return false;
    }
    copyRecentDraws();

    r.f = 1;
    if (m_.on(Opt::ClearBeforeRun)) {
        m_.tipLines.clear();
        m_.hits.clear();
        m_.notify(ChangeTips | ChangeHits);
    } else {
        r.f = static_cast<int>(m_.tipLines.size()) + 1;
    }
    readTipList();

    if (!buildPool()) {
        endEarly(true);
        return false;
    }

    versuche_ = 0;
    m_.setStatus(1, "Beginn der Tippberechnung");
    m_.pageRequest = "Keno-Tipp";
    m_.notify(ChangePage);
    m_.attemptLimit = m_.num(Num::AttemptThousands).pos * 1000;

    r.T = m_.totalTips();
    if (r.enumerate) {
        r.K = enumeration_->begin(pool_, r.n);
        r.T = r.K;
    } else if (r.f <= r.T) {
        // A pool with fewer different numbers than a tip needs could never complete a candidate.
        const int distinct = pool_.distinctNumbers();
        if (distinct < r.n) {
            m_.setStatus(1, "Der Zahlenpool enthält nur " + std::to_string(distinct) +
                                " verschiedene Zahlen, für einen Tipp werden " + std::to_string(r.n) +
                                " gebraucht. Ändern Sie die Optionen!");
            r.T = 0;
            finish();
            return false;
        }
        r.drawPool = pool_.entries();
    }
    for (int i = 1; i <= r.n; ++i) tipp_[static_cast<size_t>(i)] = 0;
    r.t = r.f;
    return true;
}

// ---------------------------------------------------------------------------------------------
// The candidate pool

bool GeneratorController::buildPool() {
    Run& r = *run_;
    CandidatePool& p = pool_;
    p.reset();

    if (m_.on(Opt::RecentDrawNumbers)) {
        const int last = std::min(m_.recentDrawsItem, 2);
        for (int d = 0; d <= last; ++d)
            for (int i = 0; i < 20; ++i) p.put(d * 20 + 1 + i, r.recent[static_cast<size_t>(d)][static_cast<size_t>(i)]);
        if (last >= 0) p.w = (last + 1) * 20 + 1;
    }

    favourBlocks();
    p.last = p.w;

    if (m_.on(Opt::PreferNeighbours)) {
        m_.setStatus(1, "Berechnung der benachbarten Zahlen der letzten Ziehung");
        for (uint8_t x : r.recent[0]) {
            if (x < 1 || x > 70) continue; // a missing draw has no neighbours
            if (x > 1)
                for (int k = 0; k < 4; ++k) p.append(x - 1);
            if (x < 70)
                for (int k = 0; k < 4; ++k) p.append(x + 1);
        }
        p.last = p.w;
    }

    if (!m_.on(Opt::OnlyFavoured)) {
        for (int i = 1; i <= 70; ++i) p.put(p.w + i, i);
        p.w += 70;
    }
    p.last = p.w;

    const struct {
        int maxUpDown, box;
    } exclusions[3] = {{4, 4}, {5, 5}, {11, 23}};
    for (size_t d = 0; d < 3; ++d) {
        if (m_.upDowns[static_cast<size_t>(exclusions[d].maxUpDown)].pos != 0 ||
            !m_.checkBoxes[static_cast<size_t>(exclusions[d].box)])
            continue;
        std::vector<bool> drawn(71, false);
        for (uint8_t x : r.recent[d])
            if (x >= 1 && x <= 70) drawn[x] = true;
        p.clearNumbers(drawn);
    }

    if (m_.on(Opt::DateInAllYears)) addDateInAllYears();

    p.compact();
    p.positionZeroRule();

    if (m_.on(Opt::EditPool)) return poolDialog();
    return true;
}

void GeneratorController::favourBlocks() {
    CandidatePool& p = pool_;
    StatsController stats(m_, s_.prompter);
    const auto front = [&] {
        m_.pageRequest = "Diagramm";
        m_.notify(ChangePage);
    };
    const auto bounds = [&](long long lo, long long hi, bool oneBlank) {
        m_.setStatus(1, "Min: " + std::to_string(lo) + (oneBlank ? " Max: " : "  Max: ") + std::to_string(hi) + "  " +
                            std::to_string(p.w));
    };
    const auto N = [](double x) { return stats::roundHalfEven(x); };

    // Consecutive pairs, triples and quadruples. A "seltensten" block reads the series its frequent
    // block left when that one ran.
    const struct {
        int length, frequent, rarest;
        const char* status;
    } groups[3] = {{2, 1, 11, "Berechnung der Paarbildung"},
                   {3, 6, 12, "Berechnung der Dreiergruppenbildung"},
                   {4, 7, 13, "Berechnung der Vierergruppenbildung"}};
    for (const auto& g : groups) {
        const auto runStatistic = [&] {
            m_.setStatus(1, g.status);
            const bool ok = g.length == 2 ? stats.showPairs() : g.length == 3 ? stats.showTriples()
                                                                                 : stats.showQuads();
            if (g.length != 4) front();
            return ok;
        };
        const auto append = [&](bool (*inBand)(double, long long, long long), long long lo, long long hi) {
            const auto& pts = m_.numberChart.points;
            for (int k = 0; k + g.length - 1 < static_cast<int>(pts.size()); ++k)
                if (inBand(pts[static_cast<size_t>(k)].y, lo, hi))
                    for (int d = 1; d <= g.length; ++d) p.append(k + d);
        };
        bool ok = false;
        if (m_.checkBoxes[static_cast<size_t>(g.frequent)]) {
            ok = runStatistic();
            if (ok) {
                const double mx = m_.numberChart.axisMax, mn = m_.numberChart.axisMin;
                const long long lo = N(mx - (mx - mn) * 0.3), hi = N(mx);
                bounds(lo, hi, false);
                append([](double v, long long l, long long h) { return l < v && v <= h; }, lo, hi);
            }
        }
        if (m_.checkBoxes[static_cast<size_t>(g.rarest)]) {
            if (!m_.checkBoxes[static_cast<size_t>(g.frequent)]) ok = runStatistic();
            if (ok) {
                const double mx = m_.numberChart.axisMax, mn = m_.numberChart.axisMin;
                const long long hi = N(mn + (mx - mn) * 0.3);
                bounds(0, hi, g.length == 4);
                append([](double v, long long, long long h) { return 0 < v && v <= h; }, 0, hi);
            }
        }
    }

    // Frequent, rare and overdue numbers: a wide band gives two entries, the narrow band one more.
    const auto twoPass = [&](int percent, bool fromTop, bool firstOneBlank) {
        for (int pass = 1; pass <= 2; ++pass) {
            const double mx = m_.numberChart.axisMax, mn = m_.numberChart.axisMin;
            const double share = percent / (pass == 1 ? 100.0 : 200.0);
            const long long lo = fromTop ? N(mx - share * (mx - mn)) : N(mn);
            const long long hi = fromTop ? N(mx) : N(mn + share * (mx - mn));
            bounds(lo, hi, firstOneBlank && pass == 1);
            const auto& pts = m_.numberChart.points;
            for (size_t k = 0; k < pts.size(); ++k)
                if (lo <= pts[k].y && pts[k].y <= hi)
                    for (int c = 0; c < (pass == 1 ? 2 : 1); ++c) p.append(static_cast<int>(k) + 1);
        }
    };
    const auto distribution = [&] {
        m_.setStatus(1, "Berechnung der Zahlenverteilung");
        const bool ok = stats.showNumbers();
        front();
        return ok;
    };
    bool ok = false;
    if (m_.on(Opt::PreferFrequent)) {
        ok = distribution();
        if (ok) twoPass(m_.num(Num::FrequentBand).pos, true, false);
    }
    if (m_.on(Opt::PreferRare)) {
        if (!m_.on(Opt::PreferFrequent)) ok = distribution();
        if (ok) twoPass(m_.num(Num::RareBand).pos, false, false);
    }
    if (m_.on(Opt::PreferOverdue)) {
        m_.setStatus(1, "Berechnung der der Ausstehenden Zahlen");
        ok = stats.showOverdue();
        front();
        if (ok) twoPass(m_.num(Num::OverdueBand).pos, true, true);
    }
}

void GeneratorController::addDateInAllYears() {
    CandidatePool& p = pool_;
    const Ymd chosen = ymdOf(m_.yearlyDate);
    const Ymd from = ymdOf(m_.statsStart);
    int y2 = from.year;
    if (std::pair(chosen.month, chosen.day) < std::pair(from.month, from.day)) ++y2;
    const double remembered = m_.browseDate;
    const double lastDay = m_.draws.lastDate();
    for (int y = y2; y <= chosen.year; ++y) {
        // 29 February has no draw outside leap years; a day after the last draw has none yet,
        // and a day before the first draw day none at all.
        if (!validDay(y, chosen.month, chosen.day)) continue;
        const double day = dateValue(y, chosen.month, chosen.day);
        if (day > lastDay) break;
        if (!m_.setBrowseDate(day)) continue;
        browser_.seekDate();
        const auto& recs = m_.draws.records();
        if (recs.empty()) break;
        const DrawRecord& rec = recs[std::min(static_cast<size_t>(std::max(m_.drawIndex, 0)), recs.size() - 1)];
        for (int i = 0; i < 20; ++i) p.put(p.last + 1 + i, rec.zahl[static_cast<size_t>(i)]);
        p.last += 20;
    }
    m_.setBrowseDate(remembered);
    m_.notify(ChangeDates);
}

bool GeneratorController::poolDialog() {
    m_.pageRequest = "Keno-Tipp";
    m_.notify(ChangePage);
    NumberChoice& form = m_.numberChoice;
    // The dialog keeps what its last caller left: give it the buttons of the pool.
    form.caption = "Welche Zahlen für die Berechnung";
    form.computeVisible = true;
    form.randomVisible = false;
    form.saveListVisible = true;
    form.loadListVisible = true;
    form.entryVisible = false;
    for (int k = 1; k <= 70; ++k) {
        const int count = pool_.count(k);
        form.ticked[static_cast<size_t>(k)] = count > 0;
        form.hint[static_cast<size_t>(k)] = std::to_string(count);
    }
    const ModalResult result = s_.prompter.numberDialog(form);
    if (result == ModalResult::Ok) return true;
    if (result != ModalResult::Retry) return false;
    if (const auto error = pool_.fromNumberChoice(form, m_.enumerating)) {
        s_.prompter.message(*error);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// The attempts

bool GeneratorController::step(std::chrono::microseconds budget) {
    if (!run_) return false;
    Run& r = *run_;
    refreshHistory();
    const auto deadline = SteadyClock::now() + budget;
    for (;;) {
        if (!r.inTip) {
            // After a failed tip every later position is passed over.
            if (versuche_ >= m_.attemptLimit) r.t = std::max(r.t, r.T + 1);
            if (r.t > r.T) {
                finish();
                return false;
            }
            beginTip();
        }
        while (r.j <= r.n && versuche_ < m_.attemptLimit) {
            if (m_.runCaption != kCaptionStop) break;
            if (++r.sinceClock >= kClockEvery) {
                r.sinceClock = 0;
                if (SteadyClock::now() >= deadline) {
                    flushDisplay();
                    return true;
                }
            }
            ++versuche_;
            ++attempts_;
            attempt();
        }
        finishTip();
        r.inTip = false;
        ++r.t;
    }
}

void GeneratorController::beginTip() {
    Run& r = *run_;
    r.j = 1;
    if (!r.enumerate) versuche_ = 0;
    r.inTip = true;
}

bool GeneratorController::attempt() {
    Run& r = *run_;
    const int n = r.n;
    Candidate& c = r.cand;
    if (r.enumerate) {
        enumeration_->next(tipp_, n);
    } else {
        for (int i = 1; i <= n; ++i) tipp_[static_cast<size_t>(i)] = 0;
        if (2LL * versuche_ == m_.attemptLimit && m_.on(Opt::ForcePair)) {
            m_.on(Opt::ForcePair) = false; // the pair constraint gives way for the rest of the run
            m_.notify(ChangeOptions);
        }
        // Draw until position n holds a number; an empty entry or a number already drawn costs a
        // draw, not an attempt.
        const uint32_t size = static_cast<uint32_t>(r.drawPool.size());
        const uint8_t* pool = r.drawPool.data();
        DrawBits drawn;
        int j = 1;
        while (j <= n) {
            const int x = pool[m_.random.below(size)];
            if (x == 0 || drawn.has(x)) continue;
            setBit(drawn, x);
            tipp_[static_cast<size_t>(j++)] = static_cast<uint8_t>(x);
        }
        c.mask = drawn;
        c.repeats = false;
    }
    r.j = n + 1;
    if (acceptanceChain()) return true;
    for (int i = 1; i <= n; ++i) tipp_[static_cast<size_t>(i)] = 0; // TippVerwerfen
    r.j = 1;
    return false;
}

bool GeneratorController::acceptanceChain() {
    Run& r = *run_;
    const int n = r.n;
    Candidate& c = r.cand;
    uint8_t* p = tipp_.data();

    int sum = 0;
    for (int i = 1; i <= n; ++i) sum += p[i];
    const int qs = scaledCrossSum(sum, n);

    if (r.enumerate) {
        std::sort(p + 1, p + 1 + n);
        c.mask = DrawBits{};
        c.repeats = false;
        c.count = 0;
        for (int i = 1; i <= n; ++i) {
            const int x = p[i];
            if (x < 1 || x > 70) continue;
            c.repeats = c.repeats || c.mask.has(x);
            setBit(c.mask, x);
            c.numbers[static_cast<size_t>(c.count++)] = static_cast<uint8_t>(x);
        }
    } else {
        // The drawn numbers are all different: their set read upwards is the sorted tip.
        int i = 1;
        for (uint64_t w = c.mask.lo; w; w &= w - 1) p[i++] = static_cast<uint8_t>(__builtin_ctzll(w) + 1);
        for (uint64_t w = c.mask.hi; w; w &= w - 1) p[i++] = static_cast<uint8_t>(__builtin_ctzll(w) + 65);
        c.count = n;
        for (int k = 0; k < n; ++k) c.numbers[static_cast<size_t>(k)] = p[k + 1];
    }

    // The status bar shows every candidate that gets this far; the display is told per slice.
    r.candidatePending = true;
    r.pendingT = r.t;
    r.pendingQs = qs;
    r.pendingTipp = tipp_;

    if (r.t >= 2 && !overlapTests(c.mask)) return false;

    if (m_.on(Opt::ForcePair) && !hasPair(p, n)) return false;
    if (m_.on(Opt::NoTriples) && hasTriple(p, n)) return false;

    if (qs < m_.num(Num::CrossSumMin).pos || qs > m_.num(Num::CrossSumMax).pos) return false;

    const auto hitsWith = [&](const DrawBits& draw) {
        if (!c.repeats) return popcount(c.mask, draw);
        int h = 0;
        for (int k = 0; k < c.count; ++k) h += draw.has(c.numbers[static_cast<size_t>(k)]);
        return h;
    };
    const struct {
        int box, maxUpDown, minUpDown;
    } recent[3] = {{4, 4, 21}, {5, 5, 22}, {23, 11, 23}};
    for (size_t d = 0; d < 3; ++d) {
        if (!m_.checkBoxes[static_cast<size_t>(recent[d].box)]) continue;
        const int h = hitsWith(r.recentBits[d]);
        if (h > m_.upDowns[static_cast<size_t>(recent[d].maxUpDown)].pos ||
            h < m_.upDowns[static_cast<size_t>(recent[d].minUpDown)].pos)
            return false;
    }

    if (m_.on(Opt::NoHistoryMatch) || m_.on(Opt::NoRecentMatch)) {
        ++scans_;
        // The history filters count the first numbers of the tip up to the Keno type.
        const int counted = std::min(n, m_.num(Num::KenoType).pos);
        DrawBits tip = c.mask;
        if (counted < n || c.repeats) {
            tip = DrawBits{};
            for (int i = 1; i <= counted; ++i) setBit(tip, p[i]);
        }
        if (m_.on(Opt::NoHistoryMatch) && !noHistoryMatch(tip, m_.num(Num::HistoryMatch).pos)) return false;
        if (m_.on(Opt::NoRecentMatch) && !noRecentMatch(tip, m_.num(Num::RecentMatch).pos)) return false;
    }

    if (m_.on(Opt::MinEven) && countEven(p, n) < m_.num(Num::MinEven).pos) return false;
    if (m_.on(Opt::MinOdd) && countOdd(p, n) < m_.num(Num::MinOdd).pos) return false;
    if (m_.on(Opt::MinPrimes) && countPrimes(p, std::min(n, m_.num(Num::KenoType).pos)) < m_.num(Num::MinPrimes).pos) return false;
    if (m_.on(Opt::OnePerTen) && sameTen(p, n)) return false;
    return true;
}

bool GeneratorController::overlapTests(const DrawBits& cand) {
    Run& r = *run_;
    const bool maxOn = m_.on(Opt::MaxOverlap), minOn = m_.on(Opt::MinOverlap), occOn = m_.on(Opt::MaxOccurrence);
    if (!maxOn && !minOn && !occOn) return true;
    const Candidate& c = r.cand;
    const auto overlap = [&](const StoredTip& e) {
        if (!c.repeats && e.numbers.empty()) return popcount(cand, e.mask);
        // pairs of equal numbers, counted with their repeats
        int ov = 0;
        for (int a = 0; a < c.count; ++a) {
            const uint8_t x = c.numbers[static_cast<size_t>(a)];
            if (e.numbers.empty()) ov += e.mask.has(x);
            else ov += static_cast<int>(std::count(e.numbers.begin(), e.numbers.end(), x));
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
            const uint8_t x = c.numbers[static_cast<size_t>(a)];
            if (r.occurrences[x] + ++own[x] > limit) return false;
        }
    }
    return true;
}

void GeneratorController::prepareHistoryFilter(Run& r) {
    if (!r.chartCleared) {
        // The filters leave the chart's series empty, as a walk of the history with it does.
        r.chartCleared = true;
        m_.numberChart.active = true;
        m_.numberChart.points.clear();
        m_.notify(ChangeChart1);
    }
    if (r.rangeGeneration != historyGeneration_) {
        // The history changed: the cached windows point into the old one.
        r.rangeGeneration = historyGeneration_;
        r.sfStart = r.sfEnd = r.dvStart = r.dvEnd = -1;
    }
}

bool GeneratorController::noHistoryMatch(const DrawBits& tip, int limit) {
    Run& r = *run_;
    if (m_.browseDate < m_.statsStart && m_.setStatsStart(m_.browseDate - 365))
        m_.notify(ChangeDates);
    m_.workDate = m_.statsStart;
    m_.windowEnd = m_.browseDate;
    prepareHistoryFilter(r);
    if (r.sfStart != m_.workDate || r.sfEnd != m_.windowEnd) {
        r.sfStart = m_.workDate;
        r.sfEnd = m_.windowEnd;
        r.sfRange = history_.window(r.sfStart, r.sfEnd);
    }
    return !history_.anyWithHits(r.sfRange, tip, limit);
}

bool GeneratorController::noRecentMatch(const DrawBits& tip, int limit) {
    Run& r = *run_;
    const double start = m_.browseDate - recentWindowWeeks(m_.num(Num::RecentDraws).pos) * 7.0;
    m_.windowEnd = m_.browseDate;
    prepareHistoryFilter(r);
    if (r.dvStart != start || r.dvEnd != m_.windowEnd) {
        r.dvStart = start;
        r.dvEnd = m_.windowEnd;
        r.dvRange = history_.window(r.dvStart, r.dvEnd);
    }
    return !history_.anyWithHits(r.dvRange, tip, limit);
}

void GeneratorController::finishTip() {
    Run& r = *run_;
    const int n = r.n;
    if (versuche_ < m_.attemptLimit)
        m_.setStatus(1, "Tipps wurden neu berechnet");
    else
        m_.setStatus(1, "Ändern Sie die Parameter um " + std::to_string(m_.totalTips()) + " Tipps zuberechnen => " +
                            std::to_string(m_.tipLines.size()) + " berechnet!");
    r.candidatePending = false;
    // A stop request drops the tip being worked on and passes over the rest.
    if (m_.runCaption != kCaptionStop) versuche_ = m_.attemptLimit;
    if (versuche_ >= m_.attemptLimit)
        for (int i = 1; i <= n; ++i) tipp_[static_cast<size_t>(i)] = 0;
    std::sort(tipp_.begin() + 1, tipp_.begin() + 1 + n);
    if (versuche_ < m_.attemptLimit && (!r.enumerate || r.K >= CandidateEnumeration::kListThreshold)) {
        m_.tipLines.push_back(tipLine(tipp_, n));
        storeTip(r.t);
        r.tipsChanged = true;
    }
}

void GeneratorController::storeTip(int t) {
    Run& r = *run_;
    if (t < 1) return;
    if (static_cast<int>(r.stored.size()) <= t) r.stored.resize(static_cast<size_t>(t) + 1);
    StoredTip tip;
    std::vector<uint8_t> numbers;
    bool repeats = false;
    for (int i = 1; i <= r.n; ++i) {
        const int x = tipp_[static_cast<size_t>(i)];
        if (x < 1 || x > 70) continue;
        repeats = repeats || tip.mask.has(x);
        setBit(tip.mask, x);
        numbers.push_back(static_cast<uint8_t>(x));
    }
    for (uint8_t x : numbers) r.maxOccurrence = std::max(r.maxOccurrence, ++r.occurrences[x]);
    if (repeats) tip.numbers = std::move(numbers);
    r.stored[static_cast<size_t>(t)] = std::move(tip);
}

void GeneratorController::flushDisplay() {
    Run& r = *run_;
    if (r.candidatePending) {
        m_.setStatus(1, candidateText(r.pendingT, r.pendingTipp, r.n, r.pendingQs));
        r.candidatePending = false;
    }
    if (r.tipsChanged) {
        r.tipsChanged = false;
        m_.notify(ChangeTips);
    }
}

void GeneratorController::finish() {
    Run& r = *run_;
    if (r.enumerate) enumeration_->end();
    flushDisplay();
    m_.hitCheckOn = true;
    m_.on(Opt::ForcePair) = r.savedCheckBox8;
    m_.num(Num::LastDrawMax).set(r.saved4);
    m_.num(Num::SecondDrawMax).set(r.saved5);
    m_.num(Num::HistoryMatch).set(r.saved6);
    m_.notify(ChangeOptions);
    // The seek shows the chosen draw again and so restores the current-draw register.
    browser_.seekDate();
    checkAllTips(m_, s_.sound);
    setCaption(kCaptionStart);
    m_.notify(ChangeStatus);
    run_.reset();
}

} // namespace zf
