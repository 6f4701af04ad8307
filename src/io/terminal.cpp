// Terminal detection and the character set of the locale.
#include "io/terminal.h"

#include <unistd.h>

#include <cstdlib>
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

bool utf8_locale(const char* lc_all, const char* lc_ctype, const char* lang) {
    const char* chosen = nullptr;
    for (const char* v : {lc_all, lc_ctype, lang}) {
        if (v && *v) {
            chosen = v;
            break;
        }
    }
    if (!chosen) return false;
    // The character set: after the dot, before a modifier ("@euro"); a
    // value without a dot may name the set alone.
    std::string name = chosen;
    const auto dot = name.find('.');
    if (dot != std::string::npos) name = name.substr(dot + 1);
    name = name.substr(0, name.find('@'));
    std::string plain;
    for (const char c : name)
        if (c != '-' && c != '_') plain += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return plain == "utf8";
}

bool utf8_locale() {
    return utf8_locale(std::getenv("LC_ALL"), std::getenv("LC_CTYPE"), std::getenv("LANG"));
}

} // namespace orv::io
