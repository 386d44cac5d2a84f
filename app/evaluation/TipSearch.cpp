#include "app/evaluation/TipSearch.h"

#include <vector>

#include "app/Model.h"
#include "app/draws/Browser.h"
#include "app/evaluation/TipCheck.h"
#include "base/GermanFormat.h"
#include "base/Parse.h"
#include "core/stats/Statistics.h"

namespace zf {

bool TipSearch::run() {
    if (running_) return false;
    const std::string proposal = "6";
    const auto answer = s_.prompter.input("Bei wievielen Zahlen Übereinstellung stoppen?", "Tipp-Test", proposal);
    // Cancelling gives the proposal back, as the box always did.
    const std::string text = answer ? *answer : proposal;
    const auto threshold = parseInt32(text);
    if (!threshold) {
        s_.prompter.message("\"" + text + "\" ist keine ganze Zahl. Die Suche wird nicht gestartet.");
        return false;
    }

    m_.draws.setPath(m_.kenoPath());
    std::string error;
    if (!m_.draws.refresh(&error)) {
        s_.prompter.message(error);
        return false;
    }
    const stats::Window w = stats::settleWindow(m_.statsStart, m_.browseDate);
    if (w.startMoved && m_.setStatsStart(w.start)) m_.notify(ChangeDates);
    m_.windowEnd = w.end;
    m_.workDate = w.start;

    running_ = true;
    stopRequested_ = false;
    // A copy: the events the pump lets through may reload Keno.dat while the walk goes on.
    const std::vector<DrawRecord> records = m_.draws.records();
    for (const DrawRecord& r : records) {
        if (!stats::inWindow(w, r.datum, stats::StartDay::Included)) continue;
        // Shown like the browser's step shows a draw, but the browser keeps its place.
        browser_.makeCurrent(r);
        m_.drawTextMain = m_.drawText;
        m_.notify(ChangeDraw);
        if (eventPump) eventPump();
        if (stopRequested_) break;
        const int best = checkAllTips(m_, s_.sound);
        if (best < *threshold) continue;
        if (onHit) onHit(r.datum, best);
        if (!s_.prompter.questionTitled("Ein Treffer am: " + formatDate(r.datum) + "   Weiter suchen?",
                                        "Treffe in Datenbank gefunden!"))
            break; // "Nein": the later draws are skipped
    }
    running_ = false;
    browser_.next();
    return true;
}

} // namespace zf
