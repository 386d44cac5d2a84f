#pragma once
// "Gesamt-Tipps": the field takes any number up to 500 000 while its arrows stay inside the
// up-down's own range, and its text follows the typing rule of the tip list.
#include <QSpinBox>

namespace zf::ui {

class GesamtTippsBox : public QSpinBox {
    Q_OBJECT
public:
    explicit GesamtTippsBox(QWidget* parent = nullptr);
    void setArrowRange(int min, int max);
    void stepBy(int steps) override;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    StepEnabled stepEnabled() const override;

private:
    int arrowMin_ = 1;
    int arrowMax_ = 120;
};

} // namespace zf::ui
