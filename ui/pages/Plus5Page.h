#pragma once
// The tab "Plus 5": the current draw's Plus 5 number with its browse buttons and digit sum, and below
// it the Plus 5 statistics (ui/stats/Plus5StatsPanel) filling the placeholder "Plus5Area".
#include <QWidget>

class QLabel;

namespace zf {
class Session;
}

namespace zf::ui {

class Plus5StatsPanel;

class Plus5Page : public QWidget {
public:
    explicit Plus5Page(Session& session, QWidget* parent = nullptr);

    // Shows what the model's change bits name (ChangeDraw, ChangeChart2).
    void refresh(unsigned what);

    Plus5StatsPanel* statistics() const { return statistics_; }

private:
    Session& session_;
    QLabel* plus5Line_ = nullptr;   // Label30
    QLabel* digitSum_ = nullptr;    // Label31
    QLabel* noPlus5Hint_ = nullptr; // shown while no draw has a known Plus 5 number
    Plus5StatsPanel* statistics_ = nullptr;
};

} // namespace zf::ui
