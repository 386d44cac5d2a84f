#pragma once
// The message of the mail dialog as the server gets it: headers, then "multipart/mixed" when the
// attachment list has a line, otherwise "multipart/alternative"; UTF-8 text parts in 8bit;
// attachments in base64, typed by their extension.
#include <optional>
#include <string>

#include "core/mail/MailDraft.h"
#include "core/ports/MailTransport.h"

namespace zf {

struct BuiltMessage {
    SmtpEnvelope envelope;
    std::string text; // the message, CR LF lines
    // German, and then nothing is to be sent: an address that is not one address, a server field that
    // names no server, an attachment that exists but cannot be read.
    std::string error;
};

// `date` is the Date header's text (RFC 5322); `boundary` makes the part boundaries unique (a
// suffix is added when a body holds it). Names and the subject are one line each (a control
// character becomes a blank) and reach the header only as printable ASCII or as encoded words: no
// value of the draft can end a header line or add one.
BuiltMessage buildMessage(const MailDraft& draft, const std::string& date, const std::string& boundary);

// A header text as one line: itself when it is short printable ASCII, otherwise RFC 2047 encoded
// words ("=?UTF-8?B?...?="), folded onto continuation lines.
std::string encodedHeaderText(const std::string& text);
std::string base64(const std::string& bytes);

} // namespace zf
