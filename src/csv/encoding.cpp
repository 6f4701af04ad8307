// Byte-order marks of encodings other than UTF-8.
#include "csv/encoding.h"

#include <cstring>

namespace orv::csv {

namespace {

struct foreign_mark {
    const char* bytes;
    std::size_t len;
    const char* encoding;
};
// Longest first: a UTF-32 mark begins with UTF-16's.
constexpr foreign_mark foreign_marks[] = {
    {"\xFF\xFE\x00\x00", 4, "UTF-32"},
    {"\x00\x00\xFE\xFF", 4, "UTF-32"},
    {"\xFF\xFE", 2, "UTF-16"},
    {"\xFE\xFF", 2, "UTF-16"},
};

} // namespace

const char* foreign_encoding(const char* b, std::size_t n) {
    for (const foreign_mark& m : foreign_marks)
        if (n >= m.len && std::memcmp(b, m.bytes, m.len) == 0) return m.encoding;
    return nullptr;
}

std::string foreign_message(const char* encoding) {
    return std::string("in ") + encoding + " kodiert; bitte als UTF-8 (oder ASCII) speichern";
}

} // namespace orv::csv
