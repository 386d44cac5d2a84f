#pragma once
// The option controls of the window: every check box and up-down with its number, setting name,
// range and design value, and the page it sits on. The schema, the option pages and --set read it.
#include <string>
#include <vector>

namespace zf {

struct CheckBoxDef {
    int number;
    bool designTicked;
    bool persisted; // as "Chekcbox<N>" in group A
};

// The page of the main window an option control sits on.
enum class OptionPage {
    KenoTipp,
    Statistisch,
    ScheinOptimierung,
    Mathematisch,
    Allgemein,
    Elsewhere
};

struct UpDownDef {
    int number;
    int min, max, design;
    const char* edit = ""; // the edit field that shows and takes the number
    OptionPage page = OptionPage::Elsewhere;
};

const std::vector<CheckBoxDef>& checkBoxTable();
const std::vector<UpDownDef>& upDownTable();
const UpDownDef& upDownDef(int number);      // number 1..24
std::string checkBoxSettingName(int number); // "Chekcbox9" (sic)
std::string upDownSettingName(int number);   // "UpDown6"

} // namespace zf
