#pragma once
// The windows that set results beside chance: the odds of a tip ("Chancen") and the comparison of a
// backtest with random draws ("Vergleich mit dem Zufall"). The desktop program shows them; the batch
// program and most tests plug in none.
#include "core/evaluation/Chance.h"

namespace zf {

class ChanceView {
public:
    virtual ~ChanceView() = default;
    virtual void showOdds(const OddsTable& table) = 0;
    virtual void showComparison(const ChanceComparison& comparison) = 0;
};

} // namespace zf
