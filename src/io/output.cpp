// Atomic outputs: temporary names beside the target (short and fixed, so
// they never make a legal name too long), renamed over it at the end.
#include "io/output.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "io/guard.h"
#include "io/os_error.h"

namespace orv::io {

namespace {

// The directory part of p with its slash ("" for the current one).
std::string dir_of(const std::string& p) {
    const auto slash = p.rfind('/');
    return slash == std::string::npos ? "" : p.substr(0, slash + 1);
}

std::string base_of(const std::string& p) {
    return p.substr(dir_of(p).size());
}

// The extension of a file name with its dot, kept on temporary names for
// writers that go by it; empty when there is none or it is unusually long.
std::string extension(const std::string& base) {
    const auto dot = base.rfind('.');
    if (dot == std::string::npos || dot == 0 || base.size() - dot > 16) return "";
    return base.substr(dot);
}

// The file that p names, symbolic links followed, also when that file does
// not exist yet (a link to a file still to be written).
std::string resolve(std::string p) {
    for (int hops = 0; hops < 40; ++hops) {
        char buf[PATH_MAX];
        const ssize_t n = readlink(p.c_str(), buf, sizeof buf);
        if (n <= 0) break;
        std::string t(buf, static_cast<std::size_t>(n));
        p = t[0] == '/' ? t : dir_of(p) + t;
    }
    return p;
}

// A name that is the same for every path to the same place: the real path
// of the directory and the file's name.
std::string place_key(const std::string& target) {
    const std::string d = dir_of(target);
    char* real = realpath(d.empty() ? "." : d.c_str(), nullptr);
    if (!real) return target;
    std::string k = std::string(real) + "/" + base_of(target);
    std::free(real);
    return k;
}

// The permissions a new file (0666) or folder (0777) gets: less the umask.
mode_t new_mode(mode_t all = 0666) {
    const mode_t m = umask(0);
    umask(m);
    return all & ~m;
}

std::string temp_dir() {
    const char* t = std::getenv("TMPDIR");
    return std::string(t && *t ? t : "/tmp") + "/";
}

// The names in directory d.
std::vector<std::string> files_in(const std::string& d) {
    std::vector<std::string> names;
    DIR* h = opendir(d.c_str());
    if (!h) return names;
    while (const dirent* e = readdir(h)) {
        const std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(n);
    }
    closedir(h);
    return names;
}

// Copies the file named from to descriptor to; 0 or the errno.
int copy_into(const std::string& from, int to) {
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return errno;
    char buf[65536];
    int err = 0;
    for (;;) {
        const ssize_t n = read(in, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) err = errno;
        if (n <= 0) break;
        if ((err = write_all(to, buf, static_cast<std::size_t>(n))) != 0) break;
    }
    close(in);
    return err;
}

} // namespace

int write_all(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w < 0) return errno;
        if (w == 0) return EIO;
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return 0;
}

output_set::~output_set() {
    discard();
}

std::string output_set::shown(const entry& e) const {
    if (e.to_stdout) return "Standardausgabe";
    return e.label.empty() ? e.given : e.label + " " + e.given;
}

out_failure output_set::unwritable(const entry& e, int err) const {
    // A new file is missing by design: what is missing is its folder.
    if (err == ENOENT && !e.to_stdout) {
        const auto slash = e.given.find_last_of('/');
        const std::string dir = slash == std::string::npos ? "."
                                : slash == 0               ? "/"
                                                           : e.given.substr(0, slash);
        return {fault::unwritable,
                shown(e) + ": nicht schreibbar: Verzeichnis " + dir + " nicht vorhanden"};
    }
    return {fault::unwritable, shown(e) + ": nicht schreibbar: " + os_error(err, use::write)};
}

out_failure output_set::write_failed(std::size_t id, int e) const {
    return unwritable(outs_[id], e);
}

maybe_failure output_set::add(const std::string& label, const std::string& path, way w,
                              std::size_t& id) {
    entry e;
    e.label = label;
    e.given = path;
    e.how = w;
    e.to_stdout = path.empty() || path == "-";
    if (w == way::folder) {
        if (e.to_stdout) return unwritable(e, EISDIR);
        return add_folder(std::move(e), id);
    }
    if (e.to_stdout) {
        if (stdout_was_closed())
            return out_failure{fault::stdout_closed, "Standardausgabe geschlossen"};
        e.direct = w == way::stream;
        e.copied = !e.direct;
    } else {
        struct stat st;
        if (stat(path.c_str(), &st) == 0) {
            if (S_ISDIR(st.st_mode)) return unwritable(e, EISDIR);
            e.existed = true;
            e.mode = st.st_mode & 07777;
            e.dev = st.st_dev;
            e.ino = st.st_ino;
            // A pipe or device is opened by the name given (which may be a
            // link such as /dev/stdout that only the kernel can follow); a
            // file is replaced where its links lead.
            e.target = path;
            if (!S_ISREG(st.st_mode)) {
                e.direct = w == way::stream;
                e.copied = !e.direct;
            } else if (char* real = realpath(path.c_str(), nullptr)) {
                e.target = real;
                std::free(real);
            }
        } else if (errno != ENOENT) {
            return unwritable(e, errno);
        } else {
            e.target = resolve(path);
            e.mode = new_mode();
        }
    }
    return append(std::move(e), id);
}

