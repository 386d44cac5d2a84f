#pragma once
// What every batch command works with: the model, the controllers, the seams and the output.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/AppController.h"
#include "app/Model.h"
#include "platform/SettingsStore.h"
#include "platform/SystemClock.h"
#include "tips/TipListController.h"

namespace zf::cli {

// Message boxes become "message;TEXT" lines; questions take the answer the command set up.
class CliPrompter : public Prompter {
public:
    void message(const std::string& text) override;
    bool question(const std::string& text) override;
    std::optional<std::string> input(const std::string& caption, const std::string& prompt,
                                     const std::string& proposal) override;
    std::optional<bool> nextAnswer;
    std::vector<std::string> inputs;
};

class NullShell : public Shell {
public:
    bool open(const std::string&, const std::string&) override { return true; }
};

class NullSound : public SoundPlayer {
public:
    void play(const std::string&) override {}
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
    Context(std::unique_ptr<SettingsStore> store, std::unique_ptr<Clock> clock);
    Model model;
    CliPrompter prompter;
    NullShell shell;
    NullSound sound;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<Clock> clock;
    Services services;
    AppController app;
    TipListController tips;

    void printShow();
    void printStatus();
};

} // namespace zf::cli
