#pragma once
// The players file `lotto.spl`: 344-byte records back to back, no header, little-endian. A record
// holds the name (26 UTF-16 units), the shares (int32), balance, winnings and stakes (doubles) and
// the e-mail address (129 UTF-16 units); a text ends at its first zero unit or fills its field.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/players/Ledger.h"

namespace zf {

constexpr size_t kPlayerRecordSize = 344;
constexpr size_t kNameUnits = 26;
constexpr size_t kEmailUnits = 129;

// What a players file holds, row by row: record r goes to row r; a record with an empty name leaves
// its row empty. `records` keeps each row's record bytes, so a row the user did not change is written
// back byte for byte (precision and filler included).
struct PlayersContent {
    std::vector<PlayerRow> rows;
    std::vector<std::string> records;
    size_t trailingBytes = 0; // bytes after the last whole record (a truncated file)
};

PlayersContent decodePlayers(std::string_view bytes);

// The file for the players of `rows` in row order; empty rows write nothing. `records` are the rows'
// loaded records (empty strings where none). A player whose shares or amounts cannot be read stops the
// encoding: the German reason comes back and nothing is to be written.
std::optional<std::string> encodePlayers(const std::vector<PlayerRow>& rows, const std::vector<std::string>& records,
                                         std::string& out);

} // namespace zf
