#include "draws/Browser.h"

#include "app/Model.h"
#include "base/GermanFormat.h"
#include "evaluation/TipCheck.h"

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

void Browser::seekDate() {
    m_.draws.setPath(m_.kenoPath());
    if (!m_.draws.fileExists()) {
        s_.prompter.message("Lesen Sie zuerst die Daten der Ziehungen ein");
        return;
    }
    if (!loadDraws(true)) return;
    const auto& recs = m_.draws.records();
    const double target = m_.browseDate;
    m_.workDate = target;
    m_.drawIndex = 1;
    size_t read = 0;
    if (!recs.empty()) {
        read = 1;
        if (recs[0].datum >= target) makeCurrent(recs[0], 3);
        while (read < recs.size() && recs[read - 1].datum < target) {
            ++read;
            ++m_.drawIndex;
            if (recs[read - 1].datum >= target) makeCurrent(recs[read - 1]);
        }
    }
    m_.drawIndex -= 1;
    if (read == recs.size() && read > 0 && recs[read - 1].datum > 0) makeCurrent(recs[read - 1]);
    m_.setBrowseDate(m_.drawDate);
    m_.drawTextMain = m_.drawText;
    m_.notify(ChangeDraw | ChangeDates);
    checkAllTips(m_, s_.sound);
}

void Browser::previous() {
    if (!loadDraws(true)) return;
    const auto& recs = m_.draws.records();
    m_.drawIndex = m_.drawIndex - 1 < 0 ? 0 : m_.drawIndex - 1;
    if (!recs.empty()) {
        const size_t last = std::min<size_t>(static_cast<size_t>(m_.drawIndex), recs.size() - 1);
        makeCurrent(recs[last]);
        m_.workDate = m_.drawDate;
    }
    m_.setBrowseDate(m_.drawDate);
    m_.drawTextMain = m_.drawText;
    m_.notify(ChangeDraw | ChangeDates);
    checkAllTips(m_, s_.sound);
}

void Browser::next() {
    if (!loadDraws(true)) return;
    if (m_.browseDate < m_.statsStart) m_.setStatsStart(m_.browseDate - 365);
    const auto& recs = m_.draws.records();
    if (!recs.empty()) {
        const size_t wanted = static_cast<size_t>(m_.drawIndex < 0 ? 0 : m_.drawIndex) + 1;
        const size_t last = std::min(wanted, recs.size() - 1);
        m_.drawIndex = static_cast<int>(last);
        makeCurrent(recs[last]);
        m_.workDate = m_.drawDate;
    }
    m_.setBrowseDate(m_.drawDate);
    m_.drawTextMain = m_.drawText;
    m_.notify(ChangeDraw | ChangeDates);
    checkAllTips(m_, s_.sound);
}

void Browser::deleteCurrent() {
    if (!loadDraws(true)) return;
    std::string error;
    if (!m_.draws.deleteDate(m_.drawDate, &error)) {
        s_.prompter.message("Die Ziehung konnte nicht gelöscht werden. Keno.dat bleibt unverändert.\n" + error);
        return;
    }
    seekDate();
}

} // namespace zf
