// Pictures embedded in one HTML page: each picture's ids made its own.
#include "report/svg_ids.h"

#include <cstddef>

namespace orv::report {

namespace {

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool ends_with(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// Text t with prefix put after every "url(#", "url('#" and "url(\"#".
std::string prefix_urls(std::string_view t, std::string_view prefix) {
    std::string o;
    std::size_t at = 0;
    for (std::size_t k = t.find("url("); k != std::string_view::npos; k = t.find("url(", k)) {
        std::size_t v = k + 4;
        if (v < t.size() && (t[v] == '\'' || t[v] == '"')) ++v;
        k = v;
        if (v >= t.size() || t[v] != '#') continue;
        o.append(t.substr(at, v + 1 - at));
        o.append(prefix);
        at = v + 1;
    }
    o.append(t.substr(at));
    return o;
}

// The value of attribute name as it is written with the prefix.
std::string attribute_value(std::string_view name, std::string_view value,
                            std::string_view prefix) {
    if (name == "id") return std::string(prefix) + std::string(value);
    const bool link = name == "href" || ends_with(name, ":href");
    if (link && !value.empty() && value.front() == '#')
        return "#" + std::string(prefix) + std::string(value.substr(1));
    return prefix_urls(value, prefix);
}

// Copies the start tag that begins at svg[k] ('<' then a name) to o with its
// attributes' values prefixed; the index past its '>' (or the end).
std::size_t copy_tag(std::string_view svg, std::size_t k, std::string_view prefix,
                     std::string& o) {
    std::size_t p = k + 1;
    while (p < svg.size() && !is_space(svg[p]) && svg[p] != '>' && svg[p] != '/') ++p;
    o.append(svg.substr(k, p - k));
    while (p < svg.size() && svg[p] != '>') {
        const std::size_t name_at = p;
        while (p < svg.size() && svg[p] != '=' && svg[p] != '>') ++p;
        if (p + 1 >= svg.size() || svg[p] != '=' || (svg[p + 1] != '"' && svg[p + 1] != '\'')) {
            // No quoted value: copied up to the '>' or past the '='.
            if (p < svg.size() && svg[p] == '=') ++p;
            o.append(svg.substr(name_at, p - name_at));
            continue;
        }
        std::string_view name = svg.substr(name_at, p - name_at);
        std::size_t lead = 0;
        while (lead < name.size() && is_space(name[lead])) ++lead;
        const char quote = svg[p + 1];
        const std::size_t value_at = p + 2;
        const std::size_t end = svg.find(quote, value_at);
        if (end == std::string_view::npos) {
            o.append(svg.substr(name_at));
            return svg.size();
        }
        o.append(svg.substr(name_at, value_at - name_at));
        o.append(attribute_value(name.substr(lead), svg.substr(value_at, end - value_at), prefix));
        o += quote;
        p = end + 1;
    }
    if (p < svg.size()) o += '>';
    return p < svg.size() ? p + 1 : p;
}

// The index past the markup that begins at svg[k] with open and ends with
// close, copied to o as it is (the end of svg when it is not closed).
std::size_t copy_verbatim(std::string_view svg, std::size_t k, std::string_view close,
                          std::string& o) {
    const std::size_t end = svg.find(close, k);
    const std::size_t past = end == std::string_view::npos ? svg.size() : end + close.size();
    o.append(svg.substr(k, past - k));
    return past;
}

} // namespace

std::string prefix_svg_ids(std::string_view svg, std::string_view prefix) {
    std::string o;
    o.reserve(svg.size() + svg.size() / 8);
    bool in_style = false;
    std::size_t k = 0;
    while (k < svg.size()) {
        const std::size_t lt = svg.find('<', k);
        const std::string_view text = svg.substr(k, lt == std::string_view::npos ? svg.npos : lt - k);
        o.append(in_style ? prefix_urls(text, prefix) : std::string(text));
        if (lt == std::string_view::npos) break;
        const std::string_view rest = svg.substr(lt);
        if (rest.starts_with("<!--"))
            k = copy_verbatim(svg, lt, "-->", o);
        else if (rest.starts_with("<![CDATA[")) {
            std::string part;
            k = copy_verbatim(svg, lt, "]]>", part);
            o += in_style ? prefix_urls(part, prefix) : part;
        }
        else if (rest.starts_with("<?") || rest.starts_with("<!") || rest.starts_with("</")) {
            in_style = in_style && !rest.starts_with("</style");
            k = copy_verbatim(svg, lt, ">", o);
        } else {
            in_style = rest.starts_with("<style") && rest.size() > 6 &&
                       (is_space(rest[6]) || rest[6] == '>');
            k = copy_tag(svg, lt, prefix, o);
            if (in_style && o.ends_with("/>")) in_style = false;
        }
    }
    return o;
}

void embed_svg(std::string& page, std::string_view svg) {
    std::size_t pictures = 0;
    for (auto k = page.find("<svg"); k != std::string::npos; k = page.find("<svg", k + 4))
        ++pictures;
    page += prefix_svg_ids(svg, "svg" + std::to_string(pictures + 1) + "-");
}

} // namespace orv::report
