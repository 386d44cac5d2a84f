#include "platform/qt/QtDdeClient.h"

#include <QLocalSocket>

namespace zf {

bool QtDdeClient::execute(const std::string& service, const std::string& topic, const std::string& command) {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(prefix_ + socketName(service, topic)), QIODevice::WriteOnly);
    if (!socket.waitForConnected(timeoutMs_)) return false; // no conversation: Klicker is not running
    const QByteArray bytes(command.data(), static_cast<qsizetype>(command.size()));
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = socket.write(bytes.constData() + written, bytes.size() - written);
        if (n < 0) return false;
        written += n;
        if (socket.bytesToWrite() > 0 && !socket.waitForBytesWritten(timeoutMs_)) return false;
    }
    socket.flush();
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs_);
    return true;
}

} // namespace zf
