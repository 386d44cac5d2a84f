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
    Edit1 = std::to_string(UpDown[9].pos);
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

int Model::gesamtTipps() const {
    long long v = 0;
    bool digits = !Edit1.empty();
    for (char c : Edit1) {
        if (c < '0' || c > '9' || v > 500000) { digits = false; break; }
        v = v * 10 + (c - '0');
    }
    return digits && v >= 1 && v <= 500000 ? static_cast<int>(v) : UpDown[9].pos;
}

void Model::setGesamtTipps(int value) {
    value = value < 1 ? 1 : (value > 500000 ? 500000 : value);
    Edit1 = std::to_string(value);
    UpDown[9].set(value);
}

void Model::setStatus(int panel, std::string text) {
    if (panel < 0 || panel > 1) return;
    status[static_cast<size_t>(panel)] = std::move(text);
    notify(ChangeStatus);
}

} // namespace zf
