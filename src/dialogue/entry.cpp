// Entry of the seven parameters through their prompts.
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>

#include "consoleio/read.h"
#include "consoleio/write.h"
#include "dialogue/dialogue.h"

namespace orv {
namespace {

constexpr std::size_t entry_len = 64;

// Prompt format of one parameter and the source lines of its statements,
// in the order of the parameter table.
struct prompt {
    const char* fmt;
    bool whole; // shown rounded to an integer
    int line;   // line of the answer read; the number parse follows two lines on
};

constexpr prompt prompts[] = {
    {"(' <Stauhoehe       H (',f6.2,'m)>')", false, 167},
    {"(' <Breschenbreite  B (',f6.2,'m)>')", false, 174},
    {"(' <Volumen  Vol (',i10,'m3)>')", true, 181},
    {"(' <Sohlengefaelle  S (',f6.2,'%)>')", false, 188},
    {"(' <Korndurchmesser D (',f6.3,'m)>')", false, 195},
    {"(' <Breschendistanz x (',i6,'m)>')", true, 202},
    {"(' <Mittendistanz   y (',i6,'m)>')", true, 209},
};

} // namespace

int32_t round_display(real v) {
    double r = std::round(static_cast<double>(v));
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

namespace {

// True when the buffer holds nothing but blanks.
bool blank(const char* buf) {
    for (std::size_t k = 0; k < entry_len; ++k)
        if (buf[k] != ' ') return false;
    return true;
}

} // namespace

bool enter_params(params& p) {
    static char entry[entry_len];
    static_assert(std::size(prompts) == n_params);
    for (int k = 0; k < n_params; ++k) {
        const prompt& pr = prompts[k];
        real& value = p.*param_table[k].member;
        if (pr.whole)
            write_internal({pr.line - 2, 0}, entry, pr.fmt, {round_display(value)});
        else
            write_internal({pr.line - 2, 0}, entry, pr.fmt, {value});
        write_formatted({pr.line - 1, 6}, "(a31,$)", {std::string_view(entry, entry_len)});
        read_formatted({pr.line, 5}, entry);
        if (blank(entry)) continue;
        // An answer of blanks and tabs only holds no value and keeps the
        // stored one, like an empty answer.
        read_outcome r = read_internal({pr.line + 2, 0}, entry, value, handles_error | handles_end);
        if (r == read_outcome::error) return false;
    }
    return true;
}

} // namespace orv
