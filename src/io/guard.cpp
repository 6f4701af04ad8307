// Signals are blocked in every thread and taken by one thread that waits for
// them: it may remove files and folders, which a signal handler could not do
// safely, and it does so under the same lock under which temporary files are
// made and renamed, so none is missed or removed after it took its name.
#include "io/guard.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "base/workers.h"

namespace orv::io {

namespace {

// The signals that end a run and must not leave its temporary files.
constexpr int end_signals[] = {SIGHUP,  SIGINT,    SIGQUIT, SIGPIPE, SIGALRM, SIGTERM, SIGUSR1,
                               SIGUSR2, SIGVTALRM, SIGPROF, SIGXCPU, SIGPOLL, SIGPWR,  SIGSYS};

// The tracked temporary names. Never destroyed: the waiting thread may use
// it while the process exits.
struct registry {
    std::mutex lock;
    std::vector<std::string> names;
};

registry& temps() {
    static registry* r = new registry;
    return *r;
}

bool stdout_closed = false;
std::string hold_stage, hold_mark;
pthread_t waiter;

void remove_tree(const std::string& name) {
    std::error_code ec;
    std::filesystem::remove_all(name, ec);
}

// Takes the blocked signals; on the first removes every temporary file and
// folder and ends the process by that signal. The lock stays taken, so the
// run can neither make nor rename another.
void wait_for(sigset_t set) {
    int sig = 0;
    while (sigwait(&set, &sig) != 0) {
    }
    registry& r = temps();
    r.lock.lock();
    for (const std::string& n : r.names) remove_tree(n);
    std::signal(sig, SIG_DFL);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, sig);
    pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    raise(sig);
    _exit(128 + sig);
}

// A broken pipe is raised in the thread that wrote; it stays unblocked there
// so the process ends at that write as it always has, but only after the
// waiting thread has removed the temporary files.
extern "C" void pass_on(int sig) {
    pthread_kill(waiter, sig);
    for (;;) pause();
}

// Opens /dev/null on descriptor fd when it is closed; true when it was.
bool fill(int fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) return false;
    const int n = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (n >= 0 && n != fd) {
        dup2(n, fd);
        close(n);
    }
    return true;
}

void track(const std::string& name) {
    temps().names.push_back(name);
}

void untrack(const std::string& name) {
    auto& v = temps().names;
    v.erase(std::remove(v.begin(), v.end(), name), v.end());
}

} // namespace

void guard_process() {
    for (int fd = 0; fd < 3; ++fd) {
        if (fill(fd) && fd == 1) stdout_closed = true;
    }
    std::signal(SIGXFSZ, SIG_IGN);
    sigset_t set;
    sigemptyset(&set);
    bool pipe = false;
    for (int s : end_signals) {
        struct sigaction old {};
        sigaction(s, nullptr, &old);
        if (old.sa_handler == SIG_IGN) continue;
        sigaddset(&set, s);
        pipe = pipe || s == SIGPIPE;
    }
    sigset_t others = set;
    sigdelset(&others, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &others, nullptr);
    // The waiting thread blocks all of them, a broken pipe included.
    sigset_t old;
    pthread_sigmask(SIG_BLOCK, &set, &old);
    bool waiting = true;
    try {
        std::thread t(wait_for, set);
        waiter = t.native_handle();
        t.detach();
    } catch (const std::system_error&) {
        waiting = false;
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    // Without a thread to take them (at the process or memory limit) the
    // signals keep their default actions: a signal then may leave a
    // temporary file, but it still ends the process.
    if (!waiting) pthread_sigmask(SIG_UNBLOCK, &others, nullptr);
    if (pipe && waiting) {
        struct sigaction a {};
        a.sa_handler = pass_on;
        sigemptyset(&a.sa_mask);
        sigaction(SIGPIPE, &a, nullptr);
    }
    if (const char* n = std::getenv("ORV_TEST_NO_MEMORY")) {
        base::testing::tasks_before_no_memory.store(std::atoi(n));
    }
    if (const char* h = std::getenv("ORV_TEST_HOLD")) {
        hold_stage = h;
        const auto colon = hold_stage.find(':');
        if (colon != std::string::npos) {
            hold_mark = hold_stage.substr(colon + 1);
            hold_stage.resize(colon);
        }
    }
}

bool stdout_was_closed() {
    return stdout_closed;
}

void hold(const char* stage) {
    if (hold_stage.empty() || hold_stage != stage) return;
    hold_stage.clear();
    if (!hold_mark.empty()) {
        const int fd = open(hold_mark.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd >= 0) close(fd);
    }
    for (;;) pause();
}

int make_temp_file(std::string& name, int suffix_len) {
    std::lock_guard<std::mutex> g(temps().lock);
    const int fd = mkostemps(name.data(), suffix_len, O_CLOEXEC);
    if (fd >= 0) track(name);
    return fd;
}

bool make_temp_dir(std::string& name) {
    std::lock_guard<std::mutex> g(temps().lock);
    if (!mkdtemp(name.data())) return false;
    track(name);
    return true;
}

int rename_temp(const std::string& from, const std::string& to) {
    std::lock_guard<std::mutex> g(temps().lock);
    if (std::rename(from.c_str(), to.c_str()) != 0) return errno;
    untrack(from);
    return 0;
}

void remove_temp(const std::string& name) {
    std::lock_guard<std::mutex> g(temps().lock);
    remove_tree(name);
    untrack(name);
}

} // namespace orv::io
