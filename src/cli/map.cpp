// orvalis map: the danger map below a breach as summary, picture and raster.
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/number_text.h"
#include "cli/command.h"
#include "cli/german.h"
#include "cli/grid_options.h"
#include "cli/object_options.h"
#include "cli/option_values.h"
#include "cli/picture_options.h"
#include "cli/shared_options.h"
#include "cli/site_options.h"
#include "draw/canvas.h"
#include "draw/map_picture.h"
#include "draw/style.h"
#include "geo/area.h"
#include "geo/dataset_files.h"
#include "io/guard.h"
#include "io/output.h"
#include "io/path.h"
#include "map/extent.h"
#include "map/frame.h"
#include "map/image.h"
#include "map/run.h"
#include "map/summary.h"
#include "raster/background.h"
#include "raster/level_raster.h"
#include "raster/raster.h"
#include "report/line_pieces.h"
#include "report/objects.h"
#include "report/world_picture.h"
#include "vector/map_files.h"
#include "vector/zones.h"

namespace orv::cli {

namespace {

struct map_opts {
    site_text site;
    picture_text pic;
    objects_text objs;
    frame_text frame;
    std::string levels, x, y, cell, out, show, width, height, raster, threads;
    std::string level_raster, zones;
    bool correct = false;
    bool json = false;

