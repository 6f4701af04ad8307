// The options that give a site and a point, and the danger level thresholds.
#pragma once
#include <string>

#include <CLI/CLI.hpp>

#include "cli/exit.h"
#include "model/level.h"
#include "model/params.h"

namespace orv::cli {

// The texts of the seven parameter options as given; empty when left out.
struct site_text {
    std::string h, b, vol, s, d, x, y;
};

// The text given for parameter k (in the order of the parameter table).
const std::string& param_text(const site_text& t, int k);

// Adds -H, -B, --vol, -S, -D and, with point, -x and -y to app.
void add_site_options(CLI::App& app, site_text& t, bool point = true);

// How a command that gives a verdict takes the five site parameters: from
// options alone (assess, report), or from a register's columns with the
// options for rows without one (inventory). None has a default.
enum class site_source { options, columns };

// Adds -H, -B, --vol, -S and -D without defaults, with help texts that say so.
void add_verdict_site_options(CLI::App& app, site_text& t, site_source from);

// Each of the five site options must be given: a verdict is never computed
// from a default the user did not choose.
maybe_problem require_site(const site_text& t);

// Reads the given options into p, whose other fields keep their values.
// H, B, Vol and D must be finite and > 0, the others finite.
maybe_problem read_site(const site_text& t, params& p);

// Adds --levels to app.
void add_levels_option(CLI::App& app, std::string& text);

// Reads "a,b,c" (three ascending positive numbers) into l; empty keeps l.
maybe_problem read_levels(const std::string& text, levels& l);

} // namespace orv::cli
