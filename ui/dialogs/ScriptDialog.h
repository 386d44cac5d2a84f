#pragma once
// "Script für Zahlenübergabe auswählen!" (TKcsForm): the click-script template and Klicker's four
// free parameters. It shows and edits a ScriptDialogState; the window lives as long as the program.
#include <QDialog>

#include "core/submission/ClickScript.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace zf {
class Prompter;
}

namespace zf::ui {

class ScriptDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 480;
    static constexpr int kDesignHeight = 272;

    // `files` answers the browse button's file dialog.
    explicit ScriptDialog(Prompter& files, QWidget* parent = nullptr);

    // Shows the dialog modally on `state`; true when it was closed with OK.
    bool run(ScriptDialogState& state);

    void browseClicked(); // BitBtn1
    void okClicked();     // BitBtn2: the script update, then OK

private:
    void take();

    Prompter& files_;
    ScriptDialogState* state_ = nullptr;
    QComboBox* templatePath_ = nullptr; // LabeledEdit1
    QToolButton* browseButton_ = nullptr;
    QLineEdit* zahl1_ = nullptr;          // LabeledEdit2
    QLineEdit* zahl2_ = nullptr;          // LabeledEdit3
    QLineEdit* text1_ = nullptr;          // LabeledEdit4
    QLineEdit* text2_ = nullptr;          // LabeledEdit5
    QPushButton* cancelButton_ = nullptr; // BitBtn3
    QPushButton* okButton_ = nullptr;     // BitBtn2
};

} // namespace zf::ui
