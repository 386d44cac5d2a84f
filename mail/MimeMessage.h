#pragma once
// The message of the mail dialog as the server gets it: headers, then "multipart/mixed" when the
// attachment list has a line, otherwise "multipart/alternative"; UTF-8 text parts in 8bit;
// attachments in base64, typed by their extension.
#include <optional>
#include <string>

#include "mail/MailDraft.h"
#include "platform/MailTransport.h"

namespace zf {

struct BuiltMessage {
    SmtpEnvelope envelope;
    std::string text;  // the message, CR LF lines
    std::string error; // German: an attachment that exists but cannot be read; then nothing is sent
};

// `date` is the Date header's text (RFC 5322); `boundary` makes the part boundaries unique.
BuiltMessage buildMessage(const MailDraft& draft, const std::string& date, const std::string& boundary);

// "=?UTF-8?B?...?=" for a header text that is not plain ASCII, the text itself otherwise.
std::string encodedHeaderText(const std::string& text);
std::string base64(const std::string& bytes);

} // namespace zf
