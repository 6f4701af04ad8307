// Reading numbers with std::from_chars.
#include "csv/number.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace orv {

namespace {

// Takes the blanks and tabs around text and a leading '+' off; fails on
// empty or overlong text.
num_error trim(std::string_view& text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.empty()) return num_error::empty;
    if (text.size() > max_number_len) return num_error::too_long;
    // A '+' is allowed only in front of a digit or a decimal separator.
    if (text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-' || text.front() == '+') return num_error::syntax;
    }
    return num_error::none;
}

// from_chars for T over n bytes at p with '.' as the decimal separator; out
// of range falls back to the C library, which gives an infinity or the
// nearest tiny value as strtof does.
template <class T> num_read<T> convert(const char* p, std::size_t n) {
    num_read<T> r;
    const auto [end, ec] = std::from_chars(p, p + n, r.value, std::chars_format::general);
    if (end != p + n || ec == std::errc::invalid_argument) {
        r.err = num_error::syntax;
    } else if (ec == std::errc::result_out_of_range) {
        char buf[max_number_len + 1];
        std::memcpy(buf, p, n);
        buf[n] = '\0';
        char* stop = nullptr;
        if constexpr (sizeof(T) == sizeof(float))
            r.value = std::strtof(buf, &stop);
        else
            r.value = std::strtod(buf, &stop);
    }
    return r;
}

// Limits of plain decimals read directly as T: significant digits whose
// integer is exact in T, and powers of ten exact in T.
template <class T> struct plain_limits;
template <> struct plain_limits<float> {
    static constexpr int digits = 7;    // below 2^24
    static constexpr int decimals = 10; // 10^10 = 2^10 * 5^10, 5^10 below 2^24
};
template <> struct plain_limits<double> {
    static constexpr int digits = 15;   // below 2^53
    static constexpr int decimals = 22; // 5^22 below 2^53
};

// A plain decimal ([-]digits[dec digits], at least one digit, few enough)
// read as n / 10^k in T: both exact, so the one division rounds to the
// nearest T as from_chars does. False for any other text.
template <class T> bool read_plain(std::string_view text, char dec, T& value) {
    static constexpr T tens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    std::size_t i = text[0] == '-' ? 1 : 0;
    uint64_t n = 0;
    int digits = 0, decimals = -1;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            if (++digits > plain_limits<T>::digits) return false;
            n = n * 10 + static_cast<uint64_t>(c - '0');
            if (decimals >= 0) ++decimals;
        } else if (c == dec && decimals < 0) {
            decimals = 0;
        } else {
            return false;
        }
    }
    if (digits == 0 || decimals > plain_limits<T>::decimals) return false;
    T v = static_cast<T>(n);
    if (decimals > 0) v /= tens[decimals];
    value = text[0] == '-' ? -v : v;
    return true;
}

// Reads text as a T; with ',' as the decimal separator a '.' is not allowed.
template <class T> num_read<T> read(std::string_view text, char dec) {
    num_read<T> r;
    r.err = trim(text);
    if (!r.ok()) return r;
    if (read_plain(text, dec, r.value)) return r;
    if (dec == '.') return convert<T>(text.data(), text.size());
    char buf[max_number_len];
    std::size_t n = 0;
    for (char c : text) {
        if (c == dec) {
            c = '.';
        } else if (c == '.') {
            r.err = num_error::syntax;
            return r;
        }
        buf[n++] = c;
    }
    return convert<T>(buf, n);
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
