// Turns the draw history CSV (date,n1..n20,plus5) into Keno.dat records, or into a C++ source
// that embeds those records in the program.
//   csv2keno IN.csv OUT.dat
//   csv2keno --cpp IN.csv OUT.cpp
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "base/GermanFormat.h"
#include "core/draws/DrawRecord.h"

namespace {

bool parseLine(const std::string& line, zf::DrawRecord& r, std::string& why) {
    std::vector<std::string> f;
    std::stringstream ss(line);
    std::string cell;
    while (std::getline(ss, cell, ',')) f.push_back(cell);
    if (!line.empty() && line.back() == ',') f.emplace_back();
    if (f.size() != 22) {
        why = "expected 22 columns";
        return false;
    }
    int y, m, d;
    if (std::sscanf(f[0].c_str(), "%d-%d-%d", &y, &m, &d) != 3) {
        why = "bad date";
        return false;
    }
    r = {};
    r.datum = zf::dateValue(y, m, d);
    zf::DrawBits seen;
    for (int i = 0; i < 20; ++i) {
        const int n = std::stoi(f[static_cast<size_t>(i + 1)]);
        if (n < 1 || n > 70 || seen.has(n)) {
            why = "bad number";
            return false;
        }
        seen.set(n);
        r.zahl[static_cast<size_t>(i)] = static_cast<uint8_t>(n);
    }
    const std::string& p5 = f[21];
    if (p5.empty()) {
        r.flags = zf::kFlagNoPlus5;
    } else {
        if (p5.size() != 5) {
            why = "bad plus5";
            return false;
        }
        for (size_t i = 0; i < 5; ++i) r.zahl5[i] = static_cast<uint8_t>(p5[i] - '0');
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    bool cpp = argc == 4 && std::string(argv[1]) == "--cpp";
    if (argc != 3 && !cpp) {
        std::cerr << "usage: csv2keno [--cpp] IN.csv OUT\n";
        return 2;
    }
    std::ifstream in(argv[cpp ? 2 : 1]);
    if (!in) {
        std::cerr << "cannot read input\n";
        return 1;
    }
    std::string line;
    std::vector<uint8_t> bytes;
    size_t lineNo = 0;
    double last = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (lineNo == 1 || line.empty()) continue;
        zf::DrawRecord r;
        std::string why;
        if (!parseLine(line, r, why) || r.datum <= last) {
            std::cerr << "line " << lineNo << ": " << (why.empty() ? "date not ascending" : why) << "\n";
            return 1;
        }
        last = r.datum;
        uint8_t buf[zf::kRecordSize];
        zf::encodeRecord(r, buf);
        bytes.insert(bytes.end(), buf, buf + zf::kRecordSize);
    }
    std::ofstream out(argv[cpp ? 3 : 2], std::ios::binary);
    if (!cpp) {
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    } else {
        out << "// Generated from data/keno_draws.csv by tools/csv2keno; do not edit.\n"
               "#include \"app/draws/BundledHistory.h\"\n\nnamespace zf {\nnamespace {\nconst uint8_t kData[] = {";
        for (size_t i = 0; i < bytes.size(); ++i) out << (i == 0 ? "\n" : (i % 20 ? "," : ",\n")) << int(bytes[i]);
        out << "};\n}\n\nstd::span<const uint8_t> bundledHistory() { return {kData, sizeof kData}; }\n\n}\n";
    }
    return out ? 0 : 1;
}
