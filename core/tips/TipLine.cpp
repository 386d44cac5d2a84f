#include "core/tips/TipLine.h"
#include "base/Parse.h"

#include <cstdio>

#include "base/Text.h"

namespace zf {

std::string formatTipLine(const std::vector<int>& numbers) {
    std::string out;
    out.reserve(numbers.size() * 3);
    char buf[16];
    for (size_t i = 0; i < numbers.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%.2d", numbers[i]);
        if (i) out += ',';
        out += buf;
    }
    return out;
}

bool isTipLine(std::string_view line) {
    line = trimView(line);
    if (line.empty()) return true;
    int numbers = 0;
    size_t i = 0;
    while (i <= line.size()) {
        size_t j = line.find(',', i);
        if (j == std::string_view::npos) j = line.size();
        const std::string_view piece = trimView(line.substr(i, j - i));
        const auto v = piece.size() <= 2 ? parseDigits(piece, 99) : std::nullopt;
        if (!v || *v < 1 || *v > 70) return false;
        ++numbers;
        i = j + 1;
    }
    return numbers >= 1 && numbers <= 26;
}

std::vector<std::string> splitPieces(std::string_view line) {
    std::vector<std::string> pieces;
    if (line.empty()) return pieces;
    size_t start = 0;
    for (;;) {
        const size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            pieces.emplace_back(line.substr(start));
            return pieces;
        }
        pieces.emplace_back(line.substr(start, comma - start));
        start = comma + 1;
    }
}

size_t countOddLines(const std::vector<std::string>& lines) {
    size_t odd = 0;
    for (const auto& l : lines) odd += !isTipLine(l);
    return odd;
}

} // namespace zf
