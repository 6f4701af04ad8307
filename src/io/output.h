// The outputs of a run, written under temporary names and put in place
// together only when all of them are complete: a run that fails or is
// stopped leaves every target as it was and nothing beside it.
#pragma once
#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace orv::io {

// Writes all n bytes at p to fd, retrying partial writes and interruptions;
// returns 0 or the errno of the failure.
int write_all(int fd, const char* p, std::size_t n);

// How a writer produces an output.
enum class way {
    stream,  // front to back through fd() or stream(); a pipe, a device or
             // standard output is written directly
    file,    // a whole file through fd() or stream() that its writer may
             // seek in; a pipe, device or standard output gets a copy of it
             // at the end
    dataset, // a library creates path() and may add files beside it
             // (sidecars); they are staged in a private folder
    folder,  // files written into the folder path(): the target folder is
             // created with them, or when it exists they join it (replacing
             // files of the same names, leaving the others)
};

// Why an output failed, for the caller to choose the exit status.
enum class fault {
    unwritable,     // cannot be created or written (a German reason in text)
    same_target,    // two outputs name the same file
    sidecar_exists, // a file a dataset would add exists and is not its own
    stdout_closed,  // standard output was closed at start
};

struct out_failure {
    fault kind;
    std::string text; // the whole German message, naming the output
};

using maybe_failure = std::optional<out_failure>;

class output_set {
  public:
    output_set() = default;
    output_set(const output_set&) = delete;
    output_set& operator=(const output_set&) = delete;
    // Removes whatever was staged and not committed.
    ~output_set();

    // Adds an output: path "" or "-" is standard output (not for datasets);
    // label (an option such as "-o", or empty) names it in messages with
    // its path. The target is checked at once: a directory, a path that
    // leads nowhere and a target named twice (also through a link) fail.
    maybe_failure add(const std::string& label, const std::string& path, way w, std::size_t& id);

    // Creates every temporary file and folder; nothing of a target changes.
    maybe_failure stage();

    // The staged descriptor of a stream or file output.
    int fd(std::size_t id) const;
    // A stdio stream on it, made on first use.
    std::FILE* stream(std::size_t id);
    // Where a dataset's library creates its main file; the staged folder
    // of a folder output.
    const std::string& path(std::size_t id) const;
    // Whether the target is an existing file that the output replaces (not
    // a pipe or device, which are only written).
    bool replaces(std::size_t id) const;
    // Files of the existing target's dataset (its sidecars): replaced when
    // the new dataset has them, removed when it has not.
    void own_files(std::size_t id, std::vector<std::string> files);

    // The failure commit would find in output id as written so far (a file
    // at the size limit), for a writer that reads its output back before.
    maybe_failure check_written(std::size_t id) const { return check_size(outs_[id]); }

    // The message for a failed write with errno e to output id.
    out_failure write_failed(std::size_t id, int e) const;

    // Closes every output, checks the sidecars, then puts every output in
    // place in the order added; the first failure discards what remains.
    maybe_failure commit();
    // Removes everything staged now.
    void discard();

  private:
    struct entry {
        std::string label, given; // as named by the user
        std::string target;       // the file written: links resolved
        way how = way::stream;
        bool to_stdout = false;
        bool direct = false; // written straight into the target
        bool copied = false; // staged elsewhere, copied into the target
        bool existed = false;
        mode_t mode = 0;
        dev_t dev = 0;
        ino_t ino = 0;
        std::string temp;  // temporary file or folder
        std::string inner; // dataset: its main file in the folder
        std::vector<std::string> own;
        int fd = -1;
        std::FILE* f = nullptr;
        bool done = false;
    };
    std::string shown(const entry& e) const;
    out_failure unwritable(const entry& e, int err) const;
    maybe_failure add_folder(entry e, std::size_t& id);
    // Appends e unless an output added before has the same target.
    maybe_failure append(entry e, std::size_t& id);
    maybe_failure stage_one(entry& e);
    maybe_failure place_folder(entry& e);
    maybe_failure close_one(entry& e);
    maybe_failure check_size(const entry& e) const;
    maybe_failure check_sidecars(const entry& e) const;
    maybe_failure check_folder(const entry& e) const;
    maybe_failure join_folder(entry& e);
    maybe_failure place(entry& e);

    std::vector<entry> outs_;
};

} // namespace orv::io
