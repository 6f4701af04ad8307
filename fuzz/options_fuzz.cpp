// Fuzz target: any bytes as the value of an option, given to every option
// value reader (numbers, sizes, pairs, points, ranges, whole numbers, EPSG
// codes, site parameters and level thresholds). Checked are: no crash, an
// accepted value keeps its promise (finite, positive, ascending, in range,
// parts without blanks around them), a refused one gets status 1 and a
// message that names the option and ends with the text as given.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "cli/option_values.h"
#include "cli/site_options.h"
#include "geo/epsg_code.h"
#include "model/level.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "options_fuzz: %s\n", what);
    std::abort();
}

void check(bool ok, const char* what) {
    if (!ok) fail(what);
}

// A refusal: status 1, "Option NAME: ...: TEXT". Compared in place, so
// that a check allocates nothing.
void refused(const orv::cli::problem& p, std::string_view name, std::string_view text) {
    check(p.status == orv::cli::exit_bad_value, "status");
    const std::string_view m = p.text;
    constexpr std::string_view option = "Option ";
    check(m.starts_with(option) && m.substr(option.size()).starts_with(name) &&
              m.substr(option.size() + name.size()).starts_with(": "),
          "message names the option");
    check(m.ends_with(text), "message ends with the text");
}

// A part of a pair: not empty, no blank or tab at either end.
bool clean(const std::string& s) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    return !s.empty() && !blank(s.front()) && !blank(s.back());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // A string of its own size, so that reading past its end is caught.
    const std::string t(reinterpret_cast<const char*>(data), size);
    using namespace orv::cli;
    double v = 0, e = 0, n = 0;
    if (auto p = read_finite(t, "--azimuth", v))
        refused(*p, "--azimuth", t);
    else
        check(std::isfinite(v), "finite");
    std::optional<double> s;
    if (auto p = read_size(t, "--cell", s))
        refused(*p, "--cell", t);
    else
        check(t.empty() ? !s : (s && std::isfinite(*s) && *s > 0), "size");
    if (auto p = read_point(t, "--origin", e, n))
        refused(*p, "--origin", t);
    else
        check(std::isfinite(e) && std::isfinite(n), "point");
    std::string a, b;
    if (auto p = read_pair(t, "--coords", "zwei Spaltennamen E,N", a, b))
        refused(*p, "--coords", t);
    else
        check(clean(a) && clean(b) && a.find(',') == std::string::npos &&
                  b.find(',') == std::string::npos,
              "pair");
    std::optional<orv::map::range> r;
    if (auto p = read_range(t, "--x", r))
        refused(*p, "--x", t);
    else
        check(t.empty() ? !r
                        : (r && std::isfinite(r->min) && std::isfinite(r->max) && r->min < r->max),
              "range");
    int k = -1;
    if (auto p = read_count(t, "--digits", 0, 30, k))
        refused(*p, "--digits", t);
    else
        check(t.empty() ? k == -1 : (k >= 0 && k <= 30), "count");
    int code = 0;
    if (orv::geo::epsg_code(t, code))
        check(code > 0, "epsg");
    else
        check(code == 0, "epsg untouched");
    orv::params prm;
    site_text st;
    st.h = t;
    st.y = t;
    if (auto p = read_site(st, prm))
        refused(*p, "-H", t);
    else
        check(t.empty() || (prm.h > 0 && std::isfinite(prm.h) && std::isfinite(prm.y1)), "site");
    orv::levels lv;
    if (auto p = read_levels(t, lv))
        refused(*p, "--levels", t);
    else
        check(orv::valid_levels(lv), "levels");
    return 0;
}
