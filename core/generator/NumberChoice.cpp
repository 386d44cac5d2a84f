#include "core/generator/NumberChoice.h"

#include "base/GermanFormat.h"
#include "base/Parse.h"

namespace zf {
NumberChoice::NumberChoice() {
    ticked.fill(true);
    ticked[0] = false;
    colour.fill(BoxColour::Normal);
}

void NumberChoice::mouseDown(int k, bool right) {
    if (k < 1 || k > 70) return;
    if (right) {
        Minus = true;
        click(k);
        Minus = false;
    } else {
        Minus = false;
        ticked[static_cast<size_t>(k)] = !ticked[static_cast<size_t>(k)];
        click(k);
    }
}

void NumberChoice::click(int k) {
    if (k < 1 || k > 70) return;
    const size_t i = static_cast<size_t>(k);
    const int d = Minus ? -1 : 1;
    if (ticked[i]) {
        const auto w = parseInt32(hint[i]);
        if (!w && hint[i].empty()) {
            // No weight yet counts as 0: a left click ticks the number with weight 1 at once.
            hint[i] = d > 0 ? "1" : "0";
        } else if (!w) {
            hint[i] = "0";
        } else {
            const long long v = static_cast<long long>(*w) + d;
            hint[i] = v < 0 ? "0" : std::to_string(v);
        }
    }
    if (hint[i] == "0") ticked[i] = false;
    status = weightText(k);
}

std::string NumberChoice::weightText(int k) const {
    if (k < 1 || k > 70) return {};
    return "Die Zahl " + std::to_string(k) + " geht mit der Gewichtung " + hint[static_cast<size_t>(k)] +
           " in die Berechnung ein";
}

void NumberChoice::untickAll(BoxColour c) {
    for (int k = 1; k <= 70; ++k) {
        ticked[static_cast<size_t>(k)] = false;
        colour[static_cast<size_t>(k)] = c;
    }
}

void NumberChoice::randomClick() {
    const int limit = randomMax < 1 ? 1 : (randomMax > 10 ? 10 : randomMax);
    if (!timerRunning) {
        timerRunning = true;
        untickAll(BoxColour::Tooltip);
        randomPicks.fill(0);
        nextFixed = 1;
    } else if (nextFixed < limit) {
        ++nextFixed;
    } else {
        timerRunning = false;
        randomCaption = "&Zufall";
        nextFixed = 1;
    }
}

void NumberChoice::timerTick(Random& random) {
    if (!timerRunning) return;
    const int limit = randomMax < 1 ? 1 : (randomMax > 10 ? 10 : randomMax);
    randomCaption = std::to_string(nextFixed) + " Stopp";
    untickAll(BoxColour::Tooltip);
    for (int i = 1; i < nextFixed; ++i) {
        const size_t a = static_cast<size_t>(randomPicks[static_cast<size_t>(i)]);
        if (a >= 1 && a <= 70) {
            ticked[a] = true;
            colour[a] = BoxColour::Yellow;
        }
    }
    for (int i = nextFixed; i <= limit; ++i) {
        for (;;) {
            const int a = static_cast<int>(random.below(70)) + 1;
            randomPicks[static_cast<size_t>(i)] = a;
            if (ticked[static_cast<size_t>(a)]) continue;
            ticked[static_cast<size_t>(a)] = true;
            colour[static_cast<size_t>(a)] = BoxColour::Yellow;
            break;
        }
    }
}

void NumberChoice::closed() {
    timerRunning = false;
    randomCaption = "&Zufall";
    nextFixed = 1;
}

std::vector<std::string> NumberChoice::weightListLines() {
    std::vector<std::string> lines;
    lines.reserve(70);
    for (int k = 1; k <= 70; ++k) {
        const size_t i = static_cast<size_t>(k);
        if (ticked[i]) {
            if (hint[i].empty()) hint[i] = "1";
            lines.push_back(hint[i]);
        } else {
            lines.emplace_back();
        }
    }
    return lines;
}

void NumberChoice::loadWeightList(const std::vector<std::string>& lines) {
    for (int k = 1; k <= 70; ++k) {
        const size_t i = static_cast<size_t>(k);
        const std::string line = i <= lines.size() ? lines[i - 1] : std::string();
        if (!line.empty()) {
            ticked[i] = true;
            hint[i] = line;
        } else {
            ticked[i] = false;
            hint[i] = "1";
        }
    }
}

std::string NumberChoice::proposedListName(double today) { return formatYmdCompact(today) + ".kwl"; }

std::vector<int> NumberChoice::tickedNumbers() const {
    std::vector<int> out;
    for (int k = 1; k <= 70; ++k)
        if (ticked[static_cast<size_t>(k)]) out.push_back(k);
    return out;
}

} // namespace zf
