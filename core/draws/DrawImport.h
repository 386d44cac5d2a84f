#pragma once
// Draws from a user's text file, as lottery sites and spreadsheets give them: one draw per line,
// comma, semicolon or tab between the fields, a date (DD.MM.YYYY or YYYY-MM-DD, a weekday name may
// stand before or after it), the 20 numbers and an optional five-digit Plus 5 number. The whole file
// is checked before anything is stored; the merge into Keno.dat is one rewrite.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/draws/DrawRecord.h"

namespace zf {

// Larger files are no list of draws (a hundred years of daily draws take about 4 MB).
constexpr size_t kImportMaxBytes = 16u * 1024 * 1024;

struct SkippedLine {
    size_t line = 0;    // 1-based
    std::string reason; // German
};

struct ParsedDraws {
    std::vector<DrawRecord> draws; // ascending dates, one per date
    std::vector<SkippedLine> skipped;
    std::string error; // German; set when the file as a whole is unusable (nothing may be stored)
};

// Reads the file (refusing one over kImportMaxBytes before reading it) and parses it.
ParsedDraws readDrawFile(const std::string& path, double today);
// Parses file bytes. Dates after `today` are refused.
ParsedDraws parseDrawText(std::string_view bytes, double today);

struct MergeCounts {
    size_t added = 0;
    size_t replaced = 0;
    size_t unchanged = 0;
    std::vector<double> kept;      // dates stored with other numbers and left as they were
    std::vector<double> keptPlus5; // dates stored with the same numbers but another Plus 5 number, kept
};

// The same 20 numbers, both with a Plus 5 number, and the Plus 5 numbers differ.
bool onlyPlus5Differs(const DrawRecord& a, const DrawRecord& b);
// Whether an imported draw says the same as a stored one: the same 20 numbers in any order, and the
// same Plus 5 number unless the import has none.
bool sameDraw(const DrawRecord& stored, const DrawRecord& imported);

// Merges `draws` (ascending, one per date) into the raw bytes of Keno.dat: new dates go in front of
// the first later readable record, a date stored with other numbers is replaced only with `replace`.
// Records that cannot be read and a broken tail stay byte for byte.
std::string mergeDrawBytes(const std::string& raw, const std::vector<DrawRecord>& draws, bool replace,
                           MergeCounts& counts);

// The German summary, one sentence per line; the first `listed` skipped lines and kept dates are named.
std::vector<std::string> importSummary(const MergeCounts& counts, const std::vector<SkippedLine>& skipped,
                                       size_t listed = 20);

} // namespace zf
