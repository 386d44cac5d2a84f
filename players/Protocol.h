#pragma once
// The account protocol `lotto.prt`: Windows-1252 lines with CR LF, only ever appended to. Every line
// starts with the date and time of the booking and a tab.
#include <string>
#include <vector>

namespace zf {

// "15.03.2021 18:42:07"; at exactly midnight the date alone.
std::string formatDateTime(double dateValue);

// The line of a ticket handed over: "Tippschein abgegeben " TAB "Einsatz: " and the cost (general format).
std::string ticketProtocolLine(double cost);

// Appends the lines, each as date-time TAB line, under the file's lock in one write. A file that
// cannot be opened or written is left as it was (a partly written tail is cut off again) and a German
// reason comes back in `error`.
bool appendProtocol(const std::string& path, double now, const std::vector<std::string>& lines,
                    std::string* error = nullptr);

} // namespace zf
