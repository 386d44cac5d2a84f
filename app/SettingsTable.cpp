#include "app/SettingsTable.h"
#include "base/Parse.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/Model.h"
#include "base/GermanFormat.h"
#include "base/GermanNumber.h"

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

std::string OptionDef::caption() const {
    std::string s;
    for (const OptionPiece& p : pieces) {
        if (p.kind != OptionPiece::Kind::Text) continue;
        if (!s.empty()) s += ' ';
        s += p.text;
    }
    return s;
}

const std::vector<OptionDef>& optionTable() {
    using P = OptionPage;
    using K = OptionPiece::Kind;
    auto text = [](std::string t) { return OptionPiece{K::Text, std::move(t), 0}; };
    auto num = [](int n) { return OptionPiece{K::UpDown, {}, n}; };
    static const std::vector<OptionDef> table = {
        // main page, beside the tip list
        {P::KenoTipp, 0, "Label20", {text("Zahlen pro Tipp"), num(18)}, ""},
        {P::KenoTipp, 0, "Label22", {text("Gesamt-Tipps"), num(9)}, "Wieviele Tipps wollen Sie berechnen?"},
        {P::KenoTipp,
         28,
         "",
         {text("Löschen vor Berechnung")},
         "Wollen Sie weitere Tipps mit veränderten Optionen berechnen, löschen Sie die Markierung"},
        {P::KenoTipp, 0, "Label21", {text("Tipps pro Schein"), num(8)}, ""},

        // Statistisch
        {P::Statistisch,
         2,
         "",
         {text("Zahlen die besonders oft gezogen wurden bevorzugen"), num(12)},
         "Bevorzugt die häufig gezogenen Zahlen; die Zahl ist die Breite des bevorzugten Bereichs in Prozent"},
        {P::Statistisch,
         14,
         "",
         {text("Zahlen die besonders selten gezogen wurden bevorzugen"), num(14)},
         "Bevorzugt die selten gezogenen Zahlen; die Zahl ist die Breite des bevorzugten Bereichs in Prozent"},
        {P::Statistisch,
         10,
         "",
         {text("Zahlen die am längsten überfällig sind"), num(13)},
         "Bevorzugt die am längsten nicht gezogenen Zahlen; die Zahl ist die Breite des bevorzugten Bereichs in "
         "Prozent"},
        {P::Statistisch,
         9,
         "",
         {text("Tipp darf noch keinen"), num(6), text("er aus der Datenbank entsprechen")},
         "Verwirft einen Tipp, von dem eine Ziehung des Statistikzeitraums so viele Zahlen oder mehr hat"},
        {P::Statistisch,
         17,
         "",
         {text("Tipp darf keinen"), num(19), text("er  in den letzten"), num(20), text("Ziehungen entsprechen")},
         "Verwirft einen Tipp, von dem eine der letzten Ziehungen so viele Zahlen oder mehr hat"},
        {P::Statistisch,
         4,
         "",
         {text("maximal"), num(4), text("und minimal"), num(21), text("Zahl der letzten Ziehung zulassen")},
         "Treffer des Tipps mit der letzten Ziehung; ein Höchstwert 0 nimmt ihre Zahlen aus dem Pool"},
        {P::Statistisch,
         5,
         "",
         {text("maximal"), num(5), text("und minimal"), num(22), text("Zahl der vorletzten Ziehung zulassen")},
         "Treffer des Tipps mit der vorletzten Ziehung; ein Höchstwert 0 nimmt ihre Zahlen aus dem Pool"},
        {P::Statistisch,
         23,
         "",
         {text("maximal"), num(11), text("und minimal"), num(23), text("Zahl der vorvorletzten Ziehung zulassen")},
         "Treffer des Tipps mit der vorvorletzten Ziehung; ein Höchstwert 0 nimmt ihre Zahlen aus dem Pool"},
        {P::Statistisch, 0, "Label62", {text("Spezial-Einstellung:")}, "", 0, true},
        {P::Statistisch,
         31,
         "",
         {text("Zahlen der letzte"), OptionPiece{K::ComboBox3, {}, 0}, text("Ziehungen verwenden")},
         "Die Zahlen der letzten 1, 2 oder 3 Ziehungen kommen in den Pool"},
        {P::Statistisch,
         30,
         "",
         {text("Zahlen der Ziehungen eines Datums in allen Jahren"), OptionPiece{K::DateTimePicker3, {}, 0}},
         "Die Zahlen der Ziehungen an diesem Tag und Monat in jedem Jahr des Statistikzeitraums kommen in den "
         "Pool; das Jahr des Datums ist das letzte"},
        {P::Statistisch,
         29,
         "",
         {text("pro Tipp nur eine Zahl pro Zehner (ist 7 Zahlen)")},
         "Keine zwei Zahlen eines Tipps im selben Zehner"},

        // Schein Optimierung
        {P::ScheinOptimierung,
         3,
         "",
         {text("maximal"), num(3), text("Übereinstimmungen mit anderen Tipps")},
         "Kein anderer Tipp der Liste darf mehr Zahlen mit dem neuen Tipp gemeinsam haben"},
        {P::ScheinOptimierung,
         24,
         "",
         {text("minimal"), num(1), text("Übereinstimmungen mit anderen Tipps")},
         "Jeder andere Tipp der Liste muss mindestens so viele Zahlen mit dem neuen Tipp gemeinsam haben"},
        {P::ScheinOptimierung,
         32,
         "",
         {text("maximal"), num(24), text("Vorkommen einer Zahl in allen Tipps")},
         "Keine Zahl darf in mehr Tipps der Liste vorkommen"},
        {P::ScheinOptimierung,
         8,
         "",
         {text("eine Paarbildung pro Tipp erzwingen")},
         "Jeder Tipp enthält zwei aufeinander folgende Zahlen"},
        {P::ScheinOptimierung,
         18,
         "",
         {text("keine Dreie, Vierer... Paare")},
         "Kein Tipp enthält drei aufeinander folgende Zahlen"},
        {P::ScheinOptimierung, 1, "", {text("Zahlen mit einer häufigen Paarebildung bevorzugen")}, ""},
        {P::ScheinOptimierung, 11, "", {text("seltensten")}, "Statt der häufigsten die seltensten Paare bevorzugen", 1},
        {P::ScheinOptimierung, 6, "", {text("Zahlen mit einer häufigen Dreiergruppenbildung bevorzugen")}, ""},
        {P::ScheinOptimierung,
         12,
         "",
         {text("seltensten")},
         "Statt der häufigsten die seltensten Dreier bevorzugen",
         6},
        {P::ScheinOptimierung, 7, "", {text("Zahlen mit einer häufigen Viergruppenbildung bevorzugen")}, ""},
        {P::ScheinOptimierung,
         13,
         "",
         {text("seltensten")},
         "Statt der häufigsten die seltensten Vierer bevorzugen",
         7},

        // Mathematisch
        {P::Mathematisch,
         0,
         "Label42",
         {text("Quersummer von"), num(2), text("bis"), num(15), text("im Tipp zulassen")},
         "Quersumme des Tipps, hochgerechnet auf 20 Zahlen"},
        {P::Mathematisch,
         22,
         "",
         {text("mindestens"), num(10), text("Primzahlen in jedem Tipp")},
         "Die 1 zählt als Primzahl"},
        {P::Mathematisch, 25, "", {text("mindestens"), num(16), text("gerade Zahlen in jedem Tipp")}, ""},
        {P::Mathematisch, 26, "", {text("mindestens"), num(17), text("ungerade Zahlen in jedem Tipp")}, ""},

        // Allgemein (above them the main window keeps "Gewinn Sound spielen")
        {P::Allgemein,
         20,
         "",
         {text("Liste bearbeiten")},
         "Vor der Berechnung wird der Zahlenpool zum Bearbeiten gezeigt"},
        {P::Allgemein, 19, "", {text("benachbarte Zahlen der letzten Ziehung bevorzugen")}, ""},
        {P::Allgemein,
         15,
         "",
         {text("für den Tipp nur bevorzugte Zahlen verwenden!")},
         "Ohne Markierung steht jede Zahl 1 bis 70 zusätzlich einmal im Pool"},
        {P::Allgemein,
         0,
         "",
         {text("Max.Berechnungsläufe"), num(7), text("Tausend")},
         "So viele tausend Versuche darf die Berechnung für einen Tipp machen"},
    };
    return table;
}

