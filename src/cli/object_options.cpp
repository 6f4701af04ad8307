// Registering and reading the breach and object options of map, assess and report.
#include "cli/object_options.h"

#include <optional>

#include "cli/option_values.h"
#include "cli/shared_options.h"
#include "geo/crs.h"
#include "raster/raster.h"

namespace orv::cli {

void add_frame_options(CLI::App& app, frame_text& t, const frame_use& u) {
    CLI::Option* origin = app.add_option("--origin", t.origin, u.origin_help)->type_name("E,N");
    CLI::Option* azimuth =
        app.add_option("--azimuth", t.azimuth,
                       "Richtung des Strahls in Grad im Uhrzeigersinn von Norden")
            ->type_name("GRAD");
    CLI::Option* crs = app.add_option("--crs", t.crs, u.crs_help)->type_name("EPSG:NNNN");
    if (u.required) {
        origin->required();
        azimuth->required();
        crs->required(u.crs_required);
        return;
    }
    // Optional, but never one without the others.
    azimuth->needs(origin);
    crs->needs(origin);
    origin->needs(azimuth)->needs(crs);
}

maybe_problem read_frame(const frame_text& t, map::georef& g) {
    maybe_problem e = read_point(t.origin, "--origin", g.e0, g.n0);
    if (!e) e = read_finite(t.azimuth, "--azimuth", g.azimuth);
    return e;
}

maybe_problem read_crs(const std::string& text, OGRSpatialReference& srs, std::string& wkt) {
    std::string why;
    if (!geo::read_crs(text, srs, why)) return problem{exit_bad_value, why};
    if (!raster::crs_wkt(srs, wkt, why))
        return problem{exit_bad_value, "Option --crs: " + why + ": " + text};
    return std::nullopt;
}

void add_object_options(CLI::App& app, object_text& t, const char* crs_help, bool crs_required) {
    add_frame_options(app, t.frame, {"Bresche in Weltkoordinaten", crs_help, true, crs_required});
    add_layers(app, t.layers, "nur diese Ebene (wiederholbar)");
    add_spacing(app, t.spacing);
    app.add_option("--coords", t.coords,
                   "Spalten der Koordinaten in CSV-Quellen (statt einer Spalte WKT)")
        ->type_name("E,N");
    add_from(app, t.from);
}

maybe_problem read_object_options(const object_text& t, assess::request& r) {
    maybe_problem e = read_frame(t.frame, r.g);
    std::optional<double> s;
    if (!e) e = read_size(t.spacing, "--spacing", s);
    if (!e && s) r.spacing = *s;
    if (!e) e = read_count(t.from, "--from", 1, 3, r.from);
    if (!e) e = read_coords(t.coords, r.src.coord_e, r.src.coord_n);
    if (e) return e;
    r.src.paths = t.sources;
    r.src.layers = t.layers;
    r.src.crs = t.frame.crs;
    return std::nullopt;
}

} // namespace orv::cli
