// The one table of errno values in German.
#include "io/os_error.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace orv::io {

namespace {

// The German words for errno values whose meaning does not depend on
// whether a file was read or written; null for one the table does not know.
const char* common_text(int e) {
    switch (e) {
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
    case ELOOP: return "zu viele symbolische Verknuepfungen im Pfad (Schleife?)";
    case EMFILE: return "zu viele offene Dateien in diesem Prozess";
    case ENFILE: return "zu viele offene Dateien im System";
    case EBUSY: return "Datei oder Geraet belegt";
    case ETXTBSY: return "Programmdatei wird gerade ausgefuehrt";
    case EMLINK: return "zu viele Verknuepfungen";
    case ENOMEM: return "kein Speicher mehr frei";
    case EAGAIN: return "voruebergehend nicht verfuegbar, spaeter nochmals versuchen";
    case EINTR: return "durch ein Signal unterbrochen";
    case EINVAL: return "ungueltiges Argument";
    case EBADF: return "ungueltiger Dateideskriptor";
    case EPIPE: return "Leitung geschlossen (Empfaenger beendet)";
    case ESPIPE: return "nicht positionierbar (Leitung oder Geraet)";
    case ENXIO: return "Geraet oder Adresse nicht vorhanden";
    case ENODEV: return "kein passendes Geraet";
    case EOVERFLOW: return "Wert zu gross fuer den Datentyp (Datei zu gross?)";
    case ENOTSUP: return "vom Dateisystem nicht unterstuetzt";
    case ENOSYS: return "vom System nicht unterstuetzt";
    case ENOLCK: return "keine Dateisperre verfuegbar";
    case ESTALE: return "Netzwerkdatei nicht mehr gueltig";
    case ETIMEDOUT: return "Zeitueberschreitung";
    case EDEADLK: return "Verklemmung beim Sperren vermieden";
    case ENOTCONN: return "keine Verbindung";
    case ECONNREFUSED: return "Verbindung abgelehnt";
    case EHOSTUNREACH: return "Rechner nicht erreichbar";
    case ENETDOWN: return "Netz nicht verfuegbar";
    case ENETUNREACH: return "Netz nicht erreichbar";
    case ECONNRESET: return "Verbindung zurueckgesetzt";
    case ECANCELED: return "abgebrochen";
    case ENOEXEC: return "kein ausfuehrbares Format";
    case E2BIG: return "Argumentliste zu lang";
    case ERANGE: return "Ergebnis ausserhalb des Wertebereichs";
    case ENOTTY: return "kein Terminal";
    case EILSEQ: return "ungueltige Zeichenfolge";
    }
    return nullptr;
}

} // namespace

std::string os_error(int e) {
    switch (e) {
    case ENOENT: return "Datei oder Verzeichnis nicht vorhanden";
    case EACCES:
    case EPERM: return "keine Berechtigung";
    }
    if (const char* t = common_text(e)) return t;
    return "unbekannter Fehler des Betriebssystems (Nummer " + std::to_string(e) + ")";
}

std::string os_error(int e, use a) {
    if (e == EACCES || e == EPERM)
        return a == use::read ? "keine Leserechte" : "keine Schreibrechte";
    // ENOENT while creating a file: the file is not there yet by design, a
    // folder of its path is missing.
    if (e == ENOENT && a == use::write) return "Verzeichnis des Pfades nicht vorhanden";
    return os_error(e);
}

std::string read_problem(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return os_error(errno, use::read);
    ::close(fd);
    return "";
}

} // namespace orv::io
