#include "app/AppController.h"

#include <cmath>

#include "app/Model.h"
#include "app/draws/BundledHistory.h"
#include "app/draws/Update.h"
#include "app/evaluation/TipCheck.h"
#include "app/players/PlayersController.h"
#include "app/settings/ControlCatalogue.h"
#include "app/settings/SettingsPersistence.h"
#include "app/settings/SettingsSchema.h"
#include "app/stats/StatsController.h"
#include "app/tips/TipListController.h"
#include "base/FileWriter.h"
#include "base/GermanFormat.h"
#include "base/Text.h"
#include "core/tips/TipLine.h"

namespace zf {

std::string withSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

std::string resolveHome(const std::string& programDir, const std::string& userDataDir) {
    if (!programDir.empty() && isDirectoryWritable(programDir)) return withSlash(programDir);
    return withSlash(userDataDir);
}

bool writeBundledHistory(const std::string& path, std::string* error) {
    const auto data = bundledHistory();
    if (!writeFileAtomic(path, std::string_view(reinterpret_cast<const char*>(data.data()), data.size()), error)) {
        if (error)
            *error =
                "Die mitgelieferten Ziehungen konnten nicht nach " + path + " geschrieben werden (" + *error + ").";
        return false;
    }
    return true;
}

AppController::AppController(Model& m, Services& s, Browser& browser, TipListController& tips, StatsController& stats,
                             UpdateController* update)
    : m_(m), s_(s), browser_(browser), tips_(tips), stats_(stats), update_(update) {}

void AppController::drawCharts() {
    if (!chartsAtStart) return;
    // Quietly: a missing Keno.dat is reported by the draw browser.
    stats_.showNumbers(false);
    // At the first start the Plus 5 chart comes before Keno.dat exists; draw it once the draws are there.
    if (m_.plus5Chart == ChartData{}) stats_.showPlus5Digits(6, false);
}

void AppController::loadTipList() {
    const std::string path = m_.home + "tipps.txt";
    tipFile_ = TipFile::Missing;
    tipBytes_.clear();
    loadedTips_.clear();
    if (!fileExists(path)) return;
    if (!readFile(path, tipBytes_)) {
        tipFile_ = TipFile::Unreadable;
        problems_.push_back("Die Tippliste " + path + " kann nicht gelesen werden; sie wird nicht überschrieben.");
        return;
    }
    tipFile_ = TipFile::Read;
    // Line by line as readTextLines does: every byte, NUL included, comes back when the list is saved.
    std::vector<std::string> lines = splitLines(tipBytes_);
    for (auto& l : lines) l = cp1252ToUtf8(l);
    const size_t odd = countOddLines(lines);
    loadedTips_ = lines;
    m_.tipLines = std::move(lines);
    if (odd)
        problems_.push_back("tipps.txt: " + std::to_string(odd) +
                            " Zeile(n) sind keine gültigen Tipps; sie bleiben unverändert in der Liste.");
    m_.notify(ChangeTips);
}

void AppController::seedDrawHistory() {
    m_.draws.setPath(m_.kenoPath());
    if (m_.draws.fileExists()) return;
    std::string error;
    if (!writeBundledHistory(m_.kenoPath(), &error)) problems_.push_back(error);
}

std::optional<std::string> AppController::start(const std::string& home, int windowHeight,
                                                std::optional<double> startDate, const StartOverrides& overrides) {
    problems_.clear();
    m_.random.setState(s_.clock.ticks());
    m_.scaledHeight = windowHeight;
    m_.winningsSum = 0;
    m_.enumerating = false;
    m_.home = withSlash(home);
    if (!isDirectoryWritable(m_.home))
        problems_.push_back("Das Programmverzeichnis " + m_.home +
                            " ist nicht beschreibbar: Ziehungen und Tipps können dort nicht gespeichert werden.");
    m_.attemptLimit = 100000;
    m_.hitCheckOn = false;
    m_.calculating = false;

    for (const auto& p : s_.settings.loadProblems()) problems_.push_back(p);
    s_.settings.createKey(kSettingsKey);
    const auto stopped = restoreSettings(m_, s_.settings, s_.clock.now());
    if (stopped)
        problems_.push_back("Die Einstellung \"" + *stopped +
                            "\" hat einen falschen Typ; sie und die folgenden Einstellungen wurden nicht geladen.");
    const auto wrong = wrongTypedSettings(s_.settings);
    for (const auto& name : wrong) {
        const SettingDef* d = findSetting(name);
        if (d && d->group == 'B')
            problems_.push_back("Die Einstellung \"" + name + "\" hat einen falschen Typ und wurde nicht geladen.");
    }
    // The close writes every value: the user's file, with what could not be used, is kept aside first.
    if (stopped || !wrong.empty()) s_.settings.keepStoredCopy();

    std::optional<std::string> overrideError;
    for (const auto& [name, value] : overrides.settings)
        if (auto e = applySettingText(m_, name, value); e && !overrideError) overrideError = e;
    if (overrides.statsStart) m_.setStatsStart(*overrides.statsStart);
    m_.hitCheckOn = true;
    m_.attemptLimit = m_.num(Num::AttemptThousands).pos * 1000;
    if (m_.proxyHost.empty()) m_.proxyPort = "80";

    loadTipList();
    if (players_)
        for (auto& p : players_->load()) problems_.push_back(std::move(p));
    m_.entryEnabled = true;
    m_.enumerateVisible = true;
    m_.drawFileName = "Keno.dat";
    m_.winSoundPath = m_.home + "yippee.wav";

    const double today = startDate ? *startDate : std::floor(s_.clock.now());
    m_.setBrowseDate(today);
    if (m_.statsStart > m_.browseDate) m_.setStatsStart(today - 365);
    m_.workDate = m_.statsStart;

    if (chartsAtStart) stats_.showPlus5Digits(6, false);
    seedDrawHistory();
    if (m_.draws.refresh())
        for (const auto& t : m_.draws.issueTexts()) problems_.push_back(t);
    if (updateAtStart && update_)
        update_->runUpdate();
    else
        browser_.seekDate();
    missingReported_ = !m_.draws.fileExists();
    drawCharts();
    m_.notify(ChangeAll);
    return overrideError;
}

void AppController::runStartUpdate() {
    if (!update_) return;
    update_->runUpdate();
    drawCharts();
    m_.notify(ChangeAll);
}

void AppController::activate() {
    // Closing the message box activates the window again: say it once, not in an endless loop.
    m_.draws.setPath(m_.kenoPath());
    const bool missing = !m_.draws.fileExists();
    if (!(missing && missingReported_)) browser_.seekDate();
    missingReported_ = missing;
    drawCharts();
    applyStoredStake();
}

void AppController::applyStoredStake() {
    m_.stakeItem = m_.stakeSystem >= 0 && m_.stakeSystem <= 3 ? m_.stakeSystem : -1;
    tips_.applyStake();
    m_.notify(ChangeOptions);
}

namespace {

// Equal but for blank lines: the hit check drops those from the list, which is no change of the user's.
bool sameTips(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    auto blank = [](const std::string& l) { return trimView(l).empty(); };
    size_t i = 0, j = 0;
    for (;;) {
        while (i < a.size() && blank(a[i])) ++i;
        while (j < b.size() && blank(b[j])) ++j;
        if (i == a.size() || j == b.size()) return i == a.size() && j == b.size();
        if (a[i++] != b[j++]) return false;
    }
}

} // namespace

bool AppController::saveTipList(std::vector<std::string>& failures) {
    const std::string path = m_.home + "tipps.txt";
    const bool changed = !sameTips(m_.tipLines, loadedTips_);
    if (tipFile_ == TipFile::Unreadable) {
        failures.push_back("Die Tippliste " + path + " konnte beim Start nicht gelesen werden und bleibt unverändert" +
                           (changed ? "; die Tipps der Liste wurden nicht gespeichert." : "."));
        return !changed;
    }
    // A missing file is made on the first close, so the folder shows where the tips go.
    if (!changed && tipFile_ == TipFile::Read) return true;
    // The file must still be the one the start read, or another program's tips would go.
    const std::string bytes = textLinesBytes(m_.tipLines);
    std::string error;
    const auto expected = tipFile_ == TipFile::Read ? std::optional<std::string>(tipBytes_) : std::nullopt;
    switch (writeIfUnchanged(path, expected, bytes, &error)) {
    case GuardedWrite::ChangedMeanwhile:
        if (!changed) return true;
        failures.push_back("Die Tippliste " + path +
                           " wurde inzwischen von einem anderen Programm geändert und bleibt so; die Tipps der "
                           "Liste wurden nicht gespeichert.");
        return false;
    case GuardedWrite::Failed:
        failures.push_back("Die Tippliste konnte nicht nach " + path + " geschrieben werden (" + error + ").");
        return false;
    case GuardedWrite::Written:
        break;
    }
    // A second close compares with what is stored now.
    tipFile_ = TipFile::Read;
    tipBytes_ = bytes;
    loadedTips_ = m_.tipLines;
    return true;
}

bool AppController::close(bool writeSettings, bool writeTips, bool writePlayers) {
    bool ok = true;
    std::vector<std::string> failures;
    if (writeSettings) {
        saveSettings(m_, s_.settings, s_.clock.now());
        std::string error;
        if (!s_.settings.flush(&error)) {
            ok = false;
            failures.push_back(error);
        }
    }
    // The tip list is written even when the settings could not be: losing it would be worse.
    if (writeTips && !saveTipList(failures)) ok = false;
    // So are the players, whatever happened before.
    if (writePlayers && players_ && !players_->save(failures)) ok = false;
    if (!failures.empty()) {
        std::string text;
        for (const auto& f : failures) text += (text.empty() ? "" : "\n") + f;
        s_.prompter.message(text);
    }
    return ok;
}

std::string AppController::problemReport() const {
    if (problems_.empty()) return {};
    std::string text = "Beim Start konnte nicht alles verwendet werden:";
    for (const auto& p : problems_) text += "\n- " + p;
    return text;
}

} // namespace zf
