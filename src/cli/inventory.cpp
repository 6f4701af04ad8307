// orvalis inventory: a whole register of dams in one run, each with its map
// figures and the answer its objects give.
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/number_text.h"
#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/german.h"
#include "cli/grid_options.h"
#include "cli/option_values.h"
#include "cli/picture_options.h"
#include "cli/shared_options.h"
#include "cli/site_options.h"
#include "csv/number.h"
#include "inventory/run.h"
#include "io/progress.h"
#include "io/terminal.h"
#include "raster/background.h"
#include "report/document.h"

namespace orv::cli {

namespace {

struct inventory_opts {
    std::string reg, out, objects_out, zones, reports, report_format, crs, spacing, from, levels,
        azimuth, cell, coords, id, prefer, shard, threads, delimiter, decimal, label, title, author;
    site_text site;
    picture_text pic; // --background and --opacity of the reports
    std::vector<std::string> objects, layers, fields;
    bool correct = false;
    bool keep_going = false;
    bool worst_points = false;
};

// "K/N" with 1 <= K <= N.
maybe_problem read_shard(const std::string& text, std::uint64_t& k, std::uint64_t& n) {
    if (text.empty()) return std::nullopt;
    const auto slash = text.find('/');
    const problem bad{exit_usage, "Option --shard: K/N mit 1 <= K <= N erwartet: " + text};
    if (slash == std::string::npos) return bad;
    const std::string a = text.substr(0, slash), b = text.substr(slash + 1);
    const auto digits = [](const std::string& s) {
        return !s.empty() && s.size() < 19 &&
               s.find_first_not_of("0123456789") == std::string::npos;
    };
    if (!digits(a) || !digits(b)) return bad;
    k = std::stoull(a);
    n = std::stoull(b);
    if (k < 1 || k > n) return bad;
    return std::nullopt;
}

// The reports' title, author, background and its opacity, as report takes them.
maybe_problem read_report_look(const inventory_opts& op, inventory::request& r) {
    const bool any = !op.title.empty() || !op.author.empty() || !op.pic.background.empty() ||
                     !op.pic.opacity.empty();
    if (any && op.reports.empty())
        return problem{exit_usage, "--title, --author, --background und --opacity brauchen "
                                   "--reports"};
    report::world_request w;
    bool jet = false;
    if (maybe_problem e = read_picture(op.pic, true, w, jet)) return e;
    std::string why;
    if (!w.background.empty() && !raster::check_background(w.background, why))
        return problem{exit_bad_value, "--background " + w.background + ": " + why};
    r.title = op.title;
    r.author = op.author;
    r.background = w.background;
    r.opacity = w.opacity;
    return std::nullopt;
}

// The reports' folder, format, date and how they say they were made.
maybe_problem read_reports(const inventory_opts& op, inventory::request& r) {
    r.reports = op.reports;
    if (!op.report_format.empty() && op.report_format != "pdf" && op.report_format != "html")
        return problem{exit_usage,
                       "Option --report-format: pdf oder html erwartet: " + op.report_format};
    if (!op.report_format.empty() && op.reports.empty())
        return problem{exit_usage, "--report-format braucht --reports"};
    r.reports_html = op.report_format == "html";
    if (maybe_problem e = read_report_look(op, r)) return e;
    if (!op.reports.empty()) {
        if (!report::report_date(r.date))
            return problem{exit_usage, report::epoch_expected};
        r.command = command_line();
        r.version = ORV_VERSION;
    }
    return std::nullopt;
}

maybe_problem plan(const inventory_opts& op, inventory::request& r) {
    if (op.worst_points && op.objects_out.empty())
        return problem{exit_usage, "--worst-points braucht --objects-out"};
    params p;
    maybe_problem e = read_site(op.site, p);
    for (int k = 0; k < n_site_params && !e; ++k)
        if (!param_text(op.site, k).empty()) r.values.site[k] = p.*param_table[k].member;
    if (!e && !op.azimuth.empty()) {
        double a = 0;
        e = read_finite(op.azimuth, "--azimuth", a);
        r.values.azimuth = a;
    }
    if (!e) e = read_levels(op.levels, r.rules.lv);
    std::optional<double> v;
    if (!e) e = read_size(op.spacing, "--spacing", v);
    if (!e && v) r.spacing = *v;
    v.reset();
    if (!e) e = read_size(op.cell, "--cell", v);
    if (!e && v) r.rules.cell = *v;
    if (!e) e = read_count(op.from, "--from", 1, 3, r.rules.from);
    if (!e) e = read_threads(op.threads, r.threads);
    r.values.e_name = "E";
    r.values.n_name = "N";
    if (!e) e = read_coords(op.coords, r.values.e_name, r.values.n_name);
    if (!e) e = read_shard(op.shard, r.shard, r.shards);
    if (!e) e = read_char(op.delimiter, "--delimiter", ";,\t", r.delim);
    if (!e) e = read_char(op.decimal, "--decimal", ".,", r.dec);
    if (!e && !op.prefer.empty() && op.prefer != "options")
        e = problem{exit_usage, "Option --prefer: nur 'options' moeglich: " + op.prefer};
    for (const std::string& f : op.fields) {
        std::string why;
        if (!e && !inventory::read_field_option(f, r.values, why)) e = problem{exit_bad_value, why};
    }
    if (e) return e;
    r.values.prefer_options = !op.prefer.empty();
    r.values.id = op.id;
    r.rules.correct = op.correct;
    r.path = op.reg;
    r.objects.paths = op.objects;
    // Here --coords names the register's columns, not the objects'.
    r.objects.coords_option = false;
    r.objects.layers = op.layers;
    r.objects.crs = op.crs;
    r.label = op.label;
    r.keep_going = op.keep_going;
    r.out = op.out;
    r.objects_out = op.objects_out;
    r.worst_points = op.worst_points;
    r.zones = op.zones;
    return read_reports(op, r);
}

// "12 s", "3 min", "2 h" for a time left.
std::string duration(double s) {
    if (s < 120) return std::to_string(static_cast<long>(s + 0.5)) + " s";
    if (s < 7200) return std::to_string(static_cast<long>(s / 60 + 0.5)) + " min";
    return std::to_string(static_cast<long>(s / 3600 + 0.5)) + " h";
}

int run(const inventory_opts& op) {
    io::progress_line say("orvalis inventory", io::is_terminal(2));
    inventory::request r;
    if (maybe_problem e = plan(op, r)) {
        say.message(e->text);
        return e->status;
    }
    r.warn = [&say](const std::string& m) { say.message(m + " (uebersprungen)"); };
    const auto start = std::chrono::steady_clock::now();
    r.progress = [&](std::uint64_t dams, double share) {
        const double t =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::string s = counted(dams, "Anlage", "Anlagen");
        if (t > 0) s += ", " + std::to_string(static_cast<long>(dams / t)) + " je s";
        if (share > 0 && share < 1) s += ", noch etwa " + duration(t * (1 - share) / share);
        say.show(s);
    };
    const inventory::outcome o = inventory::run(r);
    say.clear();
    if (o.end == inventory::ending::usage) {
        say.message(o.message);
        return exit_usage;
    }
    if (o.end == inventory::ending::bad_input) {
        say.message(o.message);
        return exit_bad_value;
    }
    say.message(counted(o.dams, "Anlage", "Anlagen") + ": ja " + std::to_string(o.answers[1]) +
                ", nein " + std::to_string(o.answers[0]) + ", offen " +
                std::to_string(o.answers[2]) + "; Fehler " + std::to_string(o.errors) + "; " +
                counted(o.objects, "Objekt", "Objekte"));
    return o.end == inventory::ending::skipped ? exit_invalid_rows : exit_ok;
}

// What the help says below the options: where a dam's values come from.
constexpr const char* footer =
    "Das Register ist eine Punktebene (Lage der Bresche) oder CSV mit den Spalten der\n"
    "Koordinaten (--coords, Vorgabe E,N). Spalten H, B, S, D, Vol (beliebig) und azimuth\n"
    "(beliebig) geben die Werte einer Anlage, sonst gelten die Optionen. Eine Spalte und\n"
    "eine Option fuer denselben Wert sind ein Fehler, ausser mit --prefer options.\n"
    "Exit-Status: 0 Erfolg, 1 ungueltiger Wert oder Ausgabe nicht schreibbar, 2\n"
    "fehlerhafter Aufruf, 3 Anlagen oder Objekte mit --keep-going uebersprungen.";

// Registers the register, the objects and where the values come from.
void add_inputs(CLI::App& app, inventory_opts& op) {
    app.add_option("REGISTER", op.reg, "Anlagen: Punktebene (GeoPackage usw.) oder CSV")
        ->required();
    app.add_option("--objects", op.objects, "Objekte: Vektordaten wie bei assess (wiederholbar)")
        ->type_name("QUELLE")
        ->required();
    add_layers(app, op.layers);
    add_label(app, op.label,
              "Feld, das die Objekte in orv_names, orv_label und den Berichten benennt (Vorgabe: "
              "Objektnummer)");
    app.add_option("--crs", op.crs, "Koordinatensystem (Vorgabe: das der ersten Ebene der Objekte)")
        ->type_name("EPSG:NNNN");
    add_verdict_site_options(app, op.site, site_source::columns);
    add_text_options(app, {{"--azimuth", &op.azimuth,
                            "Richtung des Strahls in Grad im Uhrzeigersinn von Norden, fuer "
                            "Anlagen ohne Spalte azimuth",
                            "GRAD"}});
    app.add_option("--field", op.fields, "Wert aus dieser Spalte statt der ueblichen")
        ->type_name("WERT=SPALTE");
    add_text_options(app,
                     {{"--coords", &op.coords, "Spalten der Koordinaten im CSV-Register", "E,N"}});
    add_prefer(app, op.prefer, "Optionen gelten vor gleichnamigen Spalten");
    add_text_options(app, {{"--id", &op.id,
                            "Feld, das die Anlage benennt (Vorgabe: die Zeilennummer)", "FELD"}});
    add_levels_option(app, op.levels);
    add_text_options(app, {{"--cell", &op.cell,
                            "gemeinsame Zellgroesse der Karten in m (Vorgabe 2)", "GROESSE"}});
    add_spacing(app, op.spacing);
    add_from(app, op.from);
    add_correct(app, op.correct);
}

// Registers the outputs and how the run reads and computes.
void add_outputs(CLI::App& app, inventory_opts& op) {
    app.add_option("-o", op.out,
                   "Register mit Ergebnis schreiben (GeoPackage; CSV oder anderes OGR-Format "
                   "nach der Endung)")
        ->type_name("DATEI")
        ->required();
    add_text_options(
        app, {{"--objects-out", &op.objects_out,
               "die Objekte mit ihrer hoechsten Stufe ueber die Anlagen dieses Laufs schreiben "
               "(GeoPackage; anderes OGR-Format nach der Endung)",
               "DATEI"},
              {"--zones", &op.zones,
               "die Gefahrenzonen aller Anlagen als Polygone in einer Ebene schreiben, mit orv_dam "
               "(GeoPackage; anderes OGR-Format nach der Endung)",
               "DATEI"},
              {"--reports", &op.reports,
               "je Anlage einen Bericht in diesen Ordner schreiben, benannt nach ihrer Kennung",
               "ORDNER"},
              {"--report-format", &op.report_format,
               "Format der Berichte: pdf oder html (Vorgabe pdf)", "pdf|html"}});
    add_title(app, op.title,
              "Titel der Berichte vor 'Anlage KENNUNG' (Vorgabe: Gefahrenbeurteilung)");
    add_author(app, op.author);
    add_background_options(app, op.pic,
                           "Hintergrund unter den Zonen der Berichte: ein Raster, das GDAL liest "
                           "(Byte: 1 Band grau oder Palette, 3 RGB, 4 RGBA)");
    add_text_options(app, {{"--shard", &op.shard,
                            "nur jede N-te Anlage ab der K-ten (Datenzeile mod N = K-1)", "K/N"}});
    add_worst_points(app, op.worst_points);
    add_keep_going(app, op.keep_going,
                   "fehlerhafte Anlagen mit orv_error schreiben und weiterrechnen (Status 3)");
    add_threads(app, op.threads);
    add_text_options(app,
                     {{"--delimiter", &op.delimiter,
                       "Trennzeichen ; , oder tab des CSV-Registers (sonst das erste davon in der "
                       "Kopfzeile)",
                       "Z"},
                      {"--decimal", &op.decimal,
                       "Dezimalzeichen . oder , (Vorgabe , bei Trennzeichen ;, sonst .)", "Z"}});
}

} // namespace

// Registers `inventory` and its options.
command add_inventory(CLI::App& top) {
    auto op = std::make_shared<inventory_opts>();
    CLI::App* app = add_command(top, "inventory",
                                "Viele Anlagen: Gefahrenkarte und betroffene Objekte fuer jede "
                                "Anlage eines Registers");
    app->footer(footer);
    add_inputs(*app, *op);
    add_outputs(*app, *op);
    return {app, [op] { return run(*op); }};
}

} // namespace orv::cli
