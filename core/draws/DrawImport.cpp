#include "core/draws/DrawImport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>
#include <sys/stat.h>

#include "base/GermanFormat.h"
#include "base/SystemError.h"
#include "base/Text.h"
#include "core/draws/DrawStore.h"

namespace zf {
namespace {

bool validUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        size_t more = 0;
        if (c < 0x80)
            more = 0;
        else if ((c & 0xE0) == 0xC0 && c >= 0xC2)
            more = 1;
        else if ((c & 0xF0) == 0xE0)
            more = 2;
        else if ((c & 0xF8) == 0xF0 && c <= 0xF4)
            more = 3;
        else
            return false;
        if (more && i + more >= s.size()) return false;
        for (size_t k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += more + 1;
    }
    return true;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool isWeekday(std::string_view token) {
    std::string t = lower(token);
    while (!t.empty() && (t.back() == '.' || t.back() == ',')) t.pop_back();
    static const char* const names[] = {"mo",        "di",        "mi",       "do",       "fr",         "sa",
                                        "so",        "montag",    "dienstag", "mittwoch", "donnerstag", "freitag",
                                        "samstag",   "sonnabend", "sonntag",  "mon",      "tue",        "wed",
                                        "thu",       "fri",       "sat",      "sun",      "monday",     "tuesday",
                                        "wednesday", "thursday",  "friday",   "saturday", "sunday"};
    return std::any_of(std::begin(names), std::end(names), [&](const char* n) { return t == n; });
}

bool allDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool hasDigit(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// DD.MM.YYYY (also D.M.YYYY) or YYYY-MM-DD; nothing when the token is no real day.
std::optional<double> parseImportDate(std::string_view t) {
    if (t.size() == 10 && t[4] == '-' && t[7] == '-' && allDigits(t.substr(0, 4)) && allDigits(t.substr(5, 2)) &&
        allDigits(t.substr(8, 2))) {
        const int y = std::stoi(std::string(t.substr(0, 4)));
        const int m = std::stoi(std::string(t.substr(5, 2)));
        const int d = std::stoi(std::string(t.substr(8, 2)));
        if (y < 1 || m < 1 || m > 12 || d < 1) return std::nullopt;
        const double v = dateValue(y, m, d);
        const Ymd back = ymdOf(v);
        if (back.day != d || back.month != m) return std::nullopt;
        return v;
    }
    const auto dot = t.rfind('.');
    if (dot == std::string_view::npos || t.size() - dot - 1 != 4) return std::nullopt; // a four-digit year
    return parseDate(t);
}

bool looksLikeDate(std::string_view t) {
    return hasDigit(t) &&
           std::all_of(t.begin(), t.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.' || c == '-'; });
}

std::vector<std::string_view> tokens(std::string_view line) {
    std::vector<std::string_view> out;
    size_t i = 0;
    auto separator = [](char c) {
        return c == ',' || c == ';' || c == '\t' || c == ' ' || c == '"' || c == '\'' || c == '(' || c == ')' ||
               c == '\r' || c == '\v' || c == '\f';
    };
    while (i < line.size()) {
        while (i < line.size() && separator(line[i])) ++i;
        const size_t start = i;
        while (i < line.size() && !separator(line[i])) ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

// A piece of the line in a reason: at most 40 characters, never cut inside a character.
std::string quoted(std::string_view t) {
    size_t end = 0, chars = 0;
    while (end < t.size() && chars < 40) {
        ++end;
        while (end < t.size() && (static_cast<unsigned char>(t[end]) & 0xC0) == 0x80) ++end;
        ++chars;
    }
    std::string s(t.substr(0, end));
    if (end < t.size()) s += "…";
    return "„" + s + "“";
}

struct LineResult {
    enum Kind {
        Empty,
        Header,
        Draw,
        Bad
    } kind = Empty;
    DrawRecord record;
    std::string reason;
};

LineResult parseLine(std::string_view line, bool drawSeen, double today) {
    LineResult res;
    std::vector<std::string_view> t = tokens(line);
    if (t.empty()) return res;
    auto bad = [&res](std::string why) {
        res.kind = LineResult::Bad;
        res.reason = std::move(why);
        return res;
    };
    if (t.size() > 1 && isWeekday(t.front())) t.erase(t.begin());
    if (!looksLikeDate(t.front())) {
        if (!drawSeen && !hasDigit(t.front())) {
            res.kind = LineResult::Header;
            return res;
        }
        return bad("kein Datum am Zeilenanfang, sondern " + quoted(t.front()));
    }
    const auto date = parseImportDate(t.front());
    // Keno.dat holds days after 30.12.1899 only.
    if (!date || !DrawStore::dateValid(*date)) return bad("ungültiges Datum " + quoted(t.front()));
    if (*date > today) return bad("das Datum " + formatDate(*date) + " liegt in der Zukunft");
    t.erase(t.begin());
    if (!t.empty() && isWeekday(t.front())) t.erase(t.begin());
    if (!t.empty() && isWeekday(t.back())) t.pop_back();
    for (std::string_view x : t)
        if (!allDigits(x)) return bad(quoted(x) + " ist keine Zahl");

    DrawRecord r;
    r.datum = *date;
    r.flags = kFlagNoPlus5;
    // A last field of four digits or more is meant as the Plus 5 number, never as a 21st number.
    if (!t.empty() && t.back().size() >= 4) {
        if (t.back().size() != 5)
            return bad("die Plus-5-Zahl " + quoted(t.back()) + " hat " + std::to_string(t.back().size()) +
                       " statt 5 Ziffern");
        for (size_t i = 0; i < 5; ++i) r.zahl5[i] = static_cast<uint8_t>(t.back()[i] - '0');
        r.flags = 0;
        t.pop_back();
    }
    if (t.size() != 20) return bad(std::to_string(t.size()) + (t.size() == 1 ? " Zahl" : " Zahlen") + " statt 20");
    DrawBits seen;
    for (size_t i = 0; i < 20; ++i) {
        const int n = t[i].size() > 3 ? 1000 : std::stoi(std::string(t[i]));
        if (n < 1 || n > 70)
            return bad("die Zahl " + (t[i].size() > 40 ? quoted(t[i]) : std::string(t[i])) +
                       " liegt nicht zwischen 1 und 70");
        if (seen.has(n)) return bad("die Zahl " + std::to_string(n) + " kommt doppelt vor");
        seen.set(n);
        r.zahl[i] = static_cast<uint8_t>(n);
    }
    res.kind = LineResult::Draw;
    res.record = r;
    return res;
}

bool sameRecord(const DrawRecord& a, const DrawRecord& b) { return sameDraw(a, b) && sameDraw(b, a); }

// How two draws of one date differ, for a message.
const char* difference(const DrawRecord& a, const DrawRecord& b) {
    return onlyPlus5Differs(a, b) ? "mit einer anderen Plus-5-Zahl" : "mit anderen Zahlen";
}

std::string encoded(const DrawRecord& r) {
    std::string out(kRecordSize, '\0');
    encodeRecord(r, reinterpret_cast<uint8_t*>(out.data()));
    return out;
}

std::string count(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

ParsedDraws readDrawFile(const std::string& path, double today) {
    ParsedDraws out;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        out.error = "Die Datei " + path + " kann nicht gelesen werden: " + systemReason(errno) + ".";
        return out;
    }
    if (!S_ISREG(st.st_mode)) {
        out.error = "Die Datei " + path + " ist keine gewöhnliche Datei.";
        return out;
    }
    if (static_cast<unsigned long long>(st.st_size) > kImportMaxBytes) {
        out.error = "Die Datei " + path + " ist mit " + std::to_string(st.st_size / (1024 * 1024)) +
                    " MB zu groß für eine Liste von Ziehungen (höchstens " +
                    std::to_string(kImportMaxBytes / (1024 * 1024)) + " MB).";
        return out;
    }
    std::string bytes;
    if (!readFile(path, bytes)) {
        out.error = "Die Datei " + path + " kann nicht gelesen werden: " + systemReason(errno) + ".";
        return out;
    }
    // It may have grown since the check.
    if (bytes.size() > kImportMaxBytes) {
        out.error = "Die Datei " + path + " ist zu groß für eine Liste von Ziehungen.";
        return out;
    }
    out = parseDrawText(bytes, today);
    if (!out.error.empty()) out.error = "Die Datei " + path + " " + out.error;
    return out;
}

ParsedDraws parseDrawText(std::string_view bytes, double today) {
    ParsedDraws out;
    // Spreadsheets save "Unicode text" as UTF-16 with a byte-order mark.
    std::string decoded;
    const bool utf16le = bytes.substr(0, 2) == "\xFF\xFE", utf16be = bytes.substr(0, 2) == "\xFE\xFF";
    if (utf16le || utf16be) {
        std::string units(bytes.substr(2));
        if (utf16be)
            for (size_t i = 0; i + 1 < units.size(); i += 2) std::swap(units[i], units[i + 1]);
        decoded = utf16leToUtf8(units);
        bytes = decoded;
    } else if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    if (bytes.find('\0') != std::string_view::npos) {
        out.error = "enthält binäre Daten und ist keine Textdatei.";
        return out;
    }
    const std::string text = validUtf8(bytes) ? std::string(bytes) : cp1252ToUtf8(bytes);
    const std::vector<std::string> lines = splitLines(text);

    struct Entry {
        DrawRecord record;
        size_t line;
    };
    std::vector<Entry> entries;
    bool drawSeen = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        LineResult r = parseLine(lines[i], drawSeen, today);
        if (r.kind == LineResult::Draw) {
            entries.push_back({r.record, i + 1});
            drawSeen = true;
        } else if (r.kind == LineResult::Bad) {
            out.skipped.push_back({i + 1, r.reason});
            drawSeen = true; // a header comes first; a line without digits later is a fault
        }
    }
    if (entries.empty() && out.skipped.empty()) {
        out.error = "enthält keine Ziehungen.";
        return out;
    }

    // One date twice: the same draw again is left out; other numbers leave it open which is right.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.record.datum < b.record.datum; });
    for (size_t i = 0; i < entries.size();) {
        size_t j = i + 1;
        while (j < entries.size() && entries[j].record.datum == entries[i].record.datum) ++j;
        bool conflict = false;
        for (size_t k = i + 1; k < j; ++k) conflict = conflict || !sameRecord(entries[i].record, entries[k].record);
        if (conflict) {
            for (size_t k = i; k < j; ++k) {
                const size_t other = entries[k == i ? i + 1 : i].line;
                out.skipped.push_back(
                    {entries[k].line, "das Datum " + formatDate(entries[k].record.datum) + " steht auch in Zeile " +
                                          std::to_string(other) + ", " +
                                          difference(entries[k].record, entries[k == i ? i + 1 : i].record)});
            }
        } else {
            out.draws.push_back(entries[i].record);
            for (size_t k = i + 1; k < j; ++k)
                out.skipped.push_back(
                    {entries[k].line, "dieselbe Ziehung wie in Zeile " + std::to_string(entries[i].line)});
        }
        i = j;
    }
    std::sort(out.skipped.begin(), out.skipped.end(),
              [](const SkippedLine& a, const SkippedLine& b) { return a.line < b.line; });
    return out;
}

bool onlyPlus5Differs(const DrawRecord& a, const DrawRecord& b) {
    return bitsOf(a).lo == bitsOf(b).lo && bitsOf(a).hi == bitsOf(b).hi && a.hasPlus5() && b.hasPlus5() &&
           a.zahl5 != b.zahl5;
}

bool sameDraw(const DrawRecord& stored, const DrawRecord& imported) {
    if (bitsOf(stored).lo != bitsOf(imported).lo || bitsOf(stored).hi != bitsOf(imported).hi) return false;
    if (!imported.hasPlus5()) return true;
    return stored.hasPlus5() && stored.zahl5 == imported.zahl5;
}

std::string mergeDrawBytes(const std::string& raw, const std::vector<DrawRecord>& draws, bool replace,
                           MergeCounts& counts) {
    std::vector<DrawRecord> records;
    DrawFileIssues issues;
    DrawStore::parse(reinterpret_cast<const uint8_t*>(raw.data()), raw.size(), records, issues);

    // Dates already stored are settled at their first record; the rest are new.
    std::map<double, size_t> firstOfDate;
    for (size_t i = 0; i < records.size(); ++i)
        if (DrawStore::dateValid(records[i].datum)) firstOfDate.emplace(records[i].datum, i);
    std::map<double, const DrawRecord*> incoming;
    std::vector<const DrawRecord*> fresh;
    for (const DrawRecord& d : draws) {
        if (firstOfDate.count(d.datum))
            incoming.emplace(d.datum, &d);
        else
            fresh.push_back(&d);
    }

    std::string out;
    out.reserve(raw.size() + fresh.size() * kRecordSize);
    size_t next = 0;
    std::map<double, bool> replacedDate;
    for (size_t i = 0; i < records.size(); ++i) {
        const DrawRecord& r = records[i];
        const std::string_view bytes = std::string_view(raw).substr(i * kRecordSize, kRecordSize);
        if (!DrawStore::dateValid(r.datum)) {
            out += bytes;
            continue;
        }
        // New dates go in front of the first later readable record, as a single insert would put them.
        while (next < fresh.size() && fresh[next]->datum < r.datum) {
            out += encoded(*fresh[next++]);
            ++counts.added;
        }
        const auto in = incoming.find(r.datum);
        if (in == incoming.end()) {
            out += bytes;
            continue;
        }
        if (firstOfDate[r.datum] != i) {
            // A second record of the date: gone when the date was replaced, else untouched.
            if (!replacedDate[r.datum]) out += bytes;
            continue;
        }
        if (sameDraw(r, *in->second)) {
            ++counts.unchanged;
            out += bytes;
        } else if (replace) {
            ++counts.replaced;
            replacedDate[r.datum] = true;
            out += encoded(*in->second);
        } else {
            (onlyPlus5Differs(r, *in->second) ? counts.keptPlus5 : counts.kept).push_back(r.datum);
            out += bytes;
        }
    }
    for (; next < fresh.size(); ++next) {
        out += encoded(*fresh[next]);
        ++counts.added;
    }
    out.append(raw, raw.size() - issues.trailingBytes, std::string::npos);
    return out;
}

std::vector<std::string> importSummary(const MergeCounts& c, const std::vector<SkippedLine>& skipped, size_t listed) {
    std::vector<std::string> out;
    out.push_back(count(c.added, "Ziehung wurde", "Ziehungen wurden") + " hinzugefügt.");
    out.push_back(count(c.replaced, "Ziehung wurde", "Ziehungen wurden") + " ersetzt.");
    out.push_back(count(c.unchanged, "Ziehung war", "Ziehungen waren") + " schon gespeichert und " +
                  (c.unchanged == 1 ? "bleibt" : "bleiben") + " unverändert.");
    for (const auto& [kept, how] :
         {std::pair{&c.kept, "mit anderen Zahlen"}, std::pair{&c.keptPlus5, "mit einer anderen Plus-5-Zahl"}}) {
        if (kept->empty()) continue;
        std::string dates;
        for (size_t i = 0; i < kept->size() && i < listed; ++i) dates += (i ? ", " : "") + formatDate((*kept)[i]);
        if (kept->size() > listed) dates += " …";
        out.push_back(count(kept->size(), "Ziehung steht", "Ziehungen stehen") + " " + how + " in Keno.dat und " +
                      (kept->size() == 1 ? "wurde" : "wurden") + " behalten: " + dates + ".");
    }
    if (!skipped.empty()) {
        out.push_back(count(skipped.size(), "Zeile wurde", "Zeilen wurden") + " übersprungen:");
        for (size_t i = 0; i < skipped.size() && i < listed; ++i)
            out.push_back("Zeile " + std::to_string(skipped[i].line) + ": " + skipped[i].reason + ".");
        if (skipped.size() > listed)
            out.push_back(count(skipped.size() - listed, "weitere Zeile ist", "weitere Zeilen sind") +
                          " nicht aufgeführt.");
    }
    return out;
}

} // namespace zf
