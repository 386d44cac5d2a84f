#pragma once
// Keno.dat, read once into memory and read again only when the file changed on disk.
// Every writer locks the file, reads it again under the lock (another program may have changed it),
// makes its change and writes through writeFileAtomic, so a failure leaves the history as it was.
// Records that cannot be read (no valid date, numbers out of range) or stand out of date order are
// kept byte for byte by every writer: one broken record must never cost the rest of the history.
#include <cstdint>
#include <string>
#include <vector>

#include "core/draws/DrawRecord.h"

namespace zf {

struct DrawFileIssues {
    size_t trailingBytes = 0; // bytes after the last whole record
    size_t badNumbers = 0;    // records with numbers outside 1..70 or repeated, or digits above 9
    size_t badDates = 0;      // records whose date is no whole positive day
    size_t outOfOrder = 0;    // records not later than the one before
    bool any() const { return trailingBytes || badNumbers || badDates || outOfOrder; }
};

struct MergeCounts;

class DrawStore {
public:
    DrawStore() = default;
    explicit DrawStore(std::string path) : path_(std::move(path)) {}

    void setPath(std::string path);
    const std::string& path() const { return path_; }

    // Brings the cache in line with the file. False when the file is missing or unreadable.
    bool refresh(std::string* error = nullptr);
    bool fileExists() const;

    const std::vector<DrawRecord>& records() const { return records_; }
    const std::vector<DrawBits>& bits() const { return bits_; }
    size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    // The date of the last record with a valid date; 0 without one. A broken tail (zeros after a
    // crash) must not make the update start from the beginning again.
    double lastDate() const { return lastDate_; }
    bool hasDate(double datum) const;
    // The first record with a readable date on or after `datum`; size() when there is none. A history
    // in date order is searched by halving, the browser seeks a draw for every generator run.
    size_t firstOnOrAfter(double datum) const;
    const DrawFileIssues& issues() const { return issues_; }
    std::vector<std::string> issueTexts() const; // German, one per kind of problem
    uint64_t generation() const { return generation_; }

    static bool dateValid(double datum); // a whole day from 1 to 31.12.9999
    static bool numbersValid(const DrawRecord& r);
    static bool readable(const DrawRecord& r) { return dateValid(r.datum) && numbersValid(r); }

    // Writers. Each returns false with a German error text when the file could not be changed.
    bool createEmptyIfMissing(std::string* error = nullptr);
    // Appends in place under the lock; a date not after the last one goes to its place instead.
    bool append(const DrawRecord& r, std::string* error = nullptr);
    // Puts the draw in date order, replacing the draws with its date.
    bool insertOrReplace(const DrawRecord& r, std::string* error = nullptr);
    // Removes the draws dated `datum` and nothing else; false when there is none.
    bool deleteDate(double datum, std::string* error = nullptr);
    // Merges imported draws (ascending, one per date) by date in one rewrite; see mergeDrawBytes.
    // Writes nothing when no draw was added or replaced.
    bool mergeDraws(const std::vector<DrawRecord>& draws, bool replace, MergeCounts& counts,
                    std::string* error = nullptr);
    // Replaces the whole history (tools and tests).
    bool writeAll(const std::vector<DrawRecord>& records, std::string* error = nullptr);

    // Parses raw file bytes; used by the cache, the tools and the fuzz target.
    static void parse(const uint8_t* data, size_t size, std::vector<DrawRecord>& records, DrawFileIssues& issues);

private:
    void clear();
    void rebuildBits();
    // Under the lock: the file as it is now, whatever the cache says.
    bool readLocked(std::string& raw, std::string* error);
    bool insertLocked(const DrawRecord& n, const std::string& raw, std::string* error);
    bool writeBytes(const std::string& bytes, std::string* error);

    std::string path_;
    std::vector<DrawRecord> records_;
    std::vector<DrawBits> bits_;
    DrawFileIssues issues_;
    double lastDate_ = 0;
    bool datesInOrder_ = true; // every date readable, none before the one of the record before
    bool loaded_ = false;
    uint64_t generation_ = 0;
    // identity of the file the cache was read from
    long long size_ = -1;
    long long mtimeNs_ = 0;
    unsigned long long inode_ = 0;
};

} // namespace zf
