#pragma once
// The tip generator: the coupling of its option controls, the run behind "Tipps berechnen" and the
// lucky number.
//
// A run builds the candidate pool (PoolBuilder), then draws candidate tips from it and passes each
// through the acceptance chain (AcceptanceChain) until one passes or the attempt limit is used up,
// for every free list position up to "Gesamt-Tipps". The window stays usable meanwhile: the run
// works in slices of a few milliseconds. A front end either calls runToEnd() with an event pump,
// which returns when the run is over, or start() once and step() from its event loop until it
// returns false. Options are read for every candidate, so a change made between two slices counts
// from the next one on.
// Every random number comes from the model's one generator, in a fixed order: the same state and
// options give the same tips however the run is sliced.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/Model.h"
#include "app/Services.h"
#include "app/generator/AcceptanceChain.h"
#include "app/generator/PoolBuilder.h"
#include "base/CodePath.h"
#include "core/generator/CandidateDraws.h"
#include "core/generator/Pool.h"

namespace zf {

class Model;
class Browser;

inline constexpr const char* kCaptionStart = "Tipps berechnen";
inline constexpr const char* kCaptionStop = "Stoppen";

// Where the full enumeration plugs into a run: instead of drawing random candidates it feeds the
// combinations of the pool through the same acceptance chain.
class CandidateEnumeration {
public:
    virtual ~CandidateEnumeration() = default;
    // The pool is complete: prepare the combinations of n numbers out of pool positions 1..last,
    // set LaufMax, and return how many list positions the run goes through (the count K). Nothing
    // when the combinations were not written (refused, failed or stopped): the run does not start.
    virtual std::optional<int> begin(const CandidatePool& pool, int n) = 0;
    // One attempt: the next combination into positions 1..n. `tipp` still holds the previous
    // candidate, cleared when the chain rejected it.
    virtual void next(Tipp& tipp, int n) = 0;
    // The run is over (after the last position, a failure or a stop request). `lastPassed`: the
    // candidate of the last attempt passed the chain; no attempt leaves it false.
    virtual void end(bool lastPassed) = 0;
    // Accepted combinations go into the tip list only with this many combinations or more.
    static constexpr int kListThreshold = 100000;
};

class GeneratorController {
public:
    GeneratorController(Model& m, Services& s, Browser& browser);
    ~GeneratorController();
    GeneratorController(const GeneratorController&) = delete;
    GeneratorController& operator=(const GeneratorController&) = delete;

    // ---- coupling of the option controls (they fire on the arrows only, not on typing) ----
    void fitMinOverlapToMax();       // pressed on UpDown3 or UpDown24: maximum of UpDown1 := UpDown3
    void fitMaxOverlapToMin();       // minimum of UpDown3 := UpDown1
    void fitEvenToOdd();             // maximum of UpDown16 := 6 - UpDown17
    void fitEvenToOddPressed();      // maximum of UpDown16 := 6 - UpDown17
    void fitOddToEven();             // maximum of UpDown17 := 6 - UpDown16
    void lastDrawMinChanging(int v); // a minimum of hits above its maximum drags the maximum up
    void secondDrawMinChanging(int v);
    void thirdDrawMinChanging(int v);
    void lastDrawMaxChanging(int v); // a maximum below its minimum drags the minimum down
    void secondDrawMaxChanging(int v);
    void thirdDrawMaxChanging(int v);
    void attemptLimitChanging(); // LaufMax := position before the change * 1000

    // ---- the run ----
    // "Tipps berechnen": starts a run, or during one asks it to stop (the caption of BitBtn4).
    void toggleRun();
    // "Tipps erzeugen": the same in enumeration mode; nothing happens while no enumeration is plugged in.
    void toggleEnumeration();
    // One run from set-up to end step, for callers without the button: "Tipps berechnen", or with
    // `enumerate` "Tipps erzeugen". Sets the caption to "Stoppen" itself and calls eventPump between
    // slices. Nothing happens while a run is going on. False when the run was refused before its
    // first attempt (no draws, the number dialog cancelled, too few numbers, combinations not
    // written): the tip list is then as it was. A run stopped by the user returns true.
    bool runToEnd(bool enumerate = false);

    // The same run in slices: start() does the set-up and builds the pool (it may ask the number
    // dialog) and returns false when the run has already ended, refused; "Löschen vor Berechnung"
    // empties the list only once start() returns true. step() then does attempts for about
    // `budget` and returns false once the run has ended. The caller sets the caption to "Stoppen"
    // first, as the two buttons do.
    bool start();
    bool step(std::chrono::microseconds budget);
    bool running() const { return run_ != nullptr; }

    // The code path of the random draws, the acceptance chain and the history search: the fastest one
    // the processor runs by default. Every path gives the same tips; tests and benchmarks compare them.
    void setCodePath(CodePath path);
    CodePath codePath() const { return path_; }

    std::function<void()> eventPump;       // lets the front end handle pending events
    std::chrono::microseconds slice{5000}; // work between two calls of eventPump
    void setEnumeration(CandidateEnumeration* e) { enumeration_ = e; }

    // ---- the lucky number ----
    void askLuckyNumber();
    // Seeds the random state with a lucky number, as a valid answer to askLuckyNumber() does.
    void seed(int32_t luckyNumber);
    // The lucky number as typed: a signed 32-bit whole number, blanks in front allowed.
    static std::optional<int32_t> luckyNumber(const std::string& text);

    // ---- what a run leaves behind ----
    const Tipp& tipp() const { return tipp_; }
    const CandidatePool& pool() const { return pool_; }
    int32_t attemptsOfTip() const { return versuche_; }
    unsigned long long attemptsOfLastRun() const { return attempts_; }
    // Candidates of the last run that got as far as a history filter.
    unsigned long long historyScansOfLastRun() const { return chain_.historyScans(); }

private:
    struct Run;
    void setRunState(GeneratorRun state);
    bool runSlices();
    bool loadHistory();
    void readTipList();
    void endEarly(bool reseek);
    bool refuse();
    void beginTip();
    bool attempt();
    void finishTip();
    void finish();
    void flushDisplay();

    Model& m_;
    Services& s_;
    Browser& browser_;
    PoolBuilder poolBuilder_;
    AcceptanceChain chain_;
    CandidateEnumeration* enumeration_ = nullptr;
    CodePath path_ = fastestCodePath();
    std::unique_ptr<Run> run_;
    CandidatePool pool_;
    Tipp tipp_{};
    int32_t versuche_ = 0;
    unsigned long long attempts_ = 0;
};

} // namespace zf
