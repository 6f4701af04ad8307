// The report's text: what each section says.
#include "report/blocks.h"

#include <cmath>

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
    return std::to_string(n) + (n == 1 ? " Objekt" : " Objekte");
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
            {"D", figure(p.dm) + " m"},
            {"Schwellen der Stufen 1, 2, 3",
             figure(c.site.lv.t[0]) + ", " + figure(c.site.lv.t[1]) + ", " +
                 figure(c.site.lv.t[2]) + " (h in m, q in m\u00b2/s)"},
            {"Bresche (E, N)", grouped(c.g.e0, 2) + ", " + grouped(c.g.n0, 2)},
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
    // The worst point in the site's system to the metre: where to look on a map.
    for (const object_row& r : c.list.endangered) {
        t.rows.push_back({c.layers[r.layer] + ": " + r.label, std::to_string(r.level), r.crit,
                          figure(r.h), figure(r.q), figure(r.v), figure(r.x), grouped(r.east, 0),
                          grouped(r.north, 0), r.state});
    }
    if (t.rows.empty())
        out.push_back(make(block::para, "Kein Objekt erreicht Stufe 1."));
    else
        out.push_back(t);
    out.push_back(make(block::heading, "Nicht beurteilbare Objekte"));
    block u = make(block::table);
    u.head = {"Objekt", "Grund"};
    u.widths = {0.35, 0.65};
    for (const object_row& r : c.list.unassessed)
        u.rows.push_back({c.layers[r.layer] + ": " + r.label, r.why});
    if (u.rows.empty())
        out.push_back(make(block::para, "Alle Objekte wurden beurteilt."));
    else
        out.push_back(u);
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
    h.widths = {0.36, 0.64};
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
