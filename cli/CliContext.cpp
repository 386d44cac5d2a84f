#include "cli/CliContext.h"

#include <iostream>

namespace zf::cli {

void CliPrompter::message(const std::string& text) {
    std::string flat;
    for (char c : text) {
        if (c == '\n')
            flat += "\\n";
        else if (c != '\r')
            flat += c;
    }
    std::cout << "message;" << flat << "\n";
    ++messagesShown;
}

bool CliPrompter::question(const std::string&) {
    const bool answer = nextAnswer.value_or(true);
    return answer;
}

std::optional<std::string> CliPrompter::input(const std::string&, const std::string&, const std::string& proposal) {
    if (!inputs.empty()) {
        std::string v = inputs.front();
        inputs.erase(inputs.begin());
        return v;
    }
    return proposal;
}

ModalResult CliPrompter::numberDialog(NumberChoice& form) {
    return onNumberDialog ? onNumberDialog(form) : ModalResult::Abort;
}

std::optional<FileChoice> CliPrompter::saveFileChoice(const FileDialogSetup& setup) {
    if (nextSave) return nextSave;
    return FileChoice{setup.proposedName + "." + setup.defaultExt, 1};
}

Context::Context(std::unique_ptr<SettingsStore> s, std::unique_ptr<Clock> c, HttpClient* http)
    : store(std::move(s)), clock(std::move(c)),
      session(prompter, dialogsOf(prompter), shell, sound, *clock, *store, http) {}

void Context::printShow() {
    std::cout << model.drawTextMain << "\n"
              << model.crossSumText << "\n"
              << model.plus5Text << "\n"
              << model.plus5SumText << "\n"
              << "position;" << model.drawIndex << "\n";
}

void Context::printStatus() {
    std::cout << "status0;" << model.status[0] << "\n"
              << "status1;" << model.status[1] << "\n";
}

} // namespace zf::cli
