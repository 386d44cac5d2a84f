#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <tuple>

#include "app/AppController.h"
#include "app/Model.h"
#include "app/settings/ControlCatalogue.h"
#include "app/settings/SettingsPersistence.h"
#include "app/settings/SettingsSchema.h"
#include "base/Text.h"
#include "core/ports/SettingsStore.h"
#include "support/TestSupport.h"

using namespace zf;
using namespace zf::test;

namespace {

const double kNow = dateValue(2026, 12, 10) + 0.5;

void put(SettingsStore& s, const std::string& name, RegValue v) { s.set(kSettingsKey, name, std::move(v)); }

} // namespace

TEST(Settings, FirstStartShowsTheDesignState) {
    Model m;
    MemorySettingsStore store;
    EXPECT_FALSE(restoreSettings(m, store, kNow));
    EXPECT_TRUE(m.plus5);
    EXPECT_EQ(m.recentDrawsItem, 2);
    EXPECT_EQ(m.weekdayItem, -1);
    EXPECT_EQ(m.country, 1);
    EXPECT_EQ(m.tipTop, 39);
    EXPECT_EQ(m.tipLeft, 47);
    EXPECT_EQ(m.proxyPort, "80");
    EXPECT_EQ(m.feeText, "0,20");
    EXPECT_EQ(m.statsStart, dateValue(1996, 4, 29));
    EXPECT_EQ(m.yearlyDate, kNow + 1);
    EXPECT_EQ(m.height, 573);
    EXPECT_TRUE(m.on(Opt::MaxOverlap));
    EXPECT_TRUE(m.on(Opt::ClearBeforeRun));
    EXPECT_TRUE(m.on(Opt::WinSound));
    EXPECT_FALSE(m.on(Opt::PreferPairs));
    EXPECT_EQ(m.num(Num::KenoType).pos, 10);
    EXPECT_EQ(m.num(Num::CrossSumMax).pos, 1200);
}

TEST(Settings, RestoreAppliesTheCorrections) {
    Model m;
    MemorySettingsStore store;
    put(store, "height", RegValue::ofInt(400));
    put(store, "width", RegValue::ofInt(800));
    put(store, "UpDown1", RegValue::ofInt(4));
    put(store, "UpDown3", RegValue::ofInt(2));
    put(store, "UpDown18", RegValue::ofInt(99)); // clamped into 2..10
    put(store, "UpDown2", RegValue::ofInt(-5));  // clamped into 1..750
    put(store, "Browser", RegValue::ofString("1"));
    put(store, "ProxyHostEdit", RegValue::ofString("proxy.local"));
    put(store, "ProxyPortEdit", RegValue::ofString("3128"));
    put(store, "DateTimePicker2", RegValue::ofBinary({1, 2, 3})); // unreadable
    restoreSettings(m, store, kNow);
    EXPECT_EQ(m.height, 573);
    EXPECT_EQ(m.width, 800);
    EXPECT_EQ(m.num(Num::MaxOverlap).pos, 4);
    EXPECT_EQ(m.num(Num::KenoType).pos, 10);
    EXPECT_EQ(m.num(Num::CrossSumMin).pos, 1);
    EXPECT_TRUE(m.on(Opt::LinkPage));
    EXPECT_EQ(m.proxyPort, "3128");
    EXPECT_EQ(m.statsStart, Model::statsStartMin);
}

