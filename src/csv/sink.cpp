// Buffered output and plain reading on file descriptors.
#include "csv/sink.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace orv::csv {

int write_fully(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (w == 0) return EIO;
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return 0;
}

long read_some(int fd, char* p, std::size_t n) {
    for (;;) {
        const ssize_t r = ::read(fd, p, n);
        if (r >= 0 || errno != EINTR) return static_cast<long>(r);
    }
}

sink::sink(int fd, std::size_t size) : fd_(fd), buf_(new char[size]) {
    pos_ = buf_.get();
    end_ = pos_ + size;
}

// Writes out the buffer (or drops it after a failure) and starts it afresh.
void sink::drain() {
    write_all(buf_.get(), static_cast<std::size_t>(pos_ - buf_.get()));
    pos_ = buf_.get();
}

void sink::write_all(const char* p, std::size_t n) {
    if (err_ == 0 && n > 0) err_ = write_fully(fd_, p, n);
}

void sink::put(std::string_view s) {
    if (s.size() <= static_cast<std::size_t>(end_ - pos_)) {
        std::memcpy(pos_, s.data(), s.size());
        pos_ += s.size();
        return;
    }
    drain();
    if (s.size() < size()) {
        std::memcpy(pos_, s.data(), s.size());
        pos_ += s.size();
    } else {
        write_all(s.data(), s.size());
    }
}

bool sink::flush() {
    drain();
    return err_ == 0;
}

} // namespace orv::csv
