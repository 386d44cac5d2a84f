#include "app/draws/ImportController.h"

#include <algorithm>
#include <cmath>

#include "app/Model.h"
#include "app/draws/Browser.h"
#include "base/GermanFormat.h"
#include "core/draws/DrawImport.h"

namespace zf {

bool DrawImporter::importDraws() {
    const FileDialogSetup setup{"txt", "Ziehungen als Text|*.txt *.csv", "", m_.home, "Ziehungen importieren"};
    const auto path = s_.prompter.openFileName(setup);
    if (!path || path->empty()) return false;
    const ImportOutcome outcome = importFile(*path);
    std::string text;
    for (const std::string& line : outcome.summary) text += (text.empty() ? "" : "\n") + line;
    s_.prompter.message(text);
    return !outcome.failed;
}

ImportOutcome DrawImporter::importFile(const std::string& path) {
    ImportOutcome out;
    const ParsedDraws parsed = readDrawFile(path, std::floor(s_.clock.now()));
    if (!parsed.error.empty()) {
        out.failed = true;
        out.summary = {parsed.error, "Es wurde nichts gespeichert."};
        return out;
    }
    if (parsed.draws.empty()) {
        out.failed = true;
        out.summary = importSummary({}, parsed.skipped);
        out.summary.insert(out.summary.begin(),
                           "Die Datei " + path + " enthält keine lesbare Ziehung; es wurde nichts gespeichert.");
        return out;
    }

    // The question comes before the rewrite; the merge looks at the file again under its lock.
    m_.draws.setPath(m_.kenoPath());
    std::string error;
    m_.draws.refresh(&error);
    std::vector<double> differing;
    size_t plus5Only = 0;
    for (const DrawRecord& r : m_.draws.records()) {
        if (!DrawStore::dateValid(r.datum)) continue;
        const auto it = std::lower_bound(parsed.draws.begin(), parsed.draws.end(), r.datum,
                                         [](const DrawRecord& d, double date) { return d.datum < date; });
        if (it != parsed.draws.end() && it->datum == r.datum && !sameDraw(r, *it)) {
            differing.push_back(r.datum);
            plus5Only += onlyPlus5Differs(r, *it);
        }
    }
    bool replace = false;
    if (!differing.empty()) {
        const char* how = plus5Only == differing.size() ? " schon mit einer anderen Plus-5-Zahl"
                          : plus5Only == 0              ? " schon mit anderen Zahlen"
                                                        : " schon mit anderen Zahlen oder einer anderen Plus-5-Zahl";
        replace = s_.prompter.questionDefaultNo(
            std::to_string(differing.size()) + (differing.size() == 1 ? " Ziehung steht" : " Ziehungen stehen") + how +
            " in Keno.dat (" + formatDate(differing.front()) + (differing.size() > 1 ? " …" : "") +
            ").\nDurch die Ziehungen aus der Datei ersetzen?");
    }

    MergeCounts counts;
    if (!m_.draws.mergeDraws(parsed.draws, replace, counts, &error)) {
        out.failed = true;
        out.summary = {"Die Ziehungen konnten nicht gespeichert werden; Keno.dat bleibt unverändert.", error};
        return out;
    }
    out.summary = importSummary(counts, parsed.skipped);
    if (counts.added + counts.replaced > 0) {
        // The newest draw becomes current, as after an update.
        m_.workDate = m_.draws.lastDate();
        m_.setBrowseDate(m_.draws.lastDate());
        m_.notify(ChangeDates);
        browser_.seekDate();
        m_.setStatus(1, std::to_string(counts.added + counts.replaced) + " Ziehungen importiert");
    }
    return out;
}

} // namespace zf
