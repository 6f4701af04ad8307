// A dam's map at the common cell size, its figures and the cut level.
#include "inventory/dam.h"

#include <cmath>
#include <vector>

#include "base/number_text.h"
#include "csv/number.h"
#include "map/extent.h"
#include "map/strip.h"
#include "model/intensity.h"
#include "model/status_text.h"

namespace orv::inventory {

const char* answer_key(answer a) {
    switch (a) {
    case answer::yes: return "yes";
    case answer::open: return "open";
    default: return "no";
    }
}

namespace {

// The slope of p outside the tables (lookup status 3 or 4): refused with the
// calculator's text and the corrected value, or corrected when r allows it.
bool check_slope(params& p, const dam_rules& r, std::string& note, std::string& why) {
    params at = p;
    at.x1 = 100;
    at.y1 = 0;
    const intensity_outcome o = compute_intensity(at);
    if (o.st != 3 && o.st != 4) return true;
    params c = p;
    correct_params(c, o);
    const std::string text = status_text(o.st);
    const std::string fixed = "korrigierter Wert: S = " + write_real(c.slp) + " %";
    if (!r.correct) {
        why = text + ": S = " + write_real(p.slp) + " % (" + fixed +
              "; mit --correct wird damit "
              "gerechnet)";
        return false;
    }
    note = text + ", " + fixed;
    p.slp = c.slp;
    return true;
}

} // namespace

bool compute_map(const dam_site& d, const dam_rules& r, dam_result& out, std::string& why) {
    params p = d.p;
    if (!check_slope(p, r, out.note, why)) return false;
    out.p = p;
    const site s = make_site(p);
    const auto t = map::find_table_range(s);
    const auto g = t ? map::choose_grid(s, {std::nullopt, std::nullopt, r.cell}) : std::nullopt;
    if (!g) {
        why = "Ausdehnung nicht aus dem Standort bestimmbar";
        return false;
    }
    if (g->x.n == 0 || g->y.n == 0 || g->x.n * g->y.n > map::max_cells) {
        why = "zu viele Zellen bei Zellgroesse " + write_real(static_cast<real>(r.cell)) +
              " m; --cell groesser waehlen";
        return false;
    }
    out.x = g->x;
    out.y = g->y;
    out.near = t->near;
    out.far = t->far;
    // One dam per thread: the grid itself runs on this thread alone.
    const std::vector<station> st = map::column_stations(s, map::centres(g->x), 1);
    std::vector<int32_t> col(st.size());
    for (std::size_t i = 0; i < st.size(); ++i) col[i] = st[i].st;
    map::summary_sink summary(g->x, g->y, col);
    map::compute_grid(s, st, map::centres(g->y), r.lv, 1, {&summary});
    out.fig = map::rounded(summary.result(), g->x, g->y);
    // The last Real x before the tables end, on the centre line.
    const real last = std::nextafter(static_cast<real>(t->far), real(0));
    const station at = make_station(s, last);
    out.cut = at.st == 0 ? danger_level(0, make_result(s, at, 0), r.lv) : no_level;
    return true;
}

} // namespace orv::inventory
