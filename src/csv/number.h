// Numbers in text: read to the nearest Real or double.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/real.h"

namespace orv {

// Why a text is not a number.
enum class num_error { none, empty, syntax, too_long };

// Outcome of reading a number: the value, or why there is none.
template <class T> struct num_read {
    T value{};
    num_error err = num_error::none;
    bool ok() const { return err == num_error::none; }
};

// Longest number text accepted (after trimming blanks and tabs).
inline constexpr std::size_t max_number_len = 512;

// Reads the whole of text (blanks and tabs around it allowed, an optional
// leading '+') as the Real nearest to it, as strtof does: straight to float,
// never by way of a double. dec is the decimal separator, '.' or ','.
// "inf" and "nan" read as such; the caller decides what is usable.
num_read<real> read_real(std::string_view text, char dec = '.');

// The same for a double.
num_read<double> read_double(std::string_view text, char dec = '.');

// The German description of e, for messages.
const char* describe(num_error e);

} // namespace orv
