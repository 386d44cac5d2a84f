// mail-status [--send]
#include <iostream>

#include "cli/Command.h"
#include "core/mail/MailDraft.h"
#include "core/players/StatusMail.h"

namespace zf::cli {

namespace {

// A line break in a player's name or address is shown as "\r\n": it cannot start a line of its own.
void printMail(const StatusMail& mail) {
    std::string out = "to;" + visibleText(mail.address) + ";" + visibleText(mail.name) + "\nsubject;" +
                      visibleText(mail.subject) + "\n";
    for (const auto& line : mail.body) out += visibleText(line) + "\n";
    std::cout << out << "end\n";
}

} // namespace

// The status mail to every co-player with an address; sent only with --send, as "Direkt senden" does.
class MailStatusCommand : public Command {
public:
    std::vector<std::string> flagOptions() const override { return {"send"}; }
    int run(Context& ctx, const Args& args) override {
        if (!args.words.empty()) throw UsageError("mail-status nimmt keine weiteren Angaben");
        Model& m = ctx.model;
        if (!args.option("send")) {
            std::string error;
            StatusMailInput in{&ctx.session.players.ledger(), &m.tipLines, m.totalTips(), m.num(Num::TipsPerTicket).pos,
                               m.drawDate};
            const auto mails = statusMails(in, &error);
            if (!error.empty()) {
                ctx.prompter.message(error);
                return 1;
            }
            for (const auto& mail : mails) printMail(mail);
            return 0;
        }
        bool failed = false;
        const auto outcomes = ctx.session.mail.sendStatusMails(true, [&](const StatusMail& mail, const MailOutcome& o) {
            printMail(mail);
            std::cout << "sent;" << (o.sent ? "OK" : visibleText(o.error)) << "\n";
            failed = failed || !o.sent;
        });
        (void)outcomes;
        return failed ? 1 : 0;
    }
};

std::unique_ptr<Command> makeMailStatusCommand() { return std::make_unique<MailStatusCommand>(); }

} // namespace zf::cli
