#include "core/players/Protocol.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>

#include "base/FileWriter.h"
#include "base/GermanFormat.h"
#include "base/SystemError.h"
#include "base/Text.h"
#include "core/players/Ledger.h"

namespace zf {

std::string formatDateTime(double dateValue) {
    const double day = std::floor(dateValue);
    long long seconds = std::llround((dateValue - day) * 86400.0);
    double shownDay = day;
    if (seconds >= 86400) { // rounding up into the next day
        seconds = 0;
        shownDay += 1;
    }
    std::string out = formatDate(shownDay);
    if (seconds == 0) return out;
    char buf[64];
    std::snprintf(buf, sizeof buf, " %02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return out + buf;
}

std::string ticketProtocolLine(double cost) { return "Tippschein abgegeben \tEinsatz: " + formatGeneral(cost); }

ProtocolAppend::ProtocolAppend(const std::string& path, double now, const std::vector<std::string>& lines) {
    auto fail = [&](const std::string& why) {
        error_ =
            "Das Kontoprotokoll " + path + " kann nicht fortgeschrieben werden (" + why + "); es wurde nichts gebucht.";
    };
    lock_ = std::make_unique<FileLock>(path);
    if (!lock_->locked()) {
        fail(lock_->error());
        return;
    }
    const std::string target = writeTarget(path);
    fd_ = ::open(target.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0 && errno == ENOENT) {
        fd_ = ::open(target.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        created_ = fd_ >= 0;
    }
    if (fd_ < 0) {
        fail(systemReason(errno));
        return;
    }
    path_ = target;
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int err = errno;
        ::close(fd_);
        fd_ = -1;
        fail(S_ISREG(st.st_mode) ? systemReason(err) : std::string("keine gewöhnliche Datei"));
        return;
    }
    sizeBefore_ = st.st_size;
    const std::string stamp = formatDateTime(now);
    std::string data;
    for (const auto& l : lines) data += utf8ToCp1252(stamp + "\t" + l) + "\r\n";
    std::string why;
    if (!writeAll(fd_, data, &why) || !syncFile(fd_, &why)) {
        rollback();
        fail(why);
    }
}

void ProtocolAppend::rollback() {
    if (fd_ < 0) return;
    // Cut off what this append wrote; the lock keeps anyone else from having appended since.
    (void)!::ftruncate(fd_, static_cast<off_t>(sizeBefore_));
    (void)!::fsync(fd_);
    // A protocol this append created goes again, so that a refused first booking leaves no trace.
    if (created_) ::unlink(path_.c_str());
    created_ = false;
}

ProtocolAppend::~ProtocolAppend() {
    if (fd_ >= 0) ::close(fd_);
}

bool appendProtocol(const std::string& path, double now, const std::vector<std::string>& lines, std::string* error) {
    ProtocolAppend append(path, now, lines);
    if (!append.ok() && error) *error = append.error();
    return append.ok();
}

} // namespace zf
