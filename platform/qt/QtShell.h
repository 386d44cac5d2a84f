#pragma once
#include <QStringList>

#include "core/ports/Seams.h"

namespace zf {

// Opens files and addresses with the desktop's handler, programs with their parameters.
class QtShell : public Shell {
public:
    bool open(const std::string& target, const std::string& parameters = {}) override;
    // A parameter line as a program gets it: words split at blanks outside double quotes; three
    // double quotes in a row stand for one literal quote. Unlike QProcess::splitCommand, an empty
    // quoted argument ("") stays an argument, so the ones after it keep their places.
    static QStringList splitParameters(const QString& line);
};

} // namespace zf
