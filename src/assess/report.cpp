// Summary text and JSON of an assessment.
#include "assess/report.h"

#include <cstdio>

#include "base/level_text.h"
#include "base/number_text.h"
#include "base/terminal_text.h"
#include "map/site_text.h"
#include "map/summary.h"

namespace orv::assess {

namespace {

// German names of the states for the text, in the order of enum state.
constexpr const char* state_texts[5] = {"vollstaendig berechnet", "teilweise berechnet",
                                        "ohne Ergebnis", "oberhalb der Bresche", "ohne Geometrie"};

// A double as the fewest decimals that read back exactly, without an exponent.
std::string number(double v) {
    char b[400];
    for (int p = 0; p <= 20; ++p) {
        std::snprintf(b, sizeof b, "%.*f", p, v);
        double back = 0;
        if (std::sscanf(b, "%lf", &back) == 1 && back == v) break;
    }
    return b;
}

// A JSON string; UTF-8 passes, control characters are escaped.
std::string quoted(const std::string& s) {
    std::string t = "\"";
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            t += '\\';
            t += ch;
        } else if (c < 0x20) {
            char b[8];
            std::snprintf(b, sizeof b, "\\u%04x", c);
            t += b;
        } else {
            t += ch;
        }
    }
    return t + "\"";
}

// The statuses of bits as "1, 2".
std::string status_list(std::uint32_t bits, const char* sep) {
    std::string s;
    for (int k = 0; k < 32; ++k) {
        if (!(bits & (1u << k))) continue;
        if (!s.empty()) s += sep;
        s += std::to_string(k);
    }
    return s;
}

// Why a feature without result leaves the verdict as it is.
std::string settled_why(const listed& e, int from) {
    if (e.st == state::empty) return "ohne Geometrie";
    if (e.st == state::upstream) return no_result_label(5) + " (Status 5)";
    std::string t = "Status " + status_list(e.statuses & ~1u, ", ");
    if (e.statuses & 6u) t += "; am Rand der Tabellen unter Stufe " + std::to_string(from);
    return t;
}

std::string site_line(const report_input& in) {
    const params& p = in.site;
    return "Standort: " + map::site_text(p, charset::ascii) + "\n";
}

// The lines of a layer's counts: its objects, levels and states.
std::string layer_counts(const layer_summary& l, bool utf8) {
    std::string s = "\nEbene " + terminal_text(l.name, utf8) + " (" + terminal_text(l.path, utf8) +
                    "): " + counted(l.features, "Objekt", "Objekte") + "\n";
    s += "  Stufe 0: " + std::to_string(l.levels[0]) + ", Stufe 1: " + std::to_string(l.levels[1]) +
         ", Stufe 2: " + std::to_string(l.levels[2]) + ", Stufe 3: " + std::to_string(l.levels[3]) +
         "\n";
    std::string st;
    for (int k = 0; k < 5; ++k) {
        if (!l.states[k]) continue;
        st += (st.empty() ? "" : ", ") + std::string(state_texts[k]) + ": " +
              std::to_string(l.states[k]);
    }
    if (!st.empty()) s += "  " + st + "\n";
    if (l.features != 0 && l.states[static_cast<int>(state::empty)] == l.features)
        s += "  alle Objekte ohne Geometrie: die Ebene traegt nichts zum Urteil bei\n";
    return s;
}

// Why an open object is open.
std::string open_why(const listed& e, int from) {
    if (e.failed) return "uebersprungen (Geometrie nicht lesbar)";
    return (e.level == no_level ? std::string("ohne Ergebnis")
                                : level_name(e.level) + ", teils ohne Ergebnis") +
           " (Status " + status_list(e.statuses & ~1u, ", ") + "), am Rand der Tabellen Stufe " +
           std::to_string(from) + " oder hoeher";
}

// The line that says how many more of a list --json shows; "" for none.
std::string more_line(std::uint64_t all, std::size_t shown) {
    if (all <= shown) return "";
    return "    und " + std::to_string(all - shown) + " weitere (alle mit --json)\n";
}

// The lists of a layer: the endangered, the open and the settled objects.
std::string layer_lists(const layer_summary& l, int from, bool utf8) {
    std::string s;
    if (!l.endangered.empty()) s += "  gefaehrdet ab Stufe " + std::to_string(from) + ":\n";
    for (const listed& e : l.endangered) {
        s += "    " + terminal_text(e.label, utf8) + ": Stufe " + std::to_string(e.level) + " (" +
             e.crit + "), h = " + plain(e.h) + " m, q = " + plain(e.q) +
             " m2/s, x = " + plain(e.x) + " m\n";
    }
    s += more_line(l.n_endangered, l.endangered.size());
    if (!l.open.empty()) s += "  offen:\n";
    for (const listed& e : l.open)
        s += "    " + terminal_text(e.label, utf8) + ": " + open_why(e, from) + "\n";
    s += more_line(l.n_open, l.open.size());
    if (!l.settled.empty()) s += "  ohne Ergebnis, Urteil nicht offen:\n";
    for (const listed& e : l.settled)
        s += "    " + terminal_text(e.label, utf8) + ": " + settled_why(e, from) + "\n";
    s += more_line(l.n_settled, l.settled.size());
    return s;
}

} // namespace

