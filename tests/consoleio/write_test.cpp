#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "consoleio/linein.h"
#include "consoleio/write.h"

namespace orv {
namespace {

// Drains what a pipe holds now, without waiting.
std::string drain(int fd) {
    std::string s;
    char buf[65536];
    fcntl(fd, F_SETFL, O_NONBLOCK);
    for (ssize_t k; (k = read(fd, buf, sizeof buf)) > 0;)
        s.append(buf, static_cast<std::size_t>(k));
    return s;
}

struct piped : ::testing::Test {
    int fds[2];
    ounit u;
    void SetUp() override {
        ASSERT_EQ(pipe(fds), 0);
        connect(u, fds[1]);
    }
    void TearDown() override {
        close(fds[0]);
        close(fds[1]);
    }
    std::string run(std::string_view fmt, std::initializer_list<item> its) {
        dest out{&u, buf, sizeof buf - 1, 0};
        format_into(out, fmt, {its.begin(), its.size()});
        return drain(fds[0]);
    }
    char buf[257];
};

TEST_F(piped, FormattedStatementsDeliverAtOnce) {
    EXPECT_FALSE(u.buffered);
    const struct {
        std::string_view fmt;
        std::initializer_list<item> its;
        const char* want;
    } cases[] = {
        {"(/,' [I]ntensitaet [H]ilfe e[X]it> ',$)", {}, "\n [I]ntensitaet [H]ilfe e[X]it> "},
        {"(' <Stauhoehe       H (',f6.2,'m)>')", {5.0f}, " <Stauhoehe       H (  5.00m)>\n"},
        {"(a31,$)",
         {std::string_view("abc                                ")},
         "abc"
         "                            "},
        {"('a',i3,'b',f5.1,'c')", {7}, "a  7b\n"}, // stops at a descriptor with no item left
        {"('x',/,'y')", {}, "x\ny\n"},
        {"('it''s')", {}, "it's\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(run(c.fmt, c.its), c.want) << c.fmt;
}

TEST_F(piped, ListDirectedRecords) {
    const struct {
        std::initializer_list<item> its;
        const char* want;
    } cases[] = {
        {{}, "\n"},
        {{"|    ORVALIS 2D Version 1.1    |"}, " |    ORVALIS 2D Version 1.1    |\n"},
        {{" ------------------------------"}, "  ------------------------------\n"},
    };
    for (const auto& c : cases) {
        list_into(u, {c.its.begin(), c.its.size()});
        EXPECT_EQ(drain(fds[0]), c.want);
    }
}

TEST(InternalRecord, FillsFromTheStartAndBlanksTheRest) {
    char rec[64];
    std::memset(rec, 'z', sizeof rec);
    dest out{nullptr, rec, sizeof rec, 0};
    item it(int32_t{4000});
    ASSERT_EQ(format_into(out, "(' <Volumen  Vol (',i10,'m3)>')", {&it, 1}), write_status::ok);
    EXPECT_EQ(std::string(rec, 64), " <Volumen  Vol (      4000m3)>" + std::string(34, ' '));
    dest small{nullptr, rec, 10, 0};
    EXPECT_EQ(format_into(small, "('0123456789A')", {}), write_status::end_of_record);
}

TEST(BufferedStream, CollectsUntilFullOrFlushed) {
    char path[] = "/tmp/orv_streamXXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    static ounit u;
    connect(u, fd);
    EXPECT_TRUE(u.buffered);
    auto size = [&] {
        struct stat st;
        fstat(fd, &st);
        return st.st_size;
    };
    std::string piece(100, 'a');
    for (int k = 0; k < 81; ++k) deliver(u, piece.data(), piece.size());
    EXPECT_EQ(size(), 0); // 8100 bytes still collected
    deliver(u, piece.data(), piece.size());
    EXPECT_EQ(size(), 8100); // the piece that would not fit forced them out
    std::string big(5000, 'b');
    deliver(u, big.data(), big.size());
    EXPECT_EQ(size(), 8200 + 5000); // a large piece goes straight after the collected bytes
    flush(u);
    EXPECT_EQ(size(), 13200);
    close(fd);
    unlink(path);
}

// Feeds bytes through a pipe and reads records of n characters.
struct line_case {
    std::string input;
    std::size_t n;
    std::string want;
    std::string left;
};

TEST(LineInput, ReadFormattedRecords) {
    const line_case cases[] = {
        {"x\nnext\n", 1, "x", "next\n"},
        {"Hilfe\nnext\n", 1, "H", "next\n"},
        {"\nnext\n", 1, " ", "next\n"},
        {"5\r\nnext\n", 64, "5" + std::string(63, ' '), "next\n"},
        {"ab\rcd\n", 64, "ab" + std::string(62, ' '), "cd\n"},
        {std::string(70, 'q') + "\nnext\n", 64, std::string(64, 'q'), "next\n"},
        {"7", 64, "7" + std::string(63, ' '), ""},
        {std::string(100000, 'r') + "\r\nnext\n", 3, "rrr", "next\n"},
    };
    for (const auto& c : cases) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        ASSERT_EQ(fork() == 0 ? (write(fds[1], c.input.data(), c.input.size()), _exit(0), 0) : 0,
                  0);
        close(fds[1]);
        static iunit u;
        connect(u, fds[0]);
        std::string var(c.n, '#');
        EXPECT_EQ(read_line_into(u, {var.data(), var.size()}).status, line_status::ok);
        EXPECT_EQ(var, c.want);
        std::string rest(u.buf + u.pos, u.len - u.pos);
        rest += drain(fds[0]);
        EXPECT_EQ(rest, c.left) << c.input.substr(0, 10);
        close(fds[0]);
    }
}

TEST(LineInput, EndOfInputAndPause) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(write(fds[1], "abc\n\nlast", 9), 9);
    close(fds[1]);
    static iunit u;
    connect(u, fds[0]);
    EXPECT_EQ(skip_line(u).status, line_status::ok); // "abc"
    EXPECT_EQ(skip_line(u).status, line_status::ok); // empty line
    EXPECT_EQ(skip_line(u).status, line_status::ok); // last line without Line end
    EXPECT_EQ(skip_line(u).status, line_status::eof);
    char var[4] = {'u', 'u', 'u', 'u'};
    EXPECT_EQ(read_line_into(u, var).status, line_status::eof);
    EXPECT_EQ(std::string(var, 4), "uuuu"); // unchanged at end of input
    close(fds[0]);
}

} // namespace
} // namespace orv
