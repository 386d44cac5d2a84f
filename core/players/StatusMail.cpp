#include "core/players/StatusMail.h"

#include <cmath>
#include <cstdio>

#include "base/GermanFormat.h"

namespace zf {

double statusTipDate(double drawDate) {
    const double day = std::floor(drawDate);
    return day + (weekdayOf(day) == 2 ? 3 : 4);
}

namespace {

std::string tipDateText(double day) {
    const Ymd d = ymdOf(day);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%02d", d.day, d.month, d.year % 100);
    return std::string(longWeekdayName(weekdayOf(day))) + " " + buf;
}

} // namespace

std::vector<StatusMail> statusMails(const StatusMailInput& in, std::string* error) {
    std::vector<StatusMail> mails;
    const Ledger& ledger = *in.ledger;
    const std::vector<std::string>& tips = *in.tipLines;
    const int perTicket = in.tipsPerTicket > 0 ? in.tipsPerTicket : 1;
    const int tickets = in.totalTips / perTicket;
    for (int r = 1; r <= ledger.rowCount(); ++r) {
        const PlayerRow& row = ledger.row(r);
        if (row[ColEmail].empty()) continue;
        const auto balance = parseDecimal(row[ColBalance]);
        if (!balance) {
            if (error)
                *error = "Das Guthaben von \"" + row[ColName] + "\" (\"" + row[ColBalance] +
                         "\") ist keine Zahl; es wurde keine Email verschickt.";
            return {};
        }
        StatusMail m;
        m.row = r;
        m.address = row[ColEmail];
        m.name = row[ColName];
        m.subject = kStatusMailSubject;
        auto& b = m.body;
        b.push_back("Hallo " + row[ColName] + ",");
        b.push_back(" ");
        b.push_back("die neuen Zahlen für die nächste Ziehung und der aktuelle Stand auf deinem Zahlfuchs-Konto.");
        b.push_back(" ");
        b.push_back(" ");
        b.push_back("Zahlfuchs Tipp für " + tipDateText(statusTipDate(in.drawDate)));
        b.push_back(std::string(39, '~'));
        for (int j = 1; j <= tickets; ++j) {
            if (tickets > 1) b.push_back(std::to_string(j) + ". Keno-Schein");
            for (int k = 1; k <= perTicket; ++k) {
                const size_t line = static_cast<size_t>(perTicket) * static_cast<size_t>(j - 1) + k;
                if (line > tips.size()) continue;
                char num[16];
                std::snprintf(num, sizeof num, "%2d", k);
                b.push_back(std::string(num) + ". Tipp:  " + tips[line - 1]);
            }
            b.push_back(" ");
        }
        b.push_back("Du hast ein Guthaben von " + formatAmount(roundToCent(*balance), 2, false) + " EUR");
        mails.push_back(std::move(m));
    }
    return mails;
}

} // namespace zf
