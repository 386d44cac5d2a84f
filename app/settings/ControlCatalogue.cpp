#include "app/settings/ControlCatalogue.h"

namespace zf {

const std::vector<CheckBoxDef>& checkBoxTable() {
    static const std::vector<CheckBoxDef> table = [] {
        std::vector<CheckBoxDef> t;
        const int ticked[] = {3, 4, 5, 9, 10, 14, 17, 18, 23, 24, 27, 28, 32, 36};
        for (int n = 1; n <= 36; ++n) {
            bool on = false;
            for (int k : ticked) on = on || k == n;
            const bool persisted = n != 21 && n != 33 && n != 34;
            t.push_back({n, on, persisted});
        }
        return t;
    }();
    return table;
}

const std::vector<UpDownDef>& upDownTable() {
    using P = OptionPage;
    static const std::vector<UpDownDef> table = {
        {1, 0, 9, 0, "Edit88", P::ScheinOptimierung},
        {2, 1, 750, 100, "Edit37", P::Mathematisch},
        {3, 0, 9, 5, "Edit39", P::ScheinOptimierung},
        {4, 0, 10, 3, "Edit40", P::Statistisch},
        {5, 0, 10, 3, "Edit41", P::Statistisch},
        {6, 1, 10, 10, "Edit42", P::Statistisch},
        {7, 1, 10000, 100, "Edit55", P::Allgemein},
        {8, 1, 5, 5, "Edit80", P::KenoTipp},
        {9, 1, 120, 5, "Edit1", P::KenoTipp},
        {10, 0, 6, 2, "Edit83", P::Mathematisch},
        {11, 0, 10, 3, "Edit84", P::Statistisch},
        {12, 5, 75, 30, "Edit85", P::Statistisch},
        {13, 5, 75, 30, "Edit86", P::Statistisch},
        {14, 5, 75, 30, "Edit87", P::Statistisch},
        {15, 750, 1400, 1200, "Edit38", P::Mathematisch},
        {16, 0, 6, 2, "Edit89", P::Mathematisch},
        {17, 0, 6, 2, "Edit90", P::Mathematisch},
        {18, 2, 10, 10, "Edit5", P::KenoTipp},
        {19, 1, 10, 6, "Edit4", P::Statistisch},
        {20, 1, 356, 21, "Edit6", P::Statistisch},
        {21, 0, 10, 0, "Edit7", P::Statistisch},
        {22, 0, 10, 0, "Edit8", P::Statistisch},
        {23, 0, 10, 0, "Edit9", P::Statistisch},
        {24, 0, 9, 5, "Edit10", P::ScheinOptimierung},
    };
    return table;
}

const UpDownDef& upDownDef(int number) {
    const auto& t = upDownTable();
    return t.at(static_cast<size_t>(number < 1 ? 0 : number - 1));
}

std::string checkBoxSettingName(int number) { return "Chekcbox" + std::to_string(number); }
std::string upDownSettingName(int number) { return "UpDown" + std::to_string(number); }

} // namespace zf
