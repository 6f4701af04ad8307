// Levelling the lines inside a map's box stretch by stretch.
#include "report/line_pieces.h"

#include <algorithm>
#include <memory>
#include <thread>

#include "assess/line_levels.h"
#include "base/workers.h"

namespace orv::report {

namespace {

// Whether o is coloured stretch by stretch: it has a level of 1 or more and
// a line part reaching into box.
bool in_pieces(const draw::map_object& o, const map::world_box& box) {
    if (o.level < 1 || o.cover == draw::coverage::none) return false;
    map::world_box b;
    for (const auto& p : o.parts) {
        if (p.kind != draw::map_object::line) continue;
        for (const auto& r : p.rings)
            for (const auto& w : r) b.add(w.e, w.n);
    }
    return !b.empty() && b.e0 <= box.e1 && box.e0 <= b.e1 && b.n0 <= box.n1 && box.n0 <= b.n1;
}

// The runs of o's line parts, in their order.
std::vector<draw::piece_run> runs_of(const draw::map_object& o, const assess::frame& f,
                                     double spacing) {
    std::vector<draw::piece_run> out;
    std::vector<assess::xy> v;
    for (const auto& p : o.parts) {
        if (p.kind != draw::map_object::line || p.rings.empty()) continue;
        v.clear();
        for (const auto& w : p.rings[0]) v.push_back({w.e, w.n});
        for (auto& run : assess::line_runs(f, spacing, v.data(), v.size())) {
            draw::piece_run d{run.level, {}};
            d.pts.reserve(run.pts.size());
            for (const auto& q : run.pts) d.pts.push_back({q.e, q.n});
            out.push_back(std::move(d));
        }
    }
    return out;
}

} // namespace

pieces_fn line_pieces(const assess::request& r) {
    auto f = std::make_shared<const assess::frame>(assess::make_frame(r.s, r.lv, r.g));
    const double spacing = r.spacing;
    const unsigned threads =
        r.threads ? r.threads : std::max(1u, std::thread::hardware_concurrency());
    return [f, spacing, threads](const map::world_box& box,
                                 const std::vector<draw::map_object>& objects) {
        std::vector<draw::object_pieces> out;
        for (std::size_t k = 0; k < objects.size(); ++k)
            if (in_pieces(objects[k], box)) out.push_back({k, {}});
        base::for_each(out.size(), threads, [&](unsigned, std::size_t i) {
            out[i].runs = runs_of(objects[out[i].object], *f, spacing);
        });
        // An object whose lines gave no stretch keeps its one colour.
        std::erase_if(out, [](const draw::object_pieces& p) { return p.runs.empty(); });
        return out;
    };
}

} // namespace orv::report
