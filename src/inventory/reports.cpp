// The report of one dam, built and written on the dam's own thread.
#include "inventory/reports.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "inventory/report_objects.h"
#include "map/image.h"
#include "report/build.h"
#include "report/document.h"

namespace orv::inventory {

bool write_report(const dam_row& d, const dam_rules& r, const report_setup& s,
                  const object_index& objs, const std::string& path, std::string& why, int& err) {
    err = 0;
    report::request q;
    q.judge.src = s.src;
    q.judge.spacing = s.spacing;
    q.judge.s = make_site(d.res.p);
    q.judge.lv = r.lv;
    q.judge.g = d.site.g;
    q.judge.from = r.from;
    q.judge.label = s.label;
    q.judge.keep_going = s.keep_going;
    q.judge.threads = 1; // one dam per thread
    q.p = d.res.p;
    q.corrected = !d.res.note.empty();
    q.given_slope = d.site.p.slp;
    q.grid.cell = r.cell;
    q.wkt = s.wkt;
    q.title = (s.title.empty() ? "Gefahrenbeurteilung" : s.title) + " Anlage " + d.id;
    q.author = s.author;
    q.picture.background = s.background;
    q.picture.opacity = s.opacity;
    q.version = s.version;
    q.command = s.command;
    q.date = s.date;
    q.hashes = &s.hashes;
    // The objects as the inventory holds them, judged for this dam alone.
    const report_judging j{objs, assess::make_frame(q.judge.s, r.lv, d.site.g), d.res, r.from,
                           s.label};
    q.judged = [&](const map::map_grid& g, report::object_list& list) {
        return judge_for_report(j, g, list);
    };
    report::content c;
    map::map_image image;
    std::vector<int32_t> columns;
    const report::built b = report::build(q, c, image, columns);
    if (b.end == assess::ending::bad_input || b.end == assess::ending::usage) {
        why = b.message;
        return false;
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        err = errno;
        why = "nicht schreibbar";
        return false;
    }
    bool ok = s.html ? report::write_html(c, f, why, err) : report::write_pdf(c, f, why, err);
    if (std::fclose(f) != 0 && ok) {
        err = errno;
        why = "nicht schreibbar";
        ok = false;
    }
    return ok;
}

std::string report_names::next(const std::string& id) {
    // At most 200 bytes, cut where a character begins.
    std::size_t n = std::min<std::size_t>(id.size(), 200);
    if (n < id.size()) {
        while (n > 0 && (static_cast<unsigned char>(id[n]) & 0xC0) == 0x80) --n;
    }
    std::string base(id, 0, n);
    if (base.empty()) base.push_back('_');
    for (char& c : base) {
        if (c == '/' || c == '\0') c = '_';
    }
    if (base.front() == '.') base.front() = '_';
    std::string name = base + ext_;
    for (int k = 2; !used_.insert(name).second; ++k) name = base + "_" + std::to_string(k) + ext_;
    return name;
}

} // namespace orv::inventory
