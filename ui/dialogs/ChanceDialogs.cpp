#include "ui/dialogs/ChanceDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "base/GermanNumber.h"

namespace zf::ui {

namespace {

const QColor kObserved(0x1f, 0x4e, 0x79); // the blue of the tip page's banners
const QColor kWinning(34, 160, 34);
const QColor kLosing(160, 160, 160);
const QColor kExpected(214, 39, 40);

QString q(const std::string& s) { return QString::fromStdString(s); }

// A tick step of 1, 2 or 5 times a power of ten giving about four steps up to `top`.
double tickStep(double top) {
    if (!(top > 0)) return 1;
    const double raw = top / 4;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * p >= raw) return m * p;
    return 10 * p;
}

QTableWidget* makeTable(QWidget* parent, const char* name, const QStringList& headers) {
    auto* t = new QTableWidget(0, int(headers.size()), parent);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(headers);
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionMode(QAbstractItemView::NoSelection);
    t->setFocusPolicy(Qt::NoFocus);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->horizontalHeader()->setStretchLastSection(true);
    t->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return t;
}

QTableWidgetItem* cell(const QString& text, bool bold = false) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (bold) {
        QFont f = item->font();
        f.setBold(true);
        item->setFont(f);
    }
    return item;
}

QLabel* wrapped(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QDialogButtonBox* closeButton(QDialog* d) {
    auto* buttons = new QDialogButtonBox(d);
    QPushButton* close = buttons->addButton("Schließen", QDialogButtonBox::RejectRole);
    close->setObjectName("CloseButton");
    QObject::connect(buttons, &QDialogButtonBox::rejected, d, &QDialog::close);
    return buttons;
}

} // namespace

// ---- the chart ----

ChanceChart::ChanceChart(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ChanceChart::setBars(std::vector<Bar> bars, bool withExpected, bool asPercent) {
    bars_ = std::move(bars);
    withExpected_ = withExpected;
    asPercent_ = asPercent;
    update();
}

void ChanceChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(rect(), palette().base());
    const QFontMetrics fm(font());
    const int n = int(bars_.size());
    double highest = 0;
    for (const Bar& b : bars_) highest = std::max({highest, b.value, withExpected_ ? b.expected : 0.0});
    const double step = tickStep(highest > 0 ? highest : 1);
    const double top = std::max(step, std::ceil(highest / step - 1e-9) * step);
    auto axisText = [&](double v) {
        if (!asPercent_) return q(formatAmount(v, 0));
        const double pct = 100 * v, pctStep = 100 * step;
        const int decimals = pctStep >= 1 ? 0 : (pctStep >= 0.1 ? 1 : 2);
        return q(formatAmount(pct, decimals)) + " %";
    };
    int labelWidth = 0;
    for (double v = 0; v <= top + step / 2; v += step)
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(axisText(v)));

    const int legendHeight = withExpected_ ? fm.height() + 6 : 4;
    const QRect plot(labelWidth + 12, legendHeight + 4, std::max(10, width() - labelWidth - 22),
                     std::max(10, height() - legendHeight - 2 * fm.height() - 14));
    auto yOf = [&](double v) { return plot.bottom() - v / top * plot.height(); };

    // grid and value axis
    p.setPen(QPen(QColor(225, 225, 225), 1));
    for (double v = 0; v <= top + step / 2; v += step) {
        const double y = yOf(v);
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        p.setPen(palette().color(QPalette::Text));
        p.drawText(QRectF(0, y - fm.height() / 2.0, labelWidth + 6, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   axisText(v));
        p.setPen(QPen(QColor(225, 225, 225), 1));
    }
    p.setPen(palette().color(QPalette::Text));
    p.drawLine(plot.bottomLeft(), plot.bottomRight());

    if (n > 0) {
        const double slot = double(plot.width()) / n;
        const double barWidth = std::max(1.0, slot * 0.7);
        // Every label where they fit, else every 2nd or 5th.
        int every = 1;
        for (int s : {1, 2, 5, 10}) {
            every = s;
            if (s * slot >= fm.horizontalAdvance(QStringLiteral("20")) + 4) break;
        }
        for (int i = 0; i < n; ++i) {
            const Bar& b = bars_[size_t(i)];
            const double x = plot.left() + i * slot + (slot - barWidth) / 2;
            const double y = yOf(b.value);
            QColor fill = withExpected_ ? kObserved : (b.marked ? kWinning : kLosing);
            // A bar too low to see still shows a sliver when it is not zero.
            const double h = b.value > 0 ? std::max(1.0, plot.bottom() - y) : 0.0;
            p.fillRect(QRectF(x, plot.bottom() - h, barWidth, h), fill);
            if (b.hits % every == 0)
                p.drawText(QRectF(plot.left() + i * slot - 10, plot.bottom() + 2, slot + 20, fm.height()),
                           Qt::AlignHCenter | Qt::AlignTop, QString::number(b.hits));
        }
        if (withExpected_) {
            QPainterPath line;
            for (int i = 0; i < n; ++i) {
                const QPointF c(plot.left() + (i + 0.5) * slot, yOf(bars_[size_t(i)].expected));
                if (i == 0)
                    line.moveTo(c);
                else
                    line.lineTo(c);
            }
            p.setPen(QPen(kExpected, 2));
            p.setBrush(Qt::NoBrush);
            p.drawPath(line);
            p.setBrush(kExpected);
            for (int i = 0; i < n; ++i)
                p.drawEllipse(QPointF(plot.left() + (i + 0.5) * slot, yOf(bars_[size_t(i)].expected)), 2.5, 2.5);
        }
    }
    p.setPen(palette().color(QPalette::Text));
    p.drawText(QRectF(plot.left(), plot.bottom() + fm.height() + 4, plot.width(), fm.height()), Qt::AlignHCenter,
               QStringLiteral("Treffer"));

    if (withExpected_) {
        // legend, top right
        const QString observed = QStringLiteral("beobachtet"), expected = QStringLiteral("erwartet bei Zufall");
        const int box = fm.height() - 4;
        int x =
            plot.right() - (box + 4 + fm.horizontalAdvance(observed) + 16 + 18 + 4 + fm.horizontalAdvance(expected));
        const int y = 2;
        p.fillRect(QRect(x, y + 2, box, box), kObserved);
        x += box + 4;
        p.drawText(QPoint(x, y + fm.ascent()), observed);
        x += fm.horizontalAdvance(observed) + 16;
        p.setPen(QPen(kExpected, 2));
        p.drawLine(QPoint(x, y + fm.height() / 2), QPoint(x + 18, y + fm.height() / 2));
        p.setPen(palette().color(QPalette::Text));
        x += 22;
        p.drawText(QPoint(x, y + fm.ascent()), expected);
    }
}

