#pragma once
// The generic questions a controller may ask the user.
#include <optional>
#include <string>

namespace zf {

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

// Message boxes, questions, input boxes and file dialogs. The program's own dialogs are the
// features' dialog ports (GeneratorDialogs, PlayersDialogs, MailDialogs, SubmissionDialogs).
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
};

} // namespace zf
