// Buffered output to a file descriptor with raw write calls.
#pragma once
#include <cstddef>
#include <memory>
#include <string_view>

namespace orv::csv {

// Collects output in a buffer of fixed size and writes it with write(2),
// going on after partial writes and interruptions. The first failure is
// kept (its errno); after it nothing more is written.
class sink {
  public:
    sink(int fd, std::size_t size);

    // Room for n bytes (n at most the buffer's size): where to write them.
    // Writes the buffer out first when it has less room.
    char* room(std::size_t n) {
        if (static_cast<std::size_t>(end_ - pos_) < n) drain();
        return pos_;
    }
    // The bytes up to p (inside the room just asked for) are written.
    void done(char* p) { pos_ = p; }

    // Writes s, through the buffer or, when long, straight after it.
    void put(std::string_view s);

    // Writes out what the buffer holds; false on a failure.
    bool flush();

    // errno of the first failed write, or 0.
    int error() const { return err_; }

    std::size_t size() const { return static_cast<std::size_t>(end_ - buf_.get()); }

  private:
    void drain();
    void write_all(const char* p, std::size_t n);

    int fd_;
    int err_ = 0;
    std::unique_ptr<char[]> buf_;
    char* pos_;
    char* end_;
};

// Writes all n bytes at p to fd, retrying partial writes and interruptions;
// returns 0 or the errno of the failure.
int write_fully(int fd, const char* p, std::size_t n);

// Reads up to n bytes into p, retrying interruptions; returns the count, 0
// at the end, or -1 with errno set.
long read_some(int fd, char* p, std::size_t n);

} // namespace orv::csv
