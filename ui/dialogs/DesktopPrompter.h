#pragma once
// The desktop program's prompter: the message boxes of QtPrompter plus the file dialogs, and the
// program's own modal dialogs behind each feature's dialog port.
#include <QPointer>
#include <functional>

#include "core/generator/GeneratorDialogs.h"
#include "core/mail/MailDialogs.h"
#include "core/players/PlayersDialogs.h"
#include "core/submission/SubmissionDialogs.h"
#include "platform/qt/QtPrompter.h"
#include "ui/dialogs/MailerForm.h"

namespace zf {
class MailController;
class Random;
} // namespace zf

namespace zf::ui {

class NumberDialog;
class GameOptionsDialog;
class ScriptDialog;

class DesktopPrompter : public QtPrompter,
                        public GeneratorDialogs,
                        public PlayersDialogs,
                        public MailDialogs,
                        public SubmissionDialogs {
public:
    explicit DesktopPrompter(QWidget* parent = nullptr);
    ~DesktopPrompter() override;

    bool questionTitled(const std::string& text, const std::string& title) override;
    std::optional<std::string> saveFileName(const FileDialogSetup& setup) override;
    std::optional<FileChoice> saveFileChoice(const FileDialogSetup& setup) override;
    std::optional<std::string> openFileName(const FileDialogSetup& setup) override;
    ModalResult numberDialog(NumberChoice& form) override;
    std::optional<std::string> stakeDialog(const std::string& proposal) override;
    void mailDialog() override;
    GameChoice gameOptionsDialog(GameOptions& options, GameOptionsActions& actions) override;
    bool scriptDialog(ScriptDialogState& state) override;

    // The number dialog needs the program's random generator and a date; it is made once.
    void setupNumberDialog(Random& random, std::function<double()> today, std::function<std::string()> home,
                           QWidget* parent);
    NumberDialog* numberDialogWindow() const { return numberDialog_; }
    // The mail dialog works on the session's mail fields; it is made once.
    void setupMailDialog(MailController& mail, QWidget* parent);
    MailerForm* mailDialogWindow() const { return mailDialog_; }
    // The hand-over dialogs (TForm5, TKcsForm), made once and scaled with the main window.
    void setupSubmissionDialogs(QWidget* parent);
    GameOptionsDialog* gameOptionsWindow() const { return gameOptionsDialog_; }
    ScriptDialog* scriptWindow() const { return scriptDialog_; }

private:
    QPointer<MailerForm> mailDialog_;     // TMailerForm
    QPointer<NumberDialog> numberDialog_; // TForm6, owned by its parent window, or by this prompter when it has none
    QPointer<GameOptionsDialog> gameOptionsDialog_; // TForm5, likewise
    QPointer<ScriptDialog> scriptDialog_;           // TKcsForm, likewise
};

} // namespace zf::ui
