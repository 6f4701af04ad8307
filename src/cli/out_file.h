// The output of a command: standard output, or a file that is written under
// a temporary name beside it and takes its name only when complete.
#pragma once
#include <string>

#include "cli/exit.h"

namespace orv::cli {

class out_file {
  public:
    out_file() = default;
    out_file(const out_file&) = delete;
    out_file& operator=(const out_file&) = delete;
    // Removes the temporary file unless commit() succeeded.
    ~out_file();

    // Opens path ("" or "-": standard output). A path that names something
    // other than a regular file (a device, a pipe) is written directly.
    maybe_problem open(const std::string& path);
    // Where to write.
    int fd() const { return fd_; }
    // How messages name the output.
    const std::string& name() const { return name_; }
    // Closes the file and gives it its name.
    maybe_problem commit();
    // Closes and removes the temporary file.
    void discard();

  private:
    int fd_ = 1;
    std::string name_ = "Standardausgabe";
    std::string path_, tmp_; // tmp_ empty: written directly
    bool own_ = false;       // fd_ was opened here
};

} // namespace orv::cli
