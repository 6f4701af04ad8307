// Reading the grid and georeference options.
#include "cli/grid_options.h"

#include <charconv>
#include <cmath>

#include "csv/number.h"
#include "model/intensity.h"
#include "model/point.h"
#include "model/status_text.h"

namespace orv::cli {

namespace {

// The problem "Option NAME: WHY: TEXT" with status 1.
problem bad(const char* name, const std::string& why, const std::string& text) {
    return {exit_bad_value, std::string("Option ") + name + ": " + why + ": " + text};
}

// Reads one finite double from part; why says what is wrong.
bool finite_double(std::string_view part, double& v, std::string& why) {
    const auto r = read_double(part);
    if (!r.ok()) {
        why = describe(r.err);
        return false;
    }
    if (!std::isfinite(r.value)) {
        why = "Wert muss endlich sein";
        return false;
    }
    v = r.value;
    return true;
}

// Splits "A<sep>B" into two finite doubles.
bool two_doubles(const std::string& text, char sep, double& a, double& b, std::string& why) {
    const auto k = text.find(sep);
    if (k == std::string::npos || text.find(sep, k + 1) != std::string::npos) {
        why = "";
        return false;
    }
    const std::string_view t = text;
    return finite_double(t.substr(0, k), a, why) && finite_double(t.substr(k + 1), b, why);
}

} // namespace

maybe_problem read_range(const std::string& text, const char* name, std::optional<map::range>& r) {
    if (text.empty()) return std::nullopt;
    double a = 0, b = 0;
    std::string why;
    if (!two_doubles(text, ':', a, b, why))
        return bad(name, why.empty() ? "MIN:MAX erwartet" : "MIN:MAX erwartet, " + why, text);
    if (!(a < b)) return bad(name, "MIN muss kleiner als MAX sein", text);
    r = map::range{a, b};
    return std::nullopt;
}

maybe_problem read_size(const std::string& text, const char* name, std::optional<double>& v) {
    if (text.empty()) return std::nullopt;
    double d = 0;
    std::string why;
    if (!finite_double(text, d, why)) return bad(name, why, text);
    if (!(d > 0)) return bad(name, "Wert muss groesser als 0 sein", text);
    v = d;
    return std::nullopt;
}

maybe_problem read_point(const std::string& text, const char* name, double& e, double& n) {
    std::string why;
    if (!two_doubles(text, ',', e, n, why))
        return bad(name, why.empty() ? "E,N erwartet" : "E,N erwartet, " + why, text);
    return std::nullopt;
}

maybe_problem read_finite(const std::string& text, const char* name, double& v) {
    std::string why;
    if (!finite_double(text, v, why)) return bad(name, why, text);
    return std::nullopt;
}

// A slope outside the classes gives status 3 or 4 at any distance.
maybe_problem check_slope(params& p, bool correct, std::string& note) {
    params at = p;
    at.x1 = 100;
    at.y1 = 0;
    const intensity_outcome o = compute_intensity(at);
    if (o.st != 3 && o.st != 4) return std::nullopt;
    params c = p;
    correct_params(c, o);
    const std::string fixed = "korrigierter Wert: S = " + write_real(c.slp) + " %";
    if (!correct) {
        return problem{exit_bad_value, std::string(status_text(o.st)) +
                                           ": S = " + write_real(p.slp) + " % (" + fixed +
                                           "; mit --correct wird damit gerechnet)"};
    }
    note = std::string(status_text(o.st)) + ", " + fixed;
    p.slp = c.slp;
    return std::nullopt;
}

std::string shown(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

} // namespace orv::cli
