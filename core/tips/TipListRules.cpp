#include "core/tips/TipListRules.h"

#include <cstdio>

#include "base/GermanFormat.h"
#include "base/Parse.h"

namespace zf {

std::pair<std::string, std::string> ticketLabels(int index, int tipsPerTicket) {
    const int n = tipsPerTicket < 1 ? 1 : tipsPerTicket;
    return {std::to_string(index / n + 1) + ".Schein", std::to_string(index % n + 1) + ".Tipp"};
}

std::vector<std::string> printoutLines(const std::vector<std::string>& tips, int totalTips, int tipsPerTicket,
                                       double today) {
    const Ymd d = ymdOf(today);
    char date[64];
    std::snprintf(date, sizeof date, "%s %02d.%02d.%02d", longWeekdayName(weekdayOf(today)), d.day, d.month,
                  d.year % 100);
    std::vector<std::string> out = {std::string("Zahlfuchs Tipp vom ") + date, std::string(39, '~'), ""};
    const long long n = tipsPerTicket < 1 ? 1 : tipsPerTicket;
    const long long tickets = totalTips / n + (totalTips % n ? 1 : 0);
    char num[16];
    for (long long i = 1; i <= tickets; ++i) {
        for (long long j = 1; j <= n; ++j) {
            const long long index = (i - 1) * n + j - 1;
            if (index < static_cast<long long>(tips.size())) {
                std::snprintf(num, sizeof num, "%2lld", j);
                out.push_back(std::string(num) + ". Tipp:  " + tips[static_cast<size_t>(index)]);
            }
        }
        out.emplace_back(" ");
    }
    return out;
}

std::string totalTipsRule(const std::string& typed) {
    const auto v = parseDigits(typed, 500000);
    return std::to_string(v && *v >= 1 ? *v : 500000);
}

} // namespace zf
