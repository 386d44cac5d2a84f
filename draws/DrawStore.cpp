#include "draws/DrawStore.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/Text.h"

namespace zf {
namespace {

std::string dirOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ioError(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

bool recordNumbersValid(const DrawRecord& r) {
    DrawBits b;
    for (uint8_t n : r.zahl) {
        if (n < 1 || n > 70 || b.has(n)) return false;
        b.set(n);
    }
    if (r.hasPlus5())
        for (uint8_t d : r.zahl5)
            if (d > 9) return false;
    return true;
}

} // namespace

void DrawStore::setPath(std::string path) {
    if (path == path_) return;
    path_ = std::move(path);
    clear();
}

void DrawStore::clear() {
    records_.clear();
    bits_.clear();
    issues_ = {};
    loaded_ = false;
    size_ = -1;
    ++generation_;
}

bool DrawStore::fileExists() const { return zf::fileExists(path_); }

void DrawStore::parse(const uint8_t* data, size_t size, std::vector<DrawRecord>& records, DrawFileIssues& issues) {
    issues = {};
    records.clear();
    const size_t count = size / kRecordSize;
    issues.trailingBytes = size % kRecordSize;
    records.reserve(count);
    double previous = -INFINITY;
    for (size_t i = 0; i < count; ++i) {
        DrawRecord r = decodeRecord(data + i * kRecordSize);
        if (!std::isfinite(r.datum) || r.datum <= 0 || r.datum != std::floor(r.datum) || r.datum > 2958465) {
            ++issues.badDates;
        } else {
            if (r.datum <= previous) ++issues.outOfOrder;
            previous = r.datum;
        }
        if (!recordNumbersValid(r)) ++issues.badNumbers;
        records.push_back(r);
    }
}

void DrawStore::rebuildBits() {
    bits_.resize(records_.size());
    for (size_t i = 0; i < records_.size(); ++i) bits_[i] = bitsOf(records_[i]);
}

bool DrawStore::refresh(std::string* error) {
    struct stat st {};
    if (::stat(path_.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        if (loaded_ || size_ != -1) clear();
        if (error) *error = "Die Datei " + path_ + " fehlt.";
        return false;
    }
    const long long mtime = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    if (loaded_ && st.st_size == size_ && mtime == mtimeNs_ && st.st_ino == inode_) return true;

    std::string raw;
    if (!readFile(path_, raw)) {
        clear();
        if (error) *error = ioError("Lesefehler in", path_);
        return false;
    }
    parse(reinterpret_cast<const uint8_t*>(raw.data()), raw.size(), records_, issues_);
    rebuildBits();
    loaded_ = true;
    size_ = st.st_size;
    mtimeNs_ = mtime;
    inode_ = st.st_ino;
    ++generation_;
    return true;
}

std::vector<std::string> DrawStore::issueTexts() const {
    std::vector<std::string> out;
    const std::string name = "Keno.dat";
    if (issues_.trailingBytes)
        out.push_back(name + ": die letzten " + std::to_string(issues_.trailingBytes) +
                      " Bytes ergeben keinen vollständigen Datensatz und werden nicht verwendet.");
    if (issues_.badNumbers)
        out.push_back(name + ": " + std::to_string(issues_.badNumbers) +
                      " Ziehung(en) mit Zahlen außerhalb von 1 bis 70 oder doppelten Zahlen.");
    if (issues_.badDates)
        out.push_back(name + ": " + std::to_string(issues_.badDates) + " Ziehung(en) ohne gültiges Datum.");
    if (issues_.outOfOrder)
        out.push_back(name + ": " + std::to_string(issues_.outOfOrder) +
                      " Ziehung(en) stehen nicht in aufsteigender Datumsfolge.");
    return out;
}

bool DrawStore::createEmptyIfMissing(std::string* error) {
    if (fileExists()) return true;
    const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (error) *error = ioError("Die Datei kann nicht angelegt werden:", path_);
        return false;
    }
    ::close(fd);
    return true;
}

bool DrawStore::writeAll(const std::vector<DrawRecord>& records, const std::string& tempName, std::string* error) {
    std::string bytes(records.size() * kRecordSize, '\0');
    for (size_t i = 0; i < records.size(); ++i)
        encodeRecord(records[i], reinterpret_cast<uint8_t*>(bytes.data()) + i * kRecordSize);
    const std::string tmp = dirOf(path_) + tempName;
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (error) *error = ioError("Die Datei kann nicht angelegt werden:", tmp);
        return false;
    }
    size_t done = 0;
    bool ok = true;
    while (done < bytes.size()) {
        const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            ok = false;
            break;
        }
        done += static_cast<size_t>(w);
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    if (error && !ok) *error = ioError("Schreibfehler in", tmp);
    if (::close(fd) != 0 && ok) {
        ok = false;
        if (error) *error = ioError("Schreibfehler in", tmp);
    }
    if (ok && ::rename(tmp.c_str(), path_.c_str()) != 0) {
        ok = false;
        if (error) *error = ioError("Die neue Datei kann nicht an die Stelle der alten treten:", path_);
    }
    if (!ok) {
        ::unlink(tmp.c_str());
        return false;
    }
    std::string ignored;
    refresh(&ignored);
    return true;
}

bool DrawStore::append(const DrawRecord& r, std::string* error) {
    if (!createEmptyIfMissing(error)) return false;
    if (!refresh(error)) return false;
    // A date that is not after the last one would break the date order: put it in its place.
    if (!records_.empty() && r.datum <= lastDate()) return insertOrReplace(r, error);
    if (issues_.trailingBytes) {
        // Appending behind a broken tail would shift every later record; rewrite without it.
        std::vector<DrawRecord> all = records_;
        all.push_back(r);
        return writeAll(all, "Keno.dat~", error);
    }
    uint8_t buf[kRecordSize];
    encodeRecord(r, buf);
    const int fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = ioError("Die Datei kann nicht geöffnet werden:", path_);
        return false;
    }
    ssize_t w;
    do {
        w = ::write(fd, buf, kRecordSize);
    } while (w < 0 && errno == EINTR);
    const bool full = w == static_cast<ssize_t>(kRecordSize);
    if (!full) {
        if (error) *error = ioError("Schreibfehler in", path_);
        // Never leave half a record behind.
        if (w > 0) (void)::ftruncate(fd, static_cast<off_t>(records_.size() * kRecordSize));
    }
    ::close(fd);
    std::string ignored;
    refresh(&ignored);
    return full;
}

bool DrawStore::insertOrReplace(const DrawRecord& n, std::string* error) {
    if (!createEmptyIfMissing(error)) return false;
    if (!refresh(error)) return false;
    std::vector<DrawRecord> out;
    out.reserve(records_.size() + 1);
    bool pending = true;
    for (const DrawRecord& r : records_) {
        if (pending && r.datum >= n.datum) {
            out.push_back(n);
            pending = false;
        }
        if (r.datum != n.datum) out.push_back(r);
    }
    if (pending) out.push_back(n);
    return writeAll(out, "Keno.dat~", error);
}

bool DrawStore::deleteDate(double datum, std::string* error) {
    if (!refresh(error)) return false;
    std::vector<DrawRecord> out;
    out.reserve(records_.size());
    double latest = 0;
    for (const DrawRecord& r : records_) {
        if (r.datum > latest) {
            latest = r.datum;
            if (r.datum != datum) out.push_back(r);
        }
    }
    return writeAll(out, "Keno.da~", error);
}

} // namespace zf
