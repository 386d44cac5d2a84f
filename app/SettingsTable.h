#pragma once
// The persisted settings as one table: value name, control or field, kind, design default and the
// model field it restores and saves. Restoring, saving and the batch program's --set all read it.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/SettingsStore.h"

namespace zf {

class Model;

inline const std::string kSettingsKey = "HKEY_CURRENT_USER\\SOFTWARE\\Orvane\\Keno";

struct CheckBoxDef {
    int number;
    bool designTicked;
    bool persisted; // as "Chekcbox<N>" in group A
};

struct UpDownDef {
    int number;
    int min, max, design;
};

const std::vector<CheckBoxDef>& checkBoxTable();
const std::vector<UpDownDef>& upDownTable();

enum class SettingKind { Boolean, Integer, String, Float, Date, FontStyle };

struct SettingDef {
    std::string name;     // value name in the store
    std::string control;  // control or field it belongs to
    SettingKind kind;
    char group;           // 'A' restored in one pass, 'B' each by itself
    std::function<RegValue(const Model&)> save;
    std::function<void(Model&, const RegValue&)> restore; // value already of the right type
    std::function<void(Model&)> absent;                   // what a missing value gives
};

const std::vector<SettingDef>& settingsTable();
const SettingDef* findSetting(const std::string& name);

// Restores group A (stopping at the first value of the wrong type), then DateTimePicker3 := now + 1,
// then group B. Returns the name of the value that stopped group A, if one did.
std::optional<std::string> restoreSettings(Model& m, const SettingsStore& store, double now);
// Writes every value of groups A and B; `today` decides the statistics start reset.
void saveSettings(Model& m, SettingsStore& store, double today);
// Sets one persisted value from text as a restore of it would ("UpDown18=6", "DateTimePicker2=01.01.2020").
// Returns a German error text, or nothing when it was applied.
std::optional<std::string> applySettingText(Model& m, const std::string& name, const std::string& value);

} // namespace zf
