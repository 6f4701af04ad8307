// Process entry of the orvalis command: parses the command line, runs the
// chosen subcommand and ends the process with its status.
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "cli/exit.h"
#include "cli/german.h"
#include "io/guard.h"

int main(int argc, char** argv) {
    using namespace orv::cli;
    // Before anything opens a file or starts a thread: closed standard
    // descriptors filled, terminating signals taken by one thread that
    // removes the run's temporary files.
    orv::io::guard_process();
    CLI::App app("ORVALIS 2D: Intensitaeten des Breschenabflusses fuer viele Punkte", "orvalis");
    germanise(app);
    app.set_version_flag("--version", std::string("orvalis ") + ORV_VERSION,
                         "Version anzeigen und beenden");
    app.require_subcommand(1);
    std::vector<command> commands = {add_point(app),    add_batch(app),  add_map(app),
                                     add_profile(app),  add_assess(app), add_report(app),
                                     add_inventory(app)};
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "orvalis: %s\n", german_message(app, e).c_str());
        return exit_usage;
    }
    if (const maybe_problem p = check_values(app)) {
        std::fprintf(stderr, "orvalis: %s\n", p->text.c_str());
        return p->status;
    }
    for (auto& c : commands) {
        if (!c.app->parsed()) continue;
        // Memory that runs out on any thread ends here: the outputs staged
        // so far were removed on the way, nothing is left.
        try {
            return c.run();
        } catch (const std::bad_alloc&) {
            std::fprintf(stderr, "orvalis %s: nicht genug Speicher\n", c.app->get_name().c_str());
            return exit_bad_value;
        }
    }
    return exit_usage;
}
