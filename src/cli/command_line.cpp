// The command line of this process, read from /proc.
#include "cli/command_line.h"

#include <fstream>
#include <iterator>

namespace orv::cli {

namespace {

// A word as a POSIX shell reads it back: quoted when it holds anything but
// plain characters.
std::string quoted(const std::string& w) {
    if (!w.empty() && w.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                          "0123456789-_./:,=+@%") == std::string::npos)
        return w;
    std::string q = "'";
    for (char c : w) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

} // namespace

std::string command_line() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string line = "orvalis";
    std::size_t k = all.find('\0');
    while (k != std::string::npos && k + 1 < all.size()) {
        const std::size_t e = all.find('\0', k + 1);
        line += " " + quoted(all.substr(k + 1, e == std::string::npos ? e : e - k - 1));
        k = e;
    }
    return line;
}

} // namespace orv::cli
