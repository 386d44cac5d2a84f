// Fuzzes the reader of draw files a user imports: any bytes must parse without a crash into valid
// draws in ascending date order, and merging them into a history must keep every record of it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/draws/DrawImport.h"
#include "core/draws/DrawStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const double today = 46000; // 08.12.2025
    const zf::ParsedDraws parsed =
        zf::parseDrawText(std::string_view(reinterpret_cast<const char*>(data), size), today);
    double previous = 0;
    for (const zf::DrawRecord& r : parsed.draws) {
        if (!zf::DrawStore::readable(r) || r.datum <= previous || r.datum > today) std::abort();
        previous = r.datum;
    }
    if (!parsed.error.empty() && !parsed.draws.empty()) std::abort();

    // A history of two draws and a broken tail: both stay, the tail stays last.
    zf::DrawRecord a, b;
    for (size_t i = 0; i < 20; ++i) {
        a.zahl[i] = static_cast<uint8_t>(i + 1);
        b.zahl[i] = static_cast<uint8_t>(i + 21);
    }
    a.datum = 40000;
    b.datum = 45000;
    std::string raw(2 * zf::kRecordSize, '\0');
    zf::encodeRecord(a, reinterpret_cast<uint8_t*>(raw.data()));
    zf::encodeRecord(b, reinterpret_cast<uint8_t*>(raw.data()) + zf::kRecordSize);
    raw += "xyz";
    for (bool replace : {false, true}) {
        zf::MergeCounts counts;
        const std::string out = zf::mergeDrawBytes(raw, parsed.draws, replace, counts);
        if (out.size() != raw.size() + counts.added * zf::kRecordSize) std::abort();
        if (out.substr(out.size() - 3) != "xyz") std::abort();
        if (counts.added + counts.replaced + counts.unchanged + counts.kept.size() != parsed.draws.size()) std::abort();
        if (!replace && counts.replaced) std::abort();
    }
    return 0;
}
