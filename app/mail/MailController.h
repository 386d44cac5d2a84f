#pragma once
// The mail dialog without its window (`TMailerForm`): its fields, its status lines, its settings file
// beside the program, the send on a worker thread, and the status mail to every co-player.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Services.h"
#include "core/mail/MailDraft.h"
#include "core/ports/MailTransport.h"

namespace zf {

class Model;
class PlayersController;
struct StatusMail;

// One status mail of the mail-out and how it went.
struct MailOutcome {
    std::string address, name;
    bool attempted = false; // sent directly, the dialog was sent from, or skipped for a bad address
    bool sent = false;
    std::string error;
};

class MailController {
public:
    MailController(Model& m, Services& s, PlayersController& players) : m_(m), s_(s), players_(players) {}

    void setTransport(MailTransport* t) { transport_ = t; }
    std::function<void()> eventPump; // runs while the worker thread talks to the server

    // The settings file: "zahlfuchs.ini" in the program folder.
    std::string settingsPath() const;
    // Reads the settings into the fields once (the dialog's creation).
    void ensureLoaded();
    // The dialog closes (`FormClose`): the settings are written when they differ from the file's, into a
    // file only its owner may read. False with a German reason in `error`.
    bool saveSettings(std::string* error = nullptr);

    MailDraft draft;
    // `StatusMemo`, newest line first.
    std::vector<std::string> statusLines{"Status...", ""};
    bool sending() const { return sending_; }

    // `btnSendMailClick`. `quiet`: no message boxes (the status mail's "Direkt senden" collects them).
    SmtpResult send(bool quiet = false);
    // `MailFormHTMLButtonClick`
    void convertToHtml() { draft.htmlBody = htmlFromText(draft.body); }

    // "Email senden" (`BitBtn18Click`): a status mail to every player with an address, sent directly or
    // shown in the dialog. A player whose address is not one address (`isMailAddress`) is skipped and
    // named in the summary. `after` sees every mail and how it went; a summary message follows.
    std::vector<MailOutcome>
    sendStatusMails(bool direct, const std::function<void(const StatusMail&, const MailOutcome&)>& after = {});
    // "3 von 4 Emails wurden gesendet." and the failures; empty when nothing was attempted.
    static std::string summary(const std::vector<MailOutcome>& outcomes);
    // Fills the fields for one player's status mail.
    void fill(const StatusMail& mail);

    // A change of the fields or status lines for the dialog to show.
    std::function<void()> onChange;

private:
    void status(const std::string& line);
    Model& m_;
    Services& s_;
    PlayersController& players_;
    MailTransport* transport_ = nullptr;
    bool loaded_ = false;
    bool sending_ = false;
    std::optional<std::string> fileText_; // the settings file as read (nothing when missing)
    int sentCount_ = 0;                   // sends since the dialog was last shown
    SmtpResult lastResult_;

public:
    // For the mail-out in the dialog: the last send's result and how many sends happened.
    const SmtpResult& lastResult() const { return lastResult_; }
    int sendCount() const { return sentCount_; }
};

} // namespace zf
