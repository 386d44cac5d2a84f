#include "app/settings/SettingsPersistence.h"

#include <algorithm>
#include <cmath>

#include "app/Model.h"
#include "base/GermanFormat.h"
#include "base/GermanNumber.h"
#include "base/Parse.h"

namespace zf {

std::optional<std::string> restoreSettings(Model& m, const SettingsStore& store, double now) {
    std::optional<std::string> stoppedAt;
    const bool fontStored = store.get(kSettingsKey, "SystemFontName").has_value();
    bool upDownsDone = false;
    for (const SettingDef& d : settingsTable()) {
        if (d.group != 'A') continue;
        if (d.name.rfind("SystemFont", 0) == 0 && !fontStored) continue;
        const auto v = store.get(kSettingsKey, d.name);
        if (!v) {
            d.absent(m);
        } else if (!rightType(d.kind, *v)) {
            stoppedAt = d.name; // a wrong type ends group A here
            break;
        } else {
            d.restore(m, *v);
        }
        if (d.name == "UpDown24") upDownsDone = true;
    }
    if (upDownsDone && m.num(Num::MaxOverlap).pos < m.num(Num::MinOverlap).pos)
        m.num(Num::MaxOverlap).set(m.num(Num::MinOverlap).pos);

    m.yearlyDate = now + 1;

    for (const SettingDef& d : settingsTable()) {
        if (d.group != 'B') continue;
        const auto v = store.get(kSettingsKey, d.name);
        if (!v) {
            d.absent(m);
        } else if (d.name == "Browser" && v->type == RegType::String) {
            m.on(Opt::LinkPage) = !v->str.empty();
        } else if (!rightType(d.kind, *v)) {
            d.absent(m); // unreadable counts as absent
        } else {
            d.restore(m, *v);
        }
    }
    return stoppedAt;
}

std::vector<std::string> wrongTypedSettings(const SettingsStore& store) {
    std::vector<std::string> names;
    for (const SettingDef& d : settingsTable()) {
        const auto v = store.get(kSettingsKey, d.name);
        if (!v || rightType(d.kind, *v)) continue;
        if (d.name == "Browser" && v->type == RegType::String) continue; // an old form, read as such
        names.push_back(d.name);
    }
    return names;
}

void saveSettings(Model& m, SettingsStore& store, double today) {
    store.createKey(kSettingsKey);
    if (m.statsStart > std::floor(today) - 5) m.statsStart = Model::statsStartMin;
    for (const SettingDef& d : settingsTable()) {
        if ((d.name == "height" || d.name == "width") && !m.windowNormal) continue;
        store.set(kSettingsKey, d.name, d.save(m));
    }
}

std::optional<std::string> applySettingText(Model& m, const std::string& name, const std::string& value) {
    const SettingDef* d = findSetting(name);
    if (!d) return "Unbekannte Einstellung: " + name;
    RegValue v;
    auto parseInt = [&](int32_t& out) {
        const auto v = parseInt32(value);
        if (v) out = *v;
        return v.has_value();
    };
    switch (d->kind) {
    case SettingKind::Boolean:
    case SettingKind::Integer: {
        int32_t x;
        if (!parseInt(x)) return "Keine ganze Zahl für " + name + ": " + value;
        v = RegValue::ofInt(x);
        break;
    }
    case SettingKind::String:
        v = RegValue::ofString(value);
        break;
    case SettingKind::Date: {
        const auto date = parseDate(value);
        if (!date) return "Kein Datum (TT.MM.JJJJ) für " + name + ": " + value;
        v = RegValue::ofDouble(*date);
        break;
    }
    case SettingKind::Float: {
        // German as everywhere; a plain "0.20" written by hand is taken as the decimal point it means.
        auto x = parseDecimal(value);
        if (!x && value.find(',') == std::string::npos && std::count(value.begin(), value.end(), '.') == 1) {
            std::string s = value;
            std::replace(s.begin(), s.end(), '.', ',');
            x = parseDecimal(s);
        }
        if (!x) return "Keine Zahl für " + name + ": " + value;
        v = RegValue::ofDouble(*x);
        break;
    }
    case SettingKind::FontStyle: {
        int32_t x;
        if (!parseInt(x) || x < 0 || x > 15) return "Ungültiger Schriftstil: " + value;
        v = RegValue::ofBinary({static_cast<uint8_t>(x)});
        break;
    }
    }
    d->restore(m, v);
    if (name == "UpDown1" || name == "UpDown3")
        if (m.num(Num::MaxOverlap).pos < m.num(Num::MinOverlap).pos)
            m.num(Num::MaxOverlap).set(m.num(Num::MinOverlap).pos);
    return std::nullopt;
}

} // namespace zf
