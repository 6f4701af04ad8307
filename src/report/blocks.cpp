// The report's text: what each section says.
#include "report/blocks.h"

#include <cmath>
#include <span>

#include "base/level_text.h"
#include "base/number_text.h"

namespace orv::report {

namespace {

// "mindestens " before an open figure.
std::string at_least(bool open, const std::string& v) {
    return (open ? "mindestens " : "") + v;
}

// The verdict in words.
std::string verdict_word(const std::string& v) {
    if (v == "yes") return "ja";
    if (v == "open") return "offen";
    return "nein";
}

// "1 Objekt" or "3 Objekte".
std::string objects_text(std::size_t n) {
    return counted(n, "Objekt", "Objekte");
}

// How much of an object has a result, in words.
std::string state_word(const std::string& key) {
    if (key == "full") return "ganz";
    if (key == "part") return "teilweise";
    return "keine";
}

// The level at an end of the tables, "ohne Stufe" when it has no result there.
std::string edge_level(int k) {
    return k < 0 ? "ohne Stufe" : level_name(k);
}

// Why an object without a result has none: each status it met in words,
// with where the tables begin or end and the level the zone has there.
std::string no_result_reason(const object_row& r, const content& c) {
    if (!r.why.empty()) return r.why;
    std::string s;
    for (int k = 1; k <= 5; ++k) {
        if (!(r.statuses >> k & 1)) continue;
        if (!s.empty()) s += "; ";
        if (k == 1 && c.has_tables)
            s += "nahe der Bresche bis x = " + three_digits(static_cast<real>(c.near_x)) +
                 " m (Status 1), am Rand der Tabellen " + edge_level(r.start);
        else if (k == 2 && c.has_tables)
            s += "jenseits der Tabellen ab x = " + three_digits(static_cast<real>(c.far_x)) +
                 " m (Status 2), am Rand der Tabellen " + edge_level(r.end);
        else
            s += statuses_text(1u << k);
    }
    return s;
}

// Whether an object without a result leaves the verdict open.
bool leaves_open(const object_row& r, int from) {
    return r.failed || r.start >= from || r.end >= from;
}

block make(block::kind k, std::string text = "") {
    block b{k, std::move(text), {}, {}, {}, {}, {}};
    return b;
}

// Title, date, author, version; parameters and georeference; the verdict; the map.
void first_page(const content& c, std::vector<block>& out) {
    out.push_back(make(block::title, c.title));
    std::string sub = "Datum " + date_text(c.date);
    if (!c.author.empty()) sub += " \u00b7 " + c.author;
    sub += " \u00b7 orvalis " + c.version;
    out.push_back(make(block::subtitle, sub));

    block v = make(block::verdict, "Gef\u00e4hrdete Objekte: " + verdict_word(c.verdict));
    v.lines.push_back("Kriterium: Stufe \u2265 " + std::to_string(c.from));
    v.lines.push_back(objects_text(c.at_from) + " mit Stufe \u2265 " + std::to_string(c.from) +
                      ", " + objects_text(c.open) + " offen, " + objects_text(c.objects) +
                      " beurteilt");
    if (!c.warning.empty()) v.lines.push_back("Warnung: " + c.warning);

    const params& p = c.site.site;
    block s = make(block::pairs);
    std::string slope = figure(p.slp) + " %";
    if (c.site.corrected) slope += " (korrigiert, angegeben " + figure(c.site.given_slope) + " %)";
    s.kv = {{"Stauh\u00f6he H", figure(p.h) + " m"},
            {"Breschenbreite B", figure(p.b) + " m"},
            {"Volumen Vol", figure(p.vol) + " m\u00b3"},
            {"Gef\u00e4lle S", slope},
            {"Korndurchmesser D", figure(p.dm) + " m"},
            {"Schwellen der Stufen 1, 2, 3",
             figure(c.site.lv.t[0]) + ", " + figure(c.site.lv.t[1]) + ", " +
                 figure(c.site.lv.t[2]) + " (h in m, q in m\u00b2/s)"},
            {"Bresche (E, N)", grouped(c.g.e0, 0) + ", " + grouped(c.g.n0, 0)},
            {"Richtung des Strahls",
             figure(static_cast<real>(c.g.azimuth)) + "\u00b0 im Uhrzeigersinn von Norden"},
            {"Koordinatensystem", c.crs_name},
            {"Zellgr\u00f6sse der Karte", figure(static_cast<real>(c.site.x.cell)) + " m"},
            {"Abstand der Stichproben", figure(static_cast<real>(c.spacing)) + " m"}};
    out.push_back(s);
    out.push_back(v);
    out.push_back(make(block::map));
}

// The profile and the table of the zones.
void zones_page(const content& c, std::vector<block>& out) {
    out.push_back(make(block::page));
    out.push_back(make(block::heading, "Profil entlang der Mittellinie"));
    out.push_back(make(block::profile));
    out.push_back(make(block::heading, "Gefahrenzonen"));
    block t = make(block::table);
    t.head = {"Stufe", "Reichweite x", "gr\u00f6sste Halbbreite", "Fl\u00e4che"};
    t.widths = {0.16, 0.28, 0.28, 0.28};
    const int d = std::max(0, std::min(3, orv::decimals(c.site.x.cell / 2)));
    for (int k = 0; k < 3; ++k) {
        const map::zone& z = c.zones.zones[k];
        const std::string name = k < 2 ? std::to_string(k + 1) + " und h\u00f6her" : "3";
        if (z.cells == 0) {
            t.rows.push_back({name, "keine Zelle", "", ""});
            continue;
        }
        t.rows.push_back({name, at_least(z.reach_open, fixed(z.reach, d) + " m"),
                          at_least(z.width_open, fixed(z.half_width, d) + " m"),
                          at_least(z.area_open, grouped(z.area, 0) + " m\u00b2")});
    }
    out.push_back(t);
    const map::no_result_zones& n = c.zones.none;
    std::string none;
    if (n.near_columns)
        none += std::string(near_zone_name) + " bis x = " + fixed(n.near_end, d) + " m. ";
    if (n.far_columns)
        none += std::string(far_zone_name) + " ab x = " + fixed(n.far_start, d) + " m. ";
    out.push_back(make(block::para, none + "\u201eMindestens\u201c: die Zone reicht bis an den "
                                           "Rand des Rasters oder der Tabellen."));
}

// The objects at level >= 1 and those without a result.
void objects_pages(const content& c, std::vector<block>& out) {
    out.push_back(make(block::page));
    out.push_back(make(block::heading, "Objekte ab Stufe 1"));
    block t = make(block::table);
    t.head = {"Objekt",  "Stufe", "Krit.", "h [m]", "q [m\u00b2/s]",
              "v [m/s]", "x [m]", "E [m]", "N [m]", "Zustand"};
    t.widths = {0.19, 0.06, 0.05, 0.11, 0.1, 0.1, 0.11, 0.095, 0.095, 0.09};
    // h and q never show a threshold they do not exceed; the worst point in
    // the site's system to the metre: where to look on a map.
    const std::span<const real> t3(c.site.lv.t);
    for (const object_row& r : c.list.endangered) {
        t.rows.push_back({c.layers[r.layer] + ": " + r.label, std::to_string(r.level), r.crit,
                          three_digits(r.h, t3), three_digits(r.q, t3), three_digits(r.v),
                          three_digits(r.x), grouped(r.east, 0), grouped(r.north, 0),
                          state_word(r.state)});
    }
    if (t.rows.empty())
        out.push_back(make(block::para, "Kein Objekt erreicht Stufe 1."));
    else
        out.push_back(t);
    out.push_back(make(block::heading, "Nicht beurteilbare Objekte"));
    block u = make(block::table);
    u.head = {"Objekt", "offen", "Grund"};
    u.widths = {0.3, 0.08, 0.62};
    for (const object_row& r : c.list.unassessed)
        u.rows.push_back({c.layers[r.layer] + ": " + r.label,
                          leaves_open(r, c.from) ? "ja" : "nein", no_result_reason(r, c)});
    if (u.rows.empty()) {
        out.push_back(make(block::para, "Alle Objekte wurden beurteilt."));
        return;
    }
    out.push_back(u);
    out.push_back(make(block::para, "\u201eoffen: ja\u201c: das Objekt l\u00e4sst das Urteil "
                                    "offen, weil die Zone am Rand der Tabellen bei ihm Stufe " +
                                        std::to_string(c.from) +
                                        " oder h\u00f6her erreicht oder seine Geometrie nicht "
                                        "lesbar war."));
}

// Method, limits and how to make the report again.
void method_page(const content& c, std::vector<block>& out) {
    out.push_back(make(block::page));
    out.push_back(make(block::heading, "Methode und Grenzen"));
    const auto& t = c.site.lv.t;
    for (const std::string& s : std::vector<std::string>{
             "Die Abflusstiefe h, der spezifische Abfluss q und die Fliessgeschwindigkeit v "
             "werden f\u00fcr eine offene, gleichm\u00e4ssig geneigte Ebene unterhalb der Bresche "
             "berechnet. Gel\u00e4nde, Geb\u00e4ude und Gerinne lenken die Flut nicht ab.",
             "Die Rechnung st\u00fctzt sich auf Tabellen mit einem begrenzten Bereich: zu nahe an "
             "der Bresche und jenseits der Tabellen gibt es kein Ergebnis. " +
                 not_computed_warning(charset::utf8),
             "Objekte, die nahe an der Bresche oder jenseits der Tabellen liegen, werden mit der "
             "Annahme beurteilt, dass die Zonen in Richtung Bresche und jenseits der Tabellen "
             "bei gleichem Abstand von der Achse nicht breiter werden: erreicht die Zone am Rand "
             "des Bereichs dort die Stufe " +
                 std::to_string(c.from) + ", bleibt die Beurteilung offen.",
             std::string(levels_heading) + ": " + level_name(1) + " bei " +
                 level_rule(t[0], charset::utf8) + ", " + level_name(2) + " bei " +
                 level_rule(t[1], charset::utf8) + ", " + level_name(3) + " bei " +
                 level_rule(t[2], charset::utf8) +
                 ". Ein Objekt erh\u00e4lt die h\u00f6chste Stufe seiner Stichproben."})
        out.push_back(make(block::para, s));
    out.push_back(make(block::heading, "Nachvollzug"));
    out.push_back(make(block::para, "Befehl:"));
    out.push_back(make(block::mono, c.command));
    out.push_back(make(block::para, "SHA-256 der Eingabedateien:"));
    block h = make(block::table);
    h.head = {"Datei", "SHA-256"};
    // Wide enough for 64 hexadecimal digits on one line.
    h.widths = {0.3, 0.7};
    for (const auto& [path, hex] : c.hashes) h.rows.push_back({path, hex});
    out.push_back(h);
}

} // namespace

std::string figure(real v) {
    return orv::plain(v);
}

std::vector<block> compose(const content& c) {
    std::vector<block> out;
    first_page(c, out);
    zones_page(c, out);
    objects_pages(c, out);
    method_page(c, out);
    return out;
}

} // namespace orv::report
