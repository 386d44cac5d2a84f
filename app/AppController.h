#pragma once
// Start-up, activation and close of the program, shared by both front ends.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Services.h"
#include "app/draws/Browser.h"

namespace zf {

class Model;
class PlayersController;
class StatsController;
class TipListController;
class UpdateController;

// What the batch program changes right after the settings are restored (its --set and --stats-start).
struct StartOverrides {
    std::vector<std::pair<std::string, std::string>> settings; // value name, text as typed
    std::optional<double> statsStart;
};

// The program folder: the program file's folder when it is writable, otherwise the user's data folder.
std::string resolveHome(const std::string& programDir, const std::string& userDataDir);
std::string withSlash(std::string dir);

class AppController {
public:
    // `update` may be null: then the start-up walks to the chosen draw without asking the server.
    AppController(Model& m, Services& s, Browser& browser, TipListController& tips, StatsController& stats,
                  UpdateController* update);

    // The desktop program draws the number and Plus 5 charts at start and activation and brings the
    // history up to date at start; the batch program does neither unless a command asks.
    bool chartsAtStart = false;
    bool updateAtStart = false;
    // The start-up update run apart from start(), once the window shows (the window stays usable
    // while it waits for the server); then the charts of start-up follow the new draws.
    void runStartUpdate();

    // Start-up. `home` is the program folder; `windowHeight` the window's height now.
    // Problems found on the way (unreadable files, an unwritable folder) are collected in problems().
    // `startDate` replaces today as the date picker's first date (the batch program's --date).
    // `overrides` apply right after the restore; the first one that cannot be applied is returned.
    std::optional<std::string> start(const std::string& home, int windowHeight,
                                     std::optional<double> startDate = std::nullopt,
                                     const StartOverrides& overrides = {});
    void activate();
    // The stored stake item goes into the selector and the stake rule runs (part of every activation).
    void applyStoredStake();
    // Writes settings and tip list back. The tip list is written only when it differs from what the
    // start read (blank lines aside, which the hit check drops) and never over a file the start could
    // not read or that another program changed since. Returns false when something could not be saved.
    // lotto.spl is written when the players table changed; a failure is reported like the others.
    bool close(bool writeSettings = true, bool writeTips = true, bool writePlayers = true);

    const std::vector<std::string>& problems() const { return problems_; }
    // One German message that lists every problem, or empty.
    std::string problemReport() const;

    Browser& browser() { return browser_; }
    // The players table: loaded at start, written back at close.
    void setPlayers(PlayersController* players) { players_ = players; }

private:
    void seedDrawHistory();
    void loadTipList();
    bool saveTipList(std::vector<std::string>& failures);
    void drawCharts();

    Model& m_;
    Services& s_;
    Browser& browser_;
    TipListController& tips_;
    StatsController& stats_;
    UpdateController* update_;
    PlayersController* players_ = nullptr;
    std::vector<std::string> problems_;
    bool missingReported_ = false;
    // tipps.txt as the start found it: its bytes (none when it was missing) and its lines.
    enum class TipFile {
        Missing,
        Read,
        Unreadable
    };
    TipFile tipFile_ = TipFile::Missing;
    std::string tipBytes_;
    std::vector<std::string> loadedTips_;
};

// Writes the bundled draw history to `path`. False with a German text on failure.
bool writeBundledHistory(const std::string& path, std::string* error);

} // namespace zf
