#include "ui/stats/DiagrammPage.h"

#include <QDateEdit>
#include <QFrame>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Model.h"
#include "app/stats/StatsController.h"
#include "ui/stats/BarChartView.h"
#include "ui/widgets/GermanDateEdit.h"
#include "ui/widgets/WidgetHelpers.h"

namespace zf::ui {
namespace {

// The picture of the number distribution button: a few red and green bars.
QIcon barsIcon() {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    const int heights[] = {9, 15, 6, 12, 17};
    for (int i = 0; i < 5; ++i)
        p.fillRect(1 + i * 4, 19 - heights[i], 3, heights[i], i % 2 ? BarChartView::kGreen : BarChartView::kRed);
    p.setPen(QColor(80, 80, 80));
    p.drawLine(0, 19, 19, 19);
    return QIcon(pm);
}

QToolButton* stripButton(QWidget* parent, const char* name, const QString& text, const QString& hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(hint);
    b->setAutoRaise(false);
    b->setMinimumHeight(26);
    return b;
}

} // namespace

DiagrammPage::DiagrammPage(Model& m, StatsController& stats, QWidget* parent) : QWidget(parent), m_(m), stats_(stats) {
    setObjectName("DiagrammPage");
    auto* strip = new QFrame(this);
    strip->setObjectName("Panel17");
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(4, 3, 4, 3);
    row->setSpacing(4);

    auto* numbers = stripButton(strip, "SpeedButton2", QString(), "Distribution of numbers drawn");
    numbers->setIcon(barsIcon());
    numbers->setIconSize(QSize(20, 20));
    auto* sums = stripButton(strip, "SpeedButton9", "Quersumme", "Distribution of cross sums");
    auto* pairs = stripButton(strip, "SpeedButton1", "Paare",
                              "How many pairs of which was drawn. Below is the first number of the pair");
    auto* triples = stripButton(strip, "SpeedButton3", "Dreier",
                                "How often triple what was drawn. Below is the first number of the three");
    auto* quads = stripButton(strip, "SpeedButton17", "Vierer",
                              "How often which of four was drawn. Below is the first number of the four");
    auto* waiting = stripButton(strip, "SpeedButton19", "ausstehend", "Which number was not drawn the longest?");

    startPicker_ = new GermanDateEdit(strip);
    startPicker_->setObjectName("DateTimePicker2");
    startPicker_->setToolTip("With the chosen date starts the evaluation");
    startPicker_->setDisplayFormat("dd.MM.yyyy");
    startPicker_->setCalendarPopup(true);
    startPicker_->setMinimumDate(toQDate(Model::statsStartMin));
    startPicker_->setMinimumHeight(26);

    for (QWidget* w : {static_cast<QWidget*>(numbers), static_cast<QWidget*>(sums), static_cast<QWidget*>(pairs),
                       static_cast<QWidget*>(triples), static_cast<QWidget*>(quads), static_cast<QWidget*>(waiting)})
        row->addWidget(w);
    row->addStretch(1);
    row->addWidget(startPicker_);

    chart_ = new BarChartView("Series2", BarChartView::kGreen, this);
    chart_->setObjectName("Chart1");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(strip);
    layout->addWidget(chart_, 1);

    connect(numbers, &QToolButton::clicked, this, [this] {
        BusyCursor busy;
        stats_.showNumbers();
        refresh();
    });
    connect(sums, &QToolButton::clicked, this, [this] { run(&StatsController::showCrossSums); });
    connect(pairs, &QToolButton::clicked, this, [this] { run(&StatsController::showPairs); });
    connect(triples, &QToolButton::clicked, this, [this] { run(&StatsController::showTriples); });
    connect(quads, &QToolButton::clicked, this, [this] { run(&StatsController::showQuads); });
    connect(waiting, &QToolButton::clicked, this, [this] { run(&StatsController::showOverdue); });
    connect(startPicker_, &QDateEdit::dateChanged, this, [this](const QDate& d) {
        if (m_.setStatsStart(toDateValue(d)))
            m_.notify(ChangeDates);
        else
            refreshDate();
    });
    refresh();
}

void DiagrammPage::run(bool (StatsController::*command)()) {
    BusyCursor busy;
    (stats_.*command)();
    // The window forwards the model's notifications too; drawing the same chart twice is skipped.
    refresh();
}

void DiagrammPage::refreshDate() {
    const QSignalBlocker block(startPicker_);
    startPicker_->setDate(toQDate(m_.statsStart));
}

void DiagrammPage::refresh() {
    refreshDate();
    if (!(chart_->shown() == m_.numberChart)) chart_->draw(m_.numberChart);
}

void DiagrammPage::modelChanged(unsigned what) {
    if (what & ChangeDates) refreshDate();
    if (what & ChangeChart1 && !(chart_->shown() == m_.numberChart)) chart_->draw(m_.numberChart);
}

} // namespace zf::ui
