#pragma once
// The account protocol `lotto.prt`: Windows-1252 lines with CR LF, only ever appended to. Every line
// starts with the date and time of the booking and a tab.
#include <memory>
#include <string>
#include <vector>

#include "base/FileWriter.h"

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

// An append that can be taken back: the lines are written and flushed at construction, under the
// protocol's lock, which is held until the object goes. A booking whose other file then cannot be
// written calls rollback(), which cuts the lines off again, so a booking is in both files or in neither.
class ProtocolAppend {
public:
    ProtocolAppend(const std::string& path, double now, const std::vector<std::string>& lines);
    ~ProtocolAppend();
    ProtocolAppend(const ProtocolAppend&) = delete;
    ProtocolAppend& operator=(const ProtocolAppend&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; } // German, with "es wurde nichts gebucht"
    void rollback();

private:
    std::unique_ptr<FileLock> lock_;
    int fd_ = -1;
    bool created_ = false;
    std::string path_;
    long long sizeBefore_ = 0;
    std::string error_;
};

} // namespace zf
