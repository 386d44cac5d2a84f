#include "ui/stats/Plus5StatsPanel.h"

#include <QChart>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Model.h"
#include "app/stats/StatsController.h"
#include "ui/stats/BarChartView.h"
#include "ui/widgets/WidgetHelpers.h"

namespace zf::ui {

Plus5StatsPanel::Plus5StatsPanel(Model& m, StatsController& stats, QWidget* parent)
    : QWidget(parent), m_(m), stats_(stats) {
    setObjectName("Plus5StatsPanel");
    auto* strip = new QWidget(this);
    strip->setObjectName("Plus5StatsRow");
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(4);

    auto* sums = new QToolButton(strip);
    sums->setObjectName("SpeedButton40");
    sums->setText("QS");
    sums->setMinimumSize(40, 28);
    row->addWidget(sums);
    connect(sums, &QToolButton::clicked, this, [this] {
        BusyCursor busy;
        stats_.showPlus5Sums();
        refresh();
    });

    struct PositionButton {
        const char* name;
        const char* text;
        int position;
    };
    static const PositionButton buttons[] = {{"BitBtn33", "1xxxx", 1}, {"BitBtn34", "x1xxx", 2},
                                             {"BitBtn32", "xx1xx", 3}, {"BitBtn31", "xxx1x", 4},
                                             {"BitBtn30", "xxxx1", 5}, {"BitBtn35", "12345", 6}};
    for (const auto& b : buttons) {
        auto* button = new QPushButton(b.text, strip);
        button->setObjectName(b.name);
        button->setMinimumHeight(28);
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(b.text) + 16);
        row->addWidget(button);
        const int position = b.position;
        connect(button, &QPushButton::clicked, this, [this, position] {
            BusyCursor busy;
            stats_.showPlus5Digits(position);
            refresh();
        });
    }

    auto* group = new QGroupBox(strip);
    group->setObjectName("RadioGroup1");
    auto* modes = new QHBoxLayout(group);
    modes->setContentsMargins(6, 0, 6, 0);
    howOftenMode_ = new QRadioButton("wie oft", group);
    overdueMode_ = new QRadioButton("ausstehend", group);
    modes->addWidget(howOftenMode_);
    modes->addWidget(overdueMode_);
    row->addWidget(group);
    row->addStretch(1);
    connect(howOftenMode_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) stats_.plus5Mode = 0;
    });
    connect(overdueMode_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) stats_.plus5Mode = 1;
    });

    chart_ = new BarChartView("Series3", QColor(52, 101, 164), this);
    chart_->setObjectName("Chart2");
    QFont titleFont = chart_->chart()->titleFont();
    titleFont.setPointSizeF(8.5);
    chart_->chart()->setTitleFont(titleFont);
    chart_->chart()->setTitle(
        QString("Bei \"Tipp abgeben\" wird eine Losnummer erzeugt welche noch nie gezogen wurde. ").toHtmlEscaped() +
        "<br>" + QString("Sie können diese auch anhand der statistischen Werte abändern.").toHtmlEscaped());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(strip);
    layout->addWidget(chart_, 1);
    refresh();
}

void Plus5StatsPanel::refresh() {
    {
        const QSignalBlocker a(howOftenMode_), b(overdueMode_);
        (stats_.plus5Mode == 1 ? overdueMode_ : howOftenMode_)->setChecked(true);
    }
    if (!(chart_->shown() == m_.plus5Chart)) chart_->draw(m_.plus5Chart);
}

void Plus5StatsPanel::modelChanged(unsigned what) {
    if (what & ChangeChart2 && !(chart_->shown() == m_.plus5Chart)) chart_->draw(m_.plus5Chart);
}

} // namespace zf::ui
