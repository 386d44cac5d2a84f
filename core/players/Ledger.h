#pragma once
// The co-players' ledger (`StringGrid1`): one row of six cell texts per table row, the totals under
// the table, and the bookings that split stakes and winnings by shares. Every value lives as the
// text of its cell, as on the tab; a booking is computed on a copy and only taken over when every
// row could be booked and its protocol lines were stored.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/GermanNumber.h"

namespace zf {

enum PlayerColumn : int {
    ColName = 0,
    ColShares = 1,
    ColBalance = 2,
    ColWinnings = 3,
    ColStakes = 4,
    ColEmail = 5,
};

constexpr int kPlayerColumns = 6;
constexpr int kLedgerRows = 49;         // player rows the tab shows; a larger players file grows it
constexpr size_t kMaxNameLength = 25;   // characters (UTF-16 units) a typed name may have
constexpr size_t kMaxEmailLength = 128; // and a typed address

extern const std::array<const char*, kPlayerColumns> kPlayerHeadings; // "Spieler" ... "Email-Adresse"

// An amount as the bookings write it: at least seven characters, five decimals, a decimal comma
// ("2,50000", "-10,00000").
inline std::string formatLedgerAmount(double value) { return formatPadded(value, 7, 5); }
// Rounded to the cent, -0 made 0: the totals and the status mail's balance.
double roundToCent(double value);
// "12,50 €", "1.234,00 €": a total under the table.
std::string formatCurrency(double value);

using PlayerRow = std::array<std::string, kPlayerColumns>;

struct LedgerTotals {
    int players = 0;                                   // `spieler`
    long long shares = 0;                              // `zahler`
    double balance = 0;                                // `Guthaben`
    double winnings = 0;                               // `Gewinne`
    double stakes = 0;                                 // `Einsatz`
    std::string countText;                             // `Label32`
    std::string balanceText, winningsText, stakesText; // `Label33`, `Label34`, `Label45`
};

// What a booking of the whole table made: the ledger after it and the protocol lines, or why nothing
// can be booked (German).
struct Booking {
    std::vector<PlayerRow> rows;
    std::vector<std::string> lines; // protocol lines without the date-time in front
    std::string error;
    bool ok() const { return error.empty(); }
};

class Ledger {
public:
    Ledger() : rows_(kLedgerRows) {}

    int rowCount() const { return static_cast<int>(rows_.size()); }
    // Table rows count from 1, as on the tab (row 0 holds the headings).
    const PlayerRow& row(int r) const { return rows_.at(static_cast<size_t>(r - 1)); }
    const std::vector<PlayerRow>& rows() const { return rows_; }
    bool isPlayer(int r) const { return r >= 1 && r <= rowCount() && !row(r)[ColName].empty(); }

    // Replaces every row; the table keeps at least kLedgerRows rows.
    void setRows(std::vector<PlayerRow> rows);
    void clear() { setRows({}); }
    // A cell typed into the table (`StringGrid1SetEditText`): a new name fills the empty cells of its
    // row with "1" and "0"s. A name or address longer than its field allows is refused (German text).
    std::optional<std::string> setCell(int r, int column, const std::string& text);

    LedgerTotals totals() const;

    // The bookings. `amount` is the stake, the winnings or the payment per share.
    Booking bookStake(double amount) const;
    Booking bookWinnings(double amount) const;
    Booking bookPaymentForAll(double amountPerShare) const;
    Booking bookPayment(int r, double amountPerShare) const;
    // The protocol line of a deletion, or nothing for a row without a player.
    Booking deletePlayer(int r) const;

private:
    Booking split(double amount, int amountColumn, double sign, const char* label) const;
    Booking pay(int onlyRow, double amountPerShare) const;
    std::vector<PlayerRow> rows_;
};

// Characters as the file counts them: UTF-16 code units of UTF-8 text.
size_t utf16Length(std::string_view utf8);

} // namespace zf
