// The process as a whole: exit statuses, where reports go, signals, odd
// standard streams and a terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/session.h"

namespace orv::test {
namespace {

const std::string start = banner_and_menu();
const std::string first_prompt = " <Stauhoehe       H (  5.00m)> ";
const std::string one_pass = "i\n\n\n\n\n\n\n\n";

TEST(Process, ExitCommandAndEndOfInput) {
    session x = run("x\n");
    EXPECT_EQ(x.out, start);
    EXPECT_EQ(x.err, "");
    EXPECT_TRUE(x.exited());
    EXPECT_EQ(x.code(), 0);

    session e = run("");
    EXPECT_EQ(e.out, start);
    EXPECT_EQ(e.err, "At line 122 of file orvalis2d.cpp (unit = 5, file = 'stdin')\n"
                     "Fortran runtime error: End of file\n");
    EXPECT_EQ(e.code(), 2);

    // A tab answer at x passes the blank test and holds no value: it keeps x.
    session t = run("i\n\n\n\n\n\n\t\n\nx\n");
    EXPECT_EQ(t.out, start + initial_prompts() + std::string(initial_result) + std::string(menu));
    EXPECT_EQ(t.code(), 0);
}

TEST(Process, BufferedOutputFollowsTheReportInASharedFile) {
    session s = run("", {.out = out_mode::shared_file});
    EXPECT_EQ(s.out, eof_report(122) + start);
    EXPECT_EQ(s.code(), 2);

    // At exit the buffer is written whole, with no Line end added.
    session x = run(one_pass + "x\n", {.out = out_mode::shared_file});
    EXPECT_EQ(x.out, start + initial_prompts() + std::string(initial_result) + std::string(menu));
    EXPECT_EQ(x.code(), 0);
}

TEST(Process, MissingClsIsReportedByTheShellBeforeTheBanner) {
    session s = run("x\n", {.out = out_mode::shared_pipe, .noop_cls = false});
    std::size_t banner = s.out.find(start);
    ASSERT_NE(banner, std::string::npos);
    EXPECT_EQ(banner + start.size(), s.out.size());
    EXPECT_NE(s.out.substr(0, banner).find("cls"), std::string::npos);
    EXPECT_EQ(s.code(), 0);
}

struct fatal {
    int sig;
    const char* text; // empty: killed without a report
};

void PrintTo(const fatal& f, std::ostream* os) {
    *os << f.sig;
}

class Signals : public testing::TestWithParam<fatal> {};

TEST_P(Signals, WhileAPromptWaits) {
    const fatal& f = GetParam();
    session s = run("i\n", {.sig = f.sig, .wait_for = first_prompt});
    EXPECT_EQ(s.out, start + first_prompt);
    ASSERT_TRUE(s.signalled()) << s.status;
    EXPECT_EQ(s.signal(), f.sig);
    std::string head =
        std::string("\nProgram received signal ") + f.text + ".\n\nBacktrace for this error:\n#0  ";
    if (*f.text)
        EXPECT_EQ(s.err.substr(0, head.size()), head);
    else
        EXPECT_EQ(s.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Process, Signals,
    testing::Values(fatal{SIGQUIT, "SIGQUIT: Terminal quit signal"},
                    fatal{SIGFPE,
                          "SIGFPE: Floating-point exception - erroneous arithmetic operation"},
                    fatal{SIGSEGV, "SIGSEGV: Segmentation fault - invalid memory reference"},
                    fatal{SIGXCPU, "SIGXCPU: CPU time limit exceeded"}, fatal{SIGINT, ""},
                    fatal{SIGTERM, ""}, fatal{SIGHUP, ""}),
    [](const auto& i) { return std::to_string(i.param.sig); });

TEST(Process, OddStandardStreams) {
    // A pipe whose reader has gone: death by SIGPIPE, no report.
    session p = run(one_pass + "x\n", {.close_reader = true});
    ASSERT_TRUE(p.signalled());
    EXPECT_EQ(p.signal(), SIGPIPE);
    EXPECT_EQ(p.err, "");

    // Failed writes are not reported and do not end the dialogue.
    for (out_mode m : {out_mode::dev_full, out_mode::closed}) {
        session s = run(one_pass + "h\n\nx\n", {.out = m});
        EXPECT_EQ(s.err, "");
        ASSERT_TRUE(s.exited());
        EXPECT_EQ(s.code(), 0);
        session e = run(one_pass, {.out = m});
        EXPECT_EQ(e.err, eof_report(122));
        EXPECT_EQ(e.code(), 2);
    }

    // A read error on standard input counts as end of input.
    session d = run("", {.in = in_mode::directory});
    EXPECT_EQ(d.out, start);
    EXPECT_EQ(d.err, eof_report(122));
    EXPECT_EQ(d.code(), 2);
}

// Writes all of buf to fd.
bool put(int fd, std::string_view buf) {
    while (!buf.empty()) {
        ssize_t n = write(fd, buf.data(), buf.size());
        if (n <= 0) return false;
        buf.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

TEST(Process, GiantLineIsReadInConstantMemory) {
    int in[2];
    ASSERT_EQ(pipe(in), 0);
    char tmpl[] = "/tmp/orv-giant-XXXXXX";
    int out = mkstemp(tmpl);
    unlink(tmpl);
    std::string path = calculator_path(true);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out, 1);
        dup2(out, 2);
        close(in[1]);
        exec_calculator(path);
    }
    close(in[0]);
    // One answer of a digit and 1 GiB of blanks: only its first 64 characters count.
    const std::string blanks(1 << 16, ' ');
    bool sent = put(in[1], "i\n3");
    for (int k = 0; sent && k < (1 << 14); ++k) sent = put(in[1], blanks);
    sent = sent && put(in[1], "\n\n\n\n\n\n\ni\nq\nx\n");
    close(in[1]);
    int status;
    rusage ru{};
    wait4(pid, &status, 0, &ru);
    EXPECT_TRUE(sent);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    std::string got(4096, '\0');
    got.resize(static_cast<std::size_t>(pread(out, got.data(), got.size(), 0)));
    close(out);
    EXPECT_NE(got.find(std::string(menu) + " <Stauhoehe       H (  3.00m)> "), std::string::npos)
        << got;
#ifndef __SANITIZE_ADDRESS__
    EXPECT_LT(ru.ru_maxrss, 8 * 1024) << "peak RSS in KiB";
#endif
}

// Reads from fd until text appears in got or the time is up.
bool await(int fd, std::string& got, const std::string& text) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (got.find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > until) return false;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        char b[4096];
        ssize_t n = read(fd, b, sizeof b);
        if (n <= 0) return false;
        got.append(b, static_cast<std::size_t>(n));
    }
    return true;
}

TEST(Process, TerminalSeesEachPromptBeforeItsAnswer) {
    int master;
    std::string path = calculator_path(true);
    pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        exec_calculator(path);
    }
    std::string got;
    EXPECT_TRUE(await(master, got, "e[X]it> ")) << got;
    EXPECT_NE(got.find("|    ORVALIS 2D Version 1.1    |"), std::string::npos);
    ASSERT_EQ(write(master, "i\n", 2), 2);
    EXPECT_TRUE(await(master, got, first_prompt)) << got;
    ASSERT_EQ(write(master, "q\n", 2), 2);
    std::size_t seen = got.size();
    EXPECT_TRUE(await(master, got, "e[X]it> ")) << got;
    // The end-of-file key at the menu: the report starts right after the menu text.
    ASSERT_EQ(write(master, "\x04", 1), 1);
    const std::string locus =
        "e[X]it> At line 122 of file orvalis2d.cpp (unit = 5, file = 'stdin')";
    EXPECT_TRUE(await(master, got, "End of file")) << got;
    EXPECT_NE(got.find(locus, seen), std::string::npos) << got;
    int status;
    waitpid(pid, &status, 0);
    close(master);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

} // namespace
} // namespace orv::test
