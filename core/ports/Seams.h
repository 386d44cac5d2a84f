#pragma once
// The small layers that stand in for the operating system: the model and the controllers talk to
// these interfaces only; the desktop program, the batch program and the tests plug in their own.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/submission/ClickScript.h"
#include "core/submission/GameOptions.h"

namespace zf {

struct NumberChoice;
enum class ModalResult {
    None,
    Ok,
    Retry,
    Abort
};

// What a file dialog is set up with: default extension ("ktf"), filter ("Tippdatei|*.ktf"),
// proposed file name and the folder it opens in.
struct FileDialogSetup {
    std::string defaultExt;
    std::string filter;
    std::string proposedName;
    std::string folder;
    std::string title; // the dialog's caption; empty for the usual one
};

// What a save dialog with several file types returns: the file and the type chosen (1-based).
struct FileChoice {
    std::string path;
    int filterIndex = 1;
};

// Message boxes, questions, input boxes, file dialogs and the program's modal dialogs.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void message(const std::string& text) = 0;
    virtual bool question(const std::string& text) = 0; // Ja = true
    virtual std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                             const std::string& proposal) = 0;
    // A Yes/No question whose default answer (Enter) is "Nein", for a step that cannot be undone.
    virtual bool questionDefaultNo(const std::string& text) { return question(text); }
    // A Yes/No question with a window title of its own.
    virtual bool questionTitled(const std::string& text, const std::string& title) {
        (void)title;
        return question(text);
    }
    // File dialogs: the chosen path, or nothing when cancelled.
    virtual std::optional<std::string> saveFileName(const FileDialogSetup& setup) {
        (void)setup;
        return std::nullopt;
    }
    // A save dialog whose file type matters to the caller; without its own dialog the first type.
    virtual std::optional<FileChoice> saveFileChoice(const FileDialogSetup& setup) {
        const auto path = saveFileName(setup);
        if (!path) return std::nullopt;
        return FileChoice{*path, 1};
    }
    virtual std::optional<std::string> openFileName(const FileDialogSetup& setup) {
        (void)setup;
        return std::nullopt;
    }
    // The stake dialog `TForm9` ("Einsatz bei den Mitspielern eintragen") with `proposal` in its edit:
    // the edit's text after OK, nothing after "Abbrechen".
    virtual std::optional<std::string> stakeDialog(const std::string& proposal) { return proposal; }
    // Shows the mail dialog `TMailerForm` modally on the session's mail fields; it sends by itself.
    virtual void mailDialog() {}
    // Shows the number dialog modally on the given state; the dialog may change it.
    virtual ModalResult numberDialog(NumberChoice& form) {
        (void)form;
        return ModalResult::Abort;
    }
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

// Klicker's DDE conversation: a link to `service` and `topic` that takes one execute command.
// False when no conversation could be opened (Klicker is not running).
class DdeClient {
public:
    virtual ~DdeClient() = default;
    virtual bool execute(const std::string& service, const std::string& topic, const std::string& command) = 0;
};

// Opens a file, an address or a program the way the desktop does.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool open(const std::string& target, const std::string& parameters = {}) = 0;
};

// Plays a WAV file asynchronously; a new sound replaces one still playing.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const std::string& wavPath) = 0;
};

// Today and now as date values (days since 1899-12-30, local time), and a counter to seed from.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
    virtual uint32_t ticks() const = 0;
};

} // namespace zf
