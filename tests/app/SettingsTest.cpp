#include <gtest/gtest.h>

#include "app/AppController.h"
#include "app/Model.h"
#include "app/SettingsTable.h"
#include "app/Text.h"
#include "platform/SettingsStore.h"
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
    EXPECT_TRUE(m.Plus5);
    EXPECT_EQ(m.ComboBox3, 2);
    EXPECT_EQ(m.ComboBox2, -1);
    EXPECT_EQ(m.Land, 1);
    EXPECT_EQ(m.TippTop, 39);
    EXPECT_EQ(m.TippLeft, 47);
    EXPECT_EQ(m.ProxyPortEdit, "80");
    EXPECT_EQ(m.Edit3, "0,20");
    EXPECT_EQ(m.DateTimePicker2, dateValue(1996, 4, 29));
    EXPECT_EQ(m.DateTimePicker3, kNow + 1);
    EXPECT_EQ(m.height, 573);
    EXPECT_TRUE(m.CheckBox[3]);
    EXPECT_TRUE(m.CheckBox[28]);
    EXPECT_TRUE(m.CheckBox[36]);
    EXPECT_FALSE(m.CheckBox[1]);
    EXPECT_EQ(m.UpDown[18].pos, 10);
    EXPECT_EQ(m.UpDown[15].pos, 1200);
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
    EXPECT_EQ(m.UpDown[3].pos, 4);
    EXPECT_EQ(m.UpDown[18].pos, 10);
    EXPECT_EQ(m.UpDown[2].pos, 1);
    EXPECT_TRUE(m.CheckBox[21]);
    EXPECT_EQ(m.ProxyPortEdit, "3128");
    EXPECT_EQ(m.DateTimePicker2, Model::DateTimePicker2Min);
}

TEST(Settings, AValueOfTheWrongTypeEndsGroupA) {
    Model m;
    MemorySettingsStore store;
    put(store, "Chekcbox1", RegValue::ofInt(1));
    put(store, "Land", RegValue::ofString("7"));     // wrong type
    put(store, "UpDown18", RegValue::ofInt(6));      // after it: skipped
    put(store, "EINPREIS", RegValue::ofString("1,00"));
    put(store, "ProxyHostEdit", RegValue::ofString("p")); // group B goes on
    put(store, "DateTimePicker2", RegValue::ofDouble(dateValue(2020, 1, 1)));
    const auto stopped = restoreSettings(m, store, kNow);
    ASSERT_TRUE(stopped);
    EXPECT_EQ(*stopped, "Land");
    EXPECT_TRUE(m.CheckBox[1]);
    EXPECT_TRUE(m.Plus5);          // restored (absent -> true) before the stop
    EXPECT_EQ(m.Land, 0);          // fields stay 0 ...
    EXPECT_EQ(m.TippTop, 0);
    EXPECT_EQ(m.UpDown[18].pos, 10); // ... controls keep their design state
    EXPECT_EQ(m.Edit3, "0,20");
    EXPECT_EQ(m.ProxyHostEdit, "p");
    EXPECT_EQ(m.DateTimePicker2, dateValue(2020, 1, 1));
}

TEST(Settings, CloseResetsARecentStatisticsStartAndSkipsTheSizeWhenMaximised) {
    struct Case {
        double start;
        double stored;
    };
    const double today = dateValue(2026, 12, 10);
    for (const Case& c : {Case{today - 1, Model::DateTimePicker2Min}, Case{today - 30, today - 30}}) {
        Model m;
        MemorySettingsStore store;
        put(store, "height", RegValue::ofInt(700));
        m.DateTimePicker2 = c.start;
        m.height = 900;
        m.windowNormal = false;
        saveSettings(m, store, today + 0.7);
        EXPECT_EQ(store.get(kSettingsKey, "DateTimePicker2"), RegValue::ofDouble(c.stored));
        EXPECT_EQ(store.get(kSettingsKey, "height"), RegValue::ofInt(700));
        EXPECT_FALSE(store.get(kSettingsKey, "width"));
        Model again;
        restoreSettings(again, store, today);
        EXPECT_EQ(again.DateTimePicker2, c.stored);
    }
}

TEST(Settings, EveryValueSurvivesARoundTrip) {
    Model m;
    m.Neuerschein = 3;
    m.CheckBox[1] = true;
    m.CheckBox[3] = false;
    m.CheckBox[21] = true;
    m.Plus5 = false;
    m.Plus5Los[2] = 7;
    m.font = FontState{"DejaVu Serif", 3, 0x0000FF, 12};
    m.Land = 2;
    m.height = 650;
    m.width = 700;
    m.ComboBox1 = 3;
    m.ComboBox3 = 0;
    m.UpDown[7].set(2500);
    m.Edit2 = "Anna \"Ä\"";
    m.Edit3 = "0,35";
    m.Preis = 12.5;
    m.URLEdit = "https://example.org/";
    m.ProxyHostEdit = "proxy";
    m.ProxyPortEdit = "8080";
    m.DateTimePicker2 = dateValue(2024, 5, 1);
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
    EXPECT_EQ(r.Neuerschein, 3);
    EXPECT_TRUE(r.CheckBox[1]);
    EXPECT_FALSE(r.CheckBox[3]);
    EXPECT_TRUE(r.CheckBox[21]);
    EXPECT_FALSE(r.Plus5);
    EXPECT_EQ(r.Plus5Los[2], 7);
    EXPECT_EQ(r.font, m.font);
    EXPECT_EQ(r.System, 3);
    EXPECT_EQ(r.ComboBox3, 0);
    EXPECT_EQ(r.UpDown[7].pos, 2500);
    EXPECT_EQ(r.Edit2, m.Edit2);
    EXPECT_EQ(r.Preis, 12.5);
    EXPECT_EQ(r.URLEdit, m.URLEdit);
    EXPECT_EQ(r.ProxyPortEdit, "8080");
    EXPECT_EQ(r.DateTimePicker2, dateValue(2024, 5, 1));
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
    EXPECT_EQ(m.UpDown[18].pos, 6);
    EXPECT_FALSE(applySettingText(m, "UpDown18", "50"));
    EXPECT_EQ(m.UpDown[18].pos, 10);
    EXPECT_FALSE(applySettingText(m, "Chekcbox9", "0"));
    EXPECT_FALSE(m.CheckBox[9]);
    EXPECT_FALSE(applySettingText(m, "ComboBox3", "1"));
    EXPECT_EQ(m.ComboBox3, 1);
    EXPECT_FALSE(applySettingText(m, "DateTimePicker2", "01.01.2020"));
    EXPECT_EQ(m.DateTimePicker2, dateValue(2020, 1, 1));
    EXPECT_FALSE(applySettingText(m, "Preis", "2,5"));
    EXPECT_EQ(m.Preis, 2.5);
    EXPECT_FALSE(applySettingText(m, "UpDown1", "7"));
    EXPECT_EQ(m.UpDown[3].pos, 7);
    for (auto [name, value] : {std::pair{"UpDown18", "sechs"}, {"Gibtsnicht", "1"}, {"DateTimePicker2", "2020-01-01"}})
        EXPECT_TRUE(applySettingText(m, name, value)) << name;
}
