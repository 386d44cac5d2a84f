// Fuzzes the message builder with hostile names, addresses, subjects and bodies. Whatever the fields
// hold: every line of the header block is one of the headers the builder writes, once, or a folded
// continuation; the names and the subject read back as they were typed, on one line; every address
// handed to the server is one address; and no body line imitates a part boundary.
//
// Input: a flag byte (bit 0: read receipt), then the fields separated by NUL bytes: from name, from
// address, to name, to address, CC, BCC, subject, plain body, HTML body, server.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/mail/MailDraft.h"
#include "core/mail/MimeMessage.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

std::string unbase64(std::string_view text) {
    std::string out;
    unsigned bits = 0, value = 0;
    for (char c : text) {
        int v = -1;
        if (c >= 'A' && c <= 'Z') v = c - 'A';
        if (c >= 'a' && c <= 'z') v = c - 'a' + 26;
        if (c >= '0' && c <= '9') v = c - '0' + 52;
        if (c == '+') v = 62;
        if (c == '/') v = 63;
        if (v < 0) continue;
        value = value << 6 | static_cast<unsigned>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((value >> bits) & 0xFF);
        }
    }
    return out;
}

// An unstructured header text (folds undone) as a reader gets it: encoded words taken back.
std::string decoded(std::string_view value) {
    if (value.substr(0, 10) != "=?UTF-8?B?") return std::string(value);
    std::string out;
    for (size_t i = 0; i < value.size();) {
        const size_t start = value.find("=?UTF-8?B?", i);
        check(start == i);
        const size_t end = value.find("?=", start + 10);
        check(end != std::string_view::npos);
        out += unbase64(value.substr(start + 10, end - start - 10));
        i = end + 2;
        if (i < value.size()) {
            check(value[i] == ' '); // the blank of a fold between two words
            ++i;
        }
    }
    return out;
}

// The display name of "Name <address>" (or nothing before "<address>"), checking the address.
std::string displayName(std::string_view value, const std::string& address) {
    const std::string tail = "<" + address + ">";
    check(value.size() >= tail.size() && value.substr(value.size() - tail.size()) == tail);
    if (value.size() == tail.size()) return {};
    const std::string_view name = value.substr(0, value.size() - tail.size() - 1);
    if (name.front() == '"') {
        check(name.size() >= 2 && name.back() == '"');
        return std::string(name.substr(1, name.size() - 2));
    }
    check(name.substr(0, 10) == "=?UTF-8?B?");
    return decoded(name);
}

// What the builder promises to keep of a name or subject: the text on one line.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view in(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<std::string> f;
    for (size_t start = 0; f.size() < 10;) {
        const size_t nul = in.find('\0', start);
        f.emplace_back(in.substr(start, nul == std::string_view::npos ? std::string_view::npos : nul - start));
        if (nul == std::string_view::npos) break;
        start = nul + 1;
    }
    f.resize(10);
    zf::MailDraft d;
    d.readReceipt = data[0] & 1;
    d.fromName = f[0], d.fromAddress = f[1], d.toName = f[2], d.toAddress = f[3], d.cc = f[4], d.bcc = f[5];
    d.subject = f[6], d.body = f[7], d.htmlBody = f[8];
    d.host = f[9].empty() ? "smtp.example.org" : f[9];

    // An accepted address is one address: nothing in it can end a command or a header line.
    for (const std::string& a : {d.fromAddress, d.toAddress}) {
        if (!zf::isMailAddress(a)) continue;
        for (unsigned char c : a) check(c >= 0x20 && c != 0x7F);
        if (a.find('"') == std::string::npos) check(a.find_first_of("<>,; ") == std::string::npos);
    }

    const zf::BuiltMessage m = zf::buildMessage(d, "Thu, 10 Dec 2026 14:05:00 +0100", "1");
    if (!m.error.empty()) {
        check(m.text.empty());
        return 0;
    }
    check(zf::isMailAddress(m.envelope.from));
    for (const auto& r : m.envelope.recipients) check(zf::isMailAddress(r));
    for (unsigned char c : m.envelope.host)
        check(c >= 0x80 || std::isalnum(c) || c == '.' || c == '-' || c == ':' || c == '[' || c == ']');

    const size_t end = m.text.find("\r\n\r\n");
    check(end != std::string::npos);
    const std::string_view header = std::string_view(m.text).substr(0, end + 2);
    std::map<std::string, std::string> values; // unfolded
    std::string last;
    for (size_t i = 0; i < header.size();) {
        const size_t eol = header.find("\r\n", i);
        check(eol != std::string_view::npos);
        const std::string_view line = header.substr(i, eol - i);
        check(line.size() <= 998);
        check(line.find_first_of("\r\n") == std::string_view::npos);
        if (line.front() == ' ' || line.front() == '\t') {
            check(!last.empty());
            values[last] += line;
        } else {
            const size_t colon = line.find(": ");
            check(colon != std::string_view::npos);
            last = std::string(line.substr(0, colon));
            static const char* known[] = {"Date",         "From",
                                          "To",           "Cc",
                                          "Subject",      "Disposition-Notification-To",
                                          "X-Mailer",     "MIME-Version",
                                          "Content-Type", "Content-Transfer-Encoding"};
            bool isKnown = false;
            for (const char* k : known) isKnown = isKnown || last == k;
            check(isKnown);
            check(values.count(last) == 0);
            values[last] = line.substr(colon + 2);
        }
        i = eol + 2;
    }
    const auto cc = zf::addressList(d.cc);
    check(values.count("To") == (d.toAddress.empty() ? 0u : 1u));
    check(values.count("Cc") == (cc.empty() ? 0u : 1u));
    check(values.count("Disposition-Notification-To") == (d.readReceipt ? 1u : 0u));
    check(values.size() == 7 + values.count("To") + values.count("Cc") + values.count("Disposition-Notification-To"));

    check(decoded(values["Subject"]) == oneLine(d.subject));
    check(displayName(values["From"], d.fromAddress) == oneLine(d.fromName));
    if (!d.toAddress.empty()) check(displayName(values["To"], d.toAddress) == oneLine(d.toName));

    // The parts: as many boundary lines as parts, and one closing line at the end.
    const std::string& type = values["Content-Type"];
    const size_t b = type.find("boundary=\"");
    check(b != std::string::npos);
    const std::string boundary = type.substr(b + 10, type.size() - b - 11);
    const std::string_view body = std::string_view(m.text).substr(end + 4);
    size_t opens = 0, closes = 0;
    for (size_t i = 0; i < body.size();) {
        size_t eol = body.find("\r\n", i);
        if (eol == std::string_view::npos) eol = body.size();
        const std::string_view line = body.substr(i, eol - i);
        if (line == "--" + boundary) ++opens;
        if (line == "--" + boundary + "--") ++closes;
        i = eol + 2;
    }
    check(opens == static_cast<size_t>(!d.body.empty()) + static_cast<size_t>(!d.htmlBody.empty()));
    check(closes == 1);
    return 0;
}
