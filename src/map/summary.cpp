// Summary figures of a map and their text.
#include "map/summary.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "csv/number.h"

namespace orv::map {

namespace {

// A column whose status keeps the model from giving a result (1 to 4).
bool without_result(int32_t st) {
    return st >= 1 && st <= 4;
}

// v with d decimals.
std::string fixed(double v, int d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", d, v);
    return buf;
}

// The shortest text of a double that reads back as it.
std::string shortest(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

// Decimals of positions (centres and their half cells) and of areas.
int position_decimals(const axis& x, const axis& y) {
    return std::max({decimals(x.min), decimals(y.min), decimals(x.cell / 2)});
}
int area_decimals(const axis& x) {
    return std::min(6, 2 * decimals(x.cell));
}

// "h > 0.5 m oder q > 0.5 m2/s" for threshold t.
std::string rule(real t) {
    const std::string v = plain(t);
    return "h > " + v + " m oder q > " + v + " m2/s";
}

// A figure with "mindestens" when it is open.
std::string at_least(bool open, const std::string& v) {
    return (open ? "mindestens " : "") + v;
}

} // namespace

std::string plain(real v) {
    const real a = std::fabs(v);
    if (!(a >= 1e-4f && a < 1e15f)) return write_real(v);
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    return std::string(buf, r.ptr);
}

int decimals(double v) {
    double p = 1;
    for (int k = 0; k < 6; ++k, p *= 10) {
        const double s = v * p;
        if (std::fabs(s - std::round(s)) < 1e-6) return k;
    }
    return 6;
}

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

std::string summary_text(const summary_input& in, const figures& f) {
    const int d = position_decimals(in.x, in.y);
    const int da = area_decimals(in.x);
    const params& p = in.site;
    std::string s = "Gefahrenkarte fuer H = " + plain(p.h) + " m, B = " + plain(p.b) +
                    " m, Vol = " + plain(p.vol) + " m3, S = " + plain(p.slp) + " %";
    if (in.corrected) s += " (korrigiert von " + plain(in.given_slope) + " %)";
    s += ", D = " + plain(p.dm) + " m\n";
    s += "Raster: x von " + shortest(in.x.min) + " bis " + shortest(in.x.max) + " m, y von " +
         shortest(in.y.min) + " bis " + shortest(in.y.max) + " m, Zellgroesse " +
         shortest(in.x.cell) + " m (" + std::to_string(in.x.n) + " x " + std::to_string(in.y.n) +
         " Zellen)\n";
    for (int k = 0; k < 3; ++k) {
        const zone& z = f.zones[k];
        s += "Stufe " + std::to_string(k + 1) + (k < 2 ? " und hoeher" : "") + " (" +
             rule(in.lv.t[k]) + "):\n";
        if (z.cells == 0) {
            s += "  keine Zelle\n";
            continue;
        }
        s += "  Reichweite:  " + at_least(z.reach_open, "x = " + fixed(z.reach, d) + " m") + "\n";
        s += "  Halbbreite:  " + at_least(z.width_open, fixed(z.half_width, d) + " m") + "\n";
        s += "  Flaeche:     " + at_least(z.area_open, fixed(z.area, da) + " m2") + " (" +
             std::to_string(z.cells) + " Zellen)\n";
    }
    s += "Nahbereich ohne Ergebnis (Status 1): ";
    s += f.none.near_columns ? "bis x = " + fixed(f.none.near_end, d) + " m\n"
                             : "keiner im Raster\n";
    s += "Jenseits der Tabellen ohne Ergebnis (Status 2): ";
    s +=
        f.none.far_columns ? "ab x = " + fixed(f.none.far_start, d) + " m\n" : "keiner im Raster\n";
    s += "Nicht berechnet heisst nicht: keine Gefahr.\n";
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
    s += "  \"grid\": {\"x_min\": " + shortest(in.x.min) + ", \"x_max\": " + shortest(in.x.max) +
         ", \"y_min\": " + shortest(in.y.min) + ", \"y_max\": " + shortest(in.y.max) +
         ", \"cell\": " + shortest(in.x.cell) + ", \"nx\": " + std::to_string(in.x.n) +
         ", \"ny\": " + std::to_string(in.y.n) + "},\n";
    s += "  \"levels\": [" + plain(in.lv.t[0]) + ", " + plain(in.lv.t[1]) + ", " +
         plain(in.lv.t[2]) + "],\n  \"zones\": [\n";
    for (int k = 0; k < 3; ++k) {
        const zone& z = f.zones[k];
        s += "    {\"level\": " + std::to_string(k + 1) + ", \"cells\": " + std::to_string(z.cells);
        if (z.cells == 0) {
            s += ", \"reach\": null, \"reach_at_least\": false, \"half_width\": null, "
                 "\"half_width_at_least\": false, \"area\": 0, \"area_at_least\": false}";
        } else {
            s += ", \"reach\": " + fixed(z.reach, d) +
                 ", \"reach_at_least\": " + flag(z.reach_open) +
                 ", \"half_width\": " + fixed(z.half_width, d) +
                 ", \"half_width_at_least\": " + flag(z.width_open) +
                 ", \"area\": " + fixed(z.area, da) + ", \"area_at_least\": " + flag(z.area_open) +
                 "}";
        }
        s += k < 2 ? ",\n" : "\n";
    }
    s += "  ],\n  \"near_zone\": ";
    s += f.none.near_columns ? "{\"x_end\": " + fixed(f.none.near_end, d) + "}" : "null";
    s += ",\n  \"far_zone\": ";
    s += f.none.far_columns ? "{\"x_start\": " + fixed(f.none.far_start, d) + "}" : "null";
    s += "\n}\n";
    return s;
}

} // namespace orv::map
