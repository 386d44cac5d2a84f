#include "core/generator/Pool.h"

#include <algorithm>
#include <array>

#include "base/Parse.h"
#include "core/generator/NumberChoice.h"

namespace zf {

void CandidatePool::reset() {
    entries_.assign(kDesignPositions, 0);
    w = 0;
    last = -1;
}

void CandidatePool::put(int position, int number) {
    if (position < 0) return;
    const size_t p = static_cast<size_t>(position);
    if (p >= entries_.size()) entries_.resize(std::max(p + 1, entries_.size() * 2), 0);
    entries_[p] = static_cast<uint8_t>(number >= 0 && number <= 70 ? number : 0);
}

int CandidatePool::count(int k) const {
    int count = 0;
    for (int i = 0; i <= last; ++i) count += at(i) == k;
    return count;
}

int CandidatePool::distinctNumbers() const {
    std::array<bool, 71> seen{};
    int count = 0;
    for (int i = 0; i <= last; ++i) {
        const int x = at(i);
        if (x > 0 && !seen[static_cast<size_t>(x)]) {
            seen[static_cast<size_t>(x)] = true;
            ++count;
        }
    }
    return count;
}

void CandidatePool::clearNumbers(const std::vector<bool>& numbers) {
    for (int i = 0; i <= last && i < static_cast<int>(entries_.size()); ++i) {
        const int x = entries_[static_cast<size_t>(i)];
        if (x > 0 && static_cast<size_t>(x) < numbers.size() && numbers[static_cast<size_t>(x)])
            entries_[static_cast<size_t>(i)] = 0;
    }
}

void CandidatePool::compact() {
    if (last >= static_cast<int>(entries_.size())) put(last, 0); // every pool position exists
    int i = 0;
    while (i <= last) {
        while (i <= last && entries_[static_cast<size_t>(i)] == 0) {
            entries_[static_cast<size_t>(i)] = entries_[static_cast<size_t>(last)];
            entries_[static_cast<size_t>(last)] = 0;
            --last;
        }
        ++i;
    }
}

void CandidatePool::positionZeroRule() {
    // Position 0 always exists; written directly, GCC 12 at -O3 also no longer warns falsely about the
    // growth path of put() (-Warray-bounds).
    if (!entries_.empty() && at(0) == at(1)) entries_[0] = 0;
}

std::optional<std::string> CandidatePool::fromNumberChoice(const NumberChoice& form, bool enumerating) {
    // Check every weight first: a list the run cannot use leaves the pool as it was.
    std::array<long long, 71> weight{};
    for (int k = 1; k <= 70; ++k) {
        if (!form.ticked[static_cast<size_t>(k)]) continue;
        const auto g = parseInt32(form.hint[static_cast<size_t>(k)]);
        if (!g)
            return "Die Gewichtung \"" + form.hint[static_cast<size_t>(k)] + "\" der Zahl " + std::to_string(k) +
                   " ist keine ganze Zahl. Die Tippberechnung wird abgebrochen.";
        weight[static_cast<size_t>(k)] = *g;
    }
    entries_.assign(kDesignPositions, 0);
    w = 0;
    last = 0;
    for (int k = 1; k <= 70; ++k) {
        if (!form.ticked[static_cast<size_t>(k)]) continue;
        long long g = weight[static_cast<size_t>(k)];
        if (g == 0 || enumerating) g = 1;
        g = std::min<long long>(g, kMaxWeight);
        for (long long r = 0; r < g; ++r) {
            ++w;
            put(w, k);
        }
        last = w;
    }
    return std::nullopt;
}

std::vector<uint8_t> CandidatePool::entries() const {
    std::vector<uint8_t> out;
    for (int i = 0; i <= last; ++i) out.push_back(static_cast<uint8_t>(at(i)));
    return out;
}

} // namespace zf
