#include "core/mail/MimeMessage.h"

#include <algorithm>
#include <string_view>

#include "base/Text.h"

namespace zf {

std::string base64(const std::string& bytes) {
    static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 | static_cast<unsigned char>(bytes[i + 1]) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += digits[v >> 18];
        out += digits[(v >> 12) & 63];
        out += digits[(v >> 6) & 63];
        out += digits[v & 63];
    }
    if (i < bytes.size()) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += digits[v >> 18];
        out += digits[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? digits[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

namespace {

bool printableAscii(std::string_view text) {
    for (const char c : text)
        if (c < 0x20 || c > 0x7E) return false;
    return true;
}

// RFC 2047 encoded words, each of whole UTF-8 characters and short enough for a 78-column line,
// separated by a folding line break: no byte of the text reaches the header as it is.
std::string encodedWords(std::string_view text) {
    constexpr size_t chunk = 42; // 56 base64 digits, a word of 68 characters
    std::string out;
    for (size_t i = 0; i < text.size();) {
        size_t end = std::min(text.size(), i + chunk);
        size_t start = end;
        while (end < text.size() && start > i && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
        if (end < text.size() && start > i) end = start;
        if (!out.empty()) out += "\r\n ";
        out += "=?UTF-8?B?" + base64(std::string(text.substr(i, end - i))) + "?=";
        i = end;
    }
    return out;
}

// A name or subject is one line of text: a control character (a line break, a tab) becomes a blank,
// so that not even the decoded text can carry a line break into a reader's replies.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return text;
}

} // namespace

std::string encodedHeaderText(const std::string& raw) {
    const std::string text = oneLine(raw);
    // Plain when it is printable ASCII that a reader would not take for an encoded word.
    if (printableAscii(text) && text.find("=?") == std::string::npos && text.size() <= 900) return text;
    return encodedWords(text);
}

namespace {

// "Name" <address>, or the address alone without a name. The name is one line; when it is not plain
// printable ASCII (or holds a quote or backslash) it goes as encoded words.
std::string mailbox(const std::string& rawName, const std::string& address) {
    if (rawName.empty()) return "<" + address + ">";
    const std::string name = oneLine(rawName);
    const bool plain = printableAscii(name) && name.find_first_of("\"\\") == std::string::npos && name.size() <= 500;
    return (plain ? "\"" + name + "\"" : encodedWords(name)) + " <" + address + ">";
}

// Every line end as CR LF.
std::string crlf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string textPart(const char* type, const std::string& text) {
    return std::string("Content-Type: ") + type + "; charset=UTF-8\r\nContent-Transfer-Encoding: 8bit\r\n\r\n" +
           crlf(text) + "\r\n";
}

std::string multipart(const std::string& boundary, const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& p : parts) out += "--" + boundary + "\r\n" + p;
    out += "--" + boundary + "--\r\n";
    return out;
}

std::string baseName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The attachment's name parameter: the name itself when it is simple ASCII, otherwise one encoded word
// (a parameter value cannot be folded).
std::string nameParam(const std::string& name) {
    if (printableAscii(name) && name.find_first_of("\"\\") == std::string::npos) return name;
    return "=?UTF-8?B?" + base64(name) + "?=";
}

// A file name in a header: plain when it is simple ASCII, otherwise as RFC 2231 UTF-8.
std::string fileNameParams(const std::string& name) {
    bool plain = true;
    for (unsigned char c : name)
        if (c >= 0x80 || c < 0x20 || c == '"' || c == '\\') plain = false;
    if (plain) return "filename=\"" + name + "\"";
    std::string pct;
    static const char* hex = "0123456789ABCDEF";
    for (unsigned char c : name) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
            c == '_') {
            pct += static_cast<char>(c);
        } else {
            pct += '%';
            pct += hex[c >> 4];
            pct += hex[c & 15];
        }
    }
    return "filename*=UTF-8''" + pct;
}

} // namespace

