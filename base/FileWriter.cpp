#include "base/FileWriter.h"

#include "base/SystemError.h"
#include "base/Text.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace zf {
namespace {

std::string dirOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string reason(int err) { return systemReason(err); }

// The errno of a failed whole write, 0 when everything was written.
int writeWholeImpl(int fd, std::string_view data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t w = ::write(fd, data.data() + done, data.size() - done);
        if (w < 0 && errno == EINTR) continue;
        if (w < 0) return errno;
        if (w == 0) return EIO;
        done += static_cast<size_t>(w);
    }
    return 0;
}

// The lock files this process holds; a second flock on another descriptor would block on itself.
std::mutex heldMutex;
std::set<std::string>& held() {
    static std::set<std::string> s;
    return s;
}

mode_t modeForNewFile() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void syncFolder(const std::string& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    // The new file is in place already; a folder that cannot be synced changes nothing about that.
    if (::fsync(fd) != 0) {}
    ::close(fd);
}

bool refuseReadOnly(const std::string& path, const struct stat& st, std::string* error) {
    bool writable = (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
    if (writable && S_ISREG(st.st_mode)) {
        // What the system says counts (ACLs, root squash, another owner), not the mode bits alone.
        const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            writable = false;
        else
            ::close(fd);
    }
    if (writable) return true;
    if (error) *error = "Die Datei " + path + " ist schreibgeschützt und wird nicht verändert.";
    return false;
}

bool writeLocked(const std::string& target, std::string_view data, std::string* error) {
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        if (error) *error = target + " ist keine gewöhnliche Datei und wird nicht überschrieben.";
        return false;
    }
    if (exists && !refuseReadOnly(target, st, error)) return false;
    const mode_t mode = exists ? (st.st_mode & 07777) : modeForNewFile();

    std::string name = target + "~XXXXXX";
    std::vector<char> tmpl(name.begin(), name.end());
    tmpl.push_back('\0');
    const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (error)
            *error = "Im Ordner " + (dirOf(target).empty() ? std::string(".") : dirOf(target)) +
                     " kann keine neue Datei angelegt werden: " + reason(err);
        return false;
    }
    const std::string tmp(tmpl.data());
    // errno is taken at the call that failed; a later cleanup call must not change the reason.
    auto fail = [&](const std::string& what, int err) {
        ::close(fd);
        ::unlink(tmp.c_str());
        if (error) *error = what + ": " + reason(err);
        return false;
    };
    const std::string writeError = "Schreibfehler in " + target;
    if (const int err = writeWholeImpl(fd, data)) return fail(writeError, err);
    if (::fchmod(fd, mode) != 0) return fail(writeError, errno);
    // Written by root for the user, the file stays the user's; elsewhere this is a no-op or refused.
    if (exists && ::fchown(fd, st.st_uid, st.st_gid) != 0) {}
    if (::fsync(fd) != 0) return fail(writeError, errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        if (error) *error = writeError + ": " + reason(err);
        return false;
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        if (error) *error = "Die neue Datei kann nicht an die Stelle von " + target + " treten: " + reason(err);
        return false;
    }
    syncFolder(dirOf(target));
    return true;
}

} // namespace

int writeWhole(int fd, std::string_view data) { return writeWholeImpl(fd, data); }

bool writeAll(int fd, std::string_view data, std::string* error) {
    const int err = writeWhole(fd, data);
    if (err && error) *error = reason(err);
    return err == 0;
}

bool syncFile(int fd, std::string* error) {
    if (::fsync(fd) == 0 || errno == EINVAL || errno == EROFS) return true;
    if (error) *error = reason(errno);
    return false;
}

std::string writeTarget(const std::string& path) {
    std::string p = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        std::vector<char> buf(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(p.c_str(), buf.data(), buf.size());
        if (n < 0 || static_cast<size_t>(n) >= buf.size()) return p;
        const std::string link(buf.data(), static_cast<size_t>(n));
        p = link[0] == '/' ? link : dirOf(p) + link;
    }
    return p;
}

FileLock::FileLock(const std::string& path, int waitMs) : lockPath_(writeTarget(path) + ".lock") {
    {
        std::lock_guard<std::mutex> guard(heldMutex);
        if (held().count(lockPath_)) {
            nested_ = true;
            locked_ = true;
            return;
        }
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        fd_ = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ < 0) {
            error_ = "Die Sperrdatei " + lockPath_ + " kann nicht angelegt werden: " + reason(errno);
            return;
        }
        int err = 0;
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            err = errno;
            if (err == EINTR) continue;
            if (err != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            err = 0;
        }
        if (err) {
            error_ = err == EWOULDBLOCK
                         ? nameOf(path) + " wird gerade von einem anderen Programm geschrieben; bitte später noch "
                                          "einmal versuchen."
                         : "Die Datei " + path + " kann nicht gesperrt werden: " + reason(err);
            ::close(fd_);
            fd_ = -1;
            return;
        }
        // The holder before us removes the lock file when it is done; a lock on a removed file
        // guards nothing, so take the one now in its place.
        struct stat mine {
        }, current{};
        if (::fstat(fd_, &mine) == 0 && ::stat(lockPath_.c_str(), &current) == 0 && mine.st_ino == current.st_ino &&
            mine.st_dev == current.st_dev)
            break;
        ::close(fd_);
    }
    locked_ = true;
    std::lock_guard<std::mutex> guard(heldMutex);
    held().insert(lockPath_);
}

FileLock::~FileLock() {
    if (!locked_ || nested_) return;
    {
        std::lock_guard<std::mutex> guard(heldMutex);
        held().erase(lockPath_);
    }
    // Removed while still locked, so no lock file is left beside the user's files; a writer waiting
    // on it sees it gone and takes the next one.
    ::unlink(lockPath_.c_str());
    ::close(fd_);
}

bool mayReplace(const std::string& path, std::string* error) {
    const std::string target = writeTarget(path);
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) return true;
    return refuseReadOnly(target, st, error);
}

GuardedWrite writeIfUnchanged(const std::string& path, const std::optional<std::string>& expected,
                              std::string_view data, std::string* error) {
    const std::string target = writeTarget(path);
    FileLock lock(target);
    if (!lock.locked()) {
        if (error) *error = lock.error();
        return GuardedWrite::Failed;
    }
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && !expected) return GuardedWrite::ChangedMeanwhile;
    if (exists) {
        std::string now;
        if (!readFile(target, now) || now != *expected) return GuardedWrite::ChangedMeanwhile;
    }
    return writeLocked(target, data, error) ? GuardedWrite::Written : GuardedWrite::Failed;
}

bool writeFileAtomic(const std::string& path, std::string_view data, std::string* error) {
    const std::string target = writeTarget(path);
    FileLock lock(target);
    if (!lock.locked()) {
        if (error) *error = lock.error();
        return false;
    }
    return writeLocked(target, data, error);
}

} // namespace zf
