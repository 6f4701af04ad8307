// Colours and the colour scale.
#include "draw/style.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace orv::draw {

namespace {

// Linear light to the sRGB curve.
double encode(double c) {
    return c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
}

// Oklab lightness, chroma and hue (degrees) to linear sRGB.
std::array<double, 3> oklab_to_linear(double l, double c, double h) {
    const double a = c * std::cos(h * M_PI / 180);
    const double b = c * std::sin(h * M_PI / 180);
    const double l_ = std::pow(l + 0.3963377774 * a + 0.2158037573 * b, 3);
    const double m_ = std::pow(l - 0.1055613458 * a - 0.0638541728 * b, 3);
    const double s_ = std::pow(l - 0.0894841775 * a - 1.2914855480 * b, 3);
    return {4.0767416621 * l_ - 3.3077115913 * m_ + 0.2309699292 * s_,
            -1.2684380046 * l_ + 2.6097574011 * m_ - 0.3413193965 * s_,
            -0.0041960863 * l_ - 0.7034186147 * m_ + 1.7076147010 * s_};
}

bool in_gamut(const std::array<double, 3>& c) {
    return std::all_of(c.begin(), c.end(), [](double v) { return v >= 0 && v <= 1; });
}

// The scale's 256 steps, computed once.
std::array<rgb, 256> make_scale() {
    std::array<rgb, 256> s{};
    for (int k = 0; k < 256; ++k) {
        const double t = k / 255.0;
        const double l = 0.27 + 0.68 * t;
        const double h = 300 - 200 * t;
        double c = 0.10 + 0.08 * t;
        auto lin = oklab_to_linear(l, c, h);
        while (!in_gamut(lin) && c > 0) {
            c -= 0.002;
            lin = oklab_to_linear(l, std::max(c, 0.0), h);
        }
        s[k] = {encode(std::clamp(lin[0], 0.0, 1.0)), encode(std::clamp(lin[1], 0.0, 1.0)),
                encode(std::clamp(lin[2], 0.0, 1.0))};
    }
    return s;
}

} // namespace

rgb level_colour(int level) {
    switch (level) {
    case 1: return {0xfe / 255.0, 0xd9 / 255.0, 0x8e / 255.0};
    case 2: return {0xfe / 255.0, 0x99 / 255.0, 0x29 / 255.0};
    case 3: return {0x99 / 255.0, 0x34 / 255.0, 0x04 / 255.0};
    default: return {1, 1, 1};
    }
}

rgb scale_colour(double t) {
    static const std::array<rgb, 256> scale = make_scale();
    if (!(t > 0)) t = 0;
    if (t > 1) t = 1;
    return scale[static_cast<int>(std::lround(t * 255))];
}

uint32_t pixel(const rgb& c) {
    auto byte = [](double v) {
        return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
    };
    return 0xff000000u | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
}

namespace {

map::colour8 eight(const rgb& c) {
    const uint32_t p = pixel(c);
    return map::colour8{static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                        static_cast<uint8_t>(p)};
}

} // namespace

map::zone_colours zone_colours() {
    return {{eight(level_colour(0)), eight(level_colour(1)), eight(level_colour(2)),
             eight(level_colour(3))},
            eight(no_result_ground),
            eight(hatch_colour),
            eight(upstream_colour)};
}

map::object_colours object_colours() {
    return {{eight(level_colour(0)), eight(level_colour(1)), eight(level_colour(2)),
             eight(level_colour(3))},
            eight(object_none),
            eight(object_hatch),
            eight(object_outline)};
}

void set_colour(cairo_t* cr, const rgb& c, double alpha) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

} // namespace orv::draw
