// Runs a built program with arguments and standard input, collecting its
// output and exit status, for end-to-end tests of the orvalis command.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace orv::test {

// What a finished program left.
struct run_result {
    std::string out;
    std::string err;
    int status = 0;     // raw wait status
    int code() const;   // exit status, or -1 when it did not exit
    int signal() const; // terminating signal, or 0
};

// Runs program with args (argv[0] is program), writing input to its
// standard input; cwd empty keeps the current directory.
run_result run_program(const std::string& program, const std::vector<std::string>& args,
                       std::string_view input = {}, const std::string& cwd = {});

// Runs the built orvalis command.
run_result run_orvalis(const std::vector<std::string>& args, std::string_view input = {},
                       const std::string& cwd = {});

// A fresh empty directory under the temporary directory, removed with its
// files at the end of the test process.
std::string scratch_dir();

// The whole content of a file ("" when it cannot be read).
std::string read_file(const std::string& path);

// Writes content to path, replacing it.
void write_file(const std::string& path, std::string_view content);

} // namespace orv::test
