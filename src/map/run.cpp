// Map and profile runs over the model, strip by strip and sample by sample.
#include "map/run.h"

#include <cmath>

#include "io/guard.h"
#include "model/point.h"

namespace orv::map {

namespace {

// Holds a test run in the middle of the computation, at the first strip.
class middle_sink : public strip_sink {
  public:
    bool take(const strip&) override {
        io::hold("middle");
        return true;
    }
};

} // namespace

bool run_map(const map_request& r, map_result& out) {
    const axis& ax = r.grid.x;
    const axis& ay = r.grid.y;
    const std::vector<station> st = column_stations(r.s, centres(ax), r.threads);
    out.columns.resize(st.size());
    for (std::size_t i = 0; i < st.size(); ++i) out.columns[i] = st[i].st;
    summary_sink summary(ax, ay, out.columns);
    middle_sink middle;
    std::vector<strip_sink*> sinks = {&summary, &middle};
    if (r.picture) sinks.push_back(&out.image.emplace(ax.n, ay.n, r.shown));
    if (r.raster && !r.world) sinks.push_back(r.raster);
    bool ok = compute_grid(r.s, st, centres(ay), r.lv, r.threads, sinks);
    if (ok && r.raster && r.world)
        ok = compute_world(r.s, ax, ay, r.where, *r.world, r.lv, r.threads, {r.raster});
    out.fig = summary.result();
    return ok;
}

std::optional<range> profile_range(const site& s) {
    const auto t = find_table_range(s);
    if (!t) return std::nullopt;
    return range{0, t->far * (1 + far_margin)};
}

double profile_count(const range& xr, double step) {
    return std::floor((xr.max - xr.min) / step + 1e-9) + 1;
}

profile_samples sample_profile(const site& s, const range& xr, double step, real y) {
    profile_samples p;
    p.y = y;
    const auto count = static_cast<std::size_t>(profile_count(xr, step));
    p.xs.resize(count);
    p.st.resize(count);
    p.res.resize(count);
    for (std::size_t k = 0; k < count; ++k)
        p.xs[k] = static_cast<real>(xr.min + static_cast<double>(k) * step);
    for (std::size_t k = 0; k < count; ++k) {
        const point_result pr = evaluate(s, p.xs[k], y);
        p.st[k] = pr.st;
        p.res[k] = pr.res;
    }
    return p;
}

} // namespace orv::map
