#pragma once
// The stand-in template and script server (tools/shopserver) as a child process.
#include <memory>
#include <string>
#include <vector>

#include "base/Text.h"
#include "tools/drawserver/DrawServerProcess.h"

namespace zf::test {

inline std::unique_ptr<tools::DrawServerProcess> startShopServer(const std::vector<std::string>& args) {
    return std::make_unique<tools::DrawServerProcess>(ZF_SHOPSERVER, args);
}

// The requests the server logged, path and query each. Qt network repeats a request whose
// connection broke off; a repeat in a row counts once.
inline std::vector<std::string> requestLog(const std::string& path) {
    std::string text;
    if (!readFile(path, text)) return {};
    std::vector<std::string> lines = splitLines(text);
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

} // namespace zf::test
