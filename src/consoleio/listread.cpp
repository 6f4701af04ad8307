#include "consoleio/listread.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <limits>
#include <optional>

namespace orv {
namespace {

constexpr std::string_view bad_real = "Bad real number in item 1 of list input";
constexpr std::string_view zero_repeat = "Zero repeat count in item 1 of list input";
constexpr std::string_view repeat_overflow = "Repeat count overflow in item 1 of list input";
constexpr std::string_view no_digits = "Error during floating point read";

constexpr long long max_repeat = 200000000;
// Written exponents saturate here; far beyond any float, small enough never to overflow.
constexpr long long max_exponent = 1000000000;
// Significant digits kept for conversion; a float rounding boundary never needs more.
constexpr std::size_t max_digits = 160;
// Decimal exponents past these bounds give an infinity or a zero in any case.
constexpr long long exp_clamp = 99;

enum class kind { finite, infinity, nan };

// A constant as written: its sign, the mantissa text (digits and at most one
// point) and the written exponent.
struct constant {
    kind k = kind::finite;
    bool negative = false;
    std::string_view mantissa;
    long long exponent = 0;
};

// Read position in the record; the end of the record is tested with end().
struct cursor {
    std::string_view s;
    std::size_t i = 0;
    bool end() const { return i >= s.size(); }
    char peek() const { return end() ? '\0' : s[i]; }
};

bool is_digit(char ch) {
    return ch >= '0' && ch <= '9';
}
char lower(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}
bool is_separator(char ch) {
    return ch == ' ' || ch == '\t' || ch == ',' || ch == ';' || ch == '/';
}

// A value must be followed by a separator or the end of the record.
bool at_value_end(const cursor& c) {
    return c.end() || is_separator(c.peek());
}

read_result fail(std::string_view message) {
    return {read_outcome::error, message};
}

// Skips the blanks and tabs allowed before a value.
void skip_blanks(cursor& c) {
    while (!c.end() && (c.peek() == ' ' || c.peek() == '\t')) ++c.i;
}

// Consumes an optional '+' or '-'; returns true for '-'.
bool take_sign(cursor& c) {
    if (c.peek() != '+' && c.peek() != '-') return false;
    return c.s[c.i++] == '-';
}

// Consumes a run of digits into out, saturated at limit so that long runs
// cannot overflow; false when there is no digit.
bool take_count(cursor& c, long long limit, long long& out) {
    std::size_t start = c.i;
    out = 0;
    for (; !c.end() && is_digit(c.peek()); ++c.i)
        out = std::min(limit, out * 10 + (c.peek() - '0'));
    return c.i > start;
}

// Consumes the lower-case word w in any mix of case, or nothing when the
// record does not continue with it.
bool take_word(cursor& c, std::string_view w) {
    if (c.s.size() - c.i < w.size()) return false;
    for (std::size_t k = 0; k < w.size(); ++k)
        if (lower(c.s[c.i + k]) != w[k]) return false;
    c.i += w.size();
    return true;
}

// Consumes the optional "(...)" after NaN; false when a separator or the end
// of the record comes before the closing parenthesis.
bool take_nan_tail(cursor& c) {
    if (c.peek() != '(') return true;
    for (++c.i; !c.end() && c.peek() != ')'; ++c.i)
        if (is_separator(c.peek())) return false;
    if (c.end()) return false;
    ++c.i;
    return true;
}

// Reads Inf, Infinity or NaN with its optional tail.
bool take_special(cursor& c, constant& k) {
    if (take_word(c, "inf")) {
        take_word(c, "inity");
        k.k = kind::infinity;
        return true;
    }
    k.k = kind::nan;
    return take_word(c, "nan") && take_nan_tail(c);
}

// Reads digits with at most one decimal point; false when there is neither.
bool take_mantissa(cursor& c, constant& k) {
    std::size_t start = c.i;
    bool point = false;
    for (; !c.end(); ++c.i) {
        if (c.peek() == '.' && !point)
            point = true;
        else if (!is_digit(c.peek()))
            break;
    }
    k.mantissa = c.s.substr(start, c.i - start);
    return !k.mantissa.empty();
}

// Reads an optional exponent: E, D or Q with an optional sign, or a sign
// alone; either form needs at least one digit.
bool take_exponent(cursor& c, constant& k) {
    char ch = lower(c.peek());
    bool letter = ch == 'e' || ch == 'd' || ch == 'q';
    if (c.end() || (!letter && ch != '+' && ch != '-')) return true;
    bool negative = ch == '-';
    ++c.i;
    if (letter) negative = take_sign(c);
    long long e = 0;
    if (!take_count(c, max_exponent, e)) return false;
    k.exponent = negative ? -e : e;
    return true;
}

// Reads one constant, infinity or NaN that must end at a separator or the
// end of the record.
bool take_constant(cursor& c, constant& k) {
    k.negative = take_sign(c);
    char ch = lower(c.peek());
    bool ok =
        ch == 'i' || ch == 'n' ? take_special(c, k) : take_mantissa(c, k) && take_exponent(c, k);
    return ok && at_value_end(c);
}

// Reads a repeat count "r*" when the record starts with one. Returns an
// outcome when the statement ends here (a bad count, or nothing after the
// '*'), and nothing when a constant is to follow.
std::optional<read_result> take_repeat(cursor& c) {
    cursor probe = c;
    long long r = 0;
    if (!take_count(probe, max_repeat + 1, r) || probe.peek() != '*') return std::nullopt;
    if (r == 0) return fail(zero_repeat);
    if (r > max_repeat) return fail(repeat_overflow);
    c.i = probe.i + 1;
    if (at_value_end(c)) return read_result{read_outcome::null_value, {}};
    return std::nullopt;
}

// Writes the constant as sign, "0.", its significant digits and a decimal
// exponent into buf and returns the length. Digits beyond max_digits are
// replaced by one '1' when any of them is nonzero, which keeps the rounding
// direction; the exponent is clamped where the result no longer changes.
std::size_t normalise(const constant& k, char* buf) {
    std::size_t n = 0;
    if (k.negative) buf[n++] = '-';
    buf[n++] = '0';
    buf[n++] = '.';
    long long point = 0; // digits before the decimal point, less leading zeros
    std::size_t kept = 0;
    bool seen_point = false, significant = false, sticky = false;
    for (char ch : k.mantissa) {
        if (ch == '.') {
            seen_point = true;
            continue;
        }
        significant = significant || ch != '0';
        if (!significant) {
            if (seen_point) --point;
            continue;
        }
        if (!seen_point) ++point;
        if (kept < max_digits)
            buf[n++] = ch, ++kept;
        else
            sticky = sticky || ch != '0';
    }
    if (kept == 0) buf[n++] = '0';
    if (sticky) buf[n++] = '1';
    long long e = std::clamp(point + k.exponent, -exp_clamp, exp_clamp);
    buf[n++] = 'e';
    return static_cast<std::size_t>(std::to_chars(buf + n, buf + n + 8, e).ptr - buf);
}

// Converts the finite constant to the nearest float, ties to even. Overflow
// and underflow come back as out of range from from_chars; the C library's
// strtof then gives the infinity, subnormal or signed zero.
float to_float(const constant& k) {
    char buf[max_digits + 16];
    std::size_t n = normalise(k, buf);
    float f = 0.0f;
    auto r = std::from_chars(buf, buf + n, f);
    if (r.ec == std::errc::result_out_of_range) {
        buf[n] = '\0';
        f = std::strtof(buf, nullptr);
    }
    return f;
}

// Turns a read constant into its float value.
float value_of(const constant& k) {
    float sign = k.negative ? -1.0f : 1.0f;
    switch (k.k) {
    case kind::infinity: return std::copysign(std::numeric_limits<float>::infinity(), sign);
    case kind::nan: return std::copysign(std::numeric_limits<float>::quiet_NaN(), sign);
    case kind::finite: break;
    }
    return to_float(k);
}

bool has_digit(std::string_view s) {
    return std::any_of(s.begin(), s.end(), is_digit);
}

} // namespace

// Reads one list-directed Real: null values, the repeat form, then one
// constant collected whole and converted once. var changes only on a value.
read_result read_real(std::string_view rec, float& var) {
    cursor c{rec};
    skip_blanks(c);
    if (c.end()) return {read_outcome::eof, {}};
    if (c.peek() == ',' || c.peek() == ';' || c.peek() == '/')
        return {read_outcome::null_value, {}};
    if (auto r = take_repeat(c)) return *r;
    constant k;
    if (!take_constant(c, k)) return fail(bad_real);
    // A mantissa of a point alone is refused without touching var, so a typo
    // cannot wipe the stored value.
    if (k.k == kind::finite && !has_digit(k.mantissa)) return fail(no_digits);
    var = value_of(k);
    return {read_outcome::value, {}};
}

} // namespace orv
