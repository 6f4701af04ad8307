// Output files written under a temporary name beside their target and put
// in its place only when complete, so a failed run leaves no partial file.
#pragma once
#include <cstdio>
#include <string>

namespace orv::map {

// A reserved temporary file beside a target.
class staged_file {
  public:
    staged_file() = default;
    staged_file(const staged_file&) = delete;
    staged_file& operator=(const staged_file&) = delete;
    staged_file(staged_file&& o) noexcept;
    staged_file& operator=(staged_file&& o) noexcept;
    // Removes the temporary file unless it was committed.
    ~staged_file();

    // Reserves a fresh file ".STEM-XXXXXX.EXT" in target's directory with
    // the usual permissions; false with a German reason in why.
    bool open(const std::string& target, std::string& why);
    // The temporary file's name.
    const std::string& temp() const { return temp_; }
    // A stream on it for writing (null after close or commit).
    std::FILE* stream() const { return f_; }
    // Closes the stream, checking that everything was written.
    bool close(std::string& why);
    // Closes (if open) and renames the file to the target.
    bool commit(std::string& why);
    // Removes the temporary file now.
    void discard();

  private:
    std::string target_, temp_;
    std::FILE* f_ = nullptr;
    bool done_ = true;
};

// A private directory beside a target in which a writer creates the
// target's file under its own name (and any files that belong with it);
// they are moved beside the target when complete.
class staged_dir {
  public:
    staged_dir() = default;
    staged_dir(const staged_dir&) = delete;
    staged_dir& operator=(const staged_dir&) = delete;
    // Removes the directory and its files unless they were committed.
    ~staged_dir();

    // Makes the directory ".orvalis-XXXXXX" beside target; false with a
    // German reason in why.
    bool open(const std::string& target, std::string& why);
    // Where the writer creates the file: the directory plus target's name.
    const std::string& path() const { return path_; }
    // Moves every file of the directory into the target's directory (the
    // file named like the target last) and removes the directory.
    bool commit(std::string& why);
    // Removes the files and the directory now.
    void discard();

  private:
    std::string dir_, into_, path_;
};

// A German description of the error number e for messages.
std::string io_reason(int e);

} // namespace orv::map
