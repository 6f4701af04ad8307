// Output files replaced in one step by rename(2).
#include "cli/out_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "cli/os_error.h"

namespace orv::cli {

namespace {

// The temporary file, for the signal handler to remove.
char pending[PATH_MAX + 1];

// Removes the temporary file and ends by the signal as it would have.
extern "C" void on_signal(int sig) {
    if (pending[0] != '\0') unlink(pending);
    std::signal(sig, SIG_DFL);
    raise(sig);
}

constexpr int end_signals[] = {SIGINT, SIGTERM, SIGHUP};

// Sets the handler for the signals that end the process at a user's wish.
void guard(bool on) {
    for (int s : end_signals) std::signal(s, on ? on_signal : SIG_DFL);
}

// The permissions a new file gets: 0666 less the umask.
mode_t new_mode() {
    const mode_t m = umask(0);
    umask(m);
    return 0666 & ~m;
}

} // namespace

out_file::~out_file() {
    discard();
}

maybe_problem out_file::open(const std::string& path) {
    if (path.empty() || path == "-") return std::nullopt;
    name_ = path;
    const auto fail = [&](int e) {
        return problem{exit_bad_value, path + ": nicht schreibbar: " + os_error(e)};
    };
    // A link to an existing file: replace the file, keep the link.
    path_ = path;
    if (char* real = realpath(path.c_str(), nullptr)) {
        path_ = real;
        std::free(real);
    }
    struct stat st;
    const bool exists = stat(path_.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        fd_ = ::open(path_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd_ < 0) return fail(errno);
        own_ = true;
        return std::nullopt;
    }
    const auto slash = path_.rfind('/');
    const std::string dir = slash == std::string::npos ? "" : path_.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path_ : path_.substr(slash + 1);
    tmp_ = dir + "." + base + ".XXXXXX";
    if (tmp_.size() > PATH_MAX) return fail(ENAMETOOLONG);
    fd_ = mkostemp(tmp_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        const int e = errno;
        tmp_.clear();
        return fail(e);
    }
    own_ = true;
    std::memcpy(pending, tmp_.c_str(), tmp_.size() + 1);
    guard(true);
    fchmod(fd_, exists ? (st.st_mode & 07777) : new_mode());
    return std::nullopt;
}

maybe_problem out_file::commit() {
    if (!own_) return std::nullopt;
    own_ = false;
    const auto fail = [&](int e) {
        discard();
        return problem{exit_bad_value, name_ + ": nicht schreibbar: " + os_error(e)};
    };
    if (close(fd_) != 0) return fail(errno);
    fd_ = -1;
    if (!tmp_.empty()) {
        if (rename(tmp_.c_str(), path_.c_str()) != 0) return fail(errno);
        tmp_.clear();
        pending[0] = '\0';
        guard(false);
    }
    return std::nullopt;
}

void out_file::discard() {
    if (own_) close(fd_);
    own_ = false;
    fd_ = -1;
    if (tmp_.empty()) return;
    unlink(tmp_.c_str());
    tmp_.clear();
    pending[0] = '\0';
    guard(false);
}

} // namespace orv::cli
