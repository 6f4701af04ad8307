// Names from data files on a terminal: as they are where it shows UTF-8,
// spelt in ASCII elsewhere, never a question mark for a letter.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/terminal_text.h"
#include "io/terminal.h"

namespace {

using orv::terminal_text;

TEST(TerminalText, SpeltOrKept) {
    struct row {
        std::string in, ascii, utf8;
    };
    const std::vector<row> rows = {
        {"Wohnhaus Bachstra\u00dfe 12", "Wohnhaus Bachstrasse 12", "Wohnhaus Bachstra\u00dfe 12"},
        {"Caf\u00e9 Bellevue", "Cafe Bellevue", "Caf\u00e9 Bellevue"},
        {"B\u00e4ckerei M\u00fcller, \u00d6lm\u00fchle", "Baeckerei Mueller, Oelmuehle",
         "B\u00e4ckerei M\u00fcller, \u00d6lm\u00fchle"},
        {"\u00c9cole \u00e0 Gen\u00e8ve, Ch\u00e2teau", "Ecole a Geneve, Chateau",
         "\u00c9cole \u00e0 Gen\u00e8ve, Ch\u00e2teau"},
        {"\u0141\u00f3d\u017a \u0160tefan \u0153uvre \u0132s", "Lodz Stefan oeuvre IJs",
         "\u0141\u00f3d\u017a \u0160tefan \u0153uvre \u0132s"},
        {"Gro\u1e9e \u201eAlte M\u00fchle\u201c \u2013 1\u20ac", "GroSS \"Alte Muehle\" - 1EUR",
         "Gro\u1e9e \u201eAlte M\u00fchle\u201c \u2013 1\u20ac"},
        // A decomposed umlaut and accent: u + U+0308, e + U+0301.
        {"Mu\u0308hle Cafe\u0301", "Muehle Cafe", "Mu\u0308hle Cafe\u0301"},
        // Beyond every table: the code point, not a question mark.
        {"Haus \u4e2d", "Haus <U+4E2D>", "Haus \u4e2d"},
        {"\U0001F3E0", "<U+1F3E0>", "\U0001F3E0"},
        // Control characters and broken UTF-8 never reach the terminal.
        {"a\x1b[2Jb\tc\x7f", "a?[2Jb?c?", "a?[2Jb?c?"},
        {"x\xc2\x85y", "x?y", "x?y"},
        {"\xc3(\xff\xe2\x82", "?(??", "?(??"},
        {"\xc0\xaf\xed\xa0\x80", "??", "??"},
        {"", "", ""},
    };
    for (const row& r : rows) {
        EXPECT_EQ(terminal_text(r.in, false), r.ascii) << r.in;
        EXPECT_EQ(terminal_text(r.in, true), r.utf8) << r.in;
    }
}

// Every character from U+00A0 to U+017F has an ASCII spelling without a
// question mark (but the inverted one, dropped) and outside the control range.
TEST(TerminalText, LatinLettersAllSpelt) {
    for (char32_t c = 0xa0; c < 0x180; ++c) {
        const char* s = orv::ascii_spelling(c);
        if (c == 0xa4) {
            EXPECT_EQ(s, nullptr) << "the currency sign goes as its code point";
            continue;
        }
        ASSERT_NE(s, nullptr) << std::hex << static_cast<unsigned>(c);
        for (const char* p = s; *p; ++p)
            EXPECT_TRUE(*p >= 0x20 && *p < 0x7f && *p != '?') << std::hex << unsigned(c);
    }
    EXPECT_STREQ(orv::ascii_spelling(0xdf), "ss");
    EXPECT_STREQ(orv::ascii_spelling(0xe9), "e");
    EXPECT_STREQ(orv::ascii_spelling(0xfc), "ue");
    EXPECT_STREQ(orv::ascii_spelling(0x17e), "z");
    EXPECT_STREQ(orv::ascii_spelling(0x153), "oe");
}

TEST(TerminalText, LocaleChoosesUtf8) {
    struct row {
        const char *lc_all, *lc_ctype, *lang;
        bool utf8;
    };
    const std::vector<row> rows = {
        {nullptr, nullptr, nullptr, false},  {nullptr, nullptr, "de_CH.UTF-8", true},
        {nullptr, nullptr, "C.utf8", true},  {nullptr, nullptr, "de_CH.UTF-8@euro", true},
        {nullptr, nullptr, "UTF-8", true},   {nullptr, nullptr, "de_CH.ISO-8859-1", false},
        {nullptr, nullptr, "C", false},      {"C", nullptr, "de_CH.UTF-8", false},
        {"", "", "de_CH.UTF-8", true},       {nullptr, "POSIX", "de_CH.UTF-8", false},
        {"en_GB.UTF-8", "C", "C", true},     {nullptr, "fr_CH.utf-8", nullptr, true},
        {nullptr, nullptr, "UTF-16", false},
    };
    for (const row& r : rows) {
        EXPECT_EQ(orv::io::utf8_locale(r.lc_all, r.lc_ctype, r.lang), r.utf8)
            << (r.lc_all ? r.lc_all : "-") << " " << (r.lc_ctype ? r.lc_ctype : "-") << " "
            << (r.lang ? r.lang : "-");
    }
}

} // namespace
