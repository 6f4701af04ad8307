// orvalis assess: which objects of the user's layers lie in which danger
// level below a breach, written back with their layers and summarised.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "assess/report.h"
#include "assess/run.h"
#include "cli/command.h"
#include "cli/german.h"
#include "cli/grid_options.h"
#include "cli/object_options.h"
#include "cli/option_values.h"
#include "cli/shared_options.h"
#include "cli/site_options.h"
#include "draw/style.h"
#include "io/guard.h"
#include "io/output.h"
#include "io/terminal.h"

namespace orv::cli {

namespace {

struct assess_opts {
    site_text site;
    object_text objects;
    std::string levels, label, out, threads;
    bool correct = false;
    bool json = false;
    bool keep_going = false;
    bool worst_points = false;
};

// Everything from the options, the site checked as map checks it.
maybe_problem plan(const assess_opts& op, assess::request& r, params& p, std::string& note) {
    if (op.worst_points && op.out.empty()) return problem{exit_usage, "--worst-points braucht -o"};
    maybe_problem e = require_site(op.site);
    if (!e) e = read_site(op.site, p);
    if (!e) e = read_levels(op.levels, r.lv);
    if (!e) e = read_object_options(op.objects, r);
    if (!e) e = read_threads(op.threads, r.threads);
    if (!e) e = check_slope(p, op.correct, note);
    if (e) return e;
    r.label = op.label;
    r.keep_going = op.keep_going;
    r.keep = op.json ? 0 : assess::text_list_limit;
    r.out = op.out;
    r.worst_points = op.worst_points;
    r.colours = draw::object_colours();
    r.s = make_site(p);
    return std::nullopt;
}

int fail(const problem& p) {
    std::fprintf(stderr, "orvalis assess: %s\n", p.text.c_str());
    return p.status;
}

int run(const assess_opts& op) {
    assess::request r;
    params p;
    std::string note;
    if (maybe_problem e = plan(op, r, p, note)) return fail(*e);
    if (!note.empty()) std::fprintf(stderr, "orvalis assess: %s\n", note.c_str());
    r.warn = [](const std::string& m) {
        std::fprintf(stderr, "orvalis assess: %s (uebersprungen)\n", m.c_str());
    };
    // The summary is the main output without -o; with it a closed standard
    // output takes the summary as map's does.
    io::output_set outs;
    std::size_t sum = 0;
    const bool summary = op.out.empty() || !io::stdout_was_closed();
    if (summary) {
        io::maybe_failure f = outs.add("", "-", io::way::stream, sum);
        if (!f) f = outs.stage();
        if (f) return fail(output_problem(*f));
    }
    const assess::outcome o = assess::assess(r);
    if (o.end == assess::ending::usage) return fail({exit_usage, o.message});
    if (o.end == assess::ending::bad_input) return fail({exit_bad_value, o.message});
    assess::report_input in{p, r.lv, r.g, r.spacing, r.from};
    in.utf8 = io::utf8_locale();
    const std::string text = op.json ? assess::report_json(in, o) : assess::report_text(in, o);
    if (auto f = outs.commit()) return fail(output_problem(*f));
    if (summary) {
        if (const int err = io::write_all(1, text.data(), text.size()))
            return fail(output_problem(outs.write_failed(sum, err)));
    }
    return o.end == assess::ending::skipped ? exit_invalid_rows : exit_ok;
}

} // namespace

// Registers `assess` and its options.
command add_assess(CLI::App& top) {
    auto op = std::make_shared<assess_opts>();
    CLI::App* app = add_command(top, "assess",
                                "Betroffene Objekte: Gefahrenstufe jedes Objekts der "
                                "eigenen GIS-Ebenen unterhalb der Bresche");
    app->add_option("QUELLE", op->objects.sources,
                    "Vektordaten (GeoPackage, Shapefile, GeoJSON, FlatGeobuf, KML, GML, CSV)")
        ->required();
    add_verdict_site_options(*app, op->site, site_source::options);
    add_levels_option(*app, op->levels);
    add_object_options(*app, op->objects,
                       "Koordinatensystem des Standortes (Vorgabe: das der ersten Ebene)", false);
    add_label(*app, op->label, "Feld, das die Objekte benennt (Vorgabe: Objektnummer)");
    app->add_option("-o", op->out,
                    "Ebenen mit Ergebnis schreiben (GeoPackage; anderes OGR-Format nach der "
                    "Endung)")
        ->type_name("DATEI");
    add_worst_points(*app, op->worst_points);
    add_correct(*app, op->correct);
    app->add_flag("--json", op->json, "die Zusammenfassung als JSON ausgeben");
    add_keep_going(*app, op->keep_going,
                   "unlesbare Geometrien ohne Ergebnis schreiben und weiterrechnen (Status 3)");
    add_threads(*app, op->threads);
    return {app, [op] { return run(*op); }};
}

} // namespace orv::cli
