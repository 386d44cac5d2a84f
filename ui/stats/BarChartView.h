#pragma once
// A bar chart that draws a ChartData: one bar set whose bars take the point colours (red bars are
// the set's selected bars), the caption as the bottom axis title, the value axis fixed or automatic.
// Category labels are laid out for the width at hand: every bar labelled, on two staggered rows
// when one row would overlap, or every 2nd, 5th, 10th ... x when even that is too tight.
#include <QChartView>
#include <QColor>

#include "core/stats/ChartData.h"

class QBarSeries;
class QBarSet;
class QCategoryAxis;
class QValueAxis;

namespace zf::ui {

class BarChartView : public QChartView {
    Q_OBJECT
public:
    // `seriesName` becomes the object name of the bar series ("Series2"), `seriesColour` the colour
    // of bars drawn in the series colour.
    BarChartView(const QString& seriesName, QColor seriesColour, QWidget* parent = nullptr);

    void draw(const ChartData& data);
    const ChartData& shown() const { return data_; }

    QBarSeries* series() const { return series_; }
    QBarSet* barSet() const { return set_; }
    QCategoryAxis* categoryAxis() const { return axisX_; }
    QValueAxis* valueAxis() const { return axisY_; }

    // How the category labels are laid out now: every `labelStep`-th bar, on two rows or one.
    int labelStep() const { return step_; }
    bool labelsStaggered() const { return staggered_; }

    static const QColor kRed;
    static const QColor kGreen;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void relabel(bool force);
    // Axis labels and caption in design points times the scale of the window the chart sits in.
    void applyFontScale();
    double fontScale_ = 0;

    ChartData data_;
    QColor seriesColour_;
    QBarSeries* series_;
    QBarSet* set_;
    QCategoryAxis* axisX_;
    QValueAxis* axisY_;
    int step_ = 0;
    bool staggered_ = false;
};

} // namespace zf::ui
