#include "consoleio/linein.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace orv {
namespace {

constexpr int end_of_input = -1;
constexpr int read_error = -2;

// Makes sure a byte is buffered; reads only when the buffer is empty, so a
// statement never waits for more than its own record.
int fill(iunit& u) {
    if (u.pos < u.len) return 0;
    if (u.ended) return u.err != 0 ? read_error : end_of_input;
    for (;;) {
        ssize_t k = ::read(u.fd, u.buf, sizeof u.buf);
        if (k > 0) {
            u.pos = 0;
            u.len = static_cast<std::size_t>(k);
            return 0;
        }
        if (k < 0 && errno == EINTR) continue;
        u.ended = true;
        u.err = k < 0 ? errno : 0;
        return u.err != 0 ? read_error : end_of_input;
    }
}

// Next byte without consuming it, or end_of_input / read_error.
int peek(iunit& u) {
    int r = fill(u);
    return r != 0 ? r : static_cast<unsigned char>(u.buf[u.pos]);
}

// Skips up to and including the next Line end; reports a read error.
line_result skip_rest(iunit& u) {
    for (;;) {
        int r = fill(u);
        if (r == end_of_input) return {line_status::ok, 0};
        if (r == read_error) return {line_status::os_error, u.err};
        const void* nl = std::memchr(u.buf + u.pos, '\n', u.len - u.pos);
        if (nl != nullptr) {
            u.pos = static_cast<std::size_t>(static_cast<const char*>(nl) - u.buf) + 1;
            return {line_status::ok, 0};
        }
        u.pos = u.len;
    }
}

} // namespace

void connect(iunit& u, int fd) {
    u.fd = fd;
    u.pos = u.len = 0;
    u.ended = false;
    u.err = 0;
}

line_result read_line_into(iunit& u, std::span<char> var) {
    if (peek(u) < 0) return {line_status::eof, 0};
    std::size_t n = 0;
    for (;;) {
        int ch = peek(u);
        if (ch < 0) break; // the last line lacks its Line end
        if (n == var.size()) {
            line_result r = skip_rest(u);
            if (r.status != line_status::ok) return r;
            break;
        }
        ++u.pos;
        if (ch == '\n') break;
        if (ch == '\r') {
            if (peek(u) == '\n') ++u.pos;
            break;
        }
        var[n++] = static_cast<char>(ch);
    }
    std::memset(var.data() + n, ' ', var.size() - n);
    return {line_status::ok, 0};
}

line_result skip_line(iunit& u) {
    int ch = peek(u);
    if (ch < 0) return {line_status::eof, 0};
    ++u.pos;
    if (ch == '\n') return {line_status::ok, 0};
    line_result r = skip_rest(u);
    return {line_status::ok, r.err}; // an error while skipping only ends the skip
}

iunit& stdin_unit() {
    static iunit u;
    return u;
}

} // namespace orv