TEST(Settings, AValueOfTheWrongTypeEndsGroupA) {
    Model m;
    MemorySettingsStore store;
    put(store, "Chekcbox1", RegValue::ofInt(1));
    put(store, "Land", RegValue::ofString("7")); // wrong type
    put(store, "UpDown18", RegValue::ofInt(6));  // after it: skipped
    put(store, "EINPREIS", RegValue::ofString("1,00"));
    put(store, "ProxyHostEdit", RegValue::ofString("p")); // group B goes on
    put(store, "DateTimePicker2", RegValue::ofDouble(dateValue(2020, 1, 1)));
    const auto stopped = restoreSettings(m, store, kNow);
    ASSERT_TRUE(stopped);
    EXPECT_EQ(*stopped, "Land");
    EXPECT_TRUE(m.on(Opt::PreferPairs));
    EXPECT_TRUE(m.plus5);    // restored (absent -> true) before the stop
    EXPECT_EQ(m.country, 0); // fields stay 0 ...
    EXPECT_EQ(m.tipTop, 0);
    EXPECT_EQ(m.num(Num::KenoType).pos, 10); // ... controls keep their design state
    EXPECT_EQ(m.feeText, "0,20");
    EXPECT_EQ(m.proxyHost, "p");
    EXPECT_EQ(m.statsStart, dateValue(2020, 1, 1));
}

TEST(Settings, CloseResetsARecentStatisticsStartAndSkipsTheSizeWhenMaximised) {
    struct Case {
        double start;
        double stored;
    };
    const double today = dateValue(2026, 12, 10);
    for (const Case& c : {Case{today - 1, Model::statsStartMin}, Case{today - 30, today - 30}}) {
        Model m;
        MemorySettingsStore store;
        put(store, "height", RegValue::ofInt(700));
        m.statsStart = c.start;
        m.height = 900;
        m.windowNormal = false;
        saveSettings(m, store, today + 0.7);
        EXPECT_EQ(store.get(kSettingsKey, "DateTimePicker2"), RegValue::ofDouble(c.stored));
        EXPECT_EQ(store.get(kSettingsKey, "height"), RegValue::ofInt(700));
        EXPECT_FALSE(store.get(kSettingsKey, "width"));
        Model again;
        restoreSettings(again, store, today);
        EXPECT_EQ(again.statsStart, c.stored);
    }
}

TEST(Settings, EveryValueSurvivesARoundTrip) {
    Model m;
    m.newTicket = 3;
    m.on(Opt::PreferPairs) = true;
    m.on(Opt::MaxOverlap) = false;
    m.on(Opt::LinkPage) = true;
    m.plus5 = false;
    m.plus5Ticket[2] = 7;
    m.font = FontState{"DejaVu Serif", 3, 0x0000FF, 12};
    m.country = 2;
    m.height = 650;
    m.width = 700;
    m.stakeItem = 3;
    m.recentDrawsItem = 0;
    m.num(Num::AttemptThousands).set(2500);
    m.playerName = "Anna \"Ä\"";
    m.feeText = "0,35";
    m.price = 12.5;
    m.webAddress = "https://example.org/";
    m.proxyHost = "proxy";
    m.proxyPort = "8080";
    m.statsStart = dateValue(2024, 5, 1);
    TempDir dir;
    FileSettingsStore file(dir.file("cfg/Keno.reg"));
    saveSettings(m, file, dateValue(2026, 1, 1));
    std::string error;
    ASSERT_TRUE(file.flush(&error)) << error;

    FileSettingsStore reread(dir.file("cfg/Keno.reg"));
    ASSERT_TRUE(reread.load());
    EXPECT_TRUE(reread.loadProblems().empty());
    Model r;
    EXPECT_FALSE(restoreSettings(r, reread, dateValue(2026, 1, 1)));
    EXPECT_EQ(r.newTicket, 3);
    EXPECT_TRUE(r.on(Opt::PreferPairs));
    EXPECT_FALSE(r.on(Opt::MaxOverlap));
    EXPECT_TRUE(r.on(Opt::LinkPage));
    EXPECT_FALSE(r.plus5);
    EXPECT_EQ(r.plus5Ticket[2], 7);
    EXPECT_EQ(r.font, m.font);
    EXPECT_EQ(r.stakeSystem, 3);
    EXPECT_EQ(r.recentDrawsItem, 0);
    EXPECT_EQ(r.num(Num::AttemptThousands).pos, 2500);
    EXPECT_EQ(r.playerName, m.playerName);
    EXPECT_EQ(r.price, 12.5);
    EXPECT_EQ(r.webAddress, m.webAddress);
    EXPECT_EQ(r.proxyPort, "8080");
    EXPECT_EQ(r.statsStart, dateValue(2024, 5, 1));
    EXPECT_EQ(r.width, 700);
}

