// Output rows: the input's bytes as they were, then the added columns and
// the row's own line end.
#include "batch/row_writer.h"

#include <cstring>

#include "csv/results.h"

namespace orv::batch {

namespace {

// Longest text after a row's bytes: x_jet, y_jet, the results, a line end.
constexpr std::size_t max_tail = 2 * (max_real_len + 1) + csv::max_results_len + 2;

// Rows shorter than this go into the buffer with their tail in one piece.
constexpr std::size_t short_row = 4096;

// Writes the line end e.
char* put_end(char* p, csv::line_end e) {
    if (e == csv::line_end::crlf || e == csv::line_end::cr) *p++ = '\r';
    if (e == csv::line_end::crlf || e == csv::line_end::lf) *p++ = '\n';
    return p;
}

} // namespace

row_writer::row_writer(int fd, std::size_t size, const out_format& f) : out_(fd, size), f_(f) {}

// The added columns of row r and its line end.
char* row_writer::tail(char* p, const row_out& r) const {
    const char d = f_.delim;
    switch (r.kind) {
    case row_kind::header:
        if (f_.world) {
            for (const char* name : {"x_jet", "y_jet"}) {
                *p++ = d;
                p = static_cast<char*>(std::memcpy(p, name, 5)) + 5;
            }
        }
        p = csv::put_result_names(p, d);
        break;
    case row_kind::data:
        if (f_.world) {
            *p++ = d;
            p = put_real(p, r.x, f_.dec);
            *p++ = d;
            p = put_real(p, r.y, f_.dec);
        }
        p = csv::put_results(p, d, f_.dec, f_.digits, r.st, r.res, r.level);
        break;
    case row_kind::invalid:
        if (f_.world) *p++ = d, *p++ = d;
        p = csv::put_invalid(p, d);
        break;
    case row_kind::blank:
        for (int k = f_.world ? 8 : 6; k > 0; --k) *p++ = d;
        break;
    case row_kind::empty:
    case row_kind::piece: break;
    }
    return put_end(p, r.end);
}

void row_writer::write(const chunk& c) {
    const char* buf = c.buf.get();
    for (const row_out& r : c.rows) {
        switch (r.kind) {
        case row_kind::data: ++n_.st[r.st]; break;
        case row_kind::invalid: ++n_.invalid; break;
        case row_kind::blank: ++n_.blank; break;
        case row_kind::empty: ++n_.empty; break;
        default: break;
        }
        if (r.kind == row_kind::piece) {
            out_.put({buf + r.off, r.len});
            continue;
        }
        char* p;
        if (r.len < short_row) {
            p = out_.room(r.len + max_tail);
            std::memcpy(p, buf + r.off, r.len);
            p += r.len;
        } else {
            out_.put({buf + r.off, r.len});
            p = out_.room(max_tail);
        }
        out_.done(tail(p, r));
    }
    if (c.flush) out_.flush();
}

} // namespace orv::batch
