// List-directed input of one Real from an Internal record.
#pragma once
#include <string_view>

namespace orv {

enum class read_outcome { value, null_value, error, eof };

struct read_result {
    read_outcome outcome;
    std::string_view message; // text of an error condition, empty otherwise
};

// Reads one Real from rec, the characters of a character variable without its
// trailing blanks, followed by the end of the record. On value the result is
// stored in var; on every other outcome var keeps its value.
read_result read_real(std::string_view rec, float& var);

} // namespace orv
