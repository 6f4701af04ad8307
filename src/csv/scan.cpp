// The CSV tokenizer: a state machine over bytes with a class table.
#include "csv/scan.h"

#include <cstring>

namespace orv::csv {

// Sets up the classes of the special bytes for delimiter delim.
scanner::scanner(char delim) : delim_(0) {
    set_delim(delim);
}

// Fixes the delimiter (0: the first candidate met decides).
void scanner::set_delim(char d) {
    delim_ = d;
    for (auto& k : cls_) k = data;
    if (d == 0) {
        cls_[static_cast<unsigned char>(';')] = candidate;
        cls_[static_cast<unsigned char>(',')] = candidate;
        cls_[static_cast<unsigned char>('\t')] = candidate;
    } else {
        cls_[static_cast<unsigned char>(d)] = delimiter;
    }
    cls_[static_cast<unsigned char>('\n')] = lf;
    cls_[static_cast<unsigned char>('\r')] = cr;
    cls_[static_cast<unsigned char>('"')] = quote;
}

// Keeps byte c of a collected value: leading blanks and tabs are dropped,
// bytes beyond max_value_len only mark the field too long.
inline void scanner::put(char c) {
    if (!keep_) return;
    if (n_ == 0 && (c == ' ' || c == '\t')) return;
    if (n_ < max_value_len)
        val_[n_++] = c;
    else
        cur_.too_long = true;
}

// Keeps the bytes [p, q) of a collected value, as put() would one by one.
void scanner::put_run(const char* p, const char* q) {
    if (n_ == 0)
        while (p != q && (*p == ' ' || *p == '\t')) ++p;
    const std::size_t room = max_value_len - n_;
    const std::size_t n = static_cast<std::size_t>(q - p);
    if (n > room) cur_.too_long = true;
    std::memcpy(val_ + n_, p, n < room ? n : room);
    n_ += n < room ? n : room;
}

// Closes the current field: bytes after a closing quote make it bad.
void scanner::end_field() {
    if (cur_.quoted && data_) cur_.bad_quote = true;
    if (cur_.quoted || data_) only_delims_ = false;
    last_ = cur_;
    st_ = state::start;
}

// Closes the current field and its record.
void scanner::end_record(const char* content_end, line_end how) {
    end_field();
    content_end_ = content_end;
    ending_ = how;
    last_only_ = only_delims_;
    only_delims_ = true;
    started_ = false;
}

const char* scanner::scan(const char* p, const char* end, event& ev, bool last) {
    for (;;) {
        if (st_ == state::start) {
            if (p == end) {
                ev = event::more;
                return p;
            }
            // A field begins here.
            cur_ = field_info{};
            cur_.line = line_;
            keep_ = collect;
            data_ = false;
            n_ = 0;
            started_ = true;
            if (*p == '"') {
                cur_.quoted = true;
                cr_ = false;
                st_ = state::quoted;
                ++p;
            } else {
                st_ = state::unquoted;
            }
        }
        if (st_ == state::quoted) {
            while (p != end) {
                const char c = *p;
                if (c == '"') {
                    if (p + 1 == end && !last) {
                        ev = event::more;
                        return p;
                    }
                    if (p + 1 != end && p[1] == '"') {
                        put('"');
                        cr_ = false;
                        p += 2;
                        continue;
                    }
                    ++p;
                    st_ = state::unquoted;
                    break;
                }
                // A line end inside quotes counts as a physical line too.
                if (c == '\r' || (c == '\n' && !cr_)) ++line_;
                cr_ = c == '\r';
                put(c);
                ++p;
            }
            if (st_ == state::quoted) {
                ev = event::more;
                return p;
            }
        }
        // Unquoted text, or what follows a closing quote.
        while (p != end) {
            // A run of plain bytes at once.
            const char* q = p;
            while (q != end && cls_[static_cast<unsigned char>(*q)] == data) ++q;
            if (q != p) {
                data_ = true;
                if (keep_) put_run(p, q);
                p = q;
                if (p == end) break;
            }
            const char c = *p;
            switch (cls_[static_cast<unsigned char>(c)]) {
            case data: continue;
            case candidate: set_delim(c); [[fallthrough]];
            case delimiter:
                end_field();
                ev = event::field;
                return p + 1;
            case lf:
                end_record(p, line_end::lf);
                ++line_;
                ev = event::record;
                return p + 1;
            case cr:
                if (p + 1 == end && !last) {
                    ev = event::more;
                    return p;
                }
                if (p + 1 != end && p[1] == '\n') {
                    end_record(p, line_end::crlf);
                    ++line_;
                    ev = event::record;
                    return p + 2;
                }
                end_record(p, line_end::cr);
                ++line_;
                ev = event::record;
                return p + 1;
            case quote:
                cur_.bad_quote = true;
                data_ = true;
                put(c);
                ++p;
                continue;
            }
        }
        ev = event::more;
        return p;
    }
}

bool scanner::finish(const char* end) {
    if (!started_) return false;
    if (st_ == state::quoted) cur_.unclosed = true;
    end_record(end, line_end::none);
    return true;
}

} // namespace orv::csv
