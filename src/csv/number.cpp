// Reading and writing numbers with std::from_chars and std::to_chars.
#include "csv/number.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace orv {

namespace {

// Copies text without surrounding blanks and tabs and a leading '+' into buf,
// with '.' for the decimal separator; fails on empty or overlong text.
num_error normalise(std::string_view text, char dec, char* buf, std::size_t& n) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.empty()) return num_error::empty;
    if (text.size() > max_number_len) return num_error::too_long;
    // A '+' is allowed only in front of a digit or a decimal separator.
    if (text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-' || text.front() == '+') return num_error::syntax;
    }
    n = 0;
    for (char c : text) {
        if (c == dec)
            c = '.';
        else if (c == '.' && dec != '.')
            return num_error::syntax;
        buf[n++] = c;
    }
    buf[n] = '\0';
    return num_error::none;
}

// from_chars for T over the normalised text; out of range falls back to the
// C library, which gives an infinity or the nearest tiny value as strtof does.
template <class T> num_read<T> read(std::string_view text, char dec) {
    char buf[max_number_len + 2];
    std::size_t n = 0;
    num_read<T> r;
    r.err = normalise(text, dec, buf, n);
    if (!r.ok()) return r;
    const auto [end, ec] = std::from_chars(buf, buf + n, r.value, std::chars_format::general);
    if (end != buf + n || ec == std::errc::invalid_argument) {
        r.err = num_error::syntax;
    } else if (ec == std::errc::result_out_of_range) {
        char* stop = nullptr;
        if constexpr (sizeof(T) == sizeof(float))
            r.value = std::strtof(buf, &stop);
        else
            r.value = std::strtod(buf, &stop);
    }
    return r;
}

} // namespace

// Text to the nearest Real.
num_read<real> read_real(std::string_view text, char dec) {
    return read<real>(text, dec);
}

// Text to the nearest double.
num_read<double> read_double(std::string_view text, char dec) {
    return read<double>(text, dec);
}

// Shortest round-trip text, or fixed decimals.
std::string write_real(real v, char dec, int digits) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    char buf[128];
    std::to_chars_result r;
    if (digits >= 0) {
        // Wide values in fixed notation need up to 39 digits before the point.
        if (digits > 60) digits = 60;
        r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, digits);
    } else {
        r = std::to_chars(buf, buf + sizeof buf, v);
    }
    std::string s(buf, r.ptr);
    if (dec != '.') {
        for (char& c : s)
            if (c == '.') c = dec;
    }
    return s;
}

// Message words for a reading failure.
const char* describe(num_error e) {
    switch (e) {
    case num_error::empty: return "leer, keine Zahl";
    case num_error::syntax: return "keine Zahl";
    case num_error::too_long: return "Zahl zu lang";
    case num_error::none: break;
    }
    return "";
}

} // namespace orv
