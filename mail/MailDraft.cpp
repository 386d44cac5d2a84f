#include "mail/MailDraft.h"

#include <algorithm>
#include <cctype>
#include <sys/stat.h>

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
