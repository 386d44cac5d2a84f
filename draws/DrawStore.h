#pragma once
// Keno.dat, read once into memory and read again only when the file changed on disk.
// The writers keep the file's promise: a rewrite builds the new file completely beside the
// old one, flushes it and only then renames it into place, so a failure leaves the history as it was.
#include <cstdint>
#include <string>
#include <vector>

#include "draws/DrawRecord.h"

namespace zf {

struct DrawFileIssues {
    size_t trailingBytes = 0; // bytes after the last whole record
    size_t badNumbers = 0;    // records with numbers outside 1..70 or repeated, or digits above 9
    size_t badDates = 0;      // records whose date is no whole positive day
    size_t outOfOrder = 0;    // records not later than the one before
    bool any() const { return trailingBytes || badNumbers || badDates || outOfOrder; }
};

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
    double lastDate() const { return records_.empty() ? 0.0 : records_.back().datum; }
    const DrawFileIssues& issues() const { return issues_; }
    std::vector<std::string> issueTexts() const; // German, one per kind of problem
    uint64_t generation() const { return generation_; }

    // Writers. Each returns false with a German error text when the file could not be changed.
    bool createEmptyIfMissing(std::string* error = nullptr);
    bool append(const DrawRecord& r, std::string* error = nullptr);
    bool insertOrReplace(const DrawRecord& r, std::string* error = nullptr);
    // Drops the draws dated `datum` and every record not later than all before it.
    bool deleteDate(double datum, std::string* error = nullptr);
    bool writeAll(const std::vector<DrawRecord>& records, const std::string& tempName, std::string* error = nullptr);

    // Parses raw file bytes; used by the cache, the tools and the fuzz target.
    static void parse(const uint8_t* data, size_t size, std::vector<DrawRecord>& records, DrawFileIssues& issues);

private:
    void clear();
    void rebuildBits();

    std::string path_;
    std::vector<DrawRecord> records_;
    std::vector<DrawBits> bits_;
    DrawFileIssues issues_;
    bool loaded_ = false;
    uint64_t generation_ = 0;
    // identity of the file the cache was read from
    long long size_ = -1;
    long long mtimeNs_ = 0;
    unsigned long long inode_ = 0;
};

} // namespace zf
