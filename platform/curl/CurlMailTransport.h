#pragma once
// The SMTP transport on libcurl with OpenSSL: port and host from the envelope, implicit TLS or
// STARTTLS (demanded when the certificate is checked, used when offered otherwise), AUTH LOGIN when a
// user is given, recipients the server refuses reported while the others are still served.
#include <string>

#include "core/ports/MailTransport.h"

namespace zf {

class CurlMailTransport : public MailTransport {
public:
    CurlMailTransport();
    ~CurlMailTransport() override;
    SmtpResult send(const SmtpEnvelope& envelope, const std::string& message,
                    const std::function<void(const std::string&)>& status) override;
    int timeoutSeconds = 60; // a server that stops answering
    std::string caFile;      // certificate authorities to trust instead of the system's (empty: the system's)
};

} // namespace zf
