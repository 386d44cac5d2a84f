#include "platform/curl/CurlMailTransport.h"

#include <curl/curl.h>

#include <cstring>
#include <mutex>

#include "core/mail/MailDraft.h"
#include "core/mail/MimeMessage.h"

namespace zf {

namespace {

std::once_flag curlInit;

struct Upload {
    const std::string* data;
    size_t done = 0;
};

size_t readMessage(char* buffer, size_t size, size_t count, void* user) {
    auto* u = static_cast<Upload*>(user);
    const size_t n = std::min(size * count, u->data->size() - u->done);
    std::memcpy(buffer, u->data->data() + u->done, n);
    u->done += n;
    return n;
}

struct Conversation {
    const std::function<void(const std::string&)>* status;
    std::vector<std::string> secrets; // never shown in a status line
    std::string lastCommand;
    std::vector<std::string> refused;
    bool connected = false;
    bool offersStartTls = false; // the greeting's EHLO answer lists STARTTLS

    std::string clean(std::string line) const {
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        for (const auto& s : secrets)
            for (size_t p; !s.empty() && (p = line.find(s)) != std::string::npos;) line.replace(p, s.size(), "***");
        return line;
    }
};

int debug(CURL*, curl_infotype type, char* data, size_t size, void* user) {
    auto* c = static_cast<Conversation*>(user);
    const std::string text(data, size);
    switch (type) {
    case CURLINFO_TEXT:
        // The library's own notes, without the TLS handshake's single steps and certificate details.
        if (text.rfind("Connected to", 0) == 0) c->connected = true;
        if (text.rfind("TLS", 0) == 0 || text.rfind("old SSL", 0) == 0 || text.empty() || text[0] == ' ') break;
        if (*c->status) (*c->status)(c->clean(text));
        break;
    case CURLINFO_HEADER_OUT:
        // The client's commands: only their verb is kept, as AUTH carries the encoded credentials.
        c->lastCommand = text.substr(0, text.find_first_of(" :\r\n"));
        break;
    case CURLINFO_HEADER_IN: {
        c->connected = true;
        const std::string line = c->clean(text);
        if (*c->status) (*c->status)(line);
        if (c->lastCommand == "EHLO" && line.find("STARTTLS") != std::string::npos) c->offersStartTls = true;
        if (c->lastCommand == "RCPT" && !line.empty() && (line[0] == '4' || line[0] == '5')) c->refused.push_back(line);
        break;
    }
    default:
        break;
    }
    return 0;
}

std::string curlError(CURLcode code, const char* detail) {
    std::string why = detail && *detail ? detail : curl_easy_strerror(code);
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return "Der SMTP-Server wurde nicht gefunden (" + why + ").";
    case CURLE_COULDNT_CONNECT:
        return "Keine Verbindung zum SMTP-Server (" + why + ").";
    case CURLE_USE_SSL_FAILED:
        return "Der SMTP-Server lehnt die verschlüsselte Verbindung ab (" + why + ").";
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
        return "Die verschlüsselte Verbindung zum SMTP-Server kam nicht zustande (" + why + ").";
    case CURLE_LOGIN_DENIED:
        return "Der SMTP-Server hat die Anmeldung abgelehnt (" + why + ").";
    case CURLE_OPERATION_TIMEDOUT:
        return "Der SMTP-Server antwortet nicht mehr (" + why + ").";
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
        return "Der SMTP-Server hat die Verbindung beendet (" + why + ").";
    default:
        return "Die Email konnte nicht gesendet werden (" + why + ").";
    }
}

} // namespace

CurlMailTransport::CurlMailTransport() {
    std::call_once(curlInit, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}
CurlMailTransport::~CurlMailTransport() = default;

namespace {

// One conversation. `useSsl`: CURLUSESSL_ALL demands TLS before anything else, so a missing or refused
// STARTTLS or a failed handshake ends it before the login; CURLUSESSL_NONE for a server that does not
// offer STARTTLS.
CURLcode converse(const SmtpEnvelope& e, const std::string& message, long useSsl, int timeoutSeconds,
                  const std::string& caFile, Conversation& c, std::string& error) {
    CURL* curl = curl_easy_init();
    if (!curl) {
        error = "Die Email-Bibliothek konnte nicht gestartet werden.";
        return CURLE_FAILED_INIT;
    }
    Upload upload{&message};
    char errorText[CURL_ERROR_SIZE] = {};
    const std::string url = (e.implicitTls ? "smtps://" : "smtp://") + e.host + ":" + std::to_string(e.port);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(curl, CURLOPT_USE_SSL, useSsl);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, e.verifyCertificate ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, e.verifyCertificate ? 2L : 0L);
    if (!caFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.c_str());
    if (!e.user.empty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, e.user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, e.password.c_str());
        curl_easy_setopt(curl, CURLOPT_LOGIN_OPTIONS, "AUTH=LOGIN");
    }
    const std::string from = "<" + e.from + ">";
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.c_str());
    curl_slist* rcpt = nullptr;
    for (const auto& a : e.recipients) rcpt = curl_slist_append(rcpt, ("<" + a + ">").c_str());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, rcpt);
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT_ALLLOWFAILS, 1L);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, readMessage);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(message.size()));
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, debug);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &c);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>(timeoutSeconds));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    const CURLcode code = curl_easy_perform(curl);
    if (code != CURLE_OK) error = c.clean(curlError(code, errorText));
    curl_slist_free_all(rcpt);
    curl_easy_cleanup(curl);
    return code;
}

} // namespace

SmtpResult CurlMailTransport::send(const SmtpEnvelope& e, const std::string& message,
                                   const std::function<void(const std::string&)>& status) {
    SmtpResult r;
    // Only a checked address may stand in MAIL FROM and RCPT TO: the library puts it into the command
    // line as it is.
    bool addressesOk = isMailAddress(e.from);
    for (const auto& a : e.recipients) addressesOk = addressesOk && isMailAddress(a);
    if (!addressesOk) {
        r.error = "Eine Email-Adresse ist ungültig; die Email wurde nicht gesendet.";
        return r;
    }
    Conversation c{&status, {}, {}, {}, false, false};
    if (!e.password.empty()) {
        c.secrets.push_back(e.password);
        c.secrets.push_back(base64(e.password));
    }
    CURLcode code = converse(e, message, static_cast<long>(CURLUSESSL_ALL), timeoutSeconds, caFile, c, r.error);
    if (code == CURLE_USE_SSL_FAILED && c.connected && !c.offersStartTls && !e.implicitTls) {
        if (e.verifyCertificate) {
            // "Zertifikat prüfen" promises a checked, encrypted connection: without STARTTLS (a server
            // without it, or a network that strips it from the greeting) nothing is sent, no login made.
            r.error = "Der SMTP-Server bietet keine verschlüsselte Verbindung (STARTTLS) an. Mit \"Zertifikat "
                      "prüfen\" werden Passwort und Email nicht unverschlüsselt gesendet; die Email wurde nicht "
                      "gesendet.";
        } else {
            // The user switched the check off: the mail goes unencrypted, as the user's server wants it.
            if (status) status("Der Server bietet kein STARTTLS an; die Email wird unverschlüsselt gesendet.");
            c.lastCommand.clear();
            r.error.clear();
            code = converse(e, message, static_cast<long>(CURLUSESSL_NONE), timeoutSeconds, caFile, c, r.error);
        }
    }
    r.connected = c.connected;
    r.refused = c.refused;
    r.sent = code == CURLE_OK;
    return r;
}

} // namespace zf
