#pragma once
// The persisted settings as one table: value name, control or field, kind, design default and the
// model field it restores and saves.
#include <functional>
#include <string>
#include <vector>

#include "core/ports/SettingsStore.h"

namespace zf {

class Model;

inline const std::string kSettingsKey = "HKEY_CURRENT_USER\\SOFTWARE\\Orvane\\Keno";

enum class SettingKind {
    Boolean,
    Integer,
    String,
    Float,
    Date,
    FontStyle
};

struct SettingDef {
    std::string name;    // value name in the store
    std::string control; // control or field it belongs to
    SettingKind kind;
    char group; // 'A' restored in one pass, 'B' each by itself
    std::function<RegValue(const Model&)> save;
    std::function<void(Model&, const RegValue&)> restore; // value already of the right type
    std::function<void(Model&)> absent;                   // what a missing value gives
};

const std::vector<SettingDef>& settingsTable();
const SettingDef* findSetting(const std::string& name);

// Whether a stored value has the type and size the setting's kind needs.
bool rightType(SettingKind k, const RegValue& v);

} // namespace zf
