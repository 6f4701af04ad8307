#include <cstring>

#include "consoleio/edit.h"

namespace orv {

void write_padded(std::span<char> field, std::string_view body) {
    if (body.size() > field.size()) {
        std::memset(field.data(), '*', field.size());
        return;
    }
    std::size_t lead = field.size() - body.size();
    std::memset(field.data(), ' ', lead);
    std::memcpy(field.data() + lead, body.data(), body.size());
}

void edit_a(std::span<char> field, std::string_view s) {
    if (s.size() >= field.size()) {
        std::memcpy(field.data(), s.data(), field.size());
        return;
    }
    write_padded(field, s);
}

} // namespace orv
