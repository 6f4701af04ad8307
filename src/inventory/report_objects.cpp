// Judging a dam's objects for its report from the object index.
#include "inventory/report_objects.h"

#include <algorithm>
#include <cmath>

#include "map/world_box.h"

namespace orv::inventory {

namespace {

// Layer names as the assessment writes them: repeated ones get "_2", "_3".
std::vector<std::string> layer_names(const std::vector<assess::layer_in>& layers) {
    std::vector<std::string> names;
    for (const assess::layer_in& l : layers) {
        std::string n = l.name;
        for (int k = 2; std::find(names.begin(), names.end(), n) != names.end(); ++k)
            n = l.name + "_" + std::to_string(k);
        names.push_back(n);
    }
    return names;
}

// A box around everything the picture can show: the map grid and the
// objects at level 1 or higher, six times their larger side each way, so
// that the overview (four times its core's larger side around the core)
// and any page's proportions and padding stay inside it.
void near_box(const report_judging& j, const map::map_grid& g, double out[4]) {
    map::world_box b = map::computed_box(j.f.g, g.x, g.y);
    object_scratch sc;
    std::vector<object_hit> hits;
    j.objs.count(j.f, j.m, j.from, sc, &hits, 1);
    for (const object_hit& h : hits) {
        if (h.level == no_level || h.level < 1) continue;
        const double* o = j.objs.bounds(h.obj);
        b.add(o[0], o[1]);
        b.add(o[2], o[3]);
    }
    const double ce = (b.e0 + b.e1) / 2, cn = (b.n0 + b.n1) / 2;
    const double half = 6 * std::max(b.width(), b.height()) + 1000;
    out[0] = ce - half, out[1] = cn - half, out[2] = ce + half, out[3] = cn + half;
}

// Counts a judged feature into its layer as the assessment does: the
// lists hold only what the report reads of them, their sizes.
void count(assess::layer_summary& s, const assess::verdict& v, int from) {
    ++s.features;
    ++s.states[static_cast<int>(v.st)];
    if (v.level != no_level) ++s.levels[v.level];
    if (v.level != no_level && v.level >= from) {
        ++s.n_endangered;
        s.endangered.emplace_back();
    } else if (assess::is_open(v, from)) {
        ++s.n_open;
        s.open.emplace_back();
    } else if (v.level == no_level) {
        ++s.n_settled;
    }
}

} // namespace

assess::outcome judge_for_report(const report_judging& j, const map::map_grid& g,
                                 report::object_list& list) {
    assess::outcome o;
    const auto& layers = j.objs.layers();
    const std::vector<std::string> names = layer_names(layers);
    for (std::size_t li = 0; li < layers.size(); ++li) {
        o.layers.emplace_back();
        o.layers.back().path = layers[li].path;
        o.layers.back().name = names[li];
    }
    double near[4];
    near_box(j, g, near);
    report::object_collector c(j.label);
    bool skipped = false;
    j.objs.judge_each(j.f, j.m, near,
                      [&](std::size_t li, const std::string& label,
                          const std::vector<assess::part>* parts, const assess::verdict& v,
                          bool in_near) {
                          static const std::vector<assess::part> none;
                          o.samples += v.n;
                          skipped = skipped || v.failed;
                          count(o.layers[li], v, j.from);
                          // A label far off still counts among those without room.
                          const bool drawn =
                              in_near || (!j.label.empty() && v.level != no_level && v.level >= j.from);
                          c.take(li, label, parts ? *parts : none, v, j.f.lv, drawn);
                      });
    list = c.finish();
    bool yes = false, open = false;
    for (const assess::layer_summary& s : o.layers) {
        yes = yes || s.n_endangered != 0;
        open = open || s.n_open != 0;
    }
    o.verdict = yes ? "yes" : open ? "open" : "no";
    // The distance to the nearest object matters only when none lies within
    // the tables' reach; else it stays unknown, which warns of nothing.
    o.reach = assess::reach_of(j.f.s);
    if (std::isfinite(o.reach) && !j.objs.any_within(j.f.g.e0, j.f.g.n0, o.reach))
        o.nearest = j.objs.nearest(j.f.g.e0, j.f.g.n0);
    if (std::string(o.verdict) == "no" && !j.objs.site_crs() && assess::beyond_reach(o)) {
        o.verdict = "open";
        o.unplaced = true;
    }
    o.end = skipped ? assess::ending::skipped : assess::ending::ok;
    return o;
}

} // namespace orv::inventory
