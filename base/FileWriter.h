#pragma once
// The one way a file of the user's is written: under an exclusive lock beside it ("NAME.lock", there
// only while it is held),
// into a unique temporary file in the same folder that is written completely, flushed and only then
// renamed into place. A failure leaves the old file as it was; a second writer waits a little and then
// gives up with a German message instead of overwriting the first one's work.
#include <optional>
#include <string>
#include <string_view>

namespace zf {

// How long a writer waits for another one to finish.
constexpr int kLockWaitMs = 5000;

// The file a write to `path` changes: a symbolic link is followed, so the link itself stays.
std::string writeTarget(const std::string& path);

// Exclusive lock for a whole read-modify-write of `path`. Inside one process the lock is taken once:
// a nested FileLock (or a writer called under one) finds it held and does not lock again, as two
// flock descriptors of the same process would wait for each other.
class FileLock {
public:
    explicit FileLock(const std::string& path, int waitMs = kLockWaitMs);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool locked() const { return locked_; }
    const std::string& error() const { return error_; } // German, when not locked

private:
    std::string lockPath_;
    int fd_ = -1;
    bool locked_ = false;
    bool nested_ = false;
    std::string error_;
};

// Whether the user may change the file: refused when the system denies writing to it (access() or an
// open for writing fails, whatever the mode bits say) and, even for root, when no write permission
// bit is set, as the read-only attribute would.
bool mayReplace(const std::string& path, std::string* error = nullptr);

// A write over a file that must still be the one this program read: under the file's lock, `data` is
// written when the file holds `expected` or is gone; a file that another program wrote meanwhile (other
// bytes, or any file where `expected` has no value) stays as it is.
enum class GuardedWrite {
    Written,
    ChangedMeanwhile,
    Failed // `error` says why, in German
};
GuardedWrite writeIfUnchanged(const std::string& path, const std::optional<std::string>& expected,
                              std::string_view data, std::string* error = nullptr);

// Writes the whole buffer to `fd` (short writes and interruptions continue, a write of 0 bytes is an
// error). False with a German reason; writeWhole gives the errno instead (0 when all was written).
bool writeAll(int fd, std::string_view data, std::string* error = nullptr);
int writeWhole(int fd, std::string_view data);
// Flushes `fd` to the disk; a file system that cannot sync counts as flushed.
bool syncFile(int fd, std::string* error = nullptr);

// Writes `data` to `path` as described above, taking the lock unless this process holds it already.
// The file keeps its mode; a new file gets the usual mode for the umask.
bool writeFileAtomic(const std::string& path, std::string_view data, std::string* error = nullptr);

} // namespace zf
