// Drawing surfaces for the three picture formats, written to a stream.
#pragma once
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include <cairo.h>

namespace orv::draw {

// The picture formats, told by the file name's extension.
enum class picture_format { png, svg, pdf };

// The format of a file named path (.png, .svg, .pdf in any case), or nothing.
std::optional<picture_format> format_of(const std::string& path);

// The default size of a picture: pixels for PNG, points for SVG and PDF.
struct picture_size {
    int width;
    int height;
};
picture_size default_size(picture_format f);

// Smallest and largest width and height accepted.
inline constexpr int min_side = 200;
inline constexpr int max_side = 10000;

// Draws a width x height picture in format f with draw (on a white page)
// and writes it to out; false with a German reason in why.
bool render(picture_format f, int width, int height, std::FILE* out,
            const std::function<void(cairo_t*)>& draw, std::string& why);

} // namespace orv::draw
