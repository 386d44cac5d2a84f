#include "platform/qt/QtPrompter.h"

#include <QApplication>
#include <QEvent>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace zf {
namespace {

// Puts a dialog in the middle of the window it belongs to when it shows (not at the mouse pointer,
// half outside the window).
class CentreOverWindow : public QObject {
public:
    explicit CentreOverWindow(QWidget* over) : over_(over) {}
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Show && over_) {
            auto* dialog = static_cast<QWidget*>(watched);
            dialog->adjustSize();
            const QRect area = over_->window()->frameGeometry();
            dialog->move(area.center() - QPoint(dialog->width() / 2, dialog->height() / 2));
        }
        return false;
    }

private:
    QPointer<QWidget> over_;
};

} // namespace

void QtPrompter::centre(QWidget& dialog) const {
    QWidget* over = dialogParent();
    if (!over) return;
    auto* filter = new CentreOverWindow(over);
    filter->setParent(&dialog);
    dialog.installEventFilter(filter);
}

QWidget* QtPrompter::dialogParent() const {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    if (parent_) return parent_;
    return QApplication::activeWindow();
}

void QtPrompter::message(const std::string& text) {
    QMessageBox box(QMessageBox::Information, QApplication::applicationName(), QString::fromStdString(text),
                    QMessageBox::NoButton, dialogParent());
    box.addButton("OK", QMessageBox::AcceptRole);
    centre(box);
    box.exec();
}

bool QtPrompter::question(const std::string& text) { return ask(text, true); }

bool QtPrompter::questionDefaultNo(const std::string& text) { return ask(text, false); }

bool QtPrompter::ask(const std::string& text, bool yesByDefault) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), QString::fromStdString(text),
                    QMessageBox::NoButton, dialogParent());
    QPushButton* yes = box.addButton("Ja", QMessageBox::YesRole);
    QPushButton* no = box.addButton("Nein", QMessageBox::NoRole);
    box.setDefaultButton(yesByDefault ? yes : no);
    box.setEscapeButton(no);
    centre(box);
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
    centre(dlg);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.textValue().toStdString();
}

} // namespace zf
