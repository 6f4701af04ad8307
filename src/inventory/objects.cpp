// The object index: features read once into parts and bounding boxes, an
// R-tree over the boxes, and per dam the objects that can matter.
#include "inventory/objects.h"


#include <algorithm>
#include <cmath>
#include <iterator>

#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <boost/iterator/function_output_iterator.hpp>
#include <ogrsf_frmts.h>

#include "assess/labels.h"
#include "assess/nearest.h"
#include "assess/read_feature.h"
#include "assess/sample.h"
#include "map/frame.h"

namespace orv::inventory {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

namespace {

using point = bg::model::point<double, 2, bg::cs::cartesian>;
using box = bg::model::box<point>;
using polygon = bg::model::polygon<point>;
using entry = std::pair<box, std::uint32_t>;

// Room around the regions in metres: far more than a Real x can differ
// from its double at any distance a site reaches.
constexpr double margin = 2;

// The world point at (x, y) in the jet's frame g.
point to_world(const map::georef& g, double x, double y) {
    const double a = g.azimuth * (M_PI / 180);
    const double sa = std::sin(a), ca = std::cos(a);
    return point(g.e0 + x * sa - y * ca, g.n0 + x * ca + y * sa);
}

// The rectangle x0..x1 by y0..y1 of the jet's frame as a world polygon.
polygon jet_rect(const map::georef& g, double x0, double x1, double y0, double y1) {
    polygon p;
    for (const auto& [x, y] : {std::pair{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}})
        bg::append(p.outer(), to_world(g, x, y));
    bg::correct(p);
    return p;
}

// Where the jet's profiles reach 0 beside station t: its lateral edge.
double edge(const site& s, const station& t) {
    if (t.st != 0) return 0;
    const double e = t.ywid * s.lref / t.fq;
    return std::isfinite(e) ? e : 0;
}

// Where a dam's hits go: only objects of at least level from, or open.
struct hit_sink {
    std::vector<object_hit>* hits;
    int from;
};

// Adds judged object k to the counts (and hits).
void add(object_counts& c, const assess::verdict& v, int from, std::uint32_t k,
         const hit_sink& to) {
    if (v.level != no_level) ++c.level[v.level];
    const bool open = assess::is_open(v, from);
    if (open) ++c.open;
    if (to.hits && ((v.level != no_level && v.level >= to.from) || open))
        to.hits->push_back({k, v.level, v.worst.h, v.worst.q, v.east, v.north, v.st, open,
                            open ? assess::open_reason(v, from) : std::string(), v.x});
}

// The first sample the sampler takes of parts: a point's, a line's first
// vertex, a polygon's first ring's first vertex; null when that ring is
// too short to be sampled (the object is then judged in full).
const assess::xy* first_sample(const std::vector<assess::part>& parts) {
    if (parts.empty() || parts[0].rings.empty()) return nullptr;
    const std::vector<assess::xy>& ring = parts[0].rings[0];
    if (parts[0].k == assess::part::polygon) return ring.size() >= 2 ? ring.data() : nullptr;
    return ring.empty() ? nullptr : ring.data();
}

// The bounding box of parts: min e, min n, max e, max n.
void box_of(const std::vector<assess::part>& parts, double box[4]) {
    box[0] = box[1] = INFINITY;
    box[2] = box[3] = -INFINITY;
    for (const assess::part& p : parts) {
        for (const auto& ring : p.rings) {
            for (const assess::xy& v : ring) {
                box[0] = std::min(box[0], v.e);
                box[1] = std::min(box[1], v.n);
                box[2] = std::max(box[2], v.e);
                box[3] = std::max(box[3], v.n);
            }
        }
    }
}

// Grows bounds to hold box.
void widen(double bounds[4], const double box[4]) {
    bounds[0] = std::min(bounds[0], box[0]);
    bounds[1] = std::min(bounds[1], box[1]);
    bounds[2] = std::max(bounds[2], box[2]);
    bounds[3] = std::max(bounds[3], box[3]);
}

} // namespace

std::string label_of(const OGRFeature& f, int field) {
    if (field >= 0 && f.IsFieldSetAndNotNull(field)) return f.GetFieldAsString(field);
    return std::to_string(f.GetFID());
}

struct object_index::tree {
    bgi::rtree<entry, bgi::rstar<16>> rt;
};

object_index::object_index() = default;
object_index::~object_index() = default;

bool object_index::any_within(double e, double n, double d) const {
    if (!tree_) return false;
    const box b(point(e - d, n - d), point(e + d, n + d));
    for (auto it = tree_->rt.qbegin(bgi::intersects(b)); it != tree_->rt.qend(); ++it)
        if (assess::distance_to(objs_[it->second].parts, {e, n}) <= d) return true;
    return false;
}

const OGRSpatialReference* object_index::site_crs() const {
    return src_ ? src_->site_crs() : nullptr;
}

bool object_index::load(const assess::source_request& r, const std::string& label, double spacing,
                        bool keep_going, const std::function<void(const std::string&)>& warn,
                        std::string& why) {
    spacing_ = spacing;
    src_ = std::make_unique<assess::sources>();
    if (!src_->open(r, why)) return false;
    if (!assess::label_fields(label, src_->layers(), label_fields_, why)) return false;
    std::vector<entry> entries;
    std::vector<assess::part> parts;
    for (std::size_t li = 0; li < src_->layers().size(); ++li) {
        const assess::layer_in& l = src_->layers()[li];
        l.layer->ResetReading();
        std::vector<std::int64_t>& order = order_.emplace_back();
        std::vector<std::string>& others = other_labels_.emplace_back();
        std::string err;
        std::int64_t last = -1;
        for (OGRFeature* f; assess::next_feature(l, spacing, f, parts, err);) {
            object o;
            o.parts = std::move(parts);
            const bool ok = err.empty();
            const GIntBig fid = last = f->GetFID();
            o.label = label_of(*f, label_fields_[li]);
            OGRFeature::DestroyFeature(f);
            if (!ok || o.parts.empty()) others.push_back(std::move(o.label));
            if (!ok) {
                const std::string msg =
                    l.path + ", Ebene " + l.name + ", Objekt " + std::to_string(fid) + ": " + err;
                if (!keep_going) {
                    why = msg;
                    return false;
                }
                if (warn) warn(msg);
                ++skipped_;
                order.push_back(unreadable);
                continue;
            }
            // Without a geometry an object has no sample: it never counts.
            order.push_back(o.parts.empty() ? -1 : static_cast<std::int64_t>(objs_.size()));
            if (o.parts.empty()) continue;
            box_of(o.parts, o.box);
            if (objs_.empty()) std::copy(o.box, o.box + 4, bounds_);
            widen(bounds_, o.box);
            entries.emplace_back(box(point(o.box[0], o.box[1]), point(o.box[2], o.box[3])),
                                 static_cast<std::uint32_t>(objs_.size()));
            objs_.push_back(std::move(o));
        }
        // A file that stops being readable loses an unknown number of objects.
        if (!err.empty()) {
            why = l.path + ", Ebene " + l.name +
                  (last < 0 ? std::string(", vor dem ersten Objekt")
                            : ", nach Objekt " + std::to_string(last)) +
                  ": " + err;
            return false;
        }
    }
    // Packed at once from all boxes: a better tree than one insert at a time.
    tree_ = std::make_unique<tree>();
    tree_->rt = bgi::rtree<entry, bgi::rstar<16>>(entries.begin(), entries.end());
    return true;
}

namespace {

// One object's samples through the judge.
assess::verdict judge_parts(const std::vector<assess::part>& parts, const assess::frame& f,
                            double spacing, std::vector<assess::xy>& buf) {
    assess::judge j(f);
    assess::sampler s(spacing, j, buf);
    assess::sample_parts(parts, s);
    return j.result();
}

} // namespace

// Where the zones reach for one dam: the extent with the strip beyond the
// tables (every object there sampled), and beside them where the tables
// give results (level 0 unless an object straddles where they begin or end).
struct object_index::regions {
    polygon sampled, beside;
    double x0, x1;
};

object_index::regions object_index::regions_of(const assess::frame& f, const dam_result& m) const {
    const map::georef& g = f.g;
    // How far the zones reach to the side: the map's extent, and the jet's
    // edges where the tables begin and end (the levels there decide orv_start
    // and orv_end).
    double w = std::max({m.y.max, -m.y.min, f.has_near ? edge(f.s, f.near) : 0.0,
                         f.has_far ? edge(f.s, f.far) : 0.0});
    w += margin + m.y.cell;
    // Far enough to hold every object.
    double far = 0;
    for (int i : {0, 2}) {
        for (int j : {1, 3}) far = std::max(far, std::hypot(bounds_[i] - g.e0, bounds_[j] - g.n0));
    }
    far += margin;
    return {jet_rect(g, -margin, std::max(far, m.far + margin), -w, w),
            jet_rect(g, m.near - margin, m.far + margin, -far, far), m.near, m.far};
}

// Whether o, found beside the zones and outside the sampled region, lies
// wholly where the tables give results: then both profiles are 0 there.
bool object_index::beside(const object& o, const assess::frame& f, const regions& z) const {
    double lo = INFINITY, hi = -INFINITY;
    for (int i : {0, 2}) {
        for (int j : {1, 3}) {
            const double x = map::to_jet(f.g, o.box[i], o.box[j]).x;
            lo = std::min(lo, x);
            hi = std::max(hi, x);
        }
    }
    return first_sample(o.parts) && lo > z.x0 + margin && hi < z.x1 - margin;
}

object_counts object_index::count(const assess::frame& f, const dam_result& m, int from,
                                  object_scratch& sc, std::vector<object_hit>* hits,
                                  int hits_from) const {
    const hit_sink to{hits, hits_from};
    object_counts c;
    c.open = skipped_;
    if (objs_.empty()) return c;
    if (sc.seen.size() != objs_.size() || sc.stamp == UINT32_MAX) {
        sc.seen.assign(objs_.size(), 0);
        sc.stamp = 0;
    }
    const std::uint32_t stamp = ++sc.stamp;
    const regions z = regions_of(f, m);
    sc.hits.clear();
    tree_->rt.query(bgi::intersects(z.sampled),
                    boost::make_function_output_iterator([&](const entry& e) {
                        sc.seen[e.second] = stamp;
                        ++c.judged;
                        add(c, judge_parts(objs_[e.second].parts, f, spacing_, sc.buf), from,
                            e.second, to);
                    }));
    tree_->rt.query(
        bgi::intersects(z.beside), boost::make_function_output_iterator([&](const entry& e) {
            if (sc.seen[e.second] == stamp) return;
            const object& o = objs_[e.second];
            if (beside(o, f, z)) {
                // The first of the equal samples is the worst.
                const assess::xy* first = first_sample(o.parts);
                ++c.level[0];
                if (hits && hits_from <= 0)
                    hits->push_back(
                        {e.second, 0, 0, 0, first->e, first->n, assess::state::full, false, {}});
            } else {
                ++c.judged;
                add(c, judge_parts(o.parts, f, spacing_, sc.buf), from, e.second, to);
            }
        }));
    return c;
}

void object_index::judge_each(const assess::frame& f, const dam_result& m, const double near[4],
                              const judged_fn& each) const {
    const regions z = regions_of(f, m);
    const box near_box(point(near[0], near[1]), point(near[2], near[3]));
    std::vector<assess::xy> buf;
    for (std::size_t li = 0; li < order_.size(); ++li) {
        std::size_t other = 0;
        for (const std::int64_t k : order_[li]) {
            if (k < 0) {
                // Without a geometry, or skipped as unreadable.
                assess::verdict v;
                if (k == unreadable) v.st = assess::state::none, v.failed = true;
                each(li, other_labels_[li][other++], nullptr, v, false);
                continue;
            }
            const object& o = objs_[static_cast<std::size_t>(k)];
            const box b(point(o.box[0], o.box[1]), point(o.box[2], o.box[3]));
            const bool in_near = bg::intersects(b, near_box);
            assess::verdict v;
            if (!bg::intersects(b, z.sampled) && bg::intersects(b, z.beside) && beside(o, f, z)) {
                const assess::xy* first = first_sample(o.parts);
                v.level = 0;
                v.st = assess::state::full;
                v.east = first->e;
                v.north = first->n;
            } else {
                v = judge_parts(o.parts, f, spacing_, buf);
            }
            each(li, o.label, &o.parts, v, in_near);
        }
    }
}

double object_index::nearest(double e, double n) const {
    double d = INFINITY;
    for (const object& o : objs_) d = std::min(d, assess::distance_to(o.parts, {e, n}));
    return d;
}

object_counts object_index::count_all(const assess::frame& f, int from,
                                      std::vector<object_hit>* hits) const {
    object_counts c;
    c.open = skipped_;
    std::vector<assess::xy> buf;
    for (std::uint32_t k = 0; k < objs_.size(); ++k) {
        ++c.judged;
        add(c, judge_parts(objs_[k].parts, f, spacing_, buf), from, k, {hits, 0});
    }
    return c;
}

} // namespace orv::inventory
