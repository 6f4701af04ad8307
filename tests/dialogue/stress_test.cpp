// Thousands of random sessions against the built program (the sanitizer
// build when the suite runs there), checking what must hold for any input.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "support/session.h"

namespace orv::test {
namespace {

constexpr int shards = 8;
#ifdef __SANITIZE_ADDRESS__
constexpr int per_shard = 300; // the sanitizer build carries the load
#else
constexpr int per_shard = 40;
#endif

// Answers of every syntax the number reader knows; the last ones it rejects.
const char* const answers[] = {
    "",
    "7",
    "  3 9",
    "2,5",
    ",",
    "/",
    ";",
    ",5",
    "2*",
    "3*7",
    "2*,4",
    "1.5-3",
    "-1d2",
    "+.5q1",
    "1e99",
    "1e-50",
    "inf",
    "-Infinity",
    "NaN",
    "nan(1a)",
    "\t",
    " \t ",
    "0",
    "-0",
    "1000",
    "0.1",
    "20",
    "500",
    "5",
    "0.25",
    "16",
    "1e6",
    "-5",
    "99.5",
    "4000.4",
    // not numbers
    ".",
    "-.",
    ".E5",
    "7m",
    "abc",
    "0*5",
    "200000001*1",
    "1.2.3",
    "e5",
    "+",
    "--1",
    "1e",
    "1e+",
};
constexpr std::size_t readable = 35;

const char* const letters[] = {"i", "I", "h", "H", "", "q", "Intensitaet", "\t", "hilfe", "7"};

// One random input line: an answer, a letter or garbage, with a random ending.
std::string line(std::mt19937& g, bool at_menu) {
    std::string s;
    switch (g() % 16) {
    case 0: { // garbage bytes, NUL and bytes above 127 included
        std::size_t n = g() % 80;
        for (std::size_t k = 0; k < n; ++k) {
            char c = static_cast<char>(g() % 256);
            if (c != '\n' && c != 'x' && c != 'X') s += c;
        }
        break;
    }
    case 1: // a long line
        s = std::string(g() % 5000 + 64, "7 ,a\t"[g() % 5]);
        break;
    default:
        if (at_menu)
            s = letters[g() % std::size(letters)];
        else
            s = answers[g() % (g() % 3 ? readable : std::size(answers))];
    }
    if (g() % 6 == 0) s += '\r';
    return s + "\n";
}

std::string random_input(std::mt19937& g) {
    std::string in;
    int lines = static_cast<int>(g() % 60);
    for (int k = 0; k < lines; ++k) in += line(g, k % 8 == 0);
    switch (g() % 3) {
    case 0: // end of input somewhere, even in the middle of a line
        in.resize(in.size() ? g() % in.size() : 0);
        break;
    case 1:
        // "x" abandons a pass, ends a help pause and exits at the menu.
        in += "x\nx\nx\n";
        break;
    default: break;
    }
    return in;
}

std::size_t count(const std::string& s, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
    return n;
}

// Printable form of an input for failure messages.
std::string shown(const std::string& s) {
    std::string r;
    for (unsigned char c : s.substr(0, 400))
        if (c == '\n')
            r += "\\n";
        else if (c < 32 || c > 126)
            r += "\\x" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15];
        else
            r += static_cast<char>(c);
    return r;
}

void check(const std::string& in, const session& s) {
    SCOPED_TRACE("input: " + shown(in));
    const std::string start = banner_and_menu();
    const std::string bare = std::string(menu.substr(1));
    ASSERT_TRUE(s.exited()) << "status " << s.status << "\n" << s.err;
    ASSERT_EQ(s.out.substr(0, start.size()), start);
    EXPECT_EQ(count(s.out, bare), count(s.out, std::string(menu)));
    if (s.code() == 0) {
        EXPECT_EQ(s.err, "");
        EXPECT_EQ(s.out.substr(s.out.size() - menu.size()), menu);
    } else {
        ASSERT_EQ(s.code(), 2) << s.err;
        static const int reads[] = {122, 141, 167, 174, 181, 188, 195, 202, 209};
        bool known = false;
        for (int l : reads) known = known || s.err == eof_report(l);
        EXPECT_TRUE(known) << s.err;
    }
    // Between two Menu lines there is at most one report, and only right
    // after the seventh prompt of a pass.
    std::size_t a = start.size();
    while (a < s.out.size()) {
        std::size_t e = s.out.find(menu, a);
        std::string seg = s.out.substr(a, e == std::string::npos ? std::string::npos : e - a);
        std::size_t reports = count(seg, " >spezifischer Abfluss :") + count(seg, "Beginn Warnung");
        std::size_t last = seg.find("<Mittendistanz   y (");
        EXPECT_LE(reports, 1u) << seg;
        if (reports == 1) {
            ASSERT_NE(last, std::string::npos) << seg;
            std::string after = seg.substr(last + 30);
            bool result = after.rfind("\n >spezifischer Abfluss :", 0) == 0 &&
                          count(after, "\n") == 5 && after.back() == '\n';
            bool warning = after.rfind("\n ------ Beginn Warnung -----------\n", 0) == 0 &&
                           count(after, "\n") == 4 &&
                           after.ends_with(" ------- Ende Warnung ------------\n");
            EXPECT_TRUE(result || warning) << "[" << shown(after) << "]";
        }
        if (e == std::string::npos) break;
        a = e + menu.size();
    }
}

class Stress : public testing::TestWithParam<int> {};

TEST_P(Stress, RandomSessions) {
    std::mt19937 g(20261208u + static_cast<unsigned>(GetParam()));
    for (int k = 0; k < per_shard; ++k) {
        std::string in = random_input(g);
        session r = run(in);
        check(in, r);
        if (getenv("ORV_STRESS_STATS"))
            std::printf("code %d reports %zu warnings %zu\n", r.code(),
                        count(r.out, " >spezifischer Abfluss :"), count(r.out, "Beginn Warnung"));
        if (HasFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(Sessions, Stress, testing::Range(0, shards));

} // namespace
} // namespace orv::test
