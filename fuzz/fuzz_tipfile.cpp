// Fuzzes the tip file reader: lines split as the start reads them and converted from Windows-1252.
// Written back, every line gives its bytes again; a file already in CR LF form comes back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> raw = zf::splitLines(bytes);
    std::string saved;
    bool crlf = true; // every line ends with CR LF and holds no other line end
    size_t at = 0;
    for (const std::string& line : raw) {
        const std::string text = zf::cp1252ToUtf8(line);
        if (zf::cp1252ToUtf8(zf::utf8ToCp1252(text)) != text) std::abort();
        const std::string back = zf::utf8ToCp1252(text);
        if (back != line) std::abort();
        saved += back + "\r\n";
        at += line.size();
        crlf = crlf && at + 2 <= bytes.size() && bytes.compare(at, 2, "\r\n") == 0;
        at += 2;
    }
    if (crlf && at == bytes.size() && saved != bytes) std::abort();
    if (zf::splitLines(saved) != raw) std::abort();
    return 0;
}
