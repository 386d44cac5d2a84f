#pragma once
// Start-up, activation and close of the program, shared by both front ends.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Services.h"
#include "draws/Browser.h"

namespace zf {

class Model;

// The program folder: the program file's folder when it is writable, otherwise the user's data folder.
std::string resolveHome(const std::string& programDir, const std::string& userDataDir);
std::string withSlash(std::string dir);

class AppController {
public:
    AppController(Model& m, Services& s);

    // Steps that later parts of the program hang in; empty ones are skipped.
    std::function<void()> plus5Chart;   // the Plus 5 distribution at start
    std::function<void()> updateDraws;  // the internet update at start
    std::function<void()> numberChart;  // the number distribution at start and activation
    std::function<void()> applyStake;   // the stake rule at activation
    std::function<void()> afterRestore; // right after the settings are restored (batch --set)

    // Start-up. `home` is the program folder; `windowHeight` the window's height now.
    // Problems found on the way (unreadable files, an unwritable folder) are collected in problems().
    // `startDate` replaces today as the date picker's first date (the batch program's --date).
    void start(const std::string& home, int windowHeight, std::optional<double> startDate = std::nullopt);
    void activate();
    // The stored stake item goes into the selector and the stake rule runs (part of every activation).
    void applyStoredStake();
    // Writes settings and tip list back. Returns false when something could not be saved.
    bool close(bool writeSettings = true);

    const std::vector<std::string>& problems() const { return problems_; }
    // One German message that lists every problem, or empty.
    std::string problemReport() const;

    Browser& browser() { return browser_; }

private:
    void seedDrawHistory();
    void loadTipList();

    Model& m_;
    Services& s_;
    Browser browser_;
    std::vector<std::string> problems_;
    bool missingReported_ = false;
};

// Writes the bundled draw history to `path`. False with a German text on failure.
bool writeBundledHistory(const std::string& path, std::string* error);

} // namespace zf
