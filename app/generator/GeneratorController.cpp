#include "app/generator/GeneratorController.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/Model.h"
#include "app/draws/Browser.h"
#include "app/evaluation/TipCheck.h"
#include "base/Parse.h"
#include "core/generator/TipFilters.h"
#include "core/tips/TipLine.h"

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

std::string candidateText(int t, const Tipp& tipp, int n, int qs) {
    std::string s = std::to_string(t) + ".Tipp:  ";
    for (int i = 1; i <= n; ++i) s += " " + std::to_string(tipp[static_cast<size_t>(i)]);
    return s + " QS: " + std::to_string(qs);
}

// A set of numbers into positions 1, 2, ... of a tip, ascending.
void writeSet(Tipp& tipp, const DrawBits& set) {
    size_t i = 1;
    for (uint64_t w = set.lo; w && i < tipp.size(); w &= w - 1)
        tipp[i++] = static_cast<uint8_t>(__builtin_ctzll(w) + 1);
    for (uint64_t w = set.hi; w && i < tipp.size(); w &= w - 1)
        tipp[i++] = static_cast<uint8_t>(__builtin_ctzll(w) + 65);
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

// The run state the chain sees, and what the run keeps besides.
struct GeneratorController::Run : RunState {
    int f = 1; // the first list position to fill
    int T = 0; // the last one
    bool inTip = false;
    int j = 1;
    bool enumerate = false;
    int K = 0;
    int saved4 = 0, saved5 = 0, saved6 = 0; // UpDown4, UpDown5, UpDown6 as the run began; put back at its end
    CandidateDraws draws;                   // the random candidates from the pool
    std::vector<int> crossSums;             // the scaled cross sum of every sum of n numbers
    bool tippCleared = false;               // positions 1..n of tipp_ are 0 (a random candidate leaves them)
    Candidate cand;
    // what the display has not been told yet; told at the end of a slice
    bool candidatePending = false;
    int pendingT = 0, pendingQs = 0;
    Tipp pendingTipp{};
    DrawBits pendingSet; // a random candidate: its set stands for pendingTipp
    bool pendingAsSet = false;
    bool tipsChanged = false;
    unsigned sinceClock = 0;
    bool lastPassed = false; // the candidate of the last attempt passed the chain
};

GeneratorController::GeneratorController(Model& m, Services& s, Browser& browser)
    : m_(m), s_(s), browser_(browser), poolBuilder_(m, s.prompter, s.dialogs.generator, browser), chain_(m) {}

GeneratorController::~GeneratorController() = default;

void GeneratorController::setCodePath(CodePath path) {
    path_ = codePathAvailable(path) ? path : CodePath::Generic;
    chain_.setCodePath(path_);
}

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

std::optional<int32_t> GeneratorController::luckyNumber(const std::string& text) { return parseInt32(text); }

void GeneratorController::seed(int32_t luckyNumber) {
    m_.random.setState(static_cast<uint32_t>(luckyNumber));
    m_.setStatus(1, "GlücksZahl " + std::to_string(luckyNumber) + " gesetzt");
}

void GeneratorController::askLuckyNumber() {
    const std::string current = std::to_string(static_cast<int32_t>(m_.random.state()));
    const auto answer = s_.prompter.input("Ihre Glückszahl (1-99999999)?",
                                          "Geben Sie Ihre GlücksZahl für den Zufallsgenerator ein!", current);
    // Cancelling gives the proposal back, which seeds with the state it already has.
    if (const auto lucky = luckyNumber(answer ? *answer : current)) seed(*lucky);
}

// ---------------------------------------------------------------------------------------------
// Start and stop

void GeneratorController::setRunState(GeneratorRun state) {
    m_.runState = state;
    m_.runCaption = state == GeneratorRun::Running ? kCaptionStop : kCaptionStart;
    m_.notify(ChangeOptions);
}

void GeneratorController::toggleRun() {
    if (m_.runState != GeneratorRun::Running) {
        m_.enumerating = false;
        setRunState(GeneratorRun::Running);
        runSlices();
    } else {
        setRunState(GeneratorRun::Idle); // the stop request
    }
}

void GeneratorController::toggleEnumeration() {
    if (m_.runState != GeneratorRun::Running) {
        if (!enumeration_) return;
        m_.enumerating = true;
        setRunState(GeneratorRun::Running);
        runSlices();
    } else {
        setRunState(GeneratorRun::Idle);
    }
}

bool GeneratorController::runToEnd(bool enumerate) {
    if (run_) return false; // one run at a time; its caption may carry a stop request
    if (enumerate && !enumeration_) return false;
    m_.enumerating = enumerate;
    setRunState(GeneratorRun::Running);
    return runSlices();
}

bool GeneratorController::runSlices() {
    if (!start()) return false;
    while (step(slice))
        if (eventPump) eventPump();
    return true;
}

bool GeneratorController::loadHistory() {
    if (!browser_.readHistory()) return false;
    chain_.refreshHistory();
    return true;
}

void GeneratorController::readTipList() {
    Run& r = *run_;
    r.stored.assign(m_.tipLines.size() + 1, StoredTip{});
    for (size_t i = 0; i < m_.tipLines.size(); ++i) {
        const auto pieces = splitPieces(m_.tipLines[i]);
        std::vector<uint8_t> numbers;
        bool failed = false;
        for (size_t k = 0; k < pieces.size() && k < 26; ++k) {
            const auto v = parseInt32(pieces[k]);
            if (!v) {
                failed = true;
                break;
            }
            // Only positions 1..n take part; a number outside 1..70 matches nothing.
            if (static_cast<int>(k) < r.n && *v >= 1 && *v <= 70) numbers.push_back(static_cast<uint8_t>(*v));
        }
        r.storeTip(static_cast<int>(i) + 1, numbers); // what was read of a faulty line counts
        if (failed) {
            s_.prompter.message("FEHLER beim Zahlen lesen");
            break; // the lines after it stay unread: empty tips
        }
    }
}

void GeneratorController::endEarly(bool reseek) {
    m_.hitCheckOn = true;
    setRunState(GeneratorRun::Idle);
    // The pool may have walked the history: show the chosen draw again, so that the current draw,
    // the date picker and the hits column agree.
    if (reseek) browser_.seekDate();
    run_.reset();
}

// A run refused once the pool is built: the end step without a single list position.
bool GeneratorController::refuse() {
    run_->T = 0;
    finish();
    return false;
}

bool GeneratorController::start() {
    if (run_) return false; // one run at a time
    run_ = std::make_unique<Run>();
    Run& r = *run_;
    attempts_ = 0;
    chain_.beginRun();

    r.n = std::clamp(m_.num(Num::KenoType).pos, 2, 10);
    m_.hitCheckOn = false;
    m_.attemptLimit = m_.num(Num::AttemptThousands).pos * 1000;
    r.saved4 = m_.num(Num::LastDrawMax).pos;
    r.saved5 = m_.num(Num::SecondDrawMax).pos;
    r.saved6 = m_.num(Num::HistoryMatch).pos;
    r.enumerate = m_.enumerating && enumeration_ != nullptr;

    if (!loadHistory()) {
        m_.setStatus(1, "Ohne Ziehungen in Keno.dat können keine Tipps berechnet werden");
        endEarly(false);
        return false;
    }
    const RecentDraws recent = poolBuilder_.recentDraws();
    r.recentBits = recent.bits;

    // "Löschen vor Berechnung": the run fills an empty list, but the list is emptied only once the
    // run really starts, so that a run refused or cancelled before its first attempt leaves it as it was.
    const bool clearList = m_.on(Opt::ClearBeforeRun);
    r.f = clearList ? 1 : static_cast<int>(m_.tipLines.size()) + 1;
    if (clearList)
        r.stored.assign(1, StoredTip{});
    else
        readTipList();

    if (!poolBuilder_.build(pool_, recent)) {
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
        const auto K = enumeration_->begin(pool_, r.n);
        if (!K) return refuse(); // the enumeration said why
        r.K = *K;
        r.T = r.K;
    } else if (r.f <= r.T) {
        // A pool with fewer different numbers than a tip needs could never complete a candidate.
        const int distinct = pool_.distinctNumbers();
        if (distinct < r.n) {
            m_.setStatus(1, "Der Zahlenpool enthält nur " + std::to_string(distinct) +
                                " verschiedene Zahlen, für einen Tipp werden " + std::to_string(r.n) +
                                " gebraucht. Ändern Sie die Optionen!");
            return refuse();
        }
        r.draws.begin(pool_.entries(), r.n, path_);
        r.crossSums.resize(static_cast<size_t>(70 * r.n + 1));
        for (size_t sum = 0; sum < r.crossSums.size(); ++sum)
            r.crossSums[sum] = scaledCrossSum(static_cast<int>(sum), r.n);
    }
    if (clearList) {
        m_.tipLines.clear();
        m_.hits.clear();
        m_.notify(ChangeTips | ChangeHits);
    }
    for (int i = 1; i <= r.n; ++i) tipp_[static_cast<size_t>(i)] = 0;
    r.t = r.f;
    return true;
}

// ---------------------------------------------------------------------------------------------
// The attempts

bool GeneratorController::step(std::chrono::microseconds budget) {
    if (!run_) return false;
    Run& r = *run_;
    chain_.refreshHistory();
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
            if (m_.runState != GeneratorRun::Running) break;
            if (++r.sinceClock >= kClockEvery) {
                r.sinceClock = 0;
                if (SteadyClock::now() >= deadline) {
                    flushDisplay();
                    return true;
                }
            }
            ++versuche_;
            ++attempts_;
            r.lastPassed = attempt();
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
    r.j = n + 1;
    if (r.enumerate) {
        enumeration_->next(tipp_, n);
        const int qs = arrangeCandidate(tipp_, c, n, true);
        // The status bar shows every candidate that gets this far; the display is told per slice.
        r.candidatePending = true;
        r.pendingAsSet = false;
        r.pendingT = r.t;
        r.pendingQs = qs;
        r.pendingTipp = tipp_;
        if (chain_.accepts(tipp_, c, qs, r)) return true;
        for (int i = 1; i <= n; ++i) tipp_[static_cast<size_t>(i)] = 0; // TippVerwerfen
        r.j = 1;
        return false;
    }

    // The pair constraint gives way for the rest of the run; the user's option stays as it is.
    if (2LL * versuche_ == m_.attemptLimit && m_.on(Opt::ForcePair)) r.pairRelaxed = true;
    // A random candidate is n different numbers: the chain tests its set, and the sorted tip is that set
    // read upwards. Only a candidate that passes is written into tipp_; a rejected one leaves it empty,
    // as TippVerwerfen does.
    if (!r.tippCleared) {
        for (int i = 1; i <= n; ++i) tipp_[static_cast<size_t>(i)] = 0;
        r.tippCleared = true;
    }
    int sum = 0;
    r.draws.next(m_.random, c.mask, sum);
    c.repeats = false;
    c.listed = false;
    c.count = n;
    const int qs = r.crossSums[static_cast<size_t>(sum)];
    r.candidatePending = true;
    r.pendingAsSet = true;
    r.pendingT = r.t;
    r.pendingQs = qs;
    r.pendingSet = c.mask;
    if (chain_.accepts(tipp_, c, qs, r)) {
        writeSet(tipp_, c.mask);
        r.tippCleared = false;
        return true;
    }
    r.j = 1;
    return false;
}

void GeneratorController::finishTip() {
    Run& r = *run_;
    const int n = r.n;
    // The attempts of an enumeration count on over the positions, and the last one tests the last
    // combination: when it passes, it counts like every other one.
    bool passed = versuche_ < m_.attemptLimit || (r.enumerate && r.j > n);
    if (passed)
        m_.setStatus(1, "Tipps wurden neu berechnet");
    else
        m_.setStatus(1, "Ändern Sie die Parameter um " + std::to_string(m_.totalTips()) + " Tipps zuberechnen => " +
                            std::to_string(m_.tipLines.size()) + " berechnet!");
    r.candidatePending = false;
    // A stop request drops the tip being worked on and passes over the rest.
    if (m_.runState != GeneratorRun::Running) {
        versuche_ = m_.attemptLimit;
        passed = false;
    }
    if (!passed)
        for (int i = 1; i <= n; ++i) tipp_[static_cast<size_t>(i)] = 0;
    std::sort(tipp_.begin() + 1, tipp_.begin() + 1 + n);
    r.tippCleared = false;
    if (passed && (!r.enumerate || r.K >= CandidateEnumeration::kListThreshold)) {
        m_.tipLines.push_back(tipLine(tipp_, n));
        std::vector<uint8_t> numbers;
        for (int i = 1; i <= n; ++i) {
            const uint8_t x = tipp_[static_cast<size_t>(i)];
            if (x >= 1 && x <= 70) numbers.push_back(x);
        }
        r.storeTip(r.t, numbers);
        r.tipsChanged = true;
    }
}

void GeneratorController::flushDisplay() {
    Run& r = *run_;
    if (r.candidatePending) {
        if (r.pendingAsSet) writeSet(r.pendingTipp, r.pendingSet);
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
    if (r.enumerate) enumeration_->end(r.lastPassed);
    flushDisplay();
    m_.hitCheckOn = true;
    m_.num(Num::LastDrawMax).set(r.saved4);
    m_.num(Num::SecondDrawMax).set(r.saved5);
    m_.num(Num::HistoryMatch).set(r.saved6);
    m_.notify(ChangeOptions);
    // The seek shows the chosen draw again and so restores the current-draw register.
    browser_.seekDate();
    checkAllTips(m_, s_.sound);
    setRunState(GeneratorRun::Idle);
    m_.notify(ChangeStatus);
    run_.reset();
}

} // namespace zf
