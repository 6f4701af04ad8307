// Edit descriptors of a format text, read one at a time.
#pragma once
#include <cstddef>
#include <string_view>

namespace orv {

enum class desc_kind { text, slash, dollar, f, i, a, end, bad };

struct desc {
    desc_kind kind = desc_kind::bad;
    int w = 0;             // field width; 0 for A without a width
    int d = 0;             // decimals of F
    std::string_view text; // character constant as written, delimiters doubled
    char delim = 0;        // delimiter of the character constant
};

// Position inside a format text; starts before the "(".
struct fmt_cursor {
    std::string_view s;
    std::size_t pos = 0;
    bool open = false;
};

// Largest field width and number of decimals the editor handles.
inline constexpr int max_width = 120;
inline constexpr int max_decimals = 100;

// Reads the next edit descriptor. Blanks, tabs and commas between descriptors
// are skipped; the closing parenthesis yields desc_kind::end and anything
// unreadable desc_kind::bad.
desc next_desc(fmt_cursor& c);

// Checks a whole format text: true when every descriptor is readable.
bool format_ok(std::string_view fmt);

} // namespace orv