TEST(SettingsFile, ACorruptFileKeepsWhatIsReadableAndIsKeptAside) {
    TempDir dir;
    const std::string path = dir.file("Keno.reg");
    std::string text = "Zahlfuchs Einstellungen 1\n[" + kSettingsKey +
                       "]\n\"UpDown18\"=dword:00000006\n\"Land\"=dword:zz\ngarbage\n\"EINPREIS\"=\"0,3";
    ASSERT_TRUE(writeFileAtomic(path, text));
    FileSettingsStore store(path);
    ASSERT_TRUE(store.load());
    ASSERT_EQ(store.loadProblems().size(), 1u);
    EXPECT_NE(store.loadProblems()[0].find("3 Zeile(n) ab Zeile 4"), std::string::npos);
    EXPECT_EQ(store.get(kSettingsKey, "UpDown18"), RegValue::ofInt(6));
    EXPECT_FALSE(store.get(kSettingsKey, "EINPREIS"));
    std::string error;
    ASSERT_TRUE(store.flush(&error));
    std::string kept;
    ASSERT_TRUE(readFile(path + ".defekt", kept));
    EXPECT_EQ(kept, text);
}

TEST(Settings, ApplyFromTextFollowsTheRestoreRules) {
    Model m;
    EXPECT_FALSE(applySettingText(m, "UpDown18", "6"));
    EXPECT_EQ(m.num(Num::KenoType).pos, 6);
    EXPECT_FALSE(applySettingText(m, "UpDown18", "50"));
    EXPECT_EQ(m.num(Num::KenoType).pos, 10);
    EXPECT_FALSE(applySettingText(m, "Chekcbox9", "0"));
    EXPECT_FALSE(m.on(Opt::NoHistoryMatch));
    EXPECT_FALSE(applySettingText(m, "ComboBox3", "1"));
    EXPECT_EQ(m.recentDrawsItem, 1);
    EXPECT_FALSE(applySettingText(m, "DateTimePicker2", "01.01.2020"));
    EXPECT_EQ(m.statsStart, dateValue(2020, 1, 1));
    EXPECT_FALSE(applySettingText(m, "Preis", "2,5"));
    EXPECT_EQ(m.price, 2.5);
    EXPECT_FALSE(applySettingText(m, "UpDown1", "7"));
    EXPECT_EQ(m.num(Num::MaxOverlap).pos, 7);
    for (auto [name, value] : {std::pair{"UpDown18", "sechs"}, {"Gibtsnicht", "1"}, {"DateTimePicker2", "2020-01-01"}})
        EXPECT_TRUE(applySettingText(m, name, value)) << name;
}

