#pragma once
// SMTP: one finished message handed to a server, with explicit TLS (STARTTLS when the server offers
// it) and AUTH LOGIN when a user is given. The real one sits on libcurl with OpenSSL.
#include <functional>
#include <string>
#include <vector>

namespace zf {

struct SmtpEnvelope {
    std::string host;
    int port = 25;
    std::string user, password; // no login without a user
    bool verifyCertificate = true;
    std::string from;
    std::vector<std::string> recipients; // To, CC and BCC addresses
};

struct SmtpResult {
    bool connected = false;           // a connection to the server was made
    bool sent = false;                // the server took the message
    std::string error;                // German or the server's reply, when not sent
    std::vector<std::string> refused; // the server's replies to recipients it refused
};

class MailTransport {
public:
    virtual ~MailTransport() = default;
    // Sends `message` (headers and body, CR LF lines). `status` gets each step as a line of text (the
    // server's replies, never a password); it is called on the thread that calls send().
    virtual SmtpResult send(const SmtpEnvelope& envelope, const std::string& message,
                            const std::function<void(const std::string&)>& status) = 0;
};

} // namespace zf
