#pragma once
// The number dialog: 70 check boxes in ten rows of seven, each with its weight as tooltip, the random
// choice, weight list files and, for the manual draw entry, a date and the five Plus 5 digits.
// It shows and edits a NumberChoice; the window itself lives as long as the program.
#include <QDialog>
#include <array>
#include <functional>

#include "core/generator/NumberChoice.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QSpinBox;
class QStatusBar;
class QTimer;
class QToolButton;

namespace zf {
struct FileDialogSetup;
class Prompter;
class Random;
} // namespace zf

namespace zf::ui {

class NumberDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 392;
    static constexpr int kDesignHeight = 298;
    static constexpr int kEntryExtra = 100; // the draw entry makes the dialog this much taller

    // `today` gives the date for the proposed weight list name; `home` the folder the file dialogs open.
    NumberDialog(Random& random, Prompter& files, std::function<double()> today, std::function<std::string()> home,
                 QWidget* parent = nullptr);

    // Shows the dialog modally on `state` and returns how it was closed.
    ModalResult run(NumberChoice& state);

    // Handlers, named after their controls.
    void boxPressed(int k, bool right);
    void randomClicked();      // BitBtn4, "&Zufall"
    void randomTick();         // Timer1: the next step of the random choice
    void saveWeightListFile(); // save the weight list
    void loadWeightListFile(); // load a weight list

    QCheckBox* box(int k) const { return boxes_[static_cast<size_t>(k)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void render();
    void finish(ModalResult r);
    // The file dialogs of the weight lists: "*.kwl", named after today, in the program folder.
    FileDialogSetup weightListDialog() const;

    Random& random_;
    Prompter& files_;
    std::function<double()> today_;
    std::function<std::string()> home_;
    NumberChoice* state_ = nullptr;
    ModalResult result_ = ModalResult::Abort;

    std::array<QCheckBox*, 71> boxes_{};
    QPushButton* okButton_ = nullptr;        // BitBtn1, "OK"
    QPushButton* cancelButton_ = nullptr;    // BitBtn2, "Abbrechen"
    QPushButton* computeButton_ = nullptr;   // BitBtn3, "&Rechnen"
    QPushButton* randomButton_ = nullptr;    // BitBtn4, "&Zufall"
    QToolButton* saveListButton_ = nullptr;  // SpeedButton1
    QToolButton* loadListButton_ = nullptr;  // SpeedButton2
    QTimer* randomTimer_ = nullptr;          // Timer1
    QStatusBar* statusBar_ = nullptr;        // StatusBar1
    QWidget* entryPanel_ = nullptr;          // the draw entry: date and Plus 5 digits
    QDateEdit* entryDate_ = nullptr;         // DateTimePicker1
    QLabel* plus5Label_ = nullptr;           // Label1
    std::array<QSpinBox*, 5> plus5Digits_{}; // UpDown3..UpDown7
};

} // namespace zf::ui
