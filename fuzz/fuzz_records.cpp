// Fuzzes the Keno.dat reader: any bytes must parse without a crash, and every record that
// parses must write back to the same 40 bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/draws/DrawStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<zf::DrawRecord> records;
    zf::DrawFileIssues issues;
    zf::DrawStore::parse(data, size, records, issues);
    if (records.size() != size / zf::kRecordSize || issues.trailingBytes != size % zf::kRecordSize) std::abort();
    for (size_t i = 0; i < records.size(); ++i) {
        uint8_t buf[zf::kRecordSize];
        zf::encodeRecord(records[i], buf);
        // The padding after byte 33 is not kept; everything before it must be.
        if (std::memcmp(buf, data + i * zf::kRecordSize, 34) != 0) std::abort();
        const zf::DrawBits b = zf::bitsOf(records[i]);
        if (b.count() > 20) std::abort();
    }
    return 0;
}
