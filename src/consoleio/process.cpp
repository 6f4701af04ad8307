#include "consoleio/process.h"

#include <cstdlib>

#include "consoleio/linein.h"
#include "consoleio/stream.h"

namespace orv {

void mask_fp_exceptions();

namespace {

// Standard error is never written through a buffer; its unit only records
// the connection.
ounit& stderr_unit() {
    static ounit u;
    return u;
}

void flush_all() {
    flush(stdout_unit());
}

} // namespace

void start_process() {
    connect(stdin_unit(), 0);
    connect(stdout_unit(), 1);
    connect(stderr_unit(), 2);
    std::atexit(flush_all);
    mask_fp_exceptions();
    install_fatal_signals();
}

void clear_screen(const char* cmd) {
    flush_all();
    int rc = std::system(cmd);
    (void)rc; // a missing or failing command changes nothing
}

void stop() {
    std::exit(0);
}

} // namespace orv
