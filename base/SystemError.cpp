#include "base/SystemError.h"

#include <cerrno>
#include <cstring>

namespace zf {

std::string systemReason(int err) {
    switch (err) {
    case ENOENT:
        return "Datei oder Ordner nicht gefunden";
    case EACCES:
    case EPERM:
        return "keine Berechtigung";
    case ENOSPC:
        return "kein Platz mehr auf dem Datenträger";
#ifdef EDQUOT
    case EDQUOT:
        return "das Speicherkontingent ist erschöpft";
#endif
    case EROFS:
        return "das Dateisystem ist schreibgeschützt";
    case EBUSY:
    case ETXTBSY:
        return "die Datei wird gerade benutzt";
    case EISDIR:
        return "ist ein Ordner";
    case ENOTDIR:
        return "ein Teil des Pfades ist kein Ordner";
    case EFBIG:
        return "die Datei würde zu groß";
    case EIO:
        return "Ein-/Ausgabefehler";
    case ENAMETOOLONG:
        return "der Name ist zu lang";
    default:
        return std::strerror(err);
    }
}

} // namespace zf
