// Buffered output to file descriptors and the text of the result columns.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "csv/results.h"
#include "csv/sink.h"
#include "model/level.h"
#include "support/command.h"

namespace {

using orv::csv::sink;

// Pieces of every size through buffers smaller and larger than them reach
// the file in order and complete.
TEST(Sink, WritesEverythingInOrder) {
    const std::string dir = orv::test::scratch_dir();
    for (std::size_t size : {std::size_t{1}, std::size_t{7}, std::size_t{64}, std::size_t{4096}}) {
        const std::string path = dir + "/out" + std::to_string(size);
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        std::string want;
        {
            sink s(fd, size);
            for (std::size_t n = 0; n < 200; n += 13) {
                const std::string piece(n, static_cast<char>('a' + n % 26));
                s.put(piece);
                want += piece;
                if (size >= 3) {
                    char* p = s.room(3);
                    p[0] = '<', p[1] = '>', p[2] = '\n';
                    s.done(p + 3);
                    want += "<>\n";
                }
            }
            EXPECT_TRUE(s.flush());
            EXPECT_EQ(s.error(), 0);
        }
        close(fd);
        EXPECT_EQ(orv::test::read_file(path), want) << size;
    }
}

// A full device and a closed descriptor: the first error is kept and
// nothing more is tried.
TEST(Sink, KeepsTheFirstError) {
    const int full = open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    sink s(full, 16);
    s.put("0123456789abcdefXYZ");
    EXPECT_FALSE(s.flush());
    EXPECT_EQ(s.error(), ENOSPC);
    close(full);

    int p[2];
    ASSERT_EQ(pipe(p), 0);
    close(p[1]);
    sink closed(p[1], 16);
    closed.put("x");
    EXPECT_FALSE(closed.flush());
    EXPECT_EQ(closed.error(), EBADF);
    close(p[0]);
}

struct results_case {
    char delim, dec;
    int digits;
    int32_t st;
    orv::intensity res;
    int level;
    std::string want;
};

TEST(Results, Texts) {
    const orv::intensity r = {0.50926512f, 1.6098896f, 0.31633541f, 0.44843248f};
    const orv::intensity nan = {NAN, NAN, NAN, NAN};
    const std::vector<results_case> cases = {
        {',', '.', -1, 0, r, 1, ",0.5092651,1.6098896,0.3163354,0.44843248,0,1"},
        {';', ',', -1, 0, r, 1, ";0,5092651;1,6098896;0,3163354;0,44843248;0;1"},
        {'\t', '.', 2, 0, r, 3, "\t0.51\t1.61\t0.32\t0.45\t0\t3"},
        {',', '.', -1, 1, nan, orv::no_level, ",,,,,1,"},
        {',', '.', 3, 5, r, orv::no_level, ",,,,,5,"},
        {',', '.', -1, 0, nan, orv::no_level, ",nan,nan,nan,nan,0,"},
    };
    for (const auto& c : cases) {
        char buf[orv::csv::max_results_len];
        const char* end =
            orv::csv::put_results(buf, c.delim, c.dec, c.digits, c.st, c.res, c.level);
        EXPECT_EQ(std::string(static_cast<const char*>(buf), end), c.want);
    }
    char buf[orv::csv::max_results_len];
    EXPECT_EQ(std::string(buf, orv::csv::put_result_names(buf, ';')), ";q;v;h;he;status;level");
    EXPECT_EQ(std::string(buf, orv::csv::put_invalid(buf, ',')), ",,,,,invalid,");
    // The longest text fits.
    const orv::intensity big = {-3.4e38f, -3.4e38f, -3.4e38f, -3.4e38f};
    const char* end = orv::csv::put_results(buf, ',', '.', 60, 0, big, 3);
    EXPECT_LE(static_cast<std::size_t>(end - buf), orv::csv::max_results_len);
}

} // namespace
