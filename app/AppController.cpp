#include "app/AppController.h"

#include <cmath>

#include "app/GermanFormat.h"
#include "app/Model.h"
#include "app/SettingsTable.h"
#include "app/Text.h"
#include "draws/BundledHistory.h"
#include "evaluation/TipCheck.h"
#include "tips/TipLine.h"

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
        if (error) *error = "Die mitgelieferten Ziehungen konnten nicht nach " + path + " geschrieben werden (" +
                            *error + ").";
        return false;
    }
    return true;
}

AppController::AppController(Model& m, Services& s) : m_(m), s_(s), browser_(m, s) {}

void AppController::loadTipList() {
    const std::string path = m_.Home + "tipps.txt";
    if (!fileExists(path)) return;
    std::vector<std::string> lines;
    if (!readTextLines(path, lines)) {
        problems_.push_back("Die Tippliste " + path + " kann nicht gelesen werden.");
        return;
    }
    size_t odd = 0;
    for (auto& l : lines) {
        // A NUL byte cannot be shown in a list; it becomes a blank.
        for (char& c : l) if (c == '\0') c = ' ';
        if (!isTipLine(l)) ++odd;
    }
    m_.ListBox1 = std::move(lines);
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

void AppController::FormShow(const std::string& home, int windowHeight, std::optional<double> startDate) {
    problems_.clear();
    m_.random.setState(s_.clock.ticks());
    m_.Groesse = windowHeight;
    m_.gewinnsumme = 0;
    m_.erzeugen = false;
    m_.Home = withSlash(home);
    if (!isDirectoryWritable(m_.Home))
        problems_.push_back("Das Programmverzeichnis " + m_.Home +
                            " ist nicht beschreibbar: Ziehungen und Tipps können dort nicht gespeichert werden.");
    m_.LaufMax = 100000;
    m_.sortieren = false;
    m_.Berechnunglaeuft = false;

    for (const auto& p : s_.settings.loadProblems()) problems_.push_back(p);
    s_.settings.createKey(kSettingsKey);
    if (auto stopped = restoreSettings(m_, s_.settings, s_.clock.now()))
        problems_.push_back("Die Einstellung \"" + *stopped +
                            "\" hat einen falschen Typ; sie und die folgenden Einstellungen wurden nicht geladen.");

    if (afterRestore) afterRestore();
    m_.sortieren = true;
    m_.LaufMax = m_.UpDown[7].pos * 1000;
    if (m_.ProxyHostEdit.empty()) m_.ProxyPortEdit = "80";

    loadTipList();
    m_.BitBtn8Enabled = true;
    m_.ErzeugenBtnVisible = true;
    m_.ZahlenFile = "Keno.dat";
    m_.SoundName = m_.Home + "yippee.wav";

    const double today = startDate ? *startDate : std::floor(s_.clock.now());
    m_.setDateTimePicker1(today);
    if (m_.DateTimePicker2 > m_.DateTimePicker1) m_.setDateTimePicker2(today - 365);
    m_.aktDatum = m_.DateTimePicker2;

    if (plus5Chart) plus5Chart();
    seedDrawHistory();
    if (m_.draws.refresh())
        for (const auto& t : m_.draws.issueTexts()) problems_.push_back(t);
    if (updateDraws) updateDraws();
    else browser_.SpeedButton5Click();
    missingReported_ = !m_.draws.fileExists();
    if (numberChart) numberChart();
    m_.notify(ChangeAll);
}

void AppController::FormActivate() {
    // Closing the message box activates the window again: say it once, not in an endless loop.
    m_.draws.setPath(m_.kenoPath());
    const bool missing = !m_.draws.fileExists();
    if (!(missing && missingReported_)) browser_.SpeedButton5Click();
    missingReported_ = missing;
    if (numberChart) numberChart();
    applySystem();
}

void AppController::applySystem() {
    m_.ComboBox1 = m_.System >= 0 && m_.System <= 3 ? m_.System : -1;
    if (applyStake) applyStake();
    m_.notify(ChangeOptions);
}

bool AppController::FormClose(bool writeSettings) {
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
    std::string error;
    if (!writeTextLines(m_.Home + "tipps.txt", m_.ListBox1, &error)) {
        ok = false;
        failures.push_back("Die Tippliste konnte nicht nach " + m_.Home + "tipps.txt geschrieben werden (" + error +
                           ").");
    }
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