TEST(SettingsFile, AFileThatCouldNotBeFullyUsedIsKeptBeforeTheCloseReplacesIt) {
    const std::string head = "Zahlfuchs Einstellungen 1\n[" + kSettingsKey + "]\n";
    const std::string user = "\"Spielername\"=\"Erika\"\n\"Passwort\"=\"geheim\"\n\"EINPREIS\"=\"1,50\"\n";
    const struct {
        const char* what;
        std::string text;
        bool unreadable;      // no read permission at all
        const char* reported; // part of the start-up report
        bool kept;            // Keno.reg.defekt holds the old file afterwards
    } cases[] = {
        {"a wrong type in group A", head + "\"NeuerSchein\"=\"1\"\n" + user, false,
         "\"NeuerSchein\" hat einen falschen Typ", true},
        {"a wrong type in group B", head + user + "\"ProxyHostEdit\"=dword:00000001\n", false,
         "\"ProxyHostEdit\" hat einen falschen Typ", true},
        {"an unreadable line", head + user + "kaputt\n", false, "1 Zeile(n) ab Zeile 6", true},
        {"no read permission", head + user, true, "kann nicht gelesen werden", true},
        {"a sound file", head + user, false, nullptr, false},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = dir.file("Keno.reg");
        ASSERT_TRUE(writeFileAtomic(path, c.text));
        // What the desktop program does with the file: load, start, close.
        auto startAndClose = [&] {
            FileSettingsStore store(path);
            store.load();
            ScriptedPrompter prompter;
            RecordingShell shell;
            RecordingSound sound;
            FixedClock clock(kNow);
            Session session(prompter, dialogsOf(prompter), shell, sound, clock, store);
            session.app.start(dir.path(), 573);
            const std::string report = session.app.problemReport();
            if (c.reported ? report.find(c.reported) == std::string::npos : !report.empty()) return 10;
            return session.app.close() ? 0 : 11;
        };
        int result = 0;
        if (c.unreadable) {
            openToEveryone(dir.path());
            std::filesystem::permissions(path, std::filesystem::perms::none);
            result = runUnprivileged(startAndClose);
            if (result == kNoUnprivilegedUser) GTEST_SKIP() << "kein Benutzer ohne Root-Rechte verfügbar";
            std::filesystem::permissions(path + ".defekt", std::filesystem::perms::owner_read);
        } else {
            result = startAndClose();
        }
        EXPECT_EQ(result, 0) << c.what;
        std::string kept;
        EXPECT_EQ(readFile(path + ".defekt", kept), c.kept) << c.what;
        if (c.kept) {
            EXPECT_EQ(kept, c.text) << c.what;
        }
        FileSettingsStore after(path); // the new file holds the full set again
        EXPECT_TRUE(after.load()) << c.what;
        EXPECT_TRUE(after.loadProblems().empty()) << c.what;
        EXPECT_TRUE(after.get(kSettingsKey, "UpDown24")) << c.what;
    }
}

TEST(SettingsFile, NoCopyNoReplacement) {
    // When the old file cannot be kept aside, the close leaves it in place and says so.
    TempDir dir;
    const std::string path = dir.file("Keno.reg");
    const std::string text = "Zahlfuchs Einstellungen 1\n[" + kSettingsKey + "]\n\"NeuerSchein\"=\"1\"\n";
    ASSERT_TRUE(writeFileAtomic(path, text));
    std::filesystem::create_directory(path + ".defekt"); // the copy's name is taken by a folder
    std::filesystem::create_directory(path + ".defekt/x");
    FileSettingsStore store(path);
    ASSERT_TRUE(store.load());
    store.keepStoredCopy();
    store.set(kSettingsKey, "NeuerSchein", RegValue::ofInt(1));
    std::string error;
    EXPECT_FALSE(store.flush(&error));
    EXPECT_NE(error.find("nicht gespeichert"), std::string::npos) << error;
    std::string now;
    ASSERT_TRUE(readFile(path, now));
    EXPECT_EQ(now, text);
}

