#include "ui/dialogs/DesktopPrompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "ui/dialogs/GameOptionsDialog.h"
#include "ui/dialogs/MailerForm.h"
#include "ui/dialogs/NumberDialog.h"
#include "ui/dialogs/ScriptDialog.h"
#include "ui/dialogs/StakeDialog.h"

namespace zf::ui {
namespace {

// "Tippdatei|*.ktf" -> "Tippdatei (*.ktf)"
QString qtFilter(const std::string& filter) {
    const QString f = QString::fromStdString(filter);
    const int bar = f.indexOf('|');
    return bar < 0 ? f : f.left(bar) + " (" + f.mid(bar + 1) + ")";
}

QString startPath(const FileDialogSetup& setup) {
    QString dir = QString::fromStdString(setup.folder);
    if (!dir.isEmpty() && !dir.endsWith('/')) dir += '/';
    return dir + QString::fromStdString(setup.proposedName);
}

QString withExtension(QString path, const std::string& ext) {
    if (!ext.empty() && QFileInfo(path).suffix().isEmpty()) path += "." + QString::fromStdString(ext);
    return path;
}

} // namespace

DesktopPrompter::DesktopPrompter(QWidget* parent) : QtPrompter(parent) {}

DesktopPrompter::~DesktopPrompter() {
    delete numberDialog_.data();
    delete gameOptionsDialog_.data();
    delete scriptDialog_.data();
    delete mailDialog_.data();
}

void DesktopPrompter::setupMailDialog(MailController& mail, QWidget* parent) {
    delete mailDialog_.data();
    mailDialog_ = new MailerForm(mail, parent);
}

void DesktopPrompter::mailDialog() {
    if (mailDialog_) mailDialog_->run();
}

bool DesktopPrompter::questionTitled(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Question, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::NoButton, dialogParent());
    QPushButton* yes = box.addButton("Ja", QMessageBox::YesRole);
    box.addButton("Nein", QMessageBox::NoRole);
    box.setDefaultButton(yes);
    centre(box);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<std::string> DesktopPrompter::saveFileName(const FileDialogSetup& setup) {
    const QString p = QFileDialog::getSaveFileName(QApplication::activeWindow(), "Speichern unter", startPath(setup),
                                                   qtFilter(setup.filter));
    if (p.isEmpty()) return std::nullopt;
    return withExtension(p, setup.defaultExt).toStdString();
}

std::optional<FileChoice> DesktopPrompter::saveFileChoice(const FileDialogSetup& setup) {
    // Every "Name|pattern" pair of the filter is a file type the dialog offers.
    const QStringList parts = QString::fromStdString(setup.filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i] + " (" + parts[i + 1] + ")";
    QFileDialog dialog(QApplication::activeWindow(),
                       setup.title.empty() ? QString("Speichern unter") : QString::fromStdString(setup.title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QString::fromStdString(setup.defaultExt));
    dialog.setDirectory(QString::fromStdString(setup.folder));
    dialog.selectFile(QString::fromStdString(setup.proposedName));
    centre(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return FileChoice{dialog.selectedFiles().front().toStdString(),
                      static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1};
}

std::optional<std::string> DesktopPrompter::openFileName(const FileDialogSetup& setup) {
    const QString title = setup.title.empty() ? QString("Öffnen") : QString::fromStdString(setup.title);
    const QString p = QFileDialog::getOpenFileName(QApplication::activeWindow(), title, startPath(setup),
                                                   qtFilter(setup.filter) + ";;Alle Dateien (*)");
    if (p.isEmpty()) return std::nullopt;
    return p.toStdString();
}

void DesktopPrompter::setupNumberDialog(Random& random, std::function<double()> today,
                                        std::function<std::string()> home, QWidget* parent) {
    delete numberDialog_.data();
    numberDialog_ = new NumberDialog(random, *this, std::move(today), std::move(home), parent);
}

std::optional<std::string> DesktopPrompter::stakeDialog(const std::string& proposal) {
    StakeDialog dialog(dialogParent());
    dialog.edit()->setText(QString::fromStdString(proposal));
    dialog.edit()->selectAll();
    centre(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.edit()->text().toStdString();
}

void DesktopPrompter::setupSubmissionDialogs(QWidget* parent) {
    delete gameOptionsDialog_.data();
    delete scriptDialog_.data();
    gameOptionsDialog_ = new GameOptionsDialog(parent);
    scriptDialog_ = new ScriptDialog(*this, parent);
}

GameChoice DesktopPrompter::gameOptionsDialog(GameOptions& options, GameOptionsActions& actions) {
    if (!gameOptionsDialog_) return GameChoice::Abort;
    return gameOptionsDialog_->run(options, actions);
}

bool DesktopPrompter::scriptDialog(ScriptDialogState& state) {
    if (!scriptDialog_) return false;
    return scriptDialog_->run(state);
}

ModalResult DesktopPrompter::numberDialog(NumberChoice& form) {
    if (!numberDialog_) return ModalResult::Abort;
    return numberDialog_->run(form);
}

} // namespace zf::ui
