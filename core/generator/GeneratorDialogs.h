#pragma once
// The generator's dialog port: the number dialog, which the pool, the tip editor and the draw entry use.
#include "core/generator/NumberChoice.h"
#include "core/ports/Prompter.h"

namespace zf {

class GeneratorDialogs {
public:
    virtual ~GeneratorDialogs() = default;
    // Shows the number dialog modally on the given state; the dialog may change it.
    virtual ModalResult numberDialog(NumberChoice& form) {
        (void)form;
        return ModalResult::Abort;
    }
};

} // namespace zf
