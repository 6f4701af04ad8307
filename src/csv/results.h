// The result columns appended to a CSV row: q, v, h, he, status, level.
#pragma once
#include <cstddef>
#include <cstdint>

#include "base/number_text.h"
#include "model/stages.h"

namespace orv::csv {

// Longest text of the six result fields with their delimiters.
inline constexpr std::size_t max_results_len = 4 * (max_real_len + 1) + 32;

// Writes the six column names, each after the delimiter d; returns the end.
char* put_result_names(char* p, char d);

// Writes the six fields of a result, each after the delimiter d: the four
// results only with status 0 (shortest text, or digits >= 0 decimals, with
// dec as the decimal separator), the status, and the level unless it is
// no_level.
char* put_results(char* p, char d, char dec, int digits, int32_t st, const intensity& r, int level);

// The six fields of a row that could not be read: status "invalid", the
// others empty.
char* put_invalid(char* p, char d);

} // namespace orv::csv
