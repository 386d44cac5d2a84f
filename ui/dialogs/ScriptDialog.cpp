#include "ui/dialogs/ScriptDialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include "core/ports/Seams.h"
#include "ui/widgets/WidgetHelpers.h"

namespace zf::ui {

ScriptDialog::ScriptDialog(Prompter& files, QWidget* parent) : QDialog(parent), files_(files) {
    setObjectName("TKcsForm");
    setWindowTitle("Script für Zahlenübergabe auswählen!");
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setDesignFont(this, QFont("DejaVu Sans", 9));

    label(this, "LabeledEdit1Label", "Orvanes Click-Script File", {16, 12, 300, 20});
    templatePath_ = make<QComboBox>(this, "LabeledEdit1");
    templatePath_->setEditable(true);
    templatePath_->setInsertPolicy(QComboBox::NoInsert);
    place(templatePath_, 16, 34, 410, 28);
    browseButton_ = toolButton(this, "BitBtn1", {432, 34, 32, 28}, "Script-Datei suchen");
    browseButton_->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));

    auto* group = make<QGroupBox>(this, "GroupBox1");
    group->setTitle("Parameter ");
    place(group, 16, 76, 448, 136);
    auto field = [&](const char* name, const char* caption, int x, int y) {
        label(group, (std::string(name) + "Label").c_str(), caption, {x, y, 200, 20});
        return lineEdit(group, name, {x, y + 22, 200, 28});
    };
    zahl1_ = field("LabeledEdit2", "ZAHL1", 14, 24);
    text1_ = field("LabeledEdit4", "TEXT1", 232, 24);
    zahl2_ = field("LabeledEdit3", "ZAHL2", 14, 80);
    text2_ = field("LabeledEdit5", "TEXT2", 232, 80);

    cancelButton_ = button(this, "BitBtn3", "Abbrechen", {238, 228, 110, 32});
    okButton_ = button(this, "BitBtn2", "OK", {354, 228, 110, 32});
    okButton_->setDefault(true);
    cancelButton_->setAutoDefault(false);

    connect(browseButton_, &QToolButton::clicked, this, &ScriptDialog::browseClicked);
    connect(okButton_, &QPushButton::clicked, this, &ScriptDialog::okClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    placeSize(this, kDesignWidth, kDesignHeight);
}

bool ScriptDialog::run(ScriptDialogState& state) {
    state_ = &state;
    templatePath_->clear(); // FormShow: the list of templates, the remembered path kept
    for (const std::string& p : state.templateList) templatePath_->addItem(QString::fromStdString(p));
    templatePath_->setEditText(QString::fromStdString(state.templatePath));
    zahl1_->setText(QString::fromStdString(state.zahl1));
    text1_->setText(QString::fromStdString(state.text1));
    zahl2_->setText(QString::fromStdString(state.zahl2));
    text2_->setText(QString::fromStdString(state.text2));
    // The size of the current scale, fixed while it shows (the controls do not flow).
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    placeSize(this, kDesignWidth, kDesignHeight);
    setFixedSize(size());
    const bool ok = exec() == QDialog::Accepted;
    take(); // FormClose
    state_ = nullptr;
    return ok;
}

void ScriptDialog::take() {
    if (!state_) return;
    state_->templatePath = templatePath_->currentText().toStdString();
    state_->zahl1 = zahl1_->text().isEmpty() ? "0" : zahl1_->text().toStdString();
    state_->text1 = text1_->text().toStdString();
    state_->zahl2 = zahl2_->text().isEmpty() ? "0" : zahl2_->text().toStdString();
    state_->text2 = text2_->text().toStdString();
}

void ScriptDialog::browseClicked() {
    FileDialogSetup setup;
    setup.defaultExt = "kcs";
    setup.filter = "Orvanes Click Script|*.kcs";
    setup.folder = state_ ? state_->scriptFolder : std::string();
    if (const auto path = files_.openFileName(setup)) templatePath_->setEditText(QString::fromStdString(*path));
}

void ScriptDialog::okClicked() {
    take();
    if (state_ && state_->onOk) state_->onOk(state_->templatePath);
    accept();
}

} // namespace zf::ui
