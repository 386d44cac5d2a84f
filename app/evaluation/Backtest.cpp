#include "app/evaluation/Backtest.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <utility>

#include "app/Model.h"
#include "app/draws/Browser.h"
#include "app/evaluation/TipCheck.h"
#include "app/generator/GeneratorController.h"
#include "base/GermanFormat.h"
#include "base/Text.h"
#include "core/draws/DrawStore.h"
#include "core/evaluation/ChanceView.h"

namespace zf {

namespace {
constexpr const char* kLuckyCaption = "Ihre GlücksZahl (1-99999999)?";
constexpr const char* kLuckyPrompt = "Geben Sie Ihre GlücksZahl für den Zufallsgenerator ein!";
constexpr const char* kLuckyError = "Fehler bei Eingabe der ZufallsZahl";

// What the window is told at every progress step and at the end.
constexpr unsigned kShown = ChangeDraw | ChangeDates | ChangeTips | ChangeHits | ChangeStatus | ChangeOptions;

// The recurrence tests compare with this many draws ahead of the base (Button11: behind it).
int drawsCompared(BacktestKind k) {
    switch (k) {
    case BacktestKind::NextDraw:
        return 1;
    case BacktestKind::SecondNextDraw:
        return 2;
    default:
        return 3;
    }
}

std::string tipLineOf(const DrawRecord& r) {
    std::string line;
    char buf[8];
    for (size_t i = 0; i < 20; ++i) {
        std::snprintf(buf, sizeof buf, "%.2d", r.zahl[i]);
        if (i > 0) line += ',';
        line += buf;
    }
    return line;
}
} // namespace

void Backtest::stop() {
    if (!running_) return;
    stopRequested_ = true;
    if (generator_.running() && m_.runState == GeneratorRun::Running) generator_.toggleRun();
}

bool Backtest::run(BacktestKind kind) {
    if (running_ || generator_.running()) return false;
    running_ = true;
    stopRequested_ = false;
    report_.clear();
    madeTips_.clear();
    madeTipsHeading_.clear();
    record_ = TipCheckRecord{};
    comparison_.reset();
    comparisonReport_.clear();
    m_.backtestRunning = kind;
    // CheckBox20 "Liste bearbeiten" would open the number dialog before every generator run.
    const bool editPool = m_.on(Opt::EditPool);
    m_.on(Opt::EditPool) = false;
    m_.notify(ChangeOptions);

    BacktestTotals t;
    Outcome outcome = Outcome::Failed;
    std::vector<std::string> lines;
    const bool forGenerator = isGeneratorBacktest(kind);
    std::optional<int32_t> lucky;
    if (forGenerator) {
        // The proposal comes from the program's one random generator, as every random number does.
        const std::string proposal = std::to_string(m_.random.below(99999));
        const auto answer = s_.prompter.input(kLuckyCaption, kLuckyPrompt, proposal);
        // Cancel gives the proposal back: the test goes on with it.
        lucky = GeneratorController::luckyNumber(answer ? *answer : proposal);
        if (!lucky)
            s_.prompter.message(kLuckyError);
        else
            generator_.seed(*lucky);
    }

    if (!forGenerator || lucky) {
        // The test fills the tip list with its own tips; the user's list comes back afterwards.
        std::vector<std::string> userTips = m_.tipLines;
        const int userSelection = m_.selectedTip;
        double firstBase = 0;
        listener_ = std::exchange(m_.listener, nullptr);
        lastPump_ = std::chrono::steady_clock::now();
        try {
            if (loadHistory()) {
                browser_.seekDate(); // the first base draw
                firstBase = m_.drawDate;
                // Tips made for the newest draw could not be tested: make none.
                if (forGenerator && !laterDrawExists())
                    outcome = Outcome::NothingToTest;
                else
                    outcome = forGenerator ? generatorTest(kind, *lucky, t) : recurrenceTest(kind, t);
                if (outcome == Outcome::Done && t.passes == 0) outcome = Outcome::NothingToTest;
                if (outcome == Outcome::Done && compareWithChance) compare(kind, t);
            }
        } catch (const std::exception& e) {
            outcome = Outcome::Failed;
            s_.prompter.message(forGenerator ? std::string(kLuckyError)
                                             : std::string("Der Test wurde abgebrochen: ") + e.what());
        }
        m_.listener = std::exchange(listener_, nullptr);
        m_.tipLines = std::move(userTips);
        m_.selectedTip = userSelection;
        m_.hitCheckOn = true;
        checkAllTips(m_, s_.sound); // the hits of the user's tips against the draw shown now
        if (outcome == Outcome::NothingToTest) tellNothingToTest(kind, firstBase);
    }

    if (outcome == Outcome::Done) {
        if (kind == BacktestKind::TipsUntilToday) {
            lines = shortReport(t, m_.num(Num::KenoType).pos);
        } else {
            lines = longReport(t);
            if (hasPassSums(kind))
                for (auto& l : passSumLines(t)) lines.push_back(std::move(l));
        }
        if (forGenerator) {
            lines.push_back(madeTipsHeading_);
            for (auto& l : madeTips_) lines.push_back(std::move(l));
        }
    }
    if (!forGenerator) {
        // The recurrence tests leave the Keno type at 10, whatever it was before.
        UpDownState& kenoType = m_.num(Num::KenoType);
        kenoType.max = 10;
        kenoType.set(10);
    }
    m_.on(Opt::EditPool) = editPool;
    m_.backtestRunning.reset();
    running_ = false;
    if (outcome == Outcome::Stopped)
        m_.setStatus(1, "Test gestoppt: kein Bericht geschrieben, Analyse.txt bleibt unverändert");
    const bool written = outcome == Outcome::Done && writeReport(std::move(lines));
    if (written && comparison_) writeComparison();
    m_.notify(kShown);
    return written;
}

bool Backtest::loadHistory() {
    if (!browser_.readHistory()) return false;
    if (m_.draws.records().empty()) {
        s_.prompter.message("Keno.dat enthält keine Ziehungen: der Test hat nichts zu prüfen.");
        return false;
    }
    return true;
}

bool Backtest::generate(int32_t lucky) {
    generator_.seed(lucky);
    if (!generator_.runToEnd()) {
        // The generator said why in the status bar; every further base draw would fail the same way.
        if (!stopRequested_)
            s_.prompter.message("Der Test wurde beendet: der Tippgenerator konnte keine Tipps berechnen.\n" +
                                m_.status[1]);
        return false;
    }
    return true;
}

bool Backtest::stepForward() {
    const int before = m_.drawIndex;
    browser_.next();
    return m_.drawIndex != before;
}

bool Backtest::laterDrawExists() const {
    const auto& recs = m_.draws.records();
    for (size_t i = static_cast<size_t>(std::max(m_.drawIndex, 0)) + 1; i < recs.size(); ++i)
        if (DrawStore::dateValid(recs[i].datum)) return true;
    return false;
}

void Backtest::tellNothingToTest(BacktestKind kind, double firstBase) {
    const std::string noReport = " Es wurde kein Bericht geschrieben, Analyse.txt bleibt unverändert.";
    if (kind == BacktestKind::LastThreeDraws)
        s_.prompter.message("Keno.dat enthält zu wenige Ziehungen für diesen Test: jede getestete Ziehung braucht "
                            "drei Ziehungen vor ihr." +
                            noReport);
    else
        s_.prompter.message("Nach der Ziehung vom " + formatDate(firstBase) +
                            " gibt es nicht genug Ziehungen, an denen sich der Test prüfen lässt. Wählen Sie ein "
                            "früheres Datum." +
                            noReport);
}

bool Backtest::stepBack() {
    const int before = m_.drawIndex;
    browser_.previous();
    return m_.drawIndex != before;
}

void Backtest::progress(const BacktestTotals& t, bool force) {
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - lastPump_ < pumpEvery) return;
    lastPump_ = now;
    m_.setStatus(1, "Test ab Ziehung vom " + formatDate(baseDate_) + ": " + std::to_string(t.passes) + " Durchläufe");
    showProgress();
}

