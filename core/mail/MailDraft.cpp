#include "core/mail/MailDraft.h"

#include <algorithm>
#include <cctype>
#include <sys/stat.h>

#include "base/Parse.h"
#include "base/Text.h"

namespace zf {

std::string htmlFromText(const std::string& body) {
    const std::string framed = "<html><body>" + body + "</body></html>";
    std::string out;
    for (char c : framed) {
        if (c == '\n')
            out += "\n<br>";
        else if (c == ' ')
            out += " &nbsp;";
        else
            out += c;
    }
    return out;
}

std::string mimeTypeForFile(std::string_view fileName) {
    static const std::pair<const char*, const char*> types[] = {
        {"jpg", "image/jpeg"},
        {"jpeg", "image/jpeg"},
        {"jpe", "image/jpeg"},
        {"gif", "image/gif"},
        {"png", "image/png"},
        {"bmp", "image/bmp"},
        {"tif", "image/tiff"},
        {"tiff", "image/tiff"},
        {"ico", "image/x-icon"},
        {"txt", "text/plain"},
        {"htm", "text/html"},
        {"html", "text/html"},
        {"csv", "text/csv"},
        {"xml", "text/xml"},
        {"pdf", "application/pdf"},
        {"zip", "application/zip"},
        {"rtf", "application/rtf"},
        {"doc", "application/msword"},
        {"xls", "application/vnd.ms-excel"},
        {"wav", "audio/x-wav"},
        {"mp3", "audio/mpeg"},
    };
    const size_t dot = fileName.rfind('.');
    const size_t slash = fileName.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return "application/octet-stream";
    std::string ext(fileName.substr(dot + 1));
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const auto& [e, type] : types)
        if (ext == e) return type;
    return "application/octet-stream";
}

std::vector<std::string> existingAttachments(const std::string& attachmentLines) {
    std::vector<std::string> out;
    for (const auto& line : splitLines(attachmentLines)) {
        struct stat st {};
        if (!line.empty() && ::stat(line.c_str(), &st) == 0 && S_ISREG(st.st_mode)) out.push_back(line);
    }
    return out;
}

std::vector<std::string> addressList(const std::string& commaSeparated) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= commaSeparated.size()) {
        size_t comma = commaSeparated.find(',', start);
        if (comma == std::string::npos) comma = commaSeparated.size();
        const std::string_view a = trimView(std::string_view(commaSeparated).substr(start, comma - start));
        if (!a.empty()) out.emplace_back(a);
        start = comma + 1;
    }
    return out;
}

namespace {

// The code point of the UTF-8 sequence at `i` (advanced past it); nothing for a byte that starts no
// well-formed sequence.
std::optional<char32_t> nextUtf8(std::string_view s, size_t& i) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = b(i);
    size_t n = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        n = 1, cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 2, cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 3, cp = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (i + n >= s.size()) return std::nullopt;
    for (size_t k = 1; k <= n; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return std::nullopt;
        cp = cp << 6 | (b(i + k) & 0x3F);
    }
    const char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    i += n + 1;
    return cp;
}

// A letter beyond ASCII that may stand in an address: no control character, no blank or invisible
// format character (a line separator, a no-break or zero-width space, a direction mark).
bool addressLetter(char32_t cp) {
    return cp >= 0xA1 && cp != 0x1680 && !(cp >= 0x2000 && cp <= 0x200F) && !(cp >= 0x2028 && cp <= 0x202F) &&
           !(cp >= 0x205F && cp <= 0x206F) && cp != 0x3000 && cp != 0xFEFF;
}

bool isAtext(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("!#$%&'*+-/=?^_`{|}~").find(c) != std::string_view::npos;
}

// The local part up to the "@": a dot-atom or a quoted string. `i` ends on the "@".
bool localPart(std::string_view a, size_t& i) {
    if (a[0] == '"') {
        for (i = 1; i < a.size();) {
            const char c = a[i];
            if (c == '"') return ++i < a.size() && a[i] == '@';
            if (c == '\\') {
                if (++i == a.size() || a[i] < 0x20 || a[i] > 0x7E) return false;
                ++i;
            } else if (static_cast<unsigned char>(c) >= 0x80) {
                const auto cp = nextUtf8(a, i);
                if (!cp || !addressLetter(*cp)) return false;
            } else if (c < 0x20 || c > 0x7E) {
                return false;
            } else {
                ++i;
            }
        }
        return false;
    }
    bool dotAllowed = false;
    for (i = 0; i < a.size() && a[i] != '@';) {
        const char c = a[i];
        if (c == '.') {
            if (!dotAllowed) return false;
            dotAllowed = false;
            ++i;
        } else if (static_cast<unsigned char>(c) >= 0x80) {
            const auto cp = nextUtf8(a, i);
            if (!cp || !addressLetter(*cp)) return false;
            dotAllowed = true;
        } else if (isAtext(c)) {
            dotAllowed = true;
            ++i;
        } else {
            return false;
        }
    }
    return i < a.size() && dotAllowed; // not empty, no dot at the end
}

