// players, book
#include <iostream>

#include "base/Parse.h"
#include "cli/Command.h"

namespace zf::cli {

namespace {

void printPlayers(Context& ctx) {
    const PlayersController& p = ctx.session.players;
    std::string out;
    for (int r = 1; r <= p.ledger().rowCount(); ++r) {
        if (!p.ledger().isPlayer(r)) continue;
        out += std::to_string(r);
        for (const auto& cell : p.ledger().row(r)) out += ";" + cell;
        out += "\n";
    }
    const LedgerTotals t = p.totals();
    out += t.countText + "\n" + t.balanceText + "\n" + t.winningsText + "\n" + t.stakesText + "\n";
    std::cout << out;
}

} // namespace

class PlayersCommand : public Command {
public:
    int run(Context& ctx, const Args&) override {
        printPlayers(ctx);
        return 0;
    }
};

// The bookings of the tab, the dialog and the boxes answered from the command line.
class BookCommand : public Command {
public:
    int run(Context& ctx, const Args& args) override {
        const auto& w = args.words;
        if (w.empty()) throw UsageError("book braucht eine Buchungsart: stake, win, pay-all, pay oder delete");
        const std::string& kind = w[0];
        PlayersController& p = ctx.session.players;
        auto row = [&](size_t i) {
            const auto r = i < w.size() ? parseInt32(w[i]) : std::nullopt;
            if (!r || *r < 1 || *r > p.ledger().rowCount())
                throw UsageError("book " + kind + ": ROW muss eine Zeile der Tabelle sein (1 bis " +
                                 std::to_string(p.ledger().rowCount()) + ")");
            return *r;
        };
        auto amount = [&](size_t i) {
            if (i >= w.size()) throw UsageError("book " + kind + " braucht einen Betrag");
            if (w.size() > i + 1) throw UsageError("book " + kind + ": zu viele Angaben");
            return w[i];
        };
        BookingResult result = BookingResult::Nothing;
        if (kind == "stake") {
            ctx.prompter.nextStake = amount(1);
            result = p.bookStake();
        } else if (kind == "win") {
            ctx.prompter.inputs = {amount(1)};
            result = p.bookWinnings();
        } else if (kind == "pay-all") {
            ctx.prompter.inputs = {amount(1)};
            result = p.bookPaymentForAll();
        } else if (kind == "pay") {
            const int r = row(1);
            ctx.prompter.inputs = {amount(2)};
            p.selectRow(r);
            result = p.bookPaymentCurrent();
        } else if (kind == "delete") {
            const int r = row(1);
            if (w.size() > 2) throw UsageError("book delete: zu viele Angaben");
            ctx.prompter.nextAnswer = true;
            p.selectRow(r);
            result = p.deleteCurrent();
        } else {
            throw UsageError("unbekannte Buchungsart " + kind);
        }
        printPlayers(ctx);
        return result == BookingResult::Refused ? 1 : 0;
    }
};

std::unique_ptr<Command> makePlayersCommand() { return std::make_unique<PlayersCommand>(); }
std::unique_ptr<Command> makeBookCommand() { return std::make_unique<BookCommand>(); }

} // namespace zf::cli
