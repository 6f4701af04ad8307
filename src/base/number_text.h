// Numbers to text, one function per way a number is shown: the shortest text
// that reads back exactly, fixed decimals with an ASCII minus, and the text
// of pictures with the typographic minus, thousands grouped.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "base/real.h"

namespace orv {

// Longest text put_real writes.
inline constexpr std::size_t max_real_len = 112;

// The shortest text that reads back as the same Real, with dec as the
// decimal separator; digits >= 0 writes that many decimals (at most 60)
// instead. NaN and infinities are written "nan", "inf", "-inf".
std::string write_real(real v, char dec = '.', int digits = -1);

// The same text written at p, which has room for max_real_len bytes;
// returns the end of the text.
char* put_real(char* p, real v, char dec = '.', int digits = -1);

// The shortest text that reads back as the same double.
std::string shortest(double v);

// A Real as people read it: the shortest digits that read back as it,
// without an exponent from 0.0001 to 10^15 (1000000, not 1e+06).
std::string plain(real v);

// v with d decimals and an ASCII minus ("-0.0" for a small negative v).
std::string fixed(double v, int d);

// v with d decimals as a picture's label: the typographic minus (U+2212)
// for negatives and no sign on a value that shows as zero.
std::string picture_number(double v, int d);

// The fewest decimals (at most 6) that show v exactly enough: v times ten
// to their power lies within 1e-6 of a whole number.
int decimals(double v);

// v rounded to d decimals with thousands grouped by an apostrophe:
// 2'600'200, -1'250.5 (ASCII minus, none on a value that shows as zero).
std::string grouped(double v, int d);

// v with three significant digits as a table shows it: 1.89, 0.0123, 12.3;
// from 100 on the whole number, thousands grouped (2'346). A value below a
// limit never shows at or above it: 1.996 below 2 is "1.99", not "2.00" (it
// is cut instead of rounded). Empty for NaN.
std::string three_digits(real v, std::span<const real> limits = {});

// n with the noun in its number: "1 Anlage", "0 Anlagen", "2 Anlagen".
std::string counted(std::uint64_t n, const char* one, const char* many);

} // namespace orv
