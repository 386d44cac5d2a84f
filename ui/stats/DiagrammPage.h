#pragma once
// The tab "Diagramm": the tool strip Panel17 with the statistics buttons and the start date of the
// statistics window, and the chart Chart1 showing Series2.
#include <QWidget>

class QDateEdit;

namespace zf {
class Model;
class StatsController;
} // namespace zf

namespace zf::ui {

class BarChartView;

class DiagrammPage : public QWidget {
    Q_OBJECT
public:
    DiagrammPage(Model& m, StatsController& stats, QWidget* parent = nullptr);

    // Redraws the chart from Series2 and the start picker from DateTimePicker2.
    void refresh();
    // Refreshes what a model notification names (ChangeChart1, ChangeDates).
    void modelChanged(unsigned what);

    BarChartView* chart() const { return chart_; }

private:
    void run(bool (StatsController::*command)());
    void refreshDate();

    Model& m_;
    StatsController& stats_;
    QDateEdit* startPicker_; // DateTimePicker2
    BarChartView* chart_;
};

} // namespace zf::ui
