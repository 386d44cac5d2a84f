#pragma once
// The candidate pool `Zahlenpool`: positions holding a number 1..70 or 0 for "empty". The generator
// picks positions with equal chance, so the count of a number's positions is its weight.
//
// The pool starts with 1401 positions and grows when the options together append more entries than
// that: every favouring option keeps its full weight however many are switched on.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zf {

struct NumberChoice;

class CandidatePool {
public:
    static constexpr int kDesignPositions = 1401;
    // A weight from the number dialog counts at most this often: a single number could otherwise
    // ask for billions of entries.
    static constexpr int kMaxWeight = 1400;

    CandidatePool() { reset(); }

    // All positions empty, write position 0, no pool yet (last -1).
    void reset();
    // Stores `number` at `position`, growing the pool when needed.
    void put(int position, int number);
    // Appends at the write position and moves it on.
    void append(int number) { put(w++, number); }
    int at(int position) const {
        return position >= 0 && position < static_cast<int>(entries_.size()) ? entries_[static_cast<size_t>(position)]
                                                                             : 0;
    }

    // How many of the positions 0..last hold k.
    int count(int k) const;
    // How many different numbers stand in positions 0..last.
    int distinctNumbers() const;
    // Empties every position 0..last whose number is set in `numbers` (index 1..70).
    void clearNumbers(const std::vector<bool>& numbers);
    // Fills every hole from the end until positions 0..last all hold numbers.
    void compact();
    // When positions 0 and 1 hold the same number, position 0 becomes empty.
    void positionZeroRule();

    // Rebuilds the pool from the number dialog: the ticked numbers in ascending order from position 1,
    // each as often as its weight (0 counts as 1, a negative weight not at all; in an enumeration run
    // every weight counts as 1). A weight that is no whole number leaves the pool unchanged and is
    // returned as a German message.
    std::optional<std::string> fromNumberChoice(const NumberChoice& form, bool enumerating);

    // Positions 0..last.
    std::vector<uint8_t> entries() const;
    const uint8_t* data() const { return entries_.data(); }

    int w = 0;     // write position
    int last = -1; // last position that belongs to the pool

private:
    std::vector<uint8_t> entries_;
};

} // namespace zf
