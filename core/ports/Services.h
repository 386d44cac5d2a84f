#pragma once
// The platform seams a front end hands to the controllers, as one bundle of references.
#include "core/ports/Seams.h"
#include "core/ports/SettingsStore.h"

namespace zf {

struct Services {
    Prompter& prompter;
    Shell& shell;
    SoundPlayer& sound;
    Clock& clock;
    SettingsStore& settings;
};

} // namespace zf
