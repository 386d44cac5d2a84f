#pragma once
// Restoring and saving the settings through the store, and the batch program's --set, all by the schema.
#include <optional>
#include <string>
#include <vector>

#include "app/settings/SettingsSchema.h"

namespace zf {

// Restores group A (stopping at the first value of the wrong type), then DateTimePicker3 := now + 1,
// then group B. Returns the name of the value that stopped group A, if one did.
std::optional<std::string> restoreSettings(Model& m, const SettingsStore& store, double now);
// Names of the stored values of groups A and B that have the wrong type, in table order.
std::vector<std::string> wrongTypedSettings(const SettingsStore& store);
// Writes every value of groups A and B; `today` decides the statistics start reset.
void saveSettings(Model& m, SettingsStore& store, double today);
// Sets one persisted value from text as a restore of it would ("UpDown18=6", "DateTimePicker2=01.01.2020").
// Returns a German error text, or nothing when it was applied.
std::optional<std::string> applySettingText(Model& m, const std::string& name, const std::string& value);

} // namespace zf