maybe_failure output_set::append(entry e, std::size_t& id) {
    const std::string key = e.to_stdout ? "" : place_key(e.target);
    for (const entry& o : outs_) {
        const bool same = o.to_stdout == e.to_stdout &&
                          (e.to_stdout || place_key(o.target) == key ||
                           (e.existed && o.existed && o.dev == e.dev && o.ino == e.ino));
        if (same)
            return out_failure{fault::same_target, shown(e) + ": dasselbe Ziel wie " + shown(o)};
    }
    id = outs_.size();
    outs_.push_back(std::move(e));
    return std::nullopt;
}

maybe_failure output_set::add_folder(entry e, std::size_t& id) {
    std::string p = e.given;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    struct stat st;
    if (stat(p.c_str(), &st) == 0) {
        if (!S_ISDIR(st.st_mode))
            return out_failure{fault::unwritable,
                               shown(e) + ": nicht schreibbar: ist kein Verzeichnis"};
        e.existed = true;
        e.dev = st.st_dev;
        e.ino = st.st_ino;
        char* real = realpath(p.c_str(), nullptr);
        if (!real) return unwritable(e, errno);
        e.target = real;
        std::free(real);
    } else if (errno != ENOENT) {
        return unwritable(e, errno);
    } else {
        e.target = resolve(p);
        e.mode = new_mode(0777);
    }
    return append(std::move(e), id);
}

