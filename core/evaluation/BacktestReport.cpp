#include "core/evaluation/BacktestReport.h"

#include <cstdio>

#include "base/GermanFormat.h"

namespace zf {

namespace {
constexpr std::array<std::string_view, 7> kNames = {"BitBtn9", "Erfolgstest", "Button7", "Button8",
                                                    "Button9", "Button10",    "Button11"};

std::string twoDigits(int h) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%.2d", h);
    return buf;
}

// No base draw tested: there is no date to name.
std::string passDate(double date) { return date > 0 ? formatDate(date) : std::string("--.--.----"); }
} // namespace

std::string_view backtestName(BacktestKind kind) { return kNames[static_cast<size_t>(kind)]; }

std::optional<BacktestKind> backtestByName(std::string_view name) {
    for (size_t i = 0; i < kNames.size(); ++i)
        if (kNames[i] == name) return static_cast<BacktestKind>(i);
    return std::nullopt;
}

void BacktestTotals::add(const std::array<int, 21>& statistik, int upTo) {
    for (int h = 0; h <= upTo && h <= 20; ++h) hits[static_cast<size_t>(h)] += statistik[static_cast<size_t>(h)];
}

void BacktestTotals::notePassSum(int32_t sum, double date) {
    if (sum < lowest) {
        lowest = sum;
        lowestDate = date;
    }
    if (sum > highest) {
        highest = sum;
        highestDate = date;
    }
}

std::vector<std::string> shortReport(const BacktestTotals& t, int kenoType) {
    std::vector<std::string> out{"Aktuelle Einstellung brachten "};
    for (int h = 0; h <= kenoType && h <= 20; ++h)
        out.push_back(std::to_string(h) + "er\t => " + std::to_string(t.hits[static_cast<size_t>(h)]));
    out.push_back(" ");
    out.push_back("Bei " + std::to_string(t.passes) + " Ziehungen");
    return out;
}

std::vector<std::string> longReport(const BacktestTotals& t) {
    std::vector<std::string> out{"Aktuelle Einstellung brachten "};
    for (int h = 0; h <= 20; ++h)
        out.push_back(twoDigits(h) + "er         => \t" + std::to_string(t.hits[static_cast<size_t>(h)]));
    out.push_back("Bei " + std::to_string(t.passes) + " Ziehungen");
    return out;
}

std::vector<std::string> passSumLines(const BacktestTotals& t) {
    return {"Am " + passDate(t.lowestDate) + " ab es " + std::to_string(t.lowest) + " Übereinstimmungen",
            "Am " + passDate(t.highestDate) + " ab es " + std::to_string(t.highest) + " Übereinstimmungen"};
}

} // namespace zf
