#include "platform/qt/QtHttpClient.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace zf {
namespace {

std::string germanError(QNetworkReply::NetworkError e, const QString& qtText) {
    switch (e) {
    case QNetworkReply::ConnectionRefusedError:
        return "Verbindung abgelehnt";
    case QNetworkReply::RemoteHostClosedError:
        return "Verbindung vom Server beendet";
    case QNetworkReply::HostNotFoundError:
        return "Server nicht gefunden";
    case QNetworkReply::TimeoutError:
        return "Zeitüberschreitung";
    case QNetworkReply::SslHandshakeFailedError:
        return "Sichere Verbindung fehlgeschlagen";
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
        return "Netzwerk nicht verfügbar";
    case QNetworkReply::ProxyConnectionRefusedError:
        return "Proxy-Server lehnt die Verbindung ab";
    case QNetworkReply::ProxyConnectionClosedError:
        return "Verbindung vom Proxy-Server beendet";
    case QNetworkReply::ProxyNotFoundError:
        return "Proxy-Server nicht gefunden";
    case QNetworkReply::ProxyTimeoutError:
        return "Zeitüberschreitung beim Proxy-Server";
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return "Proxy-Server verlangt eine Anmeldung";
    case QNetworkReply::TooManyRedirectsError:
        return "Zu viele Weiterleitungen";
    case QNetworkReply::InsecureRedirectError:
        return "Weiterleitung auf eine unsichere Adresse";
    case QNetworkReply::ProtocolUnknownError:
        return "Unbekanntes Protokoll";
    default:
        return "Netzwerkfehler: " + qtText.toStdString();
    }
}

// "20" or "0,3": seconds with a decimal comma, tenths only where there are any.
std::string seconds(int ms) {
    std::string s = std::to_string(ms / 1000);
    if (ms % 1000 >= 100) s += "," + std::to_string(ms % 1000 / 100);
    return s;
}

} // namespace

QtHttpClient::QtHttpClient() : manager_(std::make_unique<QNetworkAccessManager>()) {
    manager_->setCookieJar(new QNetworkCookieJar(manager_.get()));
}

QtHttpClient::~QtHttpClient() = default;

void QtHttpClient::cancel() {
    if (!waiting_) return;
    cancelled_ = true;
    waiting_->abort();
}

HttpResponse QtHttpClient::get(const HttpRequest& r) {
    HttpResponse out;
    const QUrl url(QString::fromStdString(r.url), QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != "http" && url.scheme() != "https") || url.host().isEmpty()) {
        out.error = true;
        out.statusText = "Ungültige Adresse: " + r.url;
        return out;
    }
    // Qt would otherwise take a proxy from http_proxy: only the one the user set counts.
    if (r.proxyHost.empty())
        manager_->setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    else
        manager_->setProxy(QNetworkProxy(QNetworkProxy::HttpProxy, QString::fromStdString(r.proxyHost),
                                         static_cast<quint16>(r.proxyPort)));

    QNetworkRequest req(url);
    req.setHeader(QNetworkRequest::UserAgentHeader, QString::fromStdString(r.userAgent));
    req.setRawHeader("Accept", QByteArray::fromStdString(r.accept));
    req.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    req.setMaximumRedirectsAllowed(10);
    const int timeout = r.timeoutMs > 0 ? r.timeoutMs : 20000;
    req.setTransferTimeout(timeout);

    QNetworkReply* reply = manager_->get(req);
    waiting_ = reply;
    cancelled_ = false;
    QByteArray body;
    bool tooLarge = false;
    bool timedOut = false;
    const qint64 limit = static_cast<qint64>(r.maxBodyBytes);
    auto overLimit = [&](qint64 size) { return limit > 0 && size > limit; };

    QEventLoop loop;
    // The transfer timeout only counts silence; a server that trickles bytes needs a deadline too.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && overLimit(length.toLongLong())) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
        if (tooLarge) return;
        body += reply->readAll();
        if (overLimit(body.size())) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(timeout);
    if (!reply->isFinished()) loop.exec();
    bool cancelled = false;
    if (!reply->isFinished()) {
        // The application is quitting and has ended every event loop.
        cancelled = true;
        reply->abort();
    }
    deadline.stop();
    waiting_ = nullptr;
    if (!tooLarge && reply->isOpen()) body += reply->readAll();

    out.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    out.statusText = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().toStdString();
    out.lastModified = reply->rawHeader("Last-Modified").toStdString();
    const QNetworkReply::NetworkError e = reply->error();
    if (cancelled_) {
        out.error = true;
        out.statusText = "abgebrochen";
    } else if (tooLarge) {
        out.error = true;
        out.statusText = "Antwort zu groß (mehr als " + std::to_string(r.maxBodyBytes) + " Bytes)";
    } else if (timedOut || (e == QNetworkReply::OperationCanceledError && !cancelled)) {
        out.error = true;
        out.statusText = "Zeitüberschreitung nach " + seconds(timeout) + " s";
    } else if (cancelled) {
        out.error = true;
        out.statusText = "Abgebrochen";
    } else if (out.status == 0 || (e != QNetworkReply::NoError && e < QNetworkReply::ContentAccessDenied)) {
        // No answer at all, or the connection broke off in the middle of one.
        out.error = true;
        out.statusText = germanError(e, reply->errorString());
    }
    out.body = body.toStdString();
    delete reply;
    return out;
}

} // namespace zf
