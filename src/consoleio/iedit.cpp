#include "consoleio/edit.h"

namespace orv {

void edit_i(std::span<char> field, int32_t k) {
    char buf[12];
    std::size_t n = sizeof buf;
    // widened so that the most negative integer has a magnitude too
    int64_t m = k < 0 ? -static_cast<int64_t>(k) : k;
    do {
        buf[--n] = static_cast<char>('0' + m % 10);
        m /= 10;
    } while (m != 0);
    if (k < 0) buf[--n] = '-';
    write_padded(field, std::string_view(buf + n, sizeof buf - n));
}

} // namespace orv
