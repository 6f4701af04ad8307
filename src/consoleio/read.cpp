#include "consoleio/read.h"

#include <cstring>

#include "consoleio/linein.h"
#include "consoleio/rterror.h"

namespace orv {

void read_formatted(const locus& at, std::span<char> var) {
    line_result r = read_line_into(stdin_unit(), var);
    if (r.status == line_status::eof) runtime_error_report(at, "End of file");
    if (r.status == line_status::os_error) runtime_error_report(at, std::strerror(r.err));
}

void read_list(const locus& at) {
    if (skip_line(stdin_unit()).status == line_status::eof) runtime_error_report(at, "End of file");
}

read_outcome read_internal(const locus& at, std::span<const char> rec, float& var,
                           unsigned handled) {
    std::size_t n = rec.size();
    while (n > 0 && rec[n - 1] == ' ') --n; // only the blank counts as trailing
    read_result r = read_real({rec.data(), n}, var);
    if (r.outcome == read_outcome::eof && (handled & handles_end) == 0)
        runtime_error_report({at.line, 0}, "End of file");
    if (r.outcome == read_outcome::error && (handled & handles_error) == 0)
        runtime_error_report({at.line, 0}, r.message);
    return r.outcome;
}

} // namespace orv
