#pragma once
// Draw data for the stand-in server, and the server itself as a child process.
#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "base/Text.h"
#include "core/draws/DrawRecord.h"
#include "support/TestSupport.h"
#include "tools/drawserver/DrawServerProcess.h"

namespace zf::test {

// A draw on day `datum` with 20 distinct numbers in no sorted order and Plus 5 digits from the day.
inline DrawRecord serverDraw(double datum) {
    DrawRecord r;
    r.datum = datum;
    const int d = static_cast<int>(datum);
    for (int i = 0; i < 20; ++i) r.zahl[static_cast<size_t>(i)] = static_cast<uint8_t>((d * 5 + i * 3) % 70 + 1);
    for (int i = 0; i < 5; ++i) r.zahl5[static_cast<size_t>(i)] = static_cast<uint8_t>((d / (i + 1)) % 10);
    return r;
}

inline std::vector<DrawRecord> serverDraws(double first, int count) {
    std::vector<DrawRecord> out;
    for (int i = 0; i < count; ++i) out.push_back(serverDraw(first + i));
    return out;
}

// Requested days (yyyymmdd) from the server's log file. Qt network sends a request again when its
// connection breaks off (a redirect, a kept-alive connection the server closed); the update asks
// each day once, and that is what counts, so a repeat in a row is one request.
inline std::vector<std::string> requestedDays(const std::string& logPath) {
    std::string text;
    if (!readFile(logPath, text)) return {};
    std::vector<std::string> days = splitLines(text);
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}

// `errorFile`, when given, collects what the server writes to standard error.
inline std::unique_ptr<tools::DrawServerProcess> startDrawServer(const std::string& dataFile,
                                                                 const std::string& logFile,
                                                                 std::vector<std::string> extra = {},
                                                                 const std::string& errorFile = {}) {
    std::vector<std::string> args{"--data", dataFile, "--log", logFile};
    args.insert(args.end(), extra.begin(), extra.end());
    return std::make_unique<tools::DrawServerProcess>(ZF_DRAWSERVER, args, errorFile);
}

} // namespace zf::test
