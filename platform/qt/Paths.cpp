#include "platform/qt/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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

std::string localHelpPage() {
    const QDir program(QCoreApplication::applicationDirPath());
    for (const char* candidate : {"../share/doc/zahlfuchs/README.md", "../README.md"}) {
        const QFileInfo file(program.filePath(candidate));
        if (file.isFile()) return file.canonicalFilePath().toStdString();
    }
    return {};
}

std::string defaultSettingsPath() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (dir.isEmpty()) dir = QDir::homePath() + "/.config";
    return (dir + "/Zahlfuchs/Keno.reg").toStdString();
}

} // namespace zf
