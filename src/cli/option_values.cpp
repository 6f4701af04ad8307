// Reading option values into numbers, pairs, ranges and codes.
#include "cli/option_values.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "csv/number.h"

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

// Whether text, once its only comma is a point, reads as a finite number:
// "20,5" is meant as 20.5. False for a text with no comma or more than one.
bool comma_decimal(std::string_view text, std::string& with_point) {
    const auto k = text.find(',');
    if (k == std::string_view::npos || text.find(',', k + 1) != std::string_view::npos)
        return false;
    with_point = std::string(text);
    with_point[k] = '.';
    const auto r = read_double(with_point);
    return r.ok() && std::isfinite(r.value);
}

// The problem of a number written with a decimal comma, which an option
// takes with a point: "Option -B: Dezimalpunkt verwenden: 20.5 statt 20,5".
problem point_problem(const char* name, const std::string& with_point, const std::string& text) {
    return {exit_bad_value, std::string("Option ") + name + ": Dezimalpunkt verwenden: " +
                                with_point + " statt " + text};
}

// A number as the tool prints coordinates, "2'600'000.5": the apostrophes
// removed when they stand only between groups of three digits of the whole
// part (the first group one to three digits); false with why when they
// stand anywhere else. A text without apostrophes is returned as it is.
bool ungrouped(std::string_view text, std::string& plain, std::string& why) {
    plain = std::string(text);
    if (text.find('\'') == std::string_view::npos) return true;
    std::size_t k = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    const std::size_t whole_end = std::min(text.find_first_of(".eE"), text.size());
    plain = std::string(text.substr(0, k));
    std::size_t group = 0;
    bool first = true, fine = k < whole_end;
    for (; k < whole_end && fine; ++k) {
        const char c = text[k];
        if (c == '\'') {
            fine = group > 0 && (first ? group <= 3 : group == 3);
            first = false;
            group = 0;
        } else if (c >= '0' && c <= '9') {
            plain += c;
            ++group;
        } else {
            fine = false;
        }
    }
    fine = fine && (first || group == 3) && text.find('\'', whole_end) == std::string_view::npos;
    if (!fine) {
        why = "Apostroph nur zwischen Gruppen von drei Ziffern erlaubt (2'600'000)";
        return false;
    }
    plain += text.substr(whole_end);
    return true;
}

// text without the blanks and tabs around it.
std::string_view trimmed(std::string_view text) {
    const auto a = text.find_first_not_of(" \t");
    if (a == std::string_view::npos) return {};
    return text.substr(a, text.find_last_not_of(" \t") - a + 1);
}

// Splits text at its only sep into two parts that are not blank.
bool split(std::string_view text, char sep, std::string_view& a, std::string_view& b) {
    const auto k = text.find(sep);
    if (k == std::string_view::npos || text.find(sep, k + 1) != std::string_view::npos)
        return false;
    a = trimmed(text.substr(0, k));
    b = trimmed(text.substr(k + 1));
    return !a.empty() && !b.empty();
}

// One finite double of a coordinate option, thousands grouped or not.
bool coordinate(std::string_view part, double& v, std::string& why) {
    std::string plain;
    return ungrouped(trimmed(part), plain, why) && finite_double(plain, v, why);
}

// Two finite doubles "A<sep>B" given to option name, what naming the form;
// grouped says whether they are coordinates, which may be written with
// apostrophes between groups of three digits. A comma that is a decimal
// comma is told so where sep is not the comma itself.
maybe_problem two_doubles(const std::string& text, const char* name, char sep,
                          const std::string& what, bool grouped, double& a, double& b) {
    std::string_view ta, tb;
    if (!split(text, sep, ta, tb)) return bad(name, what + " erwartet", text);
    std::string why;
    auto one = [&](std::string_view part, double& v) {
        return grouped ? coordinate(part, v, why) : finite_double(part, v, why);
    };
    if (one(ta, a) && one(tb, b)) return std::nullopt;
    std::string pa, pb;
    if (sep != ',' && (comma_decimal(ta, pa) || finite_double(ta, a, why)) &&
        (comma_decimal(tb, pb) || finite_double(tb, b, why)))
        return point_problem(
            name, (pa.empty() ? std::string(ta) : pa) + sep + (pb.empty() ? std::string(tb) : pb),
            text);
    return bad(name, what + " erwartet, " + why, text);
}

} // namespace

