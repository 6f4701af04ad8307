#include "consoleio/rterror.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <execinfo.h>

#include "consoleio/stream.h"

namespace orv {
namespace {

volatile std::sig_atomic_t fatal_report = 0;

void err_text(std::string_view s) {
    write_all(2, s.data(), s.size());
}

// Formats a non-negative number into buf; returns its text.
std::string_view num_text(char (&buf)[24], long v) {
    std::size_t n = sizeof buf;
    bool neg = v < 0;
    unsigned long m = neg ? 0ul - static_cast<unsigned long>(v) : static_cast<unsigned long>(v);
    do {
        buf[--n] = static_cast<char>('0' + m % 10);
        m /= 10;
    } while (m != 0);
    if (neg) buf[--n] = '-';
    return {buf + n, sizeof buf - n};
}

const char* unit_file(int unit) {
    return unit == 5 ? "stdin" : unit == 6 ? "stdout" : "stderr";
}

// Tests and sets the fatal-report flag; a second report ends by abort.
void enter_report() {
    if (fatal_report != 0) {
        err_text("\nProgram aborted. Backtrace:\n");
        frame_listing();
        std::signal(SIGABRT, SIG_DFL);
        std::abort();
    }
    fatal_report = 1;
}

} // namespace

void frame_listing() {
    void* frames[64];
    int n = backtrace(frames, 64);
    char buf[24];
    for (int k = 0; k < n; ++k) {
        err_text("#");
        err_text(num_text(buf, k));
        err_text("  ");
        backtrace_symbols_fd(&frames[k], 1, 2);
    }
}

void runtime_error_report(const locus& at, std::string_view msg) {
    enter_report();
    char buf[24];
    err_text("At line ");
    err_text(num_text(buf, at.line));
    err_text(" of file ");
    err_text(source_name);
    if (at.unit > 0) {
        err_text(" (unit = ");
        err_text(num_text(buf, at.unit));
        err_text(", file = '");
        err_text(unit_file(at.unit));
        err_text("')");
    }
    err_text("\nFortran runtime error: ");
    err_text(msg);
    err_text("\n");
    std::exit(2);
}

void memory_error_report(std::string_view request, int err) {
    enter_report();
    err_text("Operating system error: ");
    err_text(std::strerror(err));
    err_text("\n");
    err_text(request);
    err_text("\n");
    std::exit(1);
}

} // namespace orv
