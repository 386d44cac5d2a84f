#pragma once
// "Onlineabgabe des Tippscheins" (TForm5): duration, stake per field, Plus 5 and the ticket number
// of a hand-over, its cost, and the choice of the route. It shows and edits a GameOptions; the
// window lives as long as the program and scales with the main window.
#include <QDialog>
#include <array>

#include "core/submission/GameOptions.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace zf::ui {

class GameOptionsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 440;
    static constexpr int kDesignHeight = 290;

    explicit GameOptionsDialog(QWidget* parent = nullptr);

    // Shows the dialog modally on `options`; its own buttons call `actions`.
    GameChoice run(GameOptions& options, GameOptionsActions& actions);

    // Handlers, named after their controls.
    void costChanged();       // CheckBox1Click: "plus 5" or either list changed
    void randomClicked();     // Label7Click
    void neverDrawnClicked(); // SpeedButton1Click
    void checkClicked();      // SpeedButton2Click

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void render();
    void take(); // the controls into the options

    GameOptions* options_ = nullptr;
    GameOptionsActions* actions_ = nullptr;
    GameChoice choice_ = GameChoice::Abort;
    bool rendering_ = false;

    QComboBox* duration_ = nullptr;           // combobox1
    QComboBox* stake_ = nullptr;              // ComboBox2
    QCheckBox* plus5_ = nullptr;              // CheckBox3
    QLabel* ticketLabel_ = nullptr;           // Label7, "Schein:"
    std::array<QSpinBox*, 5> digits_{};       // Edit3..Edit7 with UpDown3..UpDown7
    QToolButton* neverDrawnButton_ = nullptr; // SpeedButton1
    QToolButton* checkButton_ = nullptr;      // SpeedButton2
    QLabel* plus5Note_ = nullptr;
    QLabel* cost_ = nullptr;               // Label4
    QPushButton* abortButton_ = nullptr;   // BitBtn1
    QPushButton* klickerButton_ = nullptr; // BitBtn3, "&Klicker"
    QPushButton* cartButton_ = nullptr;    // BitBtn2, "Warenkorb"
};

} // namespace zf::ui
