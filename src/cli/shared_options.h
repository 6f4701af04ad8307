// Options that several subcommands take, each declared here once with its
// help text; the subcommands add those they take.
#pragma once
#include <string>

#include <CLI/CLI.hpp>

namespace orv::cli {

// --threads N: how many threads compute (read with read_threads).
CLI::Option* add_threads(CLI::App& app, std::string& text);

} // namespace orv::cli
