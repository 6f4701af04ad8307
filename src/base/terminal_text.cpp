// Spelling user data in ASCII for terminals that do not show UTF-8.
#include "base/terminal_text.h"

#include <cstddef>
#include <iterator>

namespace orv {

namespace {

// U+00A0 to U+00FF, one spelling each ("" drops the character).
constexpr const char* latin1[] = {
    " ",   "!",   "ct",   "GBP", nullptr, "JPY", "|",  "Par.", "\"", "(c)", "a",  "<<", "!",  "",
    "(R)", "-",   "Grad", "+/-", "2",     "3",   "'",  "u",    "P",  ".",   ",",  "1",  "o",  ">>",
    "1/4", "1/2", "3/4",  "",    "A",     "A",   "A",  "A",    "Ae", "A",   "AE", "C",  "E",  "E",
    "E",   "E",   "I",    "I",   "I",     "I",   "D",  "N",    "O",  "O",   "O",  "O",  "Oe", "x",
    "O",   "U",   "U",    "U",   "Ue",    "Y",   "Th", "ss",   "a",  "a",   "a",  "a",  "ae", "a",
    "ae",  "c",   "e",    "e",   "e",     "e",   "i",  "i",    "i",  "i",   "d",  "n",  "o",  "o",
    "o",   "o",   "oe",   ":",   "o",     "u",   "u",  "u",    "ue", "y",   "th", "y",
};
static_assert(std::size(latin1) == 96, "one spelling for each of U+00A0 to U+00FF");

// U+0100 to U+017F, the base letter of each; '*' marks the ligatures
// U+0132/3 and U+0152/3, spelt with two letters.
constexpr char latin_a[] = "AaAaAa"
                           "CcCcCcCc"
                           "DdDd"
                           "EeEeEeEeEe"
                           "GgGgGgGg"
                           "HhHh"
                           "IiIiIiIiIi"
                           "**"
                           "Jj"
                           "Kkk"
                           "LlLlLlLlLl"
                           "NnNnNnnNn"
                           "OoOoOo"
                           "**"
                           "RrRrRr"
                           "SsSsSsSs"
                           "TtTtTt"
                           "UuUuUuUuUuUu"
                           "Ww"
                           "YyY"
                           "ZzZzZz"
                           "s";
static_assert(sizeof latin_a == 129, "one letter for each of U+0100 to U+017F");

// Letters of one character each for the table above.
constexpr const char* letters[] = {
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P", "Q", "R",
    "S", "T", "U", "V", "W", "X", "Y", "Z", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j",
    "k", "l", "m", "n", "o", "p", "q", "r", "s", "t", "u", "v", "w", "x", "y", "z",
};

const char* letter(char c) {
    return c >= 'a' ? letters[26 + (c - 'a')] : letters[c - 'A'];
}

// Other characters met in names of places and buildings.
struct spelt {
    char32_t c;
    const char* text;
};
constexpr spelt others[] = {
    {0x0218, "S"},  {0x0219, "s"}, {0x021A, "T"},   {0x021B, "t"},   {0x1E9E, "SS"},
    {0x2009, " "},  {0x2010, "-"}, {0x2011, "-"},   {0x2013, "-"},   {0x2014, "-"},
    {0x2018, "'"},  {0x2019, "'"}, {0x201A, "'"},   {0x201C, "\""},  {0x201D, "\""},
    {0x201E, "\""}, {0x2022, "*"}, {0x2026, "..."}, {0x202F, " "},   {0x2032, "'"},
    {0x2033, "\""}, {0x2039, "<"}, {0x203A, ">"},   {0x20AC, "EUR"}, {0x2212, "-"},
};

// The code point at s[i] and its length in n; false for a byte that does
// not begin a well-formed UTF-8 sequence (overlong, surrogate, beyond
// U+10FFFF, cut short).
bool decode(std::string_view s, std::size_t i, char32_t& c, std::size_t& n) {
    const auto b = static_cast<unsigned char>(s[i]);
    char32_t least = 0;
    if (b < 0x80) {
        c = b, n = 1;
        return true;
    }
    if (b >= 0xc2 && b < 0xe0)
        c = b & 0x1f, n = 2, least = 0x80;
    else if (b >= 0xe0 && b < 0xf0)
        c = b & 0x0f, n = 3, least = 0x800;
    else if (b >= 0xf0 && b < 0xf5)
        c = b & 0x07, n = 4, least = 0x10000;
    else
        return false;
    if (i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k) {
        const auto t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xc0) != 0x80) return false;
        c = (c << 6) | (t & 0x3f);
    }
    return c >= least && c <= 0x10ffff && !(c >= 0xd800 && c < 0xe000);
}

// Whether c is a control character (C0, DEL, C1).
bool control(char32_t c) {
    return c < 0x20 || (c >= 0x7f && c < 0xa0);
}

// c as "<U+XXXX>".
std::string code_point(char32_t c) {
    static const char hex[] = "0123456789ABCDEF";
    std::string digits;
    for (char32_t v = c; v != 0 || digits.size() < 4; v >>= 4)
        digits.insert(digits.begin(), hex[v & 0xf]);
    return "<U+" + digits + ">";
}

} // namespace

const char* ascii_spelling(char32_t c) {
    if (c >= 0xa0 && c < 0x100) return latin1[c - 0xa0];
    if (c >= 0x100 && c < 0x180) {
        switch (c) {
        case 0x132: return "IJ";
        case 0x133: return "ij";
        case 0x152: return "OE";
        case 0x153: return "oe";
        }
        return letter(latin_a[c - 0x100]);
    }
    if (c >= 0x300 && c < 0x370) return ""; // combining marks: the letter is already there
    for (const spelt& o : others)
        if (o.c == c) return o.text;
    return nullptr;
}

std::string terminal_text(std::string_view s, bool utf8) {
    std::string t;
    t.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        char32_t c = 0;
        std::size_t n = 1;
        if (!decode(s, i, c, n)) {
            // One '?' for a broken sequence: its lead byte and what follows it.
            t += '?';
            for (++i; i < s.size() && (static_cast<unsigned char>(s[i]) & 0xc0) == 0x80;) ++i;
            continue;
        }
        if (control(c)) {
            t += '?';
            i += n;
            continue;
        }
        if (c < 0x80 || utf8) {
            t.append(s, i, n);
        } else if (c == 0x308 && !t.empty() &&
                   std::string_view("aouAOU").find(t.back()) != std::string_view::npos) {
            t += 'e'; // a decomposed umlaut: "u" and the combining diaeresis
        } else if (const char* a = ascii_spelling(c)) {
            t += a;
        } else {
            t += code_point(c);
        }
        i += n;
    }
    return t;
}

} // namespace orv
