#pragma once
// "Tipps erzeugen": every combination of n numbers out of the pool positions 1..M goes into
// "Variation_<n>_aus_<M>.txt" in the program folder, then through the acceptance chain one per
// attempt; the outcome is recorded as an HTML table in "Variation_<n>_aus_<M>.htm" (passing
// combinations in bold).
//
// Both files are written under their locks into temporary files beside them and renamed into place
// only when complete: a run stopped while the combinations are written leaves neither file, and the
// table appears once the run is over. The combinations are written in slices with the event pump
// between them, so the window stays usable and the caption of "Tipps berechnen" turned back stops it.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/Services.h"
#include "app/generator/GeneratorController.h"

namespace zf {

class Model;
class FileLock;

class Enumeration : public CandidateEnumeration {
public:
    Enumeration(Model& m, Prompter& prompter);
    ~Enumeration() override;
    Enumeration(const Enumeration&) = delete;
    Enumeration& operator=(const Enumeration&) = delete;

    std::optional<int> begin(const CandidatePool& pool, int n) override;
    void next(Tipp& tipp, int n) override;
    void end(bool lastPassed) override;

    std::function<void()> eventPump;        // lets the front end handle pending events
    std::chrono::microseconds slice{20000}; // writing between two calls of eventPump
    // Free bytes in a folder; nullopt when unknown (then nothing is refused for want of space).
    std::function<std::optional<uintmax_t>(const std::string& folder)> freeSpace;

    // "Variation_<n>_aus_<M>" in the program folder, without the extension.
    std::string basePath(int n, int M) const;
    // M over n, or 0 if n > M; stops counting above the largest signed 32-bit number.
    static int64_t combinations(int M, int n);
    // Bytes the two files of K combinations of n numbers take at most.
    static uintmax_t bytesNeeded(int64_t K, int n);

private:
    struct Output;
    bool writeCombinations(const CandidatePool& pool, int n, int M, int K);
    // keepTable: the table is complete; the cell of the last combination tested goes in first.
    void closeAll(bool keepTable, bool lastPassed = false);
    void tableLine(std::string_view line);

    Model& m_;
    Prompter& prompter_;
    std::unique_ptr<FileLock> listLock_, tableLock_;
    std::unique_ptr<Output> table_;
    std::FILE* in_ = nullptr;
    std::string tablePath_;
    std::string prevLine_;
    std::string cell_;     // the table cell being put together
    char* line_ = nullptr; // the line read last, as getline keeps it
    size_t lineCapacity_ = 0;
    int prevFirst_ = 0, prevSecond_ = 0, firstNumber_ = 0;
    int checked_ = 0, total_ = 0; // combinations read for the check, of K
};

} // namespace zf
