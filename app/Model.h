#pragma once
// The program's state without any window: what the main window keeps in its fields and controls.
// Both front ends bind to it; the controllers change it and tell the listeners what changed.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Random.h"
#include "core/draws/DrawStore.h"
#include "core/evaluation/BacktestReport.h"
#include "core/generator/NumberChoice.h"
#include "core/stats/ChartData.h"
#include "core/submission/CartAddress.h"
#include "core/submission/GameOptions.h"

namespace zf {

// What changed, so a front end refreshes only that.
enum Change : unsigned {
    ChangeDraw = 1u << 0,    // current draw and its labels
    ChangeTips = 1u << 1,    // tipLines
    ChangeHits = 1u << 2,    // hits
    ChangeStatus = 1u << 3,  // status bar
    ChangeOptions = 1u << 4, // check boxes, up-downs, combos, edits
    ChangeDates = 1u << 5,   // date pickers
    ChangeFont = 1u << 6,
    ChangeWindow = 1u << 7,   // height and width
    ChangeChart1 = 1u << 8,   // numberChart
    ChangeChart2 = 1u << 9,   // plus5Chart
    ChangePage = 1u << 10,    // a command asks for its tab to come to the front (see Model::pageRequest)
    ChangePlayers = 1u << 11, // the players table, its totals and the current player
    ChangeAll = ~0u,
};

// The check boxes of the main window by what they switch; the value is the control's number
// (Opt::ForcePair is `CheckBox8`, stored as "Chekcbox8").
enum class Opt : uint8_t {
    PreferPairs = 1,
    PreferFrequent = 2,
    MaxOverlap = 3,
    LastDrawHits = 4,
    SecondDrawHits = 5,
    PreferTriples = 6,
    PreferQuads = 7,
    ForcePair = 8,
    NoHistoryMatch = 9,
    PreferOverdue = 10,
    RarestPairs = 11,
    RarestTriples = 12,
    RarestQuads = 13,
    PreferRare = 14,
    OnlyFavoured = 15,
    WriteProtocol = 16,
    NoRecentMatch = 17,
    NoTriples = 18,
    PreferNeighbours = 19,
    EditPool = 20,
    LinkPage = 21,
    MinPrimes = 22,
    ThirdDrawHits = 23,
    MinOverlap = 24,
    MinEven = 25,
    MinOdd = 26,
    Hidden27 = 27,
    ClearBeforeRun = 28,
    OnePerTen = 29,
    DateInAllYears = 30,
    RecentDrawNumbers = 31,
    MaxOccurrence = 32,
    Hidden33 = 33,
    Hidden34 = 34,
    SendDirectly = 35,
    WinSound = 36,
};

// The up-down fields by what they hold; the value is the control's number (Num::KenoType is `UpDown18`).
enum class Num : uint8_t {
    MinOverlap = 1,
    CrossSumMin = 2,
    MaxOverlap = 3,
    LastDrawMax = 4,
    SecondDrawMax = 5,
    HistoryMatch = 6,
    AttemptThousands = 7,
    TipsPerTicket = 8,
    TotalTips = 9,
    MinPrimes = 10,
    ThirdDrawMax = 11,
    FrequentBand = 12,
    OverdueBand = 13,
    RareBand = 14,
    CrossSumMax = 15,
    MinEven = 16,
    MinOdd = 17,
    KenoType = 18,
    RecentMatch = 19,
    RecentDraws = 20,
    LastDrawMin = 21,
    SecondDrawMin = 22,
    ThirdDrawMin = 23,
    MaxOccurrence = 24,
};

struct UpDownState {
    int min = 0;
    int max = 100;
    int pos = 0;
    // drawIndex setter of an up-down: clamped into its range.
    void set(int p) { pos = p < min ? min : (p > max ? max : p); }
};

struct FontState {
    std::string name = "DejaVu Sans";
    uint8_t style = 0; // bit 0 bold, 1 italic, 2 underline, 3 strike-out
    int32_t color = 0; // 0x00BBGGRR
    int32_t size = 9;  // points
    bool operator==(const FontState&) const = default;
};

enum class GeneratorRun {
    Idle,
    Running
};

class Model {
public:
    Model();

    // --- current draw register ---
    double drawDate = 0;
    std::array<int, 21> drawNumbers{}; // 1..20
    std::array<int, 6> drawPlus5{};    // 1..5
    bool drawHasPlus5 = true;
    int drawIndex = 0;
    double workDate = 0;
    std::string home; // with trailing '/'
    std::string drawFileName = "Keno.dat";
    DrawStore draws; // Keno.dat in memory
    std::string kenoPath() const { return home + drawFileName; }

    // draw display
    std::string drawText, drawTextMain, crossSumText = "Quersumme", plus5Text, plus5SumText = "QS";

    // --- controls of the main window ---
    std::array<bool, 37> checkBoxes{}; // CheckBox1..36, by number
    bool& on(Opt o) { return checkBoxes[static_cast<size_t>(o)]; }
    bool on(Opt o) const { return checkBoxes[static_cast<size_t>(o)]; }
    std::array<UpDownState, 25> upDowns{}; // UpDown1..24, by number
    UpDownState& num(Num n) { return upDowns[static_cast<size_t>(n)]; }
    const UpDownState& num(Num n) const { return upDowns[static_cast<size_t>(n)]; }
    int stakeItem = 0;    // stake selector
    int weekdayItem = -1; // hidden weekday list
    int recentDrawsItem = 2;
    std::string playerName, password, feeText = "0,20", webAddress, proxyHost, proxyPort;
    double browseDate = 0, statsStart = 0, yearlyDate = 0;
    static constexpr double browseDateMin = 38018; // 2004-02-01
    static constexpr double statsStartMin = 35184; // 1996-04-29
    // A picker refuses dates below its minimum and keeps its date.
    bool setBrowseDate(double d);
    bool setStatsStart(double d);

