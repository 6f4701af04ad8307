// German descriptions of errno values.
#include "cli/os_error.h"

#include <cerrno>

namespace orv::cli {

std::string os_error(int e) {
    switch (e) {
    case ENOENT: return "nicht gefunden";
    case EACCES:
    case EPERM: return "keine Berechtigung";
    case EISDIR: return "ist ein Verzeichnis";
    case ENOTDIR: return "ein Teil des Pfads ist kein Verzeichnis";
    case ENOSPC: return "kein Platz mehr auf dem Datentraeger";
    case EDQUOT: return "Speicherkontingent erschoepft";
    case EFBIG: return "Datei zu gross";
    case EROFS: return "Dateisystem nur lesbar";
    case EIO: return "Ein-/Ausgabefehler";
    case EBADF: return "nicht geoeffnet";
    case ENAMETOOLONG: return "Name zu lang";
    case EMFILE:
    case ENFILE: return "zu viele offene Dateien";
    case EPIPE: return "Leser beendet";
    default: return "Systemfehler " + std::to_string(e);
    }
}

} // namespace orv::cli
