#include "app/settings/SettingsSchema.h"

#include <cmath>
#include <cstring>

#include "app/Model.h"
#include "app/settings/ControlCatalogue.h"
#include "base/GermanFormat.h"

namespace zf {
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
    // The window "Vergleich mit dem Zufall" after each backtest (Analyse-Zufall.txt is written anyway).
    add(
        "ChanceComparison", "ChanceComparisonBox", SettingKind::Boolean, 'B',
        [](const Model& m) { return ofBool(m.showChanceComparison); },
        [](Model& m, const RegValue& v) { m.showChanceComparison = v.dword != 0; },
        [](Model& m) { m.showChanceComparison = true; });
    return t;
}

} // namespace

bool rightType(SettingKind k, const RegValue& v) {
    if (v.type != typeOf(k)) return false;
    if (k == SettingKind::Float || k == SettingKind::Date) return v.bin.size() == 8;
    if (k == SettingKind::FontStyle) return v.bin.size() == 1;
    return true;
}

const std::vector<SettingDef>& settingsTable() {
    static const std::vector<SettingDef> table = buildTable();
    return table;
}

const SettingDef* findSetting(const std::string& name) {
    for (const SettingDef& d : settingsTable())
        if (d.name == name) return &d;
    return nullptr;
}

} // namespace zf
