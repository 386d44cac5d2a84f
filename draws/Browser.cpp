#include "draws/Browser.h"

#include "app/GermanFormat.h"
#include "app/Model.h"
#include "evaluation/TipCheck.h"

namespace zf {

std::string drawLine(const DrawRecord& r, int separatorBlanks) {
    std::string s = formatDrawDate(r.datum);
    s.append(static_cast<size_t>(separatorBlanks), ' ');
    for (uint8_t n : r.zahl) s += "  " + std::to_string(n);
    return s;
}

std::string plus5Line(const DrawRecord& r, int separatorBlanks) {
    std::string s = formatDrawDate(r.datum);
    s.append(static_cast<size_t>(separatorBlanks), ' ');
    for (uint8_t d : r.zahl5) s += r.hasPlus5() ? "  " + std::to_string(d) : std::string("  -");
    return s;
}

void Browser::makeCurrent(const DrawRecord& r, int drawSeparator, int plus5Separator) {
    m_.Datum1 = r.datum;
    int sum = 0;
    for (size_t i = 0; i < 20; ++i) {
        m_.Zahl[i + 1] = r.zahl[i];
        sum += r.zahl[i];
    }
    int qs = 0;
    for (size_t i = 0; i < 5; ++i) {
        m_.Zahl5[i + 1] = r.zahl5[i];
        qs += r.zahl5[i];
    }
    m_.Datum1HasPlus5 = r.hasPlus5();
    m_.Label29 = drawLine(r, drawSeparator);
    m_.Label13 = "Quersumme: " + std::to_string(sum);
    m_.Label30 = plus5Line(r, plus5Separator);
    // A draw from the bundled history has no known Plus 5 number.
    m_.Label31 = r.hasPlus5() ? "QS: " + std::to_string(qs) : std::string("QS: -");
}

bool Browser::loadDraws(bool reportMissing) {
    m_.draws.setPath(m_.kenoPath());
    std::string error;
    if (m_.draws.refresh(&error)) return true;
    if (reportMissing) s_.prompter.message(error);
    return false;
}

void Browser::SpeedButton5Click() {
    m_.draws.setPath(m_.kenoPath());
    if (!m_.draws.fileExists()) {
        s_.prompter.message("Lesen Sie zuerst die Daten der Ziehungen ein");
        return;
    }
    if (!loadDraws(true)) return;
    const auto& recs = m_.draws.records();
    const double target = m_.DateTimePicker1;
    m_.aktDatum = target;
    m_.Position = 1;
    size_t read = 0;
    if (!recs.empty()) {
        read = 1;
        if (recs[0].datum >= target) makeCurrent(recs[0], 3);
        while (read < recs.size() && recs[read - 1].datum < target) {
            ++read;
            ++m_.Position;
            if (recs[read - 1].datum >= target) makeCurrent(recs[read - 1]);
        }
    }
    m_.Position -= 1;
    if (read == recs.size() && read > 0 && recs[read - 1].datum > 0) makeCurrent(recs[read - 1]);
    m_.setDateTimePicker1(m_.Datum1);
    m_.Label35 = m_.Label29;
    m_.notify(ChangeDraw | ChangeDates);
    Komplettcheck(m_, s_.sound);
}

void Browser::SpeedButton6Click() {
    if (!loadDraws(true)) return;
    const auto& recs = m_.draws.records();
    m_.Position = m_.Position - 1 < 0 ? 0 : m_.Position - 1;
    if (!recs.empty()) {
        const size_t last = std::min<size_t>(static_cast<size_t>(m_.Position), recs.size() - 1);
        makeCurrent(recs[last]);
        m_.aktDatum = m_.Datum1;
    }
    m_.setDateTimePicker1(m_.Datum1);
    m_.Label35 = m_.Label29;
    m_.notify(ChangeDraw | ChangeDates);
    Komplettcheck(m_, s_.sound);
}

void Browser::SpeedButton7Click() {
    if (!loadDraws(true)) return;
    if (m_.DateTimePicker1 < m_.DateTimePicker2) m_.setDateTimePicker2(m_.DateTimePicker1 - 365);
    const auto& recs = m_.draws.records();
    if (!recs.empty()) {
        const size_t wanted = static_cast<size_t>(m_.Position < 0 ? 0 : m_.Position) + 1;
        const size_t last = std::min(wanted, recs.size() - 1);
        m_.Position = static_cast<int>(last);
        makeCurrent(recs[last]);
        m_.aktDatum = m_.Datum1;
    }
    m_.setDateTimePicker1(m_.Datum1);
    m_.Label35 = m_.Label29;
    m_.notify(ChangeDraw | ChangeDates);
    Komplettcheck(m_, s_.sound);
}

void Browser::BitBtn4Click() {
    if (!loadDraws(true)) return;
    std::string error;
    if (!m_.draws.deleteDate(m_.Datum1, &error)) {
        s_.prompter.message("Die Ziehung konnte nicht gelöscht werden. Keno.dat bleibt unverändert.\n" + error);
        return;
    }
    SpeedButton5Click();
}

} // namespace zf
