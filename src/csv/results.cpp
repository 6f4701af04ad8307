// Text of the result columns.
#include "csv/results.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "model/level.h"

namespace orv::csv {

namespace {

// Copies the text s (without its terminating zero) to p.
template <std::size_t N> char* put_text(char* p, const char (&s)[N]) {
    return std::copy_n(s, N - 1, p);
}

} // namespace

char* put_result_names(char* p, char d) {
    for (const char* name : {"q", "v", "h", "he", "status", "level"}) {
        *p++ = d;
        const std::size_t n = std::strlen(name);
        p = std::copy_n(name, n, p);
    }
    return p;
}

char* put_results(char* p, char d, char dec, int digits, int32_t st, const intensity& r,
                  int level) {
    for (real v : {r.q, r.v, r.h, r.he}) {
        *p++ = d;
        if (st == 0) p = put_real(p, v, dec, digits);
    }
    *p++ = d;
    p = std::to_chars(p, p + 12, st).ptr;
    *p++ = d;
    if (level != no_level) p = std::to_chars(p, p + 12, level).ptr;
    return p;
}

char* put_invalid(char* p, char d) {
    for (int k = 0; k < 4; ++k) *p++ = d;
    *p++ = d;
    p = put_text(p, "invalid");
    *p++ = d;
    return p;
}

} // namespace orv::csv
