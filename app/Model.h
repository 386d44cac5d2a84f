#pragma once
// The program's state without any window: what the main window keeps in its fields and controls.
// Both front ends bind to it; the controllers change it and tell the listeners what changed.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/Random.h"
#include "draws/DrawStore.h"
#include "generator/NumberChoice.h"
#include "stats/ChartData.h"

namespace zf {

// What changed, so a front end refreshes only that.
enum Change : unsigned {
    ChangeDraw = 1u << 0,     // current draw and its labels
    ChangeTips = 1u << 1,     // ListBox1
    ChangeHits = 1u << 2,     // ListBox2
    ChangeStatus = 1u << 3,   // status bar
    ChangeOptions = 1u << 4,  // check boxes, up-downs, combos, edits
    ChangeDates = 1u << 5,    // date pickers
    ChangeFont = 1u << 6,
    ChangeWindow = 1u << 7,   // height and width
    ChangeChart1 = 1u << 8,   // Series2
    ChangeChart2 = 1u << 9,   // Series3
    ChangePage = 1u << 10,    // a command asks for its tab to come to the front (see Model::pageRequest)
    ChangeAll = ~0u,
};

struct UpDownState {
    int min = 0;
    int max = 100;
    int pos = 0;
    // Position setter of an up-down: clamped into its range.
    void set(int p) { pos = p < min ? min : (p > max ? max : p); }
};

struct FontState {
    std::string name = "DejaVu Sans";
    uint8_t style = 0; // bit 0 bold, 1 italic, 2 underline, 3 strike-out
    int32_t color = 0; // 0x00BBGGRR
    int32_t size = 9;  // points
    bool operator==(const FontState&) const = default;
};

class Model {
public:
    Model();

    // --- current draw register ---
    double Datum1 = 0;
    std::array<int, 21> Zahl{};  // 1..20
    std::array<int, 6> Zahl5{};  // 1..5
    bool Datum1HasPlus5 = true;
    int Position = 0;
    double aktDatum = 0;
    std::string Home;            // with trailing '/'
    std::string ZahlenFile = "Keno.dat";
    DrawStore draws;             // Keno.dat in memory
    std::string kenoPath() const { return Home + ZahlenFile; }

    // draw display
    std::string Label29, Label35, Label13 = "Quersumme", Label30, Label31 = "QS";

    // --- controls of the main window ---
    std::array<bool, 37> CheckBox{};        // 1..36
    std::array<UpDownState, 25> UpDown{};   // 1..24
    int ComboBox1 = 0;                      // stake selector
    int ComboBox2 = -1;                     // hidden weekday list
    int ComboBox3 = 2;
    std::string Edit2, MaskEdit1, Edit3 = "0,20", URLEdit, ProxyHostEdit, ProxyPortEdit;
    double DateTimePicker1 = 0, DateTimePicker2 = 0, DateTimePicker3 = 0;
    static constexpr double DateTimePicker1Min = 38018; // 2004-02-01
    static constexpr double DateTimePicker2Min = 35184; // 1996-04-29
    // A picker refuses dates below its minimum and keeps its date.
    bool setDateTimePicker1(double d);
    bool setDateTimePicker2(double d);

    // --- fields ---
    int Neuerschein = 0;
    bool Plus5 = false;
    std::array<int, 6> Plus5Los{}; // TForm5's UpDown3..UpDown7, 1..5
    int Land = 0;
    int TippTop = 0, TippLeft = 0;
    int System = 0;
    double Preis = 0;
    int height = 573, width = 642;   // main window, in pixels
    bool windowNormal = true;        // neither maximised nor minimised
    FontState font;                  // main window font
    int Groesse = 573;
    double gewinnsumme = 0;
    bool erzeugen = false;
    int LaufMax = 100000;
    bool sortieren = false;
    bool Berechnunglaeuft = false;
    // The generator's run state is the caption of "Tipps berechnen": "Stoppen" while a run goes on;
    // turning it back is the stop request the run notices at its next attempt.
    std::string BitBtn4Caption = "Tipps berechnen";
    bool BitBtn8Enabled = false;      // "Eingeben"
    bool ErzeugenBtnVisible = false;  // "Tipps erzeugen"
    std::string SoundName;
    Random random;
    NumberChoice TForm6;               // the number dialog's state, kept between showings

    // --- tip list and hit check ---
    std::vector<std::string> ListBox1;
    std::vector<uint8_t> ListBox2;     // hits per line
    std::array<int, 21> Statistik{};
    int ListBox1Index = -1;            // selected line, -1 for none
    std::string Label23, Label24;      // "2.Schein", "3.Tipp"
    std::string Edit1 = "5";           // "Gesamt-Tipps" as typed
    // "Gesamt-Tipps": the typed number (up to 500000); the up-down follows it up to its maximum.
    int gesamtTipps() const;
    void setGesamtTipps(int value);
    std::array<std::string, 27> TippZahl;
    int ZahlenAnzahl = 0;
    uint8_t Gewinn = 0;

    // --- charts: Chart1/Series2 on "Diagramm", Chart2/Series3 on "Plus 5" ---
    ChartData Series2;
    ChartData Series3;
    double dfb = 0; // end date of the last windowed statistic

    // --- status bar ---
    std::array<std::string, 2> status;
    std::string pageRequest; // caption of the tab a command brought to the front
    void setStatus(int panel, std::string text);

    // design state of every control (what a first start shows)
    void resetToDesign();

    // --- change notification ---
    void notify(unsigned what) { if (listener) listener(what); }
    std::function<void(unsigned)> listener;

    // --- internet update of the draws (draws/Update) ---
    static constexpr const char* kDefaultDownloadServer = "http://127.0.0.1:8471/";
    std::string DownloadServer = kDefaultDownloadServer; // base address in front of "zahlen/keno.asp"
    bool BitBtn1Enabled = true;       // "Datenbank aktualisieren"
    bool SpeedButton10Enabled = true; // the update button of the main tab
    bool SpeedButton8Visible = false; // stop button; hiding it is the stop request
};

} // namespace zf
