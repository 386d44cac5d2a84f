#include "app/Model.h"

#include "app/SettingsTable.h"

namespace zf {

Model::Model() {
    TippZahl.fill("0");
    resetToDesign();
}

void Model::resetToDesign() {
    for (const CheckBoxDef& c : checkBoxTable()) CheckBox[c.number] = c.designTicked;
    for (const UpDownDef& u : upDownTable()) UpDown[u.number] = UpDownState{u.min, u.max, u.design};
    ComboBox2 = -1;
    ComboBox3 = 2;
    Edit3 = "0,20";
    font = FontState{};
    height = 573;
    width = 642;
}

bool Model::setDateTimePicker1(double d) {
    if (d < DateTimePicker1Min) return false;
    DateTimePicker1 = d;
    return true;
}

bool Model::setDateTimePicker2(double d) {
    if (d < DateTimePicker2Min) return false;
    DateTimePicker2 = d;
    return true;
}

void Model::setStatus(int panel, std::string text) {
    if (panel < 0 || panel > 1) return;
    status[static_cast<size_t>(panel)] = std::move(text);
    notify(ChangeStatus);
}

} // namespace zf
