#include "consoleio/write.h"

#include <cstring>

#include "consoleio/edit.h"
#include "consoleio/format.h"
#include "consoleio/rterror.h"

namespace orv {
namespace {

// Record buffer of standard output; longer records go out in pieces.
constexpr std::size_t record_cap = 4096;
char record_buf[record_cap + 1];

dest unit_dest(ounit& u) {
    return dest{&u, record_buf, record_cap, 0};
}

// Appends text to the record; a unit's record is handed on when full.
write_status put(dest& out, const char* p, std::size_t n) {
    while (n > 0) {
        if (out.len == out.cap) {
            if (out.unit == nullptr) return write_status::end_of_record;
            deliver(*out.unit, out.buf, out.len);
            out.len = 0;
        }
        std::size_t k = std::min(n, out.cap - out.len);
        std::memcpy(out.buf + out.len, p, k);
        out.len += k;
        p += k;
        n -= k;
    }
    return write_status::ok;
}

// Ends the record of a unit with its Line end and delivers it.
void end_record(dest& out) {
    out.buf[out.len++] = '\n'; // the buffer keeps one byte spare for it
    deliver(*out.unit, out.buf, out.len);
    out.len = 0;
}

// Copies a character constant, undoubling its delimiters.
write_status put_text(dest& out, const desc& d) {
    std::string_view t = d.text;
    while (!t.empty()) {
        std::size_t k = t.find(d.delim);
        if (k == std::string_view::npos) return put(out, t.data(), t.size());
        if (put(out, t.data(), k + 1) != write_status::ok) return write_status::end_of_record;
        t.remove_prefix(k + 2);
    }
    return write_status::ok;
}

// Edits one data item by its descriptor.
write_status put_item(dest& out, const desc& d, const item& it) {
    char field[max_width];
    std::size_t w = static_cast<std::size_t>(d.w);
    switch (d.kind) {
    case desc_kind::f: edit_f({field, w}, d.d, it.r); break;
    case desc_kind::i: edit_i({field, w}, it.i); break;
    default: // A
        if (d.w == 0) return put(out, it.s.data(), it.s.size());
        if (w <= it.s.size()) return put(out, it.s.data(), w);
        for (std::size_t k = it.s.size(); k < w; ++k)
            if (put(out, " ", 1) != write_status::ok) return write_status::end_of_record;
        return put(out, it.s.data(), it.s.size());
    }
    return put(out, field, w);
}

} // namespace

write_status format_into(dest& out, std::string_view fmt, std::span<const item> its) {
    fmt_cursor c{fmt};
    std::size_t next = 0;
    bool dollar = false;
    write_status st = write_status::ok;
    for (;;) {
        desc d = next_desc(c);
        if (d.kind == desc_kind::end || d.kind == desc_kind::bad) break;
        if (d.kind == desc_kind::text) {
            st = put_text(out, d);
        } else if (d.kind == desc_kind::slash) {
            if (out.unit != nullptr)
                end_record(out);
            else
                st = write_status::end_of_record; // an Internal record holds one record
        } else if (d.kind == desc_kind::dollar) {
            dollar = true;
        } else {
            if (next == its.size()) break; // no item left: stop here
            st = put_item(out, d, its[next++]);
        }
        if (st != write_status::ok) return st;
    }
    if (out.unit == nullptr) {
        std::memset(out.buf + out.len, ' ', out.cap - out.len);
    } else if (dollar) {
        if (out.len > 0) deliver(*out.unit, out.buf, out.len);
        out.len = 0;
    } else {
        end_record(out);
    }
    return write_status::ok;
}

void list_into(ounit& u, std::span<const item> its) {
    dest out = unit_dest(u);
    bool first = true;
    for (const item& it : its) {
        if (first) put(out, " ", 1);
        first = false;
        put(out, it.s.data(), it.s.size());
    }
    end_record(out);
}

void write_list(const locus&, items its) {
    list_into(stdout_unit(), {its.begin(), its.size()});
}

void write_formatted(const locus&, std::string_view fmt, items its) {
    dest out = unit_dest(stdout_unit());
    format_into(out, fmt, {its.begin(), its.size()});
}

void write_internal(const locus& at, std::span<char> rec, std::string_view fmt, items its) {
    dest out{nullptr, rec.data(), rec.size(), 0};
    if (format_into(out, fmt, {its.begin(), its.size()}) != write_status::ok)
        runtime_error_report(at, "End of record");
}

} // namespace orv
