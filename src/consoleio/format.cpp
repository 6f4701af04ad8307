#include "consoleio/format.h"

namespace orv {
namespace {

bool is_gap(char ch) {
    return ch == ' ' || ch == '\t' || ch == ',';
}
bool is_digit(char ch) {
    return ch >= '0' && ch <= '9';
}

// Reads an unsigned decimal number; -1 when there is no digit or it is too large.
int read_count(fmt_cursor& c, int limit) {
    if (c.pos >= c.s.size() || !is_digit(c.s[c.pos])) return -1;
    int n = 0;
    while (c.pos < c.s.size() && is_digit(c.s[c.pos])) {
        n = n * 10 + (c.s[c.pos++] - '0');
        if (n > limit) return -1;
    }
    return n;
}

// Reads a character constant whose opening delimiter is at c.pos.
desc read_text(fmt_cursor& c) {
    desc r;
    r.delim = c.s[c.pos++];
    std::size_t start = c.pos;
    while (c.pos < c.s.size()) {
        if (c.s[c.pos] == r.delim) {
            if (c.pos + 1 < c.s.size() && c.s[c.pos + 1] == r.delim) {
                c.pos += 2; // a doubled delimiter stands for one
                continue;
            }
            r.kind = desc_kind::text;
            r.text = c.s.substr(start, c.pos - start);
            ++c.pos;
            return r;
        }
        ++c.pos;
    }
    return r; // unterminated constant
}

} // namespace

desc next_desc(fmt_cursor& c) {
    desc r;
    if (!c.open) {
        while (c.pos < c.s.size() && (c.s[c.pos] == ' ' || c.s[c.pos] == '\t')) ++c.pos;
        if (c.pos >= c.s.size() || c.s[c.pos] != '(') return r;
        ++c.pos;
        c.open = true;
    }
    while (c.pos < c.s.size() && is_gap(c.s[c.pos])) ++c.pos;
    if (c.pos >= c.s.size()) return r;
    char ch = c.s[c.pos];
    switch (ch) {
    case ')':
        ++c.pos;
        r.kind = desc_kind::end;
        return r;
    case '/':
        ++c.pos;
        r.kind = desc_kind::slash;
        return r;
    case '$':
        ++c.pos;
        r.kind = desc_kind::dollar;
        return r;
    case '\'':
    case '"': return read_text(c);
    case 'f':
    case 'F':
        ++c.pos;
        r.w = read_count(c, max_width);
        if (r.w < 1 || c.pos >= c.s.size() || c.s[c.pos] != '.') return r;
        ++c.pos;
        r.d = read_count(c, max_decimals);
        if (r.d < 0) return r;
        r.kind = desc_kind::f;
        return r;
    case 'i':
    case 'I':
        ++c.pos;
        r.w = read_count(c, max_width);
        if (r.w < 1) return r;
        r.kind = desc_kind::i;
        return r;
    case 'a':
    case 'A':
        ++c.pos;
        r.kind = desc_kind::a;
        if (c.pos < c.s.size() && is_digit(c.s[c.pos])) {
            r.w = read_count(c, 1 << 20);
            if (r.w < 1) r.kind = desc_kind::bad;
        }
        return r;
    default: return r;
    }
}

bool format_ok(std::string_view fmt) {
    fmt_cursor c{fmt};
    for (;;) {
        desc d = next_desc(c);
        if (d.kind == desc_kind::bad) return false;
        if (d.kind == desc_kind::end) break;
    }
    // only blanks may follow the closing parenthesis
    for (; c.pos < fmt.size(); ++c.pos)
        if (fmt[c.pos] != ' ' && fmt[c.pos] != '\t') return false;
    return true;
}

} // namespace orv
