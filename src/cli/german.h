// German help texts and error messages for the command line parser.
#pragma once
#include <string>

#include <CLI/CLI.hpp>

#include "cli/exit.h"

namespace orv::cli {

// Sets German labels, help flag and group names and the help layout on app
// (and its future subcommands, which inherit them).
void germanise(CLI::App& app);

// Adds a subcommand with German group name and help flag.
CLI::App* add_command(CLI::App& top, const std::string& name, const std::string& help);

// One German sentence for a parse error of CLI11 on the command line of
// top, naming the option or argument where it can.
std::string german_message(const CLI::App& top, const CLI::ParseError& e);

// The values given on the parsed command line of app: a value that is the
// name of an option stands for a missing value (status 2: "-x --csv"), an
// empty value is an error (status 1), never "not given".
maybe_problem check_values(const CLI::App& app);

} // namespace orv::cli
