// The writing side of a batch run: each row's bytes and its added columns.
#pragma once
#include <cstddef>
#include <cstdint>

#include "batch/chunk.h"
#include "csv/sink.h"

namespace orv::batch {

// How the added columns are written: the input's delimiter and decimal
// separator, fixed decimals of the results (or -1), and whether x_jet and
// y_jet come first.
struct out_format {
    char delim = ',';
    char dec = '.';
    int digits = -1;
    bool world = false;
};

// Rows after the header, by what became of them.
struct row_counts {
    uint64_t st[6] = {}; // computed, by status
    uint64_t invalid = 0;
    uint64_t blank = 0; // delimiters only
    uint64_t empty = 0; // empty lines
};

// Writes the rows of chunks to a file descriptor through a buffer.
class row_writer {
  public:
    row_writer(int fd, std::size_t size, const out_format& f = {});

    // Sets the format before the rows that need it are written.
    void set_format(const out_format& f) { f_ = f; }

    // Writes every row of c; writes the buffer out when c.flush is set.
    void write(const chunk& c);

    // Writes the buffer out; false after any failure.
    bool flush() { return out_.flush(); }
    // errno of the first failed write, or 0.
    int error() const { return out_.error(); }
    // The rows written so far.
    const row_counts& counts() const { return n_; }

  private:
    char* tail(char* p, const row_out& r) const;

    csv::sink out_;
    out_format f_;
    row_counts n_;
};

} // namespace orv::batch
