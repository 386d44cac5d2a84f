#pragma once
// The persisted settings as one table: value name, control or field, kind, design default and the
// model field it restores and saves. Restoring, saving and the batch program's --set all read it.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/ports/SettingsStore.h"

namespace zf {

class Model;

inline const std::string kSettingsKey = "HKEY_CURRENT_USER\\SOFTWARE\\Orvane\\Keno";

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

// One generator option as its page shows it: a sentence of words with the number fields standing in
// it, usually behind a switch. Ranges and design values come from the up-down and check box tables.
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
