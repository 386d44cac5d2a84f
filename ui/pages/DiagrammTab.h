#pragma once
// The tab "Diagramm": the statistics page (ui/stats/DiagrammPage) filling the placeholder
// "DiagrammArea", whatever the window's size.
#include <QWidget>

namespace zf {
class Session;
}

namespace zf::ui {

class DiagrammPage;

class DiagrammTab : public QWidget {
public:
    explicit DiagrammTab(Session& session, QWidget* parent = nullptr);

    // Redraws what the model's change bits name (ChangeChart1, ChangeDates).
    void refresh(unsigned what);

    DiagrammPage* statistics() const { return statistics_; }

private:
    DiagrammPage* statistics_;
};

} // namespace zf::ui