// ---- "Chancen" ----

OddsDialog::OddsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("OddsDialog");
    setWindowTitle("Chancen");
    auto* typeLabel = new QLabel("Zahlen pro Tipp", this);
    kenoType_ = new QSpinBox(this);
    kenoType_->setObjectName("OddsKenoType");
    kenoType_->setRange(2, 10);
    typeLabel->setBuddy(kenoType_);
    auto* stakeLabel = new QLabel("Einsatz", this);
    stake_ = new QComboBox(this);
    stake_->setObjectName("OddsStake");
    stake_->addItems({"1 EUR", "2 EUR", "5 EUR", "10 EUR"});
    stakeLabel->setBuddy(stake_);
    auto* choice = new QHBoxLayout;
    choice->addWidget(typeLabel);
    choice->addWidget(kenoType_);
    choice->addSpacing(16);
    choice->addWidget(stakeLabel);
    choice->addWidget(stake_);
    choice->addStretch(1);

    rows_ = makeTable(this, "OddsTable", {"Treffer", "Chance", "Gewinn", "im Mittel"});
    rows_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    chart_ = new ChanceChart(this);
    chart_->setObjectName("OddsChart");
    chart_->setToolTip("Wahrscheinlichkeit je Trefferzahl; grün die Gewinnklassen");
    auto* middle = new QHBoxLayout;
    middle->addWidget(rows_, 0);
    middle->addWidget(chart_, 1);
    summary_ = wrapped(this, "OddsSummary");
    auto* note =
        new QLabel("Jeder Tipp hat dieselben Chancen, gleich wie er gewählt wurde. Alle Angaben ohne Gewähr.", this);
    note->setWordWrap(true);
    note->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 10);
    layout->setSpacing(10);
    layout->addLayout(choice);
    layout->addLayout(middle, 1);
    layout->addWidget(summary_);
    layout->addWidget(note);
    layout->addWidget(closeButton(this));
    resize(720, 420);

    auto recompute = [this] { fill(oddsTable(kenoType_->value(), stake_->currentIndex())); };
    connect(kenoType_, &QSpinBox::valueChanged, this, recompute);
    connect(stake_, &QComboBox::currentIndexChanged, this, recompute);
}

void OddsDialog::showTable(const OddsTable& table) {
    {
        const QSignalBlocker b1(kenoType_), b2(stake_);
        kenoType_->setValue(table.kenoType);
        stake_->setCurrentIndex(table.stakeItem >= 0 && table.stakeItem <= 3 ? table.stakeItem : 0);
    }
    fill(table);
}

void OddsDialog::fill(const OddsTable& table) {
    table_ = table;
    rows_->setRowCount(int(table.rows.size()));
    std::vector<ChanceChart::Bar> bars;
    for (size_t i = 0; i < table.rows.size(); ++i) {
        const OddsRow& r = table.rows[i];
        const bool wins = r.payout > 0;
        const int row = int(i);
        rows_->setItem(row, 0, cell(QString::number(r.hits), wins));
        rows_->setItem(row, 1, cell(q(oddsText(r.odds)), wins));
        rows_->setItem(row, 2, cell(wins ? q(formatAmount(double(r.payout), 0)) + " €" : QStringLiteral("–"), wins));
        rows_->setItem(row, 3, cell(q(formatAmount(r.expected, 4)) + " €", wins));
        bars.push_back({r.hits, double(r.ways) / double(table.total), 0, wins});
    }
    fitTable();
    std::reverse(bars.begin(), bars.end()); // the chart reads from 0 hits up
    chart_->setBars(std::move(bars), false, true);
    summary_->setText(q(anyWinText(table)) + " – Rückfluss " + q(formatAmount(100 * table.returnRate, 1)) +
                      " %: " + q(returnText(table)));
}

