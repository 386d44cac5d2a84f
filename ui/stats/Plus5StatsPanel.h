#pragma once
// The lower part of the tab "Plus 5": the statistics row (digit sums, the six position buttons, the
// counting mode RadioGroup1) and the chart Chart2 showing Series3.
#include <QWidget>

class QRadioButton;

namespace zf {
class Model;
class StatsController;
} // namespace zf

namespace zf::ui {

class BarChartView;

class Plus5StatsPanel : public QWidget {
    Q_OBJECT
public:
    Plus5StatsPanel(Model& m, StatsController& stats, QWidget* parent = nullptr);

    // Redraws the chart from Series3 and the mode from the controller.
    void refresh();
    // Refreshes what a model notification names (ChangeChart2).
    void modelChanged(unsigned what);

    BarChartView* chart() const { return chart_; }

private:
    Model& m_;
    StatsController& stats_;
    QRadioButton* howOftenMode_; // "wie oft"
    QRadioButton* overdueMode_;  // "ausstehend"
    BarChartView* chart_;
};

} // namespace zf::ui
