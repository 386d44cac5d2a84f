#include "app/draws/Browser.h"

#include "app/Model.h"
#include "app/evaluation/TipCheck.h"
#include "base/GermanFormat.h"
#include "core/draws/DrawStore.h"

namespace zf {

void Browser::makeCurrent(const DrawRecord& r, int drawSeparator, int plus5Separator) {
    m_.drawDate = r.datum;
    int sum = 0;
    for (size_t i = 0; i < 20; ++i) {
        m_.drawNumbers[i + 1] = r.zahl[i];
        sum += r.zahl[i];
    }
    int qs = 0;
    for (size_t i = 0; i < 5; ++i) {
        m_.drawPlus5[i + 1] = r.zahl5[i];
        qs += r.zahl5[i];
    }
    m_.drawHasPlus5 = r.hasPlus5();
    m_.drawText = drawLine(r, drawSeparator);
    m_.crossSumText = "Quersumme: " + std::to_string(sum);
    m_.plus5Text = plus5Line(r, plus5Separator);
    // A draw from the bundled history has no known Plus 5 number.
    m_.plus5SumText = r.hasPlus5() ? "QS: " + std::to_string(qs) : std::string("QS: -");
}

bool Browser::loadDraws(bool reportMissing) {
    m_.draws.setPath(m_.kenoPath());
    std::string error;
    if (m_.draws.refresh(&error)) return true;
    if (reportMissing) s_.prompter.message(error);
    return false;
}

bool Browser::readHistory() {
    m_.draws.setPath(m_.kenoPath());
    if (!m_.draws.fileExists()) {
        s_.prompter.message("Lesen Sie zuerst die Daten der Ziehungen ein");
        return false;
    }
    return loadDraws(true);
}

size_t Browser::readableNear(size_t i, bool forward) const {
    const auto& recs = m_.draws.records();
    if (recs.empty()) return kNone;
    i = std::min(i, recs.size() - 1);
    // Records without a readable date cannot be found by date and are stepped over; the start-up
    // reports them, and every writer keeps them.
    for (int pass = 0; pass < 2; ++pass, forward = !forward)
        for (size_t k = i; k < recs.size(); k = forward ? k + 1 : k - 1)
            if (DrawStore::dateValid(recs[k].datum)) return k;
    return kNone;
}

void Browser::show(size_t i, int drawSeparator) {
    const DrawRecord& r = m_.draws.records()[i];
    makeCurrent(r, drawSeparator);
    m_.drawIndex = static_cast<int>(i);
    if (!DrawStore::numbersValid(r))
        s_.prompter.message("Die Ziehung Nr. " + std::to_string(i + 1) + " in Keno.dat (" + formatDate(r.datum) +
                            ") ist beschädigt: Zahlen außerhalb von 1 bis 70 oder doppelt. Sie wird so angezeigt, "
                            "wie sie gespeichert ist.");
}

void Browser::seekDate() {
    if (!readHistory()) return;
    const auto& recs = m_.draws.records();
    const double target = m_.browseDate;
    m_.workDate = target;
    m_.drawIndex = 0;
    // The first draw on or after the date, else the last one.
    const size_t first = m_.draws.firstOnOrAfter(target);
    const size_t found = first < recs.size() ? first : kNone;
    if (found != kNone)
        show(found, found == 0 ? 3 : 2);
    else if (const size_t last = readableNear(recs.size(), false); last != kNone)
        show(last);
    else if (!recs.empty())
        s_.prompter.message("Keno.dat enthält keine Ziehung mit lesbarem Datum.");
    m_.setBrowseDate(m_.drawDate);
    m_.drawTextMain = m_.drawText;
    m_.notify(ChangeDraw | ChangeDates);
    checkAllTips(m_, s_.sound);
}

void Browser::previous() {
    if (!loadDraws(true)) return;
    const size_t wanted = static_cast<size_t>(m_.drawIndex - 1 < 0 ? 0 : m_.drawIndex - 1);
    if (const size_t i = readableNear(wanted, false); i != kNone) {
        show(i);
        m_.workDate = m_.drawDate;
    } else {
        m_.drawIndex = static_cast<int>(wanted);
    }
    m_.setBrowseDate(m_.drawDate);
    m_.drawTextMain = m_.drawText;
    m_.notify(ChangeDraw | ChangeDates);
    checkAllTips(m_, s_.sound);
}

void Browser::next() {
    if (!loadDraws(true)) return;
    if (m_.browseDate < m_.statsStart) m_.setStatsStart(m_.browseDate - 365);
    const size_t wanted = static_cast<size_t>(m_.drawIndex < 0 ? 0 : m_.drawIndex) + 1;
    if (const size_t i = readableNear(wanted, true); i != kNone) {
        show(i);
        m_.workDate = m_.drawDate;
    }
    m_.setBrowseDate(m_.drawDate);
    m_.drawTextMain = m_.drawText;
    m_.notify(ChangeDraw | ChangeDates);
    checkAllTips(m_, s_.sound);
}

bool Browser::deleteCurrent() {
    if (!loadDraws(true)) return false;
    std::string error;
    if (!m_.draws.deleteDate(m_.drawDate, &error)) {
        s_.prompter.message("Die Ziehung konnte nicht gelöscht werden. Keno.dat bleibt unverändert.\n" + error);
        return false;
    }
    seekDate();
    return true;
}

} // namespace zf
