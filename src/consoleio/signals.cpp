#include <csignal>
#include <cstring>
#include <execinfo.h>

#include "consoleio/process.h"
#include "consoleio/rterror.h"
#include "consoleio/stream.h"

namespace orv {
namespace {

struct fatal_signal {
    int sig;
    const char* name;
    const char* text;
};

constexpr fatal_signal fatal_signals[] = {
    {SIGQUIT, "SIGQUIT", "Terminal quit signal"},
    {SIGILL, "SIGILL", "Illegal instruction"},
    {SIGABRT, "SIGABRT", "Process abort signal"},
    {SIGFPE, "SIGFPE", "Floating-point exception - erroneous arithmetic operation"},
    {SIGSEGV, "SIGSEGV", "Segmentation fault - invalid memory reference"},
    {SIGBUS, "SIGBUS", "Access to an undefined portion of a memory object"},
    {SIGSYS, "SIGSYS", "Bad system call"},
    {SIGTRAP, "SIGTRAP", "Trace/breakpoint trap"},
    {SIGXCPU, "SIGXCPU", "CPU time limit exceeded"},
    {SIGXFSZ, "SIGXFSZ", "File size limit exceeded"},
};

volatile std::sig_atomic_t signal_report = 0;

// Appends s to the line being formatted on the handler's stack.
void add(char* line, std::size_t& n, std::size_t cap, const char* s) {
    while (*s != '\0' && n < cap) line[n++] = *s++;
}

// Reports the signal on descriptor 2 and dies by it: only write(2), no
// stream, no allocation.
void on_fatal(int sig) {
    if (signal_report != 0) std::raise(sig);
    signal_report = 1;
    const fatal_signal* f = nullptr;
    for (const auto& s : fatal_signals)
        if (s.sig == sig) f = &s;
    char line[160];
    std::size_t n = 0;
    add(line, n, sizeof line, "\nProgram received signal ");
    add(line, n, sizeof line, f != nullptr ? f->name : "?");
    add(line, n, sizeof line, ": ");
    add(line, n, sizeof line, f != nullptr ? f->text : "?");
    add(line, n, sizeof line, ".\n\nBacktrace for this error:\n");
    write_all(2, line, n);
    frame_listing();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

} // namespace

void install_fatal_signals() {
    // load the unwinder now, so that the handler need not load anything
    void* frame[1];
    backtrace(frame, 1);
    for (const auto& s : fatal_signals) std::signal(s.sig, on_fatal);
}

} // namespace orv
