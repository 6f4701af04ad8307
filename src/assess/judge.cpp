// The worst point of a feature by the model's own stages.
#include "assess/judge.h"

#include <cmath>
#include <cstring>

#include "map/extent.h"
#include "model/point.h"

namespace orv::assess {

namespace {

std::uint32_t bits(real v) {
    std::uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

// The lateral stage as the batch and grid run it: bit for bit make_result.
intensity lateral_at(const site& s, const station& t, real ay) {
    return make_result_scaled(s, t, ay, lateral_scale(s, ay));
}

// The level at |y| = ay beside station t, no_level when t has no result.
int level_at(const frame& f, const station& t, real ay) {
    if (t.st != 0) return no_level;
    return danger_level(0, lateral_at(f.s, t, ay), f.lv);
}

} // namespace

frame make_frame(const site& s, const levels& lv, const map::georef& g) {
    frame f{s, lv, g};
    f.turn = prepare_turn(g);
    if (const auto r = map::find_table_range(s)) {
        f.has_near = true;
        f.near_x = static_cast<real>(r->near);
        f.near = make_station(s, f.near_x);
        f.has_far = true;
        f.far_x = std::nextafter(static_cast<real>(r->far), real{0});
        f.far = make_station(s, f.far_x);
    }
    return f;
}

const char* state_key(state st) {
    switch (st) {
    case state::full: return "full";
    case state::part: return "part";
    case state::none: return "none";
    case state::upstream: return "upstream";
    case state::empty: return "empty";
    }
    return "";
}

const char* criterion(const verdict& v, const levels& lv) {
    if (v.level < 1) return nullptr;
    const double t = lv.t[v.level - 1];
    const bool h = static_cast<double>(v.worst.h) > t;
    const bool q = static_cast<double>(v.worst.q) > t;
    return h && q ? "hq" : h ? "h" : "q";
}

bool is_open(const verdict& v, int from) {
    const bool endangered = v.level != no_level && v.level >= from;
    return !endangered && (v.failed || v.start >= from || v.end >= from);
}

std::string open_reason(const verdict& v, int from) {
    if (v.failed) return "Geometrie nicht lesbar";
    std::string s;
    if (v.start >= from) s = "nahe der Bresche (Status 1)";
    if (v.end >= from)
        s += (s.empty() ? "" : ", ") + std::string("jenseits der Tabellen (Status 2)");
    return s + ", wo die Zone Stufe " + std::to_string(from) + " oder h\u00f6her erreicht";
}

// The station at x > 0; neighbouring samples often share x: its distance
// stage once.
const station& judge::station_at(real x) {
    if (!have_station_ || bits(x) != x_bits_) {
        t_ = make_station(f_.s, x);
        have_station_ = true;
        x_bits_ = bits(x);
    }
    return t_;
}

// The model at (x, |y| = ay); r set when the status is 0 with a level.
point_outcome judge::evaluate(real x, real ay, intensity& r) {
    point_outcome o;
    if (x < 0) {
        o.st = not_downstream;
    } else if (x == 0) {
        // On the breach itself: nearer than the tables begin, never upstream.
        o.st = 1;
    } else {
        o.st = station_at(x).st;
    }
    o.level = no_level;
    if (o.st == 1) {
        if (f_.has_near) o.level = level_at(f_, f_.near, ay);
    } else if (o.st == 2) {
        if (f_.has_far) o.level = level_at(f_, f_.far, ay);
    } else if (o.st == 0) {
        r = lateral_at(f_.s, t_, ay);
        o.level = danger_level(0, r, f_.lv);
        o.h = r.h;
        o.q = r.q;
    }
    return o;
}

// One sample's outcome into the verdict; r, when given, its results (else
// made again should the sample become the worst point).
void judge::add(const point_outcome& o, const xy& p, real x, real y, const intensity* r) {
    ++v_.n;
    v_.statuses |= 1u << (o.st & 31);
    if (o.st != 0) {
        ++v_.nores;
        if (o.st == 1) {
            v_.near = true;
            v_.start = std::max(v_.start, o.level);
        } else if (o.st == 2) {
            v_.beyond = true;
            v_.end = std::max(v_.end, o.level);
        }
        return;
    }
    if (o.level == no_level) {
        ++v_.nores;
        return;
    }
    // Highest level, then largest h, then largest q, then the first.
    const bool better =
        o.level > v_.level ||
        (o.level == v_.level && (o.h > v_.worst.h || (o.h == v_.worst.h && o.q > v_.worst.q)));
    if (!better) return;
    v_.level = o.level;
    v_.worst = r ? *r : lateral_at(f_.s, station_at(x), std::fabs(y));
    v_.x = x;
    v_.y = y;
    v_.east = p.e;
    v_.north = p.n;
}

void judge::take(const xy* p, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) {
        const map::jet_point j = map::to_jet(f_.turn, p[k].e, p[k].n);
        const real x = static_cast<real>(j.x);
        const real y = static_cast<real>(j.y);
        std::int32_t ki, mi;
        point_outcome o;
        const bool lattice = cache_ && cache_->index(p[k].e, p[k].n, ki, mi);
        if (lattice && cache_->find(ki, mi, o)) {
            add(o, p[k], x, y, nullptr);
            continue;
        }
        intensity r{};
        o = evaluate(x, std::fabs(y), r);
        if (lattice) cache_->put(ki, mi, o);
        add(o, p[k], x, y, &r);
    }
}

verdict judge::result() const {
    verdict v = v_;
    const std::uint32_t upstream_only = 1u << not_downstream;
    if (v.n == 0)
        v.st = state::empty;
    else if (v.nores == 0)
        v.st = state::full;
    else if (v.nores < v.n)
        v.st = state::part;
    else if (v.statuses == upstream_only)
        v.st = state::upstream;
    else
        v.st = state::none;
    return v;
}

} // namespace orv::assess
