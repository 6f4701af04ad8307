// Child processes for end-to-end tests: pipes on all three standard streams,
// served by poll so that neither side blocks on a full pipe.
#include "support/command.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace orv::test {

int run_result::code() const {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int run_result::signal() const {
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

run_result run_program(const std::string& program, const std::vector<std::string>& args,
                       std::string_view input, const std::string& cwd) {
    int in[2], out[2], err[2];
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) std::abort();
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
        std::signal(SIGPIPE, SIG_DFL);
        if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    // The test process must not die when the child stops reading.
    std::signal(SIGPIPE, SIG_IGN);
    fcntl(in[1], F_SETFL, O_NONBLOCK);
    run_result r;
    std::size_t sent = 0;
    int to = in[1];
    if (input.empty()) close(to), to = -1;
    int open_fds = 2;
    while (open_fds > 0 || to >= 0) {
        pollfd p[3] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}, {to, POLLOUT, 0}};
        if (poll(p, 3, -1) < 0) continue;
        for (int k = 0; k < 2; ++k) {
            if (p[k].fd < 0 || !(p[k].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char buf[65536];
            const ssize_t n = read(p[k].fd, buf, sizeof buf);
            if (n > 0) {
                (k == 0 ? r.out : r.err).append(buf, static_cast<std::size_t>(n));
            } else {
                close(p[k].fd);
                (k == 0 ? out[0] : err[0]) = -1;
                --open_fds;
            }
        }
        if (to >= 0 && (p[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t n = write(to, input.data() + sent, input.size() - sent);
            if (n > 0) sent += static_cast<std::size_t>(n);
            if (n < 0 || sent == input.size()) close(to), to = -1;
        }
    }
    waitpid(pid, &r.status, 0);
    return r;
}

run_result run_orvalis(const std::vector<std::string>& args, std::string_view input,
                       const std::string& cwd) {
    std::vector<std::string> a = {ORVALIS_BINARY};
    a.insert(a.end(), args.begin(), args.end());
    return run_program(ORVALIS_BINARY, a, input, cwd);
}

namespace {

// Removes the scratch directories when the test process ends.
struct scratch_list {
    std::vector<std::string> dirs;
    ~scratch_list() {
        for (const auto& d : dirs) std::filesystem::remove_all(d);
    }
};

} // namespace

std::string scratch_dir() {
    static scratch_list list;
    std::string t = (std::filesystem::temp_directory_path() / "orv-test-XXXXXX").string();
    if (!mkdtemp(t.data())) std::abort();
    list.dirs.push_back(t);
    return t;
}

std::string read_file(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void write_file(const std::string& path, std::string_view content) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(content.data(), static_cast<std::streamsize>(content.size()));
}

} // namespace orv::test
