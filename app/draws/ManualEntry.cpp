#include "app/draws/ManualEntry.h"

#include <cmath>

#include "app/Model.h"
#include "app/draws/Browser.h"
#include "base/GermanFormat.h"
#include "core/generator/NumberChoice.h"

namespace zf {

void prepareDrawEntry(NumberChoice& f, double proposedDate) {
    f.saveListVisible = false;
    f.loadListVisible = false;
    f.randomVisible = false;
    f.computeVisible = false;
    f.entryVisible = true;
    f.entryDate = proposedDate;
    f.randomMax = 20;
    f.untickAll(BoxColour::Info);
    f.caption = "Zahlen wählen und mit OK bestätigen";
    f.status.clear(); // no weight text left from an earlier use of the dialog
}

void endDrawEntry(NumberChoice& f) {
    f.entryVisible = false;
    f.computeVisible = true;
    f.saveListVisible = true;
    f.loadListVisible = true;
    f.randomVisible = false;
    for (int k = 1; k <= 70; ++k) f.colour[static_cast<size_t>(k)] = BoxColour::Info;
    f.caption = "Zahlen für Berechnung wählen";
}

std::string ManualEntry::refusal(const NumberChoice& f) const {
    const size_t count = f.tickedNumbers().size();
    if (count != 20)
        return "Eine Ziehung hat genau 20 Zahlen, angekreuzt " + std::string(count == 1 ? "ist " : "sind ") +
               std::to_string(count) + ".\nBitte korrigieren Sie die Auswahl.";
    if (!std::isfinite(f.entryDate)) return "Bitte wählen Sie das Datum der Ziehung.";
    const double date = std::floor(f.entryDate);
    if (date < kFirstDrawDay)
        return "Das Datum " + formatDate(date) + " liegt vor der ersten Ziehung am " + formatDate(kFirstDrawDay) + ".";
    // A draw dated ahead would make the internet update start after it and skip the days between.
    if (date > std::floor(s_.clock.now())) return "Das Datum " + formatDate(date) + " liegt in der Zukunft.";
    for (int d : f.entryDigits)
        if (d < 0 || d > 9) return "Die Plus 5-Gewinnzahl besteht aus fünf Ziffern von 0 bis 9.";
    return {};
}

bool ManualEntry::enterDraw() {
    m_.draws.setPath(m_.kenoPath());
    std::string error;
    if (!m_.draws.createEmptyIfMissing(&error) || !m_.draws.refresh(&error)) {
        s_.prompter.message("Keno.dat kann nicht geöffnet werden.\n" + error);
        return false;
    }
    const double last = m_.draws.lastDate();
    m_.workDate = last;
    NumberChoice& f = m_.numberChoice;
    prepareDrawEntry(f, last > 0 ? last + 1 : std::floor(s_.clock.now()));

    bool stored = false;
    double storedDate = 0;
    for (;;) {
        const ModalResult result = s_.dialogs.generator.numberDialog(f);
        f.closed();
        if (result != ModalResult::Ok) break;
        // Refused entries go back to the dialog with the user's choice still in it.
        if (const std::string why = refusal(f); !why.empty()) {
            s_.prompter.message(why);
            continue;
        }
        DrawRecord n;
        n.datum = std::floor(f.entryDate);
        const std::vector<int> numbers = f.tickedNumbers();
        for (size_t i = 0; i < 20; ++i) n.zahl[i] = static_cast<uint8_t>(numbers[i]);
        for (size_t i = 0; i < 5; ++i) n.zahl5[i] = static_cast<uint8_t>(f.entryDigits[i]);
        n.flags = 0;

        // The file may have changed while the dialog was open (an update running meanwhile).
        bool ok = m_.draws.refresh(&error);
        if (ok && m_.draws.lastDate() > 0 && n.datum <= m_.draws.lastDate()) {
            ok = m_.draws.insertOrReplace(n, &error);
            if (ok) m_.workDate = m_.draws.lastDate();
        } else if (ok) {
            ok = m_.draws.append(n, &error);
            if (ok) m_.workDate = n.datum;
        }
        if (!ok)
            s_.prompter.message("Die Ziehung vom " + formatDate(n.datum) +
                                " konnte nicht gespeichert werden; Keno.dat bleibt unverändert.\n" + error);
        stored = ok;
        storedDate = n.datum;
        break;
    }
    endDrawEntry(f);
    if (stored) {
        // The entered draw is what the user wants to see, with a word that it is in the history.
        m_.setBrowseDate(storedDate);
        m_.notify(ChangeDates);
        browser_.seekDate();
        m_.setStatus(1, "Die Ziehung vom " + formatDate(storedDate) + " wurde gespeichert.");
    } else {
        browser_.next();
    }
    return stored;
}

} // namespace zf