void Backtest::showProgress() {
    m_.listener = std::exchange(listener_, nullptr);
    m_.notify(kShown);
    if (eventPump) eventPump();
    listener_ = std::exchange(m_.listener, nullptr);
}

Backtest::Outcome Backtest::generatorTest(BacktestKind kind, int32_t lucky, BacktestTotals& t) {
    baseDate_ = m_.drawDate;
    if (kind == BacktestKind::TipsUntilToday) {
        if (!generate(lucky)) return stopRequested_ ? Outcome::Stopped : Outcome::Failed;
        if (stopRequested_) return Outcome::Stopped;
        madeTipsHeading_ = "Getestete Tipps:";
        madeTips_ = m_.tipLines;
        while (stepForward()) {
            ++t.passes;
            t.add(m_.hitStats, m_.num(Num::KenoType).pos);
            recordPass();
            progress(t);
            if (stopRequested_) return Outcome::Stopped;
        }
        return Outcome::Done;
    }
    for (;;) {
        baseDate_ = m_.drawDate;
        if (!generate(lucky)) return stopRequested_ ? Outcome::Stopped : Outcome::Failed;
        if (stopRequested_) return Outcome::Stopped;
        if (!stepForward()) {
            // The tips made for the newest draw are for the draw to come.
            madeTipsHeading_ = "Tipps für die Ziehung nach dem " + formatDate(m_.drawDate) + ":";
            madeTips_ = m_.tipLines;
            return Outcome::Done;
        }
        ++t.passes;
        t.add(m_.hitStats, m_.num(Num::KenoType).pos);
        recordPass();
        progress(t);
        if (stopRequested_) return Outcome::Stopped;
    }
}

