// Computing a report's content.
#include "report/build.h"

#include <cmath>

#include "assess/report.h"
#include "base/steps.h"
#include "map/extent.h"
#include "map/run.h"
#include "raster/background.h"
#include "report/hashes.h"
#include "report/line_pieces.h"

namespace orv::report {

namespace {

// About 1000 samples along the centre line over the map's range in x.
draw::profile_view centre_profile(const request& r, const site& s) {
    draw::profile_view v{r.p, r.corrected, r.judge.lv, 0, 1, {}, {}, {}};
    v.site.y1 = 0;
    const map::range xr = map::profile_range(s).value_or(map::range{0, 100});
    v.step = step_nearest((xr.max - xr.min) / 1000);
    map::profile_samples p = map::sample_profile(s, xr, v.step, 0);
    v.xs = std::move(p.xs);
    v.st = std::move(p.st);
    v.res = std::move(p.res);
    return v;
}

} // namespace

std::vector<std::string> report_inputs(const request& r) {
    std::vector<std::string> inputs = r.judge.src.paths;
    if (!r.picture.background.empty()) inputs.push_back(r.picture.background);
    return inputs;
}

namespace {

// Fills c from the request, the judged objects o and the map res of the
// grid g (its picture image with its columns).
void fill(const request& r, const assess::outcome& o, const map::map_result& res,
          const map::map_grid& g, const map::map_image& image, const std::vector<int32_t>& columns,
          content& c) {
    c.title = r.title;
    c.author = r.author;
    c.version = r.version;
    c.date = r.date;
    c.site = {r.p, r.judge.lv, g.x, g.y, r.corrected, r.given_slope};
    c.zones = res.fig;
    c.g = r.judge.g;
    c.crs_name = raster::crs_name(r.wkt);
    c.spacing = r.judge.spacing;
    c.from = r.judge.from;
    if (const auto t = map::find_table_range(r.judge.s)) {
        // The x at which objects are judged at the ends of the tables.
        c.has_tables = true;
        c.near_x = t->near;
        c.far_x = std::nextafter(static_cast<real>(t->far), real{0});
    }
    c.verdict = o.verdict;
    c.warning = assess::reach_warning(o, false);
    for (const auto& l : o.layers) {
        c.layers.push_back(l.name);
        c.objects += l.features;
        c.at_from += l.endangered.size();
        c.open += l.open.size();
    }
    c.profile = centre_profile(r, r.judge.s);
    c.command = r.command;

    c.map = r.picture;
    c.map.wkt = r.wkt;
    c.map.view.jet = draw::map_view{r.p, r.corrected, r.judge.lv, g.x,
                                    g.y, &image,      columns,    map::quantity::levels};
    c.map.view.g = r.judge.g;
    c.map.view.objects = &c.list.drawn;
    c.map.view.label_from = r.judge.from;
    if (const auto t = map::find_table_range(r.judge.s)) c.tables_end = t->far;
    c.map.pieces = line_pieces(r.judge);
}

} // namespace

built build(const request& r, content& c, map::map_image& image, std::vector<int32_t>& columns) {
    built b;
    auto stop = [&](assess::ending e, std::string m) {
        b.end = e;
        b.message = std::move(m);
        return b;
    };
    const site& s = r.judge.s;
    const auto g = map::choose_grid(s, r.grid);
    if (!g)
        return stop(assess::ending::bad_input, "Ausdehnung nicht aus dem Standort bestimmbar; "
                                               "--x, --y und --cell angeben");
    if (g->x.n == 0 || g->y.n == 0 || g->x.n * g->y.n > map::max_cells)
        return stop(assess::ending::bad_input, "zu viele Zellen; --cell groesser waehlen");

    // The zones.
    map::map_request rq;
    rq.s = s;
    rq.lv = r.judge.lv;
    rq.grid = *g;
    rq.threads = r.judge.threads;
    rq.picture = true;
    map::map_result res;
    map::run_map(rq, res);
    image = res.image->image();
    columns = res.columns;

    // The objects.
    const assess::outcome o = r.judged ? r.judged(*g, c.list) : gather(r.judge, c.list);
    if (o.end == assess::ending::bad_input || o.end == assess::ending::usage)
        return stop(o.end, o.message);
    b.end = o.end;

    fill(r, o, res, *g, image, columns, c);

    if (r.hashes) {
        c.hashes = *r.hashes;
        return b;
    }
    std::string why;
    if (!dataset_hashes(report_inputs(r), c.hashes, why))
        return stop(assess::ending::bad_input, why);
    return b;
}

} // namespace orv::report
