// Fuzzes the reader of the download server's answers: whatever a server sends, a draw it accepts is
// a whole valid draw, and it reads back from its own answer text unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/draws/Update.h"
#include "base/GermanFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const double today = zf::dateValue(2026, 12, 10);
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    const zf::DrawAnswer a = zf::parseDrawAnswer(body, today);
    if (a.kind == zf::DrawAnswer::Invalid && a.problem.empty()) std::abort();
    if (a.kind != zf::DrawAnswer::Draw) return 0;
    const zf::DrawRecord& r = a.record;
    if (r.datum < zf::kFirstDrawDay || r.datum > today) std::abort();
    zf::DrawBits seen;
    for (uint8_t n : r.zahl) {
        if (n < 1 || n > 70 || seen.has(n)) std::abort();
        seen.set(n);
    }
    if (r.hasPlus5())
        for (uint8_t d : r.zahl5)
            if (d > 9) std::abort();
    const zf::DrawAnswer again = zf::parseDrawAnswer(zf::drawAnswerText(r), today);
    if (again.kind != zf::DrawAnswer::Draw || !(again.record == r)) std::abort();
    return 0;
}
