#pragma once
// HTTP GET with Qt Network: one access manager with a cookie jar for the whole program, redirects
// followed when they are not less safe, an explicit proxy or none, and a deadline for every request.
// While a request runs, a local event loop keeps the window usable.
#include <QPointer>

#include <memory>

#include "core/ports/HttpClient.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace zf {

class QtHttpClient : public HttpClient {
public:
    QtHttpClient(); // needs a QCoreApplication
    ~QtHttpClient() override;
    HttpResponse get(const HttpRequest& request) override;
    void cancel() override;

private:
    std::unique_ptr<QNetworkAccessManager> manager_;
    QPointer<QNetworkReply> waiting_; // the request get() waits for
    bool cancelled_ = false;
};

} // namespace zf
