#pragma once
// SMTP: one finished message handed to a server, with TLS (STARTTLS, or implicit TLS from the first
// byte) and AUTH LOGIN when a user is given. The real one sits on libcurl with OpenSSL.
#include <functional>
#include <string>
#include <vector>

namespace zf {

struct SmtpEnvelope {
    std::string host;
    int port = 25;
    bool implicitTls = false;   // TLS from the first byte (smtps, port 465) instead of STARTTLS
    std::string user, password; // no login without a user
    // On: the server's certificate must be valid, and nothing (no password, no message) goes without TLS.
    // Off: a server that offers no STARTTLS gets the conversation unencrypted.
    bool verifyCertificate = true;
    std::string from;                    // one checked address (no control characters, no "<>")
    std::vector<std::string> recipients; // To, CC and BCC addresses, each checked like `from`
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
