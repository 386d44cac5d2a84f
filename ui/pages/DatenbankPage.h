#pragma once
// The tab "Datenbank": the internet update and its stop button, the date to browse to with seek,
// export, delete and manual entry, the current draw, the statistics of pairs, triples, quads and
// overdue numbers, and the seven historic analyses (backtests).
#include <vector>

#include "ui/pages/CanvasPage.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QToolButton;

namespace zf {
class Session;
}

namespace zf::ui {

class DatenbankPage : public CanvasPage {
public:
    explicit DatenbankPage(Session& session, QWidget* parent = nullptr);

    // Shows what the model's change bits name (ChangeDraw, ChangeOptions, ChangeDates).
    void refresh(unsigned what);

private:
    void buildStatistics(QWidget* canvas);

    Session& session_;
    QPushButton* updateButton_ = nullptr;       // BitBtn1
    QToolButton* stopButton_ = nullptr;         // SpeedButton8
    QDateEdit* browseDatePicker_ = nullptr;     // DateTimePicker1
    QPushButton* entryButton_ = nullptr;        // BitBtn8
    QLabel* drawLine_ = nullptr;                // Label29
    std::vector<QPushButton*> backtestButtons_; // BitBtn9, Erfolgstest, Button7 ... Button11
    QCheckBox* chanceBox_ = nullptr;            // "Vergleich mit dem Zufall zeigen"
};

} // namespace zf::ui