namespace {

// What a value of the table gives when it is absent: a value as the close would write it back, the
// design state of its control, or a value that is ours to choose.
struct Absent {
    enum {
        Value,
        Design,
        Open
    } what = Design;
    RegValue value{};
};
const Absent kDesign{Absent::Design};
const Absent kOpen{Absent::Open};
Absent absentAs(RegValue v) { return Absent{Absent::Value, std::move(v)}; }

// A stored value as text, so a difference reads plainly.
std::string shown(const RegValue& v) {
    switch (v.type) {
    case RegType::Dword:
        return "dword:" + std::to_string(static_cast<int32_t>(v.dword));
    case RegType::String:
        return "\"" + v.str + "\"";
    case RegType::Binary:
        break;
    }
    std::string bytes = "bytes:";
    for (uint8_t b : v.bin) bytes += " " + std::to_string(b);
    return bytes;
}

struct SettingRow {
    std::string name;
    SettingKind kind;
    std::string control;
    Absent absent;
};

std::vector<SettingRow> schemaRows(char group) {
    std::vector<SettingRow> rows;
    for (const SettingDef& d : settingsTable())
        if (d.group == group) rows.push_back({d.name, d.kind, d.control, {}});
    return rows;
}

// Every row: the schema holds it with its kind and control, and a start without it shows the value of
// the table's last column.
void expectRows(const std::vector<SettingRow>& expected, char group) {
    auto names = [](const std::vector<SettingRow>& rows) {
        std::vector<std::string> out;
        for (const SettingRow& r : rows)
            out.push_back(r.name + " " + std::to_string(static_cast<int>(r.kind)) + " " + r.control);
        return out;
    };
    std::vector<SettingRow> held = schemaRows(group);
    if (group == 'B' && held.size() > expected.size()) held.resize(expected.size()); // then the configuration
    EXPECT_EQ(names(held), names(expected));

    Model first;
    restoreSettings(first, MemorySettingsStore(), kNow);
    const Model design;
    for (const SettingRow& r : expected) {
        const SettingDef* d = findSetting(r.name);
        ASSERT_TRUE(d) << r.name;
        if (r.absent.what == Absent::Open) continue;
        EXPECT_EQ(shown(d->save(first)), shown(r.absent.what == Absent::Value ? r.absent.value : d->save(design)))
            << r.name;
    }
}

} // namespace

TEST(SettingsSchema, GroupAInOrderAsSpecified) {
    using K = SettingKind;
    std::vector<SettingRow> rows = {{"NeuerSchein", K::Integer, "Neuerschein", absentAs(RegValue::ofInt(0))}};
    for (int n = 1; n <= 36; ++n)
        if (n != 21 && n != 33 && n != 34)
            rows.push_back({"Chekcbox" + std::to_string(n), K::Boolean, "CheckBox" + std::to_string(n), kDesign});
    rows.push_back({"Plus5", K::Boolean, "Plus5", absentAs(RegValue::ofInt(1))});
    for (int i = 1; i <= 5; ++i)
        rows.push_back({"Plus5Los" + std::to_string(i), K::Integer, "TForm5.UpDown" + std::to_string(i + 2),
                        absentAs(RegValue::ofInt(0))});
    const std::vector<SettingRow> fontAndWindow = {
        {"SystemFontName", K::String, "Font.Name", kDesign},
        {"SystemFontStyle", K::FontStyle, "Font.Style", kDesign},
        {"SystemFontColor", K::Integer, "Font.Color", kDesign},
        {"SystemFontSize", K::Integer, "Font.Size", kDesign},
        {"Land", K::Integer, "Land", absentAs(RegValue::ofInt(1))},
        {"height", K::Integer, "Height", kDesign},
        {"width", K::Integer, "Width", kDesign},
        {"TippTop", K::Integer, "TippTop", absentAs(RegValue::ofInt(39))},
        {"TippLeft", K::Integer, "TippLeft", absentAs(RegValue::ofInt(47))},
        {"System", K::Integer, "System", absentAs(RegValue::ofInt(0))},
        {"ComboBox2", K::Integer, "ComboBox2", absentAs(RegValue::ofInt(-1))}, // no item
        {"ComboBox3", K::Integer, "ComboBox3", absentAs(RegValue::ofInt(2))},
    };
    rows.insert(rows.end(), fontAndWindow.begin(), fontAndWindow.end());
    for (int n = 1; n <= 24; ++n)
        rows.push_back({"UpDown" + std::to_string(n), K::Integer, "UpDown" + std::to_string(n), kDesign});
    const std::vector<SettingRow> last = {
        {"Spielername", K::String, "Edit2", absentAs(RegValue::ofString(""))},
        {"Passwort", K::String, "MaskEdit1", absentAs(RegValue::ofString(""))},
        {"EINPREIS", K::String, "Edit3", absentAs(RegValue::ofString("0,20"))},
        {"Preis", K::Float, "Preis", absentAs(RegValue::ofDouble(0))},
    };
    rows.insert(rows.end(), last.begin(), last.end());
    expectRows(rows, 'A');

    // The font values are read only when "SystemFontName" is stored; a height below 573 becomes 573, a
    // width below 597 becomes 597.
    MemorySettingsStore store;
    put(store, "SystemFontSize", RegValue::ofInt(20));
    put(store, "height", RegValue::ofInt(572));
    put(store, "width", RegValue::ofInt(596));
    Model m;
    restoreSettings(m, store, kNow);
    EXPECT_EQ(m.font, Model().font);
    EXPECT_EQ(m.height, 573);
    EXPECT_EQ(m.width, 597);
    put(store, "SystemFontName", RegValue::ofString("DejaVu Serif"));
    restoreSettings(m, store, kNow);
    EXPECT_EQ(m.font.size, 20);
}

