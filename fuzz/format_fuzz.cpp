// Fuzz target: any bytes as a format text. Walks it descriptor by
// descriptor, checks that every call makes progress and stays inside the
// text, that format_ok agrees with the walk, and runs the format over an
// Internal record and over a buffered unit.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

#include "consoleio/format.h"
#include "consoleio/write.h"

namespace {

[[noreturn]] void fail(const char* what, std::size_t pos) {
    std::fprintf(stderr, "format: %s at %zu\n", what, pos);
    std::abort();
}

// Checks one descriptor that was read from s.
void check_desc(const orv::desc& d, std::string_view s) {
    using orv::desc_kind;
    switch (d.kind) {
    case desc_kind::f:
        if (d.w < 1 || d.w > orv::max_width || d.d < 0 || d.d > orv::max_decimals)
            fail("F descriptor out of range", 0);
        break;
    case desc_kind::i:
        if (d.w < 1 || d.w > orv::max_width) fail("I width out of range", 0);
        break;
    case desc_kind::a:
        if (d.w < 0) fail("A width negative", 0);
        break;
    case desc_kind::text: {
        if (d.delim != '\'' && d.delim != '"') fail("odd delimiter", 0);
        if (d.text.data() < s.data() || d.text.data() + d.text.size() > s.data() + s.size())
            fail("constant outside the format", 0);
        // inside, every delimiter comes doubled
        for (std::size_t k = 0; k < d.text.size(); ++k)
            if (d.text[k] == d.delim && (k + 1 == d.text.size() || d.text[++k] != d.delim))
                fail("single delimiter inside a constant", k);
        break;
    }
    default: break;
    }
}

// Walks the whole format; returns true when it ends at ")" with only blanks after.
bool walk(std::string_view s) {
    orv::fmt_cursor c{s};
    for (;;) {
        std::size_t before = c.pos;
        orv::desc d = orv::next_desc(c);
        if (c.pos > s.size()) fail("cursor past the end", c.pos);
        if (d.kind == orv::desc_kind::bad) return false;
        if (d.kind == orv::desc_kind::end) break;
        if (c.pos <= before) fail("no progress", c.pos);
        check_desc(d, s);
    }
    for (std::size_t k = c.pos; k < s.size(); ++k)
        if (s[k] != ' ' && s[k] != '\t') return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // an exact-size heap copy, so that a read past the end is caught
    char* fmt = new char[size];
    std::memcpy(fmt, data, size);
    std::string_view s(fmt, size);

    bool walked = walk(s);
    if (orv::format_ok(s) != walked) fail("format_ok disagrees with the walk", 0);

    // Internal record: whatever it held before, a statement that ends well
    // leaves the same 64 characters, blanks after the last one written.
    const orv::item its[] = {orv::item(-12.5f), orv::item(int32_t{4000}),
                             orv::item(std::string_view("abc", 3)), orv::item(0.125f)};
    char* rec[2] = {new char[64], new char[64]};
    orv::write_status st[2];
    std::size_t len[2];
    for (int r = 0; r < 2; ++r) {
        std::memset(rec[r], r == 0 ? 0 : 0xff, 64);
        orv::dest in{nullptr, rec[r], 64, 0};
        st[r] = orv::format_into(in, s, its);
        len[r] = in.len;
    }
    if (st[0] != st[1] || len[0] != len[1]) fail("record statements differ", len[0]);
    if (len[0] > 64) fail("record overrun", len[0]);
    if (st[0] == orv::write_status::ok) {
        if (std::memcmp(rec[0], rec[1], 64) != 0) fail("record position left unwritten", 0);
        for (std::size_t k = len[0]; k < 64; ++k)
            if (rec[0][k] != ' ') fail("no blank after the last character", k);
    }
    delete[] rec[0];
    delete[] rec[1];

    // Standard-output path into a buffered unit on /dev/null.
    static orv::ounit unit;
    static bool connected = false;
    if (!connected) {
        orv::connect(unit, ::open("/dev/null", O_WRONLY));
        unit.buffered = true;
        connected = true;
    }
    orv::dest out{&unit, nullptr, 0, 0};
    static char line[4097];
    out.buf = line;
    out.cap = 4096;
    orv::format_into(out, s, its);
    delete[] fmt;
    return 0;
}
