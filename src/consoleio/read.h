// Input statements: a line by "(a)", a list-directed pause, one Real from text.
#pragma once
#include <span>

#include "consoleio/listread.h"
#include "consoleio/locus.h"

namespace orv {

// Conditions that a read_internal statement handles itself.
enum handles : unsigned { handles_none = 0, handles_error = 1, handles_end = 2 };

// Reads one line of standard input into var; end of input is fatal.
void read_formatted(const locus& at, std::span<char> var);

// Consumes one line of standard input; end of input is fatal.
void read_list(const locus& at);

// Reads one Real from the Internal record rec into var. Conditions that are
// not handled end the process with a report.
read_outcome read_internal(const locus& at, std::span<const char> rec, float& var,
                           unsigned handled);

} // namespace orv
