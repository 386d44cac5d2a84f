#pragma once
// A date field that takes a date typed the way Germans write it ("15.06.2020", "1.2.21", also
// "15062020") besides the calendar and the arrows. A plain date edit walks its day, month and year
// sections while typing, so a typed dot or a one-digit day lands the digits in the wrong section.
#include <QDateEdit>

namespace zf::ui {

class GermanDateEdit : public QDateEdit {
public:
    explicit GermanDateEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // What was typed since the first digit; it becomes the date on Enter, Tab or leaving the field.
    void finishTyping();
    void showText(const QString& text);

    bool typing_ = false;
    QString typed_;
};

} // namespace zf::ui
