#include "players/Protocol.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/FileWriter.h"
#include "base/GermanFormat.h"
#include "base/Text.h"
#include "players/Ledger.h"

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

bool appendProtocol(const std::string& path, double now, const std::vector<std::string>& lines, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error)
            *error = "Das Kontoprotokoll " + path + " kann nicht fortgeschrieben werden (" + why +
                     "); es wurde nichts gebucht.";
        return false;
    };
    FileLock lock(path);
    if (!lock.locked()) return fail(lock.error());
    const std::string target = writeTarget(path);
    const int fd = ::open(target.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return fail(std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return fail(std::strerror(err));
    }
    const std::string stamp = formatDateTime(now);
    std::string data;
    for (const auto& l : lines) data += utf8ToCp1252(stamp + "\t" + l) + "\r\n";
    size_t done = 0;
    int err = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (!err && ::fsync(fd) != 0 && errno != EINVAL) err = errno;
    if (err) {
        // Cut off what this call wrote, so no half booking stays in the protocol.
        (void)!::ftruncate(fd, st.st_size);
        ::close(fd);
        return fail(std::strerror(err));
    }
    if (::close(fd) != 0) return fail(std::strerror(errno));
    return true;
}

} // namespace zf
