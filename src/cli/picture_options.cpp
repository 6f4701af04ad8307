// Reading the picture options.
#include "cli/picture_options.h"

#include <cmath>

#include "cli/grid_options.h"
#include "cli/option_values.h"
#include "cli/shared_options.h"
#include "cli/site_options.h"

namespace orv::cli {

namespace {

problem usage(const std::string& text) {
    return {exit_usage, text};
}

// Reads "E0,N0,E1,N1" into b.
maybe_problem read_box(const std::string& text, map::world_box& b) {
    double v[4];
    std::size_t from = 0;
    for (int k = 0; k < 4; ++k) {
        const auto comma = text.find(',', from);
        if ((comma == std::string::npos) != (k == 3))
            return problem{exit_bad_value, "Option --extent: zones, objects oder E0,N0,E1,N1 "
                                           "erwartet: " +
                                               text};
        const std::string part =
            text.substr(from, comma == std::string::npos ? comma : comma - from);
        if (maybe_problem e = read_coordinate(part, "--extent", v[k])) return e;
        from = comma + 1;
    }
    if (!(v[0] < v[2] && v[1] < v[3]))
        return problem{exit_bad_value, "Option --extent: E0 < E1 und N0 < N1 erwartet: " + text};
    b = {v[0], v[1], v[2], v[3]};
    return std::nullopt;
}

} // namespace

void add_picture_options(CLI::App& app, picture_text& t, bool jet) {
    if (jet) {
        app.add_option("--frame", t.frame,
                       "Bezugssystem des Bildes: world (Vorgabe mit --origin: Karte nach "
                       "Norden) oder jet (entlang des Strahls)")
            ->type_name("world|jet");
    }
    app.add_option("--extent", t.extent,
                   "Bildausschnitt: zones (berechnete Flaeche), objects (Vorgabe: dazu die "
                   "Objekte ab Stufe 1) oder Weltkoordinaten")
        ->type_name("zones|objects|E0,N0,E1,N1");
    add_background_options(app, t,
                           "Hintergrund unter den Zonen: ein Raster, das GDAL liest (Byte: 1 Band "
                           "grau oder Palette, 3 RGB, 4 RGBA); braucht --origin");
}

void add_background_options(CLI::App& app, picture_text& t, const char* background_help) {
    app.add_option("--background", t.background, background_help)->type_name("RASTER");
    app.add_option("--opacity", t.opacity,
                   "Deckkraft der Zonen ueber dem Hintergrund, 0 bis 1 (Vorgabe 0.6)")
        ->type_name("X");
}

maybe_problem read_picture(const picture_text& t, bool georef, report::world_request& r,
                           bool& jet_frame) {
    if (t.frame == "jet")
        jet_frame = true;
    else if (t.frame.empty() || t.frame == "world")
        jet_frame = !georef;
    else
        return usage("Option --frame: world oder jet erwartet: " + t.frame);
    if (t.frame == "world" && !georef) return usage("--frame world braucht --origin");
    const bool world_only = !t.background.empty() || !t.extent.empty() || !t.opacity.empty();
    if (world_only && !georef)
        return usage("--background, --extent und --opacity brauchen --origin");
    if (world_only && jet_frame)
        return usage("--background, --extent und --opacity schliessen --frame jet aus");
    if (t.extent == "zones")
        r.extent = report::extent_kind::zones;
    else if (t.extent.empty() || t.extent == "objects")
        r.extent = report::extent_kind::objects;
    else if (maybe_problem e = read_box(t.extent, r.given))
        return e;
    else
        r.extent = report::extent_kind::given;
    if (!t.opacity.empty()) {
        double a = 0;
        if (maybe_problem e = read_finite(t.opacity, "--opacity", a)) return e;
        if (!(a >= 0 && a <= 1))
            return problem{exit_bad_value,
                           "Option --opacity: Wert von 0 bis 1 erwartet: " + t.opacity};
        r.opacity = a;
    }
    r.background = t.background;
    return std::nullopt;
}

void add_object_options(CLI::App& app, objects_text& t) {
    app.add_option("--objects", t.sources,
                   "Objekte aus Vektordaten ueber den Zonen zeichnen, in der Farbe ihrer "
                   "Stufe (wiederholbar; wie bei assess); braucht --origin")
        ->type_name("QUELLE");
    add_layers(app, t.layers);
    add_spacing(app, t.spacing);
    add_label(app, t.label, "Objekte ab Stufe K mit diesem Feld beschriften");
    add_from(app, t.from, "Stufe, ab der beschriftet wird (Vorgabe 1)");
}

maybe_problem read_objects(const objects_text& t, bool georef, assess::request& r) {
    const bool any = !t.layers.empty() || !t.spacing.empty() || !t.label.empty() || !t.from.empty();
    if (t.sources.empty()) {
        if (any) return usage("--layer, --spacing, --label und --from brauchen --objects");
        return std::nullopt;
    }
    if (!georef) return usage("--objects braucht --origin");
    std::optional<double> s;
    if (maybe_problem e = read_size(t.spacing, "--spacing", s)) return e;
    if (s) r.spacing = *s;
    if (maybe_problem e = read_count(t.from, "--from", 1, 3, r.from)) return e;
    r.src.paths = t.sources;
    r.src.layers = t.layers;
    r.label = t.label;
    return std::nullopt;
}

} // namespace orv::cli
