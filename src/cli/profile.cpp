// orvalis profile: q, v, h and he along a line parallel to the jet, as a
// picture of four panels or as CSV.
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "base/number_text.h"
#include "base/steps.h"
#include "cli/command.h"
#include "cli/german.h"
#include "cli/grid_options.h"
#include "cli/option_values.h"
#include "cli/site_options.h"
#include "draw/canvas.h"
#include "draw/profile_picture.h"
#include "map/extent.h"
#include "map/outfile.h"
#include "model/grid.h"
#include "model/point.h"

namespace orv::cli {

namespace {

// Most samples of a profile.
constexpr double max_samples = 1000000;

// Samples of an automatic profile.
constexpr double auto_samples = 1000;

struct profile_opts {
    site_text site;
    std::string y, levels, x, step, out, width, height;
    bool csv = false;
    bool correct = false;
};

// Reports a problem and gives its status.
int fail(const problem& p) {
    std::fprintf(stderr, "orvalis profile: %s\n", p.text.c_str());
    return p.status;
}

// One CSV row: x, y, the results (empty without a result), status, level.
std::string csv_row(real x, real y, int32_t st, const intensity& r, int level) {
    std::string s = write_real(x) + "," + write_real(y);
    for (real v : {r.q, r.v, r.h, r.he}) s += "," + (st == 0 ? write_real(v) : std::string());
    s += "," + std::to_string(st) + "," + (level < 0 ? std::string() : std::to_string(level));
    return s + "\n";
}

// Reads the options, samples the line and writes the picture or the CSV.
int run(const profile_opts& op) {
    params p;
    levels lv;
    std::optional<map::range> xr;
    std::optional<double> step;
    std::optional<draw::picture_format> format;
    if (!op.csv) {
        if (op.out.empty()) return fail({exit_usage, "-o DATEI oder --csv angeben"});
        format = draw::format_of(op.out);
        if (!format)
            return fail({exit_usage, "Option -o: Endung .png, .svg oder .pdf erwartet: " + op.out});
    }
    int width = 0, height = 0;
    if (format)
        width = draw::default_size(*format).width, height = draw::default_size(*format).height;
    maybe_problem e = read_site(op.site, p);
    if (!e && !op.y.empty()) {
        site_text t;
        t.y = op.y;
        e = read_site(t, p);
    }
    if (!e) e = read_levels(op.levels, lv);
    if (!e) e = read_range(op.x, "--x", xr);
    if (!e) e = read_size(op.step, "--step", step);
    if (!e) e = read_count(op.width, "--width", draw::min_side, draw::max_side, width);
    if (!e) e = read_count(op.height, "--height", draw::min_side, draw::max_side, height);
    std::string note;
    if (!e) e = check_slope(p, op.correct, note);
    if (e) return fail(*e);
    if (!note.empty()) std::fprintf(stderr, "orvalis profile: %s\n", note.c_str());
    const site s = make_site(p);
    if (!xr) {
        const auto t = map::find_table_range(s);
        if (!t)
            return fail({exit_bad_value, "Bereich nicht aus dem Standort bestimmbar; --x angeben"});
        xr = map::range{0, t->far * 1.03};
    }
    if (!step) step = step_nearest((xr->max - xr->min) / auto_samples);
    const double n = std::floor((xr->max - xr->min) / *step + 1e-9) + 1;
    if (!(n <= max_samples))
        return fail(
            {exit_bad_value, "zu viele Punkte (hoechstens 1000000); --step groesser waehlen"});

    // Sample k at MIN + k * STEP, formed in double and rounded once.
    draw::profile_view v{p, !note.empty(), lv, std::fabs(p.y1), *step, {}, {}, {}};
    const auto count = static_cast<std::size_t>(n);
    v.xs.resize(count);
    v.st.resize(count);
    v.res.resize(count);
    for (std::size_t k = 0; k < count; ++k)
        v.xs[k] = static_cast<real>(xr->min + static_cast<double>(k) * *step);
    for (std::size_t k = 0; k < count; ++k) {
        const point_result r = evaluate(s, v.xs[k], v.y);
        v.st[k] = r.st;
        v.res[k] = r.res;
    }

    std::string why;
    map::staged_file file;
    std::FILE* to = stdout;
    if (!op.out.empty()) {
        if (!file.open(op.out, why))
            return fail({exit_bad_value, "-o " + op.out + ": nicht schreibbar: " + why});
        to = file.stream();
    }
    bool ok = true;
    if (op.csv) {
        std::string text = "x,y,q,v,h,he,status,level\n";
        for (std::size_t k = 0; k < count; ++k) {
            text += csv_row(v.xs[k], p.y1, v.st[k], v.res[k], danger_level(v.st[k], v.res[k], lv));
            if (text.size() > 65536 || k + 1 == count) {
                ok = ok && std::fwrite(text.data(), 1, text.size(), to) == text.size();
                text.clear();
            }
        }
        ok = ok && std::fflush(to) == 0;
        if (!ok && op.out.empty()) return fail({exit_bad_value, "Ausgabe nicht schreibbar"});
        if (!ok) why = "Schreibfehler";
    } else {
        ok = draw::render(
            *format, width, height, to,
            [&](cairo_t* cr) { draw::draw_profile(cr, width, height, v); }, why);
    }
    if (!op.out.empty() && (!ok || !file.commit(why)))
        return fail({exit_bad_value, "-o " + op.out + ": nicht schreibbar: " + why});
    return exit_ok;
}

} // namespace

// Registers `profile` and its options.
command add_profile(CLI::App& top) {
    auto op = std::make_shared<profile_opts>();
    CLI::App* app = add_command(top, "profile",
                                "Laengsprofil von q, v, h und he entlang des "
                                "Strahls: Bild oder CSV");
    add_site_options(*app, op->site, false);
    app->add_option("-y", op->y, "Abstand von der Mittellinie in m (Vorgabe 0)")->type_name("ZAHL");
    add_levels_option(*app, op->levels);
    app->add_option("--x", op->x,
                    "Bereich entlang des Strahls in m (Vorgabe: von 0 bis knapp "
                    "hinter das Ende der Tabellen)")
        ->type_name("MIN:MAX");
    app->add_option("--step", op->step,
                    "Abstand der Punkte in m (Vorgabe: etwa 1000 Punkte, 1, 2 "
                    "oder 5 mal eine Zehnerpotenz)")
        ->type_name("DX");
    app->add_option("-o", op->out,
                    "Bild (.png, .svg, .pdf) oder mit --csv die CSV-Datei "
                    "(Vorgabe mit --csv: Standardausgabe)")
        ->type_name("DATEI");
    app->add_flag("--csv", op->csv, "die Punkte als CSV schreiben statt eines Bildes");
    app->add_option("--width", op->width, "Bildbreite (Vorgabe 1200 Bildpunkte bzw. 842 Punkte)")
        ->type_name("N");
    app->add_option("--height", op->height, "Bildhoehe (Vorgabe 800 bzw. 595)")->type_name("N");
    app->add_flag("--correct", op->correct,
                  "ein Gefaelle ausserhalb der Tabellen korrigieren statt abzulehnen");
    return {app, [op] { return run(*op); }};
}

} // namespace orv::cli
