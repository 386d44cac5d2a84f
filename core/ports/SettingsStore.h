#pragma once
// A typed settings store modelled on the registry: keys hold named values that are 32-bit integers,
// strings or binary blobs. A value of one type read as another is a type error, as in the registry.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zf {

enum class RegType {
    Dword,
    String,
    Binary
};

struct RegValue {
    RegType type = RegType::Dword;
    uint32_t dword = 0;
    std::string str;
    std::vector<uint8_t> bin;

    static RegValue ofInt(int32_t v);
    static RegValue ofString(std::string s);
    static RegValue ofBinary(std::vector<uint8_t> b);
    static RegValue ofDouble(double d); // 8 bytes, little-endian IEEE-754
    bool operator==(const RegValue&) const = default;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual bool keyExists(const std::string& key) const = 0;
    virtual void createKey(const std::string& key) = 0;
    virtual std::optional<RegValue> get(const std::string& key, const std::string& name) const = 0;
    virtual void set(const std::string& key, const std::string& name, RegValue value) = 0;
    // Makes the values written so far permanent. False (with a German text) when that failed.
    virtual bool flush(std::string* error) = 0;
    // German texts about what the last load could not use.
    virtual std::vector<std::string> loadProblems() const { return {}; }
    // The values read could not all be used (a value of the wrong type): the next flush keeps the
    // stored file aside before it replaces it.
    virtual void keepStoredCopy() {}
};

// The store kept in one text file in the registry's export format:
//   [HKEY_CURRENT_USER\SOFTWARE\Orvane\Keno]
//   "UpDown1"=dword:00000004
//   "EINPREIS"="0,20"
//   "Preis"=hex:00,00,00,00,00,00,00,00
// Lines it cannot read are reported and left out. A file that could not be fully used (unreadable
// lines, a value of the wrong type, a file that cannot be read at all) is kept as FILE.defekt before
// the first write replaces it; when that fails, the file is not replaced. Writes go to a new file that
// is renamed into place.
class FileSettingsStore : public SettingsStore {
public:
    explicit FileSettingsStore(std::string path);
    bool load(); // false when the file is missing (a first start) or unreadable
    bool keyExists(const std::string& key) const override;
    void createKey(const std::string& key) override;
    std::optional<RegValue> get(const std::string& key, const std::string& name) const override;
    void set(const std::string& key, const std::string& name, RegValue value) override;
    bool flush(std::string* error) override;
    std::vector<std::string> loadProblems() const override { return problems_; }
    void keepStoredCopy() override;

    const std::string& path() const { return path_; }
    std::string serialize() const;
    // Parses file text into keys; problems are appended as German texts.
    static std::map<std::string, std::map<std::string, RegValue>> parse(const std::string& text,
                                                                        std::vector<std::string>& problems);

private:
    std::string path_;
    std::map<std::string, std::map<std::string, RegValue>> keys_;
    std::vector<std::string> problems_;
    bool keepBrokenCopy_ = false;
};

// A store that lives only in memory.
class MemorySettingsStore : public SettingsStore {
public:
    bool keyExists(const std::string& key) const override { return keys_.count(key) != 0; }
    void createKey(const std::string& key) override { keys_[key]; }
    std::optional<RegValue> get(const std::string& key, const std::string& name) const override;
    void set(const std::string& key, const std::string& name, RegValue value) override {
        keys_[key][name] = std::move(value);
    }
    bool flush(std::string* error) override {
        if (failFlush && error) *error = "Schreiben verweigert";
        return !failFlush;
    }
    bool failFlush = false;

private:
    std::map<std::string, std::map<std::string, RegValue>> keys_;
};

} // namespace zf
