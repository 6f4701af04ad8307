// The declarations of options shared by subcommands.
#include "cli/shared_options.h"

namespace orv::cli {

CLI::Option* add_threads(CLI::App& app, std::string& text) {
    return app.add_option("--threads", text, "Anzahl Rechenfaeden (Vorgabe 0: alle Kerne)")
        ->type_name("N");
}

CLI::Option* add_correct(CLI::App& app, bool& flag) {
    return app.add_flag("--correct", flag,
                        "ein Gefaelle ausserhalb der Tabellen korrigieren statt abzulehnen");
}

void add_text_options(CLI::App& app, std::initializer_list<text_option> options,
                      CLI::Option* needs) {
    for (const text_option& o : options) {
        CLI::Option* added = app.add_option(o.name, *o.text, o.help)->type_name(o.value);
        if (needs) added->needs(needs);
    }
}

} // namespace orv::cli
