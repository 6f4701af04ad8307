// Pictures embedded in one HTML page: each picture's ids made its own.
#pragma once
#include <string>
#include <string_view>

namespace orv::report {

// The SVG text svg with every id, every "#id" link (href, xlink:href) and
// every url(#id) reference, in attributes and in style elements, begun with
// prefix: two pictures from cairo both name their glyphs and clips
// "glyph0-1", "clip1", ..., and in one page a link finds the first
// picture's, not its own. Comments and text outside style elements are kept
// as they are.
std::string prefix_svg_ids(std::string_view svg, std::string_view prefix);

// Appends svg to the HTML page with its ids prefixed "svgN-", N one more
// than the pictures already in the page: unique in the page.
void embed_svg(std::string& page, std::string_view svg);

} // namespace orv::report
