#pragma once
// The state and rules of the number dialog: 70 numbers, each ticked or not, each with a weight
// kept as text (the tooltip shows it), the random choice, and the weight list files.
// The dialog lives as long as the program: what one caller leaves here the next one finds.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/Random.h"
#include "core/ports/Seams.h"

namespace zf {

enum class BoxColour {
    Normal,
    Info,
    Tooltip,
    Yellow
};

struct NumberChoice {
    std::string caption = "Welche Zahlen für die Berechnung";
    std::array<bool, 71> ticked{};      // 1..70
    std::array<std::string, 71> hint{}; // weight as text
    std::array<BoxColour, 71> colour{};
    bool computeVisible = true; // "&Rechnen"
    bool randomVisible = false; // "&Zufall"
    bool saveListVisible = true;
    bool loadListVisible = true;
    bool entryVisible = false; // date picker, "Gewinnzahl Plus 5:" and the five digit fields
    double entryDate = 0;
    std::array<int, 5> entryDigits{};
    std::string status; // status bar panel 0
    std::string randomCaption = "&Zufall";

    // random choice
    std::array<int, 11> randomPicks{}; // 1..10
    int nextFixed = 1;
    int randomMax = 10;
    bool timerRunning = false;
    bool Minus = false;

    NumberChoice();

    // Left (right = false) or right button pressed on box k; a left press toggles the box first.
    void mouseDown(int k, bool right);
    void click(int k); // the click rule on box k
    std::string weightText(int k) const;
    void hover(int k) { status = weightText(k); }

    // "Zufall": start, fix one more, or stop; and one tick of the 25 ms timer.
    void randomClick();
    void timerTick(Random& random);
    void closed(); // the dialog closes: the random choice stops

    // Weight list files ("*.kwl": 70 lines, the weight of ticked numbers, empty otherwise).
    std::vector<std::string> weightListLines(); // sets empty hints of ticked boxes to "1"
    void loadWeightList(const std::vector<std::string>& lines);
    static std::string proposedListName(double today); // "yyyymmdd.kwl"

    std::vector<int> tickedNumbers() const;
    void untickAll(BoxColour colour);
};

} // namespace zf
