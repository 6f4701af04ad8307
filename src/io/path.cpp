// The extension of a path's file name, and the path with another one.
#include "io/path.h"

#include <cctype>

namespace orv::io {

std::string extension(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = base.rfind('.');
    if (dot == std::string::npos || dot == 0) return "";
    std::string e = base.substr(dot + 1);
    for (char& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return e;
}

std::string with_extension(const std::string& path, const std::string& ext) {
    const auto slash = path.rfind('/');
    const auto dot = path.rfind('.');
    const bool has_ext =
        dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (has_ext ? path.substr(0, dot) : path) + "." + ext;
}

} // namespace orv::io
