// The files of datasets compared by device and inode, names where absent.
#include "geo/dataset_files.h"

#include <filesystem>

#include <sys/stat.h>

#include <gdal_priv.h>

#include "geo/context.h"

namespace orv::geo {

namespace {

// Suffixes of files that belong to a file without GDAL listing them.
constexpr const char* companions[] = {"-wal", "-shm", "-journal", ".aux.xml"};

bool exists(const std::string& p) {
    struct stat s;
    return ::stat(p.c_str(), &s) == 0;
}

// True when a and b are one file: the same inode when both exist (links
// followed), else the same absolute name.
bool same(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    const bool ea = ::stat(a.c_str(), &sa) == 0, eb = ::stat(b.c_str(), &sb) == 0;
    if (ea && eb) return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    if (ea != eb) return false;
    std::error_code e1, e2;
    const auto ca = std::filesystem::weakly_canonical(a, e1);
    const auto cb = std::filesystem::weakly_canonical(b, e2);
    return !e1 && !e2 && ca == cb;
}

} // namespace

std::vector<std::string> listed_files(const std::string& path, kinds k) {
    register_drivers();
    std::vector<std::string> files;
    // Only files and folders are opened to list theirs: opening a pipe or a
    // device would block on it or consume what it carries.
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !(S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)))
        return files;
    messages q;
    const unsigned open = k == kinds::vector   ? GDAL_OF_VECTOR
                          : k == kinds::raster ? GDAL_OF_RASTER
                                               : GDAL_OF_VECTOR | GDAL_OF_RASTER;
    if (GDALDataset* ds = GDALDataset::Open(path.c_str(), open | GDAL_OF_READONLY)) {
        const CPLStringList list(ds->GetFileList());
        for (int k = 0; k < list.size(); ++k) files.emplace_back(list[k]);
        GDALClose(ds);
    }
    return files;
}

std::vector<std::string> dataset_files(const std::string& path) {
    std::vector<std::string> files{path};
    for (std::string& f : listed_files(path, kinds::vector)) files.push_back(std::move(f));
    const std::size_t listed = files.size();
    for (std::size_t k = 0; k < listed; ++k) {
        for (const char* c : companions) {
            if (exists(files[k] + c)) files.push_back(files[k] + c);
        }
    }
    return files;
}

std::string input_overwritten(const std::string& out, const std::vector<std::string>& inputs) {
    // A folder (of reports) is not a dataset: only its own name counts.
    struct stat st;
    const bool file = ::stat(out.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
    const std::vector<std::string> outs = file ? dataset_files(out) : std::vector{out};
    for (const std::string& in : inputs) {
        for (const std::string& a : dataset_files(in)) {
            for (const std::string& b : outs) {
                if (same(a, b)) return in;
            }
        }
    }
    return "";
}

} // namespace orv::geo
