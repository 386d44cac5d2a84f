#include "app/Model.h"
#include "base/Parse.h"

#include "app/settings/ControlCatalogue.h"
#include "app/settings/SettingsPersistence.h"
#include "app/settings/SettingsSchema.h"

namespace zf {

Model::Model() {
    tipPieces.fill("0");
    resetToDesign();
}

void Model::resetToDesign() {
    for (const CheckBoxDef& c : checkBoxTable()) checkBoxes[c.number] = c.designTicked;
    for (const UpDownDef& u : upDownTable()) upDowns[u.number] = UpDownState{u.min, u.max, u.design};
    weekdayItem = -1;
    recentDrawsItem = 2;
    feeText = "0,20";
    font = FontState{};
    height = 573;
    width = 642;
    totalTipsText = std::to_string(upDowns[9].pos);
}

bool Model::setBrowseDate(double d) {
    if (d < browseDateMin) return false;
    browseDate = d;
    return true;
}

bool Model::setStatsStart(double d) {
    if (d < statsStartMin) return false;
    statsStart = d;
    return true;
}

int Model::totalTips() const {
    const auto v = parseDigits(totalTipsText, 500000);
    return v && *v >= 1 ? static_cast<int>(*v) : num(Num::TotalTips).pos;
}

void Model::setTotalTips(int value) {
    value = value < 1 ? 1 : (value > 500000 ? 500000 : value);
    totalTipsText = std::to_string(value);
    upDowns[9].set(value);
}

void Model::setStatus(int panel, std::string text) {
    if (panel < 0 || panel > 1) return;
    status[static_cast<size_t>(panel)] = std::move(text);
    notify(ChangeStatus);
}

} // namespace zf
