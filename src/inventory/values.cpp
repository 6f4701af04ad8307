// Matching register columns to dam values and reading a row's values.
#include "inventory/values.h"

#include <cmath>

#include "batch/columns.h"
#include "csv/number.h"

namespace orv::inventory {

namespace {

// Where a site value goes in a Parameter set, its option, and whether it must be > 0.
real params::*const member[5] = {&params::h, &params::b, &params::vol, &params::slp, &params::dm};
const char* const option_of[v_azimuth + 1] = {"-H", "-B", "--vol", "-S", "-D", "--azimuth"};
constexpr bool positive[5] = {true, true, true, false, true};

// s without blanks and tabs at either end.
std::string trimmed(const std::string& s) {
    const auto a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

// True when a equals b in any case (ASCII).
bool same_any_case(const std::string& a, const char* b) {
    std::size_t k = 0;
    for (; k < a.size() && b[k]; ++k)
        if ((a[k] | 0x20) != (b[k] | 0x20)) return false;
    return k == a.size() && !b[k];
}

// The value a header name gives by the usual names: H, B, S, D exactly,
// Vol and azimuth in any case; -1 for none.
int usual(const std::string& name) {
    if (same_any_case(name, "vol")) return v_vol;
    if (same_any_case(name, "azimuth")) return v_azimuth;
    if (name == "H") return v_h;
    if (name == "B") return v_b;
    if (name == "S") return v_s;
    if (name == "D") return v_d;
    return -1;
}

// Whether option v was given.
bool given(const value_options& o, int v) {
    return v == v_azimuth ? o.azimuth.has_value() : o.site[v].has_value();
}

} // namespace

const char* value_name(int v) {
    static const char* const names[n_values] = {"H", "B", "Vol", "S", "D", "azimuth", "E", "N"};
    return names[v];
}

bool read_field_option(const std::string& text, value_options& o, std::string& why) {
    const auto eq = text.find('=');
    const std::string v = eq == std::string::npos ? "" : trimmed(text.substr(0, eq));
    const std::string c = eq == std::string::npos ? "" : trimmed(text.substr(eq + 1));
    const int k = usual(v);
    if (k < 0 || c.empty()) {
        why = "Option --field: WERT=SPALTE erwartet (WERT H, B, Vol, S, D oder azimuth): " + text;
        return false;
    }
    if (!o.column[k].empty()) {
        why = "Option --field: " + std::string(value_name(k)) + " zweimal angegeben";
        return false;
    }
    o.column[k] = c;
    return true;
}

std::string value_columns::label(std::int64_t c) const {
    std::string s = "Spalte " + std::to_string(c + 1);
    const auto k = static_cast<std::size_t>(c);
    if (k < names_.size() && !names_[k].empty()) s += " (" + names_[k] + ")";
    return s;
}

bool value_columns::set_header(const std::vector<std::string>& names, bool coords,
                               std::string& why) {
    names_.clear();
    for (const auto& n : names) names_.push_back(trimmed(n));
    // Batch's header reading finds the near misses (case, blanks, quotes).
    batch::columns near(true, o_.e_name, o_.n_name);
    for (const auto& n : names_) near.add(n, false);
    hints_ = near.hints();
    const std::string hint = hints_.empty() ? "" : "; " + hints_;
    for (std::size_t c = 0; c < names_.size(); ++c) {
        const std::string& n = names_[c];
        int v = -1;
        for (int k = 0; k <= v_azimuth && v < 0; ++k)
            if (!o_.column[k].empty() && n == o_.column[k]) v = k;
        if (v < 0 && coords && n == o_.e_name) v = v_e;
        if (v < 0 && coords && n == o_.n_name) v = v_n;
        if (v < 0) {
            v = usual(n);
            // A value mapped to another column ignores its usual name.
            if (v >= 0 && !o_.column[v].empty()) v = -1;
        }
        if (!o_.id.empty() && n == o_.id) id_ = static_cast<std::int64_t>(c);
        if (v < 0) continue;
        if (col_[v] >= 0) {
            why = label(col_[v]) + " und " + label(static_cast<std::int64_t>(c)) + " geben beide " +
                  value_name(v) + " an";
            return false;
        }
        col_[v] = static_cast<std::int64_t>(c);
    }
    for (int v = 0; v <= v_azimuth; ++v) {
        if (!o_.column[v].empty() && col_[v] < 0) {
            why = "Spalte " + o_.column[v] + " (--field " + value_name(v) + ") fehlt";
            return false;
        }
        if (col_[v] >= 0 && given(o_, v)) {
            if (o_.prefer_options) {
                col_[v] = -1;
                continue;
            }
            why = label(col_[v]) + " und Option " + option_of[v] + " geben beide " + value_name(v) +
                  " an; Option weglassen oder --prefer options (Optionen gelten vor Spalten)";
            return false;
        }
        if (col_[v] < 0 && !given(o_, v)) {
            why = value_name(v) + std::string(" fehlt: weder Spalte ") + value_name(v) +
                  " noch Option " + option_of[v] + hint;
            return false;
        }
    }
    if (coords) {
        for (int v : {v_e, v_n}) {
            if (col_[v] < 0) {
                why = "Spalte " + (v == v_e ? o_.e_name : o_.n_name) + " (--coords) fehlt" + hint;
                return false;
            }
        }
    }
    if (!o_.id.empty() && id_ < 0) {
        why = "Spalte " + o_.id + " (--id) fehlt";
        return false;
    }
    return true;
}

// Value v of a row into x (a double) or r (a Real); false with why.
bool value_columns::read_value(const std::vector<cell>& cells, char dec, int v, double& x, real& r,
                               std::string& why) const {
    const auto c = static_cast<std::size_t>(col_[v]);
    static const cell missing{"", false, 0, true};
    const cell& k = c < cells.size() ? cells[c] : missing;
    const char* bad = nullptr;
    if (k.null) {
        bad = describe(num_error::empty);
    } else if (k.number) {
        x = k.value;
        r = static_cast<real>(k.value);
    } else if (v < v_azimuth) {
        const auto n = read_real(k.text, dec);
        if (!n.ok()) bad = describe(n.err);
        r = n.value;
    } else {
        const auto n = read_double(k.text, dec);
        if (!n.ok()) bad = describe(n.err);
        x = n.value;
    }
    if (!bad && v < v_azimuth) {
        if (!std::isfinite(r))
            bad = "Wert muss endlich sein";
        else if (positive[v] && !(r > 0))
            bad = "Wert muss groesser als 0 sein";
    } else if (!bad && !std::isfinite(x)) {
        bad = "Wert muss endlich sein";
    }
    if (!bad) return true;
    why = label(col_[v]) + ": " + bad + (k.text.empty() ? "" : ": " + k.text);
    return false;
}

bool value_columns::read(const std::vector<cell>& cells, char dec, dam_site& d, double en[2],
                         std::string& why) const {
    for (int v = 0; v < n_values; ++v) {
        double x = 0;
        real r = 0;
        if (col_[v] < 0) {
            if (v < v_azimuth) d.p.*member[v] = *o_.site[v];
            if (v == v_azimuth && o_.azimuth) d.g.azimuth = *o_.azimuth;
            continue;
        }
        if (!read_value(cells, dec, v, x, r, why)) return false;
        if (v < v_azimuth)
            d.p.*member[v] = r;
        else if (v == v_azimuth)
            d.g.azimuth = x;
        else
            en[v - v_e] = x;
    }
    return true;
}

bool value_columns::read_point(const std::vector<cell>& cells, char dec, double en[2]) const {
    std::string why;
    real r = 0;
    for (int v : {v_e, v_n})
        if (col_[v] < 0 || !read_value(cells, dec, v, en[v - v_e], r, why)) return false;
    return true;
}

} // namespace orv::inventory