    // The level raster and the zones are written from the class band.
    bool classes() const { return !level_raster.empty() || !zones.empty(); }
    // The raster, the level raster and the zones share one frame.
    bool framed() const { return !raster.empty() || classes(); }
};

// Everything read from the options, ready to run.
struct map_plan {
    params p;
    real given_slope = 0;
    std::string slope_note;
    levels lv;
    map::map_grid grid;
    std::optional<draw::picture_format> format;
    int width = 0, height = 0;
    map::quantity shown = map::quantity::levels;
    std::string driver, level_driver, zone_driver;
    bool georef = false;
    map::georef g;
    std::string wkt;
    unsigned threads = 0;
    report::world_request world;
    bool jet_frame = true;
    assess::request objects;
    std::optional<map::range> xr, yr;
    std::optional<double> cell;
};

// A problem "Option NAME: WHY: TEXT" with status 2, for option values that
// the command line cannot take at all.
problem usage(const char* name, const std::string& why, const std::string& text) {
    return {exit_usage, std::string("Option ") + name + ": " + why + ": " + text};
}

// The quantity named by --show.
maybe_problem read_show(const std::string& text, map::quantity& q) {
    if (text.empty()) return std::nullopt;
    if (text == "q")
        q = map::quantity::q;
    else if (text == "v")
        q = map::quantity::v;
    else if (text == "h")
        q = map::quantity::h;
    else if (text == "he")
        q = map::quantity::he;
    else
        return usage("--show", "q, v, h oder he erwartet", text);
    return std::nullopt;
}

// The driver for an output file at path, chosen by pick; a usage error
// names the option when there is none.
maybe_problem read_driver(const std::string& path, const char* name,
                          std::string (*pick)(const std::string&, std::string&),
                          std::string& driver) {
    if (path.empty()) return std::nullopt;
    std::string why;
    driver = pick(path, why);
    if (driver.empty()) return usage(name, why, path);
    return std::nullopt;
}

// The level raster's style and the zones' (outside a GeoPackage) lie beside
// them as NAME.qml: two outputs of one name would share it.
maybe_problem check_styles(const map_opts& op, const map_plan& m) {
    if (op.level_raster.empty() || op.zones.empty() || m.zone_driver == "GPKG") return std::nullopt;
    const std::string qml = io::with_extension(op.level_raster, "qml");
    if (qml != io::with_extension(op.zones, "qml")) return std::nullopt;
    return problem{exit_usage, "--level-raster " + op.level_raster + " und --zones " + op.zones +
                                   ": beide legen ihren Stil in " + qml + "; andere Namen waehlen"};
}

// The formats and drivers of the outputs and what needs -o (usage errors, status 2).
maybe_problem read_outputs(const map_opts& op, map_plan& m) {
    if (!op.out.empty()) {
        m.format = draw::format_of(op.out);
        if (!m.format) return usage("-o", "Endung .png, .svg oder .pdf erwartet", op.out);
    }
    maybe_problem e = read_show(op.show, m.shown);
    m.georef = !op.frame.origin.empty();
    if (!e) e = read_picture(op.pic, m.georef, m.world, m.jet_frame);
    if (!e) e = read_objects(op.objs, m.georef, m.objects);
    if (!e && !m.format &&
        !(op.pic.frame + op.pic.extent + op.pic.background + op.pic.opacity).empty())
        e = problem{exit_usage, "--frame, --extent, --background und --opacity brauchen -o"};
    if (!e && !m.format && !op.objs.sources.empty())
        e = problem{exit_usage, "--objects braucht -o"};
    if (!e) e = read_driver(op.raster, "--raster", raster::choose_driver, m.driver);
    if (!e)
        e = read_driver(op.level_raster, "--level-raster", raster::choose_level_driver,
                        m.level_driver);
    if (!e) e = read_driver(op.zones, "--zones", vector::choose_zone_driver, m.zone_driver);
    if (!e) e = check_styles(op, m);
    return e;
}

// The site, the grid's parts, the picture's size and the threads (status 1).
maybe_problem read_values(const map_opts& op, map_plan& m) {
    maybe_problem e = read_site(op.site, m.p);
    if (!e) e = read_levels(op.levels, m.lv);
    if (!e) e = read_range(op.x, "--x", m.xr);
    if (!e) e = read_range(op.y, "--y", m.yr);
    if (!e) e = read_size(op.cell, "--cell", m.cell);
    if (m.format) {
        const draw::picture_size d = draw::default_size(*m.format);
        m.width = d.width;
        m.height = d.height;
        if (!e) e = read_count(op.width, "--width", draw::min_side, draw::max_side, m.width);
        if (!e) e = read_count(op.height, "--height", draw::min_side, draw::max_side, m.height);
    }
    if (!e) e = read_threads(op.threads, m.threads);
    if (!e && !m.world.background.empty()) {
        std::string why;
        if (!raster::check_background(m.world.background, why))
            e = problem{exit_bad_value, "--background " + m.world.background + ": " + why};
    }
    return e;
}

// The breach in the world: origin, direction and system, each inside the
// system's area of use, as the background is.
maybe_problem read_world(const map_opts& op, map_plan& m) {
    OGRSpatialReference srs;
    maybe_problem e = read_frame(op.frame, m.g);
    if (!e) e = read_crs(op.frame.crs, srs, m.wkt);
    std::string why;
    if (!e && !geo::point_in_area(srs, m.g.e0, m.g.n0, why))
        e = problem{exit_bad_value, "Option --origin: " + why + "; --origin und --crs pruefen"};
    if (!e && !m.world.background.empty() &&
        !raster::background_in_area(m.world.background, srs, why))
        e = problem{exit_bad_value, "--background " + m.world.background + ": " + why +
                                        "; Koordinatensystem des Rasters und --crs pruefen"};
    return e;
}

// The grid from the site and what the options fixed of it.
maybe_problem choose(map_plan& m) {
    const auto g = map::choose_grid(make_site(m.p), {m.xr, m.yr, m.cell});
    if (!g) {
        return problem{exit_bad_value, "Ausdehnung nicht aus dem Standort bestimmbar; "
                                       "--x, --y und --cell angeben"};
    }
    m.grid = *g;
    if (m.grid.x.n == 0 || m.grid.y.n == 0 || m.grid.x.n * m.grid.y.n > map::max_cells) {
        return problem{exit_bad_value, "zu viele Zellen bei Zellgroesse " +
                                           shortest(m.grid.x.cell) + " m (hoechstens " +
                                           std::to_string(map::max_axis_cells) + " je Achse und " +
                                           std::to_string(map::max_cells) +
                                           " insgesamt); --cell groesser waehlen"};
    }
    return std::nullopt;
}

// The formats first (usage errors, status 2), then the values (status 1).
maybe_problem plan(const map_opts& op, map_plan& m) {
    maybe_problem e = read_outputs(op, m);
    if (!e) e = read_values(op, m);
    if (!e && m.georef) e = read_world(op, m);
    if (e) return e;
    m.objects.src.crs = op.frame.crs;
    m.objects.g = m.g;
    m.objects.lv = m.lv;
    m.given_slope = m.p.slp;
    if ((e = check_slope(m.p, op.correct, m.slope_note))) return e;
    return choose(m);
}

// Reports a problem of the run and gives its status.
int fail(const problem& p) {
    std::fprintf(stderr, "orvalis map: %s\n", p.text.c_str());
    return p.status;
}

// The objects drawn in the picture, judged as assess judges them.
maybe_problem gather_objects(map_plan& m, report::object_list& objects) {
    if (m.objects.src.paths.empty()) return std::nullopt;
    m.objects.s = make_site(m.p);
    m.objects.threads = m.threads;
    const assess::outcome o = report::gather(m.objects, objects);
    if (o.end == assess::ending::usage) return problem{exit_usage, o.message};
    if (o.end != assess::ending::ok) return problem{exit_bad_value, o.message};
    return std::nullopt;
}

// The rotated north-up raster of a georeferenced map with files in its frame.
maybe_problem cover_world(const map_opts& op, const map_plan& m, map::world_raster& world) {
    if (!op.framed() || !m.georef) return std::nullopt;
    world = map::cover(m.g, m.grid.x, m.grid.y);
    if (world.nx != 0) return std::nullopt;
    const std::string first = !op.raster.empty()  ? "--raster"
                              : !op.zones.empty() ? "--zones"
                                                  : "--level-raster";
    if (map::too_coarse(m.g, m.grid.x, m.grid.y))
        return problem{exit_bad_value, first +
                                           ": die Koordinaten von --origin sind zu "
                                           "gross fuer die Zellgroesse " +
                                           shortest(m.grid.x.cell) + " m"};
    return problem{exit_bad_value, first + ": zu viele Zellen im gedrehten Raster; "
                                           "--cell groesser waehlen"};
}

// The outputs of a run and their places among the staged ones.
struct map_outputs {
    io::output_set outs;
    std::size_t pic = 0, ras = 0, lev = 0, zon = 0, sum = 0;
    // Whether the summary is written: it is the main output only without
    // files; with them a closed standard output takes it as before.
    bool summary = true;
};

// Checks and stages every output before anything is computed.
maybe_problem stage(const map_opts& op, const map_plan& m, map_outputs& w) {
    maybe_problem e;
    const auto add = [&](const std::string& label, const std::string& path, io::way way,
                         std::size_t& id) {
        if (!e) {
            if (auto f = w.outs.add(label, path, way, id)) e = output_problem(*f);
        }
    };
    const bool files = m.format || op.framed();
    w.summary = !files || !io::stdout_was_closed();
    if (m.format) add("-o", op.out, io::way::file, w.pic);
    if (!op.raster.empty()) add("--raster", op.raster, io::way::dataset, w.ras);
    if (!op.level_raster.empty()) add("--level-raster", op.level_raster, io::way::dataset, w.lev);
    if (!op.zones.empty()) add("--zones", op.zones, io::way::dataset, w.zon);
    if (w.summary) add("", "-", io::way::stream, w.sum);
    if (!e && !op.raster.empty() && w.outs.replaces(w.ras))
        w.outs.own_files(w.ras, geo::listed_files(op.raster, geo::kinds::raster));
    if (!e && !op.level_raster.empty() && w.outs.replaces(w.lev))
        w.outs.own_files(w.lev, geo::listed_files(op.level_raster, geo::kinds::raster));
    if (!e) {
        if (auto f = w.outs.stage()) e = output_problem(*f);
    }
    return e;
}

// Computes the map into its files; a failure names the option of the file.
maybe_problem compute(const map_opts& op, const map_plan& m, const map::world_raster& world,
                      map_outputs& w, map::map_result& res) {
    vector::map_files f;
    if (!op.raster.empty()) f.raster = w.outs.path(w.ras), f.raster_driver = m.driver;
    if (!op.level_raster.empty()) f.levels = w.outs.path(w.lev), f.level_driver = m.level_driver;
    if (!op.zones.empty()) f.zones = w.outs.path(w.zon), f.zone_driver = m.zone_driver;
    f.wkt = m.wkt;
    f.world = op.framed() && m.georef ? &world : nullptr;
    f.colours = draw::zone_colours();
    const map::map_request rq{make_site(m.p), m.lv,    m.grid,  m.threads, m.format.has_value(),
                              m.shown,        nullptr, nullptr, m.g};
    const vector::map_files_outcome o = vector::run_map_files(rq, f, res);
    switch (o.failed) {
    case vector::map_file::none: return std::nullopt;
    case vector::map_file::raster:
        return problem{exit_bad_value, "--raster " + op.raster + ": " + o.why};
    case vector::map_file::band: return problem{exit_bad_value, o.why};
    case vector::map_file::levels:
        return problem{exit_bad_value, "--level-raster " + op.level_raster + ": " + o.why};
    case vector::map_file::zones:
        return problem{exit_bad_value, "--zones " + op.zones + ": " + o.why};
    }
    return std::nullopt;
}

// Draws the picture: in the jet frame, or the world map around it.
maybe_problem draw_picture(const map_opts& op, map_plan& m, const map::map_result& res,
                           const report::object_list& objects, map_outputs& w) {
    const bool corrected = !m.slope_note.empty();
    draw::map_view v{m.p,      corrected,           m.lv,        m.grid.x,
                     m.grid.y, &res.image->image(), res.columns, m.shown};
    if (!m.objects.src.paths.empty()) {
        v.objects = &objects.drawn;
        v.g = m.g;
        v.label_from = m.objects.from;
        m.world.view.objects = &objects.drawn;
        m.world.view.label_from = m.objects.from;
        m.world.pieces = report::line_pieces(m.objects);
    }
    std::function<void(cairo_t*)> paint = [&](cairo_t* cr) {
        draw::draw_map(cr, m.width, m.height, v);
    };
    std::string why;
    report::world_plan wp;
    if (!m.jet_frame) {
        m.world.view.jet = v;
        m.world.view.g = m.g;
        m.world.wkt = m.wkt;
        const double dpi = *m.format == draw::picture_format::png ? 0 : 150;
        if (!report::plan_world(m.world, m.width, m.height, dpi, wp, why))
            return problem{exit_bad_value, "--background " + m.world.background + ": " + why};
        paint = [&](cairo_t* cr) { report::draw_world(cr, wp); };
    }
    if (!draw::render(*m.format, m.width, m.height, w.outs.stream(w.pic), paint, why))
        return problem{exit_bad_value, "-o " + op.out + ": nicht schreibbar: " + why};
    return std::nullopt;
}

// The summary as text or JSON.
maybe_problem summarise(const map_opts& op, const map_plan& m, const map::world_raster& world,
                        const map::map_result& res, std::string& text) {
    map::summary_input in{m.p, m.lv, m.grid.x, m.grid.y, !m.slope_note.empty(), m.given_slope};
    if (!op.raster.empty() && m.georef) in.world = &world;
    if (const char* key = op.json ? map::unwritable_json(in, res.fig) : nullptr)
        return problem{exit_bad_value, std::string("--json: Wert von ") + key +
                                           " nicht endlich, in JSON nicht darstellbar"};
    text = op.json ? map::summary_json(in, res.fig) : map::summary_text(in, res.fig);
    return std::nullopt;
}

// Computes the grid and, where asked, the rotated raster, the picture and
// the summary. Every output is checked and staged before anything is
// computed; files appear only when all of them are complete.
int run(const map_opts& op) {
    map_plan m;
    if (maybe_problem e = plan(op, m)) return fail(*e);
    if (!m.slope_note.empty()) std::fprintf(stderr, "orvalis map: %s\n", m.slope_note.c_str());
    report::object_list objects;
    map::world_raster world;
    map_outputs w;
    maybe_problem e = gather_objects(m, objects);
    if (!e) e = cover_world(op, m, world);
    if (!e) e = stage(op, m, w);
    if (e) return fail(*e);
    io::hold("early");
    map::map_result res;
    std::string text;
    e = compute(op, m, world, w, res);
    if (!e && m.format) e = draw_picture(op, m, res, objects, w);
    if (!e) e = summarise(op, m, world, res, text);
    if (e) return fail(*e);
    io::hold("late");
    // The files take their names first; the summary follows them.
    if (auto f = w.outs.commit()) return fail(output_problem(*f));
    if (w.summary) {
        if (const int err = io::write_all(1, text.data(), text.size()))
            return fail(output_problem(w.outs.write_failed(w.sum, err)));
    }
    return exit_ok;
}

} // namespace

// Registers `map` and its options.
command add_map(CLI::App& top) {
    auto op = std::make_shared<map_opts>();
    CLI::App* app = add_command(top, "map",
                                "Gefahrenkarte unterhalb der Bresche: Zusammenfassung, "
                                "Bild und Raster");
    add_site_options(*app, op->site, false);
    add_levels_option(*app, op->levels);
    add_text_options(
        *app, {{"--x", &op->x,
                "Bereich entlang des Strahls in m (Vorgabe: von 0 bis etwas hinter das Ende der "
                "Tabellen)",
                "MIN:MAX"},
               {"--y", &op->y,
                "Bereich quer zum Strahl in m, + links (Vorgabe: symmetrisch, Strahlbreite plus "
                "Rand)",
                "MIN:MAX"},
               {"--cell", &op->cell,
                "Zellgroesse in m (Vorgabe: etwa 500 Zellen auf der laengeren Seite, 1, 2 oder 5 "
                "mal eine Zehnerpotenz)",
                "GROESSE"}});
    CLI::Option* o =
        app->add_option("-o", op->out, "Bild schreiben (.png, .svg oder .pdf)")->type_name("DATEI");
    add_text_options(
        *app,
        {{"--show", &op->show, "statt der Gefahrenstufen eine Groesse zeigen", "q|v|h|he"},
         {"--width", &op->width,
          "Bildbreite in Bildpunkten (PNG, Vorgabe 1200) oder Punkten (SVG, PDF, "
          "Vorgabe 842)",
          "N"},
         {"--height", &op->height, "Bildhoehe (Vorgabe 800 bzw. 595)", "N"}},
        o);
    add_text_options(
        *app,
        {{"--raster", &op->raster,
          "Raster mit sechs Baendern schreiben (GeoTIFF; anderes GDAL-Format nach der Endung)",
          "DATEI"},
         {"--level-raster", &op->level_raster,
          "Raster der Gefahrenstufen schreiben (Byte-Baender Stufe und Grund, Farbtabelle und "
          "Stil; GeoTIFF, anderes GDAL-Format nach der Endung)",
          "DATEI"},
         {"--zones", &op->zones,
          "Gefahrenzonen als Polygone mit Stil schreiben (GeoPackage; anderes OGR-Format nach der "
          "Endung)",
          "DATEI"}});
    add_frame_options(*app, op->frame,
                      {"Bresche in Weltkoordinaten (fuer Raster, Zonen und Bild)",
                       "Koordinatensystem von Raster, Zonen und Bild", false, false});
    add_picture_options(*app, op->pic, true);
    add_object_options(*app, op->objs);
    add_correct(*app, op->correct);
    app->add_flag("--json", op->json, "die Zusammenfassung als JSON ausgeben");
    add_threads(*app, op->threads);
    return {app, [op] { return run(*op); }};
}

} // namespace orv::cli
