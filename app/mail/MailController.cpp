#include "app/mail/MailController.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <mutex>
#include <thread>

#include "app/Model.h"
#include "app/players/PlayersController.h"
#include "base/FileWriter.h"
#include "base/Text.h"
#include "core/mail/MimeMessage.h"
#include "core/players/StatusMail.h"

namespace zf {

namespace {

// "Thu, 10 Dec 2026 14:05:00 +0100"
std::string rfcDate() {
    static const char* days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    const long offset = t.tm_gmtoff / 60;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld", days[t.tm_wday % 7], t.tm_mday,
                  months[t.tm_mon % 12], t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec, offset < 0 ? '-' : '+',
                  (offset < 0 ? -offset : offset) / 60, (offset < 0 ? -offset : offset) % 60);
    return buf;
}

} // namespace

std::string MailController::settingsPath() const { return m_.home + "zahlfuchs.ini"; }

void MailController::ensureLoaded() {
    if (loaded_) return;
    loaded_ = true;
    std::string bytes;
    MailSettings s; // a new file checks the server's certificate
    if (fileExists(settingsPath()) && readFile(settingsPath(), bytes)) {
        fileText_ = bytes;
        s = parseMailSettings(cp1252ToUtf8(bytes));
    }
    draft.host = s.host;
    draft.user = s.user;
    draft.password = s.password;
    draft.fromAddress = s.from;
    draft.toAddress = s.to;
    draft.cc = s.cc;
    draft.verifyCertificate = s.verifyCertificate;
}

bool MailController::saveSettings(std::string* error) {
    ensureLoaded();
    const MailSettings s{draft.host,      draft.user, draft.password,         draft.fromAddress,
                         draft.toAddress, draft.cc,   draft.verifyCertificate};
    if (fileText_ && parseMailSettings(cp1252ToUtf8(*fileText_)) == s) return true;
    const std::string path = settingsPath();
    const std::string text = utf8ToCp1252(renderMailSettings(s));
    // The password stands in the file in plain text: only its owner may read it, from the first byte on.
    if (!fileExists(path)) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) ::close(fd);
    }
    (void)::chmod(writeTarget(path).c_str(), 0600);
    if (!writeFileAtomic(path, text, error)) return false;
    fileText_ = text;
    return true;
}

void MailController::status(const std::string& line) {
    statusLines.insert(statusLines.begin(), line);
    if (onChange) onChange();
}

SmtpResult MailController::send(bool quiet) {
    ensureLoaded();
    SmtpResult result;
    if (sending_) return result;
    statusLines.clear();
    if (onChange) onChange();
    ++sentCount_;
    static std::atomic<unsigned> counter{0};
    const std::string boundary = std::to_string(s_.clock.ticks()) + "-" + std::to_string(++counter);
    // The server field may name another port ("host:port") or implicit TLS ("smtps://host").
    const BuiltMessage built = buildMessage(draft, rfcDate(), boundary);
    if (!built.error.empty()) {
        result.error = built.error;
    } else if (!transport_) {
        result.error = "Dieses Programm kann keine Emails senden.";
    } else {
        // The server conversation runs on a worker thread; its status lines come back here.
        sending_ = true;
        std::mutex mutex;
        std::vector<std::string> pending;
        std::atomic<bool> done{false};
        auto collect = [&](const std::string& line) {
            std::lock_guard<std::mutex> lock(mutex);
            pending.push_back(line);
        };
        std::thread worker([&] {
            result = transport_->send(built.envelope, built.text, collect);
            done = true;
        });
        auto drain = [&] {
            std::vector<std::string> lines;
            {
                std::lock_guard<std::mutex> lock(mutex);
                lines.swap(pending);
            }
            for (const auto& l : lines) status("Status: " + l);
        };
        while (!done) {
            drain();
            if (eventPump) eventPump();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        worker.join();
        drain();
        sending_ = false;
    }
    for (const auto& r : result.refused) {
        status("ERROR:" + r);
        if (!quiet) s_.prompter.message("ERROR:" + r);
    }
    if (!result.sent) {
        status("ERROR: " + result.error);
        if (!quiet) s_.prompter.message(result.error);
    }
    lastResult_ = result;
    return result;
}

void MailController::fill(const StatusMail& mail) {
    draft.toAddress = mail.address;
    draft.toName = mail.name;
    draft.subject = mail.subject;
    draft.body.clear();
    for (size_t i = 0; i < mail.body.size(); ++i) draft.body += (i ? "\r\n" : "") + mail.body[i];
    if (onChange) onChange();
}

std::vector<MailOutcome>
MailController::sendStatusMails(bool direct, const std::function<void(const StatusMail&, const MailOutcome&)>& after) {
    ensureLoaded();
    std::string error;
    StatusMailInput in{&players_.ledger(), &m_.tipLines, m_.totalTips(), m_.num(Num::TipsPerTicket).pos, m_.drawDate};
    const auto mails = statusMails(in, &error);
    if (!error.empty()) {
        s_.prompter.message(error);
        return {};
    }
    std::vector<MailOutcome> outcomes;
    for (const auto& mail : mails) {
        MailOutcome o{mail.address, mail.name};
        if (!isMailAddress(mail.address)) {
            // An address that is more than one address (a line break, a second "<...>") is never handed
            // to the server; the player is named in the summary and the others get their mails.
            o.attempted = true;
            o.error = "Die Email-Adresse ist ungültig; diese Email wurde nicht gesendet.";
            if (after) after(mail, o);
            outcomes.push_back(std::move(o));
            continue;
        }
        fill(mail);
        if (direct) {
            const SmtpResult r = send(true);
            o.attempted = true;
            o.sent = r.sent && r.refused.empty();
            o.error = r.sent ? (r.refused.empty() ? "" : "ERROR:" + r.refused.front()) : r.error;
        } else {
            const int before = sentCount_;
            s_.dialogs.mail.mailDialog();
            o.attempted = sentCount_ != before;
            o.sent = o.attempted && lastResult_.sent && lastResult_.refused.empty();
            if (o.attempted && !o.sent)
                o.error = lastResult_.sent ? "ERROR:" + lastResult_.refused.front() : lastResult_.error;
        }
        if (after) after(mail, o);
        outcomes.push_back(std::move(o));
    }
    if (const std::string text = summary(outcomes); !text.empty()) s_.prompter.message(text);
    return outcomes;
}

std::string MailController::summary(const std::vector<MailOutcome>& outcomes) {
    int attempted = 0, sent = 0;
    std::string failures;
    for (const auto& o : outcomes) {
        attempted += o.attempted;
        sent += o.sent;
        if (o.attempted && !o.sent)
            failures += "\n" + visibleText(o.name) + " (" + visibleText(o.address) + "): " + o.error;
    }
    if (!attempted) return outcomes.empty() ? "Kein Mitspieler hat eine Email-Adresse." : "";
    std::string text = std::to_string(sent) + " von " + std::to_string(outcomes.size()) +
                       (outcomes.size() == 1 ? " Email wurde gesendet." : " Emails wurden gesendet.");
    if (!failures.empty()) text += "\nNicht gesendet:" + failures;
    return text;
}

} // namespace zf
