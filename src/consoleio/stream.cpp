#include "consoleio/stream.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

void write_all(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        ssize_t k = ::write(fd, p, n);
        if (k < 0) {
            if (errno == EINTR) continue;
            return;
        }
        p += k;
        n -= static_cast<std::size_t>(k);
    }
}

void connect(ounit& u, int fd) {
    struct stat st;
    u.fd = fd;
    u.len = 0;
    u.buffered = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

void deliver(ounit& u, const char* p, std::size_t n) {
    if (!u.buffered) {
        write_all(u.fd, p, n);
        return;
    }
    if (n > stream_straight) {
        flush(u);
        write_all(u.fd, p, n);
        return;
    }
    if (u.len + n > stream_buffer) flush(u);
    for (std::size_t k = 0; k < n; ++k) u.buf[u.len + k] = p[k];
    u.len += n;
}

void flush(ounit& u) {
    if (u.len == 0) return;
    write_all(u.fd, u.buf, u.len);
    u.len = 0;
}

ounit& stdout_unit() {
    static ounit u;
    return u;
}

} // namespace orv
