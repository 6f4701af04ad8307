// Splitting the text outputs tests read back.
#include "support/csv_text.h"

namespace orv::test {

std::vector<std::string> text_lines(const std::string& text) {
    std::vector<std::string> v;
    std::size_t a = 0;
    for (std::size_t b; (b = text.find('\n', a)) != std::string::npos; a = b + 1)
        v.push_back(text.substr(a, b - a));
    if (a < text.size()) v.push_back(text.substr(a));
    return v;
}

std::vector<std::string> csv_fields(const std::string& line, char delim) {
    std::vector<std::string> f(1);
    bool quoted = false;
    for (std::size_t k = 0; k < line.size(); ++k) {
        const char c = line[k];
        if (c == '"' && quoted && k + 1 < line.size() && line[k + 1] == '"')
            f.back() += line[++k];
        else if (c == '"')
            quoted = !quoted;
        else if (c == delim && !quoted)
            f.emplace_back();
        else if (c != '\r' || quoted)
            f.back() += c;
    }
    return f;
}

} // namespace orv::test
