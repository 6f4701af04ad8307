// The symbols of the looks, per shape, in the sizes of a map on screen.
#include "style/look.h"

namespace orv::style {

namespace {

// Millimetres: the outline, the hatch's lines and their distance, a
// marker's diameter, a line's casing and core.
constexpr double outline_w = 0.3, hatch_w = 0.25, hatch_d = 1.2, marker = 3.2;
constexpr double casing_w = 1.2, core_w = 0.7;

std::string polygon(const look& l, const map::object_colours& c, const std::string& name) {
    if (l.overlay) return hatch_fill(c.hatch, 45, hatch_d, hatch_w, name);
    std::string s =
        l.fill ? solid_fill(*l.fill, &c.outline, outline_w) : outline_fill(c.outline, outline_w);
    if (l.hatched || l.crossed) s += hatch_fill(c.hatch, 45, hatch_d, hatch_w, name);
    if (l.crossed) s += hatch_fill(c.outline, 135, hatch_d, hatch_w, name + "x");
    return s;
}

std::string line(const look& l, const map::object_colours& c) {
    if (l.overlay) return simple_line(c.hatch, hatch_w * 1.6, true);
    if (l.crossed) return simple_line(c.outline, casing_w) + simple_line(c.hatch, core_w, true);
    if (!l.fill) return simple_line(c.outline, outline_w * 1.5);
    std::string s = simple_line(c.outline, casing_w) + simple_line(*l.fill, core_w);
    if (l.hatched) s += simple_line(c.hatch, hatch_w * 1.6, true);
    return s;
}

std::string point(const look& l, const map::object_colours& c, const std::string& name) {
    if (l.crossed) return cross(c.outline, marker * 1.2, outline_w * 2);
    const std::string hatch = hatch_fill(c.hatch, 45, hatch_d * 0.6, hatch_w, "@" + name + "@0");
    if (l.overlay) return filled_circle(hatch, c.outline, marker, outline_w, name);
    if (l.hatched)
        return filled_circle((l.fill ? solid_fill(*l.fill) : "") + hatch, c.outline, marker,
                             outline_w, name);
    return circle(l.fill, c.outline, marker, outline_w);
}

} // namespace

std::string symbol_of(shape s, const look& l, const map::object_colours& c,
                      const std::string& name) {
    switch (s) {
    case shape::point: return symbol(s, name, point(l, c, name));
    case shape::line: return symbol(s, name, line(l, c));
    default: return symbol(s, name, polygon(l, c, name));
    }
}

} // namespace orv::style
