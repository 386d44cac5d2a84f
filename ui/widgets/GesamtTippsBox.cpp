#include "ui/widgets/GesamtTippsBox.h"

#include <algorithm>

#include "app/tips/TipListController.h"

namespace zf::ui {

GesamtTippsBox::GesamtTippsBox(QWidget* parent) : QSpinBox(parent) { setRange(1, 500000); }

void GesamtTippsBox::setArrowRange(int min, int max) {
    arrowMin_ = min;
    arrowMax_ = max;
}

void GesamtTippsBox::stepBy(int steps) {
    setValue(std::clamp(value() + steps, arrowMin_, arrowMax_));
    selectAll();
}

QSpinBox::StepEnabled GesamtTippsBox::stepEnabled() const {
    StepEnabled e = StepNone;
    if (value() > arrowMin_) e |= StepDownEnabled;
    if (value() < arrowMax_) e |= StepUpEnabled;
    return e;
}

// The typing rule rewrites the text as it is typed: what is no number 1..500000 becomes "500000".
QValidator::State GesamtTippsBox::validate(QString& input, int& pos) const {
    const QString ruled = QString::fromStdString(totalTipsRule(input.toStdString()));
    if (ruled != input) {
        input = ruled;
        pos = static_cast<int>(input.size());
    }
    return QValidator::Acceptable;
}

} // namespace zf::ui
