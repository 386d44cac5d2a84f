#include "core/players/PlayersFile.h"

#include <cstdint>
#include <cstring>

#include "base/Parse.h"
#include "base/Text.h"

namespace zf {

namespace {

constexpr size_t kNameOffset = 0, kSharesOffset = 52, kBalanceOffset = 56, kWinningsOffset = 64, kStakesOffset = 72,
                 kEmailOffset = 80, kPaddingOffset = 338;

uint16_t unitAt(std::string_view b, size_t i) {
    return static_cast<uint16_t>(static_cast<unsigned char>(b[2 * i]) |
                                 (static_cast<unsigned char>(b[2 * i + 1]) << 8));
}

// The text of a field: up to its first zero unit, or the whole field. The file is shared and edited by
// others: a control character in it would add a line to the protocol or a field to the batch output,
// so it is shown (and written anywhere else) as a blank.
std::string fieldText(std::string_view record, size_t offset, size_t units) {
    std::string_view field = record.substr(offset, units * 2);
    size_t n = 0;
    while (n < units && unitAt(field, n) != 0) ++n;
    return withoutControlCharacters(utf16leToUtf8(field.substr(0, n * 2)));
}

template <class T> T readLe(std::string_view record, size_t offset) {
    T v;
    std::memcpy(&v, record.data() + offset, sizeof v); // little-endian machines only, as the file
    return v;
}

template <class T> void writeLe(std::string& record, size_t offset, T v) {
    std::memcpy(record.data() + offset, &v, sizeof v);
}

// A text into its field: at most `units` units, zeros behind.
void writeField(std::string& record, size_t offset, size_t units, const std::string& text) {
    std::string b = utf8ToUtf16le(text);
    if (b.size() > units * 2) b.resize(units * 2);
    if (b.size() >= 2 && b.size() == units * 2) {
        // Never cut a surrogate pair in half.
        const uint16_t last = unitAt(b, units - 1);
        if (last >= 0xD800 && last < 0xDC00) b.resize(b.size() - 2);
    }
    std::memset(record.data() + offset, 0, units * 2);
    std::memcpy(record.data() + offset, b.data(), b.size());
}

PlayerRow rowOf(std::string_view record) {
    PlayerRow row;
    row[ColName] = fieldText(record, kNameOffset, kNameUnits);
    if (row[ColName].empty()) return row;
    row[ColShares] = std::to_string(readLe<int32_t>(record, kSharesOffset));
    row[ColBalance] = formatGeneral(readLe<double>(record, kBalanceOffset));
    row[ColWinnings] = formatGeneral(readLe<double>(record, kWinningsOffset));
    row[ColStakes] = formatGeneral(readLe<double>(record, kStakesOffset));
    row[ColEmail] = fieldText(record, kEmailOffset, kEmailUnits);
    return row;
}

std::string notSaved(const PlayerRow& row, const char* what) {
    return "Beim Mitspieler \"" + row[ColName] + "\" ist " + what + " keine Zahl; die Mitspieler wurden nicht " +
           "gespeichert.";
}

} // namespace

PlayersContent decodePlayers(std::string_view bytes) {
    PlayersContent c;
    const size_t count = bytes.size() / kPlayerRecordSize;
    c.trailingBytes = bytes.size() % kPlayerRecordSize;
    c.rows.reserve(count);
    c.records.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const std::string_view record = bytes.substr(i * kPlayerRecordSize, kPlayerRecordSize);
        c.rows.push_back(rowOf(record));
        c.records.emplace_back(c.rows.back()[ColName].empty() ? std::string_view{} : record);
    }
    return c;
}

std::optional<std::string> encodePlayers(const std::vector<PlayerRow>& rows, const std::vector<std::string>& records,
                                         std::string& out) {
    std::string file;
    file.reserve(rows.size() * kPlayerRecordSize);
    for (size_t i = 0; i < rows.size(); ++i) {
        const PlayerRow& row = rows[i];
        if (row[ColName].empty()) continue;
        const bool hasOrigin = i < records.size() && records[i].size() == kPlayerRecordSize;
        const PlayerRow loaded = hasOrigin ? rowOf(records[i]) : PlayerRow{};
        // A cell as it was loaded keeps its stored bytes.
        auto same = [&](int column) {
            return hasOrigin && loaded[static_cast<size_t>(column)] == row[static_cast<size_t>(column)];
        };
        std::string record = hasOrigin ? records[i] : std::string(kPlayerRecordSize, '\0');
        if (!same(ColName)) writeField(record, kNameOffset, kNameUnits, row[ColName]);
        if (!same(ColShares)) {
            const auto shares = parseInt32(row[ColShares]);
            if (!shares) return notSaved(row, "die Anzahl der Anteile");
            writeLe<int32_t>(record, kSharesOffset, *shares);
        }
        const std::pair<int, size_t> amounts[] = {
            {ColBalance, kBalanceOffset}, {ColWinnings, kWinningsOffset}, {ColStakes, kStakesOffset}};
        for (const auto& [column, offset] : amounts) {
            if (same(column)) continue;
            const auto v = parseDecimal(row[static_cast<size_t>(column)]);
            if (!v)
                return notSaved(row, column == ColBalance    ? "das Guthaben"
                                     : column == ColWinnings ? "die Summe der Gewinne"
                                                             : "die Summe der Einsätze");
            writeLe<double>(record, offset, *v);
        }
        if (!same(ColEmail)) writeField(record, kEmailOffset, kEmailUnits, row[ColEmail]);
        if (!hasOrigin) std::memset(record.data() + kPaddingOffset, 0, kPlayerRecordSize - kPaddingOffset);
        file += record;
    }
    out = std::move(file);
    return std::nullopt;
}

} // namespace zf
