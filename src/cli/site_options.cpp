// Site and point options: registration, reading and checking.
#include "cli/site_options.h"

#include <cmath>

#include "base/number_text.h"
#include "cli/option_values.h"
#include "csv/number.h"

namespace orv::cli {

namespace {

// Where the text of each parameter option is, in the order of the
// parameter table.
constexpr std::string site_text::*texts[n_params] = {
    &site_text::h, &site_text::b, &site_text::vol, &site_text::s,
    &site_text::d, &site_text::x, &site_text::y,
};

} // namespace

const std::string& param_text(const site_text& t, int k) {
    return t.*texts[k];
}

// Registers the parameter options with German help texts that name each
// parameter's initial value.
void add_site_options(CLI::App& app, site_text& t, bool point) {
    for (int k = 0; k < (point ? n_params : n_site_params); ++k) {
        const param_info& o = param_table[k];
        const std::string help =
            std::string(o.what) + " (Vorgabe " + write_real(initial_value(k)) + ")";
        app.add_option(o.option, t.*texts[k], help)->type_name("ZAHL");
    }
}

// Registers the five site options of a command that gives a verdict.
void add_verdict_site_options(CLI::App& app, site_text& t, site_source from) {
    for (int k = 0; k < n_site_params; ++k) {
        const param_info& o = param_table[k];
        std::string help = o.what;
        help += from == site_source::options
                    ? " (Pflicht, keine Vorgabe)"
                    : std::string(", fuer Anlagen ohne Spalte ") + o.name + " (keine Vorgabe)";
        app.add_option(o.option, t.*texts[k], help)->type_name("ZAHL");
    }
}

// Names the first site option left out.
maybe_problem require_site(const site_text& t) {
    for (int k = 0; k < n_site_params; ++k) {
        const param_info& o = param_table[k];
        if ((t.*texts[k]).empty())
            return problem{exit_bad_value, std::string(o.name) + " fehlt: Option " + o.option +
                                               " angeben (ein Urteil braucht alle fuenf "
                                               "Parameter H, B, Vol, S, D)"};
    }
    return std::nullopt;
}

// Reads and checks each given parameter option.
maybe_problem read_site(const site_text& t, params& p) {
    for (int k = 0; k < n_params; ++k) {
        const param_info& o = param_table[k];
        const std::string& text = t.*texts[k];
        if (text.empty()) continue;
        const auto r = read_real(text);
        const std::string where = std::string("Option ") + o.option + ": ";
        if (!r.ok()) {
            if (maybe_problem e = decimal_comma(text, o.option)) return e;
            return problem{exit_bad_value, where + describe(r.err) + ": " + text};
        }
        if (const char* why = unusable(r.value, o.positive))
            return problem{exit_bad_value, where + why + ": " + text};
        p.*o.member = r.value;
    }
    return std::nullopt;
}

// Registers --levels.
void add_levels_option(CLI::App& app, std::string& text) {
    app.add_option("--levels", text,
                   "Schwellen der Gefahrenstufen 1,2,3 fuer h in m und q in m2/s "
                   "(Vorgabe 0.5,1,2)")
        ->type_name("A,B,C");
}

// Three comma-separated numbers, positive and strictly ascending.
maybe_problem read_levels(const std::string& text, levels& l) {
    if (text.empty()) return std::nullopt;
    levels got;
    std::string_view rest = text;
    for (int k = 0; k < 3; ++k) {
        const auto comma = rest.find(',');
        if ((k < 2) != (comma != std::string_view::npos)) break;
        const auto r = read_real(rest.substr(0, comma));
        if (!r.ok()) break;
        got.t[k] = r.value;
        rest = k < 2 ? rest.substr(comma + 1) : std::string_view();
        if (k == 2 && valid_levels(got)) {
            l = got;
            return std::nullopt;
        }
    }
    return problem{exit_bad_value, "Option --levels: drei aufsteigende positive Zahlen "
                                   "erwartet (z. B. 0.5,1,2): " +
                                       text};
}

} // namespace orv::cli
