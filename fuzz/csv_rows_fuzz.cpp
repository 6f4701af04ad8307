// Fuzz target, single-threaded and fast: any bytes through the CSV scanner
// and the batch row reader, without files or threads. The first two bytes
// choose the settings (delimiter, --keep-going, world coordinates, options
// given) and where the input is cut into pieces; the rest is the input.
// Checked are: no crash; the records' contents and line ends put together
// give the input back byte for byte; the same records, fields, flags and
// rows whether the input comes whole or in pieces; a stop only with a
// message.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "batch/row_reader.h"
#include "csv/scan.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "csv_rows_fuzz: %s\n", what);
    std::abort();
}

std::string_view end_bytes(orv::csv::line_end e) {
    switch (e) {
    case orv::csv::line_end::lf: return "\n";
    case orv::csv::line_end::crlf: return "\r\n";
    case orv::csv::line_end::cr: return "\r";
    case orv::csv::line_end::none: return "";
    }
    return "";
}

// What the scanner and the reader made of the input: each record's bytes
// and line end, its fields with their flags, the row's kind and point.
struct account {
    std::string rebuilt; // record contents and their line ends, in order
    std::string fields;  // collected values and flags
    std::string rows;    // kinds, statuses of the reader
};

// Feeds in to a scanner and a reader in pieces of step bytes (0: whole),
// as a reading loop does: bytes not consumed come again at the front of
// the next piece. The account and the site list are cleared here but keep
// their memory from one input to the next, so that an input costs few
// allocations besides the reader's own.
void scan(std::string_view in, const orv::batch::batch_config& cfg, std::size_t step, account& a) {
    a.rebuilt.clear();
    a.fields.clear();
    a.rows.clear();
    static std::vector<orv::params> sites;
    sites.clear();
    orv::csv::scanner sc(cfg.delim);
    orv::batch::row_reader reader(cfg, sc);
    bool stopped = false;
    std::size_t from = 0, record_start = 0;
    const auto field = [&] {
        const auto& f = sc.field();
        a.fields.append(sc.value());
        a.fields += static_cast<char>('0' + f.quoted + 2 * f.bad_quote + 4 * f.unclosed);
        a.fields += static_cast<char>(f.line); // a line number's low byte tells enough
        a.fields += '|';
    };
    const auto record = [&](std::size_t content_end, std::size_t next) {
        field();
        a.rebuilt.append(in.substr(record_start, content_end - record_start));
        a.rebuilt.append(end_bytes(sc.ending()));
        a.fields += '\n';
        if (!stopped) {
            orv::batch::row_out r{};
            r.len = static_cast<uint32_t>(content_end - record_start);
            r.end = sc.ending();
            if (!reader.on_record(r, false, sites)) {
                stopped = true;
                if (reader.stop() == orv::batch::failure::none || reader.message().empty())
                    fail("stopped without a reason");
                a.rows += "stop:";
                a.rows += reader.message();
            } else {
                a.rows += static_cast<char>('a' + static_cast<int>(r.kind));
                if (r.kind == orv::batch::row_kind::data && r.site >= sites.size())
                    fail("row refers to missing site values");
            }
        }
        record_start = next;
        if (sites.size() > 64) sites.clear();
    };
    // The pieces end at step, 2 step, ... below the input's size, the last
    // one at its end.
    std::size_t cut = 0;
    for (bool last = false; !last;) {
        cut = step == 0 || in.size() - cut <= step ? in.size() : cut + step;
        last = cut == in.size();
        if (cut < from) continue;
        const std::string_view piece = in.substr(from, cut - from);
        const char* p = piece.data();
        const char* end = p + piece.size();
        for (;;) {
            orv::csv::event ev;
            const char* q = sc.scan(p, end, ev, last);
            const std::size_t at = from + static_cast<std::size_t>(q - piece.data());
            if (ev == orv::csv::event::field) {
                field();
                if (!stopped) reader.on_field(false);
            } else if (ev == orv::csv::event::record) {
                record(from + static_cast<std::size_t>(sc.content_end() - piece.data()), at);
            } else {
                from = at;
                break;
            }
            p = q;
        }
        if (last && sc.finish(end)) record(in.size(), in.size());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const uint8_t a = data[0], b = data[1];
    const std::string_view in(reinterpret_cast<const char*>(data + 2), size - 2);
    orv::batch::batch_config c;
    const char delims[] = {0, ';', ',', '\t'};
    c.delim = delims[a & 3];
    c.keep_going = a & 4;
    if (a & 8) {
        c.world = true;
        c.frame = {100, -50, 33.3};
    }
    c.given[0] = a & 16; // -H
    c.given[5] = a & 32; // -x
    c.prefer_options = a & 64;
    c.message = [](const std::string& m) {
        if (m.empty()) fail("empty message");
    };

    static account whole, pieces;
    scan(in, c, 0, whole);
    if (whole.rebuilt != in) fail("records do not give the input back");
    // Cut at every n-th byte, n from 1 to 8.
    scan(in, c, (b & 7) + 1, pieces);
    if (pieces.rebuilt != whole.rebuilt || pieces.fields != whole.fields)
        fail("records depend on the pieces");
    if (pieces.rows != whole.rows) fail("rows depend on the pieces");
    return 0;
}
