// Fuzzes the settings file reader: whatever it accepts it writes back in a form that reads again
// to the same values without a complaint.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/ports/SettingsStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> problems;
    const auto keys = zf::FileSettingsStore::parse(text, problems);
    if (problems.size() > 1) std::abort(); // one summary, however many lines are bad

    zf::FileSettingsStore store("");
    for (const auto& [key, values] : keys) {
        store.createKey(key);
        for (const auto& [name, value] : values) store.set(key, name, value);
    }
    std::vector<std::string> again;
    const auto reread = zf::FileSettingsStore::parse(store.serialize(), again);
    if (reread != keys || !again.empty()) std::abort();
    return 0;
}
