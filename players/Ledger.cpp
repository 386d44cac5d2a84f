#include "players/Ledger.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/GermanFormat.h"
#include "base/Parse.h"

namespace zf {

const std::array<const char*, kPlayerColumns> kPlayerHeadings = {"Spieler", "An.",     "Guthaben",
                                                                 "Gewinne", "Einsatz", "Email-Adresse"};

std::string formatLedgerAmount(double value) {
    char buf[512];
    std::snprintf(buf, sizeof buf, "%7.5f", value);
    std::string s(buf);
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

std::string formatGeneral(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    std::string out;
    for (const char* p = buf; *p; ++p) {
        if (*p == '.') {
            out += ',';
        } else if (*p == 'e') {
            // "1e+20" is written "1E20", "1e-05" "1E-5".
            out += 'E';
            ++p;
            if (*p == '-') out += '-';
            ++p;
            while (*p == '0' && p[1]) ++p;
            out += p;
            break;
        } else {
            out += *p;
        }
    }
    return out == "-0" ? "0" : out;
}

std::optional<double> parseLedgerAmount(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
    std::string plain;
    size_t i = b;
    if (i < e && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    size_t digits = 0;
    while (i < e && text[i] >= '0' && text[i] <= '9') plain += text[i++], ++digits;
    if (i < e && text[i] == ',') {
        plain += '.';
        ++i;
        while (i < e && text[i] >= '0' && text[i] <= '9') plain += text[i++], ++digits;
    }
    if (!digits) return std::nullopt;
    if (i < e && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < e && (text[i] == '+' || text[i] == '-')) plain += text[i++];
        size_t expDigits = 0;
        while (i < e && text[i] >= '0' && text[i] <= '9') plain += text[i++], ++expDigits;
        if (!expDigits) return std::nullopt;
    }
    if (i != e) return std::nullopt;
    const double v = std::strtod(plain.c_str(), nullptr);
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

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
        if (auto v = parseLedgerAmount(row[ColBalance])) t.balance += *v;
        if (auto v = parseLedgerAmount(row[ColWinnings])) t.winnings += *v;
        if (auto v = parseLedgerAmount(row[ColStakes])) t.stakes += *v;
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
        if (!parseLedgerAmount(row[static_cast<size_t>(c)])) return unreadable(row, c);
    return std::nullopt;
}

std::string line(const PlayerRow& row, const char* label, double part) {
    return row[ColName] + "\t" + label + formatLedgerAmount(part) + "\tneues Guthaben:" + row[ColBalance];
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
    b.rows = rows_;
    for (PlayerRow& row : b.rows) {
        if (row[ColName].empty()) continue;
        const double part = *parseInt32(row[ColShares]) * amount / static_cast<double>(shares);
        row[ColBalance] = formatLedgerAmount(*parseLedgerAmount(row[ColBalance]) + sign * part);
        const size_t col = static_cast<size_t>(amountColumn);
        row[col] = formatLedgerAmount(*parseLedgerAmount(row[col]) + part);
        b.lines.push_back(line(row, label, part));
    }
    return b;
}

Booking Ledger::bookStake(double amount) const { return split(amount, ColStakes, -1.0, "Einsatz: "); }

Booking Ledger::bookWinnings(double amount) const { return split(amount, ColWinnings, 1.0, "Gewinn: "); }

Booking Ledger::bookPaymentForAll(double amountPerShare) const {
    Booking b;
    for (const PlayerRow& row : rows_)
        if (!row[ColName].empty())
            if (auto e = check(row, {ColBalance})) {
                b.error = *e;
                return b;
            }
    b.rows = rows_;
    for (PlayerRow& row : b.rows) {
        if (row[ColName].empty()) continue;
        const double part = *parseInt32(row[ColShares]) * amountPerShare;
        row[ColBalance] = formatLedgerAmount(*parseLedgerAmount(row[ColBalance]) + part);
        b.lines.push_back(line(row, "Einzahlung: ", part));
    }
    return b;
}

Booking Ledger::bookPayment(int r, double amountPerShare) const {
    Booking b;
    if (!isPlayer(r)) {
        b.error = "Sie haben noch keinen Namen gewählt!";
        return b;
    }
    if (auto e = check(row(r), {ColBalance})) {
        b.error = *e;
        return b;
    }
    b.rows = rows_;
    PlayerRow& row = b.rows[static_cast<size_t>(r - 1)];
    const double part = *parseInt32(row[ColShares]) * amountPerShare;
    row[ColBalance] = formatLedgerAmount(*parseLedgerAmount(row[ColBalance]) + part);
    b.lines.push_back(line(row, "Einzahlung: ", part));
    return b;
}

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
