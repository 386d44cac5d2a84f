#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace zf {

QStringList QtShell::splitParameters(const QString& line) {
    QStringList args;
    QString word;
    bool inWord = false, inQuote = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == u'"') {
            if (line.mid(i, 3) == QStringLiteral("\"\"\"")) {
                word += u'"';
                i += 2;
            } else {
                inQuote = !inQuote;
            }
            inWord = true;
        } else if (c.isSpace() && !inQuote) {
            if (inWord) args << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) args << word;
    return args;
}

bool QtShell::open(const std::string& target, const std::string& parameters) {
    const QString t = QString::fromStdString(target);
    const QFileInfo info(t);
    if (info.isFile() && info.isExecutable() && !parameters.empty())
        return QProcess::startDetached(t, splitParameters(QString::fromStdString(parameters)));
    const QUrl url = info.exists() ? QUrl::fromLocalFile(info.absoluteFilePath()) : QUrl::fromUserInput(t);
    return QDesktopServices::openUrl(url);
}

} // namespace zf
