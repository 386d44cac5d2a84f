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
