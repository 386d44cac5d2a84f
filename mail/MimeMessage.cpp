#include "mail/MimeMessage.h"

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

std::string encodedHeaderText(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0x80 || c < 0x20) return "=?UTF-8?B?" + base64(text) + "?=";
    return text;
}

namespace {

// "Name" <address>, or the address alone without a name.
std::string mailbox(const std::string& name, const std::string& address) {
    if (name.empty()) return "<" + address + ">";
    bool plain = true;
    for (unsigned char c : name)
        if (c >= 0x80 || c == '"' || c == '\\') plain = false;
    return (plain ? "\"" + name + "\"" : encodedHeaderText(name)) + " <" + address + ">";
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

BuiltMessage buildMessage(const MailDraft& d, const std::string& date, const std::string& boundary) {
    BuiltMessage m;
    m.envelope.host = d.host;
    m.envelope.port = d.port;
    m.envelope.user = d.user;
    m.envelope.password = d.password;
    m.envelope.verifyCertificate = d.verifyCertificate;
    m.envelope.from = d.fromAddress;
    const auto cc = addressList(d.cc);
    const auto bcc = addressList(d.bcc);
    if (!d.toAddress.empty()) m.envelope.recipients.push_back(d.toAddress);
    for (const auto& a : cc) m.envelope.recipients.push_back(a);
    for (const auto& a : bcc) m.envelope.recipients.push_back(a);

    const bool hasAttachmentLines = !splitLines(d.attachments).empty();
    const std::string outer = "zf-" + boundary + "-1", inner = "zf-" + boundary + "-2";

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
            m.error = "Der Anhang " + path + " kann nicht gelesen werden; die Email wurde nicht gesendet.";
            return m;
        }
        const std::string name = baseName(path);
        std::string encoded;
        const std::string b64 = base64(content);
        for (size_t i = 0; i < b64.size(); i += 76) encoded += b64.substr(i, 76) + "\r\n";
        parts.push_back("Content-Type: " + mimeTypeForFile(name) + "; name=\"" + encodedHeaderText(name) +
                        "\"\r\nContent-Transfer-Encoding: base64\r\nContent-Disposition: attachment; " +
                        fileNameParams(name) + "\r\n\r\n" + encoded);
    }

    std::string h;
    h += "Date: " + date + "\r\n";
    h += "From: " + mailbox(d.fromName, d.fromAddress) + "\r\n";
    h += "To: " + mailbox(d.toName, d.toAddress) + "\r\n";
    if (!cc.empty()) {
        h += "Cc: ";
        for (size_t i = 0; i < cc.size(); ++i) h += (i ? ", <" : "<") + cc[i] + ">";
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