    // --- fields ---
    int newTicket = 0;
    bool plus5 = false;
    std::array<int, 6> plus5Ticket{}; // TForm5's UpDown3..UpDown7, 1..5
    int country = 0;
    int tipTop = 0, tipLeft = 0;
    int stakeSystem = 0;
    double price = 0;
    int height = 573, width = 642; // main window, in pixels
    bool windowNormal = true;      // neither maximised nor minimised
    FontState font;                // main window font
    int scaledHeight = 573;
    double winningsSum = 0;
    bool enumerating = false;
    int attemptLimit = 100000;
    bool hitCheckOn = false;
    bool calculating = false;
    // Whether a generator run goes on; setting it back to Idle is the stop request the run notices at its
    // next attempt. The button shows runCaption ("Stoppen" while it runs).
    GeneratorRun runState = GeneratorRun::Idle;
    std::string runCaption = "Tipps berechnen";
    std::optional<BacktestKind> backtestRunning; // the backtest under way, none while none runs
    bool showChanceComparison = true;            // "Vergleich mit dem Zufall zeigen" after a backtest
    bool entryEnabled = false;                   // "Eingeben"
    bool enumerateVisible = false;               // "Tipps erzeugen"
    std::string winSoundPath;
    Random random;
    NumberChoice numberChoice; // the number dialog's state, kept between showings

    // --- tip list and hit check ---
    std::vector<std::string> tipLines;
    std::vector<uint8_t> hits; // hits per line
    std::array<int, 21> hitStats{};
    int selectedTip = -1;              // selected line, -1 for none
    std::string ticketLabel, tipLabel; // "2.Schein", "3.Tipp"
    std::string totalTipsText = "5";   // "Gesamt-Tipps" as typed
    // "Gesamt-Tipps": the typed number (up to 500000); the up-down follows it up to its maximum.
    int totalTips() const;
    void setTotalTips(int value);
    std::array<std::string, 27> tipPieces;
    int tipCount = 0;
    uint8_t tipHits = 0;

    // --- charts: Chart1/numberChart on "Diagramm", Chart2/plus5Chart on "Plus 5" ---
    ChartData numberChart;
    ChartData plus5Chart;
    double windowEnd = 0; // end date of the last windowed statistic

    // --- status bar ---
    std::array<std::string, 2> status;
    std::string pageRequest; // caption of the tab a command brought to the front
    void setStatus(int panel, std::string text);

    // design state of every control (what a first start shows)
    void resetToDesign();

    // --- change notification ---
    void notify(unsigned what) {
        if (listener) listener(what);
    }
    std::function<void(unsigned)> listener;

    // --- internet update of the draws (draws/Update) ---
    static constexpr const char* kDefaultDownloadServer = "http://127.0.0.1:8471/";
    std::string downloadServer = kDefaultDownloadServer; // base address in front of "zahlen/keno.asp"
    bool updateButtonEnabled = true;                     // "Datenbank aktualisieren"
    bool mainUpdateEnabled = true;                       // the update button of the main tab
    bool stopUpdateVisible = false;                      // stop button; hiding it is the stop request

    // --- the link labels of "Internet-Optionen" and the banners of "Keno-Tipp" ---
    // Addresses of pages no stranger can own: an empty one stands for our own help page, `localHelp`
    // (the README installed with the program, which the front end finds); the official KENO page
    // is the one address on the internet.
    static constexpr const char* kDefaultKenoLink = "https://www.lotto.de/keno";
    std::string localHelp;
    std::string productLink, newsLink, programsLink, helpLink, kenoLink = kDefaultKenoLink;
    std::string linkTarget(const std::string& address) const { return address.empty() ? localHelp : address; }

    // --- hand-over of the tips (submission/) ---
    // Every address is configuration; the defaults lie under ".invalid", so nothing reaches a stranger.
    static constexpr const char* kDefaultCartTemplateServer = "http://vorlagen.zahlfuchs.invalid/";
    static constexpr const char* kDefaultCartServer = "https://warenkorb.zahlfuchs.invalid/";
    static constexpr const char* kDefaultRedirectServer = "https://partner.zahlfuchs.invalid/";
    static constexpr const char* kDefaultPartnerCode = "00000000000000000";
    static constexpr const char* kDefaultPartnerNumber = "000000";
    static constexpr const char* kDefaultSiteNumber = "00000";
    static constexpr const char* kDefaultScriptServer = "http://skripte.zahlfuchs.invalid/";
    static constexpr const char* kDefaultKlickerDownload = "https://klicker.zahlfuchs.invalid/";
    CartEndpoints cart{kDefaultCartTemplateServer, kDefaultCartServer,    kDefaultRedirectServer,
                       kDefaultPartnerCode,        kDefaultPartnerNumber, kDefaultSiteNumber};
    std::string scriptServer = kDefaultScriptServer;
    std::string klickerDownload = kDefaultKlickerDownload;
    std::string portal = "Lottoland"; // the hidden portal list: neither shown nor stored
    GameOptions gameOptions;          // TForm5, kept between showings
};

} // namespace zf
