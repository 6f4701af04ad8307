// orvalis point: the intensities, status and danger level at one point.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "base/number_text.h"
#include "cli/command.h"
#include "cli/german.h"
#include "cli/option_values.h"
#include "cli/site_options.h"
#include "csv/results.h"
#include "io/guard.h"
#include "io/os_error.h"
#include "model/intensity.h"
#include "model/level.h"
#include "model/params.h"
#include "model/point.h"
#include "model/status_text.h"

namespace orv::cli {

namespace {

// Most correction rounds of --correct.
constexpr int max_rounds = 4;

struct point_opts {
    site_text site;
    std::string levels;
    bool csv = false;
    bool correct = false;
    std::string digits;
};

// One computation at (x1, |y1|) of p; status 5 below the breach.
intensity_outcome compute(const params& p) {
    if (p.x1 <= 0) return {not_downstream, no_result(), 0};
    params a = p;
    a.y1 = std::fabs(p.y1);
    intensity_outcome o = compute_intensity(a);
    if (o.st != 0) o.res = no_result();
    return o;
}

// A value for a person to read: the shortest text that reads back as the
// computed Real, or fixed decimals.
std::string shown(real v, int digits) {
    return write_real(v, '.', digits);
}

// The value the calculator would store after warning o for p, as text.
std::string correction(const params& p, const intensity_outcome& o) {
    params c = p;
    correct_params(c, o);
    if (o.st == 1 || o.st == 2) return "x = " + shown(c.x1, -1) + " m";
    return "S = " + shown(c.slp, -1) + " %";
}

// Writes s to standard output.
void out(const std::string& s) {
    std::fwrite(s.data(), 1, s.size(), stdout);
}

// A labelled line of the text report.
std::string line(const char* label, const std::string& value) {
    return std::string(" >") + label + value + "\n";
}

// The text report of the final outcome o at p.
std::string text_report(int digits, const params& p, const intensity_outcome& o, int level,
                        bool used) {
    std::string s;
    if (used) {
        s += line("verwendet:            ",
                  "x = " + shown(p.x1, -1) + " m, S = " + shown(p.slp, -1) + " %");
    }
    if (o.st == 0) {
        s += line("spezifischer Abfluss : ", shown(o.res.q, digits) + " m2/s");
        s += line("Fliessgeschwindigkeit: ", shown(o.res.v, digits) + " m/s");
        s += line("Abflusstiefe:          ", shown(o.res.h, digits) + " m");
        s += line("Energiehoehe:          ", shown(o.res.he, digits) + " m");
    }
    s += line("Status:                ", std::to_string(o.st));
    s += line("Gefahrenstufe:         ", level < 0 ? "keine" : std::to_string(level));
    return s;
}

// The CSV header and row of the final outcome o at p (given: the parameters
// as given, before any correction).
std::string csv_report(const point_opts& op, int digits, const params& given, const params& p,
                       const intensity_outcome& o, int level) {
    std::string h = param_names(0, n_params, ",");
    std::string r;
    for (int k = 0; k < n_params; ++k)
        r += (k ? "," : "") + write_real(given.*param_table[k].member);
    if (op.correct) {
        h += ",x_used,S_used";
        r += "," + write_real(p.x1) + "," + write_real(p.slp);
    }
    char buf[csv::max_results_len];
    h.append(buf, csv::put_result_names(buf, ','));
    r.append(buf, csv::put_results(buf, ',', '.', digits, o.st, o.res, level));
    return h + "\n" + r + "\n";
}

// Runs the subcommand.
int run(const point_opts& op) {
    params p;
    levels lv;
    int digits = -1;
    maybe_problem e = read_site(op.site, p);
    if (!e) e = read_levels(op.levels, lv);
    if (!e) e = read_count(op.digits, "--digits", 0, 30, digits);
    if (!e && io::stdout_was_closed()) e = problem{exit_bad_value, "Standardausgabe geschlossen"};
    if (e) {
        std::fprintf(stderr, "orvalis point: %s\n", e->text.c_str());
        return e->status;
    }
    io::hold("early");
    const params given = p;
    intensity_outcome o = compute(p);
    std::string warnings;
    for (int round = 0; o.st >= 1 && o.st <= 4; ++round) {
        warnings += std::string(" ") + status_text(o.st) + "\n";
        warnings += " korrigierter Wert: " + correction(p, o) + "\n";
        if (!op.correct || round == max_rounds) break;
        params c = p;
        correct_params(c, o);
        if (c.x1 == p.x1 && c.slp == p.slp) break;
        p = c;
        o = compute(p);
    }
    if (o.st == not_downstream) warnings += std::string(" ") + status_text(o.st) + "\n";
    const int level = danger_level(o.st, o.res, lv);
    io::hold("middle");
    io::hold("late");
    if (op.csv) {
        out(csv_report(op, digits, given, p, o, level));
        // Warnings go to standard error, so the CSV stays one header and one row.
        std::fputs(warnings.c_str(), stderr);
    } else {
        out(warnings + text_report(digits, p, o, level, op.correct));
    }
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "orvalis point: Standardausgabe: nicht schreibbar: %s\n",
                     io::os_error(errno).c_str());
        return exit_bad_value;
    }
    return op.correct && o.st != 0 ? exit_bad_value : exit_ok;
}

} // namespace

// Registers `point` and its options.
command add_point(CLI::App& top) {
    auto op = std::make_shared<point_opts>();
    CLI::App* app = add_command(top, "point", "Intensitaeten an einem Punkt");
    add_site_options(*app, op->site);
    add_levels_option(*app, op->levels);
    app->add_flag("--csv", op->csv, "eine CSV-Kopfzeile und eine Zeile ausgeben");
    app->add_flag("--correct", op->correct,
                  "nach einer Warnung mit den korrigierten Werten neu rechnen (hoechstens 4 Mal)");
    app->add_option("--digits", op->digits,
                    "feste Anzahl (0 bis 30) Nachkommastellen der Ergebnisse")
        ->type_name("N");
    return {app, [op] { return run(*op); }};
}

} // namespace orv::cli
