// The CSV tokenizer: fields, records, flags and line numbers, the same
// whatever pieces the input arrives in.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "csv/scan.h"

namespace {

using orv::csv::event;
using orv::csv::line_end;
using orv::csv::scanner;

// A readable account of what the scanner found: per record its content in
// braces, its fields in brackets with their flags (q quoted, ! bad quote,
// ? unclosed, + too long, @n the line where a field began when not the
// record's first line), "D" for delimiters only, and its line end.
std::string transcript(const std::string& in, char delim, const std::vector<std::size_t>& cuts) {
    scanner sc(delim);
    sc.collect = true;
    std::string t, fields;
    std::size_t rec_start = 0, rec_line = 1;
    std::size_t from = 0; // where the next piece starts in in
    auto field = [&] {
        const auto& f = sc.field();
        fields.append(fields.empty() ? "[" : "|").append(sc.value());
        if (f.quoted) fields += "q";
        if (f.bad_quote) fields += "!";
        if (f.unclosed) fields += "?";
        if (f.too_long) fields += "+";
        if (f.line != rec_line) fields.append("@").append(std::to_string(f.line));
    };
    auto record = [&](std::size_t content_end, std::size_t next) {
        field();
        t.append("{").append(in, rec_start, content_end - rec_start).append("}");
        t.append(fields).append("]");
        if (sc.only_delims()) t += "D";
        const line_end e = sc.ending();
        t += e == line_end::lf     ? "LF "
             : e == line_end::crlf ? "CRLF "
             : e == line_end::cr   ? "CR "
                                   : "END ";
        fields.clear();
        rec_start = next;
        rec_line = sc.line();
    };
    std::vector<std::size_t> ends = cuts;
    ends.push_back(in.size());
    for (std::size_t k = 0; k < ends.size(); ++k) {
        const bool last = k + 1 == ends.size();
        // The bytes not consumed come again at the front of the next piece.
        std::string piece = in.substr(from, ends[k] - from);
        const char* p = piece.data();
        const char* end = p + piece.size();
        for (;;) {
            event ev;
            const char* q = sc.scan(p, end, ev, last);
            const std::size_t at = from + static_cast<std::size_t>(q - piece.data());
            if (ev == event::field) {
                field();
            } else if (ev == event::record) {
                record(from + static_cast<std::size_t>(sc.content_end() - piece.data()), at);
            } else {
                from = at;
                break;
            }
            p = q;
        }
        if (last && sc.finish(piece.data() + piece.size())) record(in.size(), in.size());
    }
    return t;
}

struct scan_case {
    std::string in;
    char delim;
    std::string want;
};

TEST(Scan, FieldsRecordsFlags) {
    const std::string long_value(orv::csv::max_value_len + 1, '7');
    const std::vector<scan_case> cases = {
        {"a,b\nc,d\n", ',', "{a,b}[a|b]LF {c,d}[c|d]LF "},
        {"a,b\r\nc", ',', "{a,b}[a|b]CRLF {c}[c]END "},
        {"\"a,b\",\"c\"\"d\"\n", ',', "{\"a,b\",\"c\"\"d\"}[a,bq|c\"dq]LF "},
        {"\"x\ny\",z\nw\n", ',', "{\"x\ny\",z}[x\nyq|z@2]LF {w}[w]LF "},
        {"\"x\r\ny\"\r\n", ',', "{\"x\r\ny\"}[x\r\nyq]CRLF "},
        {"a\rb,c\n", ',', "{a}[a]CR {b,c}[b|c]LF "},
        {"a\r", ',', "{a}[a]CR "},
        {"a\r\r\nb", ',', "{a}[a]CR {}[]DCRLF {b}[b]END "},
        {"\"x\ry\",z\r\"a\r\"\"\nb\",v", ',',
         "{\"x\ry\",z}[x\ryq|z@2]CR {\"a\r\"\"\nb\",v}[a\r\"\nbq|v@5]END "},
        {"a\"b,\"c\"d\n", ',', "{a\"b,\"c\"d}[a\"b!|cdq!]LF "},
        {"\"abc\n", ',', "{\"abc\n}[abc\nq?]END "},
        {"\"a\"\"", ',', "{\"a\"\"}[a\"q?]END "},
        {"\n\r\n", ',', "{}[]DLF {}[]DCRLF "},
        {",,\nx", ',', "{,,}[||]DLF {x}[x]END "},
        {"\"\"\n", ',', "{\"\"}[q]LF "},
        {"  5 ,\t6\n", ',', "{  5 ,\t6}[5 |6]LF "},
        {"a;b,c\n1;2,5\n", 0, "{a;b,c}[a|b,c]LF {1;2,5}[1|2,5]LF "},
        {"\"a,b\";c\n", 0, "{\"a,b\";c}[a,bq|c]LF "},
        {"x\ty,z\n", 0, "{x\ty,z}[x|y,z]LF "},
        {"abc\n", 0, "{abc}[abc]LF "},
        {"a;b", ';', "{a;b}[a|b]END "},
        {long_value + ",1\n", ',', "{" + long_value + ",1}[" + long_value.substr(1) + "+|1]LF "},
        {"", ',', ""},
        {"a,b\n", ';', "{a,b}[a,b]LF "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(transcript(c.in, c.delim, {}), c.want);
        // Cut once at every place, and into single bytes.
        for (std::size_t k = 0; k <= c.in.size(); ++k)
            ASSERT_EQ(transcript(c.in, c.delim, {k}), c.want) << "cut at " << k;
        std::vector<std::size_t> bytes;
        for (std::size_t k = 1; k < c.in.size(); ++k) bytes.push_back(k);
        EXPECT_EQ(transcript(c.in, c.delim, bytes), c.want);
    }
}

TEST(Scan, DelimiterFoundAndKept) {
    scanner sc(0);
    const std::string in = "\"a;b\"\tc;d\ne\tf;g\n";
    const char* p = in.data();
    const char* end = p + in.size();
    event ev;
    p = sc.scan(p, end, ev);
    EXPECT_EQ(ev, event::field);
    EXPECT_EQ(sc.delim(), '\t');
    while (ev != event::more) p = sc.scan(p, end, ev);
    EXPECT_EQ(sc.delim(), '\t');
    EXPECT_EQ(sc.line(), 3u);
}

TEST(Scan, NotCollectedKeepsNothing) {
    scanner sc(',');
    sc.collect = false;
    const std::string in = "abc,\"de\"\n";
    event ev;
    const char* p = sc.scan(in.data(), in.data() + in.size(), ev);
    EXPECT_EQ(ev, event::field);
    EXPECT_EQ(sc.value(), "");
    sc.collect = true;
    sc.scan(p, in.data() + in.size(), ev);
    EXPECT_EQ(ev, event::record);
    EXPECT_EQ(sc.value(), "de");
}

} // namespace
