// Options that several subcommands take, each declared here once with its
// help text; the subcommands add those they take.
#pragma once
#include <initializer_list>
#include <string>

#include <CLI/CLI.hpp>

namespace orv::cli {

// --threads N: how many threads compute (read with read_threads).
CLI::Option* add_threads(CLI::App& app, std::string& text);

// --correct: a slope beyond the tables is corrected instead of refused (every
// command that computes a site; point's --correct re-runs after a warning).
CLI::Option* add_correct(CLI::App& app, bool& flag);

// An option that takes one text: its name, where the text goes, its help
// and the name of its value in the help.
struct text_option {
    const char* name;
    std::string* text;
    const char* help;
    const char* value;
};

// Adds the options in the order given, each needing needs when that is set.
void add_text_options(CLI::App& app, std::initializer_list<text_option> options,
                      CLI::Option* needs = nullptr);

} // namespace orv::cli