maybe_failure output_set::stage_one(entry& e) {
    if (e.how == way::folder) {
        // Inside an existing folder, so the files move on one file system.
        std::string name = (e.existed ? e.target + "/" : dir_of(e.target)) + ".orv-XXXXXX";
        if (!make_temp_dir(name)) return unwritable(e, errno);
        e.temp = name;
        e.inner = name;
        return std::nullopt;
    }
    if (e.to_stdout && e.direct) {
        e.fd = 1;
        return std::nullopt;
    }
    if (e.direct) {
        e.fd = open(e.target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (e.fd < 0) return unwritable(e, errno);
        return std::nullopt;
    }
    const std::string base = e.to_stdout ? "" : base_of(e.target);
    const std::string where = e.copied ? temp_dir() : dir_of(e.target);
    std::string name = where + ".orv-XXXXXX";
    if (e.how == way::dataset) {
        if (!make_temp_dir(name)) return unwritable(e, errno);
        e.temp = name;
        e.inner = name + "/" + base;
        return std::nullopt;
    }
    const std::string ext = extension(base);
    name += ext;
    e.fd = make_temp_file(name, static_cast<int>(ext.size()));
    if (e.fd < 0) return unwritable(e, errno);
    e.temp = name;
    fchmod(e.fd, e.mode);
    return std::nullopt;
}

maybe_failure output_set::stage() {
    for (entry& e : outs_) {
        if (auto f = stage_one(e)) {
            discard();
            return f;
        }
    }
    return std::nullopt;
}

int output_set::fd(std::size_t id) const {
    return outs_[id].fd;
}

std::FILE* output_set::stream(std::size_t id) {
    entry& e = outs_[id];
    if (e.fd == 1) return stdout;
    if (!e.f && e.fd >= 0) {
        e.f = fdopen(e.fd, "wb");
        if (e.f) e.fd = -1;
    }
    return e.f;
}

const std::string& output_set::path(std::size_t id) const {
    return outs_[id].inner;
}

bool output_set::replaces(std::size_t id) const {
    const entry& e = outs_[id];
    return e.existed && !e.direct && !e.copied;
}

void output_set::own_files(std::size_t id, std::vector<std::string> files) {
    outs_[id].own = std::move(files);
}

maybe_failure output_set::close_one(entry& e) {
    int err = 0;
    if (e.f) {
        if (std::fflush(e.f) != 0) err = errno;
        if (std::fclose(e.f) != 0 && err == 0) err = errno;
        e.f = nullptr;
    } else if (e.fd == 1) {
        if (std::fflush(stdout) != 0) err = errno;
    } else if (e.fd >= 0) {
        if (close(e.fd) != 0) err = errno;
    }
    e.fd = -1;
    if (err != 0) return unwritable(e, err);
    return std::nullopt;
}

// A writer that ignores a failed write (some of GDAL's drivers do) leaves a
// file cut at the size limit with no error: a staged file that reached the
// limit is taken as cut.
maybe_failure output_set::check_size(const entry& e) const {
    struct rlimit lim;
    if (e.temp.empty() || getrlimit(RLIMIT_FSIZE, &lim) != 0 || lim.rlim_cur == RLIM_INFINITY)
        return std::nullopt;
    std::vector<std::string> paths;
    if (e.how == way::dataset || e.how == way::folder) {
        for (const std::string& n : files_in(e.temp)) paths.push_back(e.temp + "/" + n);
    } else {
        paths.push_back(e.temp);
    }
    for (const std::string& p : paths) {
        struct stat st;
        if (stat(p.c_str(), &st) == 0 && static_cast<rlim_t>(st.st_size) >= lim.rlim_cur)
            return unwritable(e, EFBIG);
    }
    return std::nullopt;
}

maybe_failure output_set::check_sidecars(const entry& e) const {
    if (e.how != way::dataset || e.copied || e.existed) return std::nullopt;
    const std::string main = base_of(e.inner);
    const std::string dir = dir_of(e.target);
    for (const std::string& n : files_in(e.temp)) {
        struct stat st;
        if (n != main && lstat((dir + n).c_str(), &st) == 0) {
            return out_failure{fault::sidecar_exists,
                               shown(e) + ": " + dir + n + " besteht schon und gehoert nicht dazu"};
        }
    }
    return std::nullopt;
}

maybe_failure output_set::place(entry& e) {
    if (e.direct) return std::nullopt;
    if (e.copied) {
        const int to = e.to_stdout ? 1 : open(e.target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (to < 0) return unwritable(e, errno);
        const int err = copy_into(e.how == way::dataset ? e.inner : e.temp, to);
        if (!e.to_stdout && close(to) != 0 && err == 0) return unwritable(e, errno);
        if (err != 0) return unwritable(e, err);
        remove_temp(e.temp);
        e.temp.clear();
        return std::nullopt;
    }
    if (e.how == way::folder) return place_folder(e);
    if (e.how != way::dataset) {
        if (const int err = rename_temp(e.temp, e.target)) return unwritable(e, err);
        e.temp.clear();
        return std::nullopt;
    }
    // The sidecars first, so the main file never stands beside old ones.
    const std::string main = base_of(e.inner);
    const std::string dir = dir_of(e.target);
    std::vector<std::string> names = files_in(e.temp);
    std::stable_partition(names.begin(), names.end(),
                          [&](const std::string& n) { return n != main; });
    for (const std::string& n : names) {
        if (n == main) chmod(e.inner.c_str(), e.mode);
        const int err = rename_temp(e.temp + "/" + n, n == main ? e.target : dir + n);
        if (err != 0) return unwritable(e, err);
    }
    for (const std::string& o : e.own) {
        const std::string b = base_of(o);
        if (b != base_of(e.target) && std::find(names.begin(), names.end(), b) == names.end())
            unlink((dir + b).c_str());
    }
    remove_temp(e.temp);
    e.temp.clear();
    return std::nullopt;
}

// A folder that stands at the target by now (given, or made meanwhile by
// another run writing into it) must take every file: each name free or a
// file, never a folder, and the folder writable. Checked before anything
// is renamed, so a refusal leaves every output as it was.
maybe_failure output_set::check_folder(const entry& e) const {
    if (e.how != way::folder || e.temp.empty()) return std::nullopt;
    struct stat st;
    if (stat(e.target.c_str(), &st) != 0) return std::nullopt; // still new: renamed whole
    if (!S_ISDIR(st.st_mode)) return unwritable(e, ENOTDIR);
    if (access(e.target.c_str(), W_OK | X_OK) != 0) return unwritable(e, errno);
    for (const std::string& n : files_in(e.temp)) {
        const std::string t = e.target + "/" + n;
        if (lstat(t.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return out_failure{fault::unwritable,
                               shown(e) + ": nicht schreibbar: " + t + " ist ein Verzeichnis"};
    }
    return std::nullopt;
}

// Moves the staged files one by one into the folder that stands at the target.
maybe_failure output_set::join_folder(entry& e) {
    for (const std::string& n : files_in(e.temp)) {
        if (std::rename((e.temp + "/" + n).c_str(), (e.target + "/" + n).c_str()) != 0)
            return unwritable(e, errno);
    }
    remove_temp(e.temp);
    e.temp.clear();
    return std::nullopt;
}

maybe_failure output_set::place_folder(entry& e) {
    if (!e.existed) {
        chmod(e.temp.c_str(), e.mode);
        const int err = rename_temp(e.temp, e.target);
        if (err == 0) {
            e.temp.clear();
            return std::nullopt;
        }
        // Another run made the folder meanwhile: its files join it.
        if (err != ENOTEMPTY && err != EEXIST) return unwritable(e, err);
        if (maybe_failure f = check_folder(e)) return f;
    }
    return join_folder(e);
}

maybe_failure output_set::commit() {
    maybe_failure f;
    for (entry& e : outs_) {
        if (!f) f = close_one(e);
    }
    for (const entry& e : outs_) {
        if (!f) f = check_size(e);
        if (!f) f = check_sidecars(e);
        if (!f) f = check_folder(e);
    }
    for (entry& e : outs_) {
        if (!f) f = place(e);
        if (!f) e.done = true;
    }
    if (f) discard();
    return f;
}

void output_set::discard() {
    for (entry& e : outs_) {
        if (e.done) continue;
        if (e.f) std::fclose(e.f);
        if (e.fd > 2) close(e.fd);
        e.f = nullptr;
        e.fd = -1;
        if (!e.temp.empty()) remove_temp(e.temp);
        e.temp.clear();
        e.done = true;
    }
}

} // namespace orv::io
