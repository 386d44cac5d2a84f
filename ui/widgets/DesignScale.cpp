#include "ui/widgets/DesignScale.h"

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

int sc(int v, double f) { return static_cast<int>(std::lround(v * f)); }

void apply(QWidget* w, double f) {
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
