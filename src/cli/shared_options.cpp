// The declarations of options shared by subcommands.
#include "cli/shared_options.h"

namespace orv::cli {

CLI::Option* add_threads(CLI::App& app, std::string& text) {
    return app.add_option("--threads", text, "Anzahl Rechenfaeden (Vorgabe 0: alle Kerne)")
        ->type_name("N");
}

void add_text_options(CLI::App& app, std::initializer_list<text_option> options,
                      CLI::Option* needs) {
    for (const text_option& o : options) {
        CLI::Option* added = app.add_option(o.name, *o.text, o.help)->type_name(o.value);
        if (needs) added->needs(needs);
    }
}

} // namespace orv::cli
