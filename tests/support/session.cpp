// Child-process runner for the end-to-end transcript tests.
#include "support/session.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orv::test {

bool session::exited() const {
    return WIFEXITED(status);
}
int session::code() const {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
bool session::signalled() const {
    return WIFSIGNALED(status);
}
int session::signal() const {
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

const std::string& noop_cls_dir() {
    static const std::string dir = [] {
        char tmpl[] = "/tmp/orv-cls-XXXXXX";
        std::string d = mkdtemp(tmpl);
        std::string f = d + "/cls";
        FILE* fp = std::fopen(f.c_str(), "w");
        std::fputs("#!/bin/sh\nexit 0\n", fp);
        std::fclose(fp);
        chmod(f.c_str(), 0755);
        return d;
    }();
    return dir;
}

std::string calculator_path(bool noop_cls) {
    return noop_cls ? noop_cls_dir() + ":/usr/bin:/bin" : "/usr/bin:/bin";
}

void exec_calculator(const std::string& path) {
    setenv("PATH", path.c_str(), 1);
    execl(ORV_BINARY, ORV_BINARY, static_cast<char*>(nullptr));
    _exit(127);
}

namespace {

std::string slurp_file(int fd) {
    std::string s;
    char b[65536];
    lseek(fd, 0, SEEK_SET);
    for (ssize_t n; (n = read(fd, b, sizeof b)) > 0;) s.append(b, static_cast<std::size_t>(n));
    return s;
}

int temp_file() {
    char tmpl[] = "/tmp/orv-out-XXXXXX";
    int fd = mkstemp(tmpl);
    unlink(tmpl);
    return fd;
}

// Reads what is available from fd into s; closes and clears fd at its end.
void drain(int& fd, std::string& s) {
    char b[65536];
    ssize_t n = read(fd, b, sizeof b);
    if (n > 0) {
        s.append(b, static_cast<std::size_t>(n));
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
        close(fd);
        fd = -1;
    }
}

} // namespace

session run(std::string_view input, const session_opts& o) {
    std::signal(SIGPIPE, SIG_IGN); // the child may go before it has read everything
    int in[2], out[2] = {-1, -1}, err[2] = {-1, -1};
    pipe2(in, O_CLOEXEC);
    int file = -1;
    switch (o.out) {
    case out_mode::pipes:
        pipe2(out, O_CLOEXEC);
        pipe2(err, O_CLOEXEC);
        break;
    case out_mode::shared_pipe: pipe2(out, O_CLOEXEC); break;
    case out_mode::shared_file: file = temp_file(); break;
    case out_mode::stdout_file:
        file = temp_file();
        pipe2(err, O_CLOEXEC);
        break;
    case out_mode::dev_full:
    case out_mode::closed: pipe2(err, O_CLOEXEC); break;
    }
    std::string path = calculator_path(o.noop_cls);

    pid_t pid = fork();
    if (pid == 0) {
        if (o.in == in_mode::directory) {
            int d = open("/", O_RDONLY | O_DIRECTORY);
            dup2(d, 0);
        } else {
            dup2(in[0], 0);
        }
        int so = file >= 0 ? file : out[1];
        if (o.out == out_mode::dev_full) so = open("/dev/full", O_WRONLY);
        int se = err[1] >= 0 ? err[1] : so;
        dup2(se, 2);
        if (o.out == out_mode::closed)
            close(1);
        else
            dup2(so, 1);
        std::signal(SIGPIPE, SIG_DFL);
        exec_calculator(path);
    }
    close(in[0]);
    if (out[1] >= 0) close(out[1]);
    if (err[1] >= 0) close(err[1]);
    if (o.close_reader) {
        close(out[0]);
        out[0] = -1;
    }
    fcntl(in[1], F_SETFL, O_NONBLOCK);

    session s;
    std::size_t sent = 0;
    bool signalled = o.sig == 0;
    int wfd = in[1];
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (out[0] >= 0 || err[0] >= 0 || wfd >= 0) {
        if (std::chrono::steady_clock::now() > until) {
            kill(pid, SIGKILL);
            break;
        }
        if (!signalled && s.out.find(o.wait_for) != std::string::npos) {
            usleep(20000); // let the child reach its read
            kill(pid, o.sig);
            signalled = true;
        }
        if (wfd >= 0 && sent == input.size() && signalled) {
            close(wfd);
            wfd = -1;
        }
        pollfd p[3] = {{wfd, POLLOUT, 0}, {out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
        if (wfd >= 0 && sent == input.size())
            p[0].fd = -1; // input all sent: wait for the signal moment
        if (poll(p, 3, 100) < 0) continue;
        if (p[0].revents & (POLLOUT | POLLERR | POLLHUP)) {
            ssize_t n = write(wfd, input.data() + sent, input.size() - sent);
            if (n > 0)
                sent += static_cast<std::size_t>(n);
            else if (errno != EAGAIN && errno != EINTR)
                sent = input.size(); // the child has gone
        }
        if (p[1].revents) drain(out[0], s.out);
        if (p[2].revents) drain(err[0], s.err);
    }
    if (wfd >= 0) close(wfd);
    waitpid(pid, &s.status, 0);
    if (file >= 0) {
        s.out = slurp_file(file);
        close(file);
    }
    return s;
}

std::string banner_and_menu() {
    return std::string("\n"
                       "  ------------------------------\n"
                       " |    ORVALIS 2D Version 1.1    |\n"
                       " |  (c) 2015 Projekt ORVALIS    |\n"
                       "  ------------------------------\n") +
           std::string(menu);
}

std::string initial_prompts() {
    return " <Stauhoehe       H (  5.00m)> "
           " <Breschenbreite  B ( 10.00m)> "
           " <Volumen  Vol (      4000m3)> "
           " <Sohlengefaelle  S (  1.00%)> "
           " <Korndurchmesser D ( 0.150m)> "
           " <Breschendistanz x (   100m)> "
           " <Mittendistanz   y (     0m)> ";
}

std::string eof_report(int line) {
    return "At line " + std::to_string(line) +
           " of file orvalis2d.cpp (unit = 5, file = 'stdin')\n"
           "Fortran runtime error: End of file\n";
}

} // namespace orv::test
