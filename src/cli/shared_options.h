// Options that several subcommands take, each declared here once with its
// help text; the subcommands add those they take.
#pragma once
#include <initializer_list>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace orv::cli {

// --threads N: how many threads compute (read with read_threads).
CLI::Option* add_threads(CLI::App& app, std::string& text);

// --correct: a slope beyond the tables is corrected instead of refused (every
// command that computes a site; point's --correct re-runs after a warning).
CLI::Option* add_correct(CLI::App& app, bool& flag);

// --layer NAME (repeatable): only these layers of the objects.
CLI::Option* add_layers(CLI::App& app, std::vector<std::string>& layers,
                        const char* help = "nur diese Ebene der Objekte (wiederholbar)");

// --spacing S: the distance of an object's samples in m (read with read_size).
CLI::Option* add_spacing(CLI::App& app, std::string& text);

// --from K: the level from which on an object counts (read with read_count, 1 to 3).
CLI::Option* add_from(CLI::App& app, std::string& text,
                      const char* help = "Stufe, ab der ein Objekt gefaehrdet ist (Vorgabe 1)");

// --label FELD: the field that names the objects, where the command shows them.
CLI::Option* add_label(CLI::App& app, std::string& text, const char* help);

// --title TEXT and --author TEXT of a report; help says what the title defaults to.
CLI::Option* add_title(CLI::App& app, std::string& text, const char* help);
CLI::Option* add_author(CLI::App& app, std::string& text);

// --prefer options: options before the columns of the same name.
CLI::Option* add_prefer(CLI::App& app, std::string& text, const char* help);

// --keep-going: what fails is written as such and the run goes on (exit
// status 3); help says what the command writes for it.
CLI::Option* add_keep_going(CLI::App& app, bool& flag, const char* help);

// --worst-points: each object's worst point as a point layer schlimmste_punkte
// beside the objects written (in a file of its own for a format of one
// layer), with one help for every command that takes it.
CLI::Option* add_worst_points(CLI::App& app, bool& flag);

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
