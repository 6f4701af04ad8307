// German texts for CLI11: help labels and layout, parse error messages.
#include "cli/german.h"

#include <sstream>
#include <vector>

namespace orv::cli {

namespace {

// The part of a CLI11 message before its first ": ", where it names the option.
std::string subject(const std::string& what) {
    const auto p = what.find(": ");
    return p == std::string::npos ? std::string() : what.substr(0, p);
}

// The words after the last ": ", where CLI11 lists arguments in reverse order.
std::vector<std::string> listed(const std::string& what) {
    const auto p = what.rfind(": ");
    std::istringstream in(p == std::string::npos ? what : what.substr(p + 2));
    std::vector<std::string> w;
    for (std::string s; in >> s;) w.insert(w.begin(), s);
    return w;
}

// The first word of what, for errors that begin with the option's name.
std::string first_word(const std::string& what) {
    return what.substr(0, what.find(' '));
}

// "A", "A und B", "A, B und C".
std::string enumeration(const std::vector<std::string>& w) {
    std::string s;
    for (std::size_t k = 0; k < w.size(); ++k)
        s += (k == 0 ? "" : k + 1 == w.size() ? " und " : ", ") + w[k];
    return s;
}

// The names of the options in list.
template <class L> std::vector<std::string> names(const L& list) {
    std::vector<std::string> w;
    for (const CLI::Option* o : list) w.push_back(o->get_name());
    return w;
}

// Whether text looks like an option ("-x", "--digits", "--digits=2") and
// not like a negative number.
bool option_like(const std::string& text) {
    if (text.size() < 2 || text[0] != '-') return false;
    const char c = text[1];
    return !(c >= '0' && c <= '9') && c != '.';
}

// The subcommand of top that was parsed, or top.
const CLI::App& chosen(const CLI::App& top) {
    for (const CLI::App* s : top.get_subcommands({}))
        if (s->parsed()) return *s;
    return top;
}

// Whether text is the name of an option of app or of the apps above it.
bool names_option(const CLI::App& app, const std::string& text) {
    for (const CLI::App* a = &app; a; a = a->get_parent())
        if (a->get_option_no_throw(text)) return true;
    return false;
}

// Help lines with the description on the option's line, followed by what
// the option needs and excludes.
class german_formatter : public CLI::Formatter {
  public:
    std::string make_option_opts(const CLI::Option* opt) const override {
        if (!opt->get_option_text().empty()) return " " + opt->get_option_text();
        std::string s;
        if (opt->get_type_size() != 0 && !opt->get_type_name().empty())
            s += " " + get_label(opt->get_type_name());
        if (opt->get_type_size() != 0 && opt->get_required()) s += " " + get_label("REQUIRED");
        return s;
    }
    std::string make_option_desc(const CLI::Option* opt) const override {
        std::string s = opt->get_description();
        if (!opt->get_needs().empty())
            s += "; " + get_label("Needs") + " " + enumeration(names(opt->get_needs()));
        if (!opt->get_excludes().empty())
            s += "; " + get_label("Excludes") + " " + enumeration(names(opt->get_excludes()));
        return s;
    }
};

} // namespace

// German labels for every part of the generated help.
void germanise(CLI::App& app) {
    auto f = std::make_shared<german_formatter>();
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
    app.formatter(f);
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
std::string german_message(const CLI::App& top, const CLI::ParseError& e) {
    const std::string what = e.what();
    auto is = [&e](auto* type) { return dynamic_cast<decltype(type)>(&e) != nullptr; };
    if (is((const CLI::ExtrasError*)nullptr)) {
        const std::vector<std::string> extra = listed(what);
        for (const std::string& w : extra)
            if (option_like(w)) return "unbekannte Option " + w.substr(0, w.find('='));
        return "unerwartetes Argument: " + enumeration(extra);
    }
    if (is((const CLI::RequiredError*)nullptr)) {
        if (what.rfind("A subcommand", 0) == 0) return "ein Unterbefehl fehlt (siehe --help)";
        return "fehlt: " + first_word(what);
    }
    if (is((const CLI::ArgumentMismatch*)nullptr)) {
        const std::string s = subject(what);
        const std::string o = s.empty() ? std::string("Option") : "Option " + s;
        if (what.find("flag override") != std::string::npos) return o + ": nimmt keinen Wert";
        // CLI11 reports an option given twice as too many values.
        if (what.find("At Most") != std::string::npos) return o + ": nur einmal erlaubt";
        return o + ": Wert fehlt";
    }
    if (is((const CLI::ExcludesError*)nullptr)) {
        const auto p = what.find(" excludes ");
        if (p == std::string::npos) return "Optionen schliessen einander aus";
        return what.substr(0, p) + " schliesst " + what.substr(p + 10) + " aus";
    }
    if (is((const CLI::RequiresError*)nullptr)) {
        // Every option given whose needs are not all given, with all it misses.
        const CLI::App& app = chosen(top);
        for (const CLI::Option* o : app.get_options()) {
            if (o->count() == 0) continue;
            std::vector<std::string> missing;
            for (const CLI::Option* n : o->get_needs())
                if (n->count() == 0) missing.push_back(n->get_name());
            if (!missing.empty()) return o->get_name() + " braucht " + enumeration(missing);
        }
        const auto p = what.find(" requires ");
        if (p != std::string::npos) return what.substr(0, p) + " braucht " + what.substr(p + 10);
        return "eine Option braucht eine weitere (siehe --help)";
    }
    if (is((const CLI::InvalidError*)nullptr)) return "zu viele Argumente";
    return "ungueltiger Aufruf (siehe --help)";
}

// Options in the order they were registered, the first fault wins; a
// missing value before an empty one.
maybe_problem check_values(const CLI::App& top) {
    const CLI::App& app = chosen(top);
    const auto options = app.get_options();
    for (const CLI::Option* o : options) {
        if (o->get_type_size() == 0) continue;
        for (const std::string& v : o->results())
            if (option_like(v) && names_option(app, v.substr(0, v.find('='))))
                return problem{exit_usage, "Option " + o->get_name() + ": Wert fehlt"};
    }
    for (const CLI::Option* o : options) {
        if (o->get_type_size() == 0) continue;
        for (const std::string& v : o->results()) {
            if (!v.empty()) continue;
            const std::string what =
                o->get_positional() && o->get_lnames().empty() && o->get_snames().empty()
                    ? "Argument " + o->get_name()
                    : "Option " + o->get_name();
            return problem{exit_bad_value, what + ": leerer Wert"};
        }
    }
    return std::nullopt;
}

} // namespace orv::cli
