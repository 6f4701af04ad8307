// Terminal detection.
#include "io/terminal.h"

#include <unistd.h>

#include <string>

namespace orv::io {

bool is_terminal(int fd) {
    return isatty(fd) == 1;
}

bool same_terminal(int a, int b) {
    if (!is_terminal(a) || !is_terminal(b)) return false;
    const char* ta = ttyname(a);
    const std::string sa = ta ? ta : "";
    const char* tb = ttyname(b);
    return tb && sa == tb;
}

} // namespace orv::io
