#pragma once
// The tab "Keno-Tipp": the current draw with its browse buttons, the tip list and its hits column,
// the tip panel (Keno type, tips per ticket, total tips, stake, the tip commands) and the commands
// below (save, open, lucky number, print, run the generator, close, tip distribution).
#include "ui/pages/CanvasPage.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListView;
class QMenu;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace zf {
class Session;
}

namespace zf::ui {

class GesamtTippsBox;
class HitsListModel;
class TipListModel;

class KenoTippPage : public CanvasPage {
public:
    explicit KenoTippPage(Session& session, QWidget* parent = nullptr);

    // Shows what the model's change bits name (ChangeDraw, ChangeTips, ChangeHits, ChangeOptions).
    void refresh(unsigned what);

    // "Systemschrift" of the draw line's menu: the window font, and the draw line in it, bold.
    void chooseFont();

private:
    void buildDrawPanel(QWidget* canvas);
    void buildTipLists(QWidget* canvas);
    void buildTipPanel(QWidget* canvas);
    void buildCommands(QWidget* canvas);
    void banner(QWidget* canvas, const char* panelName, const char* labelName, const char* text, int x);
    void refreshOptions();
    // Keeps line i of both lists selected together, and the ticket and tip labels with them.
    void syncSelection(QListView* from, QListView* to);
    void updateSelectionLabels();

    Session& session_;
    bool syncing_ = false;
    TipListModel* tipModel_ = nullptr;
    HitsListModel* hitsModel_ = nullptr;

    QToolButton* updateButton_ = nullptr;    // SpeedButton10
    QLabel* drawLine_ = nullptr;             // Label35
    QMenu* drawLineMenu_ = nullptr;          // PopupMenu1
    QLabel* crossSum_ = nullptr;             // Label13
    QListView* tipList_ = nullptr;           // ListBox1
    QListView* hitsList_ = nullptr;          // ListBox2
    QCheckBox* clearBeforeRun_ = nullptr;    // CheckBox28
    QSpinBox* kenoType_ = nullptr;           // UpDown18
    QSpinBox* tipsPerTicket_ = nullptr;      // UpDown8
    GesamtTippsBox* totalTips_ = nullptr;    // UpDown9
    QComboBox* stake_ = nullptr;             // ComboBox1
    QLabel* ticketLabel_ = nullptr;          // Label23
    QLabel* tipLabel_ = nullptr;             // Label24
    QPushButton* runButton_ = nullptr;       // BitBtn4, "Tipps berechnen" / "Stoppen"
    QPushButton* enumerateButton_ = nullptr; // ErzeugenBtn
};

} // namespace zf::ui
