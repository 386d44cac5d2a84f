#pragma once
// HTTP GET as the program needs it: the draw download, the cart template, the script update.
// The call blocks its caller until the answer, an error or the timeout; the implementation keeps the
// window usable meanwhile.
#include <cstddef>
#include <string>

namespace zf {

struct HttpRequest {
    std::string url;
    std::string userAgent = "Tippwerk";
    std::string accept = "text/html, */*";
    std::string proxyHost; // empty: no proxy, not even one from the environment
    int proxyPort = 80;
    int timeoutMs = 20000;   // for the whole request, answer included
    size_t maxBodyBytes = 0; // 0: no limit; a longer body ends the request as an error
};

struct HttpResponse {
    int status = 0;           // HTTP status code; 0 when no answer arrived
    std::string statusText;   // reason phrase, or a German description of what went wrong
    std::string body;         // also the body of an error status
    std::string lastModified; // the Last-Modified header as sent, or empty
    // The transfer failed: no connection, timeout, aborted, body over the limit. A complete answer
    // with an error status (404, 500) is no error in this sense.
    bool error = false;
};

class HttpClient {
public:
    virtual ~HttpClient() = default;
    virtual HttpResponse get(const HttpRequest& request) = 0;
    // Ends the request now waiting at once (the user's stop); it returns as an error. Called from
    // the window's events while get() waits.
    virtual void cancel() {}
};

} // namespace zf
