// Summary figures of a map and their text.
#include "map/summary.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "base/level_text.h"
#include "base/number_text.h"
#include "map/site_text.h"

namespace orv::map {

namespace {

// A column whose status keeps the model from giving a result (1 to 4).
bool without_result(int32_t st) {
    return st >= 1 && st <= 4;
}

// Decimals of positions (centres and their half cells) and of areas.
int position_decimals(const axis& x, const axis& y) {
    return std::max({decimals(x.min), decimals(y.min), decimals(x.cell / 2)});
}
int area_decimals(const axis& x) {
    return std::min(6, 2 * decimals(x.cell));
}

// A figure with d decimals; one so small that it shows as zero in them is
// given as the shortest text that reads back instead.
std::string figure(double v, int d) {
    const std::string s = fixed(v, d);
    if (v == 0 || s.find_first_not_of("-0.") != std::string::npos) return s;
    return shortest(v);
}

// The world raster's bounds: east from the left edge, north down from the top.
double world_east_end(const world_raster& w) {
    return w.gt[0] + static_cast<double>(w.nx) * w.gt[1];
}
double world_north_start(const world_raster& w) {
    return w.gt[3] + static_cast<double>(w.ny) * w.gt[5];
}

// A figure with "mindestens" when it is open.
std::string at_least(bool open, const std::string& v) {
    return (open ? "mindestens " : "") + v;
}

} // namespace

// Column flags once; the rows come later.
summary_sink::summary_sink(const axis& x, const axis& y, std::vector<int32_t> col)
    : x_(x), y_(y), col_(std::move(col)), open_(col_.size()), rim_(col_.size()) {
    const std::size_t n = col_.size();
    for (std::size_t i = 0; i < n; ++i) {
        open_[i] = i + 1 == n || without_result(col_[i + 1]);
        rim_[i] = open_[i] || i == 0 || without_result(col_[i - 1]);
    }
}

// Per level: cells, the last column, the largest |y| and the edge flags.
bool summary_sink::take(const strip& s) {
    for (std::size_t r = 0; r < s.rows; ++r) {
        const std::size_t j = s.j0 + r;
        const double yc = y_.centre(j);
        const bool low = j == 0, high = j + 1 == y_.n;
        const bool width_edge = (low && yc <= 0) || (high && yc >= 0);
        const int8_t* lv = s.level.data() + r * s.nx;
        for (std::size_t i = 0; i < s.nx; ++i) {
            for (int k = 0; k < lv[i] && k < 3; ++k) {
                ++cells_[k];
                imax_[k] = std::max(imax_[k], i);
                ymax_[k] = std::max(ymax_[k], std::fabs(yc));
                reach_open_[k] = reach_open_[k] || open_[i];
                width_open_[k] = width_open_[k] || width_edge;
                area_open_[k] = area_open_[k] || rim_[i] || low || high;
            }
        }
    }
    return true;
}

// Positions from the centres in double, plus half a cell.
figures summary_sink::result() const {
    figures f;
    const double half = x_.cell / 2;
    for (int k = 0; k < 3; ++k) {
        zone& z = f.zones[k];
        z.cells = cells_[k];
        if (z.cells == 0) continue;
        z.reach = x_.centre(imax_[k]) + half;
        z.half_width = ymax_[k] + half;
        z.area = static_cast<double>(z.cells) * x_.cell * x_.cell;
        z.reach_open = reach_open_[k];
        z.width_open = width_open_[k];
        z.area_open = area_open_[k];
    }
    for (std::size_t i = 0; i < col_.size(); ++i) {
        if (col_[i] == 1) {
            ++f.none.near_columns;
            f.none.near_end = x_.centre(i) + half;
        } else if (col_[i] == 2) {
            if (f.none.far_columns++ == 0) f.none.far_start = x_.centre(i) - half;
        }
    }
    return f;
}

figures rounded(const figures& f, const axis& x, const axis& y) {
    const int d = position_decimals(x, y);
    const int da = area_decimals(x);
    // The printed text read back, independent of the locale.
    const auto as_printed = [](double v, int decimals) {
        const std::string t = fixed(v, decimals);
        double r = v;
        std::from_chars(t.data(), t.data() + t.size(), r);
        return r;
    };
    figures r = f;
    for (zone& z : r.zones) {
        z.reach = as_printed(z.reach, d);
        z.half_width = as_printed(z.half_width, d);
        z.area = as_printed(z.area, da);
    }
    return r;
}

double extent_end(const axis& a) {
    // Within the tolerance of the cell count, the cells end at max.
    const double whole = (a.max - a.min) / a.cell;
    return static_cast<double>(a.n) - whole > 1e-9 ? a.end() : a.max;
}

// Every number the JSON text holds, with its key.
const char* unwritable_json(const summary_input& in, const figures& f) {
    const params& p = in.site;
    const std::pair<const char*, double> site[] = {{"H", p.h},
                                                   {"B", p.b},
                                                   {"Vol", p.vol},
                                                   {"S", p.slp},
                                                   {"D", p.dm},
                                                   {"levels", in.lv.t[0]},
                                                   {"levels", in.lv.t[1]},
                                                   {"levels", in.lv.t[2]},
                                                   {"x_min", in.x.min},
                                                   {"x_max", extent_end(in.x)},
                                                   {"y_min", in.y.min},
                                                   {"y_max", extent_end(in.y)},
                                                   {"cell", in.x.cell}};
    for (const auto& [name, v] : site)
        if (!std::isfinite(v)) return name;
    if (const world_raster* w = in.world) {
        for (double v : {w->gt[0], world_east_end(*w), world_north_start(*w), w->gt[3]})
            if (!std::isfinite(v)) return "world_raster";
    }
    for (const zone& z : f.zones) {
        if (z.cells == 0) continue;
        if (!std::isfinite(z.reach)) return "reach";
        if (!std::isfinite(z.half_width)) return "half_width";
        if (!std::isfinite(z.area)) return "area";
    }
    if (f.none.near_columns && !std::isfinite(f.none.near_end)) return "near_zone";
    if (f.none.far_columns && !std::isfinite(f.none.far_start)) return "far_zone";
    return nullptr;
}

std::string summary_text(const summary_input& in, const figures& f) {
    const int d = position_decimals(in.x, in.y);
    const int da = area_decimals(in.x);
    const params& p = in.site;
    const std::string note =
        in.corrected ? " (korrigiert von " + plain(in.given_slope) + " %)" : "";
    std::string s = "Gefahrenkarte fuer " + site_text(p, charset::ascii, note) + "\n";
    s += "Raster: x von " + shortest(in.x.min) + " bis " + shortest(extent_end(in.x)) +
         " m, y von " + shortest(in.y.min) + " bis " + shortest(extent_end(in.y)) +
         " m, Zellgroesse " + shortest(in.x.cell) + " m (" + std::to_string(in.x.n) + " x " +
         std::to_string(in.y.n) + " Zellen)\n";
    if (const world_raster* w = in.world) {
        s += "Weltraster: E von " + shortest(w->gt[0]) + " bis " + shortest(world_east_end(*w)) +
             ", N von " + shortest(world_north_start(*w)) + " bis " + shortest(w->gt[3]) + " (" +
             std::to_string(w->nx) + " x " + std::to_string(w->ny) + " Zellen)\n";
    }
    for (int k = 0; k < 3; ++k) {
        const zone& z = f.zones[k];
        s += level_name(k + 1) + (k < 2 ? " und hoeher" : "") + " (" +
             level_rule(in.lv.t[k], charset::ascii) + "):\n";
        if (z.cells == 0) {
            s += "  keine Zelle\n";
            continue;
        }
        s += "  Reichweite:  " + at_least(z.reach_open, "x = " + figure(z.reach, d) + " m") + "\n";
        s += "  Halbbreite:  " + at_least(z.width_open, figure(z.half_width, d) + " m") + "\n";
        s += "  Flaeche:     " + at_least(z.area_open, figure(z.area, da) + " m2") + " (" +
             counted(z.cells, "Zelle", "Zellen") + ")\n";
    }
    s += std::string(near_zone_name) + " (Status 1): ";
    s += f.none.near_columns ? "bis x = " + figure(f.none.near_end, d) + " m\n"
                             : "keiner im Raster\n";
    s += std::string(far_zone_name) + " (Status 2): ";
    s += f.none.far_columns ? "ab x = " + figure(f.none.far_start, d) + " m\n"
                            : "keiner im Raster\n";
    s += not_computed_warning(charset::ascii) + "\n";
    s += "Die Angaben gelten fuer die gewaehlte Zellgroesse von " + shortest(in.x.cell) +
         " m; mit einer anderen Zellgroesse weichen sie ab.\n";
    return s;
}

std::string summary_json(const summary_input& in, const figures& f) {
    const int d = position_decimals(in.x, in.y);
    const int da = area_decimals(in.x);
    const params& p = in.site;
    auto flag = [](bool b) { return b ? "true" : "false"; };
    std::string s = "{\n  \"site\": {\"H\": " + plain(p.h) + ", \"B\": " + plain(p.b) +
                    ", \"Vol\": " + plain(p.vol) + ", \"S\": " + plain(p.slp) +
                    ", \"D\": " + plain(p.dm) + "},\n";
    s += std::string("  \"slope_corrected\": ") + flag(in.corrected) + ",\n";
    s += "  \"grid\": {\"x_min\": " + shortest(in.x.min) +
         ", \"x_max\": " + shortest(extent_end(in.x)) + ", \"y_min\": " + shortest(in.y.min) +
         ", \"y_max\": " + shortest(extent_end(in.y)) + ", \"cell\": " + shortest(in.x.cell) +
         ", \"nx\": " + std::to_string(in.x.n) + ", \"ny\": " + std::to_string(in.y.n) + "},\n";
    if (const world_raster* w = in.world) {
        s += "  \"world_raster\": {\"e_min\": " + shortest(w->gt[0]) +
             ", \"e_max\": " + shortest(world_east_end(*w)) +
             ", \"n_min\": " + shortest(world_north_start(*w)) +
             ", \"n_max\": " + shortest(w->gt[3]) + ", \"nx\": " + std::to_string(w->nx) +
             ", \"ny\": " + std::to_string(w->ny) + "},\n";
    }
    s += "  \"levels\": [" + plain(in.lv.t[0]) + ", " + plain(in.lv.t[1]) + ", " +
         plain(in.lv.t[2]) + "],\n  \"zones\": [\n";
    for (int k = 0; k < 3; ++k) {
        const zone& z = f.zones[k];
        s += "    {\"level\": " + std::to_string(k + 1) + ", \"cells\": " + std::to_string(z.cells);
        if (z.cells == 0) {
            s += ", \"reach\": null, \"reach_at_least\": false, \"half_width\": null, "
                 "\"half_width_at_least\": false, \"area\": 0, \"area_at_least\": false}";
        } else {
            s += ", \"reach\": " + figure(z.reach, d) +
                 ", \"reach_at_least\": " + flag(z.reach_open) +
                 ", \"half_width\": " + figure(z.half_width, d) +
                 ", \"half_width_at_least\": " + flag(z.width_open) +
                 ", \"area\": " + figure(z.area, da) + ", \"area_at_least\": " + flag(z.area_open) +
                 "}";
        }
        s += k < 2 ? ",\n" : "\n";
    }
    s += "  ],\n  \"near_zone\": ";
    s += f.none.near_columns ? "{\"x_end\": " + figure(f.none.near_end, d) + "}" : "null";
    s += ",\n  \"far_zone\": ";
    s += f.none.far_columns ? "{\"x_start\": " + figure(f.none.far_start, d) + "}" : "null";
    s += "\n}\n";
    return s;
}

} // namespace orv::map
