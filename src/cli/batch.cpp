// orvalis batch: the intensities for every row of a CSV file.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>
#include <thread>

#include "base/number_text.h"
#include "batch/engine.h"
#include "cli/command.h"
#include "cli/german.h"
#include "cli/option_values.h"
#include "cli/shared_options.h"
#include "cli/site_options.h"
#include "csv/number.h"
#include "io/guard.h"
#include "io/os_error.h"
#include "io/output.h"
#include "io/progress.h"
#include "io/terminal.h"

namespace orv::cli {

namespace {

struct batch_opts {
    std::string file, out;
    site_text site;
    std::string levels, digits, delimiter, decimal, origin, azimuth, coords;
    std::string prefer;
    bool keep_going = false;
    bool summary = false;
};

using batch::batch_config;
using batch::batch_outcome;
using batch::failure;
using batch::row_counts;

// Reads --origin, --azimuth and --coords into c.
maybe_problem read_world(const batch_opts& o, batch_config& c) {
    if (o.origin.empty()) return std::nullopt;
    c.world = true;
    if (auto pr = read_point(o.origin, "--origin", c.frame.e0, c.frame.n0)) return pr;
    if (auto pr = read_finite(o.azimuth, "--azimuth", c.frame.azimuth)) return pr;
    return read_coords(o.coords, c.e_name, c.n_name);
}

// Reads every option into c.
maybe_problem read_options(const batch_opts& o, batch_config& c) {
    maybe_problem e = read_site(o.site, c.base);
    if (!e) e = read_levels(o.levels, c.lv);
    if (!e) e = read_count(o.digits, "--digits", 0, 30, c.digits);
    if (!e) e = read_char(o.delimiter, "--delimiter", ";,\t", c.delim);
    if (!e) e = read_char(o.decimal, "--decimal", ".,", c.dec);
    if (!e) e = read_world(o, c);
    if (e) return e;
    if (c.delim == ',' && c.dec == ',')
        return problem{exit_usage, "Trennzeichen und Dezimalzeichen sind beide ','"};
    const std::string* given[7] = {&o.site.h, &o.site.b, &o.site.vol, &o.site.s,
                                   &o.site.d, &o.site.x, &o.site.y};
    for (int k = 0; k < n_params; ++k) c.given[k] = !given[k]->empty();
    c.keep_going = o.keep_going;
    if (!o.prefer.empty() && o.prefer != "options")
        return problem{exit_bad_value, "Option --prefer: 'options' erwartet: " + o.prefer};
    c.prefer_options = !o.prefer.empty();
    return std::nullopt;
}

// The closing line of counts.
std::string summary(const row_counts& s) {
    uint64_t rows = s.invalid + s.blank + s.empty;
    for (uint64_t n : s.st) rows += n;
    std::string t = counted(rows, "Zeile", "Zeilen") + "; Status 0: " + std::to_string(s.st[0]);
    for (int k = 1; k < 6; ++k) t += ", " + std::to_string(k) + ": " + std::to_string(s.st[k]);
    t += "; ungueltig: " + std::to_string(s.invalid);
    t += "; leer: " + std::to_string(s.blank + s.empty);
    return t + " (Status 1 = zu nah an der Bresche; Status 1 bis 5: nicht berechnet, nicht "
               "\"keine Gefahr\")";
}

// What ended a run early, as a message and an exit status.
maybe_problem stop_problem(const batch_outcome& r, const std::string& in_name) {
    switch (r.stop) {
    case failure::none: return std::nullopt;
    case failure::bad_input: return problem{exit_bad_value, r.message};
    case failure::same_separators: return problem{exit_usage, r.message};
    case failure::unreadable:
        return problem{exit_bad_value, in_name + ": nicht lesbar: " + io::os_error(r.read_error, io::use::read)};
    }
    return std::nullopt;
}

// Runs the subcommand.
int run(const batch_opts& o) {
    const bool tty = io::is_terminal(2);
    io::progress_line say("orvalis batch", tty && !(o.out.empty() && io::same_terminal(1, 2)));
    batch_config c;
    if (auto e = read_options(o, c)) {
        say.message(e->text);
        return e->status;
    }
    // The input.
    int in = 0;
    if (!o.file.empty() && o.file != "-") {
        in = ::open(o.file.c_str(), O_RDONLY | O_CLOEXEC);
        if (in < 0) {
            say.message(o.file + ": nicht lesbar: " + io::os_error(errno, io::use::read));
            return exit_bad_value;
        }
        c.in_name = o.file;
    }
    io::output_set out;
    std::size_t id = 0;
    if (auto f = out.add("", o.out, io::way::stream, id); f || (f = out.stage())) {
        say.message(f->text);
        return output_problem(*f).status;
    }
    io::hold("early");
    c.in_fd = in;
    c.out_fd = out.fd(id);
    c.threaded = std::thread::hardware_concurrency() > 1;
    c.message = [&say](const std::string& m) { say.message(m); };
    c.progress = [&say](uint64_t rows) {
        io::hold("middle");
        say.tick(rows);
    };
    const batch_outcome r = batch::run_batch(c);
    if (in > 0) close(in);
    say.clear();
    if (r.write_error == EPIPE) return exit_ok;
    maybe_problem e = stop_problem(r, c.in_name);
    if (!e && r.write_error != 0) e = output_problem(out.write_failed(id, r.write_error));
    if (!e) io::hold("late");
    if (!e) {
        if (auto f = out.commit()) e = output_problem(*f);
    }
    if (e) {
        out.discard();
        say.message(e->text);
        return e->status;
    }
    if (tty || o.summary) say.message(summary(r.counts));
    return r.counts.invalid > 0 ? exit_invalid_rows : exit_ok;
}

} // namespace

// Registers `batch` and its options.
command add_batch(CLI::App& top) {
    auto op = std::make_shared<batch_opts>();
    CLI::App* app = add_command(top, "batch", "Intensitaeten fuer jede Zeile einer CSV-Datei");
    app->footer(
        "Die Eingabe ist CSV mit einer Kopfzeile. Spalten H, B, S, D, x, y (Gross- und\n"
        "Kleinschreibung wie angegeben) und Vol (beliebig) geben die Parameter der Zeile;\n"
        "fehlt eine Spalte, gilt die Option, sonst der Anfangswert. Spalte und Option fuer\n"
        "denselben Parameter sind ein Fehler, ausser mit --prefer options. Jede Zeile wird\n"
        "Byte fuer Byte ausgegeben, ergaenzt um q,v,h,he,status,level (mit --origin zuerst\n"
        "x_jet,y_jet). Status 0 heisst berechnet; 1 bis 4 sind die Warnungen des Rechners,\n"
        "5 heisst nicht unterhalb der Bresche: dann bleiben die Ergebnisse leer (nicht\n"
        "berechnet, nicht \"keine Gefahr\"). Eine leere Zeile bleibt leer, eine Zeile nur\n"
        "aus Trennzeichen bekommt leere Spalten dazu. Mit --keep-going wird eine ungueltige\n"
        "Zeile mit Status invalid ausgegeben, sonst endet der Lauf dort.\n"
        "Exit-Status: 0 Erfolg, 1 ungueltiger Wert in Datei oder Option oder Ausgabe\n"
        "nicht schreibbar, 2 fehlerhafter Aufruf, 3 ungueltige Zeilen mit --keep-going.");
    app->add_option("DATEI", op->file, "CSV-Datei; - oder keine fuer die Standardeingabe")
        ->type_name("");
    app->add_option("-o,--output", op->out,
                    "Ausgabedatei (sonst die Standardausgabe); erst bei Erfolg ersetzt")
        ->type_name("DATEI");
    add_site_options(*app, op->site);
    add_levels_option(*app, op->levels);
    app->add_option("--digits", op->digits,
                    "feste Anzahl (0 bis 30) Nachkommastellen der Ergebnisse")
        ->type_name("N");
    add_keep_going(
        *app, op->keep_going,
        "ungueltige Zeilen mit Status invalid ausgeben und weiterrechnen (Exit-Status 3)");
    add_prefer(*app, op->prefer,
               "options: eine Option gilt vor der gleichnamigen Spalte (sonst ist "
               "beides zusammen ein Fehler)");
    app->add_flag("--summary", op->summary,
                  "am Ende die Anzahl Zeilen je Status melden (auf einem Terminal immer)");
    app->add_option("--delimiter", op->delimiter,
                    "Trennzeichen ; , oder tab (sonst das erste davon in der Kopfzeile)")
        ->type_name("Z");
    app->add_option("--decimal", op->decimal,
                    "Dezimalzeichen . oder , (Vorgabe , bei Trennzeichen ;, sonst .)")
        ->type_name("Z");
    auto* origin = app->add_option("--origin", op->origin,
                                   "Weltkoordinaten der Bresche; die Punkte kommen dann aus den "
                                   "Spalten E und N")
                       ->type_name("E,N");
    auto* azimuth = app->add_option("--azimuth", op->azimuth,
                                    "Richtung des Strahls in Grad, im Uhrzeigersinn von Norden")
                        ->type_name("GRAD");
    auto* coords =
        app->add_option("--coords", op->coords, "Namen der Spalten E und N (Vorgabe E,N)")
            ->type_name("E,N");
    origin->needs(azimuth);
    azimuth->needs(origin);
    coords->needs(origin);
    origin->excludes(app->get_option("-x"));
    origin->excludes(app->get_option("-y"));
    return {app, [op] { return run(*op); }};
}

} // namespace orv::cli
