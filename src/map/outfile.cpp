// Temporary files beside their target.
#include "map/outfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace orv::map {

std::string io_reason(int e) {
    switch (e) {
    case EACCES:
    case EPERM: return "keine Berechtigung";
    case ENOENT: return "Verzeichnis nicht vorhanden";
    case ENOTDIR: return "Pfad fuehrt durch etwas, das kein Verzeichnis ist";
    case ENOSPC: return "kein Platz mehr auf dem Datentraeger";
    case EDQUOT: return "Kontingent erschoepft";
    case EROFS: return "Dateisystem nur lesbar";
    case EISDIR: return "ist ein Verzeichnis";
    case ENAMETOOLONG: return "Name zu lang";
    case EIO: return "Ein-/Ausgabefehler";
    default: return std::strerror(e);
    }
}

staged_file::staged_file(staged_file&& o) noexcept
    : target_(std::move(o.target_)), temp_(std::move(o.temp_)), f_(o.f_), done_(o.done_) {
    o.f_ = nullptr;
    o.done_ = true;
}

staged_file& staged_file::operator=(staged_file&& o) noexcept {
    if (this != &o) {
        discard();
        target_ = std::move(o.target_);
        temp_ = std::move(o.temp_);
        f_ = o.f_;
        done_ = o.done_;
        o.f_ = nullptr;
        o.done_ = true;
    }
    return *this;
}

staged_file::~staged_file() {
    discard();
}

// mkstemps keeps the extension, which some writers go by.
bool staged_file::open(const std::string& target, std::string& why) {
    discard();
    const auto slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string base = target.substr(dir.size());
    const auto dot = base.rfind('.');
    const std::string ext = dot == std::string::npos || dot == 0 ? "" : base.substr(dot);
    const std::string stem = base.substr(0, base.size() - ext.size());
    std::string name = dir + "." + stem + "-XXXXXX" + ext;
    const int fd = mkstemps(name.data(), static_cast<int>(ext.size()));
    if (fd < 0) {
        why = io_reason(errno);
        return false;
    }
    // The permissions an ordinary new file gets, not mkstemps' 0600.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    f_ = fdopen(fd, "wb");
    if (!f_) {
        why = io_reason(errno);
        ::close(fd);
        unlink(name.c_str());
        return false;
    }
    target_ = target;
    temp_ = name;
    done_ = false;
    return true;
}

bool staged_file::close(std::string& why) {
    if (!f_) return true;
    const bool bad = std::ferror(f_) != 0;
    const int e = errno;
    const int rc = std::fclose(f_);
    f_ = nullptr;
    if (bad || rc != 0) {
        why = io_reason(bad ? (e ? e : EIO) : errno);
        return false;
    }
    return true;
}

bool staged_file::commit(std::string& why) {
    if (!close(why)) return false;
    if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
        why = io_reason(errno);
        return false;
    }
    done_ = true;
    return true;
}

void staged_file::discard() {
    if (f_) std::fclose(f_);
    f_ = nullptr;
    if (!done_) unlink(temp_.c_str());
    done_ = true;
}

namespace {

// The names of the files in directory d.
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

} // namespace

staged_dir::~staged_dir() {
    discard();
}

bool staged_dir::open(const std::string& target, std::string& why) {
    discard();
    const auto slash = target.rfind('/');
    into_ = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    std::string name = into_ + ".orvalis-XXXXXX";
    if (!mkdtemp(name.data())) {
        why = io_reason(errno);
        into_.clear();
        return false;
    }
    dir_ = name;
    path_ = dir_ + "/" + target.substr(into_.size());
    return true;
}

bool staged_dir::commit(std::string& why) {
    std::vector<std::string> names = files_in(dir_);
    const std::string main = path_.substr(dir_.size() + 1);
    // The main file last, so that it never stands beside older companions.
    std::stable_partition(names.begin(), names.end(),
                          [&](const std::string& n) { return n != main; });
    for (const std::string& n : names) {
        if (std::rename((dir_ + "/" + n).c_str(), (into_ + n).c_str()) != 0) {
            why = io_reason(errno);
            discard();
            return false;
        }
    }
    rmdir(dir_.c_str());
    dir_.clear();
    return true;
}

void staged_dir::discard() {
    if (dir_.empty()) return;
    for (const std::string& n : files_in(dir_)) unlink((dir_ + "/" + n).c_str());
    rmdir(dir_.c_str());
    dir_.clear();
}

} // namespace orv::map
