// The two help pages and the pause between them.
#include "consoleio/read.h"
#include "consoleio/write.h"
#include "dialogue/dialogue.h"

namespace orv {
namespace {

// Help text of one page; an empty entry is an empty line.
constexpr const char* page1[] = {
    nullptr,
    "----------------- Hilfetext -------------------------",
    "ORVALIS 2D berechnet die Abflussintensitaeten, welche",
    "beim Abfluss aus einer Bresche,  beispielsweise  nach",
    "einem Dammbruch, auftreten. Das verwendete  Verfahren",
    "ist im Detail beschrieben in: \"Flaechige  Ausbreitung",
    "von Breschenabfluessen auf geneigten Ebenen und  ihre",
    "Intensitaeten\", Studie im Auftrag der Fachstelle fuer",
    "Wasserbau im Land Muster, 2015.",
    nullptr,
    "Das Verfahren  eignet sich zur  Beschreibung von  Ab-",
    "fluessen,  welche seitlich nicht begrenzt werden (Ab-",
    "fluss auf einer offenen, geneigten Flaeche). Die Aus-",
    "breitung ist zweidimensional und achsensymmetrisch.",
};

constexpr const char* page2[] = {
    "Die freien Parameter sind:",
    " (1) Stauhoehe H[m]  (2) Breschenbreite B[m]",
    " (3) Speichervolumen Vol[m3]  (4) Sohlengefaelle S[%]",
    " (5) Korndurchmesser D[m] als Rauhigkeitsmass",
    nullptr,
    "Der Standort wird beschrieben durch:",
    " (6) Abstand von der Bresche x[m]",
    " (7) Abstand von der Mitte des Strahles y[m]",
    nullptr,
    "Berechnet werden:",
    " (8) spezifischer Abfluss q[m2/s] (= v*h)",
    " (9) Fliessgeschwindigkeit v[m/s]",
    "(10) Abflusstiefe h[m]",
    "(11) Energiehoehe he[m] (= h + v*v/2g)",
    nullptr,
    "(c) Projekt ORVALIS, Musterweg 1, 12345 Muster",
    "Letzte Revision 12-2015  http://orv.example.org",
    "-----------------------------------------------------",
};

// Writes each line of a page by its own list-directed statement.
template <std::size_t n> void page(const char* const (&lines)[n], int line) {
    for (const char* s : lines) {
        if (s == nullptr)
            write_list({line, 6});
        else
            write_list({line, 6}, {s});
    }
}

} // namespace

void help_pages() {
    page(page1, 126);
    read_list({141, 5});
    page(page2, 142);
}

} // namespace orv
