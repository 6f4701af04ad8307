// The batch engine on one thread in tiny chunks: records cut by a chunk's
// end, lines longer than a chunk, line ends of every kind at the cut, and
// site values changing across chunks, each against output built from the
// model independently of the engine.
#include <sys/mman.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/number_text.h"
#include "batch/engine.h"
#include "csv/number.h"
#include "model/level.h"
#include "model/point.h"

namespace {

using orv::batch::batch_config;

// The whole content of fd from its start.
std::string content(int fd) {
    std::string s;
    lseek(fd, 0, SEEK_SET);
    char buf[4096];
    for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) s.append(buf, static_cast<size_t>(n));
    return s;
}

struct run_result {
    orv::batch::batch_outcome outcome;
    std::string out;
    std::vector<std::string> messages;
};

// Runs the engine over input in memory files.
run_result run(const std::string& input, batch_config c) {
    run_result r;
    c.in_fd = memfd_create("in", 0);
    c.out_fd = memfd_create("out", 0);
    EXPECT_EQ(write(c.in_fd, input.data(), input.size()), static_cast<ssize_t>(input.size()));
    lseek(c.in_fd, 0, SEEK_SET);
    c.message = [&r](const std::string& m) { r.messages.push_back(m); };
    r.outcome = orv::batch::run_batch(c);
    r.out = content(c.out_fd);
    close(c.in_fd);
    close(c.out_fd);
    return r;
}

// The six added fields of (x, y) at site p, written from the model.
std::string tail(const orv::params& p, float x, float y) {
    const auto r = orv::evaluate(orv::make_site(p), x, y);
    std::string s;
    for (float v : {r.res.q, r.res.v, r.res.h, r.res.he}) {
        s += ',';
        if (r.st == 0) s += orv::write_real(v);
    }
    s += ',';
    s += std::to_string(r.st);
    s += ',';
    const int lv = orv::danger_level(r.st, r.res);
    if (lv != orv::no_level) s += std::to_string(lv);
    return s;
}

std::string tail(float x, float y) {
    return tail(orv::params{}, x, y);
}

orv::params with_h(float h) {
    orv::params p;
    p.h = h;
    return p;
}

const std::string names = ",q,v,h,he,status,level";

struct engine_case {
    const char* what;
    std::string in, out;
    int invalid; // rows reported invalid (--keep-going)
};

TEST(BatchEngine, TinyChunksOneThread) {
    const std::string a(40, 'a');
    const std::vector<engine_case> cases = {
        {"line ends of every kind, CR CR LF being two", "x\r100\r\n50\n\r\r\n7\r",
         "x" + names + "\r100" + tail(100, 0) + "\r\n50" + tail(50, 0) + "\n\r\r\n7" + tail(7, 0) +
             "\r",
         0},
        {"lines longer than a chunk, CR LF at the cut",
         "n,x\r\n" + a + ",100\r\n" + a + a + ",50\r\n",
         "n,x" + names + "\r\n" + a + ",100" + tail(100, 0) + "\r\n" + a + a + ",50" + tail(50, 0) +
             "\r\n",
         0},
        {"open quotes take the last line end in, which stays the row's",
         "n,x\r\n" + a + ",100\r\n\"" + a + "\r\n",
         "n,x" + names + "\r\n" + a + ",100" + tail(100, 0) + "\r\n\"" + a + ",,,,,invalid,\r\n",
         1},
        {"open quotes and a lone CR at the end", "x,n\n100,\"" + a + "\r",
         "x,n" + names + "\n100,\"" + a + ",,,,,invalid,\r", 1},
        {"quoted line ends inside a row and site values changing from row to row",
         "H,n,x\n5,\"a\rb\r\nc\",100\n6,,30\n6,\"\n\",30\n5,x,-1\n",
         "H,n,x" + names + "\n5,\"a\rb\r\nc\",100" + tail(100, 0) + "\n6,,30" +
             tail(with_h(6), 30, 0) + "\n6,\"\n\",30" + tail(with_h(6), 30, 0) + "\n5,x,-1" +
             tail(-1, 0) + "\n",
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        batch_config cfg;
        cfg.keep_going = true;
        cfg.threaded = false;
        // Every chunk size up to past the longest line, one row per chunk
        // up to many, one site per chunk or many.
        for (std::size_t size = 16; size <= 100; ++size) {
            for (std::size_t rows : {1, 2, 64}) {
                for (std::size_t sites : {1, 256}) {
                    cfg.chunk_size = size;
                    cfg.max_rows = rows;
                    cfg.max_sites = sites;
                    const run_result r = run(c.in, cfg);
                    ASSERT_EQ(r.out, c.out) << size << " " << rows << " " << sites;
                    ASSERT_EQ(r.outcome.stop, orv::batch::failure::none);
                    ASSERT_EQ(r.outcome.counts.invalid, static_cast<uint64_t>(c.invalid));
                    ASSERT_EQ(r.messages.size(), static_cast<std::size_t>(c.invalid));
                }
            }
        }
    }
}

// A stop at a bad row: the rows before it written whole, whatever the chunks.
TEST(BatchEngine, StopKeepsRowsBefore) {
    const std::string in = "x,n\n100,aaaaaaaaaaaaaaaaaaaa\n50,b\nzz,c\n30,d\n";
    const std::string want =
        "x,n" + names + "\n100,aaaaaaaaaaaaaaaaaaaa" + tail(100, 0) + "\n50,b" + tail(50, 0) + "\n";
    batch_config cfg;
    cfg.threaded = false;
    for (std::size_t size = 16; size <= 64; ++size) {
        cfg.chunk_size = size;
        cfg.max_rows = 1;
        const run_result r = run(in, cfg);
        ASSERT_EQ(r.outcome.stop, orv::batch::failure::bad_input) << size;
        ASSERT_EQ(r.outcome.message, "Standardeingabe, Zeile 4, Spalte 1 (x): keine Zahl: zz");
        ASSERT_EQ(r.out, want) << size;
    }
}

} // namespace
