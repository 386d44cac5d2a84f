#include "platform/qt/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace zf {

std::string programDirectory() { return QCoreApplication::applicationDirPath().toStdString(); }

std::string userDataDirectory() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dir.isEmpty()) dir = QDir::homePath() + "/.local/share";
    dir += "/Zahlfuchs";
    QDir().mkpath(dir);
    return dir.toStdString();
}

std::string defaultSettingsPath() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (dir.isEmpty()) dir = QDir::homePath() + "/.config";
    return (dir + "/Zahlfuchs/Keno.reg").toStdString();
}

} // namespace zf
