// Matching register columns to dam values and reading a row's values.
#include "inventory/values.h"

#include <cmath>

#include "batch/columns.h"
#include "csv/number.h"

namespace orv::inventory {

namespace {

// The site values are the parameter table's first five, in its order.
static_assert(v_azimuth == n_site_params);

// Where a site value goes in a Parameter set.
real params::*member(int v) {
    return param_table[v].member;
}

// The option of value v.
const char* option_of(int v) {
    return v == v_azimuth ? "--azimuth" : param_table[v].option;
}

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

// The value a header name gives by the usual names: the site's as a batch
// header names them (H, B, S, D exactly, Vol in any case), azimuth in any
// case; -1 for none.
int usual(const std::string& name) {
    if (same_any_case(name, "azimuth")) return v_azimuth;
    return batch::param_slot(name, false);
}

// Whether option v was given.
bool given(const value_options& o, int v) {
    return v == v_azimuth ? o.azimuth.has_value() : o.site[v].has_value();
}

} // namespace

const char* value_name(int v) {
    if (v < v_azimuth) return param_table[v].name;
    return v == v_azimuth ? "azimuth" : v == v_e ? "E" : "N";
}

bool read_field_option(const std::string& text, value_options& o, std::string& why) {
    const auto eq = text.find('=');
    const std::string v = eq == std::string::npos ? "" : trimmed(text.substr(0, eq));
    const std::string c = eq == std::string::npos ? "" : trimmed(text.substr(eq + 1));
    const int k = usual(v);
    if (k < 0 || c.empty()) {
        why = "Option --field: WERT=SPALTE erwartet (WERT " + param_names(0, n_site_params, ", ") +
              " oder azimuth): " + text;
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
    return match_names(coords, why) && check_sources(coords, hint, why);
}

// The value the column named n gives: a --field name first, then the
// coordinates, then the usual name; -1 for none.
int value_columns::value_of(const std::string& n, bool coords) const {
    for (int k = 0; k <= v_azimuth; ++k)
        if (!o_.column[k].empty() && n == o_.column[k]) return k;
    if (coords && n == o_.e_name) return v_e;
    if (coords && n == o_.n_name) return v_n;
    const int v = usual(n);
    // A value mapped to another column ignores its usual name.
    return v >= 0 && !o_.column[v].empty() ? -1 : v;
}

// Gives each value its column; a value given by two columns is a problem.
bool value_columns::match_names(bool coords, std::string& why) {
    for (std::size_t c = 0; c < names_.size(); ++c) {
        const std::string& n = names_[c];
        const int v = value_of(n, coords);
        if (!o_.id.empty() && n == o_.id) id_ = static_cast<std::int64_t>(c);
        if (v < 0) continue;
        if (col_[v] >= 0) {
            why = label(col_[v]) + " und " + label(static_cast<std::int64_t>(c)) + " geben beide " +
                  value_name(v) + " an";
            return false;
        }
        col_[v] = static_cast<std::int64_t>(c);
    }
    return true;
}

// Each value has one source, a column or an option, and every named column is there.
bool value_columns::check_sources(bool coords, const std::string& hint, std::string& why) {
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
            why = label(col_[v]) + " und Option " + option_of(v) + " geben beide " + value_name(v) +
                  " an; Option weglassen oder --prefer options (Optionen gelten vor Spalten)";
            return false;
        }
        if (col_[v] < 0 && !given(o_, v)) {
            why = value_name(v) + std::string(" fehlt: weder Spalte ") + value_name(v) +
                  " noch Option " + option_of(v) + hint;
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
        bad = unusable(r, param_table[v].positive);
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
            if (v < v_azimuth) d.p.*member(v) = *o_.site[v];
            if (v == v_azimuth && o_.azimuth) d.g.azimuth = *o_.azimuth;
            continue;
        }
        if (!read_value(cells, dec, v, x, r, why)) return false;
        if (v < v_azimuth)
            d.p.*member(v) = r;
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
