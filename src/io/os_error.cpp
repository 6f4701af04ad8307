// The one table of errno values in German.
#include "io/os_error.h"

#include <cerrno>

namespace orv::io {

std::string os_error(int e) {
    switch (e) {
    case ENOENT: return "Datei oder Verzeichnis nicht vorhanden";
    case EACCES:
    case EPERM: return "keine Berechtigung";
    case ENOSPC: return "kein Platz mehr auf dem Datentraeger";
    case EDQUOT: return "Speicherkontingent erschoepft";
    case EROFS: return "Dateisystem nur lesbar";
    case EISDIR: return "ist ein Verzeichnis";
    case ENOTDIR: return "ein Teil des Pfades ist kein Verzeichnis";
    case ENAMETOOLONG: return "Name zu lang";
    case ENOTEMPTY: return "Verzeichnis nicht leer";
    case EEXIST: return "besteht schon";
    case EXDEV: return "liegt auf einem anderen Dateisystem";
    case EFBIG: return "Datei zu gross";
    case EIO: return "Ein-/Ausgabefehler";
    default: return "Systemfehler " + std::to_string(e);
    }
}

} // namespace orv::io
