#pragma once
// A program folder under the temp directory holding the bundled draw history, made once per benchmark.
#include <filesystem>
#include <string>

#include "app/AppController.h"

namespace zf::bench {

// The folder, with a trailing '/'.
inline std::string bundledHome(const std::string& name) {
    const auto d = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(d);
    writeBundledHistory((d / "Keno.dat").string(), nullptr);
    return d.string() + "/";
}

} // namespace zf::bench
