// The subcommands of the orvalis command, each set up on the top-level App.
#pragma once
#include <functional>

#include <CLI/CLI.hpp>

namespace orv::cli {

// A subcommand's App and the function that runs it once it was chosen and
// its command line parsed; run returns the exit status.
struct command {
    CLI::App* app;
    std::function<int()> run;
};

command add_point(CLI::App& top);
command add_batch(CLI::App& top);
command add_map(CLI::App& top);
command add_profile(CLI::App& top);
command add_report(CLI::App& top);
command add_assess(CLI::App& top);
command add_inventory(CLI::App& top);

} // namespace orv::cli