maybe_problem read_pair(const std::string& text, const char* name, const char* what, std::string& a,
                        std::string& b) {
    std::string_view ta, tb;
    if (!split(text, ',', ta, tb)) return bad(name, std::string(what) + " erwartet", text);
    a = ta;
    b = tb;
    return std::nullopt;
}

maybe_problem read_coords(const std::string& text, std::string& e, std::string& n) {
    if (text.empty()) return std::nullopt;
    static const char* const what = "zwei verschiedene Spaltennamen E,N";
    std::string a, b;
    if (auto pr = read_pair(text, "--coords", what, a, b)) return pr;
    if (a == b) return bad("--coords", std::string(what) + " erwartet", text);
    e = a;
    n = b;
    return std::nullopt;
}

maybe_problem read_char(const std::string& text, const char* name, const char* allowed, char& c) {
    if (text.empty()) return std::nullopt;
    const std::string t = text == "tab" ? "\t" : text;
    if (t.size() == 1 && std::string(allowed).find(t[0]) != std::string::npos) {
        c = t[0];
        return std::nullopt;
    }
    return bad(name,
               std::string(allowed[0] == ';' ? "';', ',' oder tab" : "'.' oder ','") + " erwartet",
               text);
}

maybe_problem read_threads(const std::string& text, unsigned& n) {
    int k = 0;
    if (auto pr = read_count(text, "--threads", 0, 256, k)) return pr;
    n = static_cast<unsigned>(k);
    return std::nullopt;
}

maybe_problem read_finite(const std::string& text, const char* name, double& v) {
    std::string why, with_point;
    if (finite_double(text, v, why)) return std::nullopt;
    if (comma_decimal(text, with_point)) return point_problem(name, with_point, text);
    return bad(name, why, text);
}

maybe_problem read_coordinate(const std::string& text, const char* name, double& v) {
    std::string why;
    if (!coordinate(text, v, why)) return bad(name, why, text);
    return std::nullopt;
}

maybe_problem decimal_comma(const std::string& text, const char* name) {
    std::string with_point;
    if (comma_decimal(text, with_point)) return point_problem(name, with_point, text);
    return std::nullopt;
}

maybe_problem read_size(const std::string& text, const char* name, std::optional<double>& v) {
    if (text.empty()) return std::nullopt;
    double d = 0;
    if (auto e = read_finite(text, name, d)) return e;
    if (!(d > 0)) return bad(name, "Wert muss groesser als 0 sein", text);
    v = d;
    return std::nullopt;
}

maybe_problem read_point(const std::string& text, const char* name, double& e, double& n) {
    return two_doubles(text, name, ',', "zwei Zahlen E,N", true, e, n);
}

maybe_problem read_range(const std::string& text, const char* name, std::optional<map::range>& r) {
    if (text.empty()) return std::nullopt;
    double a = 0, b = 0;
    if (auto e = two_doubles(text, name, ':', "MIN:MAX", false, a, b)) return e;
    if (!(a < b)) return bad(name, "MIN muss kleiner als MAX sein", text);
    r = map::range{a, b};
    return std::nullopt;
}

// Decimal digits only: no sign, no blanks.
maybe_problem read_count(const std::string& text, const char* name, int lo, int hi, int& n) {
    if (text.empty()) return std::nullopt;
    int v = 0;
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, v);
    const bool digits = !text.empty() && text[0] != '-';
    if (digits && r.ec == std::errc() && r.ptr == end && v >= lo && v <= hi) {
        n = v;
        return std::nullopt;
    }
    return bad(name,
               "ganze Zahl von " + std::to_string(lo) + " bis " + std::to_string(hi) + " erwartet",
               text);
}

} // namespace orv::cli
