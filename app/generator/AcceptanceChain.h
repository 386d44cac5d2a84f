#pragma once
// The acceptance chain: whether a candidate tip goes into the list. It reads the options from the
// model for every candidate, so a change made during a run counts from the next candidate on; what
// it needs of the run (the tips already in the list, the last draws, the list position) comes in a
// RunState.
//
// The history filters ("Tipp darf noch keinen ...er", in the whole window of the statistics or in the
// last M draws) scan the draw history as 70-bit sets; the chain keeps that index and the windows of
// the date pickers while they stay.
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "base/CodePath.h"
#include "core/draws/DrawRecord.h"
#include "core/generator/HistoryIndex.h"

namespace zf {

class Model;

// The tip being built: positions 1..n, 0 for "not drawn yet".
using Tipp = std::array<uint8_t, 11>;

// A tip of the list as the overlap and occurrence tests see it: its numbers 1..70 on positions 1..n.
struct StoredTip {
    DrawBits mask;
    std::vector<uint8_t> numbers; // kept only when a number stands more than once
};

// The candidate in the same form. A random candidate comes as its set alone (not listed): its
// numbers are all different, and the set read upwards is the sorted tip.
struct Candidate {
    DrawBits mask;
    bool repeats = false;
    bool listed = true;                // `numbers` holds the numbers
    std::array<uint8_t, 11> numbers{}; // the numbers 1..70 of the candidate, with repeats
    int count = 0;
};

// What the chain needs to know of the run besides the options.
struct RunState {
    int n = 10; // numbers per tip: the Keno type when the run started
    int t = 1;  // the list position the candidate is for
    // Half of one tip's attempts were used up: the pair constraint gives way for the rest of the run.
    bool pairRelaxed = false;
    std::array<DrawBits, 3> recentBits{}; // the last, second-last and third-last draw
    std::vector<StoredTip> stored;        // the tips of the list, index = list position
    std::array<int, 71> occurrences{};    // how often each number stands in the list
    int maxOccurrence = 0;

    // Puts a tip with these numbers (1..70, in tip order) at list position t.
    void storeTip(int t, const std::vector<uint8_t>& numbers);
};

// Puts the candidate into positions 1..n of `tipp` in ascending order and describes it in `c`, and
// returns its scaled cross sum. A random candidate comes as the set of its different numbers in
// c.mask; an enumerated one (`fromTipp`) as the numbers in `tipp`, repeats and gaps allowed.
int arrangeCandidate(Tipp& tipp, Candidate& c, int n, bool fromTipp);

class AcceptanceChain {
public:
    explicit AcceptanceChain(Model& m) : m_(m) {}

    // A run begins: the history filters look at the date pickers afresh.
    void beginRun();
    // Rebuilds the history index when Keno.dat in memory has changed.
    void refreshHistory();

    // Whether the arranged candidate passes every constraint switched on now. A candidate of n different
    // numbers 1..70 is tested on its set; `tipp` is read only for the others.
    bool accepts(const Tipp& tipp, const Candidate& c, int crossSum, const RunState& run) {
#if ZF_X86_DISPATCH
        if (path_ == CodePath::Avx2) return acceptsAvx2(tipp, c, crossSum, run);
#endif
        return acceptsGeneric(tipp, c, crossSum, run);
    }

    // The code path of the chain and its history search (the fastest one by default).
    void setCodePath(CodePath path);

    // Candidates of this run that got as far as a history filter.
    unsigned long long historyScans() const { return scans_; }

private:
    bool acceptsOn(const Tipp& tipp, const Candidate& c, int crossSum, const RunState& run);
#if ZF_X86_DISPATCH
    ZF_TARGET_AVX2 bool acceptsAvx2(const Tipp& tipp, const Candidate& c, int crossSum, const RunState& run);
#endif
    bool acceptsGeneric(const Tipp& tipp, const Candidate& c, int crossSum, const RunState& run);
    bool overlapTests(const Candidate& c, const RunState& run);
    // The first history filter of a run clears the chart, a changed history drops the cached windows.
    void prepareHistoryFilterOnce();
    bool noHistoryMatch(const DrawBits& tip, int limit);
    bool noRecentMatch(const DrawBits& tip, int limit);

    Model& m_;
    CodePath path_ = fastestCodePath();
    HistoryIndex history_;
    uint64_t historyGeneration_ = ~0ull;
    unsigned long long scans_ = 0;
    // the history filters' windows, kept while the pickers stay
    bool chartCleared_ = false;
    double wholeStart_ = -1, wholeEnd_ = -1, recentStart_ = -1, recentEnd_ = -1;
    std::pair<size_t, size_t> wholeRange_{0, 0}, recentRange_{0, 0};
    uint64_t rangeGeneration_ = ~0ull;
};

} // namespace zf
