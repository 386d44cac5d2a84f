#include "ui/dialogs/StakeDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zf::ui {

StakeDialog::StakeDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("Form9");
    setWindowTitle("Einsatz bei den Mitspielern eintragen");
    setMinimumWidth(380); // room for the caption in the title bar
    auto* label = new QLabel("Spieleinsatz: ", this);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    edit_ = new QLineEdit("0", this);
    edit_->setObjectName("Edit1");
    edit_->setMinimumWidth(140);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(edit_, 1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("BitBtn1");
    ok->setDefault(true);
    buttons->addButton("Abbrechen", QDialogButtonBox::RejectRole)->setObjectName("BitBtn2");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(14);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

} // namespace zf::ui
