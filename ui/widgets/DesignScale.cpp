#include "ui/widgets/DesignScale.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QProxyStyle>
#include <QRadioButton>
#include <QStyle>
#include <QTableView>
#include <QVariant>
#include <QWidget>
#include <cmath>

namespace zf::ui {

namespace {

constexpr const char* kRect = "zfDesignRect";
constexpr const char* kSize = "zfDesignSize";
constexpr const char* kFixedHeight = "zfDesignFixedHeight";
constexpr const char* kFont = "zfDesignFont";
constexpr const char* kScale = "zfScale";
constexpr const char* kIconSize = "zfDesignIconSize";
constexpr const char* kColumns = "zfDesignColumns";

int sc(int v, double f) { return static_cast<int>(std::lround(v * f)); }

// The application's style with check box and radio button marks as large as the scale of the
// widget's tree asks.
class IndicatorStyle : public QProxyStyle {
public:
    IndicatorStyle() : QProxyStyle(QApplication::style()->name()) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        const int base = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return widget ? sc(base, scaleOf(widget)) : base;
        default:
            return base;
        }
    }
};

QStyle& indicatorStyle() {
    static IndicatorStyle* style = new IndicatorStyle; // lives as long as the program
    return *style;
}

void apply(QWidget* w, double f) {
    // Check marks grow with the text beside them.
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        if (w->style() != &indicatorStyle()) w->setStyle(&indicatorStyle());
        w->updateGeometry();
    }
    const QVariant font = w->property(kFont);
    if (font.isValid()) {
        QFont ft = font.value<QFont>();
        ft.setPointSizeF(ft.pointSizeF() * f);
        ft.setResolveMask(QFont::AllPropertiesResolved);
        w->setFont(ft);
    }
    const QVariant rect = w->property(kRect);
    if (rect.isValid()) {
        const QRect r = rect.toRect();
        w->setGeometry(sc(r.x(), f), sc(r.y(), f), sc(r.width(), f), sc(r.height(), f));
    }
    const QVariant size = w->property(kSize);
    if (size.isValid()) {
        const QSize s = size.toSize();
        w->resize(sc(s.width(), f), sc(s.height(), f));
    }
    const QVariant fixed = w->property(kFixedHeight);
    if (fixed.isValid()) w->setFixedHeight(sc(fixed.toInt(), f));

    const QVariant columns = w->property(kColumns);
    if (columns.isValid())
        if (auto* table = qobject_cast<QTableView*>(w)) {
            const QList<int> widths = columns.value<QList<int>>();
            for (int c = 0; c < widths.size(); ++c) table->setColumnWidth(c, sc(widths[c], f));
        }

    // Icons grow with the text around them.
    if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->icon().isNull()) {
        if (!b->property(kIconSize).isValid()) b->setProperty(kIconSize, b->iconSize());
        const QSize s = b->property(kIconSize).toSize();
        b->setIconSize(QSize(sc(s.width(), f), sc(s.height(), f)));
    }
}

} // namespace

double scaleOf(const QWidget* w) {
    for (; w; w = w->parentWidget()) {
        const QVariant s = w->property(kScale);
        if (s.isValid()) return s.toDouble();
    }
    return 1.0;
}

void place(QWidget* w, int x, int y, int width, int height) {
    w->setProperty(kRect, QRect(x, y, width, height));
    apply(w, scaleOf(w));
}

void placeSize(QWidget* w, int width, int height) {
    w->setProperty(kSize, QSize(width, height));
    apply(w, scaleOf(w));
}

void placeFixedHeight(QWidget* w, int height) {
    w->setProperty(kFixedHeight, height);
    apply(w, scaleOf(w));
}

void placeColumns(QTableView* table, const QList<int>& widths) {
    table->setProperty(kColumns, QVariant::fromValue(widths));
    apply(table, scaleOf(table));
}

void setDesignFont(QWidget* w, QFont font) {
    font.setResolveMask(QFont::AllPropertiesResolved);
    w->setProperty(kFont, QVariant::fromValue(font));
    apply(w, scaleOf(w));
}

QFont designFont(const QWidget* w) {
    const QVariant v = w->property(kFont);
    return v.isValid() ? v.value<QFont>() : w->font();
}

void scaleTree(QWidget* root, double factor) {
    root->setProperty(kScale, factor);
    apply(root, factor);
    for (QWidget* w : root->findChildren<QWidget*>()) apply(w, factor);
}

} // namespace zf::ui
