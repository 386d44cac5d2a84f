#pragma once
// The submission's dialog port: the game options and the click script dialog.
#include "core/submission/ClickScript.h"
#include "core/submission/GameOptions.h"

namespace zf {

class SubmissionDialogs {
public:
    virtual ~SubmissionDialogs() = default;
    // Shows the game options dialog (TForm5) modally; its buttons call back into `actions`.
    virtual GameChoice gameOptionsDialog(GameOptions& options, GameOptionsActions& actions) {
        (void)options;
        (void)actions;
        return GameChoice::Abort;
    }
    // Shows the script dialog (TKcsForm) modally; true when it was closed with OK.
    virtual bool scriptDialog(ScriptDialogState& state) {
        (void)state;
        return false;
    }
};

} // namespace zf
