// The assessment: features read in batches on the calling thread, judged
// on all cores, written in their input order.
#include "assess/run.h"

#include <algorithm>
#include <memory>
#include <thread>

#include <ogrsf_frmts.h>

#include "assess/labels.h"
#include "assess/nearest.h"
#include "assess/output.h"
#include "assess/read_feature.h"
#include "assess/worst_points.h"
#include "base/workers.h"
#include "geo/area.h"
#include "geo/dataset_files.h"
#include "geo/handles.h"
#include "io/guard.h"
#include "map/extent.h"

namespace orv::assess {

namespace {

// Features per batch, and the vertices after which a batch ends early.
constexpr std::size_t batch_features = 512;
constexpr std::size_t batch_vertices = 1 << 20;

// One feature on its way through the run.
struct item {
    geo::feature_handle f;
    std::vector<part> parts;
    std::string error; // why its geometry could not be read
    verdict v;
};

using batch = std::vector<item>;

// Reads the next features of l into b; empty at the end of the layer. A
// layer that ends on a failure leaves why set; last is the id of the last
// feature read.
void read_batch(const layer_in& l, double spacing, batch& b, std::string& why, std::int64_t& last) {
    b.clear();
    std::size_t vertices = 0;
    while (b.size() < batch_features && vertices < batch_vertices) {
        item it;
        OGRFeature* f = nullptr;
        const bool more = next_feature(l, spacing, f, it.parts, it.error);
        it.f.reset(f);
        if (!more) {
            why = it.error;
            break;
        }
        last = f->GetFID();
        for (const part& p : it.parts) {
            for (const auto& ring : p.rings) vertices += ring.size();
        }
        b.push_back(std::move(it));
    }
}

// Judges every readable feature of b on threads threads, each taking the
// next feature as it becomes free; lattice points found before are read
// from the cache the threads share.
void judge_batch(batch& b, const frame& fr, lattice_cache& cache, double spacing,
                 unsigned threads) {
    // One sample buffer per worker, each of them taking the next feature.
    std::vector<std::vector<xy>> bufs(std::max(1u, threads));
    base::for_each(b.size(), threads, [&](unsigned w, std::size_t k) {
        item& it = b[k];
        if (!it.error.empty()) return;
        std::vector<xy>& buf = bufs[w];
        buf.reserve(sampler::chunk);
        judge j(fr, &cache);
        sampler s(spacing, j, buf);
        sample_parts(it.parts, s);
        it.v = j.result();
    });
}

// Output layer names: the input's, "_2", "_3" ... for repeated ones.
std::vector<std::string> output_names(const std::vector<layer_in>& layers) {
    std::vector<std::string> names;
    for (const layer_in& l : layers) {
        std::string n = l.name;
        for (int k = 2; std::find(names.begin(), names.end(), n) != names.end(); ++k)
            n = l.name + "_" + std::to_string(k);
        names.push_back(n);
    }
    return names;
}

// Endangered features by level (descending), then x, then input order.
void sort_endangered(std::vector<listed>& v) {
    std::sort(v.begin(), v.end(), [](const listed& a, const listed& b) {
        if (a.level != b.level) return a.level > b.level;
        if (a.x != b.x) return a.x < b.x;
        return a.order < b.order;
    });
}

// Puts a judged feature into its layer's figures; each list holds at most
// keep features (0: all), the endangered ones the first in their order.
void count(layer_summary& s, const item& it, int label_field, const request& r) {
    const verdict& v = it.v;
    listed e;
    e.fid = it.f->GetFID();
    e.order = s.features++;
    if (label_field >= 0 && it.f->IsFieldSetAndNotNull(label_field))
        e.label = it.f->GetFieldAsString(label_field);
    else
        e.label = std::to_string(e.fid);
    e.level = v.level;
    e.statuses = v.statuses;
    e.failed = v.failed;
    e.st = v.st;
    ++s.states[static_cast<int>(v.st)];
    if (v.level != no_level) ++s.levels[v.level];
    auto room = [&](const std::vector<listed>& l) { return r.keep == 0 || l.size() < r.keep; };
    if (v.level != no_level && v.level >= r.from) {
        ++s.n_endangered;
        e.crit = criterion(v, r.lv);
        e.h = v.worst.h;
        e.q = v.worst.q;
        e.x = v.x;
        e.east = v.east;
        e.north = v.north;
        s.endangered.push_back(std::move(e));
        if (r.keep != 0 && s.endangered.size() >= 2 * r.keep) {
            sort_endangered(s.endangered);
            s.endangered.resize(r.keep);
        }
    } else if (is_open(v, r.from)) {
        ++s.n_open;
        if (room(s.open)) s.open.push_back(std::move(e));
    } else if (v.level == no_level) {
        ++s.n_settled;
        if (room(s.settled)) s.settled.push_back(std::move(e));
    }
}


// The breach must lie in the site system's area of use, else its numbers
// belong to another system; empty when it does or nothing can be said.
std::string breach_out_of_area(const sources& in, const map::georef& g) {
    std::string why;
    const OGRSpatialReference* site = in.site_crs();
    if (!site || geo::point_in_area(*site, g.e0, g.n0, why)) return {};
    return "Bresche (--origin): " + why + "; --origin und --crs pruefen";
}

std::string where(const layer_in& l, const OGRFeature& f) {
    return l.path + ", Ebene " + l.name + ", Objekt " + std::to_string(f.GetFID());
}

// What the layers of one run share on their way through it.
struct run_state {
    const request& r;
    outcome& o;
    layer_writer& w;
    frame fr;
    lattice_cache& cache; // the run's lattice points, shared by its layers
    unsigned threads;
    bool skipped = false;
};

// One layer's place in the run: its input, index, output name and label field.
struct layer_job {
    const layer_in& l;
    std::size_t index;
    const std::string& name;
    int label_field;
    layer_summary sum;
};

// Stops the run with e and msg; false, for returning at once.
bool fail(outcome& o, ending e, std::string msg) {
    o.end = e;
    o.message = std::move(msg);
    return false;
}

// The judged features of b counted, told and written; an unreadable one
// stops the run unless keep_going.
bool finish_batch(run_state& st, layer_job& job, batch& b) {
    const request& r = st.r;
    std::string why;
    if (!b.empty()) io::hold("middle");
    for (item& it : b) {
        if (!it.error.empty()) {
            const std::string msg = where(job.l, *it.f) + ": " + it.error;
            if (!r.keep_going) return fail(st.o, ending::bad_input, msg);
            if (r.warn) r.warn(msg);
            it.v = verdict{};
            it.v.st = state::none;
            it.v.failed = true;
            st.skipped = true;
        }
        st.o.samples += it.v.n;
        st.o.nearest = std::min(st.o.nearest, distance_to(it.parts, {r.g.e0, r.g.n0}));
        count(job.sum, it, job.label_field, r);
        if (r.each) r.each(job.index, *it.f, it.parts, it.v);
        if (!r.out.empty() && !st.w.write(*it.f, it.v, r.lv, r.from, why))
            return fail(st.o, ending::bad_input,
                        "-o " + r.out + ", Ebene " + job.name + ": " + why);
    }
    return true;
}

// Reads, judges and writes one layer: while one batch is judged, the one
// before is written and the next read. A file that stops being readable
// loses an unknown number of objects: the run stops, also with keep_going.
bool judge_layer(run_state& st, layer_job& job) {
    const request& r = st.r;
    const layer_in& l = job.l;
    std::string broken;
    std::int64_t last = -1;
    auto lost = [&] {
        return fail(st.o, ending::bad_input,
                    l.path + ", Ebene " + l.name +
                        (last < 0 ? std::string(", vor dem ersten Objekt")
                                  : ", nach Objekt " + std::to_string(last)) +
                        ": " + broken);
    };
    l.layer->ResetReading();
    batch cur, prev, next;
    read_batch(l, r.spacing, cur, broken, last);
    if (!broken.empty()) return lost();
    while (!cur.empty()) {
        bool ok = false;
        base::alongside([&] { judge_batch(cur, st.fr, st.cache, r.spacing, st.threads); },
                        [&] {
                            ok = finish_batch(st, job, prev);
                            if (ok) read_batch(l, r.spacing, next, broken, last);
                        });
        if (!ok) return false;
        if (!broken.empty()) return lost();
        prev = std::move(cur);
        cur = std::move(next);
        next = batch{};
    }
    if (!finish_batch(st, job, prev)) return false;
    sort_endangered(job.sum.endangered);
    if (r.keep != 0 && job.sum.endangered.size() > r.keep) job.sum.endangered.resize(r.keep);
    return true;
}

// The output's format, and that it names no source; false with the problem in o.
bool check_output(const request& r, std::string& driver, outcome& o) {
    if (r.out.empty()) return true;
    std::string why;
    driver = choose_driver(r.out, why);
    if (driver.empty()) return fail(o, ending::usage, "Option -o: " + why + ": " + r.out);
    if (const std::string p = geo::input_overwritten(r.out, r.src.paths); !p.empty())
        return fail(o, ending::usage,
                    "Option -o: nennt die Quelle " + p + " oder eine ihrer Dateien: " + r.out);
    if (!r.worst_points || holds_layers(driver)) return true;
    const std::string side = worst_points_path(r.out);
    if (const std::string p = geo::input_overwritten(side, r.src.paths); !p.empty())
        return fail(o, ending::usage,
                    "Option --worst-points: nennt die Quelle " + p +
                        " oder eine ihrer Dateien: " + side);
    return true;
}

// In a file of many layers the worst points' layer needs its name to itself.
bool check_points_name(const request& r, const std::string& driver,
                       const std::vector<std::string>& names, outcome& o) {
    if (!r.worst_points || r.out.empty() || !holds_layers(driver) ||
        std::find(names.begin(), names.end(), worst_layer) == names.end())
        return true;
    return fail(o, ending::usage,
                std::string("Option --worst-points: eine gewaehlte Ebene heisst schon ") +
                    worst_layer + " (--layer waehlen): " + r.out);
}

// The index of the --label field in each layer (-1 where it lacks it); a
// field no layer has is refused.
bool label_fields(const request& r, const std::vector<layer_in>& layers, std::vector<int>& out,
                  outcome& o) {
    std::string why;
    return assess::label_fields(r.label, layers, out, why) || fail(o, ending::bad_input, why);
}

// The verdict over all layers: yes, else open, else no.
const char* verdict_of(const outcome& o) {
    bool yes = false, open = false;
    for (const layer_summary& s : o.layers) {
        yes = yes || s.n_endangered != 0;
        open = open || s.n_open != 0;
    }
    return yes ? "yes" : open ? "open" : "no";
}

} // namespace

// How far from the breach the tables reach; infinity when the site's
// distances do not pass through them.
double reach_of(const site& s) {
    const auto t = map::find_table_range(s);
    if (!t) return INFINITY;
    return t->far + map::jet_half_width(s, t->near, t->far);
}

outcome assess(const request& r) {
    outcome o;
    // A stopped run gives no layers: only the reason.
    auto stopped = [&] {
        o.layers.clear();
        return o;
    };
    auto stop = [&](ending e, std::string msg) {
        fail(o, e, std::move(msg));
        return stopped();
    };
    std::string why, driver;
    if (!check_output(r, driver, o)) return stopped();
    sources in;
    if (!in.open(r.src, why)) return stop(ending::bad_input, why);
    if (std::string m = breach_out_of_area(in, r.g); !m.empty())
        return stop(ending::bad_input, std::move(m));
    o.reach = reach_of(r.s);
    const std::vector<layer_in>& layers = in.layers();
    if (!r.out.empty() && layers.size() > 1 && !holds_layers(driver))
        return stop(ending::usage, "Option -o: das Format " + driver + " fasst nur eine Ebene, " +
                                       std::to_string(layers.size()) + " gewaehlt: " + r.out);
    std::vector<int> label_field;
    if (!label_fields(r, layers, label_field, o)) return stopped();
    const std::vector<std::string> names = output_names(layers);
    if (!check_points_name(r, driver, names, o)) return stopped();
    layer_writer w;
    bool usage = false;
    if (!r.out.empty() && !w.open({r.out, driver, r.worst_points, in.site_crs()}, why, usage))
        return stop(usage ? ending::usage : ending::bad_input, why);
    if (r.colours) w.styled({r.lv, *r.colours, r.label});
    io::hold("early");
    lattice_cache cache(r.spacing);
    run_state st{r, o, w, make_frame(r.s, r.lv, r.g), cache,
                 r.threads ? r.threads : std::max(1u, std::thread::hardware_concurrency())};
    for (std::size_t li = 0; li < layers.size(); ++li) {
        const layer_in& l = layers[li];
        layer_job job{l, li, names[li], label_field[li], {}};
        job.sum.path = l.path;
        job.sum.name = names[li];
        // A layer without a system was read in the site's: it is written in it.
        const OGRSpatialReference* srs = l.has_crs ? l.layer->GetSpatialRef() : in.site_crs();
        if (!r.out.empty() && !w.add_layer(*l.layer, names[li], srs, label_field[li], why))
            return stop(ending::bad_input, "-o " + r.out + ": " + why);
        if (!judge_layer(st, job)) return stopped();
        o.layers.push_back(std::move(job.sum));
    }
    io::hold("late");
    if (!r.out.empty() && !w.commit(why)) return stop(ending::bad_input, why);
    o.verdict = verdict_of(o);
    // Numbers of two systems put every object far from the breach; without a
    // system to check them against, that "no" could be quietly wrong.
    if (std::string(o.verdict) == "no" && !in.site_crs() && beyond_reach(o)) {
        o.verdict = "open";
        o.unplaced = true;
    }
    o.end = st.skipped ? ending::skipped : ending::ok;
    return o;
}

std::optional<double> beyond_reach(const outcome& o) {
    if (std::isinf(o.nearest) || !(o.nearest > o.reach)) return std::nullopt;
    return o.nearest;
}

} // namespace orv::assess
