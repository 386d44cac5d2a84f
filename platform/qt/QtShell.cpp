#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace zf {

bool QtShell::open(const std::string& target, const std::string& parameters) {
    const QString t = QString::fromStdString(target);
    const QFileInfo info(t);
    if (info.isFile() && info.isExecutable() && !parameters.empty())
        return QProcess::startDetached(t, QProcess::splitCommand(QString::fromStdString(parameters)));
    const QUrl url = info.exists() ? QUrl::fromLocalFile(info.absoluteFilePath()) : QUrl::fromUserInput(t);
    return QDesktopServices::openUrl(url);
}

} // namespace zf
