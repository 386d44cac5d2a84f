#include "base/Text.h"

#include "base/SystemError.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zf {
namespace {

// Windows-1252 0x80..0x9F; 0 marks the five unassigned codes.
constexpr char32_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// "1 MiB", "16 MiB", "344 Byte": the limits the messages name.
std::string sizeText(size_t bytes) {
    if (bytes >= 1024 * 1024 && bytes % (1024 * 1024) == 0) return std::to_string(bytes / (1024 * 1024)) + " MiB";
    if (bytes >= 1024 && bytes % 1024 == 0) return std::to_string(bytes / 1024) + " KiB";
    return std::to_string(bytes) + " Byte";
}

} // namespace

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char b : bytes) {
        if (b < 0x80)
            out += static_cast<char>(b);
        else if (b < 0xA0)
            // The five unassigned bytes become the C1 controls of the same value, so they come back.
            appendUtf8(out, kHigh[b - 0x80] ? kHigh[b - 0x80] : b);
        else
            appendUtf8(out, b);
    }
    return out;
}

namespace {

// Decodes one well-formed UTF-8 sequence at s[i]; 0 when there is none (stray byte, overlong form,
// surrogate, beyond U+10FFFF, cut short).
size_t decodeUtf8(std::string_view s, size_t i, char32_t& c) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    size_t len = 0;
    char32_t min = 0;
    if ((b & 0xE0) == 0xC0) {
        len = 2;
        min = 0x80;
        c = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
        len = 3;
        min = 0x800;
        c = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
        len = 4;
        min = 0x10000;
        c = b & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (size_t k = 1; k < len; ++k) {
        const unsigned char t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80) return 0;
        c = c << 6 | (t & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return len;
}

} // namespace

std::string utf8ToCp1252(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        char32_t c = 0;
        const size_t len = b < 0x80 ? 1 : decodeUtf8(s, i, c);
        if (len == 0) {
            // Not UTF-8: the byte was never decoded, so it goes back as it is.
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        i += len;
        if (len == 1 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(len == 1 ? b : c);
            continue;
        }
        char mapped = '?';
        if (c < 0xA0) {
            // A C1 control stands for one of the unassigned bytes; the others have a character there.
            if (!kHigh[c - 0x80]) mapped = static_cast<char>(c);
        } else {
            for (int k = 0; k < 32; ++k)
                if (kHigh[k] == c) {
                    mapped = static_cast<char>(0x80 + k);
                    break;
                }
        }
        out += mapped;
    }
    return out;
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

namespace {

// The length in bytes of the control character at `i`, 0 when there is none.
size_t controlAt(std::string_view s, size_t i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x20 || c == 0x7F) return 1;
    if (c == 0xC2 && i + 1 < s.size()) {
        const auto d = static_cast<unsigned char>(s[i + 1]);
        if (d >= 0x80 && d <= 0x9F) return 2;
    }
    if (c == 0xE2 && i + 2 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0x80) {
        const auto e = static_cast<unsigned char>(s[i + 2]);
        if (e == 0xA8 || e == 0xA9) return 3;
    }
    return 0;
}

} // namespace

namespace {

uint16_t utf16UnitAt(std::string_view b, size_t i) {
    return static_cast<uint16_t>(static_cast<unsigned char>(b[2 * i]) |
                                 (static_cast<unsigned char>(b[2 * i + 1]) << 8));
}

} // namespace

std::string utf16leToUtf8(std::string_view bytes) {
    std::string out;
    const size_t n = bytes.size() / 2;
    for (size_t i = 0; i < n; ++i) {
        uint32_t u = utf16UnitAt(bytes, i);
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < n) {
            const uint32_t lo = utf16UnitAt(bytes, i + 1);
            if (lo >= 0xDC00 && lo < 0xE000) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
                ++i;
                continue;
            }
        }
        if (u >= 0xD800 && u < 0xE000) u = 0xFFFD;
        appendUtf8(out, u);
    }
    return out;
}

std::string utf8ToUtf16le(std::string_view s) {
    std::string out;
    auto unit = [&out](uint32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    };
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        uint32_t cp = 0xFFFD;
        size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            cp = c & 0x07;
        } else {
            len = 0;
        }
        bool good = len > 0 && i + len <= s.size();
        for (size_t k = 1; good && k < len; ++k) {
            const unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) good = false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!good) {
            cp = 0xFFFD;
            len = 1;
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            unit(0xD800 + (cp >> 10));
            unit(0xDC00 + (cp & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

bool hasControlCharacters(std::string_view utf8) {
    for (size_t i = 0; i < utf8.size(); ++i)
        if (controlAt(utf8, i)) return true;
    return false;
}

std::string withoutControlCharacters(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        if (const size_t n = controlAt(utf8, i)) {
            out += ' ';
            i += n;
        } else {
            out += utf8[i++];
        }
    }
    return out;
}

std::string_view trimView(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

bool readFile(const std::string& path, std::string& out, size_t maxBytes) {
    return readRegularFile(path, out, maxBytes);
}

bool readRegularFile(const std::string& path, std::string& out, size_t maxBytes, std::string* error) {
    int failedWith = 0;
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        errno = failedWith;
        return false;
    };
    // Non-blocking, so that opening a FIFO without a writer returns at once instead of waiting.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        failedWith = errno;
        return fail("Die Datei " + path + " kann nicht gelesen werden: " + systemReason(failedWith));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        failedWith = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return fail(path + " ist keine gewöhnliche Datei.");
    }
    auto tooLarge = [&] {
        ::close(fd);
        failedWith = EFBIG;
        return fail("Die Datei " + path + " ist größer als " + sizeText(maxBytes) + " und wird nicht gelesen.");
    };
    if (static_cast<unsigned long long>(st.st_size) > maxBytes) return tooLarge();
    out.clear();
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            failedWith = errno;
            ::close(fd);
            return fail("Die Datei " + path + " kann nicht gelesen werden: " + systemReason(failedWith));
        }
        if (n == 0) break;
        out.append(buf, static_cast<size_t>(n));
        if (out.size() > maxBytes) return tooLarge(); // it grew while being read
    }
    ::close(fd);
    return true;
}

bool readTextLines(const std::string& path, std::vector<std::string>& lines) {
    std::string raw;
    if (!readFile(path, raw)) return false;
    lines = splitLines(raw);
    for (auto& l : lines) {
        bool ascii = true;
        for (unsigned char c : l)
            if (c >= 0x80) {
                ascii = false;
                break;
            }
        if (!ascii) l = cp1252ToUtf8(l);
    }
    return true;
}

std::string textLinesBytes(const std::vector<std::string>& lines) {
    std::string out;
    size_t total = 0;
    for (const auto& l : lines) total += l.size() + 2;
    out.reserve(total);
    for (const auto& l : lines) {
        bool ascii = true;
        for (unsigned char c : l)
            if (c >= 0x80) {
                ascii = false;
                break;
            }
        out += ascii ? l : utf8ToCp1252(l);
        out += "\r\n";
    }
    return out;
}

bool writeTextLines(const std::string& path, const std::vector<std::string>& lines, std::string* error) {
    return writeFileAtomic(path, textLinesBytes(lines), error);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isDirectoryWritable(const std::string& dir) {
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    return ::access(dir.c_str(), W_OK | X_OK) == 0;
}

} // namespace zf
