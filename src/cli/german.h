// German help texts and error messages for the command line parser.
#pragma once
#include <string>

#include <CLI/CLI.hpp>

namespace orv::cli {

// Sets German labels, help flag and group names on app (and its future
// subcommands, which inherit them).
void germanise(CLI::App& app);

// Adds a subcommand with German group name and help flag.
CLI::App* add_command(CLI::App& top, const std::string& name, const std::string& help);

// One German sentence for a parse error of CLI11, naming the option or
// argument where it can.
std::string german_message(const CLI::ParseError& e);

} // namespace orv::cli
