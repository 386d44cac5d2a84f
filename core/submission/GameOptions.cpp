#include "core/submission/GameOptions.h"

#include <cmath>
#include <unordered_set>

#include "base/GermanFormat.h"
#include "base/GermanNumber.h"
#include "base/Text.h"

namespace zf {

const std::vector<DurationItem>& durationItems() {
    static const std::vector<DurationItem> items = {
        {"1 Ziehung", 1},   {"2 Ziehungen", 2}, {"3 Ziehungen", 3},   {"4 Ziehungen", 4},   {"5 Ziehungen", 5},
        {"6 Ziehungen", 6}, {"7 Ziehungen", 7}, {"14 Ziehungen", 14}, {"28 Ziehungen", 28},
    };
    return items;
}

const std::vector<StakeItem>& stakeItems() {
    static const std::vector<StakeItem> items = {{"1 EUR", 1.0}, {"2 EUR", 2.0}, {"5 EUR", 5.0}, {"10 EUR", 10.0}};
    return items;
}

double handOverCost(int tips, double stakePerField, int draws, double fee, bool plus5) {
    double cost = tips * stakePerField * draws + fee;
    if (plus5) cost += ((tips + 4) / 5) * kPlus5PerFiveTips;
    return cost;
}

std::string formatCost(double euro) {
    // Rounded to the cent once; the amount keeps every digit a user pays.
    const double cents = std::round(euro * 100.0);
    return formatAmount(cents / 100.0, 2) + " €";
}

std::optional<double> feeOf(std::string_view feeText) {
    const auto v = parseDecimal(feeText);
    if (!v) return kFeeWhenNoNumber;
    if (*v < 0 || *v > kMaxFee) return std::nullopt;
    return *v;
}

void GameOptions::computeCost() {
    if (stakeItem >= 0 && stakeItem < static_cast<int>(stakeItems().size()))
        stakePerField = stakeItems()[static_cast<size_t>(stakeItem)].euro;
    if (durationItem >= 0 && durationItem < static_cast<int>(durationItems().size()))
        draws = durationItems()[static_cast<size_t>(durationItem)].draws;
    price = handOverCost(tips, stakePerField, draws, fee, plus5);
}

int GameOptions::ticketNumber() const {
    int n = 0;
    for (int d : digits) n = n * 10 + d;
    return n;
}

void GameOptions::randomTicket(Random& random) {
    for (int& d : digits) d = static_cast<int>(random.below(10));
}

void GameOptions::neverDrawnTicket(Random& random, const std::vector<DrawRecord>& history) {
    std::unordered_set<int> drawn;
    for (const DrawRecord& r : history)
        if (r.hasPlus5()) drawn.insert(r.plus5Number());
    randomTicket(random);
    if (drawn.size() >= 100000) return; // every number was drawn: the last one drawn stands
    while (drawn.count(ticketNumber())) randomTicket(random);
}

bool anyKnownPlus5(const std::vector<DrawRecord>& history) {
    for (const DrawRecord& r : history)
        if (r.hasPlus5()) return true;
    return false;
}

std::vector<std::string> ticketCheckMessages(int ticketNumber, const std::vector<DrawRecord>& history) {
    if (!anyKnownPlus5(history)) return {kNoKnownPlus5Text};
    std::vector<std::string> out;
    for (const DrawRecord& r : history)
        if (r.hasPlus5() && r.plus5Number() == ticketNumber)
            out.push_back("Die Schein-Nummer wurde schon am " + formatDate(r.datum) + " bei Plus 5 gezogen.");
    if (out.empty()) out.push_back("Wurde noch nie gezogen");
    return out;
}

} // namespace zf
