// The extension of a path's file name.
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

} // namespace orv::io
