// Line input from standard input over read(2), in constant memory.
#pragma once
#include <cstddef>
#include <span>

namespace orv {

inline constexpr std::size_t input_buffer = 4096;

struct iunit {
    int fd = 0;
    std::size_t pos = 0;
    std::size_t len = 0;
    bool ended = false; // end of input or a read error was met
    int err = 0;        // errno of a read error, 0 for a plain end
    char buf[input_buffer];
};

enum class line_status { ok, eof, os_error };

// Outcome of a line read; err holds the errno of an os_error.
struct line_result {
    line_status status;
    int err;
};

// Connects u to fd with nothing read yet.
void connect(iunit& u, int fd);

// Reads one record into var as the format "(a)" does: the first var.size()
// bytes of the line, padded with blanks; CR or CR LF also end the data.
line_result read_line_into(iunit& u, std::span<char> var);

// Consumes one line whatever it holds.
line_result skip_line(iunit& u);

// Standard input, unit 5.
iunit& stdin_unit();

} // namespace orv