std::string report_text(const report_input& in, const outcome& o) {
    std::string s = "Betroffene Objekte unterhalb der Bresche\n" + site_line(in);
    s += "Bresche bei " + number(in.g.e0) + ", " + number(in.g.n0) + ", Strahlrichtung " +
         number(in.g.azimuth) + " Grad; Abstand der Stichproben " + number(in.spacing) + " m (" +
         counted(o.samples, "Stichprobe", "Stichproben") + ")\n";
    s += "Schwellen der Stufen 1, 2, 3: h oder q ueber " + plain(in.lv.t[0]) + ", " +
         plain(in.lv.t[1]) + ", " + plain(in.lv.t[2]) + "\n";
    for (const layer_summary& l : o.layers)
        s += layer_counts(l, in.utf8) + layer_lists(l, in.from, in.utf8);
    const std::string k = std::to_string(in.from);
    if (const std::string w = reach_warning(o, true); !w.empty()) s += "\nWarnung: " + w + "\n";
    s += "\nUrteil: ";
    if (std::string(o.verdict) == "yes")
        s += "gefaehrdet (mindestens ein Objekt auf Stufe " + k + " oder hoeher)\n";
    else if (o.unplaced)
        s += "offen (Lage der Bresche nicht pruefbar: kein Koordinatensystem und kein Objekt im "
             "Bereich der Tabellen; --crs angeben)\n";
    else if (std::string(o.verdict) == "open")
        s += "offen (Objekte nahe der Bresche oder jenseits der Tabellen, wo die Zone Stufe " + k +
             " erreicht, oder uebersprungene Objekte)\n";
    else
        s += "nicht gefaehrdet (kein Objekt auf Stufe " + k + " oder hoeher)\n";
    s += not_computed_warning(charset::ascii) + "\n";
    return s;
}

std::string reach_warning(const outcome& o, bool ascii) {
    const auto d = beyond_reach(o);
    if (!d) return {};
    char m[64];
    std::snprintf(m, sizeof m, "%.0f", *d);
    std::string w = std::string("Kein Objekt im Bereich der Tabellen: ") +
                    (ascii ? "naechstes" : "n\u00e4chstes") + " Objekt " + m + " m von der Bresche";
    if (o.unplaced)
        w += ascii ? "; ohne Koordinatensystem ist die Lage der Bresche nicht pruefbar"
                   : "; ohne Koordinatensystem ist die Lage der Bresche nicht pr\u00fcfbar";
    return w;
}

std::string report_json(const report_input& in, const outcome& o) {
    const params& p = in.site;
    std::string s = "{\n  \"verdict\": \"" + std::string(o.verdict) +
                    "\",\n  \"from\": " + std::to_string(in.from) + ",\n";
    if (const std::string w = reach_warning(o, false); !w.empty())
        s += "  \"warnung\": " + quoted(w) + ",\n";
    s += "  \"site\": {\"H\": " + plain(p.h) + ", \"B\": " + plain(p.b) +
         ", \"Vol\": " + plain(p.vol) + ", \"S\": " + plain(p.slp) + ", \"D\": " + plain(p.dm) +
         "},\n";
    s += "  \"levels\": [" + plain(in.lv.t[0]) + ", " + plain(in.lv.t[1]) + ", " +
         plain(in.lv.t[2]) + "],\n";
    s += "  \"spacing\": " + number(in.spacing) + ",\n  \"samples\": " + std::to_string(o.samples) +
         ",\n  \"layers\": [";
    for (std::size_t li = 0; li < o.layers.size(); ++li) {
        const layer_summary& l = o.layers[li];
        s += li ? ",\n" : "\n";
        s += "    {\"name\": " + quoted(l.name) + ", \"source\": " + quoted(l.path) +
             ", \"features\": " + std::to_string(l.features) + ",\n     \"levels\": [" +
             std::to_string(l.levels[0]) + ", " + std::to_string(l.levels[1]) + ", " +
             std::to_string(l.levels[2]) + ", " + std::to_string(l.levels[3]) +
             "],\n     \"states\": {";
        for (int k = 0; k < 5; ++k) {
            s += std::string(k ? ", " : "") + "\"" + state_key(static_cast<state>(k)) +
                 "\": " + std::to_string(l.states[k]);
        }
        s += "},\n     \"endangered\": [";
        for (std::size_t k = 0; k < l.endangered.size(); ++k) {
            const listed& e = l.endangered[k];
            s += std::string(k ? ",\n       " : "\n       ") +
                 "{\"fid\": " + std::to_string(e.fid) + ", \"label\": " + quoted(e.label) +
                 ", \"level\": " + std::to_string(e.level) + ", \"crit\": \"" + e.crit +
                 "\", \"h\": " + plain(e.h) + ", \"q\": " + plain(e.q) + ", \"x\": " + plain(e.x) +
                 ", \"east\": " + number(e.east) + ", \"north\": " + number(e.north) + "}";
        }
        s += "],\n     \"open\": [";
        for (std::size_t k = 0; k < l.open.size(); ++k) {
            const listed& e = l.open[k];
            s += std::string(k ? ",\n       " : "\n       ") +
                 "{\"fid\": " + std::to_string(e.fid) + ", \"label\": " + quoted(e.label) +
                 ", \"why\": [" + status_list(e.statuses & ~1u, ", ") +
                 "], \"skipped\": " + (e.failed ? "true" : "false") + "}";
        }
        s += "],\n     \"settled\": [";
        for (std::size_t k = 0; k < l.settled.size(); ++k) {
            const listed& e = l.settled[k];
            s += std::string(k ? ",\n       " : "\n       ") +
                 "{\"fid\": " + std::to_string(e.fid) + ", \"label\": " + quoted(e.label) +
                 ", \"state\": \"" + state_key(e.st) + "\", \"why\": [" +
                 status_list(e.statuses & ~1u, ", ") + "]}";
        }
        s += "]}";
    }
    s += "\n  ]\n}\n";
    return s;
}

} // namespace orv::assess
