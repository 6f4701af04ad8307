// The pieces of a QML document, the style a desktop GIS reads for a vector
// layer: symbol layers of fills, lines and markers, symbols, the rules or
// categories that pick them, the labels, and the document around them.
#pragma once
#include <string>

#include "map/palette.h"

namespace orv::style {

// The symbols a layer's geometry takes: markers, lines or fills.
enum class shape { point, line, polygon };

// s with the characters XML gives a meaning to escaped, for attributes.
std::string xml_text(const std::string& s);

// "r,g,b,255".
std::string rgba(const map::colour8& c);

// Symbol layers (widths and sizes in millimetres).
// A solid fill, outlined when outline is not null.
std::string solid_fill(const map::colour8& c, const map::colour8* outline = nullptr,
                       double width = 0.26);
// Only an outline, the fill left transparent.
std::string outline_fill(const map::colour8& outline, double width);
// Parallel lines at angle degrees (45 rising to the right, 135 falling),
// distance apart; name is the symbol's, which the lines' own symbol extends.
std::string hatch_fill(const map::colour8& c, int angle, double distance, double width,
                       const std::string& name);
// A line; dashed in dashes as long as the line is wide times three.
std::string simple_line(const map::colour8& c, double width, bool dashed = false);
// A circle of diameter size: filled with fill unless null, outlined.
std::string circle(const map::colour8* fill, const map::colour8& outline, double size,
                   double width);
// A circle of diameter size filled with the fill symbol layers given
// (e.g. a ground and a hatch), outlined.
std::string filled_circle(const std::string& fill_layers, const map::colour8& outline, double size,
                          double width, const std::string& name);
// A diagonal cross of size in colour c.
std::string cross(const map::colour8& c, double size, double width);

// A symbol of the shape holding the symbol layers given.
std::string symbol(shape s, const std::string& name, const std::string& layers);

// A rule of a rule-based renderer: the features that filter picks drawn with
// symbol name, legend label.
std::string rule(const std::string& key, const std::string& name, const std::string& filter,
                 const std::string& label);
// A category of a categorised renderer: the features whose field has value
// ("" for every other value and none) drawn with symbol name.
std::string category(const std::string& name, const std::string& value, const std::string& label);

// A rule-based renderer of the rules and symbols given; features drawn in
// the order of the field order_by, lowest and empty first (none when "").
std::string rule_renderer(const std::string& rules, const std::string& symbols,
                          const std::string& order_by = "");
// A categorised renderer by field.
std::string category_renderer(const std::string& field, const std::string& categories,
                              const std::string& symbols);

// Labels of field's values (none for "") with a white halo, as the
// pictures write them, placed as suits the shape.
std::string labels(const std::string& field, shape s);

// The document: the renderer and the labeling (none for "").
std::string document(const std::string& renderer, const std::string& labeling = "");

} // namespace orv::style
