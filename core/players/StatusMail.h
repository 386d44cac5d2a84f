#pragma once
// The status mail to every co-player with an address ("Email senden"): greeting, the tips of the tip
// list for the coming draw ticket by ticket, and the player's balance.
#include <string>
#include <vector>

#include "core/players/Ledger.h"

namespace zf {

struct StatusMail {
    int row = 0; // the player's table row
    std::string address, name, subject;
    std::vector<std::string> body;
};

struct StatusMailInput {
    const Ledger* ledger = nullptr;
    const std::vector<std::string>* tipLines = nullptr;
    int totalTips = 0;     // "Gesamt-Tipps" (`UpDown9`)
    int tipsPerTicket = 1; // `UpDown8`
    double drawDate = 0;   // the current draw
};

inline constexpr const char* kStatusMailSubject = "Zahlfuchs - aktueller Stand";

// The draw the tips are for: a Wednesday's draw gives the Saturday after it, any other day + 4.
double statusTipDate(double drawDate);

// One mail per player row with an address, in row order. A balance that is no number gives no mails at
// all: the German reason names the player in `error`.
std::vector<StatusMail> statusMails(const StatusMailInput& in, std::string* error);

} // namespace zf
