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

CLI::Option* add_layers(CLI::App& app, std::vector<std::string>& layers, const char* help) {
    return app.add_option("--layer", layers, help)->type_name("NAME");
}

CLI::Option* add_spacing(CLI::App& app, std::string& text) {
    return app.add_option("--spacing", text, "Abstand der Stichproben in m (Vorgabe 1)")
        ->type_name("S");
}

CLI::Option* add_from(CLI::App& app, std::string& text, const char* help) {
    return app.add_option("--from", text, help)->type_name("K");
}

CLI::Option* add_label(CLI::App& app, std::string& text, const char* help) {
    return app.add_option("--label", text, help)->type_name("FELD");
}

CLI::Option* add_title(CLI::App& app, std::string& text, const char* help) {
    return app.add_option("--title", text, help)->type_name("TEXT");
}

CLI::Option* add_author(CLI::App& app, std::string& text) {
    return app.add_option("--author", text, "Verfasserin oder Verfasser")->type_name("TEXT");
}

CLI::Option* add_prefer(CLI::App& app, std::string& text, const char* help) {
    return app.add_option("--prefer", text, help)->type_name("options");
}

CLI::Option* add_keep_going(CLI::App& app, bool& flag, const char* help) {
    return app.add_flag("--keep-going", flag, help);
}

CLI::Option* add_worst_points(CLI::App& app, bool& flag) {
    return app.add_flag("--worst-points", flag,
                        "dazu je Objekt mit Ergebnis den Punkt des schlimmsten Ergebnisses als "
                        "Ebene schlimmste_punkte schreiben");
}

void add_text_options(CLI::App& app, std::initializer_list<text_option> options,
                      CLI::Option* needs) {
    for (const text_option& o : options) {
        CLI::Option* added = app.add_option(o.name, *o.text, o.help)->type_name(o.value);
        if (needs) added->needs(needs);
    }
}

} // namespace orv::cli
