#include "ui/widgets/WidgetHelpers.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

#include <cmath>

#include "app/Model.h"

namespace zf::ui {
namespace {

const QDate kDateBase(1899, 12, 30);

class ClickFilter : public QObject {
public:
    ClickFilter(QObject* parent, std::function<void()> action) : QObject(parent), action_(std::move(action)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        const bool press = e->type() == QEvent::MouseButtonPress;
        if ((press || e->type() == QEvent::MouseButtonRelease) &&
            static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
            // Take the press, so that the release comes here too; act on the release, like a button.
            if (press) return true;
            auto* w = qobject_cast<QWidget*>(watched);
            if (w && w->rect().contains(static_cast<QMouseEvent*>(e)->position().toPoint())) {
                action_();
                return true;
            }
        }
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<void()> action_;
};

} // namespace

void notYetBuilt(QWidget* w) {
    // The command's own hint waits in a property for the day it works; until then the hint says so.
    w->setProperty("plannedToolTip", w->toolTip());
    w->setToolTip("noch nicht verfügbar");
    w->setEnabled(false);
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, QRect r, const QString& hint) {
    auto* b = make<QPushButton>(parent, name);
    b->setText(text);
    if (!hint.isEmpty()) b->setToolTip(hint);
    place(b, r.x(), r.y(), r.width(), r.height());
    return b;
}

QToolButton* toolButton(QWidget* parent, const char* name, QRect r, const QString& hint) {
    auto* b = make<QToolButton>(parent, name);
    if (!hint.isEmpty()) b->setToolTip(hint);
    b->setAutoRaise(false);
    place(b, r.x(), r.y(), r.width(), r.height());
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect r, Qt::Alignment align) {
    auto* l = make<QLabel>(parent, name);
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    l->setAlignment(align);
    place(l, r.x(), r.y(), r.width(), r.height());
    return l;
}

QLabel* infoLabel(QWidget* parent, const char* name, QRect r, Qt::Alignment align) {
    QLabel* l = label(parent, name, QString(), r, align);
    l->setFrameShape(QFrame::StyledPanel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAutoFillBackground(true);
    l->setBackgroundRole(QPalette::ToolTipBase);
    l->setForegroundRole(QPalette::ToolTipText);
    l->setWordWrap(true);
    l->setMargin(2);
    return l;
}

QFrame* panel(QWidget* parent, const char* name, QRect r) {
    auto* p = make<QFrame>(parent, name);
    p->setFrameShape(QFrame::StyledPanel);
    p->setFrameShadow(QFrame::Raised);
    place(p, r.x(), r.y(), r.width(), r.height());
    return p;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text, QRect r, const QString& hint) {
    auto* c = make<QCheckBox>(parent, name);
    c->setText(text);
    if (!hint.isEmpty()) c->setToolTip(hint);
    place(c, r.x(), r.y(), r.width(), r.height());
    return c;
}

QSpinBox* upDown(QWidget* parent, const char* name, const char* editName, QRect r) {
    auto* s = make<QSpinBox>(parent, name);
    if (auto* e = s->findChild<QLineEdit*>()) e->setObjectName(QString::fromLatin1(editName));
    s->setAlignment(Qt::AlignRight);
    s->setKeyboardTracking(false);
    place(s, r.x(), r.y(), r.width(), r.height());
    return s;
}

QLineEdit* lineEdit(QWidget* parent, const char* name, QRect r) {
    auto* e = make<QLineEdit>(parent, name);
    place(e, r.x(), r.y(), r.width(), r.height());
    return e;
}

QString vertical(const QString& text) {
    QStringList letters;
    for (QChar c : text) letters << (c == ' ' ? QString() : QString(c));
    return letters.join('\n');
}

void setChecked(QCheckBox* c, bool on) {
    const QSignalBlocker block(c);
    c->setChecked(on);
}

void setUpDown(QSpinBox* s, const UpDownState& u) {
    const QSignalBlocker block(s);
    s->setRange(u.min, u.max);
    s->setValue(u.pos);
}

void setText(QLineEdit* e, const std::string& text) {
    const QString t = QString::fromStdString(text);
    if (e->text() == t) return;
    const QSignalBlocker block(e);
    e->setText(t);
}

QDate toQDate(double value) { return kDateBase.addDays(static_cast<qint64>(std::floor(value))); }
double toDateValue(const QDate& d) { return static_cast<double>(kDateBase.daysTo(d)); }

QString narrowFamily() {
    const QStringList families = QFontDatabase::families();
    for (const char* wanted : {"Arial Narrow", "Liberation Sans Narrow", "Nimbus Sans Narrow", "DejaVu Sans Condensed"})
        if (families.contains(QString::fromLatin1(wanted))) return QString::fromLatin1(wanted);
    for (const QString& f : families)
        if (f.contains("Narrow", Qt::CaseInsensitive) || f.contains("Condensed", Qt::CaseInsensitive)) return f;
    return QApplication::font().family();
}

QFont pageFont(double points) {
    QFont f(narrowFamily());
    f.setPointSizeF(points);
    f.setStretch(QFont::AnyStretch);
    f.setBold(false);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    return f;
}

QFont fontOf(const FontState& s) {
    QFont f(QString::fromStdString(s.name));
    f.setPointSize(s.size);
    f.setBold(s.style & 1);
    f.setItalic(s.style & 2);
    f.setUnderline(s.style & 4);
    f.setStrikeOut(s.style & 8);
    return f;
}

void storeFont(FontState& s, const QFont& chosen) {
    s.name = chosen.family().toStdString();
    s.size = chosen.pointSize() > 0 ? chosen.pointSize() : s.size;
    s.style = static_cast<uint8_t>((chosen.bold() ? 1 : 0) | (chosen.italic() ? 2 : 0) | (chosen.underline() ? 4 : 0) |
                                   (chosen.strikeOut() ? 8 : 0));
}

void onClick(QWidget* w, std::function<void()> action) { w->installEventFilter(new ClickFilter(w, std::move(action))); }

} // namespace zf::ui
