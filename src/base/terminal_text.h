// Text from data files (names, paths) made fit for a terminal: kept as it is
// where the terminal shows UTF-8, spelt in ASCII letters elsewhere.
#pragma once
#include <string>
#include <string_view>

namespace orv {

// s (UTF-8) for a terminal. With utf8 every printable character stays as it
// is; without, each is spelt in ASCII ("Bachstrasse", "Cafe", "Baeckerei"),
// a character without a spelling as its code point ("<U+4E2D>"). In both,
// control characters and bytes that are not UTF-8 become '?', so that data
// never moves the cursor or changes the terminal's state.
std::string terminal_text(std::string_view s, bool utf8);

// The ASCII spelling of code point c: "ae" for U+00E4, "ss" for U+00DF, ""
// for a combining mark, null when there is none.
const char* ascii_spelling(char32_t c);

} // namespace orv
