#include "core/ports/SettingsStore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/FileWriter.h"
#include "base/SystemError.h"
#include "base/Text.h"

namespace zf {

RegValue RegValue::ofInt(int32_t v) {
    RegValue r;
    r.type = RegType::Dword;
    r.dword = static_cast<uint32_t>(v);
    return r;
}

RegValue RegValue::ofString(std::string s) {
    RegValue r;
    r.type = RegType::String;
    r.str = std::move(s);
    return r;
}

RegValue RegValue::ofBinary(std::vector<uint8_t> b) {
    RegValue r;
    r.type = RegType::Binary;
    r.bin = std::move(b);
    return r;
}

RegValue RegValue::ofDouble(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    std::vector<uint8_t> b(8);
    for (int i = 0; i < 8; ++i) b[i] = static_cast<uint8_t>(bits >> (8 * i));
    return ofBinary(std::move(b));
}

FileSettingsStore::FileSettingsStore(std::string path) : path_(std::move(path)) {}

namespace {

const char* const kHeader = "Zahlfuchs Einstellungen 1";

std::string quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        if (c == '\r') {
            out += "\\r";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

// Reads a quoted string at s[pos]; pos ends behind the closing quote.
bool unquote(const std::string& s, size_t& pos, std::string& out) {
    if (pos >= s.size() || s[pos] != '"') return false;
    out.clear();
    for (++pos; pos < s.size(); ++pos) {
        char c = s[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c == '\\') {
            if (++pos >= s.size()) return false;
            c = s[pos];
            if (c == 'n')
                c = '\n';
            else if (c == 'r')
                c = '\r';
            else if (c != '"' && c != '\\')
                return false;
        }
        out += c;
    }
    return false;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool parseValue(const std::string& s, RegValue& v) {
    if (s.rfind("dword:", 0) == 0) {
        const std::string hex = s.substr(6);
        if (hex.size() != 8) return false;
        uint32_t x = 0;
        for (char c : hex) {
            const int d = hexDigit(c);
            if (d < 0) return false;
            x = x << 4 | static_cast<uint32_t>(d);
        }
        v = RegValue{};
        v.type = RegType::Dword;
        v.dword = x;
        return true;
    }
    if (s.rfind("hex:", 0) == 0) {
        std::vector<uint8_t> bytes;
        const std::string body = s.substr(4);
        size_t i = 0;
        while (i < body.size()) {
            if (i + 1 >= body.size()) return false;
            const int a = hexDigit(body[i]), b = hexDigit(body[i + 1]);
            if (a < 0 || b < 0) return false;
            bytes.push_back(static_cast<uint8_t>(a * 16 + b));
            i += 2;
            if (i < body.size()) {
                if (body[i] != ',' || i + 1 >= body.size()) return false;
                ++i;
            }
        }
        v = RegValue::ofBinary(std::move(bytes));
        return true;
    }
    if (!s.empty() && s[0] == '"') {
        size_t pos = 0;
        std::string str;
        if (!unquote(s, pos, str) || pos != s.size()) return false;
        v = RegValue::ofString(std::move(str));
        return true;
    }
    return false;
}

} // namespace

std::map<std::string, std::map<std::string, RegValue>> FileSettingsStore::parse(const std::string& text,
                                                                                std::vector<std::string>& problems) {
    std::map<std::string, std::map<std::string, RegValue>> keys;
    const auto lines = splitLines(text);
    std::string current;
    bool haveKey = false;
    size_t bad = 0;
    size_t firstBad = 0;
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string line(trimView(lines[n]));
        if (line.empty() || line[0] == ';' || (n == 0 && line == kHeader)) continue;
        bool ok = false;
        if (line.front() == '[' && line.back() == ']') {
            current = line.substr(1, line.size() - 2);
            keys[current];
            haveKey = ok = true;
        } else if (haveKey && line[0] == '"') {
            size_t pos = 0;
            std::string name;
            RegValue v;
            if (unquote(line, pos, name) && pos < line.size() && line[pos] == '=' &&
                parseValue(line.substr(pos + 1), v)) {
                keys[current][name] = std::move(v);
                ok = true;
            }
        }
        if (!ok && bad++ == 0) firstBad = n + 1;
    }
    if (bad)
        problems.push_back("Die Einstellungsdatei ist beschädigt: " + std::to_string(bad) + " Zeile(n) ab Zeile " +
                           std::to_string(firstBad) + " sind unlesbar und wurden übergangen.");
    return keys;
}

bool FileSettingsStore::load() {
    problems_.clear();
    keys_.clear();
    keepBrokenCopy_ = false;
    std::string text;
    if (!fileExists(path_)) return false;
    if (!readFile(path_, text)) {
        problems_.push_back("Die Einstellungsdatei " + path_ + " kann nicht gelesen werden.");
        keepBrokenCopy_ = true;
        return false;
    }
    keys_ = parse(text, problems_);
    keepBrokenCopy_ = !problems_.empty();
    return true;
}

void FileSettingsStore::keepStoredCopy() { keepBrokenCopy_ = fileExists(path_); }

bool FileSettingsStore::keyExists(const std::string& key) const { return keys_.count(key) != 0; }

void FileSettingsStore::createKey(const std::string& key) { keys_[key]; }

std::optional<RegValue> FileSettingsStore::get(const std::string& key, const std::string& name) const {
    auto k = keys_.find(key);
    if (k == keys_.end()) return std::nullopt;
    auto v = k->second.find(name);
    if (v == k->second.end()) return std::nullopt;
    return v->second;
}

void FileSettingsStore::set(const std::string& key, const std::string& name, RegValue value) {
    keys_[key][name] = std::move(value);
}

std::string FileSettingsStore::serialize() const {
    std::string out = std::string(kHeader) + "\n";
    char buf[16];
    for (const auto& [key, values] : keys_) {
        out += "\n[" + key + "]\n";
        for (const auto& [name, v] : values) {
            out += quote(name) + "=";
            switch (v.type) {
            case RegType::Dword:
                std::snprintf(buf, sizeof buf, "dword:%08x", v.dword);
                out += buf;
                break;
            case RegType::String:
                out += quote(v.str);
                break;
            case RegType::Binary:
                out += "hex:";
                for (size_t i = 0; i < v.bin.size(); ++i) {
                    std::snprintf(buf, sizeof buf, i ? ",%02x" : "%02x", v.bin[i]);
                    out += buf;
                }
                break;
            }
            out += "\n";
        }
    }
    return out;
}

bool FileSettingsStore::flush(std::string* error) {
    // Make the folder on a first start.
    std::error_code ec;
    const auto parent = std::filesystem::path(path_).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    FileLock lock(path_);
    if (!lock.locked()) {
        if (error)
            *error = "Die Einstellungen konnten nicht in " + path_ + " gespeichert werden (" + lock.error() + ").";
        return false;
    }
    if (keepBrokenCopy_ && fileExists(path_)) {
        // The user's values that could not be used survive in the copy; a file that cannot even be read
        // is moved aside whole.
        const std::string kept = path_ + ".defekt";
        std::string old, err;
        bool copied = false;
        if (readFile(path_, old)) {
            copied = writeFileAtomic(kept, old, &err);
        } else {
            copied = std::rename(path_.c_str(), kept.c_str()) == 0;
            if (!copied) err = systemReason(errno);
        }
        if (!copied) {
            if (error)
                *error = "Die Einstellungen wurden nicht gespeichert: " + path_ + " konnte nicht als " + kept +
                         " aufbewahrt werden (" + err + ").";
            return false;
        }
    }
    keepBrokenCopy_ = false;
    std::string err;
    if (!writeFileAtomic(path_, serialize(), &err)) {
        if (error) *error = "Die Einstellungen konnten nicht in " + path_ + " gespeichert werden (" + err + ").";
        return false;
    }
    return true;
}

std::optional<RegValue> MemorySettingsStore::get(const std::string& key, const std::string& name) const {
    auto k = keys_.find(key);
    if (k == keys_.end()) return std::nullopt;
    auto v = k->second.find(name);
    if (v == k->second.end()) return std::nullopt;
    return v->second;
}

} // namespace zf
