// Exit statuses of the orvalis command and the problem that ends a run with one.
#pragma once
#include <optional>
#include <string>

#include "io/output.h"

namespace orv::cli {

// Documented exit statuses.
enum exit_status : int {
    exit_ok = 0,          // success, warnings included
    exit_bad_value = 1,   // a bad value in a file or an option, or an unwritable output
    exit_usage = 2,       // a malformed command line
    exit_invalid_rows = 3 // --keep-going finished with invalid rows
};

// Why a run cannot go on: the status to exit with and one German message.
struct problem {
    int status;
    std::string text;
};

// No problem, or one.
using maybe_problem = std::optional<problem>;

// The problem of an output that failed: the same target named twice is a
// malformed command line, anything else a bad value.
inline problem output_problem(const io::out_failure& f) {
    return {f.kind == io::fault::same_target ? exit_usage : exit_bad_value, f.text};
}

} // namespace orv::cli
