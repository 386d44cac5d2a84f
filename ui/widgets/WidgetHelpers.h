#pragma once
// The small helpers the pages and dialogs build their widgets with: widgets carrying their control's
// name at a design position, setters that show a model value without echoing it back, the model's
// date values, the pages' fonts, the hourglass and clickable labels.
#include <QApplication>
#include <QDate>
#include <QFont>
#include <QRect>
#include <QString>

#include <functional>
#include <string>

#include "ui/widgets/DesignScale.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;
class QWidget;

namespace zf {
struct FontState;
struct UpDownState;
} // namespace zf

namespace zf::ui {

// A widget named after the control it stands for: tests and screenshots find it by that name.
template <class W> W* make(QWidget* parent, const char* name) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// A command whose handler belongs to a later part of the program: it is shown where it belongs but
// stays disabled until its handler exists, so no button does nothing.
void notYetBuilt(QWidget* w);

// Controls at a design position (see place()).
QPushButton* button(QWidget* parent, const char* name, const QString& text, QRect r, const QString& hint = {});
QToolButton* toolButton(QWidget* parent, const char* name, QRect r, const QString& hint = {});
QLabel* label(QWidget* parent, const char* name, const QString& text, QRect r,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
// A label drawn like a sunken field with the info background: the draw lines.
QLabel* infoLabel(QWidget* parent, const char* name, QRect r, Qt::Alignment align);
QFrame* panel(QWidget* parent, const char* name, QRect r);
QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text, QRect r, const QString& hint = {});
// An up-down control with its buddy edit: one spin box carrying both names.
QSpinBox* upDown(QWidget* parent, const char* name, const char* editName, QRect r);
QLineEdit* lineEdit(QWidget* parent, const char* name, QRect r);

// Text spelled letter by letter from top to bottom, as on the banners beside the tip lists.
QString vertical(const QString& text);

// Show a model value; the widget's own change signal stays quiet, so nothing is written back.
void setChecked(QCheckBox* c, bool on);
void setUpDown(QSpinBox* s, const UpDownState& u);
void setText(QLineEdit* e, const std::string& text);

// The model's date values count days since 30.12.1899; the fraction is the time of day.
QDate toQDate(double value);
double toDateValue(const QDate& d);

// The tab pages use Arial Narrow; where that is missing, any narrow face keeps the long captions of
// the pages within their buttons.
constexpr double kPagePoints = 12;
QString narrowFamily();
QFont pageFont(double points);
// The window font the model keeps ("Systemschrift"), and the model's record of a chosen font.
QFont fontOf(const FontState& f);
void storeFont(FontState& f, const QFont& chosen);

// Runs `action` when `w` is clicked with the left button: on the release over it, like a button.
void onClick(QWidget* w, std::function<void()> action);

// The hourglass while a command counts.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace zf::ui
