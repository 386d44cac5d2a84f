#pragma once
// The tab "Mitspieler": the players' ledger with its totals, the bookings, the protocol, and the
// status mail with its switch "Direkt senden".
#include "ui/pages/CanvasPage.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace zf {
class Session;
}

namespace zf::ui {

class PlayersPage : public CanvasPage {
public:
    explicit PlayersPage(Session& session, QWidget* parent = nullptr);

    // Shows the options when ChangeOptions is among `what`, the table when ChangePlayers is.
    void refresh(unsigned what);

private:
    void showLedger();
    Session& session_;
    QTableWidget* ledger_ = nullptr;       // StringGrid1
    QLabel* totals_[4] = {};               // Label32, Label33, Label34, Label45
    QPushButton* payCurrent_ = nullptr;    // BitBtn16
    QPushButton* deleteCurrent_ = nullptr; // BitBtn17
    QPushButton* sendMail_ = nullptr;      // BitBtn18
    QCheckBox* sendDirectly_ = nullptr;    // CheckBox35
    bool showing_ = false;
};

} // namespace zf::ui
