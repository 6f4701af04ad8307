// orvalis profile: q, v, h and he along a line parallel to the jet, as a
// picture of four panels or as CSV.
#include <cerrno>
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
#include "cli/shared_options.h"
#include "cli/site_options.h"
#include "csv/results.h"
#include "draw/canvas.h"
#include "draw/profile_picture.h"
#include "io/guard.h"
#include "io/output.h"
#include "map/extent.h"
#include "map/run.h"
#include "model/level.h"

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

// Writes the samples as CSV rows (x as computed, y as given) to f; the
// errno of a failed write, or 0.
int write_csv(std::FILE* f, const map::profile_samples& v, real y, const levels& lv) {
    std::string text = "x,y,q,v,h,he,status,level\n";
    char buf[csv::max_results_len];
    for (std::size_t k = 0; k < v.xs.size(); ++k) {
        text += write_real(v.xs[k]) + "," + write_real(y);
        const int level = danger_level(v.st[k], v.res[k], lv);
        text.append(buf, csv::put_results(buf, ',', '.', -1, v.st[k], v.res[k], level));
        text += "\n";
        if (text.size() > 65536 || k + 1 == v.xs.size()) {
            if (std::fwrite(text.data(), 1, text.size(), f) != text.size())
                return errno ? errno : EIO;
            text.clear();
        }
    }
    return std::fflush(f) == 0 ? 0 : errno;
}

// Everything read from the options, ready to sample.
struct profile_plan {
    params p;
    levels lv;
    std::optional<map::range> xr;
    std::optional<double> step;
    std::optional<draw::picture_format> format;
    int width = 0, height = 0;
    std::string note;
};

// Reads the options: the format first (usage errors, status 2), then the values.
maybe_problem plan(const profile_opts& op, profile_plan& m) {
    if (!op.csv) {
        if (op.out.empty()) return problem{exit_usage, "-o DATEI oder --csv angeben"};
        m.format = draw::format_of(op.out);
        if (!m.format)
            return problem{exit_usage,
                           "Option -o: Endung .png, .svg oder .pdf erwartet: " + op.out};
    }
    if (m.format)
        m.width = draw::default_size(*m.format).width,
        m.height = draw::default_size(*m.format).height;
    maybe_problem e = read_site(op.site, m.p);
    if (!e && !op.y.empty()) {
        site_text t;
        t.y = op.y;
        e = read_site(t, m.p);
    }
    if (!e) e = read_levels(op.levels, m.lv);
    if (!e) e = read_range(op.x, "--x", m.xr);
    if (!e) e = read_size(op.step, "--step", m.step);
    if (!e) e = read_count(op.width, "--width", draw::min_side, draw::max_side, m.width);
    if (!e) e = read_count(op.height, "--height", draw::min_side, draw::max_side, m.height);
    if (!e) e = check_slope(m.p, op.correct, m.note);
    return e;
}

// Reads the options, samples the line and writes the picture or the CSV.
int run(const profile_opts& op) {
    profile_plan m;
    if (maybe_problem e = plan(op, m)) return fail(*e);
    if (!m.note.empty()) std::fprintf(stderr, "orvalis profile: %s\n", m.note.c_str());
    const site s = make_site(m.p);
    if (!m.xr) m.xr = map::profile_range(s);
    if (!m.xr)
        return fail({exit_bad_value, "Bereich nicht aus dem Standort bestimmbar; --x angeben"});
    if (!m.step) m.step = step_nearest((m.xr->max - m.xr->min) / auto_samples);
    if (!(map::profile_count(*m.xr, *m.step) <= max_samples))
        return fail(
            {exit_bad_value, "zu viele Punkte (hoechstens 1000000); --step groesser waehlen"});

    // The output is checked and staged before anything is computed.
    io::output_set outs;
    std::size_t id = 0;
    const io::way way = op.csv ? io::way::stream : io::way::file;
    if (auto f = outs.add(op.out.empty() ? "" : "-o", op.out, way, id); f || (f = outs.stage()))
        return fail(output_problem(*f));
    io::hold("early");
    const map::profile_samples v = map::sample_profile(s, *m.xr, *m.step, std::fabs(m.p.y1));
    io::hold("middle");
    std::string why;
    if (op.csv) {
        if (const int err = write_csv(outs.stream(id), v, m.p.y1, m.lv))
            return fail(output_problem(outs.write_failed(id, err)));
    } else {
        const draw::profile_view pv{m.p, !m.note.empty(), m.lv, v.y, *m.step, v.xs, v.st, v.res};
        if (!draw::render(
                *m.format, m.width, m.height, outs.stream(id),
                [&](cairo_t* cr) { draw::draw_profile(cr, m.width, m.height, pv); }, why))
            return fail({exit_bad_value, "-o " + op.out + ": nicht schreibbar: " + why});
    }
    io::hold("late");
    if (auto f = outs.commit()) return fail(output_problem(*f));
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
    add_text_options(*app,
                     {{"--x", &op->x,
                       "Bereich entlang des Strahls in m (Vorgabe: von 0 bis knapp hinter das "
                       "Ende der Tabellen)",
                       "MIN:MAX"},
                      {"--step", &op->step,
                       "Abstand der Punkte in m (Vorgabe: etwa 1000 Punkte, 1, 2 oder 5 mal eine "
                       "Zehnerpotenz)",
                       "DX"},
                      {"-o", &op->out,
                       "Bild (.png, .svg, .pdf) oder mit --csv die CSV-Datei (Vorgabe mit --csv: "
                       "Standardausgabe)",
                       "DATEI"}});
    app->add_flag("--csv", op->csv, "die Punkte als CSV schreiben statt eines Bildes");
    app->add_option("--width", op->width, "Bildbreite (Vorgabe 1200 Bildpunkte bzw. 842 Punkte)")
        ->type_name("N");
    app->add_option("--height", op->height, "Bildhoehe (Vorgabe 800 bzw. 595)")->type_name("N");
    add_correct(*app, op->correct);
    return {app, [op] { return run(*op); }};
}

} // namespace orv::cli
