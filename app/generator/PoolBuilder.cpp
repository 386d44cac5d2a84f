#include "app/generator/PoolBuilder.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/Model.h"
#include "app/draws/Browser.h"
#include "app/stats/StatsController.h"
#include "base/GermanFormat.h"
#include "base/Parse.h"
#include "core/generator/NumberChoice.h"
#include "core/ports/Seams.h"
#include "core/stats/Statistics.h"

namespace zf {

RecentDraws PoolBuilder::recentDraws() {
    RecentDraws recent;
    const double remembered = m_.browseDate;
    const auto take = [&](size_t slot) {
        const auto& recs = m_.draws.records();
        if (recs.empty()) return;
        const size_t i = std::min(static_cast<size_t>(std::max(m_.drawIndex, 0)), recs.size() - 1);
        recent.numbers[slot] = recs[i].zahl;
        recent.bits[slot] = bitsOf(recs[i]);
    };
    browser_.seekDate();
    take(0);
    for (size_t slot = 1; slot < 3; ++slot) {
        // A history too short for this draw leaves it empty: the browser would show the first draw again.
        const bool earlier = m_.drawIndex > 0;
        browser_.previous();
        if (!earlier) break;
        take(slot);
    }
    m_.setBrowseDate(remembered);
    browser_.seekDate();
    return recent;
}

bool PoolBuilder::build(CandidatePool& p, const RecentDraws& recent) {
    p.reset();

    if (m_.on(Opt::RecentDrawNumbers)) {
        const int last = std::min(m_.recentDrawsItem, 2);
        for (int d = 0; d <= last; ++d)
            for (int i = 0; i < 20; ++i)
                p.put(d * 20 + 1 + i, recent.numbers[static_cast<size_t>(d)][static_cast<size_t>(i)]);
        if (last >= 0) p.w = (last + 1) * 20 + 1;
    }

    favourBlocks(p);
    p.last = p.w;

    if (m_.on(Opt::PreferNeighbours)) {
        m_.setStatus(1, "Berechnung der benachbarten Zahlen der letzten Ziehung");
        for (uint8_t x : recent.numbers[0]) {
            if (x < 1 || x > 70) continue; // a missing draw has no neighbours
            if (x > 1)
                for (int k = 0; k < 4; ++k) p.append(x - 1);
            if (x < 70)
                for (int k = 0; k < 4; ++k) p.append(x + 1);
        }
        p.last = p.w;
    }

    if (!m_.on(Opt::OnlyFavoured)) {
        for (int i = 1; i <= 70; ++i) p.put(p.w + i, i);
        p.w += 70;
    }
    p.last = p.w;

    // A draw whose hits must be at most 0 gives none of its numbers to the pool.
    const struct {
        Opt on;
        Num max;
    } exclusions[3] = {{Opt::LastDrawHits, Num::LastDrawMax},
                       {Opt::SecondDrawHits, Num::SecondDrawMax},
                       {Opt::ThirdDrawHits, Num::ThirdDrawMax}};
    for (size_t d = 0; d < 3; ++d) {
        if (m_.num(exclusions[d].max).pos != 0 || !m_.on(exclusions[d].on)) continue;
        std::vector<bool> drawn(71, false);
        for (uint8_t x : recent.numbers[d])
            if (x >= 1 && x <= 70) drawn[x] = true;
        p.clearNumbers(drawn);
    }

    if (m_.on(Opt::DateInAllYears)) addDateInAllYears(p);

    p.compact();
    p.positionZeroRule();

    if (m_.on(Opt::EditPool)) return poolDialog(p);
    return true;
}

void PoolBuilder::favourBlocks(CandidatePool& p) {
    StatsController stats(m_, prompter_, &tally_);
    const auto front = [&] {
        m_.pageRequest = "Diagramm";
        m_.notify(ChangePage);
    };
    const auto bounds = [&](long long lo, long long hi, bool oneBlank) {
        m_.setStatus(1, "Min: " + std::to_string(lo) + (oneBlank ? " Max: " : "  Max: ") + std::to_string(hi) + "  " +
                            std::to_string(p.w));
    };
    const auto N = [](double x) { return stats::roundHalfEven(x); };

    // Consecutive pairs, triples and quadruples. A "seltensten" block reads the series its frequent
    // block left when that one ran.
    const struct {
        int length;
        Opt frequent, rarest;
        const char* status;
    } groups[3] = {{2, Opt::PreferPairs, Opt::RarestPairs, "Berechnung der Paarbildung"},
                   {3, Opt::PreferTriples, Opt::RarestTriples, "Berechnung der Dreiergruppenbildung"},
                   {4, Opt::PreferQuads, Opt::RarestQuads, "Berechnung der Vierergruppenbildung"}};
    for (const auto& g : groups) {
        const auto runStatistic = [&] {
            m_.setStatus(1, g.status);
            const bool ok = g.length == 2 ? stats.showPairs() : g.length == 3 ? stats.showTriples() : stats.showQuads();
            if (g.length != 4) front();
            return ok;
        };
        const auto append = [&](bool (*inBand)(double, long long, long long), long long lo, long long hi) {
            const auto& pts = m_.numberChart.points;
            for (int k = 0; k + g.length - 1 < static_cast<int>(pts.size()); ++k)
                if (inBand(pts[static_cast<size_t>(k)].y, lo, hi))
                    for (int d = 1; d <= g.length; ++d) p.append(k + d);
        };
        bool ok = false;
        if (m_.on(g.frequent)) {
            ok = runStatistic();
            if (ok) {
                const double mx = m_.numberChart.axisMax, mn = m_.numberChart.axisMin;
                const long long lo = N(mx - (mx - mn) * 0.3), hi = N(mx);
                bounds(lo, hi, false);
                append([](double v, long long l, long long h) { return l < v && v <= h; }, lo, hi);
            }
        }
        if (m_.on(g.rarest)) {
            if (!m_.on(g.frequent)) ok = runStatistic();
            if (ok) {
                const double mx = m_.numberChart.axisMax, mn = m_.numberChart.axisMin;
                const long long hi = N(mn + (mx - mn) * 0.3);
                bounds(0, hi, g.length == 4);
                append([](double v, long long, long long h) { return 0 < v && v <= h; }, 0, hi);
            }
        }
    }

    // Frequent, rare and overdue numbers: a wide band gives two entries, the narrow band one more.
    const auto twoPass = [&](int percent, bool fromTop, bool firstOneBlank) {
        for (int pass = 1; pass <= 2; ++pass) {
            const double mx = m_.numberChart.axisMax, mn = m_.numberChart.axisMin;
            const double share = percent / (pass == 1 ? 100.0 : 200.0);
            const long long lo = fromTop ? N(mx - share * (mx - mn)) : N(mn);
            const long long hi = fromTop ? N(mx) : N(mn + share * (mx - mn));
            bounds(lo, hi, firstOneBlank && pass == 1);
            const auto& pts = m_.numberChart.points;
            for (size_t k = 0; k < pts.size(); ++k)
                if (lo <= pts[k].y && pts[k].y <= hi)
                    for (int c = 0; c < (pass == 1 ? 2 : 1); ++c) p.append(static_cast<int>(k) + 1);
        }
    };
    const auto distribution = [&] {
        m_.setStatus(1, "Berechnung der Zahlenverteilung");
        const bool ok = stats.showNumbers();
        front();
        return ok;
    };
    bool ok = false;
    if (m_.on(Opt::PreferFrequent)) {
        ok = distribution();
        if (ok) twoPass(m_.num(Num::FrequentBand).pos, true, false);
    }
    if (m_.on(Opt::PreferRare)) {
        if (!m_.on(Opt::PreferFrequent)) ok = distribution();
        if (ok) twoPass(m_.num(Num::RareBand).pos, false, false);
    }
    if (m_.on(Opt::PreferOverdue)) {
        m_.setStatus(1, "Berechnung der der Ausstehenden Zahlen");
        ok = stats.showOverdue();
        front();
        if (ok) twoPass(m_.num(Num::OverdueBand).pos, true, true);
    }
}

void PoolBuilder::addDateInAllYears(CandidatePool& p) {
    const Ymd chosen = ymdOf(m_.yearlyDate);
    const Ymd from = ymdOf(m_.statsStart);
    int y2 = from.year;
    if (std::pair(chosen.month, chosen.day) < std::pair(from.month, from.day)) ++y2;
    const double remembered = m_.browseDate;
    const double lastDay = m_.draws.lastDate();
    for (int y = y2; y <= chosen.year; ++y) {
        // 29 February has no draw outside leap years; a day after the last draw has none yet,
        // and a day before the first draw day none at all.
        if (!isValidDay(y, chosen.month, chosen.day)) continue;
        const double day = dateValue(y, chosen.month, chosen.day);
        if (day > lastDay) break;
        if (!m_.setBrowseDate(day)) continue;
        browser_.seekDate();
        const auto& recs = m_.draws.records();
        if (recs.empty()) break;
        const DrawRecord& rec = recs[std::min(static_cast<size_t>(std::max(m_.drawIndex, 0)), recs.size() - 1)];
        for (int i = 0; i < 20; ++i) p.put(p.last + 1 + i, rec.zahl[static_cast<size_t>(i)]);
        p.last += 20;
    }
    m_.setBrowseDate(remembered);
    m_.notify(ChangeDates);
}

bool PoolBuilder::poolDialog(CandidatePool& p) {
    m_.pageRequest = "Keno-Tipp";
    m_.notify(ChangePage);
    NumberChoice& form = m_.numberChoice;
    // The dialog keeps what its last caller left: give it the buttons of the pool.
    form.caption = "Welche Zahlen für die Berechnung";
    form.computeVisible = true;
    form.randomVisible = false;
    form.saveListVisible = true;
    form.loadListVisible = true;
    form.entryVisible = false;
    for (int k = 1; k <= 70; ++k) {
        const int count = p.count(k);
        form.ticked[static_cast<size_t>(k)] = count > 0;
        form.hint[static_cast<size_t>(k)] = std::to_string(count);
    }
    const ModalResult result = dialogs_.numberDialog(form);
    if (result == ModalResult::Ok) return true;
    if (result != ModalResult::Retry) return false;
    if (const auto error = p.fromNumberChoice(form, m_.enumerating)) {
        prompter_.message(*error);
        return false;
    }
    return true;
}

} // namespace zf
