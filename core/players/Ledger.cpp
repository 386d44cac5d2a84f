#include "core/players/Ledger.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "base/Parse.h"
#include "base/Text.h"

namespace zf {

const std::array<const char*, kPlayerColumns> kPlayerHeadings = {"Spieler", "An.",     "Guthaben",
                                                                 "Gewinne", "Einsatz", "Email-Adresse"};

double roundToCent(double value) {
    const double r = std::round(value * 100.0) / 100.0;
    return r == 0 ? 0.0 : r;
}

std::string formatCurrency(double value) { return formatAmount(roundToCent(value), 2, true) + " €"; }

size_t utf16Length(std::string_view utf8) {
    size_t n = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if ((c & 0xC0) == 0x80) continue; // continuation byte
        n += c >= 0xF0 ? 2 : 1;           // beyond the BMP: a surrogate pair
    }
    return n;
}

void Ledger::setRows(std::vector<PlayerRow> rows) {
    if (rows.size() < static_cast<size_t>(kLedgerRows)) rows.resize(kLedgerRows);
    rows_ = std::move(rows);
}

std::optional<std::string> Ledger::setCell(int r, int column, const std::string& text) {
    if (r < 1 || r > rowCount() || column < 0 || column >= kPlayerColumns)
        return "Die Zelle " + std::to_string(column) + "/" + std::to_string(r) + " gibt es nicht.";
    // A line break or tab in a cell would add lines to the protocol and fields to the batch output.
    if (hasControlCharacters(text))
        return std::string(column == ColName    ? "Ein Name"
                           : column == ColEmail ? "Eine Email-Adresse"
                                                : "Eine Zahl") +
               " darf keine Steuerzeichen (Zeilenumbruch, Tabulator) enthalten.";
    if (column == ColName && utf16Length(text) > kMaxNameLength)
        return "Ein Name darf höchstens " + std::to_string(kMaxNameLength) + " Zeichen lang sein.";
    if (column == ColEmail && utf16Length(text) > kMaxEmailLength)
        return "Eine Email-Adresse darf höchstens " + std::to_string(kMaxEmailLength) + " Zeichen lang sein.";
    PlayerRow& row = rows_[static_cast<size_t>(r - 1)];
    row[static_cast<size_t>(column)] = text;
    if (column == ColName) {
        if (row[ColShares].empty()) row[ColShares] = "1";
        for (int c : {ColBalance, ColWinnings, ColStakes})
            if (row[static_cast<size_t>(c)].empty()) row[static_cast<size_t>(c)] = "0";
    }
    return std::nullopt;
}

LedgerTotals Ledger::totals() const {
    LedgerTotals t;
    for (const PlayerRow& row : rows_) {
        if (row[ColName].empty()) continue;
        ++t.players;
        if (auto s = parseInt32(row[ColShares])) t.shares += *s;
        if (auto v = parseDecimal(row[ColBalance])) t.balance += *v;
        if (auto v = parseDecimal(row[ColWinnings])) t.winnings += *v;
        if (auto v = parseDecimal(row[ColStakes])) t.stakes += *v;
    }
    t.countText = std::to_string(t.players) + " Spieler mit " + std::to_string(t.shares) + " Anteilen";
    t.balanceText = formatCurrency(t.balance);
    t.winningsText = formatCurrency(t.winnings);
    t.stakesText = formatCurrency(t.stakes);
    return t;
}

namespace {

const char* columnName(int column) {
    switch (column) {
    case ColShares:
        return "sind die Anteile";
    case ColBalance:
        return "ist das Guthaben";
    case ColWinnings:
        return "sind die Gewinne";
    default:
        return "ist der Einsatz";
    }
}

std::string unreadable(const PlayerRow& row, int column) {
    return "Beim Mitspieler \"" + row[ColName] + "\" " + columnName(column) + " (\"" +
           row[static_cast<size_t>(column)] + "\") " + (column == ColShares ? "keine ganze Zahl" : "keine Zahl") +
           "; es wurde nichts gebucht.";
}

// The shares and the given amount cells of a player row, or why they cannot be booked.
std::optional<std::string> check(const PlayerRow& row, std::initializer_list<int> amountColumns) {
    if (!parseInt32(row[ColShares])) return unreadable(row, ColShares);
    for (int c : amountColumns)
        if (!parseDecimal(row[static_cast<size_t>(c)])) return unreadable(row, c);
    return std::nullopt;
}

std::string line(const PlayerRow& row, const char* label, double part) {
    return row[ColName] + "\t" + label + formatLedgerAmount(part) + "\tneues Guthaben:" + row[ColBalance];
}

} // namespace