namespace {

// A boundary that no line of the bodies can imitate: the texts are the user's and the players'.
std::string freeBoundary(const MailDraft& d, const std::string& boundary) {
    std::string b = "zf-" + boundary;
    for (int n = 1; d.body.find(b) != std::string::npos || d.htmlBody.find(b) != std::string::npos; ++n)
        b = "zf-" + boundary + "-" + std::to_string(n) + "x";
    return b;
}

// The German reason why an address field cannot be used, or nothing.
std::string addressProblem(const MailDraft& d, const std::vector<std::string>& cc,
                           const std::vector<std::string>& bcc) {
    const auto bad = [](const std::string& what, const std::string& a) {
        return what + " \"" + visibleText(a) + "\" ist keine gültige Email-Adresse; die Email wurde nicht gesendet.";
    };
    if (d.fromAddress.empty())
        return "Es ist keine Absender-Adresse (From-Email) eingetragen; die Email wurde nicht gesendet.";
    if (!isMailAddress(d.fromAddress)) return bad("Die Absender-Adresse (From-Email)", d.fromAddress);
    if (!d.toAddress.empty() && !isMailAddress(d.toAddress))
        return bad("Die Empfänger-Adresse (To-Email)", d.toAddress);
    for (const auto& a : cc)
        if (!isMailAddress(a)) return bad("Die Kopie-Adresse (CC)", a);
    for (const auto& a : bcc)
        if (!isMailAddress(a)) return bad("Die Blindkopie-Adresse (BCC)", a);
    if (d.toAddress.empty() && cc.empty() && bcc.empty())
        return "Es ist kein Empfänger (To-Email, CC oder BCC) eingetragen; die Email wurde nicht gesendet.";
    return {};
}

} // namespace

BuiltMessage buildMessage(const MailDraft& d, const std::string& date, const std::string& boundary) {
    BuiltMessage m;
    const auto cc = addressList(d.cc);
    const auto bcc = addressList(d.bcc);
    // Every address reaches the server's commands and the headers only when it is one address.
    m.error = addressProblem(d, cc, bcc);
    if (!m.error.empty()) return m;
    const auto server = parseSmtpServer(d.host, d.port, &m.error);
    if (!server) return m;
    m.envelope.host = server->host;
    m.envelope.port = server->port;
    m.envelope.implicitTls = server->implicitTls;
    m.envelope.user = d.user;
    m.envelope.password = d.password;
    m.envelope.verifyCertificate = d.verifyCertificate;
    m.envelope.from = d.fromAddress;
    if (!d.toAddress.empty()) m.envelope.recipients.push_back(d.toAddress);
    for (const auto& a : cc) m.envelope.recipients.push_back(a);
    for (const auto& a : bcc) m.envelope.recipients.push_back(a);

    const bool hasAttachmentLines = !splitLines(d.attachments).empty();
    const std::string unique = freeBoundary(d, boundary);
    const std::string outer = unique + "-1", inner = unique + "-2";

    std::vector<std::string> parts;
    if (hasAttachmentLines && !d.body.empty() && !d.htmlBody.empty()) {
        parts.push_back("Content-Type: multipart/alternative; boundary=\"" + inner + "\"\r\n\r\n" +
                        multipart(inner, {textPart("text/plain", d.body), textPart("text/html", d.htmlBody)}));
    } else {
        if (!d.body.empty()) parts.push_back(textPart("text/plain", d.body));
        if (!d.htmlBody.empty()) parts.push_back(textPart("text/html", d.htmlBody));
    }
    for (const auto& path : existingAttachments(d.attachments)) {
        std::string content;
        if (!readFile(path, content)) {
            m.error = "Der Anhang " + visibleText(path) + " kann nicht gelesen werden; die Email wurde nicht gesendet.";
            return m;
        }
        const std::string name = baseName(path);
        std::string encoded;
        const std::string b64 = base64(content);
        for (size_t i = 0; i < b64.size(); i += 76) encoded += b64.substr(i, 76) + "\r\n";
        parts.push_back("Content-Type: " + mimeTypeForFile(name) + "; name=\"" + nameParam(name) +
                        "\"\r\nContent-Transfer-Encoding: base64\r\nContent-Disposition: attachment; " +
                        fileNameParams(name) + "\r\n\r\n" + encoded);
    }

    std::string h;
    h += "Date: " + date + "\r\n";
    h += "From: " + mailbox(d.fromName, d.fromAddress) + "\r\n";
    if (!d.toAddress.empty()) h += "To: " + mailbox(d.toName, d.toAddress) + "\r\n";
    if (!cc.empty()) {
        h += "Cc: ";
        for (size_t i = 0; i < cc.size(); ++i) h += (i ? ",\r\n <" : "<") + cc[i] + ">";
        h += "\r\n";
    }
    h += "Subject: " + encodedHeaderText(d.subject) + "\r\n";
    if (d.readReceipt) h += "Disposition-Notification-To: " + mailbox(d.fromName, d.fromAddress) + "\r\n";
    h += "X-Mailer: " + std::string(kMailAgent) + "\r\n";
    h += "MIME-Version: 1.0\r\n";
    const char* type = hasAttachmentLines ? "multipart/mixed" : "multipart/alternative";
    h += std::string("Content-Type: ") + type + "; charset=UTF-8; boundary=\"" + outer + "\"\r\n";
    h += "Content-Transfer-Encoding: 8bit\r\n\r\n";
    m.text = h + multipart(outer, parts);
    return m;
}

} // namespace zf
