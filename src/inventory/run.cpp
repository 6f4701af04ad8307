// The run over a register: rows read in batches on the calling thread, the
// dams of a batch computed on all cores, one dam per thread, and written in
// the register's order; memory holds one batch and one map per thread.
#include "inventory/run.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>
#include <thread>

#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include "assess/judge.h"
#include "assess/output.h"
#include "assess/quiet.h"
#include "assess/run.h"
#include "assess/worst_points.h"
#include "base/workers.h"
#include "batch/columns.h"
#include "draw/style.h"
#include "geo/area.h"
#include "geo/context.h"
#include "geo/dataset_files.h"
#include "inventory/names.h"
#include "inventory/objects.h"
#include "inventory/objects_out.h"
#include "inventory/output.h"
#include "inventory/register_in.h"
#include "inventory/reports.h"
#include "inventory/zones.h"
#include "io/guard.h"
#include "io/os_error.h"
#include "io/output.h"
#include "io/path.h"
#include "report/build.h"
#include "report/hashes.h"
#include "style/outputs.h"
#include "vector/zones.h"

namespace orv::inventory {

namespace {

using io::extension;

// Rows per batch and thread: enough that a slow dam rarely idles the others.
constexpr std::size_t rows_per_thread = 8;

// The file name of path without directory and extension.
std::string stem(const std::string& path) {
    const auto slash = path.rfind('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = base.rfind('.');
    if (dot != std::string::npos && dot > 0) base.erase(dot);
    return base.empty() ? "anlagen" : base;
}

// A row of a batch: a dam, or an empty line kept for the CSV output.
struct item {
    dam_row d;
    bool blank = false;
    bool skip = false;         // another shard's row
    vector::zone_shapes zones; // with --zones
    std::string report;        // with --reports: the report's file name
    std::string report_failed; // why the report could not be written
    int report_err = 0;        // and the errno of a failed write
};

// What the optional outputs of every dam share.
struct extras {
    bool zones = false;
    std::string wkt;        // the site's system
    std::string report_dir; // the staged folder of the reports; empty for none
    const report_setup* setup = nullptr;
    const object_index* objs = nullptr; // the objects the reports judge
    // The longest orv_names the register's format holds whole: a dBASE text
    // field stops at 254 bytes, where its driver would cut a name in two.
    std::size_t names_bytes = names_limit;
};

// As in the assessment: without any coordinate system nothing checks the
// breach against the objects, and when none lies within the tables' reach
// a "no" could come from numbers of two systems.
bool unplaced(const object_index& objs, const dam_row& d) {
    if (objs.site_crs() || objs.size() == 0) return false;
    const double reach = assess::reach_of(make_site(d.res.p));
    return std::isfinite(reach) && !objs.any_within(d.site.g.e0, d.site.g.n0, reach);
}

// Computes dam d: its map, then its objects.
void compute(dam_row& d, const request& r, const object_index& objs, object_scratch& sc,
             std::size_t names_bytes) {
    if (!d.error.empty() || !d.located) {
        if (d.error.empty()) d.error = d.where + ": ohne Lage";
        return;
    }
    std::string why;
    if (!compute_map(d.site, r.rules, d.res, why)) {
        d.error = d.where + ": " + why;
        return;
    }
    const assess::frame f = assess::make_frame(make_site(d.res.p), r.rules.lv, d.site.g);
    // Every hit for --objects-out, else only those orv_names lists.
    const bool all_hits = !r.objects_out.empty();
    const object_counts c =
        objs.count(f, d.res, r.rules.from, sc, &d.hits, all_hits ? 0 : r.rules.from);
    d.res.names = join_names(endangered_names(d.hits, r.rules.from, objs), names_bytes);
    if (!all_hits) d.hits.clear();
    std::copy(c.level, c.level + 4, d.res.obj);
    d.res.open = c.open;
    bool yes = false;
    for (int k = std::max(r.rules.from, 0); k < 4; ++k) yes = yes || c.level[k] > 0;
    d.res.ans = yes ? answer::yes : c.open ? answer::open : answer::no;
    if (d.res.ans == answer::no && unplaced(objs, d)) d.res.ans = answer::open;
}

// The zones and the report of a computed dam, as asked for.
void add_extras(item& it, const request& r, const extras& x) {
    dam_row& d = it.d;
    if (!d.error.empty()) return;
    std::string why;
    if (x.zones && !dam_zones(d.site, d.res, r.rules, x.wkt, it.zones, why)) {
        d.error = d.where + ": " + why;
        return;
    }
    if (!x.report_dir.empty() &&
        !write_report(d, r.rules, *x.setup, *x.objs, x.report_dir + "/" + it.report, why, it.report_err))
        it.report_failed = why.empty() ? "nicht schreibbar" : why;
}

// A dam whose breach lies outside the site system's area of use is a row
// error: its numbers belong to another system.
void check_area(dam_row& d, const geo::area_check* area) {
    std::string why;
    if (!area || !d.error.empty() || !d.located || area->contains(d.e, d.n, why)) return;
    d.error = d.where + ": Bresche (E, N): " + why + "; Koordinaten und --crs pruefen";
}

// The formats of the outputs, checked before anything is read.
struct targets {
    bool csv_register = false, csv_out = false;
    std::string driver, objects_driver, zones_driver;
    std::string points_side; // the worst points' own file; empty when none or in --objects-out
};

// A problem of the run: how it ends and why; empty text for none.
struct stop_reason {
    ending end = ending::ok;
    std::string text;
    explicit operator bool() const { return !text.empty(); }
};

// The outputs' formats, and that none names an input (the register or an
// object source, or one of their files).
stop_reason check_targets(const request& r, targets& t) {
    std::string why;
    t.csv_register = is_csv_name(r.path);
    // A CSV register goes to standard output ("-") as CSV.
    t.csv_out = t.csv_register && (is_csv_name(r.out) || r.out == "-");
    if (!t.csv_out) {
        t.driver = assess::choose_driver(r.out, why);
        if (t.driver.empty()) return {ending::usage, "Option -o: " + why + ": " + r.out};
    }
    if (r.out.empty()) return {ending::usage, "Option -o: leerer Wert"};
    const auto names_input = [&](const char* opt, const std::string& path) -> stop_reason {
        if (path.empty()) return {};
        if (!geo::input_overwritten(path, {r.path}).empty())
            return {ending::usage, std::string("Option ") + opt + ": nennt das Register: " + path};
        if (const std::string p = geo::input_overwritten(path, r.objects.paths); !p.empty())
            return {ending::usage, std::string("Option ") + opt + ": nennt die Quelle " + p +
                                       " oder eine ihrer Dateien: " + path};
        if (!r.background.empty() && !geo::input_overwritten(path, {r.background}).empty())
            return {ending::usage,
                    std::string("Option ") + opt + ": nennt den Hintergrund: " + path};
        return {};
    };
    if (stop_reason s = names_input("-o", r.out)) return s;
    if (!r.objects_out.empty()) {
        t.objects_driver = assess::choose_driver(r.objects_out, why);
        if (t.objects_driver.empty())
            return {ending::usage, "Option --objects-out: " + why + ": " + r.objects_out};
        if (stop_reason s = names_input("--objects-out", r.objects_out)) return s;
        if (r.worst_points && !assess::holds_layers(t.objects_driver)) {
            t.points_side = assess::worst_points_path(r.objects_out);
            if (stop_reason s = names_input("--worst-points", t.points_side)) return s;
        }
    }
    if (!r.zones.empty()) {
        t.zones_driver = vector::choose_zone_driver(r.zones, why);
        if (t.zones_driver.empty())
            return {ending::usage, "Option --zones: " + why + ": " + r.zones};
        if (stop_reason s = names_input("--zones", r.zones)) return s;
    }
    return names_input("--reports", r.reports);
}

// Where each output is staged until all are put in place together.
struct staged {
    io::output_set outs;
    std::size_t out = 0, objects = 0, points = 0, zones = 0, reports = 0;
};

// Every target checked and staged before anything is computed.
stop_reason stage(const request& r, const targets& t, staged& s) {
    io::maybe_failure bad =
        s.outs.add("-o", r.out, t.csv_out ? io::way::stream : io::way::dataset, s.out);
    if (!bad && !r.objects_out.empty())
        bad = s.outs.add("--objects-out", r.objects_out, io::way::dataset, s.objects);
    if (!bad && !t.points_side.empty())
        bad = s.outs.add("--worst-points", t.points_side, io::way::dataset, s.points);
    if (!bad && !r.zones.empty()) bad = s.outs.add("--zones", r.zones, io::way::dataset, s.zones);
    if (!bad && !r.reports.empty())
        bad = s.outs.add("--reports", r.reports, io::way::folder, s.reports);
    if (!bad) bad = s.outs.stage();
    if (!bad) return {};
    return {bad->kind == io::fault::same_target ? ending::usage : ending::bad_input, bad->text};
}

// The WKT of the site's system, "" for none.
std::string site_wkt(const OGRSpatialReference* srs) {
    std::string s;
    char* wkt = nullptr;
    if (srs && srs->exportToWkt(&wkt) == OGRERR_NONE && wkt) s = wkt;
    CPLFree(wkt);
    return s;
}

// What the reports of the run share; false with why.
bool setup_reports(const request& r, const std::string& wkt, report_setup& setup,
                   std::string& why) {
    setup.src = r.objects;
    setup.label = r.label;
    setup.spacing = r.spacing;
    setup.keep_going = r.keep_going;
    setup.wkt = wkt;
    setup.html = r.reports_html;
    setup.command = r.command;
    setup.version = r.version;
    setup.date = r.date;
    setup.title = r.title;
    setup.author = r.author;
    setup.background = r.background;
    setup.opacity = r.opacity;
    // The files orvalis report hashes: the sources, then the background.
    report::request q;
    q.judge.src.paths = r.objects.paths;
    q.picture.background = r.background;
    return report::dataset_hashes(report::report_inputs(q), setup.hashes, why);
}

// Everything a run holds while it goes through the register.
struct run_parts {
    const request& r;
    outcome& o;
    register_in& in;
    const geo::area_check* area;
    const object_index& objs;
    std::vector<object_best>& best;
    dam_writer& w;
    vector::zone_layer& zones;
    const extras& x;
    report_names& names;
    unsigned threads;
    std::vector<object_scratch> scratch;
    bool skipped = false;
};

// The next batch of rows of this shard; false with why on a read error.
bool read_rows(run_parts& p, std::vector<item>& batch, std::size_t& dams, bool& more,
               std::string& why) {
    const request& r = p.r;
    batch.clear();
    dams = 0;
    while (dams < rows_per_thread * p.threads) {
        item it;
        if (!p.in.next(it.d, it.blank, why)) {
            more = false;
            return why.empty();
        }
        if (!it.blank) check_area(it.d, p.area);
        // An empty line stays in a whole run's CSV output; shards leave it out.
        if (it.blank && r.shards > 1) continue;
        if (!it.blank) {
            it.skip = (it.d.row - 1) % r.shards != r.shard - 1;
            if (it.skip) continue;
            ++dams;
            if (!r.reports.empty()) it.report = p.names.next(it.d.id);
        }
        batch.push_back(std::move(it));
    }
    return true;
}

// Writes one computed row and what it adds to the other outputs.
stop_reason write_row(run_parts& p, item& it) {
    const request& r = p.r;
    std::string why;
    if (it.blank) {
        if (!p.w.blank(it.d.rec, why)) return {ending::bad_input, "-o " + r.out + ": " + why};
        return {};
    }
    ++p.o.dams;
    if (!it.d.error.empty()) {
        if (!r.keep_going) return {ending::bad_input, it.d.error};
        if (r.warn) r.warn(it.d.error);
        ++p.o.errors;
        p.skipped = true;
    } else {
        ++p.o.answers[static_cast<int>(it.d.res.ans)];
        for (const object_hit& h : it.d.hits) p.best[h.obj].take(h, it.d.row, it.d.id);
        if (!it.report_failed.empty()) {
            const std::string file = r.reports + "/" + it.report;
            if (it.report_err != 0)
                return {ending::bad_input, "--reports " + file + ": nicht schreibbar: " +
                                               io::os_error(it.report_err, io::use::write)};
            return {ending::bad_input, "--reports " + file + ": " + it.report_failed};
        }
        if (p.x.zones &&
            !p.zones.add(it.zones, r.rules.lv, it.d.id, static_cast<std::int64_t>(it.d.row), why))
            return {ending::bad_input, "--zones " + r.zones + ": " + why};
    }
    if (!p.w.write(it.d, why)) return {ending::bad_input, "-o " + r.out + ": " + why};
    return {};
}

// The register batch by batch: read, computed on all threads, written in order.
stop_reason run_rows(run_parts& p) {
    const request& r = p.r;
    std::vector<item> batch;
    std::uint64_t done = 0;
    std::string why;
    for (bool more = true; more;) {
        std::size_t dams = 0;
        if (!read_rows(p, batch, dams, more, why))
            return {ending::bad_input, r.path + ": nicht lesbar: " + why};
        base::for_each(batch.size(),
                       std::min<std::size_t>(p.threads, std::max<std::size_t>(dams, 1)),
                       [&](unsigned t, std::size_t k) {
                           if (batch[k].blank) return;
                           compute(batch[k].d, r, p.objs, p.scratch[t], p.x.names_bytes);
                           add_extras(batch[k], r, p.x);
                       });
        for (item& it : batch)
            if (stop_reason s = write_row(p, it)) return s;
        done += dams;
        io::hold("middle");
        if (r.progress) r.progress(done, p.in.share());
    }
    return {};
}

} // namespace

bool is_csv_name(const std::string& path) {
    const std::string e = extension(path);
    return e == "csv" || e == "tsv" || e == "txt";
}

namespace {

// The objects of the run; an --objects-out format that holds one layer
// takes no more.
stop_reason load_objects(const request& r, const targets& t, object_index& objs) {
    std::string why;
    if (!objs.load(r.objects, r.label, r.spacing, r.keep_going, r.warn, why))
        return {ending::bad_input, why};
    if (!r.objects_out.empty() && objs.layers().size() > 1 &&
        !assess::holds_layers(t.objects_driver))
        return {ending::usage,
                "Option --objects-out: das Format " + t.objects_driver + " fasst nur eine Ebene, " +
                    std::to_string(objs.layers().size()) + " gewaehlt: " + r.objects_out};
    // In a file of many layers the worst points' layer needs its name to itself.
    if (r.worst_points && t.points_side.empty()) {
        for (const assess::layer_in& l : objs.layers()) {
            if (l.name == assess::worst_layer)
                return {ending::usage,
                        std::string("Option --worst-points: eine gewaehlte Ebene heisst schon ") +
                            assess::worst_layer + " (--layer waehlen): " + r.objects_out};
        }
    }
    return {};
}

// The writer of -o, begun with the register's header or layer.
stop_reason open_writer(const request& r, const targets& t, staged& st, const register_in& in,
                        const object_index& objs, std::unique_ptr<dam_writer>& w) {
    std::string why;
    // A CSV register in a typed format: its columns' types from a first pass.
    csv_columns cols;
    cols.dec = in.dec();
    if (!t.csv_out && t.csv_register &&
        !scan_column_types(r.path, in.delim(), in.dec(), in.header().fields.size(), cols.kinds,
                           why))
        return {ending::bad_input, r.path + ": " + why};
    w = t.csv_out
            ? csv_writer(st.outs.stream(st.out), in.delim(), in.dec())
            : vector_writer(st.outs.path(st.out), t.driver,
                            t.csv_register ? stem(r.path) : std::string(in.layer()->GetName()),
                            objs.site_crs(), why, std::move(cols));
    if (!w) return {ending::bad_input, "-o " + r.out + ": nicht schreibbar: " + why};
    if (!w->begin(t.csv_register ? &in.header() : nullptr, in.layer(), why))
        return {ending::bad_input, "-o " + r.out + ": " + why};
    return {};
}

// The zone layer and the reports' setup, where asked for.
stop_reason open_extras(const request& r, const targets& t, const staged& st,
                        const object_index& objs, vector::zone_layer& zones, report_setup& setup,
                        extras& x) {
    std::string why;
    if (t.driver == "ESRI Shapefile") x.names_bytes = 254;
    x.wkt = site_wkt(objs.site_crs());
    if (!r.zones.empty()) {
        x.zones = true;
        if (!zones.open(st.outs.path(st.zones), t.zones_driver, x.wkt, true, why))
            return {ending::bad_input, "--zones " + r.zones + ": " + why};
    }
    if (!r.reports.empty()) {
        if (!setup_reports(r, x.wkt, setup, why)) return {ending::bad_input, why};
        x.report_dir = st.outs.path(st.reports);
        x.setup = &setup;
        x.objs = &objs;
    }
    return {};
}

// The styles of --objects-out and of the worst points beside it, each
// file read back complete first.
stop_reason style_objects(const request& r, const targets& t, staged& st,
                          const map::object_colours& colours) {
    if (r.objects_out.empty()) return {};
    std::string why;
    const style::object_look look{r.rules.lv, colours, r.label};
    io::maybe_failure bad = st.outs.check_written(st.objects);
    if (!bad && !t.points_side.empty()) bad = st.outs.check_written(st.points);
    if (bad) return {ending::bad_input, bad->text};
    if (!style::style_objects_file(st.outs.path(st.objects), look, why))
        return {ending::bad_input, "--objects-out " + r.objects_out + ": " + why};
    if (!t.points_side.empty() &&
        !style::style_worst_points_file(st.outs.path(st.points), look, why))
        return {ending::bad_input, "--worst-points " + t.points_side + ": " + why};
    return {};
}

// Completes -o, the objects with their highest level and the zones, then
// puts every output in place.
stop_reason finish_outputs(const request& r, const targets& t, staged& st, const outcome& o,
                           const object_index& objs, const std::vector<object_best>& best,
                           dam_writer& w, vector::zone_layer& zones, const extras& x) {
    std::string why;
    if (!w.finish(why)) return {ending::bad_input, "-o " + r.out + ": nicht schreibbar: " + why};
    const std::string points = !r.worst_points         ? std::string()
                               : t.points_side.empty() ? st.outs.path(st.objects)
                                                       : st.outs.path(st.points);
    const map::object_colours colours = draw::object_colours();
    if (io::maybe_failure bad = t.csv_out ? std::nullopt : st.outs.check_written(st.out))
        return {ending::bad_input, bad->text};
    if (!t.csv_out && !style::style_register_file(st.outs.path(st.out), colours, why))
        return {ending::bad_input, "-o " + r.out + ": " + why};
    if (!r.objects_out.empty() &&
        !write_objects(st.outs.path(st.objects), t.objects_driver, objs, best,
                       o.answers[0] + o.answers[1] + o.answers[2], points, why))
        return {ending::bad_input, "--objects-out " + r.objects_out + ": " + why};
    if (stop_reason s = style_objects(r, t, st, colours)) return s;
    if (x.zones && !zones.finish(r.rules.lv, draw::zone_colours(), why))
        return {ending::bad_input, "--zones " + r.zones + ": " + why};
    io::hold("late");
    if (io::maybe_failure bad = st.outs.commit()) return {ending::bad_input, bad->text};
    return {};
}

} // namespace

outcome run(const request& r) {
    outcome o;
    auto stop = [&](const stop_reason& s) {
        o.end = s.end;
        o.message = s.text;
        return o;
    };
    geo::register_drivers();
    std::string why;
    targets t;
    object_index objs;
    if (stop_reason s = check_targets(r, t)) return stop(s);
    if (stop_reason s = load_objects(r, t, objs)) return stop(s);
    std::vector<object_best> best(r.objects_out.empty() ? 0 : objs.size());
    o.objects = objs.size();
    register_in in(r);
    if (!in.open(objs.site_crs(), why)) return stop({ending::bad_input, why});
    std::unique_ptr<geo::area_check> area;
    if (objs.site_crs()) area = std::make_unique<geo::area_check>(*objs.site_crs());
    staged st;
    if (stop_reason s = stage(r, t, st)) return stop(s);
    io::hold("early");
    std::unique_ptr<dam_writer> w;
    if (stop_reason s = open_writer(r, t, st, in, objs, w)) return stop(s);
    extras x;
    vector::zone_layer zones;
    report_setup setup;
    report_names names(r.reports_html ? ".html" : ".pdf");
    if (stop_reason s = open_extras(r, t, st, objs, zones, setup, x)) return stop(s);
    const unsigned threads =
        r.threads ? r.threads : std::max(1u, std::thread::hardware_concurrency());
    run_parts p{r,  o,     in, area.get(), objs,    best,
                *w, zones, x,  names,      threads, std::vector<object_scratch>(threads)};
    if (stop_reason s = run_rows(p)) return stop(s);
    if (stop_reason s = finish_outputs(r, t, st, o, objs, best, *w, zones, x)) return stop(s);
    o.end = p.skipped || objs.skipped() ? ending::skipped : ending::ok;
    return o;
}

} // namespace orv::inventory
