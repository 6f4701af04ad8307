// Pictures embedded in one page: ids, links and url() references prefixed,
// everything else kept byte for byte.
#include <string>

#include <gtest/gtest.h>

#include "report/svg_ids.h"

namespace {

TEST(SvgIds, PrefixesIdsAndTheirReferencesOnly) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"<symbol overflow=\"visible\" id=\"glyph0-1\">", "<symbol overflow=\"visible\" id=\"p-glyph0-1\">"},
        {"<use xlink:href=\"#glyph0-1\" x=\"3\"/>", "<use xlink:href=\"#p-glyph0-1\" x=\"3\"/>"},
        {"<use href='#a'/>", "<use href='#p-a'/>"},
        {"<g clip-path=\"url(#clip1)\">", "<g clip-path=\"url(#p-clip1)\">"},
        {"<g style=\"clip-path:url('#c');mask:url(#m)\">",
         "<g style=\"clip-path:url('#p-c');mask:url(#p-m)\">"},
        // An embedded image, an outside link and a look-alike attribute stay.
        {"<image xlink:href=\"data:image/png;base64,iVBOR#w0=\"/>",
         "<image xlink:href=\"data:image/png;base64,iVBOR#w0=\"/>"},
        {"<a href=\"https://example.org/#x\">", "<a href=\"https://example.org/#x\">"},
        {"<g data-id=\"a\" grid=\"b\">", "<g data-id=\"a\" grid=\"b\">"},
        {"<rect fill=\"url(data)\"/>", "<rect fill=\"url(data)\"/>"},
        // Text, comments and closing tags are not markup to rewrite.
        {"<text>id=\"a\" url(#b)</text>", "<text>id=\"a\" url(#b)</text>"},
        {"<!-- id=\"a\" --><g id=\"b\"/>", "<!-- id=\"a\" --><g id=\"p-b\"/>"},
        // A style element's references are, and only until it closes.
        {"<style>.k{fill:url(#f)}</style>url(#t)", "<style>.k{fill:url(#p-f)}</style>url(#t)"},
        {"<style><![CDATA[.k{fill:url(\"#f\")}]]></style>",
         "<style><![CDATA[.k{fill:url(\"#p-f\")}]]></style>"},
        {"<stylus>url(#t)</stylus>", "<stylus>url(#t)</stylus>"},
        // Broken markup is copied, never read past its end.
        {"<use xlink:href=\"#a", "<use xlink:href=\"#a"},
        {"<g id=\"a\"", "<g id=\"p-a\""},
        {"<g id=a>", "<g id=a>"},
        {"<", "<"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(orv::report::prefix_svg_ids(c.in, "p-"), c.out) << c.in;
}

TEST(SvgIds, EachPictureInAPageGetsItsOwnPrefix) {
    const std::string pic = "<svg><defs><g id=\"glyph0-1\"/></defs><use xlink:href=\"#glyph0-1\"/></svg>";
    std::string page = "<body><p>&lt;svg</p>";
    for (int k = 0; k < 11; ++k) orv::report::embed_svg(page, pic);
    for (const char* s : {"id=\"svg1-glyph0-1\"", "\"#svg1-glyph0-1\"", "id=\"svg2-glyph0-1\"",
                          "\"#svg2-glyph0-1\"", "id=\"svg11-glyph0-1\""})
        EXPECT_NE(page.find(s), std::string::npos) << s;
    EXPECT_EQ(page.find("id=\"glyph0-1\""), std::string::npos);
    EXPECT_EQ(page.find("id=\"svg12-"), std::string::npos);
}

} // namespace
