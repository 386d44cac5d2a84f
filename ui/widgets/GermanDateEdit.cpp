#include "ui/widgets/GermanDateEdit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

#include <optional>

#include "base/GermanFormat.h"
#include "ui/widgets/WidgetHelpers.h"

namespace zf::ui {
namespace {

// "dd.mm.yyyy", "d.m.yy" and eight digits "ddmmyyyy".
std::optional<QDate> typedDate(QString text) {
    text = text.trimmed();
    if (text.size() == 8 && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }))
        text = text.left(2) + '.' + text.mid(2, 2) + '.' + text.mid(4);
    const auto value = parseDate(text.toStdString());
    if (!value) return std::nullopt;
    return toQDate(*value);
}

} // namespace

GermanDateEdit::GermanDateEdit(QWidget* parent) : QDateEdit(parent) {
    setDisplayFormat("dd.MM.yyyy");
    setLocale(QLocale(QLocale::German, QLocale::Germany));
}

void GermanDateEdit::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (text.size() == 1 && (text[0].isDigit() || text[0] == '.')) {
        if (!typing_) typed_.clear();
        typing_ = true;
        if (typed_.size() < 10) typed_ += text;
        showText(typed_);
        return;
    }
    if (typing_) {
        if (event->key() == Qt::Key_Backspace) {
            typed_.chop(1);
            showText(typed_);
            return;
        }
        if (event->key() == Qt::Key_Escape) typed_.clear(); // gives the shown date back
        finishTyping();
        if (event->key() == Qt::Key_Escape) return;
    }
    QDateEdit::keyPressEvent(event);
}

void GermanDateEdit::focusOutEvent(QFocusEvent* event) {
    if (typing_) finishTyping();
    QDateEdit::focusOutEvent(event);
}

void GermanDateEdit::showText(const QString& text) {
    // Unheard by the date edit, which would read every half-typed text as a date of its own.
    const QSignalBlocker quiet(lineEdit());
    lineEdit()->setText(text);
}

void GermanDateEdit::finishTyping() {
    typing_ = false;
    // A date outside the field's range, or no date at all, leaves the date as it was.
    if (const auto d = typedDate(typed_); d && *d >= minimumDate() && *d <= maximumDate()) setDate(*d);
    showText(textFromDateTime(dateTime()));
    typed_.clear();
}

} // namespace zf::ui