namespace {

RegValue ofBool(bool b) { return RegValue::ofInt(b ? 1 : 0); }
int32_t asInt(const RegValue& v) { return static_cast<int32_t>(v.dword); }
double asDouble(const RegValue& v) {
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(v.bin[static_cast<size_t>(i)]) << (8 * i);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

RegType typeOf(SettingKind k) {
    switch (k) {
    case SettingKind::Boolean:
    case SettingKind::Integer:
        return RegType::Dword;
    case SettingKind::String:
        return RegType::String;
    default:
        return RegType::Binary;
    }
}

bool rightType(SettingKind k, const RegValue& v) {
    if (v.type != typeOf(k)) return false;
    if (k == SettingKind::Float || k == SettingKind::Date) return v.bin.size() == 8;
    if (k == SettingKind::FontStyle) return v.bin.size() == 1;
    return true;
}

std::vector<SettingDef> buildTable() {
    std::vector<SettingDef> t;
    auto add = [&](std::string name, std::string control, SettingKind kind, char group,
                   std::function<RegValue(const Model&)> save, std::function<void(Model&, const RegValue&)> restore,
                   std::function<void(Model&)> absent) {
        t.push_back(
            {std::move(name), std::move(control), kind, group, std::move(save), std::move(restore), std::move(absent)});
    };
    auto none = [](Model&) {};

    // ---- group A, in restore order ----
    add(
        "NeuerSchein", "Neuerschein", SettingKind::Integer, 'A',
        [](const Model& m) { return RegValue::ofInt(m.newTicket); },
        [](Model& m, const RegValue& v) { m.newTicket = asInt(v); }, [](Model& m) { m.newTicket = 0; });
    for (const CheckBoxDef& c : checkBoxTable()) {
        if (!c.persisted) continue;
        const int n = c.number;
        add(
            "Chekcbox" + std::to_string(n), "CheckBox" + std::to_string(n), SettingKind::Boolean, 'A',
            [n](const Model& m) { return ofBool(m.checkBoxes[static_cast<size_t>(n)]); },
            [n](Model& m, const RegValue& v) { m.checkBoxes[static_cast<size_t>(n)] = v.dword != 0; }, none);
    }
    add(
        "Plus5", "Plus5", SettingKind::Boolean, 'A', [](const Model& m) { return ofBool(m.plus5); },
        [](Model& m, const RegValue& v) { m.plus5 = v.dword != 0; }, [](Model& m) { m.plus5 = true; });
    for (int i = 1; i <= 5; ++i) {
        add(
            "Plus5Los" + std::to_string(i), "TForm5.UpDown" + std::to_string(i + 2), SettingKind::Integer, 'A',
            [i](const Model& m) { return RegValue::ofInt(m.plus5Ticket[static_cast<size_t>(i)]); },
            [i](Model& m, const RegValue& v) {
                const int p = asInt(v);
                m.plus5Ticket[static_cast<size_t>(i)] = p < 0 ? 0 : (p > 9 ? 9 : p);
            },
            [i](Model& m) { m.plus5Ticket[static_cast<size_t>(i)] = 0; });
    }
    add(
        "SystemFontName", "Font.Name", SettingKind::String, 'A',
        [](const Model& m) { return RegValue::ofString(m.font.name); },
        [](Model& m, const RegValue& v) {
            if (!v.str.empty()) m.font.name = v.str;
        },
        none);
    add(
        "SystemFontStyle", "Font.Style", SettingKind::FontStyle, 'A',
        [](const Model& m) { return RegValue::ofBinary({m.font.style}); },
        [](Model& m, const RegValue& v) { m.font.style = v.bin[0] & 0x0F; }, none);
    add(
        "SystemFontColor", "Font.Color", SettingKind::Integer, 'A',
        [](const Model& m) { return RegValue::ofInt(m.font.color); },
        [](Model& m, const RegValue& v) { m.font.color = asInt(v); }, none);
    add(
        "SystemFontSize", "Font.Size", SettingKind::Integer, 'A',
        [](const Model& m) { return RegValue::ofInt(m.font.size); },
        [](Model& m, const RegValue& v) {
            const int s = asInt(v);
            if (s >= 4 && s <= 72) m.font.size = s; // a size no one can read is left at the design size
        },
        none);
    add(
        "Land", "Land", SettingKind::Integer, 'A', [](const Model& m) { return RegValue::ofInt(m.country); },
        [](Model& m, const RegValue& v) { m.country = asInt(v); }, [](Model& m) { m.country = 1; });
    add(
        "height", "Height", SettingKind::Integer, 'A', [](const Model& m) { return RegValue::ofInt(m.height); },
        [](Model& m, const RegValue& v) { m.height = asInt(v) < 573 ? 573 : std::min(asInt(v), 20000); }, none);
    add(
        "width", "Width", SettingKind::Integer, 'A', [](const Model& m) { return RegValue::ofInt(m.width); },
        [](Model& m, const RegValue& v) { m.width = asInt(v) < 597 ? 597 : std::min(asInt(v), 20000); }, none);
    add(
        "TippTop", "TippTop", SettingKind::Integer, 'A', [](const Model& m) { return RegValue::ofInt(m.tipTop); },
        [](Model& m, const RegValue& v) { m.tipTop = asInt(v); }, [](Model& m) { m.tipTop = 39; });
    add(
        "TippLeft", "TippLeft", SettingKind::Integer, 'A', [](const Model& m) { return RegValue::ofInt(m.tipLeft); },
        [](Model& m, const RegValue& v) { m.tipLeft = asInt(v); }, [](Model& m) { m.tipLeft = 47; });
    add(
        "System", "System", SettingKind::Integer, 'A', [](const Model& m) { return RegValue::ofInt(m.stakeItem); },
        [](Model& m, const RegValue& v) { m.stakeSystem = asInt(v); }, [](Model& m) { m.stakeSystem = 0; });
    add(
        "ComboBox2", "ComboBox2", SettingKind::Integer, 'A',
        [](const Model& m) { return RegValue::ofInt(m.weekdayItem); },
        [](Model& m, const RegValue& v) { m.weekdayItem = asInt(v) >= -1 && asInt(v) <= 7 ? asInt(v) : -1; },
        [](Model& m) { m.weekdayItem = -1; });
    add(
        "ComboBox3", "ComboBox3", SettingKind::Integer, 'A',
        [](const Model& m) { return RegValue::ofInt(m.recentDrawsItem); },
        [](Model& m, const RegValue& v) { m.recentDrawsItem = asInt(v) >= -1 && asInt(v) <= 2 ? asInt(v) : -1; },
        [](Model& m) { m.recentDrawsItem = 2; });
    for (const UpDownDef& u : upDownTable()) {
        const size_t n = static_cast<size_t>(u.number);
        add(
            "UpDown" + std::to_string(n), "UpDown" + std::to_string(n), SettingKind::Integer, 'A',
            [n](const Model& m) { return RegValue::ofInt(m.upDowns[n].pos); },
            [n](Model& m, const RegValue& v) {
                m.upDowns[n].set(asInt(v));
                if (n == 9) m.totalTipsText = std::to_string(m.num(Num::TotalTips).pos); // the edit shows its up-down
            },
            none);
    }
    add(
        "Spielername", "Edit2", SettingKind::String, 'A',
        [](const Model& m) { return RegValue::ofString(m.playerName); },
        [](Model& m, const RegValue& v) { m.playerName = v.str; }, [](Model& m) { m.playerName.clear(); });
    add(
        "Passwort", "MaskEdit1", SettingKind::String, 'A',
        [](const Model& m) { return RegValue::ofString(m.password); },
        [](Model& m, const RegValue& v) { m.password = v.str; }, [](Model& m) { m.password.clear(); });
    add(
        "EINPREIS", "Edit3", SettingKind::String, 'A', [](const Model& m) { return RegValue::ofString(m.feeText); },
        [](Model& m, const RegValue& v) { m.feeText = v.str; }, [](Model& m) { m.feeText = "0,20"; });
    add(
        "Preis", "Preis", SettingKind::Float, 'A', [](const Model& m) { return RegValue::ofDouble(m.price); },
        [](Model& m, const RegValue& v) {
            const double d = asDouble(v);
            m.price = std::isfinite(d) ? d : 0;
        },
        [](Model& m) { m.price = 0; });

    // ---- group B, each by itself ----
    add(
        "Browser", "CheckBox21", SettingKind::Boolean, 'B', [](const Model& m) { return ofBool(m.on(Opt::LinkPage)); },
        [](Model& m, const RegValue& v) { m.on(Opt::LinkPage) = v.dword != 0; },
        [](Model& m) { m.on(Opt::LinkPage) = false; });
    add(
        "URLEdit", "URLEdit", SettingKind::String, 'B', [](const Model& m) { return RegValue::ofString(m.webAddress); },
        [](Model& m, const RegValue& v) { m.webAddress = v.str; },
        [](Model& m) { m.webAddress = "https://www.lotto.de/keno"; });
    add(
        "ProxyHostEdit", "ProxyHostEdit", SettingKind::String, 'B',
        [](const Model& m) { return RegValue::ofString(m.proxyHost); },
        [](Model& m, const RegValue& v) { m.proxyHost = v.str; }, [](Model& m) { m.proxyHost.clear(); });
    add(
        "ProxyPortEdit", "ProxyPortEdit", SettingKind::String, 'B',
        [](const Model& m) { return RegValue::ofString(m.proxyPort); },
        [](Model& m, const RegValue& v) { m.proxyPort = v.str; }, [](Model& m) { m.proxyPort = "80"; });
    add(
        "DateTimePicker2", "DateTimePicker2", SettingKind::Date, 'B',
        [](const Model& m) { return RegValue::ofDouble(m.statsStart); },
        [](Model& m, const RegValue& v) {
            const double d = asDouble(v);
            if (!std::isfinite(d) || d > 2958465 || !m.setStatsStart(std::floor(d)))
                m.statsStart = Model::statsStartMin;
        },
        [](Model& m) { m.statsStart = Model::statsStartMin; });
    add(
        "DownloadServer", "DownloadServer", SettingKind::String, 'B',
        [](const Model& m) { return RegValue::ofString(m.downloadServer); },
        [](Model& m, const RegValue& v) { m.downloadServer = v.str; },
        [](Model& m) { m.downloadServer = Model::kDefaultDownloadServer; });
    // The addresses of the links; empty means the help page that comes with the program.
    const struct {
        const char* name;
        std::string Model::*field;
        const char* design;
    } links[] = {{"LinkProdukt", &Model::productLink, ""},
                 {"LinkNeuigkeiten", &Model::newsLink, ""},
                 {"LinkProgramme", &Model::programsLink, ""},
                 {"LinkHilfe", &Model::helpLink, ""},
                 {"LinkKeno", &Model::kenoLink, Model::kDefaultKenoLink}};
    for (const auto& l : links)
        add(
            l.name, l.name, SettingKind::String, 'B',
            [field = l.field](const Model& m) { return RegValue::ofString(m.*field); },
            [field = l.field](Model& m, const RegValue& v) { m.*field = v.str; },
            [field = l.field, design = l.design](Model& m) { m.*field = design; });
    // The addresses and partner numbers of the hand-over: configuration, not part of the program.
    auto text = [&](const char* name, std::string Model::*field, const char* design) {
        add(
            name, name, SettingKind::String, 'B', [field](const Model& m) { return RegValue::ofString(m.*field); },
            [field](Model& m, const RegValue& v) { m.*field = v.str; },
            [field, design](Model& m) { m.*field = design; });
    };
    auto cart = [&](const char* name, std::string CartEndpoints::*field, const char* design) {
        add(
            name, name, SettingKind::String, 'B', [field](const Model& m) { return RegValue::ofString(m.cart.*field); },
            [field](Model& m, const RegValue& v) { m.cart.*field = v.str; },
            [field, design](Model& m) { m.cart.*field = design; });
    };
    cart("CartTemplateServer", &CartEndpoints::templateServer, Model::kDefaultCartTemplateServer);
    cart("CartServer", &CartEndpoints::cartServer, Model::kDefaultCartServer);
    cart("PartnerRedirectServer", &CartEndpoints::redirectServer, Model::kDefaultRedirectServer);
    cart("PartnerCode", &CartEndpoints::partnerCode, Model::kDefaultPartnerCode);
    cart("PartnerNumber", &CartEndpoints::partnerNumber, Model::kDefaultPartnerNumber);
    cart("SiteNumber", &CartEndpoints::siteNumber, Model::kDefaultSiteNumber);
    text("ScriptServer", &Model::scriptServer, Model::kDefaultScriptServer);
    text("KlickerDownloadServer", &Model::klickerDownload, Model::kDefaultKlickerDownload);
    return t;
}

} // namespace

const std::vector<SettingDef>& settingsTable() {
    static const std::vector<SettingDef> table = buildTable();
    return table;
}

const SettingDef* findSetting(const std::string& name) {
    for (const SettingDef& d : settingsTable())
        if (d.name == name) return &d;
    return nullptr;
}

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
