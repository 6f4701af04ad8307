// The declarations of options shared by subcommands.
#include "cli/shared_options.h"

namespace orv::cli {

CLI::Option* add_threads(CLI::App& app, std::string& text) {
    return app.add_option("--threads", text, "Anzahl Rechenfaeden (Vorgabe 0: alle Kerne)")
        ->type_name("N");
}

} // namespace orv::cli
