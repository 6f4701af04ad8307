// Registering and reading the breach and object options of assess and report.
#include "cli/object_options.h"

#include <optional>

#include "cli/option_values.h"

namespace orv::cli {

void add_object_options(CLI::App& app, object_text& t, const char* crs_help, bool crs_required) {
    app.add_option("--origin", t.origin, "Bresche in Weltkoordinaten")
        ->type_name("E,N")
        ->required();
    app.add_option("--azimuth", t.azimuth,
                   "Richtung des Strahls in Grad im Uhrzeigersinn von Norden")
        ->type_name("GRAD")
        ->required();
    app.add_option("--crs", t.crs, crs_help)->type_name("EPSG:NNNN")->required(crs_required);
    app.add_option("--layer", t.layers, "nur diese Ebene (wiederholbar)")->type_name("NAME");
    app.add_option("--spacing", t.spacing, "Abstand der Stichproben in m (Vorgabe 1)")
        ->type_name("S");
    app.add_option("--coords", t.coords,
                   "Spalten der Koordinaten in CSV-Quellen (statt einer Spalte WKT)")
        ->type_name("E,N");
    app.add_option("--from", t.from, "Stufe, ab der ein Objekt gefaehrdet ist (Vorgabe 1)")
        ->type_name("K");
}

maybe_problem read_object_options(const object_text& t, assess::request& r) {
    maybe_problem e = read_point(t.origin, "--origin", r.g.e0, r.g.n0);
    if (!e) e = read_finite(t.azimuth, "--azimuth", r.g.azimuth);
    std::optional<double> s;
    if (!e) e = read_size(t.spacing, "--spacing", s);
    if (!e && s) r.spacing = *s;
    if (!e) e = read_count(t.from, "--from", 1, 3, r.from);
    if (!e) e = read_coords(t.coords, r.src.coord_e, r.src.coord_n);
    if (e) return e;
    r.src.paths = t.sources;
    r.src.layers = t.layers;
    r.src.crs = t.crs;
    return std::nullopt;
}

} // namespace orv::cli
