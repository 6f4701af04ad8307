// orvalis report: the assessment of a site as a document, with the map in
// world coordinates, the zones, the objects and how to make it again.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/german.h"
#include "cli/grid_options.h"
#include "cli/object_options.h"
#include "cli/option_values.h"
#include "cli/picture_options.h"
#include "cli/shared_options.h"
#include "cli/site_options.h"
#include "io/guard.h"
#include "io/output.h"
#include "io/path.h"
#include "raster/background.h"
#include "report/build.h"

namespace orv::cli {

namespace {

struct report_opts {
    site_text site;
    picture_text pic;
    object_text objects;
    std::string levels, label, threads;
    std::string x, y, cell, title, author, format, out;
    bool correct = false;
    bool keep_going = false;
};

// Whether the report is HTML: --format, else the extension of -o.
maybe_problem read_format(const report_opts& op, bool& html) {
    std::string f = op.format;
    if (f.empty()) {
        const std::string ext = io::extension(op.out);
        if (ext == "pdf")
            f = "pdf";
        else if (ext == "html" || ext == "htm")
            f = "html";
        else
            return problem{exit_usage, "Option -o: Endung .pdf oder .html erwartet (oder --format "
                                       "angeben): " +
                                           op.out};
    }
    if (f != "pdf" && f != "html")
        return problem{exit_usage, "Option --format: pdf oder html erwartet: " + f};
    html = f == "html";
    return std::nullopt;
}

maybe_problem plan(const report_opts& op, report::request& r, bool& html) {
    maybe_problem e = read_format(op, html);
    bool jet = false;
    if (!e) e = read_picture(op.pic, true, r.picture, jet);
    if (!e) e = require_site(op.site);
    if (!e) e = read_site(op.site, r.p);
    if (!e) e = read_levels(op.levels, r.judge.lv);
    if (!e) e = read_object_options(op.objects, r.judge);
    if (!e) e = read_threads(op.threads, r.judge.threads);
    if (!e) e = read_range(op.x, "--x", r.grid.x);
    if (!e) e = read_range(op.y, "--y", r.grid.y);
    if (!e) e = read_size(op.cell, "--cell", r.grid.cell);
    std::string why;
    OGRSpatialReference srs;
    if (!e) e = read_crs(op.objects.frame.crs, srs, r.wkt);
    if (!e && !r.picture.background.empty() && !raster::check_background(r.picture.background, why))
        e = problem{exit_bad_value, "--background " + r.picture.background + ": " + why};
    if (!e && !report::report_date(r.date))
        e = problem{exit_usage, report::epoch_expected};
    r.given_slope = r.p.slp;
    std::string note;
    if (!e) e = check_slope(r.p, op.correct, note);
    if (e) return e;
    if (!note.empty()) std::fprintf(stderr, "orvalis report: %s\n", note.c_str());
    r.corrected = !note.empty();
    r.judge.label = op.label;
    r.judge.keep_going = op.keep_going;
    r.judge.s = make_site(r.p);
    r.title = op.title.empty() ? "Gefahrenbeurteilung" : op.title;
    r.author = op.author;
    r.version = ORV_VERSION;
    r.command = command_line();
    return std::nullopt;
}

int fail(const problem& p) {
    std::fprintf(stderr, "orvalis report: %s\n", p.text.c_str());
    return p.status;
}

int run(const report_opts& op) {
    report::request r;
    bool html = false;
    if (maybe_problem e = plan(op, r, html)) return fail(*e);
    r.judge.warn = [](const std::string& m) {
        std::fprintf(stderr, "orvalis report: %s (uebersprungen)\n", m.c_str());
    };
    // The report is checked and staged before anything is computed; "-" is
    // standard output.
    io::output_set outs;
    std::size_t id = 0;
    io::maybe_failure f = outs.add("-o", op.out, io::way::file, id);
    if (!f) f = outs.stage();
    if (f) return fail(output_problem(*f));
    io::hold("early");
    std::string why;
    report::content c;
    map::map_image image;
    std::vector<int32_t> columns;
    const report::built b = report::build(r, c, image, columns);
    if (b.end == assess::ending::usage) return fail({exit_usage, b.message});
    if (b.end == assess::ending::bad_input) return fail({exit_bad_value, b.message});
    io::hold("middle");
    std::FILE* to = outs.stream(id);
    int err = 0;
    if (!(html ? report::write_html(c, to, why, err) : report::write_pdf(c, to, why, err))) {
        if (err != 0) return fail(output_problem(outs.write_failed(id, err)));
        return fail({exit_bad_value, "-o " + op.out + ": nicht schreibbar: " + why});
    }
    io::hold("late");
    if (auto e = outs.commit()) return fail(output_problem(*e));
    return b.end == assess::ending::skipped ? exit_invalid_rows : exit_ok;
}

} // namespace

// Registers `report` and its options.
command add_report(CLI::App& top) {
    auto op = std::make_shared<report_opts>();
    CLI::App* app = add_command(top, "report",
                                "Bericht als PDF oder HTML: Karte mit den Objekten, Zonen, "
                                "betroffene Objekte, Methode und Pruefsummen");
    app->add_option("QUELLE", op->objects.sources, "Vektordaten der Objekte (wie bei assess)")
        ->required();
    add_verdict_site_options(*app, op->site, site_source::options);
    add_levels_option(*app, op->levels);
    add_object_options(*app, op->objects, "Koordinatensystem von Standort und Karte", true);
    add_label(*app, op->label,
              "Feld, das die Objekte in Tabelle und Karte benennt (Vorgabe: Objektnummer, "
              "in der Karte keine Beschriftung)");
    app->add_option("--x", op->x, "Bereich der Karte entlang des Strahls in m")
        ->type_name("MIN:MAX");
    app->add_option("--y", op->y, "Bereich der Karte quer zum Strahl in m, + links")
        ->type_name("MIN:MAX");
    app->add_option("--cell", op->cell, "Zellgroesse der Karte in m")->type_name("GROESSE");
    add_picture_options(*app, op->pic, false);
    add_title(*app, op->title, "Titel (Vorgabe: Gefahrenbeurteilung)");
    add_author(*app, op->author);
    app->add_option("--format", op->format, "pdf oder html (Vorgabe: nach der Endung von -o)")
        ->type_name("pdf|html");
    app->add_option("-o", op->out, "Bericht schreiben (.pdf oder .html)")
        ->type_name("DATEI")
        ->required();
    add_correct(*app, op->correct);
    add_keep_going(*app, op->keep_going,
                   "unlesbare Geometrien ohne Ergebnis fuehren und weiterrechnen (Status 3)");
    add_threads(*app, op->threads);
    return {app, [op] { return run(*op); }};
}

} // namespace orv::cli
