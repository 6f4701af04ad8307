// Fuzz target, slow: any bytes as a batch file through the whole engine,
// with files and threads (csv_rows_fuzz is the fast one for the scanner and
// the row reader). The first two bytes choose the
// settings (delimiter, --keep-going, world coordinates, chunk sizes), the
// rest is the input. The run is made twice, in small chunks on one thread
// and in one chunk on two threads; checked are: no crash, the same outcome
// both times, output line k copies input line k byte for byte, as many
// output lines as input lines, and one message per invalid row.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "batch/engine.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "csv_fuzz: %s\n", what);
    std::abort();
}

// A file in memory holding data, read from its start.
int mem_file(std::string_view data) {
    const int fd = memfd_create("csv_fuzz", 0);
    if (fd < 0) fail("memfd_create");
    if (!data.empty() && write(fd, data.data(), data.size()) != static_cast<ssize_t>(data.size()))
        fail("write");
    lseek(fd, 0, SEEK_SET);
    return fd;
}

// The whole content of fd.
std::string content(int fd) {
    std::string s;
    lseek(fd, 0, SEEK_SET);
    char buf[4096];
    for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) s.append(buf, static_cast<size_t>(n));
    return s;
}

// A physical line: its bytes and its line end (LF, CR LF, a CR alone, or
// none at the input's end).
struct line {
    std::string_view text, end;
};

// The physical lines of s.
std::vector<line> lines(std::string_view s) {
    std::vector<line> v;
    std::size_t a = 0;
    for (std::size_t b; (b = s.find_first_of("\r\n", a)) != std::string_view::npos;) {
        const std::size_t n = s.compare(b, 2, "\r\n") == 0 ? 2 : 1;
        v.push_back({s.substr(a, b - a), s.substr(b, n)});
        a = b + n;
    }
    if (a < s.size()) v.push_back({s.substr(a), {}});
    return v;
}

struct result {
    orv::batch::batch_outcome out;
    std::string bytes;
    std::size_t messages = 0;
};

result run(std::string_view input, orv::batch::batch_config c) {
    result r;
    c.in_fd = mem_file(input);
    c.out_fd = mem_file({});
    c.message = [&r](const std::string&) { ++r.messages; };
    r.out = orv::batch::run_batch(c);
    r.bytes = content(c.out_fd);
    close(c.in_fd);
    close(c.out_fd);
    return r;
}

// Output line k starts with input line k and ends in the same line end;
// only the last output line may be cut short (complete: no).
void check_lines(std::string_view in, std::string_view out, bool complete) {
    const auto il = lines(in);
    const auto ol = lines(out);
    if (complete && ol.size() != il.size()) fail("output lines differ in number from input lines");
    if (ol.size() > il.size()) fail("more output lines than input lines");
    for (std::size_t k = 0; k < ol.size(); ++k) {
        const std::string_view i = il[k].text;
        const std::string_view o = ol[k].text;
        if (!complete && k + 1 == ol.size() && ol[k].end.empty()) {
            if (o.size() <= i.size() ? o != i.substr(0, o.size()) : o.substr(0, i.size()) != i)
                fail("cut output line is not the input line's start");
            continue;
        }
        if (o.substr(0, i.size()) != i) fail("output line does not copy the input line");
        if (ol[k].end != il[k].end) fail("output line has another line end");
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
    c.digits = a & 16 ? 3 : -1;
    const std::size_t chunks[] = {16, 17, 24, 40, 64, 100, 256, 1000};
    c.chunk_size = chunks[b & 7];
    const std::size_t rows[] = {1, 2, 3, 64};
    c.max_rows = rows[(b >> 3) & 3];
    c.max_sites = b & 32 ? 1 : 256;
    c.threaded = false;
    const result small = run(in, c);

    c.chunk_size = 1 << 16;
    c.max_rows = 8192;
    c.max_sites = 256;
    c.threaded = true;
    const result whole = run(in, c);

    const bool stopped = small.out.stop != orv::batch::failure::none;
    if (small.out.stop != whole.out.stop) fail("outcome depends on chunks");
    if (small.out.message != whole.out.message) fail("problem depends on chunks");
    if (small.out.write_error != 0 || whole.out.write_error != 0) fail("write error");
    if (small.messages != whole.messages) fail("messages depend on chunks");
    const auto& s = small.out.counts;
    const auto& w = whole.out.counts;
    for (int k = 0; k < 6; ++k)
        if (s.st[k] != w.st[k]) fail("statuses depend on chunks");
    if (s.invalid != w.invalid || s.blank != w.blank || s.empty != w.empty)
        fail("counts depend on chunks");
    if (!stopped && small.messages != s.invalid) fail("not one message per invalid row");
    if (stopped) {
        // Rows before the problem are written; pieces of its row may be.
        if (small.bytes.compare(0, whole.bytes.size(), whole.bytes) != 0)
            fail("output before the problem depends on chunks");
        check_lines(in, whole.bytes, false);
        check_lines(in, small.bytes, false);
    } else {
        if (small.bytes != whole.bytes) fail("output depends on chunks");
        check_lines(in, whole.bytes, true);
    }
    return 0;
}
