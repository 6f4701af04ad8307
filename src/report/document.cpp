// Laying out a report: A4 pages with cairo, or one HTML file.
#include "report/document.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>

#include "draw/text.h"
#include "report/blocks.h"
#include "report/svg_ids.h"

namespace orv::report {

namespace {

constexpr double margin = 48;
constexpr double body = 9.5;

// A stream and the errno of its first failed write.
struct sink {
    std::FILE* f;
    int err = 0;
};

// Cairo's writer into a stream, and into a string.
cairo_status_t to_file(void* closure, const unsigned char* data, unsigned int length) {
    auto* s = static_cast<sink*>(closure);
    if (std::fwrite(data, 1, length, s->f) == length) return CAIRO_STATUS_SUCCESS;
    if (s->err == 0) s->err = errno;
    return CAIRO_STATUS_WRITE_ERROR;
}
cairo_status_t to_string(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// The lines of s, broken at blanks (inside a word too long for a line)
// so that each fits into width in the current font.
std::vector<std::string> wrap(cairo_t* cr, const std::string& s, double width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t k = 0;
    while (k < s.size()) {
        std::size_t e = s.find(' ', k);
        if (e == std::string::npos) e = s.size();
        std::string word = s.substr(k, e - k);
        k = e + 1;
        const std::string joined = line.empty() ? word : line + " " + word;
        if (draw::text_width(cr, joined) <= width) {
            line = joined;
            continue;
        }
        if (!line.empty()) lines.push_back(line);
        line.clear();
        // A word wider than a line is broken between characters (UTF-8 aware).
        while (draw::text_width(cr, word) > width) {
            std::size_t cut = word.size();
            while (cut > 1 && draw::text_width(cr, word.substr(0, cut)) > width) {
                --cut;
                while (cut > 1 && (static_cast<unsigned char>(word[cut]) & 0xc0) == 0x80) --cut;
            }
            lines.push_back(word.substr(0, cut));
            word = word.substr(cut);
        }
        line = word;
    }
    if (!line.empty() || lines.empty()) lines.push_back(line);
    return lines;
}

// Pages filled from top to bottom.
class pdf_pages {
  public:
    pdf_pages(cairo_t* cr, std::string footer) : cr_(cr), footer_(std::move(footer)) {}

    double width() const { return page_width - 2 * margin; }
    double left() const { return bottom() - y_; }
    // A new page unless the current one has h points left.
    void need(double h) {
        if (y_ + h > bottom() && y_ > margin) next();
    }
    void next() {
        finish_page();
        cairo_show_page(cr_);
        ++page_;
        y_ = margin;
    }
    void finish_page() {
        cairo_save(cr_);
        cairo_set_source_rgb(cr_, 0.35, 0.35, 0.35);
        draw::font(cr_, 7.5);
        draw::text(cr_, margin, page_height - 28, footer_);
        draw::text(cr_, page_width - margin, page_height - 28, "Seite " + std::to_string(page_),
                   draw::align::right);
        cairo_restore(cr_);
    }
    // Lines of text in the current font at x, each h high.
    void lines(const std::vector<std::string>& ls, double x, double h) {
        for (const std::string& l : ls) {
            need(h);
            draw::text(cr_, x, y_ + h * 0.78, l);
            y_ += h;
        }
    }
    double& y() { return y_; }

  private:
    double bottom() const { return page_height - margin - 10; }
    cairo_t* cr_;
    std::string footer_;
    double y_ = margin;
    int page_ = 1;
};

// One table row: cells wrapped into their columns; returns its height.
double row_height(cairo_t* cr, const std::vector<std::string>& cells,
                  const std::vector<double>& widths, double w, double lh) {
    std::size_t most = 1;
    for (std::size_t k = 0; k < cells.size(); ++k)
        most = std::max(most, wrap(cr, cells[k], widths[k] * w - 4).size());
    return static_cast<double>(most) * lh + 3;
}

void draw_row(cairo_t* cr, pdf_pages& pg, const std::vector<std::string>& cells,
              const std::vector<double>& widths, double lh, double h) {
    double x = margin;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const auto ls = wrap(cr, cells[k], widths[k] * pg.width() - 4);
        for (std::size_t i = 0; i < ls.size(); ++i)
            draw::text(cr, x + 2, pg.y() + 1.5 + lh * (static_cast<double>(i) + 0.78), ls[i]);
        x += widths[k] * pg.width();
    }
    pg.y() += h;
}

// A table whose heading is repeated on every page it continues on.
void draw_table(cairo_t* cr, pdf_pages& pg, const block& b) {
    const double lh = 10;
    auto heading = [&] {
        cairo_save(cr);
        draw::font(cr, 8, true);
        const double h = row_height(cr, b.head, b.widths, pg.width(), lh);
        cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
        cairo_rectangle(cr, margin, pg.y(), pg.width(), h);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        draw_row(cr, pg, b.head, b.widths, lh, h);
        cairo_restore(cr);
    };
    pg.need(3 * lh + 10);
    heading();
    draw::font(cr, 8);
    for (const auto& r : b.rows) {
        const double h = row_height(cr, r, b.widths, pg.width(), lh);
        if (h > pg.left()) {
            pg.next();
            heading();
            draw::font(cr, 8);
        }
        draw_row(cr, pg, r, b.widths, lh, h);
        cairo_set_source_rgb(cr, 0.8, 0.8, 0.8);
        cairo_set_line_width(cr, 0.4);
        cairo_move_to(cr, margin, pg.y());
        cairo_line_to(cr, margin + pg.width(), pg.y());
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
    }
    pg.y() += 8;
}

// The verdict in a framed box.
void draw_verdict(cairo_t* cr, pdf_pages& pg, const block& b) {
    const double h = 24 + 13 * static_cast<double>(b.lines.size());
    pg.need(h + 10);
    const double y = pg.y();
    cairo_set_source_rgb(cr, 0.96, 0.96, 0.96);
    cairo_rectangle(cr, margin, y, pg.width(), h);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    draw::font(cr, 13, true);
    draw::text(cr, margin + 10, y + 18, b.text);
    draw::font(cr, body);
    for (std::size_t k = 0; k < b.lines.size(); ++k)
        draw::text(cr, margin + 10, y + 33 + 13 * static_cast<double>(k), b.lines[k]);
    pg.y() += h + 12;
}

// The planned map at the page's current place, h high; returns the
// labels that found no place.
std::vector<std::string> draw_map_here(cairo_t* cr, pdf_pages& pg, const world_plan& plan,
                                       double h) {
    cairo_save(cr);
    cairo_translate(cr, margin, pg.y());
    cairo_rectangle(cr, 0, 0, pg.width(), h);
    cairo_clip(cr);
    const std::vector<std::string> dropped = draw_world(cr, plan);
    cairo_restore(cr);
    pg.y() += h + 4;
    return dropped;
}

// A small note under a map; nothing for an empty one.
void map_note(cairo_t* cr, pdf_pages& pg, const std::string& s) {
    if (s.empty()) return;
    draw::font(cr, 8);
    pg.lines(wrap(cr, s, pg.width()), margin, 10);
    pg.y() += 2;
}

// The map in the rest of the page, at least 330 points high, room left
// under it for two lines naming the labels without place; then, when some
// object lies outside it, the overview on the next page.
bool draw_map_block(cairo_t* cr, pdf_pages& pg, const content& c, std::string& why) {
    pg.need(330);
    const double h = std::min(pg.left() - 24, 470.0);
    world_plan plan;
    if (!plan_world(c.map, pg.width(), h, 150, plan, why)) return false;
    map_note(cr, pg, dropped_line(draw_map_here(cr, pg, plan, h)));
    std::optional<overview_plan> o;
    const double oh = 520;
    if (!plan_overview(c.map, plan, c.tables_end, pg.width(), oh, 150, o, why)) return false;
    if (o) {
        pg.need(oh + 30); // a page of its own, or the rest of the page a long note began
        map_note(cr, pg, dropped_line(draw_map_here(cr, pg, o->plan, oh)));
        map_note(cr, pg, beyond_line(c.list.drawn, o->beyond, c.layers));
    }
    pg.y() += 4;
    return true;
}

// Draws a block of text (title, subtitle, heading, paragraph, monospaced
// text, pairs) at the page's current place.
void draw_text_block(cairo_t* cr, pdf_pages& pg, const block& b) {
    switch (b.k) {
    case block::title:
        draw::font(cr, 19, true);
        pg.lines(wrap(cr, b.text, pg.width()), margin, 24);
        break;
    case block::subtitle:
        draw::font(cr, body);
        pg.lines(wrap(cr, b.text, pg.width()), margin, 13);
        pg.y() += 8;
        break;
    case block::heading:
        pg.need(60);
        pg.y() += 6;
        draw::font(cr, 13, true);
        pg.lines(wrap(cr, b.text, pg.width()), margin, 18);
        pg.y() += 3;
        break;
    case block::para:
        draw::font(cr, body);
        pg.lines(wrap(cr, b.text, pg.width()), margin, 12.5);
        pg.y() += 5;
        break;
    case block::mono:
        cairo_select_font_face(cr, "monospace", CAIRO_FONT_SLANT_NORMAL,
                               CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, 7.5);
        pg.lines(wrap(cr, b.text, pg.width() - 10), margin + 10, 10);
        pg.y() += 6;
        break;
    case block::pairs:
        draw::font(cr, body);
        for (const auto& [k, v] : b.kv) {
            const auto ls = wrap(cr, v, pg.width() * 0.6);
            pg.need(12.5 * static_cast<double>(ls.size()));
            draw::text(cr, margin, pg.y() + 9.75, k);
            pg.lines(ls, margin + pg.width() * 0.4, 12.5);
        }
        pg.y() += 8;
        break;
    default: break;
    }
}

// Draws the profile along the jet's centre line.
void draw_profile_block(cairo_t* cr, pdf_pages& pg, const content& c) {
    const double h = 330;
    pg.need(h);
    cairo_save(cr);
    cairo_translate(cr, margin, pg.y());
    draw::draw_profile(cr, pg.width(), h, c.profile);
    cairo_restore(cr);
    pg.y() += h + 6;
}

bool draw_blocks(cairo_t* cr, const content& c, std::string& why) {
    pdf_pages pg(cr, c.title + " \u00b7 " + date_text(c.date));
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (const block& b : compose(c)) {
        switch (b.k) {
        case block::table: draw_table(cr, pg, b); break;
        case block::verdict: draw_verdict(cr, pg, b); break;
        case block::map:
            if (!draw_map_block(cr, pg, c, why)) return false;
            break;
        case block::profile: draw_profile_block(cr, pg, c); break;
        case block::page: pg.next(); break;
        default: draw_text_block(cr, pg, b); break;
        }
        cairo_set_source_rgb(cr, 0, 0, 0);
    }
    pg.finish_page();
    return true;
}

// Text for HTML: &, <, > and " escaped.
std::string esc(const std::string& s) {
    std::string o;
    for (char ch : s) {
        if (ch == '&')
            o += "&amp;";
        else if (ch == '<')
            o += "&lt;";
        else if (ch == '>')
            o += "&gt;";
        else if (ch == '"')
            o += "&quot;";
        else
            o += ch;
    }
    return o;
}

// A picture drawn by draw as SVG text, without the XML declaration, appended
// to the page out with ids of its own.
template <class F> bool svg(double w, double h, std::string& out, const F& draw) {
    std::string s;
    cairo_surface_t* sf = cairo_svg_surface_create_for_stream(to_string, &s, w, h);
    cairo_t* cr = cairo_create(sf);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    draw(cr);
    cairo_status_t st = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_finish(sf);
    if (st == CAIRO_STATUS_SUCCESS) st = cairo_surface_status(sf);
    cairo_surface_destroy(sf);
    const auto start = s.find("<svg");
    embed_svg(out, start == std::string::npos ? std::string_view(s)
                                              : std::string_view(s).substr(start));
    return st == CAIRO_STATUS_SUCCESS;
}

} // namespace

std::string date_text(std::time_t t) {
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d", &tm);
    return buf;
}

bool report_date(std::time_t& t) {
    const char* s = std::getenv("SOURCE_DATE_EPOCH");
    if (!s) {
        // Today as a day: reports made on one day are the same bytes.
        const std::time_t now = std::time(nullptr);
        t = now - now % 86400;
        return true;
    }
    long long v = 0;
    const char* e = s + std::char_traits<char>::length(s);
    const auto r = std::from_chars(s, e, v);
    if (r.ec != std::errc() || r.ptr != e || v < 0 || v > max_epoch) return false;
    t = static_cast<std::time_t>(v);
    return true;
}

bool write_pdf(const content& c, std::FILE* out, std::string& why, int& err) {
    sink to{out};
    cairo_surface_t* s = cairo_pdf_surface_create_for_stream(to_file, &to, page_width, page_height);
    std::tm tm{};
    gmtime_r(&c.date, &tm);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &tm);
    cairo_pdf_surface_set_metadata(s, CAIRO_PDF_METADATA_TITLE, c.title.c_str());
    cairo_pdf_surface_set_metadata(s, CAIRO_PDF_METADATA_AUTHOR, c.author.c_str());
    cairo_pdf_surface_set_metadata(s, CAIRO_PDF_METADATA_CREATOR, ("orvalis " + c.version).c_str());
    cairo_pdf_surface_set_metadata(s, CAIRO_PDF_METADATA_CREATE_DATE, stamp);
    cairo_pdf_surface_set_metadata(s, CAIRO_PDF_METADATA_MOD_DATE, stamp);
    cairo_t* cr = cairo_create(s);
    const bool drawn = draw_blocks(cr, c, why);
    cairo_status_t st = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_finish(s);
    if (st == CAIRO_STATUS_SUCCESS) st = cairo_surface_status(s);
    cairo_surface_destroy(s);
    err = to.err;
    if (!drawn) return false;
    if (st != CAIRO_STATUS_SUCCESS) {
        why = st == CAIRO_STATUS_WRITE_ERROR
                  ? "Schreibfehler"
                  : std::string("PDF nicht erzeugbar (") + cairo_status_to_string(st) + ")";
        return false;
    }
    return true;
}

