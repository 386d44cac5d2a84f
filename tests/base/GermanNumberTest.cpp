// Amounts are German whatever the process locale says: the desktop program runs with the user's
// locale set in the C library, where printf and strtod would write and read a decimal comma.
#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>

#include "base/GermanNumber.h"

using namespace zf;

namespace {

struct Format {
    double value;
    int decimals;
    bool thousands;
    const char* text;
};

const Format kFixed[] = {
    {1234567.5, 2, true, "1.234.567,50"},
    {-0.2, 2, true, "-0,20"},
    {999, 0, true, "999"},
    {281.75, 2, true, "281,75"},
    {1000, 2, false, "1000,00"},
    {-1234.5, 2, true, "-1.234,50"},
    {-0.001, 2, true, "0,00"},
    {0.125, 2, true, "0,12"},
    {1e15, 0, true, "1.000.000.000.000.000"},
};

struct General {
    double value;
    const char* text;
};

const General kGeneral[] = {{12.5, "12,5"}, {43.7, "43,7"},    {-3, "-3"},  {0.1 + 0.2, "0,3"},
                            {1e20, "1E20"}, {1e-5, "1E-5"},    {-0.0, "0"}, {123456789012345.0, "123456789012345"},
                            {0.25, "0,25"}, {2.5e-7, "2,5E-7"}};

struct Read {
    const char* text;
    std::optional<double> value;
};

const Read kRead[] = {
    {"12,5", 12.5},
    {" -10,00000 ", -10},
    {"+3", 3},
    {"1,5E2", 150},
    {",5", 0.5},
    {"-,5", -0.5},
    {"7,", 7},
    {"0,25", 0.25},
    {"1.234,56", 1234.56},
    {"1.000", 1000},
    {"12.345.678", 12345678},
    {"", std::nullopt},
    {"abc", std::nullopt},
    {"1.5", std::nullopt},
    {"1.2345", std::nullopt},
    {".123", std::nullopt},
    {"1..000", std::nullopt},
    {"1,2,3", std::nullopt},
    {"-", std::nullopt},
    {"1E", std::nullopt},
    {"1E999", std::nullopt},
    {"0.25", std::nullopt},
    {"1e308", 1e308},
    {"12,5 €", std::nullopt},
};

// Runs `check` once under each locale of the table that this machine has.
template <class F> void underEveryLocale(F check) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    int ran = 0;
    for (const char* name : {"C", "de_DE.UTF-8", "en_US.UTF-8", "tr_TR.UTF-8"}) {
        if (!std::setlocale(LC_ALL, name)) continue;
        ++ran;
        SCOPED_TRACE(name);
        check();
    }
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_GE(ran, 1);
}

} // namespace

TEST(GermanNumber, FormatsAndReadsTheSameUnderEveryLocale) {
    underEveryLocale([] {
        for (const auto& c : kFixed) EXPECT_EQ(formatAmount(c.value, c.decimals, c.thousands), c.text) << c.value;
        for (const auto& c : kGeneral) EXPECT_EQ(formatGeneral(c.value), c.text) << c.value;
        for (const auto& c : kRead) EXPECT_EQ(parseDecimal(c.text), c.value) << c.text;
        EXPECT_EQ(formatPadded(2.5, 7, 5), "2,50000");
        EXPECT_EQ(formatPadded(1.5, 7, 2), "   1,50");
        EXPECT_EQ(formatPadded(-10, 7, 5), "-10,00000");
        EXPECT_EQ(formatGeneral(1234.5678, 6), "1234,57");
    });
}

TEST(GermanNumber, WhatItWritesItReadsBack) {
    for (double v : {0.01, 19.99, 9980.0, -4.5, 123456.789, 1e-9, 7e12, 1234567.5}) {
        EXPECT_EQ(parseDecimal(formatGeneral(v)), v) << v;
        EXPECT_EQ(parseDecimal(formatGeneral(v, 17)), v) << v;
    }
    EXPECT_EQ(parseDecimal(formatAmount(1234567.5, 2)), 1234567.5);
}
