#pragma once
// The platform seams and the features' dialog ports a front end hands to the controllers, as one
// bundle of references.
#include "core/generator/GeneratorDialogs.h"
#include "core/mail/MailDialogs.h"
#include "core/players/PlayersDialogs.h"
#include "core/ports/Seams.h"
#include "core/ports/SettingsStore.h"
#include "core/submission/SubmissionDialogs.h"

namespace zf {

// The program's own dialogs, one port per feature.
struct Dialogs {
    GeneratorDialogs& generator;
    PlayersDialogs& players;
    MailDialogs& mail;
    SubmissionDialogs& submission;
};

// Every dialog port with its default answers (cancelled, or the proposal taken), for programs
// without dialogs of their own such as the benchmarks.
struct NoDialogs : GeneratorDialogs, PlayersDialogs, MailDialogs, SubmissionDialogs {};

// For a front end (or a test double) that shows every dialog itself.
template <class AllDialogs> Dialogs dialogsOf(AllDialogs& all) { return Dialogs{all, all, all, all}; }

struct Services {
    Prompter& prompter;
    Dialogs dialogs;
    Shell& shell;
    SoundPlayer& sound;
    Clock& clock;
    SettingsStore& settings;
};

} // namespace zf
