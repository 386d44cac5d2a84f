#pragma once
// What every batch command works with: the model, the controllers, the seams and the output.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Session.h"
#include "core/ports/NullSeams.h"
#include "core/ports/SettingsStore.h"
#include "platform/SystemClock.h"

namespace zf::cli {

// Message boxes become "message;TEXT" lines; questions take the answer the command set up. Of the
// program's dialogs, the number and the stake dialog take what the command set up; the others
// are never shown in a batch.
class CliPrompter : public Prompter,
                    public GeneratorDialogs,
                    public PlayersDialogs,
                    public MailDialogs,
                    public SubmissionDialogs {
public:
    void message(const std::string& text) override;
    bool question(const std::string& text) override;
    std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                     const std::string& proposal) override;
    ModalResult numberDialog(NumberChoice& form) override;
    std::optional<FileChoice> saveFileChoice(const FileDialogSetup& setup) override;
    // The stake dialog: OK with `nextStake`, or with its proposal when unset.
    std::optional<std::string> stakeDialog(const std::string& proposal) override {
        return nextStake ? *nextStake : proposal;
    }
    std::optional<std::string> nextStake;

    std::optional<bool> nextAnswer;
    std::vector<std::string> inputs;
    int messagesShown = 0; // "message;" lines printed so far
    // How a command answers the number dialog (the pool list, a draw typed in); Abort when unset.
    std::function<ModalResult(NumberChoice&)> onNumberDialog;
    // What a command answers the save dialog with; the proposed name when unset.
    std::optional<FileChoice> nextSave;
};

// Command-line words after the command name: positional words and --name value pairs.
struct Args {
    std::vector<std::string> words;
    std::map<std::string, std::string> options;
    std::optional<std::string> option(const std::string& name) const {
        auto it = options.find(name);
        if (it == options.end()) return std::nullopt;
        return it->second;
    }
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Context {
public:
    Context(std::unique_ptr<SettingsStore> store, std::unique_ptr<Clock> clock, HttpClient* http);
    CliPrompter prompter;
    NullShell shell;
    NullSound sound;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<Clock> clock;
    Session session;
    Model& model = session.model;
    Services& services = session.services;
    AppController& app = session.app;
    TipListController& tips = session.tips;

    void printShow();
    void printStatus();
};

} // namespace zf::cli
