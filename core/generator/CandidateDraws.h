#pragma once
// The random candidates of a generator run: n different numbers drawn from the pool, one draw after
// another. A draw takes the pool position random.below(size); an empty position (0) or a number drawn
// already costs a draw, not a candidate. The random generator is left in the state the draws leave it.
//
// The plain way (the Reference and Generic paths) draws one number after another. The Avx2 path makes
// the draws ahead in blocks, whose states the generator's jump-ahead form gives side by side, and cuts
// the block into candidates sixteen draws at a time, comparing each draw with the ones before it in
// one vector (and draw by draw where sixteen draws do not make a candidate). The cut is the same, and
// so is the generator's state after every candidate: a state set from outside between two candidates
// starts a new block.
#include <array>
#include <cstdint>
#include <vector>

#include "base/CodePath.h"
#include "base/Random.h"
#include "core/draws/DrawRecord.h"

namespace zf {

class CandidateDraws {
public:
    // The pool of the run (positions 0..last) and the numbers of a candidate (1..16). A pool must hold
    // n different numbers, or next() would never return.
    void begin(std::vector<uint8_t> pool, int n, CodePath path);
    // Draws the next candidate: the set of its numbers and their sum.
    void next(Random& random, DrawBits& numbers, int& sum) { (this->*next_)(random, numbers, sum); }

    // The draws made ahead at a time, and the ones after them that the sixteen-draw cut may look at.
    static constexpr size_t kBlock = 1024;
    static constexpr size_t kWindow = 16;

private:
    using Next = void (CandidateDraws::*)(Random&, DrawBits&, int&);
    void nextReference(Random& random, DrawBits& numbers, int& sum);
#if ZF_X86_DISPATCH
    ZF_TARGET_AVX2 void nextAvx2(Random& random, DrawBits& numbers, int& sum);
#endif
    void nextNone(Random& random, DrawBits& numbers, int& sum);
    // The block of draws after `state`.
    void fill(uint32_t state);
    void oneByOne(DrawBits& numbers, int& sum);

    Next next_ = &CandidateDraws::nextNone;
    std::vector<uint8_t> pool_;
    uint32_t size_ = 0;
    int n_ = 0;
    CodePath path_ = CodePath::Reference;
    bool filled_ = false;
    uint32_t base_ = 0;  // the state before the first draw of the block
    uint32_t state_ = 0; // the state after the draws taken so far
    size_t pos_ = 0;     // the next draw of the block
    alignas(32) std::array<uint8_t, kBlock + kWindow> drawn_{};
};

} // namespace zf
