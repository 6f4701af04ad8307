// German texts for CLI11: help labels and parse error messages.
#include "cli/german.h"

namespace orv::cli {

namespace {

// The part of a CLI11 message before its first ": ", where it names the option.
std::string subject(const std::string& what) {
    const auto p = what.find(": ");
    return p == std::string::npos ? std::string() : what.substr(0, p);
}

// The part after the last ": ", where it lists the arguments concerned.
std::string tail(const std::string& what) {
    const auto p = what.rfind(": ");
    return p == std::string::npos ? what : what.substr(p + 2);
}

// The first word of what, for errors that begin with the option's name.
std::string first_word(const std::string& what) {
    return what.substr(0, what.find(' '));
}

// "A sep B" as "A, B".
std::string words(const std::string& what, const std::string& sep) {
    const auto p = what.find(sep);
    return p == std::string::npos ? what : what.substr(0, p) + ", " + what.substr(p + sep.size());
}

} // namespace

// German labels for every part of the generated help.
void germanise(CLI::App& app) {
    auto f = app.get_formatter();
    f->label("Usage", "Aufruf");
    f->label("OPTIONS", "OPTIONEN");
    f->label("SUBCOMMAND", "UNTERBEFEHL");
    f->label("SUBCOMMANDS", "UNTERBEFEHLE");
    f->label("Positionals", "Argumente");
    f->label("REQUIRED", "PFLICHT");
    f->label("TEXT", "TEXT");
    f->label("Env", "Umgebung");
    f->label("Needs", "braucht");
    f->label("Excludes", "schliesst aus");
    f->column_width(28);
    app.option_defaults()->group("Optionen");
    app.set_help_flag("-h,--help", "diese Hilfe zeigen und beenden");
}

// A subcommand listed under "Unterbefehle".
CLI::App* add_command(CLI::App& top, const std::string& name, const std::string& help) {
    CLI::App* app = top.add_subcommand(name, help);
    app->group("Unterbefehle");
    // The help flag was made before the group was inherited; make it again.
    app->set_help_flag("-h,--help", "diese Hilfe zeigen und beenden");
    return app;
}

// Maps each kind of CLI11 parse error to a German sentence. The kind is
// told by the exception's type: its name field may hold a subcommand's name.
std::string german_message(const CLI::ParseError& e) {
    const std::string what = e.what();
    auto is = [&e](auto* type) { return dynamic_cast<decltype(type)>(&e) != nullptr; };
    if (is((const CLI::ExtrasError*)nullptr)) return "unerwartetes Argument: " + tail(what);
    if (is((const CLI::RequiredError*)nullptr)) {
        if (what.rfind("A subcommand", 0) == 0) return "ein Unterbefehl fehlt (siehe --help)";
        return "fehlt: " + first_word(what);
    }
    if (is((const CLI::ArgumentMismatch*)nullptr)) {
        const std::string s = subject(what);
        return (s.empty() ? std::string("Option") : "Option " + s) +
               ": Wert fehlt oder zu viele Werte";
    }
    if (is((const CLI::ExcludesError*)nullptr))
        return "Optionen schliessen einander aus: " + words(what, " excludes ");
    if (is((const CLI::RequiresError*)nullptr))
        return "Option braucht eine weitere: " + words(what, " requires ");
    if (is((const CLI::InvalidError*)nullptr)) return "zu viele Argumente";
    return "ungueltiger Aufruf (siehe --help)";
}

} // namespace orv::cli
