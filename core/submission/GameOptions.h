#pragma once
// The game options of a hand-over (the dialog "Onlineabgabe des Tippscheins", TForm5): duration,
// stake per field, Plus 5 and the ticket number, and the cost they make. Plain data and rules; the
// dialog binds to it and the hand-over routes read it.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Random.h"
#include "core/draws/DrawRecord.h"

namespace zf {

// The duration list `combobox1`: caption and number of draws, item by item.
struct DurationItem {
    const char* caption;
    int draws;
};
const std::vector<DurationItem>& durationItems();
// The stake list `ComboBox2` (the same as the tips page's): caption and stake per field in EUR.
struct StakeItem {
    const char* caption;
    double euro;
};
const std::vector<StakeItem>& stakeItems();

constexpr double kPlus5PerFiveTips = 0.75; // Plus 5 charge for every started group of five tips
constexpr double kFeeWhenNoNumber = 0.25;  // "Bearb.gebühr:" that is no number

// Cost of a hand-over: tips × stake × draws + fee, plus the Plus 5 charge, which is not multiplied by
// the draws.
double handOverCost(int tips, double stakePerField, int draws, double fee, bool plus5);
// The cost as the dialog shows it, to the cent: "43,70 €", "1.234,56 €".
std::string formatCost(double euro);
constexpr double kMaxFee = 1000;
// "Bearb.gebühr:" as the hand-over reads it: a text that is no number counts as 0,25; a number must be
// a finite amount from 0 to 1000 (nothing otherwise, and the caller says so).
std::optional<double> feeOf(std::string_view feeText);

// Which button closed the dialog.
enum class GameChoice {
    Cart,    // "Warenkorb"
    Klicker, // "&Klicker"
    Abort    // abort button, Esc, window closed
};

struct GameOptions {
    // what the caller fills in
    int tips = 0;   // Tipp
    double fee = 0; // EINPREIS
    bool plus5 = false;
    int durationItem = 0; // combobox1; -1 when a text was typed
    std::string durationText = "1 Ziehung";
    int stakeItem = -1; // ComboBox2; -1 when a text was typed
    std::string stakeText = "1 EUR";
    std::array<int, 5> digits{}; // Edit3..Edit7, first digit leftmost

    // computed (CheckBox1Click); a typed text in a list keeps the factor it had
    double stakePerField = 0; // tipppreis
    int draws = 1;
    double price = 0; // Preis
    // Shown in the dialog when the draw history cannot take part in the ticket number buttons.
    std::string plus5Note;

    void computeCost();
    std::string costText() const { return formatCost(price); }
    int ticketNumber() const;
    std::string digitText(int i) const { return std::to_string(digits[static_cast<size_t>(i)]); }

    // "Schein:": five random digits.
    void randomTicket(Random& random);
    // A ticket number no draw of `history` had as its Plus 5 number; draws whose Plus 5 number is
    // unknown take no part.
    void neverDrawnTicket(Random& random, const std::vector<DrawRecord>& history);
};

// What the dialog's own buttons do; the hand-over controller answers them.
class GameOptionsActions {
public:
    virtual ~GameOptionsActions() = default;
    virtual void randomTicket(GameOptions& o) = 0;      // "Schein:" (Label7Click)
    virtual void neverDrawnTicket(GameOptions& o) = 0;  // SpeedButton1Click
    virtual void checkTicket(const GameOptions& o) = 0; // SpeedButton2Click
};

// The check of a ticket number against the Plus 5 history: one message per draw that had it, oldest
// first, or "Wurde noch nie gezogen"; a history without any known Plus 5 number says so instead.
std::vector<std::string> ticketCheckMessages(int ticketNumber, const std::vector<DrawRecord>& history);

// Whether any draw of the history has a known Plus 5 number (the bundled history has none).
bool anyKnownPlus5(const std::vector<DrawRecord>& history);
inline const char* kNoKnownPlus5Text =
    "Keine Ziehung der Datenbank hat eine bekannte Plus-5-Zahl; die Schein-Nummer kann nicht geprüft werden.";

} // namespace zf
