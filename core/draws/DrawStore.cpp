#include "core/draws/DrawStore.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/FileWriter.h"
#include "base/GermanFormat.h"
#include "base/SystemError.h"
#include "base/Text.h"
#include "core/draws/DrawImport.h"

namespace zf {
namespace {

std::string ioError(const std::string& what, const std::string& path, int err) {
    return what + " " + path + ": " + systemReason(err);
}

bool fail(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
}

std::string encoded(const DrawRecord& r) {
    std::string out(kRecordSize, '\0');
    encodeRecord(r, reinterpret_cast<uint8_t*>(out.data()));
    return out;
}

// The records of raw file bytes, each with its 40 bytes so that untouched ones go back unchanged.
struct RawRecords {
    std::vector<DrawRecord> records;
    DrawFileIssues issues;
    const std::string& raw;
    explicit RawRecords(const std::string& bytes) : raw(bytes) {
        DrawStore::parse(reinterpret_cast<const uint8_t*>(raw.data()), raw.size(), records, issues);
    }
    std::string_view bytes(size_t i) const { return std::string_view(raw).substr(i * kRecordSize, kRecordSize); }
};

} // namespace

bool DrawStore::dateValid(double d) { return std::isfinite(d) && d > 0 && d == std::floor(d) && d <= 2958465; }

bool DrawStore::numbersValid(const DrawRecord& r) {
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

void DrawStore::setPath(std::string path) {
    if (path == path_) return;
    path_ = std::move(path);
    clear();
}

void DrawStore::clear() {
    records_.clear();
    bits_.clear();
    datesInOrder_ = true;
    issues_ = {};
    lastDate_ = 0;
    loaded_ = false;
    size_ = -1;
    ++generation_;
}

bool DrawStore::fileExists() const { return zf::fileExists(path_); }

bool DrawStore::hasDate(double datum) const {
    for (const DrawRecord& r : records_)
        if (r.datum == datum && dateValid(r.datum)) return true;
    return false;
}

size_t DrawStore::firstOnOrAfter(double datum) const {
    if (datesInOrder_ && !std::isnan(datum))
        return static_cast<size_t>(std::partition_point(records_.begin(), records_.end(),
                                                        [datum](const DrawRecord& r) { return r.datum < datum; }) -
                                   records_.begin());
    for (size_t i = 0; i < records_.size(); ++i)
        if (dateValid(records_[i].datum) && records_[i].datum >= datum) return i;
    return records_.size();
}

void DrawStore::parse(const uint8_t* data, size_t size, std::vector<DrawRecord>& records, DrawFileIssues& issues) {
    issues = {};
    records.clear();
    const size_t count = size / kRecordSize;
    issues.trailingBytes = size % kRecordSize;
    records.reserve(count);
    double previous = -INFINITY;
    for (size_t i = 0; i < count; ++i) {
        DrawRecord r = decodeRecord(data + i * kRecordSize);
        if (!dateValid(r.datum)) {
            ++issues.badDates;
        } else {
            if (r.datum <= previous) ++issues.outOfOrder;
            previous = r.datum;
        }
        if (!numbersValid(r)) ++issues.badNumbers;
        records.push_back(r);
    }
}

void DrawStore::rebuildBits() {
    bits_.resize(records_.size());
    for (size_t i = 0; i < records_.size(); ++i) bits_[i] = bitsOf(records_[i]);
    datesInOrder_ = true;
    for (size_t i = 0; i < records_.size() && datesInOrder_; ++i)
        datesInOrder_ = dateValid(records_[i].datum) && (i == 0 || records_[i - 1].datum <= records_[i].datum);
    lastDate_ = 0;
    for (size_t i = records_.size(); i-- > 0;)
        if (dateValid(records_[i].datum)) {
            lastDate_ = records_[i].datum;
            break;
        }
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
        const int err = errno;
        clear();
        if (error) *error = ioError("Lesefehler in", path_, err);
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

bool DrawStore::readLocked(std::string& raw, std::string* error) {
    if (!zf::fileExists(path_)) return fail(error, "Die Datei " + path_ + " fehlt.");
    if (!readFile(path_, raw)) return fail(error, ioError("Lesefehler in", path_, errno));
    return true;
}

bool DrawStore::writeBytes(const std::string& bytes, std::string* error) {
    const bool ok = writeFileAtomic(path_, bytes, error);
    std::string ignored;
    refresh(&ignored);
    return ok;
}

bool DrawStore::createEmptyIfMissing(std::string* error) {
    if (fileExists()) return true;
    FileLock lock(path_);
    if (!lock.locked()) return fail(error, lock.error());
    if (fileExists()) return true; // another program was first
    std::string why;
    if (!writeFileAtomic(path_, {}, &why))
        return fail(error, "Die Datei " + path_ + " kann nicht angelegt werden.\n" + why);
    return true;
}

bool DrawStore::writeAll(const std::vector<DrawRecord>& records, std::string* error) {
    std::string bytes;
    bytes.reserve(records.size() * kRecordSize);
    for (const DrawRecord& r : records) bytes += encoded(r);
    return writeBytes(bytes, error);
}

bool DrawStore::insertLocked(const DrawRecord& n, const std::string& raw, std::string* error) {
    const RawRecords file(raw);
    std::string out;
    out.reserve(raw.size() + kRecordSize);
    bool pending = true;
    for (size_t i = 0; i < file.records.size(); ++i) {
        const DrawRecord& r = file.records[i];
        const bool valid = dateValid(r.datum);
        // In front of the first readable date after it; records without a readable date stay where they are.
        if (pending && valid && r.datum > n.datum) {
            out += encoded(n);
            pending = false;
        }
        if (valid && r.datum == n.datum) {
            if (pending) out += encoded(n);
            pending = false;
            continue;
        }
        out += file.bytes(i);
    }
    if (pending) out += encoded(n);
    out.append(raw, raw.size() - file.issues.trailingBytes, std::string::npos);
    return writeBytes(out, error);
}

bool DrawStore::insertOrReplace(const DrawRecord& n, std::string* error) {
    if (!dateValid(n.datum)) return fail(error, "Die Ziehung hat kein gültiges Datum.");
    FileLock lock(path_);
    if (!lock.locked()) return fail(error, lock.error());
    if (!createEmptyIfMissing(error)) return false;
    std::string raw;
    if (!readLocked(raw, error)) return false;
    return insertLocked(n, raw, error);
}

bool DrawStore::append(const DrawRecord& r, std::string* error) {
    if (!dateValid(r.datum)) return fail(error, "Die Ziehung hat kein gültiges Datum.");
    FileLock lock(path_);
    if (!lock.locked()) return fail(error, lock.error());
    if (!createEmptyIfMissing(error)) return false;
    std::string raw;
    if (!readLocked(raw, error)) return false;
    {
        const RawRecords file(raw);
        double last = 0;
        bool known = false;
        for (const DrawRecord& x : file.records)
            if (dateValid(x.datum)) {
                last = x.datum;
                known = known || x.datum == r.datum;
            }
        // A date already there or not after the last one would break the date order: put it in its place.
        if (known || (last > 0 && r.datum <= last)) return insertLocked(r, raw, error);
        // Appending behind a broken tail would shift every later record; this rewrite drops the tail.
        if (file.issues.trailingBytes)
            return writeBytes(raw.substr(0, raw.size() - file.issues.trailingBytes) + encoded(r), error);
    }
    // In place: a crash half-way leaves a short tail, which the reader skips and the next writer drops.
    if (!mayReplace(path_, error)) return false;
    const std::string bytes = encoded(r);
    const int fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return fail(error, ioError("Die Datei kann nicht geöffnet werden:", path_, errno));
    int err = writeWhole(fd, bytes);
    if (!err && ::fsync(fd) != 0) err = errno;
    if (err) {
        // Never leave part of a record behind.
        if (::ftruncate(fd, static_cast<off_t>(raw.size())) != 0) {}
        ::close(fd);
        std::string ignored;
        refresh(&ignored);
        return fail(error, ioError("Schreibfehler in", path_, err));
    }
    if (::close(fd) != 0) {
        err = errno;
        std::string ignored;
        refresh(&ignored);
        return fail(error, ioError("Schreibfehler in", path_, err));
    }
    std::string ignored;
    refresh(&ignored);
    return true;
}

bool DrawStore::mergeDraws(const std::vector<DrawRecord>& draws, bool replace, MergeCounts& counts,
                           std::string* error) {
    counts = {};
    FileLock lock(path_);
    if (!lock.locked()) return fail(error, lock.error());
    if (!createEmptyIfMissing(error)) return false;
    std::string raw;
    if (!readLocked(raw, error)) return false;
    MergeCounts merged;
    const std::string out = mergeDrawBytes(raw, draws, replace, merged);
    if (merged.added + merged.replaced == 0) {
        counts = merged;
        std::string ignored;
        refresh(&ignored);
        return true;
    }
    if (!writeBytes(out, error)) return false;
    counts = merged;
    return true;
}

bool DrawStore::deleteDate(double datum, std::string* error) {
    FileLock lock(path_);
    if (!lock.locked()) return fail(error, lock.error());
    std::string raw;
    if (!readLocked(raw, error)) return false;
    const RawRecords file(raw);
    std::string out;
    out.reserve(raw.size());
    size_t removed = 0;
    for (size_t i = 0; i < file.records.size(); ++i) {
        if (dateValid(datum) && file.records[i].datum == datum) {
            ++removed;
            continue;
        }
        out += file.bytes(i);
    }
    if (!removed) {
        std::string ignored;
        refresh(&ignored);
        return fail(error, dateValid(datum) ? "Keno.dat enthält keine Ziehung vom " + formatDate(datum) + "."
                                            : std::string("Die Ziehung hat kein gültiges Datum."));
    }
    // The broken tail after the last whole record stays as well: nothing but the chosen date goes.
    out.append(raw, raw.size() - file.issues.trailingBytes, std::string::npos);
    return writeBytes(out, error);
}

} // namespace zf
