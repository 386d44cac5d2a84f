#pragma once
// Fixtures shared by the core tests: a temp program folder, draw records, recording seams.
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "app/Session.h"
#include "base/GermanFormat.h"
#include "core/draws/DrawRecord.h"
#include "core/evaluation/ChanceView.h"
#include "core/ports/Seams.h"
#include "core/ports/SettingsStore.h"
#include "platform/SystemClock.h"

namespace zf::test {

// Runs a shell command line and collects its standard output and exit status.
struct CommandResult {
    int status = -1;
    std::string out;
};
CommandResult runCommand(const std::string& commandLine);

// Runs `body` in a child process that is not root (as "nobody" when the tests run as root), so a file
// without read permission really cannot be read. Returns the body's result, or kNoUnprivilegedUser
// when the child could not give up root.
constexpr int kNoUnprivilegedUser = 77;
int runUnprivileged(const std::function<int()>& body);
// Lets the unprivileged child write into `dir` (and read what it holds) like its owner.
void openToEveryone(const std::string& dir);

class TempDir {
public:
    TempDir();
    ~TempDir();
    std::string path() const { return dir_.string() + "/"; }
    std::string file(const std::string& name) const { return (dir_ / name).string(); }

private:
    std::filesystem::path dir_;
};

// A draw on y-m-d whose numbers are first, first+1, ... (wrapping inside 1..70), or the given ones.
DrawRecord draw(int y, int m, int d, int first = 1, std::initializer_list<int> plus5 = {1, 2, 3, 4, 5});
DrawRecord drawWith(int y, int m, int d, const std::vector<int>& numbers,
                    std::initializer_list<int> plus5 = {0, 0, 0, 0, 0});
void writeDraws(const std::string& path, const std::vector<DrawRecord>& records);
std::vector<DrawRecord> readDraws(const std::string& path);
// A file's bytes, or "<nicht lesbar>".
std::string contents(const std::string& path);
// A file's identity: a rewrite renames a new file into place, so the inode changes.
unsigned long long inode(const std::string& path);

// The generic questions and every dialog port, answered from a script and recorded.
class ScriptedPrompter : public Prompter,
                         public GeneratorDialogs,
                         public PlayersDialogs,
                         public MailDialogs,
                         public SubmissionDialogs {
public:
    void message(const std::string& text) override { messages.push_back(text); }
    bool question(const std::string& text) override {
        questions.push_back(text);
        if (answers.empty()) return true;
        const bool a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    std::optional<std::string> input(const std::string&, const std::string& prompt,
                                     const std::string& proposal) override {
        questions.push_back(prompt);
        if (inputs.empty()) return proposal;
        auto v = inputs.front();
        inputs.erase(inputs.begin());
        return v;
    }
    bool questionTitled(const std::string& text, const std::string& title) override {
        titles.push_back(title);
        return question(text);
    }
    std::optional<std::string> saveFileName(const FileDialogSetup& setup) override {
        dialogs.push_back(setup);
        return nextPath;
    }
    // With `choosesFileType` the save dialog answers `fileChoice`, file type included.
    std::optional<FileChoice> saveFileChoice(const FileDialogSetup& setup) override {
        if (!choosesFileType) return Prompter::saveFileChoice(setup);
        dialogs.push_back(setup);
        return fileChoice;
    }
    std::optional<std::string> openFileName(const FileDialogSetup& setup) override {
        dialogs.push_back(setup);
        return nextPath;
    }
    // The stake dialog: each call takes the next scripted answer (nothing = "Abbrechen"); the proposal
    // when none is left.
    std::optional<std::string> stakeDialog(const std::string& proposal) override {
        stakeProposals.push_back(proposal);
        if (stakeAnswers.empty()) return proposal;
        auto v = stakeAnswers.front();
        stakeAnswers.erase(stakeAnswers.begin());
        return v;
    }
    std::vector<std::optional<std::string>> stakeAnswers;
    std::vector<std::string> stakeProposals;
    ModalResult numberDialog(NumberChoice& form) override {
        ++numberDialogs;
        return onNumberDialog ? onNumberDialog(form) : ModalResult::Abort;
    }
    // The game options dialog: `onGameOptions` acts as the user would, else `gameChoice` closes it.
    GameChoice gameOptionsDialog(GameOptions& options, GameOptionsActions& actions) override {
        ++gameDialogs;
        return onGameOptions ? onGameOptions(options, actions) : gameChoice;
    }
    bool scriptDialog(ScriptDialogState& state) override {
        ++scriptDialogs;
        if (onScriptDialog) return onScriptDialog(state);
        if (scriptOk && state.onOk) state.onOk(state.templatePath);
        return scriptOk;
    }
    std::vector<std::string> messages, questions, titles;
    std::vector<bool> answers;
    GameChoice gameChoice = GameChoice::Abort;
    std::function<GameChoice(GameOptions&, GameOptionsActions&)> onGameOptions;
    int gameDialogs = 0;
    bool scriptOk = true;
    std::function<bool(ScriptDialogState&)> onScriptDialog;
    int scriptDialogs = 0;
    std::vector<std::optional<std::string>> inputs;
    std::vector<FileDialogSetup> dialogs;
    std::optional<std::string> nextPath;
    bool choosesFileType = false;
    std::optional<FileChoice> fileChoice;
    std::function<ModalResult(NumberChoice&)> onNumberDialog;
    int numberDialogs = 0;
};

class RecordingShell : public Shell {
public:
    bool open(const std::string& target, const std::string& params) override {
        opened.push_back(target + (params.empty() ? "" : " " + params));
        return succeeds;
    }
    std::vector<std::string> opened;
    bool succeeds = true; // false: no program could open it
};

class RecordingSound : public SoundPlayer {
public:
    void play(const std::string& path) override { played.push_back(path); }
    std::vector<std::string> played;
};

// The windows beside chance, recorded instead of shown.
class RecordingChanceView : public ChanceView {
public:
    void showOdds(const OddsTable& table) override { odds.push_back(table); }
    void showComparison(const ChanceComparison& comparison) override { comparisons.push_back(comparison); }
    std::vector<OddsTable> odds;
    std::vector<ChanceComparison> comparisons;
};

// The seams a test plugs in and the session wired on them; a fixture derives from it.
struct WithSession {
    explicit WithSession(double now, HttpClient* http = nullptr, DdeClient* dde = nullptr)
        : clock(now), session(prompter, dialogsOf(prompter), shell, sound, clock, store, http, dde) {}
    ScriptedPrompter prompter;
    RecordingShell shell;
    RecordingSound sound;
    FixedClock clock;
    MemorySettingsStore store;
    Session session;
    Model& m = session.model;
    Services& services = session.services;
    Browser& browser = session.browser;
};

} // namespace zf::test
