#pragma once
// The rules of the tip list that need no model: ticket labels, the typing rule of "Gesamt-Tipps"
// and the printout's lines.
#include <string>
#include <utility>
#include <vector>

namespace zf {

// Ticket labels of a 0-based line index: {"2.Schein", "3.Tipp"}.
std::pair<std::string, std::string> ticketLabels(int index, int tipsPerTicket);
// The typing rule of "Gesamt-Tipps": a whole number 1..500000 in plain decimal, anything else "500000".
std::string totalTipsRule(const std::string& typed);
// The printout "Tipp.txt" as lines (without line ends).
std::vector<std::string> printoutLines(const std::vector<std::string>& tips, int totalTips, int tipsPerTicket,
                                       double today);

} // namespace zf
