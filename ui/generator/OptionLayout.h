#pragma once
// The generator option pages as the window lays them out: each option a sentence of German words
// with its number fields standing in it, usually behind a switch.
#include <string>
#include <vector>

#include "app/settings/ControlCatalogue.h"

namespace zf {

// One option: ranges and design values come from the up-down and check box tables.
struct OptionPiece {
    enum class Kind {
        Text,
        UpDown,
        ComboBox3,
        DateTimePicker3
    };
    Kind kind = Kind::Text;
    std::string text; // the words, blanks as in the caption
    int upDown = 0;   // the up-down of an UpDown piece
};

struct OptionDef {
    OptionPage page;
    int checkBox = 0;  // the switch; 0 for a sentence that is always in force or a heading
    std::string label; // object name of a switchless sentence's label or of a heading
    std::vector<OptionPiece> pieces;
    std::string hint; // tooltip
    int besideOf = 0; // a switch that sits in the row of this check box ("seltensten")
    bool heading = false;
    // The caption as one text: the words of the pieces, joined by blanks.
    std::string caption() const;
};

// Every option the generator, its pool and its filters read, page by page in the order shown.
const std::vector<OptionDef>& optionTable();

} // namespace zf
