// The types of a CSV register's columns in a typed output: a column that
// holds a number wherever it holds anything is written as one.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

class OGRFeature;

namespace orv::inventory {

// What a column holds: nothing yet, whole numbers within 32 or 64 bits,
// numbers, or text (also a whole number written with a leading zero, which
// is a code rather than a number).
enum class column_kind { none, int32, int64, real, text };

// The kind of one cell's text with dec as the decimal separator; none for
// a cell that is empty or holds only blanks and tabs.
column_kind kind_of(const std::string& text, char dec);

// The kind of a column holding cells of kinds a and b.
column_kind widen(column_kind a, column_kind b);

// The kinds of the width columns of the CSV register at path (delimiter
// delim, decimal separator dec), from a pass over its records after the
// header, one record in memory at a time; a file that is not a regular
// file (a pipe) is not read twice: every column text. False with a German
// reason.
bool scan_column_types(const std::string& path, char delim, char dec, std::size_t width,
                       std::vector<column_kind>& kinds, std::string& why);

// Sets field i of f to text as a column of kind k holds it: a number for a
// number column, nothing (null) for an empty cell. False with a German
// reason when the text is not of the column's kind (the register changed
// since it was scanned).
bool set_cell(OGRFeature& f, int i, const std::string& text, column_kind k, char dec,
              std::string& why);

} // namespace orv::inventory
