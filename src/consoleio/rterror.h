// Runtime error reports on standard error, and the end of the process.
#pragma once
#include <string_view>

#include "consoleio/locus.h"

namespace orv {

// Writes the Locus line and the message to descriptor 2 and exits with
// status 2; a second report while one is under way aborts instead.
[[noreturn]] void runtime_error_report(const locus& at, std::string_view msg);

// Reports a failed memory request and exits with status 1.
[[noreturn]] void memory_error_report(std::string_view request, int err);

// Writes the Frame listing of the calling thread to descriptor 2.
void frame_listing();

} // namespace orv