TEST(SettingsSchema, GroupBAsSpecified) {
    using K = SettingKind;
    const std::vector<SettingRow> rows = {
        {"Browser", K::Boolean, "CheckBox21", absentAs(RegValue::ofInt(0))},
        {"URLEdit", K::String, "URLEdit", kOpen}, // the official portal's home page, whichever we name
        {"ProxyHostEdit", K::String, "ProxyHostEdit", absentAs(RegValue::ofString(""))},
        {"ProxyPortEdit", K::String, "ProxyPortEdit", absentAs(RegValue::ofString("80"))},
        {"DateTimePicker2", K::Date, "DateTimePicker2", absentAs(RegValue::ofDouble(dateValue(1996, 4, 29)))},
    };
    expectRows(rows, 'B');
    Model m;
    restoreSettings(m, MemorySettingsStore(), kNow);
    EXPECT_FALSE(m.webAddress.empty());

    // "Browser" stored as a string is ticked when the string is not empty.
    for (auto [text, ticked] : {std::pair{"", false}, {"x", true}}) {
        MemorySettingsStore store;
        put(store, "Browser", RegValue::ofString(text));
        restoreSettings(m, store, kNow);
        EXPECT_EQ(m.on(Opt::LinkPage), ticked) << '"' << text << '"';
    }
}

TEST(UpDowns, EveryRangeAndDesignPosition) {
    // number, minimum, maximum, design position, whether it sits beside the tip list (the others are
    // generator options)
    const struct {
        int n, min, max, design;
        bool tipPanel;
    } rows[] = {
        {1, 0, 9, 0, false},    {2, 1, 750, 100, false}, {3, 0, 9, 5, false},          {4, 0, 10, 3, false},
        {5, 0, 10, 3, false},   {6, 1, 10, 10, false},   {7, 1, 10000, 100, false},    {8, 1, 5, 5, true},
        {9, 1, 120, 5, true},   {10, 0, 6, 2, false},    {11, 0, 10, 3, false},        {12, 5, 75, 30, false},
        {13, 5, 75, 30, false}, {14, 5, 75, 30, false},  {15, 750, 1400, 1200, false}, {16, 0, 6, 2, false},
        {17, 0, 6, 2, false},   {18, 2, 10, 10, true},   {19, 1, 10, 6, false},        {20, 1, 356, 21, false},
        {21, 0, 10, 0, false},  {22, 0, 10, 0, false},   {23, 0, 10, 0, false},        {24, 0, 9, 5, false},
    };
    const Model m; // a first start shows the design state
    for (const auto& r : rows) {
        const UpDownDef& d = upDownDef(r.n);
        EXPECT_EQ(d.number, r.n);
        EXPECT_EQ(d.page == OptionPage::KenoTipp, r.tipPanel) << "UpDown" << r.n;
        const UpDownState& s = m.upDowns[static_cast<size_t>(r.n)];
        EXPECT_EQ((std::tuple{s.min, s.max, s.pos}), (std::tuple{r.min, r.max, r.design})) << "UpDown" << r.n;
    }
}