namespace {

// The document's head: its title and the page's style.
std::string html_head(const std::string& title) {
    return "<!DOCTYPE html>\n<html lang=\"de-CH\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<title>" +
           esc(title) +
           "</title>\n<style>\n"
           "body{font-family:'DejaVu Sans',sans-serif;max-width:52em;margin:2em auto;"
           "padding:0 1em;font-size:11pt}\n"
           "table{border-collapse:collapse;margin:0.5em 0 1em}\n"
           "td,th{border-bottom:1px solid #ccc;padding:2px 6px;text-align:left;"
           "vertical-align:top}\nth{background:#e6e6e6}\n"
           ".verdict{border:2px solid #000;background:#f5f5f5;padding:0.5em 1em;"
           "margin:1em 0}\n.verdict b{font-size:1.3em}\n"
           "pre{white-space:pre-wrap;word-break:break-all;font-size:9pt}\n"
           "svg{max-width:100%;height:auto}\n</style>\n</head>\n<body>\n";
}

// Appends block b of the document c to h; false with why.
bool html_block(const block& b, const content& c, std::string& h, std::string& why) {
    switch (b.k) {
    case block::title: h += "<h1>" + esc(b.text) + "</h1>\n"; return true;
    case block::subtitle: h += "<p>" + esc(b.text) + "</p>\n"; return true;
    case block::heading: h += "<h2>" + esc(b.text) + "</h2>\n"; return true;
    case block::para: h += "<p>" + esc(b.text) + "</p>\n"; return true;
    case block::mono: h += "<pre>" + esc(b.text) + "</pre>\n"; return true;
    case block::pairs:
        h += "<table>\n";
        for (const auto& [k, v] : b.kv)
            h += "<tr><th>" + esc(k) + "</th><td>" + esc(v) + "</td></tr>\n";
        h += "</table>\n";
        return true;
    case block::table:
        h += "<table>\n<tr>";
        for (const auto& t : b.head) h += "<th>" + esc(t) + "</th>";
        h += "</tr>\n";
        for (const auto& r : b.rows) {
            h += "<tr>";
            for (const auto& t : r) h += "<td>" + esc(t) + "</td>";
            h += "</tr>\n";
        }
        h += "</table>\n";
        return true;
    case block::verdict:
        h += "<div class=\"verdict\"><b>" + esc(b.text) + "</b>";
        for (const auto& l : b.lines) h += "<br>" + esc(l);
        h += "</div>\n";
        return true;
    case block::map: {
        // The map, the labels without place, and the overview when needed.
        const double w = 800, ht = 560;
        world_plan plan;
        if (!plan_world(c.map, w, ht, 150, plan, why)) return false;
        std::optional<overview_plan> o;
        if (!plan_overview(c.map, plan, c.tables_end, w, ht, 150, o, why)) return false;
        std::vector<std::string> dropped;
        bool drawn = svg(w, ht, h, [&](cairo_t* cr) { dropped = draw_world(cr, plan); });
        h += "\n";
        if (!dropped.empty()) h += "<p><small>" + esc(dropped_line(dropped)) + "</small></p>\n";
        if (drawn && o) {
            drawn = svg(w, ht, h, [&](cairo_t* cr) { dropped = draw_world(cr, o->plan); });
            h += "\n";
            for (const std::string& n : {dropped_line(dropped),
                                         beyond_line(c.list.drawn, o->beyond, c.layers)})
                if (!n.empty()) h += "<p><small>" + esc(n) + "</small></p>\n";
        }
        if (!drawn) why = "Karte nicht zeichenbar";
        return drawn;
    }
    case block::profile:
        if (!svg(800, 520, h, [&](cairo_t* cr) { draw::draw_profile(cr, 800, 520, c.profile); })) {
            why = "Profil nicht zeichenbar";
            return false;
        }
        h += "\n";
        return true;
    case block::page: return true;
    }
    return true;
}

} // namespace

bool write_html(const content& c, std::FILE* out, std::string& why, int& err) {
    std::string h = html_head(c.title);
    for (const block& b : compose(c)) {
        if (!html_block(b, c, h, why)) return false;
    }
    h += "</body>\n</html>\n";
    if (std::fwrite(h.data(), 1, h.size(), out) != h.size() || std::fflush(out) != 0) {
        err = errno;
        why = "Schreibfehler";
        return false;
    }
    return true;
}

} // namespace orv::report
