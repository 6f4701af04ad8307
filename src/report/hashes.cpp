// SHA-256 with libcrypto; the files of a dataset as GDAL lists them.
#include "report/hashes.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include <openssl/evp.h>

#include "geo/dataset_files.h"
#include "io/os_error.h"

namespace orv::report {

namespace {

struct file_close {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
struct md_free {
    void operator()(EVP_MD_CTX* c) const { EVP_MD_CTX_free(c); }
};

} // namespace

// Read in blocks, so that memory stays small for any file.
bool sha256_file(const std::string& path, std::string& hex, std::string& why) {
    std::unique_ptr<std::FILE, file_close> f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        why = path + ": nicht lesbar: " + io::os_error(errno, io::use::read);
        return false;
    }
    std::unique_ptr<EVP_MD_CTX, md_free> ctx(EVP_MD_CTX_new());
    if (!ctx || EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) != 1) {
        why = "SHA-256 nicht verfuegbar";
        return false;
    }
    std::vector<unsigned char> buf(1 << 16);
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), f.get())) > 0)
        EVP_DigestUpdate(ctx.get(), buf.data(), n);
    if (std::ferror(f.get())) {
        why = path + ": Lesefehler";
        return false;
    }
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    EVP_DigestFinal_ex(ctx.get(), md, &len);
    static const char digits[] = "0123456789abcdef";
    hex.clear();
    for (unsigned int k = 0; k < len; ++k) {
        hex += digits[md[k] >> 4];
        hex += digits[md[k] & 15];
    }
    return true;
}

bool dataset_hashes(const std::vector<std::string>& paths,
                    std::vector<std::pair<std::string, std::string>>& out, std::string& why) {
    std::vector<std::string> files;
    for (const std::string& p : paths) {
        std::vector<std::string> list = geo::listed_files(p, geo::kinds::both);
        if (list.empty()) list.push_back(p);
        files.insert(files.end(), list.begin(), list.end());
    }
    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());
    out.clear();
    for (const std::string& f : files) {
        std::string hex;
        if (!sha256_file(f, hex, why)) return false;
        out.emplace_back(f, hex);
    }
    return true;
}

} // namespace orv::report
