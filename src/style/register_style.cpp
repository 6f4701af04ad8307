// The categories of the register's style.
#include "style/register_style.h"

#include "style/look.h"

namespace orv::style {

std::string register_qml(shape s, const map::object_colours& c) {
    struct answer {
        const char* key;
        const char* label;
        look how;
    };
    const answer answers[] = {{"yes", "ja", {&c.level[3]}},
                              {"no", "nein", {&c.level[0]}},
                              {"open", "offen", {&c.none, true}},
                              {"", "Fehler", {nullptr, false, false, true}}};
    std::string categories, symbols;
    int n = 0;
    for (const answer& a : answers) {
        const std::string name = std::to_string(n++);
        categories += category(name, a.key, a.label);
        symbols += symbol_of(s, a.how, c, name);
    }
    return document(category_renderer("orv_answer", categories, symbols));
}

} // namespace orv::style
