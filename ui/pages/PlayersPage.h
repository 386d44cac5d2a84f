#pragma once
// The tab "Mitspieler": the players' ledger with its totals and commands (still to come), and the
// switch "Direkt senden" for the status mail.
#include "ui/pages/CanvasPage.h"

class QCheckBox;

namespace zf {
class Session;
}

namespace zf::ui {

class PlayersPage : public CanvasPage {
public:
    explicit PlayersPage(Session& session, QWidget* parent = nullptr);

    // Shows the options when ChangeOptions is among `what`.
    void refresh(unsigned what);

private:
    Session& session_;
    QCheckBox* sendDirectly_ = nullptr; // CheckBox35
};

} // namespace zf::ui