void OddsDialog::fitTable() {
    rows_->ensurePolished();
    rows_->horizontalHeader()->ensurePolished();
    rows_->resizeColumnsToContents();
    rows_->setFixedWidth(rows_->horizontalHeader()->length() + 2 * rows_->frameWidth() + 8);
}

// The style and the fonts of the window system are known only once the window shows.
void OddsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    fitTable();
}

// ---- "Vergleich mit dem Zufall" ----

ComparisonDialog::ComparisonDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("ChanceComparisonDialog");
    setWindowTitle("Vergleich mit dem Zufall");
    title_ = wrapped(this, "ComparisonTitle");
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    scope_ = wrapped(this, "ComparisonScope");
    chart_ = new ChanceChart(this);
    chart_->setObjectName("ComparisonChart");
    rows_ = makeTable(this, "ComparisonTable", {"Treffer", "beobachtet", "erwartet"});
    rows_->setMinimumWidth(250);
    rows_->setMaximumWidth(300);
    auto* middle = new QHBoxLayout;
    middle->addWidget(chart_, 1);
    middle->addWidget(rows_, 0);
    verdict_ = wrapped(this, "ComparisonVerdict");
    QFont big = bold;
    big.setPointSizeF(bold.pointSizeF() * 1.15);
    verdict_->setFont(big);
    meaning_ = wrapped(this, "ComparisonMeaning");
    money_ = wrapped(this, "ComparisonMoney");
    basis_ = wrapped(this, "ComparisonBasis");
    basis_->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 10);
    layout->setSpacing(8);
    layout->addWidget(title_);
    layout->addWidget(scope_);
    layout->addLayout(middle, 1);
    layout->addWidget(verdict_);
    layout->addWidget(meaning_);
    layout->addWidget(money_);
    layout->addWidget(basis_);
    layout->addWidget(closeButton(this));
    resize(780, 560);
}

void ComparisonDialog::showComparison(const ChanceComparison& c) {
    const std::vector<std::string> lines = comparisonLines(c);
    title_->setText(q(std::string(backtestCaption(c.kind))));
    scope_->setText(q(lines[2]));
    // Hit counts no check can reach (above the tips' size) are left out of the picture.
    size_t shown = c.observed.size();
    while (shown > 1 && c.observed[shown - 1] == 0 && c.expected[shown - 1] < 0.05) --shown;
    rows_->setRowCount(int(c.observed.size()));
    std::vector<ChanceChart::Bar> bars;
    for (size_t h = 0; h < c.observed.size(); ++h) {
        const int row = int(h);
        rows_->setItem(row, 0, cell(QString::number(row)));
        rows_->setItem(row, 1, cell(q(formatAmount(double(c.observed[h]), 0))));
        rows_->setItem(row, 2, cell(q(formatAmount(c.expected[h], 1))));
        if (h < shown) bars.push_back({row, double(c.observed[h]), c.expected[h], false});
    }
    chart_->setBars(std::move(bars), true, false);
    verdict_->setText("Ergebnis: " + q(verdictText(c)));
    QPalette colours = verdict_->palette();
    colours.setColor(QPalette::WindowText, !c.complete ? palette().color(QPalette::WindowText)
                                                       : (c.remarkable() ? QColor(190, 90, 0) : QColor(20, 120, 20)));
    verdict_->setPalette(colours);
    meaning_->setText(q(meaningText(c)));
    QString money;
    if (c.money) {
        const ChanceMoney& m = *c.money;
        money = "Einsatz " + q(formatAmount(double(m.staked), 2)) + " €, gewonnen " +
                q(formatAmount(double(m.won), 2)) + " €";
        if (c.complete)
            money += "\nZufällige Ziehungen hätten für dieselben Tipps im Mittel " + q(formatAmount(m.mean, 2)) +
                     " € gezahlt, in 90 % der Fälle " + q(formatAmount(m.low, 2)) + " € bis " +
                     q(formatAmount(m.high, 2)) + " €";
    }
    money_->setText(money);
    money_->setVisible(c.money.has_value());
    basis_->setText(q(lines.back()));
}

// ---- the view ----

void ChanceDialogs::showOdds(const OddsTable& table) {
    if (!odds_) odds_ = new OddsDialog(parent_);
    odds_->showTable(table);
    odds_->show();
    odds_->raise();
    odds_->activateWindow();
}

void ChanceDialogs::showComparison(const ChanceComparison& comparison) {
    if (!comparison_) comparison_ = new ComparisonDialog(parent_);
    comparison_->showComparison(comparison);
    comparison_->show();
    comparison_->raise();
    comparison_->activateWindow();
}

} // namespace zf::ui