// Host labels of letters, digits and hyphens (UTF-8 letters for an international name), dot-separated.
bool hostName(std::string_view h) {
    if (h.empty() || h.size() > 253) return false;
    size_t label = 0;
    char last = '.';
    for (size_t i = 0; i < h.size();) {
        const char c = h[i];
        if (c == '.') {
            if (label == 0 || last == '-') return false;
            label = 0;
            last = c;
            ++i;
            continue;
        }
        if (static_cast<unsigned char>(c) >= 0x80) {
            const auto cp = nextUtf8(h, i);
            if (!cp || !addressLetter(*cp)) return false;
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                   (c == '-' && label > 0)) {
            ++i;
        } else {
            return false;
        }
        if (++label > 63) return false;
        last = c;
    }
    return label > 0 && last != '-';
}

// "[192.0.2.1]" or "[IPv6:2001:db8::1]".
bool addressLiteral(std::string_view d) {
    if (d.size() < 3 || d.front() != '[' || d.back() != ']') return false;
    for (char c : d.substr(1, d.size() - 2))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == '.' || c == ':' ||
              c == 'I' || c == 'P' || c == 'v'))
            return false;
    return true;
}

} // namespace

bool isMailAddress(std::string_view a) {
    if (a.empty() || a.size() > 254) return false;
    size_t at = 0;
    if (!localPart(a, at) || at == 0 || at > 64) return false;
    const std::string_view domain = a.substr(at + 1);
    return hostName(domain) || addressLiteral(domain);
}

std::string visibleText(std::string_view text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (u < 0x20 || u == 0x7F)
            out += std::string("\\x") + hex[u >> 4] + hex[u & 15];
        else
            out += c;
    }
    return out;
}

std::optional<SmtpServerAddress> parseSmtpServer(std::string_view field, int defaultPort, std::string* error) {
    const auto fail = [&](const std::string& why) -> std::optional<SmtpServerAddress> {
        if (error) *error = why;
        return std::nullopt;
    };
    std::string_view rest = trimView(field);
    if (rest.empty()) return fail("Es ist kein SMTP-Server (Host) eingetragen; die Email wurde nicht gesendet.");
    const auto scheme = [&](std::string_view prefix) {
        if (rest.size() < prefix.size()) return false;
        for (size_t i = 0; i < prefix.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(rest[i])) != prefix[i]) return false;
        rest.remove_prefix(prefix.size());
        return true;
    };
    SmtpServerAddress s;
    bool explicitScheme = true;
    if (scheme("smtps://"))
        s.implicitTls = true;
    else if (!scheme("smtp://"))
        explicitScheme = false;
    std::optional<long long> port;
    const bool bracketed = !rest.empty() && rest.front() == '[';
    const size_t colon = bracketed ? rest.find("]:") : rest.rfind(':');
    if (colon != std::string_view::npos) {
        const size_t digits = colon + (bracketed ? 2 : 1);
        port = parseDigits(rest.substr(digits), 65535);
        if (!port || *port == 0)
            return fail("Der SMTP-Server \"" + visibleText(field) + "\" hat keine gültige Portnummer.");
        rest = rest.substr(0, digits - 1);
    }
    if (!(bracketed ? addressLiteral(rest) : hostName(rest)))
        return fail("Der SMTP-Server \"" + visibleText(field) + "\" ist kein gültiger Servername.");
    s.host = std::string(rest);
    s.port = port ? static_cast<int>(*port) : s.implicitTls ? 465 : defaultPort;
    if (!explicitScheme && s.port == 465) s.implicitTls = true;
    return s;
}

MailSettings parseMailSettings(std::string_view ini) {
    MailSettings s;
    s.verifyCertificate = false;
    std::string section;
    for (const auto& raw : splitLines(ini)) {
        const std::string_view line = trimView(raw);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = std::string(line.substr(1, line.size() - 2));
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string key(trimView(line.substr(0, eq)));
        const std::string value(line.substr(eq + 1));
        if (section == "SMTP") {
            if (key == "Host") s.host = value;
            if (key == "User") s.user = value;
            if (key == "Pass") s.password = value;
            if (key == "CheckCertificate") s.verifyCertificate = value == "1";
        } else if (section == "MAIL") {
            if (key == "From") s.from = value;
            if (key == "To") s.to = value;
            if (key == "CC") s.cc = value;
        }
    }
    return s;
}

std::string renderMailSettings(const MailSettings& s) {
    return "[SMTP]\r\nHost=" + s.host + "\r\nUser=" + s.user + "\r\nPass=" + s.password +
           "\r\nCheckCertificate=" + (s.verifyCertificate ? "1" : "0") + "\r\n\r\n[MAIL]\r\nFrom=" + s.from +
           "\r\nTo=" + s.to + "\r\nCC=" + s.cc + "\r\n";
}

} // namespace zf
