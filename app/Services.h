#pragma once
// The platform seams one front end hands to the controllers.
#include "platform/Seams.h"
#include "platform/SettingsStore.h"

namespace zf {

struct Services {
    Prompter& prompter;
    Shell& shell;
    SoundPlayer& sound;
    Clock& clock;
    SettingsStore& settings;
};

} // namespace zf
