// Output units over POSIX descriptors, pass-through or buffered.
#pragma once
#include <cstddef>

namespace orv {

inline constexpr std::size_t stream_buffer = 8192;
inline constexpr std::size_t stream_straight = 4096;

struct ounit {
    int fd = -1;
    bool buffered = false; // chosen once: true for a regular file
    std::size_t len = 0;
    char buf[stream_buffer];
};

// Writes all n bytes to fd, continuing partial writes and retrying on EINTR;
// an error of the system ends the attempt silently.
void write_all(int fd, const char* p, std::size_t n);

// Connects u to fd and picks its mode from what fd refers to.
void connect(ounit& u, int fd);

// Hands one piece of text to the unit.
void deliver(ounit& u, const char* p, std::size_t n);

// Writes out whatever the unit has collected.
void flush(ounit& u);

// Standard output, unit 6.
ounit& stdout_unit();

} // namespace orv
