// Reducing a grid to a picture's image.
#include "map/image.h"

#include <cmath>
#include <limits>

namespace orv::map {

namespace {

// The value of quantity k at cell c of strip s.
float value_of(const strip& s, std::size_t c, quantity k) {
    switch (k) {
    case quantity::q: return s.q[c];
    case quantity::v: return s.v[c];
    case quantity::h: return s.h[c];
    case quantity::he: return s.he[c];
    default: return std::numeric_limits<float>::quiet_NaN();
    }
}

} // namespace

// The smallest whole factor that brings both sides within max_image_side.
image_sink::image_sink(std::size_t nx, std::size_t ny, quantity shown) : shown_(shown) {
    const std::size_t side = nx > ny ? nx : ny;
    img_.factor = (side + max_image_side - 1) / max_image_side;
    if (img_.factor == 0) img_.factor = 1;
    img_.w = (nx + img_.factor - 1) / img_.factor;
    img_.h = (ny + img_.factor - 1) / img_.factor;
    img_.level.assign(img_.w * img_.h, static_cast<int8_t>(no_level));
    img_.value.assign(img_.w * img_.h, std::numeric_limits<float>::quiet_NaN());
}

// Highest level and largest finite value per pixel.
bool image_sink::take(const strip& s) {
    const std::size_t f = img_.factor;
    for (std::size_t r = 0; r < s.rows; ++r) {
        const std::size_t row = (s.j0 + r) / f * img_.w;
        for (std::size_t i = 0; i < s.nx; ++i) {
            const std::size_t c = r * s.nx + i;
            const std::size_t p = row + i / f;
            if (s.level[c] > img_.level[p]) img_.level[p] = s.level[c];
            if (shown_ == quantity::levels || s.st[c] != 0) continue;
            const float v = value_of(s, c, shown_);
            if (std::isfinite(v) && !(v <= img_.value[p])) img_.value[p] = v;
        }
    }
    return true;
}

} // namespace orv::map
