#pragma once
// The statistics in the main window: the chart widgets in the placeholders DiagrammArea and
// Plus5Area, the statistics buttons of the pages "Datenbank" (Button2..Button5) and "Keno-Tipp"
// (Button6) bound to the StatsController, and the charts of start-up and activation.
#include <QObject>

#include "stats/StatsController.h"

class QWidget;

namespace zf {
class AppController;
class Model;
class Prompter;
}

namespace zf::ui {

class DiagrammPage;
class Plus5StatsPanel;

class StatsUi : public QObject {
    Q_OBJECT
public:
    // `window` holds the placeholders and buttons (found by object name); it owns this object.
    StatsUi(QWidget* window, Model& m, StatsController& stats);

    StatsController& controller() { return stats_; }
    DiagrammPage* diagrammPage() const { return diagramm_; }
    Plus5StatsPanel* plus5Panel() const { return plus5_; }

    // The window's model notifications: redraws the charts and the start date they name.
    void modelChanged(unsigned what);

private:
    StatsController& stats_;
    DiagrammPage* diagramm_ = nullptr;
    Plus5StatsPanel* plus5_ = nullptr;
};

} // namespace zf::ui
