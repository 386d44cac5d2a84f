#pragma once
// Small fixtures of the statistics tests: hand-made draws, a temp program folder, a Keno.dat.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/AppController.h"
#include "base/GermanFormat.h"
#include "core/draws/DrawRecord.h"
#include "core/draws/DrawStore.h"
#include "core/stats/ChartData.h"
#include "support/TestSupport.h"

namespace zf::statstest {

using test::TempDir;
using test::writeDraws;

// A draw of d.m.y with the given numbers, padded with 51, 52, ... up to twenty. No Plus 5 number
// unless one is given.
inline DrawRecord keno(int d, int m, int y, std::vector<int> numbers, std::vector<int> plus5 = {}) {
    DrawRecord r;
    r.datum = dateValue(y, m, d);
    for (int pad = 51; numbers.size() < 20; ++pad) numbers.push_back(pad);
    for (size_t i = 0; i < 20; ++i) r.zahl[i] = static_cast<uint8_t>(numbers[i]);
    if (plus5.empty()) r.flags = kFlagNoPlus5;
    for (size_t i = 0; i < plus5.size() && i < 5; ++i) r.zahl5[i] = static_cast<uint8_t>(plus5[i]);
    return r;
}

// The bundled real history, read once.
inline const std::vector<DrawRecord>& realHistory() {
    static const std::vector<DrawRecord> records = [] {
        TempDir dir;
        std::string error;
        EXPECT_TRUE(writeBundledHistory(dir.file("Keno.dat"), &error)) << error;
        DrawStore store(dir.file("Keno.dat"));
        EXPECT_TRUE(store.refresh(&error)) << error;
        return store.records();
    }();
    return records;
}

inline double ys(const ChartData& c, int x) {
    for (const auto& p : c.points)
        if (p.x == x) return p.y;
    ADD_FAILURE() << "no bar at " << x;
    return -1;
}

inline double total(const ChartData& c) {
    double s = 0;
    for (const auto& p : c.points) s += p.y;
    return s;
}

} // namespace zf::statstest
