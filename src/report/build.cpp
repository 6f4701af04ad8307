// Computing a report's content.
#include "report/build.h"

#include <cmath>

#include "map/image.h"
#include "map/strip.h"
#include "model/point.h"
#include "raster/background.h"
#include "report/hashes.h"

namespace orv::report {

namespace {

// Samples along the centre line from 0 to 3 % beyond the tables, about 1000.
draw::profile_view centre_profile(const request& r, const site& s) {
    draw::profile_view v{r.p, r.corrected, r.judge.lv, 0, 1, {}, {}, {}};
    const auto t = map::find_table_range(s);
    // The margin of the map's automatic extent beyond the tables.
    const double end = t ? t->far * 1.03 : 100;
    v.step = map::readable_size(end / 1000);
    const auto n = static_cast<std::size_t>(std::floor(end / v.step + 1e-9)) + 1;
    v.site.y1 = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const real x = static_cast<real>(static_cast<double>(k) * v.step);
        const point_result p = evaluate(s, x, 0);
        v.xs.push_back(x);
        v.st.push_back(p.st);
        v.res.push_back(p.res);
    }
    return v;
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
    const unsigned threads = r.judge.threads;
    const std::vector<station> st = map::column_stations(s, map::centres(g->x), threads);
    columns.resize(st.size());
    for (std::size_t i = 0; i < st.size(); ++i) columns[i] = st[i].st;
    map::summary_sink summary(g->x, g->y, columns);
    map::image_sink img(g->x.n, g->y.n, map::quantity::levels);
    map::compute_grid(s, st, map::centres(g->y), r.judge.lv, threads, {&summary, &img});
    image = img.image();

    // The objects.
    const assess::outcome o = gather(r.judge, c.list);
    if (o.end == assess::ending::bad_input || o.end == assess::ending::usage)
        return stop(o.end, o.message);
    b.end = o.end;

    c.title = r.title;
    c.author = r.author;
    c.version = r.version;
    c.date = r.date;
    c.site = {r.p, r.judge.lv, g->x, g->y, r.corrected, r.given_slope};
    c.zones = summary.result();
    c.g = r.judge.g;
    c.crs_name = raster::crs_name(r.wkt);
    c.spacing = r.judge.spacing;
    c.from = r.judge.from;
    c.verdict = o.verdict;
    for (const auto& l : o.layers) {
        c.layers.push_back(l.name);
        c.objects += l.features;
        c.at_from += l.endangered.size();
        c.open += l.open.size();
    }
    c.profile = centre_profile(r, s);
    c.command = r.command;

    c.map = r.picture;
    c.map.wkt = r.wkt;
    c.map.view.jet = draw::map_view{r.p,  r.corrected, r.judge.lv, g->x,
                                    g->y, &image,      columns,    map::quantity::levels};
    c.map.view.g = r.judge.g;
    c.map.view.objects = &c.list.drawn;
    c.map.view.label_from = r.judge.from;

    std::vector<std::string> inputs = r.judge.src.paths;
    if (!r.picture.background.empty()) inputs.push_back(r.picture.background);
    std::string why;
    if (!dataset_hashes(inputs, c.hashes, why)) return stop(assess::ending::bad_input, why);
    return b;
}

} // namespace orv::report
