// Runs build/orvalis2d as a child process on given input and collects what it
// writes, for end-to-end transcript tests.
#pragma once
#include <csignal>
#include <string>
#include <string_view>

namespace orv::test {

// How standard output and standard error of the child are connected.
enum class out_mode {
    pipes,       // each to its own pipe
    shared_file, // both to one regular file (one open file description)
    shared_pipe, // both to one pipe
    stdout_file, // stdout to a regular file, stderr to a pipe
    dev_full,    // stdout to /dev/full, stderr to a pipe
    closed,      // stdout closed, stderr to a pipe
};

enum class in_mode { pipe, directory };

struct session_opts {
    out_mode out = out_mode::pipes;
    in_mode in = in_mode::pipe;
    bool noop_cls = true;      // put a silent "cls" first on PATH
    int sig = 0;               // signal to send once `wait_for` has appeared
    std::string wait_for = {}; // text on stdout that marks the waiting prompt
    bool close_reader = false; // close the stdout pipe before the child writes
};

struct session {
    std::string out;
    std::string err;
    int status = 0; // raw wait status
    bool exited() const;
    int code() const;
    bool signalled() const;
    int signal() const;
};

// Runs one session: input is written to standard input and then closed
// (unless a signal is to be sent, in which case it stays open until then).
session run(std::string_view input, const session_opts& o = {});

// The bytes up to and including the first Menu line.
std::string banner_and_menu();

// The Menu line with its leading Line end.
inline constexpr std::string_view menu = "\n [I]ntensitaet [H]ilfe e[X]it> ";

// The seven prompts for the initial Parameter set.
std::string initial_prompts();

// The Result report for the initial Parameter set.
inline constexpr std::string_view initial_result = "\n >spezifischer Abfluss :    0.51m2/s\n"
                                                   " >Fliessgeschwindigkeit:    1.61m/s\n"
                                                   " >Abflusstiefe:             0.32m\n"
                                                   " >Energiehoehe:             0.45m\n";

// The Runtime error report for end of input at a read of standard input.
std::string eof_report(int line);

// A directory holding a silent "cls"; created once per test process.
const std::string& noop_cls_dir();

// The PATH for the calculator, with or without the silent "cls" first.
// Call it before fork, so that the directory is made once.
std::string calculator_path(bool noop_cls);

// In a forked child: sets PATH and runs the built calculator.
[[noreturn]] void exec_calculator(const std::string& path);

} // namespace orv::test