namespace {

__extension__ typedef __int128 Wide; // shares times cents does not fit 64 bits for every table

// Amounts are booked in whole cents; beyond this a cent is no longer exact in a double.
constexpr double kMaxBookingEuro = 1e12;

std::optional<long long> centsOf(double euro) {
    if (!std::isfinite(euro) || std::fabs(euro) > kMaxBookingEuro) return std::nullopt;
    return std::llround(euro * 100.0);
}

const char* const kTooLarge = "Der Betrag ist zu groß; es wurde nichts gebucht.";

// `cents` split in proportion to `shares`: each part the share's exact fraction rounded down to the
// cent, and the cents left over given one at a time to the largest remainders (earlier rows first on
// a tie), so the parts always add up to the amount.
std::vector<long long> splitCents(long long cents, const std::vector<long long>& shares, long long total) {
    const size_t n = shares.size();
    std::vector<long long> parts(n);
    std::vector<Wide> rest(n);
    const Wide sign = total < 0 ? -1 : 1;
    const Wide t = static_cast<Wide>(total) * sign;
    long long given = 0;
    for (size_t i = 0; i < n; ++i) {
        const Wide num = static_cast<Wide>(shares[i]) * cents * sign;
        Wide q = num / t, r = num % t;
        if (r < 0) r += t, q -= 1; // floor, also for negative amounts or shares
        parts[i] = static_cast<long long>(q);
        rest[i] = r;
        given += parts[i];
    }
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return rest[a] > rest[b]; });
    long long left = cents - given;
    for (size_t k = 0; left != 0 && n > 0; k = (k + 1) % n) {
        const long long step = left > 0 ? 1 : -1;
        parts[order[left > 0 ? k : n - 1 - k]] += step;
        left -= step;
    }
    return parts;
}

} // namespace

Booking Ledger::split(double amount, int amountColumn, double sign, const char* label) const {
    Booking b;
    for (const PlayerRow& row : rows_)
        if (!row[ColName].empty())
            if (auto e = check(row, {ColBalance, amountColumn})) {
                b.error = *e;
                return b;
            }
    const long long shares = totals().shares;
    if (shares == 0) {
        b.error = "Die Mitspieler haben zusammen 0 Anteile; es wurde nichts gebucht.";
        return b;
    }
    const auto cents = centsOf(amount);
    if (!cents) {
        b.error = kTooLarge;
        return b;
    }
    std::vector<long long> playerShares;
    for (const PlayerRow& row : rows_)
        if (!row[ColName].empty()) playerShares.push_back(*parseInt32(row[ColShares]));
    const std::vector<long long> parts = splitCents(*cents, playerShares, shares);
    b.rows = rows_;
    size_t k = 0;
    for (PlayerRow& row : b.rows) {
        if (row[ColName].empty()) continue;
        const double part = static_cast<double>(parts[k++]) / 100.0;
        row[ColBalance] = formatLedgerAmount(*parseDecimal(row[ColBalance]) + sign * part);
        const size_t col = static_cast<size_t>(amountColumn);
        row[col] = formatLedgerAmount(*parseDecimal(row[col]) + part);
        b.lines.push_back(line(row, label, part));
    }
    return b;
}

Booking Ledger::bookStake(double amount) const { return split(amount, ColStakes, -1.0, "Einsatz: "); }

Booking Ledger::bookWinnings(double amount) const { return split(amount, ColWinnings, 1.0, "Gewinn: "); }

// A payment per share for one row (`onlyRow`) or every player (0): shares times the amount, to the cent.
Booking Ledger::pay(int onlyRow, double amountPerShare) const {
    Booking b;
    if (onlyRow == 0 && totals().players == 0) {
        b.error = "Es gibt noch keine Mitspieler; es wurde nichts gebucht.";
        return b;
    }
    if (onlyRow != 0 && !isPlayer(onlyRow)) {
        b.error = "Sie haben noch keinen Namen gewählt!";
        return b;
    }
    for (int r = 1; r <= rowCount(); ++r)
        if ((onlyRow == 0 || r == onlyRow) && isPlayer(r))
            if (auto e = check(row(r), {ColBalance})) {
                b.error = *e;
                return b;
            }
    const auto cents = centsOf(amountPerShare);
    if (!cents) {
        b.error = kTooLarge;
        return b;
    }
    b.rows = rows_;
    for (int r = 1; r <= rowCount(); ++r) {
        if ((onlyRow != 0 && r != onlyRow) || !isPlayer(r)) continue;
        PlayerRow& row = b.rows[static_cast<size_t>(r - 1)];
        const Wide partCents = static_cast<Wide>(*parseInt32(row[ColShares])) * *cents;
        const double part = static_cast<double>(partCents) / 100.0;
        row[ColBalance] = formatLedgerAmount(*parseDecimal(row[ColBalance]) + part);
        b.lines.push_back(line(row, "Einzahlung: ", part));
    }
    return b;
}

Booking Ledger::bookPaymentForAll(double amountPerShare) const { return pay(0, amountPerShare); }

Booking Ledger::bookPayment(int r, double amountPerShare) const { return pay(r, amountPerShare); }

Booking Ledger::deletePlayer(int r) const {
    Booking b;
    b.rows = rows_;
    if (!isPlayer(r)) return b;
    PlayerRow& row = b.rows[static_cast<size_t>(r - 1)];
    b.lines.push_back(row[ColName] + "\tMitspieler wurde gelöscht \t\tGuthaben ausgezahlt:" + row[ColBalance]);
    row = PlayerRow{};
    return b;
}

} // namespace zf
