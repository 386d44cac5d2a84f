#include "ui/stats/BarChartView.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QPen>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

#include "ui/widgets/DesignScale.h"

namespace zf::ui {

const QColor BarChartView::kRed(214, 39, 40);
const QColor BarChartView::kGreen(34, 160, 34);

namespace {

// The axis title is rich text: keep the caption's runs of blanks.
QString titleText(const std::string& caption) {
    QString t = QString::fromStdString(caption).toHtmlEscaped();
    t.replace(QLatin1Char(' '), QChar(0x00A0));
    return t;
}

// A tick step of 1, 2 or 5 times a power of ten that gives four to eight steps over the span.
double niceStep(double span) {
    if (!(span > 0)) return 1;
    const double raw = span / 8;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * p >= raw) return std::max(1.0, m * p);
    return std::max(1.0, 10 * p);
}

} // namespace

BarChartView::BarChartView(const QString& seriesName, QColor seriesColour, QWidget* parent)
    : QChartView(parent), seriesColour_(seriesColour) {
    auto* c = new QChart;
    c->legend()->hide();
    c->setAnimationOptions(QChart::NoAnimation);
    c->setBackgroundRoundness(0);
    c->setMargins(QMargins(4, 4, 8, 2));
    c->layout()->setContentsMargins(0, 0, 0, 0);

    set_ = new QBarSet(QString());
    set_->setColor(seriesColour_);
    set_->setBorderColor(Qt::transparent);
    set_->setSelectedColor(kRed);
    series_ = new QBarSeries;
    series_->setObjectName(seriesName);
    series_->append(set_);
    series_->setBarWidth(0.75);
    series_->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series_->setLabelsVisible(data_.marksVisible);
    c->addSeries(series_);

    axisX_ = new QCategoryAxis;
    axisX_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axisX_->setTruncateLabels(false);
    axisX_->setGridLineVisible(false);

    c->addAxis(axisX_, Qt::AlignBottom);
    series_->attachAxis(axisX_);

    axisY_ = new QValueAxis;
    axisY_->setLabelFormat("%d");
    axisY_->setTickType(QValueAxis::TicksDynamic);
    axisY_->setTickAnchor(0);
    c->addAxis(axisY_, Qt::AlignLeft);
    series_->attachAxis(axisY_);

    applyFontScale();
    setChart(c);
    setRenderHint(QPainter::Antialiasing, false);
    setMinimumSize(200, 150);
    connect(c, &QChart::plotAreaChanged, this, [this] { relabel(false); });
    draw(ChartData{});
}

void BarChartView::applyFontScale() {
    const double f = scaleOf(this);
    if (f == fontScale_) return;
    fontScale_ = f;
    QFont small = axisX_->labelsFont();
    small.setPointSizeF(7.5 * f);
    axisX_->setLabelsFont(small);
    axisY_->setLabelsFont(small);
    QFont titleFont = axisX_->titleFont();
    titleFont.setPointSizeF(8.5 * f);
    titleFont.setBold(false);
    axisX_->setTitleFont(titleFont);
}

void BarChartView::resizeEvent(QResizeEvent* event) {
    applyFontScale();
    QChartView::resizeEvent(event);
}

void BarChartView::draw(const ChartData& data) {
    data_ = data;
    // Bars in a chart are either red and green, or all in the series colour.
    const bool greenBase = std::any_of(data.points.begin(), data.points.end(),
                                       [](const ChartPoint& p) { return p.colour == BarColour::Green; });
    set_->setColor(greenBase ? kGreen : seriesColour_);
    set_->deselectAllBars();
    set_->remove(0, set_->count());
    QList<qreal> values;
    QList<int> red;
    values.reserve(qsizetype(data.points.size()));
    for (size_t i = 0; i < data.points.size(); ++i) {
        values.append(data.points[i].y);
        if (data.points[i].colour == BarColour::Red) red.append(int(i));
    }
    set_->append(values);
    set_->selectBars(red);
    series_->setVisible(data.active);
    series_->setLabelsVisible(data.marksVisible);

    double lo = data.axisMin, hi = data.axisMax;
    if (!data.axisFixed) {
        // Automatic scaling: from 0 up to the tallest bar.
        lo = std::min(0.0, lo);
        hi = hi > lo ? hi : lo + 1;
        axisY_->setRange(lo, hi);
    } else {
        // A flat chart still needs an axis with some height; its bars stay invisible.
        if (!(hi > lo)) hi = lo + 1;
        axisY_->setRange(lo, hi);
    }
    axisY_->setTickInterval(niceStep(axisY_->max() - axisY_->min()));

    const int n = int(data.points.size());
    axisX_->setStartValue(-0.5);
    axisX_->setRange(-0.5, std::max(0, n - 1) + 0.5);
    axisX_->setTitleText(titleText(data.caption));
    relabel(true);
}

void BarChartView::relabel(bool force) {
    const int n = int(data_.points.size());
    const double width = chart()->plotArea().width() > 0 ? chart()->plotArea().width() : this->width() - 60;
    const double perBar = n > 0 ? width / n : width;
    int widest = 0;
    const QFontMetrics fm(axisX_->labelsFont());
    for (const auto& p : data_.points) widest = std::max(widest, fm.horizontalAdvance(QString::number(p.x)));
    const double need = widest + 3;

    // A bar narrower than a pixel may cover no pixel at all and vanish, leaving blank bands in a
    // crowded chart: there a one-pixel outline in the bar colour keeps every bar visible. Crowded
    // charts have no red bars, so one outline colour serves all.
    const bool thin = perBar * series_->barWidth() < 2;
    const QPen outline = thin ? QPen(set_->color(), 0) : QPen(Qt::transparent);
    if (set_->pen() != outline) set_->setPen(outline);

    // The densest layout whose labels keep apart: each bar, each 2nd, 5th, ... x, in one row or,
    // when one row is too tight, alternating between two rows.
    int step = 1;
    bool staggered = false;
    for (int s : {1, 2, 5, 10, 20, 25, 50, 100, 200, 250, 500, 1000}) {
        step = s;
        if (s * perBar >= need) break;
        if (2 * s * perBar >= need) {
            staggered = true;
            break;
        }
    }
    if (!force && step == step_ && staggered == staggered_) return;
    step_ = step;
    staggered_ = staggered;

    for (const QString& l : axisX_->categoriesLabels()) axisX_->remove(l);
    // An axis without a single label loses its place under the chart and its title wanders to the
    // top: a chart without bars (no draw counted) keeps one blank label.
    if (n == 0) axisX_->append(QString(QChar(0x00A0)), 0);
    int shown = 0;
    for (int i = 0; i < n; ++i) {
        const int x = data_.points[size_t(i)].x;
        if (step > 1 && x % step != 0) continue;
        QString label = QString::number(x);
        if (staggered && shown++ % 2 == 1) label.prepend("<br>");
        axisX_->append(label, i);
    }
}

} // namespace zf::ui
