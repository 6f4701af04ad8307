// orvalis map: the danger map below a breach as summary, picture and raster.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/number_text.h"
#include "cli/command.h"
#include "cli/german.h"
#include "cli/grid_options.h"
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
#include "map/extent.h"
#include "map/frame.h"
#include "map/image.h"
#include "map/run.h"
#include "map/strip.h"
#include "map/summary.h"
#include "raster/background.h"
#include "raster/classes.h"
#include "raster/raster.h"
#include "report/objects.h"
#include "report/world_picture.h"
#include "vector/zones.h"

namespace orv::cli {

namespace {

struct map_opts {
    site_text site;
    picture_text pic;
    objects_text objs;
    std::string levels, x, y, cell, out, show, width, height, raster, origin, azimuth, crs, threads;
    std::string level_raster, zones;
    bool correct = false;
    bool json = false;
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

// The formats first (usage errors, status 2), then the values (status 1).
maybe_problem plan(const map_opts& op, map_plan& m) {
    if (!op.out.empty()) {
        m.format = draw::format_of(op.out);
        if (!m.format) return usage("-o", "Endung .png, .svg oder .pdf erwartet", op.out);
    }
    maybe_problem e = read_show(op.show, m.shown);
    m.georef = !op.origin.empty();
    if (!e) e = read_picture(op.pic, m.georef, m.world, m.jet_frame);
    if (!e) e = read_objects(op.objs, m.georef, m.objects);
    if (!e && !m.format &&
        !(op.pic.frame + op.pic.extent + op.pic.background + op.pic.opacity).empty())
        e = problem{exit_usage, "--frame, --extent, --background und --opacity brauchen -o"};
    if (!e && !m.format && !op.objs.sources.empty())
        e = problem{exit_usage, "--objects braucht -o"};
    if (!e && !op.raster.empty()) {
        std::string why;
        m.driver = raster::choose_driver(op.raster, why);
        if (m.driver.empty()) e = usage("--raster", why, op.raster);
    }
    if (!e && !op.level_raster.empty()) {
        std::string why;
        m.level_driver = raster::choose_level_driver(op.level_raster, why);
        if (m.level_driver.empty()) e = usage("--level-raster", why, op.level_raster);
    }
    if (!e && !op.zones.empty()) {
        std::string why;
        m.zone_driver = vector::choose_zone_driver(op.zones, why);
        if (m.zone_driver.empty()) e = usage("--zones", why, op.zones);
    }
    if (!e) e = read_site(op.site, m.p);
    if (!e) e = read_levels(op.levels, m.lv);
    std::optional<map::range> xr, yr;
    std::optional<double> cell;
    if (!e) e = read_range(op.x, "--x", xr);
    if (!e) e = read_range(op.y, "--y", yr);
    if (!e) e = read_size(op.cell, "--cell", cell);
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
    if (m.georef) {
        if (!e) e = read_point(op.origin, "--origin", m.g.e0, m.g.n0);
        if (!e) e = read_finite(op.azimuth, "--azimuth", m.g.azimuth);
        int code = 0;
        if (!e) e = read_epsg(op.crs, "--crs", code);
        std::string why;
        if (!e && !raster::crs_wkt(code, m.wkt, why))
            e = problem{exit_bad_value, "Option --crs: " + why + ": " + op.crs};
        if (!e && !geo::point_in_area(code, m.g.e0, m.g.n0, why))
            e = problem{exit_bad_value, "Option --origin: " + why + "; --origin und --crs pruefen"};
        if (!e && !m.world.background.empty() &&
            !raster::background_in_area(m.world.background, code, why))
            e = problem{exit_bad_value, "--background " + m.world.background + ": " + why +
                                            "; Koordinatensystem des Rasters und --crs pruefen"};
    }
    if (e) return e;
    m.objects.src.crs = op.crs;
    m.objects.g = m.g;
    m.objects.lv = m.lv;
    m.given_slope = m.p.slp;
    if ((e = check_slope(m.p, op.correct, m.slope_note))) return e;
    const site s = make_site(m.p);
    const auto g = map::choose_grid(s, {xr, yr, cell});
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

// Whether world coordinates as large as the origin's lose the grid's
// extent or its cells: the extent or a cell added to them leaves them (almost) as they are.
bool coarse(const map::georef& g, const map::axis& x, const map::axis& y) {
    const double far = std::max(std::fabs(g.e0), std::fabs(g.n0));
    const double span = std::max(x.end() - x.min, y.end() - y.min);
    return (far + span) - far < span / 2 || far + x.cell == far;
}

// Reports a problem of the run and gives its status.
int fail(const problem& p) {
    std::fprintf(stderr, "orvalis map: %s\n", p.text.c_str());
    return p.status;
}

// The raster's layout: the rotated north-up world raster when georeferenced,
// else the jet frame's grid, rows bottom up.
raster::raster_layout layout_of(const map_plan& m, const map::world_raster& world) {
    raster::raster_layout l;
    const map::axis& ax = m.grid.x;
    const map::axis& ay = m.grid.y;
    if (m.georef) {
        std::copy(world.gt, world.gt + 6, l.gt);
        l.nx = world.nx;
        l.ny = world.ny;
        l.wkt = m.wkt;
    } else {
        const double gt[6] = {ax.min, ax.cell, 0, ay.end(), 0, -ax.cell};
        std::copy(gt, gt + 6, l.gt);
        l.nx = ax.n;
        l.ny = ay.n;
        l.bottom_up = true;
    }
    return l;
}

// Hands each strip to two sinks: the raster and the class band share the
// raster's frame.
class both_sinks : public map::strip_sink {
  public:
    both_sinks(map::strip_sink* a, map::strip_sink* b) : a_(a), b_(b) {}
    bool take(const map::strip& s) override { return (!a_ || a_->take(s)) && (!b_ || b_->take(s)); }

  private:
    map::strip_sink *a_, *b_;
};

// Computes the grid and, where asked, the rotated raster, the picture and
// the summary. Every output is checked and staged before anything is
// computed; files appear only when all of them are complete.
int run(const map_opts& op) {
    map_plan m;
    if (maybe_problem e = plan(op, m)) return fail(*e);
    if (!m.slope_note.empty()) std::fprintf(stderr, "orvalis map: %s\n", m.slope_note.c_str());
    // The raster, the level raster and the zones share one frame.
    const bool classes = !op.level_raster.empty() || !op.zones.empty();
    const bool framed = !op.raster.empty() || classes;
    const bool files = m.format || framed;
    report::object_list objects;
    if (!m.objects.src.paths.empty()) {
        m.objects.s = make_site(m.p);
        m.objects.threads = m.threads;
        const assess::outcome o = report::gather(m.objects, objects);
        if (o.end == assess::ending::usage) return fail({exit_usage, o.message});
        if (o.end != assess::ending::ok) return fail({exit_bad_value, o.message});
    }

    map::world_raster world;
    if (framed && m.georef) {
        world = map::cover(m.g, m.grid.x, m.grid.y);
        const char* first = !op.raster.empty()  ? "--raster"
                            : !op.zones.empty() ? "--zones"
                                                : "--level-raster";
        if (world.nx == 0 && coarse(m.g, m.grid.x, m.grid.y))
            return fail({exit_bad_value, std::string(first) +
                                             ": die Koordinaten von --origin sind zu "
                                             "gross fuer die Zellgroesse " +
                                             shortest(m.grid.x.cell) + " m"});
        if (world.nx == 0)
            return fail({exit_bad_value, std::string(first) +
                                             ": zu viele Zellen im gedrehten Raster; "
                                             "--cell groesser waehlen"});
    }
    io::output_set outs;
    std::size_t pic = 0, ras = 0, lev = 0, zon = 0, sum = 0;
    maybe_problem e;
    const auto add = [&](const std::string& label, const std::string& path, io::way w,
                         std::size_t& id) {
        if (!e) {
            if (auto f = outs.add(label, path, w, id)) e = output_problem(*f);
        }
    };
    if (m.format) add("-o", op.out, io::way::file, pic);
    if (!op.raster.empty()) add("--raster", op.raster, io::way::dataset, ras);
    if (!op.level_raster.empty()) add("--level-raster", op.level_raster, io::way::dataset, lev);
    if (!op.zones.empty()) add("--zones", op.zones, io::way::dataset, zon);
    // The summary is the main output only without files; with them a closed
    // standard output takes it as before.
    if (!files || !io::stdout_was_closed()) add("", "-", io::way::stream, sum);
    if (!e && !op.raster.empty() && outs.replaces(ras))
        outs.own_files(ras, geo::listed_files(op.raster, geo::kinds::raster));
    if (!e && !op.level_raster.empty() && outs.replaces(lev))
        outs.own_files(lev, geo::listed_files(op.level_raster, geo::kinds::raster));
    if (!e) {
        if (auto f = outs.stage()) e = output_problem(*f);
    }
    if (e) return fail(*e);
    io::hold("early");

    std::string why;
    raster::raster_sink raster;
    if (!op.raster.empty() && !raster.open(outs.path(ras), m.driver, layout_of(m, world), why))
        return fail({exit_bad_value, "--raster " + op.raster + ": " + why});
    raster::class_band band;
    if (classes && !band.open(layout_of(m, world), why)) return fail({exit_bad_value, why});
    both_sinks frame_sinks(op.raster.empty() ? nullptr : &raster, classes ? &band : nullptr);

    map::map_request rq;
    rq.s = make_site(m.p);
    rq.lv = m.lv;
    rq.grid = m.grid;
    rq.threads = m.threads;
    rq.picture = m.format.has_value();
    rq.shown = m.shown;
    if (framed) rq.raster = &frame_sinks;
    if (framed && m.georef) rq.world = &world;
    rq.where = m.g;
    map::map_result res;
    if (!map::run_map(rq, res))
        return fail({exit_bad_value, raster.failure().empty()
                                         ? "Klassenraster nicht schreibbar"
                                         : "--raster " + op.raster + ": " + raster.failure()});
    if (!op.raster.empty() && !raster.finish(why))
        return fail({exit_bad_value, "--raster " + op.raster + ": " + why});
    const map::zone_colours colours = draw::zone_colours();
    if (!op.level_raster.empty() &&
        !raster::write_level_raster(band, outs.path(lev), m.level_driver, colours, why))
        return fail({exit_bad_value, "--level-raster " + op.level_raster + ": " + why});
    if (!op.zones.empty() &&
        !vector::write_zones(band, outs.path(zon), m.zone_driver, m.lv, colours, why))
        return fail({exit_bad_value, "--zones " + op.zones + ": " + why});
    if (m.format) {
        const bool corrected = !m.slope_note.empty();
        draw::map_view v{m.p,      corrected,           m.lv,        m.grid.x,
                         m.grid.y, &res.image->image(), res.columns, m.shown};
        if (!m.objects.src.paths.empty()) {
            v.objects = &objects.drawn;
            v.g = m.g;
            v.label_from = m.objects.from;
            m.world.view.objects = &objects.drawn;
            m.world.view.label_from = m.objects.from;
        }
        std::function<void(cairo_t*)> paint = [&](cairo_t* cr) {
            draw::draw_map(cr, m.width, m.height, v);
        };
        report::world_plan wp;
        if (!m.jet_frame) {
            m.world.view.jet = v;
            m.world.view.g = m.g;
            m.world.wkt = m.wkt;
            const double dpi = *m.format == draw::picture_format::png ? 0 : 150;
            if (!report::plan_world(m.world, m.width, m.height, dpi, wp, why))
                return fail({exit_bad_value, "--background " + m.world.background + ": " + why});
            paint = [&](cairo_t* cr) { report::draw_world(cr, wp); };
        }
        if (!draw::render(*m.format, m.width, m.height, outs.stream(pic), paint, why))
            return fail({exit_bad_value, "-o " + op.out + ": nicht schreibbar: " + why});
    }

    map::summary_input in{m.p, m.lv, m.grid.x, m.grid.y, !m.slope_note.empty(), m.given_slope};
    if (!op.raster.empty() && m.georef) in.world = &world;
    if (const char* key = op.json ? map::unwritable_json(in, res.fig) : nullptr)
        return fail({exit_bad_value, std::string("--json: Wert von ") + key +
                                         " nicht endlich, in JSON nicht darstellbar"});
    const std::string text =
        op.json ? map::summary_json(in, res.fig) : map::summary_text(in, res.fig);
    io::hold("late");
    // The files take their names first; the summary follows them.
    if (auto f = outs.commit()) return fail(output_problem(*f));
    if (!files || !io::stdout_was_closed()) {
        if (const int err = io::write_all(1, text.data(), text.size()))
            return fail(output_problem(outs.write_failed(sum, err)));
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
    app->add_option("--x", op->x,
                    "Bereich entlang des Strahls in m (Vorgabe: von 0 bis etwas hinter das "
                    "Ende der Tabellen)")
        ->type_name("MIN:MAX");
    app->add_option("--y", op->y,
                    "Bereich quer zum Strahl in m, + links (Vorgabe: symmetrisch, "
                    "Strahlbreite plus Rand)")
        ->type_name("MIN:MAX");
    app->add_option("--cell", op->cell,
                    "Zellgroesse in m (Vorgabe: etwa 500 Zellen auf der "
                    "laengeren Seite, 1, 2 oder 5 mal eine Zehnerpotenz)")
        ->type_name("GROESSE");
    CLI::Option* o =
        app->add_option("-o", op->out, "Bild schreiben (.png, .svg oder .pdf)")->type_name("DATEI");
    app->add_option("--show", op->show, "statt der Gefahrenstufen eine Groesse zeigen")
        ->type_name("q|v|h|he")
        ->needs(o);
    app->add_option("--width", op->width,
                    "Bildbreite in Bildpunkten (PNG, Vorgabe 1200) oder "
                    "Punkten (SVG, PDF, Vorgabe 842)")
        ->type_name("N")
        ->needs(o);
    app->add_option("--height", op->height, "Bildhoehe (Vorgabe 800 bzw. 595)")
        ->type_name("N")
        ->needs(o);
    app->add_option("--raster", op->raster,
                    "Raster mit sechs Baendern schreiben (GeoTIFF; anderes "
                    "GDAL-Format nach der Endung)")
        ->type_name("DATEI");
    app->add_option("--level-raster", op->level_raster,
                    "Raster der Gefahrenstufen mit Farbtabelle schreiben (ein Byte-Band; "
                    "GeoTIFF, anderes GDAL-Format nach der Endung)")
        ->type_name("DATEI");
    app->add_option("--zones", op->zones,
                    "Gefahrenzonen als Polygone mit Stil schreiben (GeoPackage; anderes "
                    "OGR-Format nach der Endung)")
        ->type_name("DATEI");
    CLI::Option* org = app->add_option("--origin", op->origin,
                                       "Bresche in Weltkoordinaten (fuer Raster, Zonen und Bild)")
                           ->type_name("E,N");
    CLI::Option* az = app->add_option("--azimuth", op->azimuth,
                                      "Richtung des Strahls in Grad im Uhrzeigersinn von Norden")
                          ->type_name("GRAD")
                          ->needs(org);
    CLI::Option* crs =
        app->add_option("--crs", op->crs, "Koordinatensystem von Raster, Zonen und Bild")
            ->type_name("EPSG:NNNN")
            ->needs(org);
    org->needs(az)->needs(crs);
    add_picture_options(*app, op->pic, true);
    add_object_options(*app, op->objs);
    app->add_flag("--correct", op->correct,
                  "ein Gefaelle ausserhalb der Tabellen korrigieren statt abzulehnen");
    app->add_flag("--json", op->json, "die Zusammenfassung als JSON ausgeben");
    add_threads(*app, op->threads);
    return {app, [op] { return run(*op); }};
}

} // namespace orv::cli
