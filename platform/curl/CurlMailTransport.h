#pragma once
// The SMTP transport on libcurl with OpenSSL: port and host from the envelope, STARTTLS when the
// server offers it, AUTH LOGIN when a user is given, recipients the server refuses reported while the
// others are still served.
#include "platform/MailTransport.h"

namespace zf {

class CurlMailTransport : public MailTransport {
public:
    CurlMailTransport();
    ~CurlMailTransport() override;
    SmtpResult send(const SmtpEnvelope& envelope, const std::string& message,
                    const std::function<void(const std::string&)>& status) override;
    int timeoutSeconds = 60; // a server that stops answering
};

} // namespace zf
