#include "platform/qt/QtPrompter.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace zf {

QWidget* QtPrompter::dialogParent() const {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    if (parent_) return parent_;
    return QApplication::activeWindow();
}

void QtPrompter::message(const std::string& text) {
    QMessageBox box(QMessageBox::Information, QApplication::applicationName(), QString::fromStdString(text),
                    QMessageBox::NoButton, dialogParent());
    box.addButton("OK", QMessageBox::AcceptRole);
    box.exec();
}

bool QtPrompter::question(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), QString::fromStdString(text),
                    QMessageBox::NoButton, dialogParent());
    QPushButton* yes = box.addButton("Ja", QMessageBox::YesRole);
    QPushButton* no = box.addButton("Nein", QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<std::string> QtPrompter::input(const std::string& caption, const std::string& prompt,
                                             const std::string& proposal) {
    QInputDialog dlg(dialogParent());
    dlg.setInputMode(QInputDialog::TextInput);
    dlg.setWindowTitle(QString::fromStdString(caption));
    dlg.setLabelText(QString::fromStdString(prompt));
    dlg.setTextValue(QString::fromStdString(proposal));
    dlg.setOkButtonText("OK");
    dlg.setCancelButtonText("Abbrechen");
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.textValue().toStdString();
}

} // namespace zf
