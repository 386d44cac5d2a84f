#pragma once
// What a statistic leaves in a bar chart: the bars, their colours, the bottom axis caption and the
// value axis range. The generator reads it back, so it is a value of its own, not only a picture.
#include <string>
#include <vector>

namespace zf {

enum class BarColour {
    Red,
    Green,
    Series
};

struct ChartPoint {
    int x = 0;
    double y = 0;
    BarColour colour = BarColour::Series;
    bool operator==(const ChartPoint&) const = default;
};

struct ChartData {
    bool active = true;  // the series is switched on
    std::string caption; // bottom axis title
    std::vector<ChartPoint> points;
    bool axisFixed = false;   // value axis fixed to [axisMin, axisMax], else automatic
    double axisMin = 0;       // automatic: the range the scaling covers, from 0 (bars grow
    double axisMax = 0;       // from 0) to the largest bar; what a reader of the chart gets back
    bool marksVisible = true; // value marks above the bars
    bool operator==(const ChartData&) const = default;
};

} // namespace zf
