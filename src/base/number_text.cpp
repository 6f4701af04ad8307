// Numbers to text with std::to_chars: exact shortest texts and fixed decimals.
#include "base/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace orv {

std::string write_real(real v, char dec, int digits) {
    char buf[max_real_len];
    return std::string(buf, put_real(buf, v, dec, digits));
}

char* put_real(char* p, real v, char dec, int digits) {
    if (std::isnan(v)) return std::copy_n("nan", 3, p);
    if (std::isinf(v)) return v > 0 ? std::copy_n("inf", 3, p) : std::copy_n("-inf", 4, p);
    std::to_chars_result r;
    if (digits >= 0) {
        // Wide values in fixed notation need up to 39 digits before the point.
        if (digits > 60) digits = 60;
        r = std::to_chars(p, p + max_real_len, v, std::chars_format::fixed, digits);
    } else {
        r = std::to_chars(p, p + max_real_len, v);
    }
    if (dec != '.') {
        for (char* c = p; c != r.ptr; ++c)
            if (*c == '.') *c = dec;
    }
    return r.ptr;
}

std::string shortest(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string plain(real v) {
    const real a = std::fabs(v);
    if (!(a >= 1e-4f && a < 1e15f)) return write_real(v);
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    return std::string(buf, r.ptr);
}

// Doubles beyond 1e60 in fixed notation need more room than a Real's text:
// a buffer for the largest double with the most decimals.
std::string fixed(double v, int d) {
    char buf[400];
    const auto r =
        std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, std::clamp(d, 0, 60));
    return std::string(buf, r.ptr);
}

std::string picture_number(double v, int d) {
    const std::string s = fixed(std::fabs(v), d);
    const bool zero = s.find_first_not_of("0.") == std::string::npos;
    return (v < 0 && !zero ? "\u2212" : "") + s;
}

int decimals(double v) {
    double p = 1;
    for (int k = 0; k < 6; ++k, p *= 10) {
        const double s = v * p;
        if (std::fabs(s - std::round(s)) < 1e-6) return k;
    }
    return 6;
}

namespace {

// The digits of |v| as fixed() writes them, thousands grouped, with an
// ASCII minus when negative and not shown as zero.
std::string group_digits(const std::string& digits, bool negative) {
    const std::size_t whole = std::min(digits.find('.'), digits.size());
    std::string s;
    for (std::size_t k = 0; k < digits.size(); ++k) {
        if (k > 0 && k < whole && (whole - k) % 3 == 0) s += '\'';
        s += digits[k];
    }
    const bool zero = s.find_first_not_of("0.'") == std::string::npos;
    return (negative && !zero ? "-" : "") + s;
}

// The value of a text grouped() or plain() wrote, whatever the locale.
double value_of(std::string s) {
    std::erase(s, '\'');
    double v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

// v cut toward zero after d decimals, grouped: the exact digits of the
// Real come from a text with more decimals whose tail is dropped.
std::string cut(real v, int d) {
    const int extra = std::min(25, 60 - d);
    if (extra <= 0) return grouped(v, d);
    std::string digits = fixed(std::fabs(static_cast<double>(v)), d + extra);
    digits.resize(digits.size() - static_cast<std::size_t>(extra) - (d == 0 ? 1 : 0));
    return group_digits(digits, v < 0);
}

} // namespace

// The digits come from fixed(), whose buffer holds the largest double: a
// fixed-size buffer of its own would cut the digits of a large value.
std::string grouped(double v, int d) {
    return group_digits(fixed(std::fabs(v), d), v < 0);
}

std::string three_digits(real v, std::span<const real> limits) {
    if (std::isnan(v)) return "";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    if (v == 0) return "0";
    const double a = std::fabs(static_cast<double>(v));
    const int first = std::min(60, std::max(0, 2 - static_cast<int>(std::floor(std::log10(a)))));
    int d = first;
    std::string s = grouped(v, d);
    // A carry into a new leading digit (9.996 to "10.00") drops a decimal.
    if (d > 0 && std::fabs(value_of(s)) >= std::pow(10.0, 3 - d)) s = grouped(v, --d);
    for (const real t : limits) {
        // The limit as people read it: 0.3 rather than the Real nearest to it.
        if (v < t && value_of(s) >= value_of(plain(t))) return cut(v, first);
    }
    return s;
}

std::string counted(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace orv
