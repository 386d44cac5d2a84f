#pragma once
// The mail dialog's fields without the dialog (`TMailerForm`), its settings file, and the pieces of the
// message that do not need the network: the HTML conversion and the attachments' types.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zf {

inline constexpr const char* kMailFromName = "Orvane Software";      // FromName at start
inline constexpr const char* kMailToName = "Zahlfuchs Kundendienst"; // ToName at start
inline constexpr const char* kMailSubject = "Bitte vergeben Sie einen Betreff für Ihre Nachricht";
inline constexpr const char* kMailAgent = "Orvane Software";
inline constexpr int kSmtpPort = 25;

struct MailDraft {
    std::string host;        // ledHost
    std::string user;        // LedUser
    std::string password;    // LEdPass
    std::string fromAddress; // ledFrom
    std::string fromName = kMailFromName;
    std::string toAddress; // ledTo
    std::string toName = kMailToName;
    std::string cc;  // ledCC, comma-separated
    std::string bcc; // BCCEmail
    std::string subject = kMailSubject;
    bool readReceipt = true;       // Bestaetigung
    bool verifyCertificate = true; // "Zertifikat prüfen"
    std::string body;              // Body, lines joined by CR LF
    std::string htmlBody;          // HTMLBody
    std::string attachments;       // ledAttachment, one path a line
    int port = kSmtpPort;
};

// "Text in HTML übernehmen": the body framed, "<br>" after every line feed, " &nbsp;" for every blank.
std::string htmlFromText(const std::string& body);

// The content type the file's extension gives ("image/jpeg" for ".jpg"), "application/octet-stream"
// for extensions without an entry.
std::string mimeTypeForFile(std::string_view fileName);

// The lines of the attachment list that name an existing file, in order.
std::vector<std::string> existingAttachments(const std::string& attachmentLines);

// A comma-separated address list as single addresses, blanks trimmed, empty entries left out.
std::vector<std::string> addressList(const std::string& commaSeparated);

// Whether `address` is one address and nothing more: local@domain, the local part a dot-atom or a
// quoted string, the domain host labels or a bracketed literal; UTF-8 letters allowed, control
// characters nowhere, and no blank, "<", ">", ",", ";" outside quotes. Only such an address may reach
// the server's commands or a header.
bool isMailAddress(std::string_view address);

// The text with its control characters written out ("\r", "\n", "\t", "\x1B"), for a message that
// names a value which must not break the message's lines.
std::string visibleText(std::string_view text);

// The server field: "host", "host:port", "smtp://host[:port]" or "smtps://host[:port]". "smtps://" and
// port 465 mean TLS from the first byte (implicit TLS, port 465 unless given); otherwise the server is
// asked for STARTTLS on `defaultPort` unless a port is given.
struct SmtpServerAddress {
    std::string host;
    int port = kSmtpPort;
    bool implicitTls = false;
};
// Nothing, with a German reason in `error`, for an empty field or one that is no host name.
std::optional<SmtpServerAddress> parseSmtpServer(std::string_view field, int defaultPort, std::string* error);

// The settings file: [SMTP] Host, User, Pass, CheckCertificate; [MAIL] From, To, CC.
struct MailSettings {
    std::string host, user, password, from, to, cc;
    bool verifyCertificate = true;
    bool operator==(const MailSettings&) const = default;
};
// Reads the INI text; a missing CheckCertificate key (a file of the earlier program) means "off".
MailSettings parseMailSettings(std::string_view ini);
std::string renderMailSettings(const MailSettings& s);

} // namespace zf