void Backtest::replaceTipList() {
    const auto& records = m_.draws.records();
    const size_t base = static_cast<size_t>(m_.drawIndex);
    m_.tipLines.assign(1, base < records.size() ? tipLineOf(records[base]) : std::string());
    m_.hits.clear();
    m_.selectedTip = -1;
    m_.notify(ChangeTips | ChangeHits);
}

Backtest::Outcome Backtest::recurrenceTest(BacktestKind kind, BacktestTotals& t) {
    // The hit check compares all 20 numbers of the one tip line.
    UpDownState& kenoType = m_.num(Num::KenoType);
    kenoType.max = 20;
    kenoType.set(20);
    m_.hitCheckOn = true;
    const int compared = drawsCompared(kind);
    const bool backwards = kind == BacktestKind::LastThreeDraws;
    for (;;) {
        const int base = m_.drawIndex;
        const int newest = static_cast<int>(m_.draws.records().size()) - 1;
        baseDate_ = m_.drawDate;
        if (backwards ? base < compared : base + compared > newest) {
            // Forward: no later base has its draws either. Backward: the next base may have them.
            if (!backwards || !stepForward()) return Outcome::Done;
            continue;
        }
        replaceTipList();
        int32_t passSum = 0;
        for (int i = 1; i <= compared; ++i) {
            if (backwards)
                stepBack();
            else
                stepForward();
            // Button7 to Button9 count only the last draw they step to.
            if (hasPassSums(kind) || i == compared) {
                t.add(m_.hitStats, 20);
                if (!m_.hits.empty()) passSum += m_.hits.front();
            }
        }
        ++t.passes;
        // On to the draw after the base, the next base.
        if (backwards)
            for (int i = 0; i <= compared; ++i) stepForward();
        else
            for (int i = 1; i < compared; ++i) stepBack();
        if (hasPassSums(kind)) t.notePassSum(passSum, m_.drawDate);
        progress(t);
        if (stopRequested_) return Outcome::Stopped;
        if (m_.drawIndex <= base) return Outcome::Done; // the base was the newest draw
    }
}

bool Backtest::writeReport(std::vector<std::string> lines) {
    const std::string path = m_.home + kReportFile;
    std::string error;
    if (!writeTextLines(path, lines, &error)) {
        s_.prompter.message("Der Bericht " + path + " konnte nicht gespeichert werden (" + error +
                            "). Eine ältere Analyse.txt bleibt unverändert.");
        return false;
    }
    report_ = std::move(lines);
    m_.setStatus(1, "Bericht gespeichert in " + path);
    if (!s_.shell.open(path))
        s_.prompter.message("Der Bericht wurde gespeichert, aber kein Programm konnte ihn öffnen:\n" + path);
    return true;
}

void Backtest::recordPass() {
    if (!compareWithChance) return;
    const int kenoType = m_.num(Num::KenoType).pos;
    std::vector<Tip70> tips;
    tips.reserve(m_.tipLines.size());
    for (const std::string& line : m_.tipLines) tips.push_back(countedNumbers(line, kenoType));
    record_.addPass(tips, drawnNumbers(m_.drawNumbers));
}

void Backtest::compare(BacktestKind kind, const BacktestTotals& t) {
    ChanceRun run;
    // A long comparison shows how far it is and can be stopped like the test.
    run.progress = [this](double done) {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastPump_ >= pumpEvery) {
            lastPump_ = now;
            m_.setStatus(1, "Vergleich mit dem Zufall: " + std::to_string(static_cast<int>(done * 100)) + " %");
            showProgress();
        }
        return !stopRequested_;
    };
    if (isGeneratorBacktest(kind))
        comparison_ = compareGenerator(kind, record_, m_.num(Num::KenoType).pos, m_.stakeItem, run);
    else
        comparison_ = compareRecurrence(kind, t, run);
    record_ = TipCheckRecord{};
}

void Backtest::writeComparison() {
    const std::string path = m_.home + kChanceFile;
    std::vector<std::string> lines = comparisonLines(*comparison_);
    std::string error;
    if (writeTextLines(path, lines, &error))
        comparisonReport_ = std::move(lines);
    else
        s_.prompter.message("Der Vergleich mit dem Zufall " + path + " konnte nicht gespeichert werden (" + error +
                            "). Eine ältere Analyse-Zufall.txt bleibt unverändert.");
    if (m_.showChanceComparison && chanceView_) chanceView_->showComparison(*comparison_);
}

} // namespace zf
