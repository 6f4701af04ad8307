// QML pieces written as text, each element with the properties it needs.
#include "style/qml.h"

#include <cstdio>

namespace orv::style {

namespace {

// A length in millimetres as the document writes it: "0.26".
std::string mm(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

std::string prop(const std::string& k, const std::string& v) {
    return "<prop k=\"" + k + "\" v=\"" + xml_text(v) + "\"/>";
}

// A symbol layer of class cls with the properties given and, for a layer
// that draws with a symbol of its own, that symbol.
std::string layer(const char* cls, const std::string& props, const std::string& inner = "") {
    return std::string("<layer class=\"") + cls + "\" enabled=\"1\" locked=\"0\" pass=\"0\">" +
           props + inner + "</layer>\n";
}

const char* type_of(shape s) {
    switch (s) {
    case shape::point: return "marker";
    case shape::line: return "line";
    default: return "fill";
    }
}

std::string sub_symbol(const char* type, const std::string& name, const std::string& layers) {
    return std::string("<symbol type=\"") + type + "\" name=\"" + xml_text(name) +
           "\" alpha=\"1\" clip_to_extent=\"1\" force_rhr=\"0\">\n" + layers + "</symbol>";
}

} // namespace

std::string xml_text(const std::string& s) {
    std::string o;
    for (char ch : s) {
        switch (ch) {
        case '&': o += "&amp;"; break;
        case '<': o += "&lt;"; break;
        case '>': o += "&gt;"; break;
        case '"': o += "&quot;"; break;
        default: o += ch;
        }
    }
    return o;
}

std::string rgba(const map::colour8& c) {
    return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ",255";
}

std::string solid_fill(const map::colour8& c, const map::colour8* outline, double width) {
    std::string p = prop("color", rgba(c)) + prop("style", "solid");
    if (outline)
        p += prop("outline_color", rgba(*outline)) + prop("outline_style", "solid") +
             prop("outline_width", mm(width)) + prop("outline_width_unit", "MM");
    else
        p += prop("outline_style", "no");
    return layer("SimpleFill", p);
}

std::string outline_fill(const map::colour8& outline, double width) {
    return layer("SimpleFill",
                 prop("color", "255,255,255,0") + prop("style", "no") +
                     prop("outline_color", rgba(outline)) + prop("outline_style", "solid") +
                     prop("outline_width", mm(width)) + prop("outline_width_unit", "MM"));
}

std::string hatch_fill(const map::colour8& c, int angle, double distance, double width,
                       const std::string& name) {
    const std::string line =
        layer("SimpleLine", prop("line_color", rgba(c)) + prop("line_width", mm(width)) +
                                prop("line_width_unit", "MM"));
    return layer("LinePatternFill",
                 prop("lineangle", std::to_string(angle)) + prop("distance", mm(distance)) +
                     prop("distance_unit", "MM"),
                 sub_symbol("line", "@" + name + "@1", line));
}

std::string simple_line(const map::colour8& c, double width, bool dashed) {
    std::string p = prop("line_color", rgba(c)) + prop("line_width", mm(width)) +
                    prop("line_width_unit", "MM") + prop("capstyle", "round") +
                    prop("joinstyle", "round");
    if (dashed)
        p += prop("use_custom_dash", "1") +
             prop("customdash", mm(width * 3) + ";" + mm(width * 3)) +
             prop("customdash_unit", "MM");
    return layer("SimpleLine", p);
}

std::string circle(const map::colour8* fill, const map::colour8& outline, double size,
                   double width) {
    return layer("SimpleMarker",
                 prop("name", "circle") + prop("color", fill ? rgba(*fill) : "255,255,255,0") +
                     prop("outline_color", rgba(outline)) + prop("outline_style", "solid") +
                     prop("outline_width", mm(width)) + prop("outline_width_unit", "MM") +
                     prop("size", mm(size)) + prop("size_unit", "MM"));
}

std::string filled_circle(const std::string& fill_layers, const map::colour8& outline, double size,
                          double width, const std::string& name) {
    const std::string ring = circle(nullptr, outline, size, width);
    return layer("FilledMarker",
                 prop("name", "circle") + prop("size", mm(size)) + prop("size_unit", "MM"),
                 sub_symbol("fill", "@" + name + "@0", fill_layers)) +
           ring;
}

std::string cross(const map::colour8& c, double size, double width) {
    return layer("SimpleMarker",
                 prop("name", "cross2") + prop("color", rgba(c)) + prop("outline_color", rgba(c)) +
                     prop("outline_style", "solid") + prop("outline_width", mm(width)) +
                     prop("outline_width_unit", "MM") + prop("size", mm(size)) +
                     prop("size_unit", "MM"));
}

std::string symbol(shape s, const std::string& name, const std::string& layers) {
    return sub_symbol(type_of(s), name, layers) + "\n";
}

std::string rule(const std::string& key, const std::string& name, const std::string& filter,
                 const std::string& label) {
    return "<rule key=\"{" + xml_text(key) + "}\" symbol=\"" + xml_text(name) + "\" filter=\"" +
           xml_text(filter) + "\" label=\"" + xml_text(label) + "\"/>\n";
}

std::string category(const std::string& name, const std::string& value, const std::string& label) {
    return "<category symbol=\"" + xml_text(name) + "\" value=\"" + xml_text(value) +
           "\" label=\"" + xml_text(label) + "\" render=\"true\"/>\n";
}

std::string rule_renderer(const std::string& rules, const std::string& symbols,
                          const std::string& order_by) {
    const std::string order =
        order_by.empty() ? ""
                         : "<orderby><orderByClause asc=\"1\" nullsFirst=\"1\">" +
                               xml_text("\"" + order_by + "\"") + "</orderByClause></orderby>\n";
    return std::string("<renderer-v2 type=\"RuleRenderer\" symbollevels=\"0\" enableorderby=\"") +
           (order.empty() ? "0" : "1") + "\" forceraster=\"0\">\n<rules key=\"{root}\">\n" + rules +
           "</rules>\n<symbols>\n" + symbols + "</symbols>\n" + order + "</renderer-v2>\n";
}

std::string category_renderer(const std::string& field, const std::string& categories,
                              const std::string& symbols) {
    return "<renderer-v2 type=\"categorizedSymbol\" attr=\"" + xml_text(field) +
           "\" symbollevels=\"0\" enableorderby=\"0\" forceraster=\"0\">\n<categories>\n" +
           categories + "</categories>\n<symbols>\n" + symbols + "</symbols>\n</renderer-v2>\n";
}

std::string labels(const std::string& field, shape s) {
    if (field.empty()) return "";
    // Around a point, parallel to a line, around a polygon's centre.
    const char* placement = s == shape::point ? "6" : s == shape::line ? "2" : "0";
    return "<labeling type=\"simple\"><settings calloutType=\"simple\">"
           "<text-style fieldName=\"" +
           xml_text(field) +
           "\" isExpression=\"0\" fontSize=\"8\" fontSizeUnit=\"Point\" "
           "textColor=\"0,0,0,255\" textOpacity=\"1\">"
           "<text-buffer bufferDraw=\"1\" bufferSize=\"0.8\" bufferSizeUnits=\"MM\" "
           "bufferColor=\"255,255,255,255\" bufferOpacity=\"1\"/></text-style>"
           "<placement placement=\"" +
           placement +
           "\" dist=\"1.5\" distUnits=\"MM\"/>"
           "<rendering drawLabels=\"1\" obstacle=\"1\" displayAll=\"0\"/>"
           "</settings></labeling>\n";
}

std::string document(const std::string& renderer, const std::string& labeling) {
    if (labeling.empty())
        return "<qgis version=\"3.22.0\" styleCategories=\"Symbology\">\n" + renderer +
               "<layerOpacity>1</layerOpacity>\n</qgis>\n";
    return "<qgis version=\"3.22.0\" styleCategories=\"Symbology|Labeling\" "
           "labelsEnabled=\"1\">\n" +
           renderer + labeling + "<layerOpacity>1</layerOpacity>\n</qgis>\n";
}

} // namespace orv::style
