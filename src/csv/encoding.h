// What the first bytes of a CSV file say about its encoding.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace orv::csv {

// The UTF-8 byte-order mark: not part of the first name of a header.
inline constexpr std::string_view utf8_mark{"\xEF\xBB\xBF", 3};

// The encoding ("UTF-16", "UTF-32") whose byte-order mark begins the n
// bytes at b, or nullptr. Fewer than 4 bytes are enough only for a file
// that short.
const char* foreign_encoding(const char* b, std::size_t n);

// The message for a file of such an encoding, after its name and ": ".
std::string foreign_message(const char* encoding);

} // namespace orv::csv
