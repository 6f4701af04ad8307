// Judging with the shared lattice cache gives every verdict bit for bit as
// judging each sample alone: objects sharing cells, touching, with holes,
// with edges on lattice lines, at several spacings, on one and two threads,
// and with a table so small that its slots are overwritten all the time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "assess/judge.h"
#include "assess/lattice_cache.h"
#include "base/workers.h"
#include "model/params.h"

namespace {

using orv::assess::xy;
using rings = std::vector<std::vector<xy>>;

const orv::map::georef jet{2600000, 1200000, 120};

// The world point at (x, y) in the jet's frame.
xy world(double x, double y) {
    const double a = jet.azimuth * 3.14159265358979323846 / 180;
    return {jet.e0 + x * std::sin(a) - y * std::cos(a), jet.n0 + x * std::cos(a) + y * std::sin(a)};
}

// A closed world rectangle with corners on the lattice of spacing s near (x, y).
std::vector<xy> box(double x, double y, double w, double h, double s) {
    const xy c = world(x, y);
    const double e = std::floor(c.e / s) * s, n = std::floor(c.n / s) * s;
    return {{e, n}, {e + w, n}, {e + w, n + h}, {e, n + h}, {e, n}};
}

// A closed quadrilateral turned in the jet's frame, corners off the lattice.
std::vector<xy> turned(double x, double y, double size) {
    return {world(x - size, y), world(x, y - size), world(x + size, y), world(x, y + size),
            world(x - size, y)};
}

// Objects over the jet: near the breach (status 1), far beyond the tables
// (status 2), upstream, with levels; overlapping, touching, holed.
std::vector<rings> objects(double s) {
    std::vector<rings> out;
    for (double x : {-20.0, 0.5, 15.0, 40.0, 120.0, 400.0, 5000.0}) {
        for (double y : {-30.0, -4.0, 0.0, 3.0, 25.0}) {
            out.push_back({box(x, y, 12, 9, s)});
            out.push_back({box(x, y, 12, 9, s)});           // the same cells again
            out.push_back({box(x, y + 9, 12, 9, s)});       // touching its north edge
            out.push_back({turned(x + 3, y + 2, 7.3)});     // overlapping, off the lattice
            out.push_back({box(x - 4, y - 4, 20, 20, s),    // a hole over the first one
                           box(x, y, 12, 9, s)});
        }
    }
    return out;
}

// Every field of a verdict, compared by its bits.
void expect_same(const orv::assess::verdict& a, const orv::assess::verdict& b, const char* what) {
    auto bits = [](const auto& v) {
        std::vector<unsigned char> out(sizeof v);
        std::memcpy(out.data(), &v, sizeof v);
        return out;
    };
    EXPECT_EQ(a.n, b.n) << what;
    EXPECT_EQ(a.nores, b.nores) << what;
    EXPECT_EQ(a.level, b.level) << what;
    EXPECT_EQ(bits(a.worst), bits(b.worst)) << what;
    EXPECT_EQ(bits(a.x), bits(b.x)) << what;
    EXPECT_EQ(bits(a.y), bits(b.y)) << what;
    EXPECT_EQ(bits(a.east), bits(b.east)) << what;
    EXPECT_EQ(bits(a.north), bits(b.north)) << what;
    EXPECT_EQ(a.start, b.start) << what;
    EXPECT_EQ(a.end, b.end) << what;
    EXPECT_EQ(a.near, b.near) << what;
    EXPECT_EQ(a.beyond, b.beyond) << what;
    EXPECT_EQ(a.statuses, b.statuses) << what;
    EXPECT_EQ(a.st, b.st) << what;
}

orv::assess::verdict judged(const rings& r, const orv::assess::frame& f, double s,
                            orv::assess::lattice_cache* c) {
    orv::assess::judge j(f, c);
    std::vector<xy> buf;
    orv::assess::sampler smp(s, j, buf);
    smp.polygon(r);
    smp.flush();
    return j.result();
}

struct cache_case {
    const char* name;
    double s;
    unsigned threads;
    unsigned slot_bits;
};

TEST(AssessLatticeCache, SharedLatticeGivesTheVerdictsOfEachSampleAlone) {
    orv::params p;
    p.h = 8, p.b = 20, p.vol = 60000, p.slp = 6, p.dm = 0.1f;
    const orv::assess::frame f = orv::assess::make_frame(orv::make_site(p), {}, jet);
    const std::vector<cache_case> cases = {
        {"s1_one_thread", 1, 1, 18},  {"s1_two_threads", 1, 2, 18},
        {"s025_one_thread", 0.25, 1, 18}, {"s025_two_threads", 0.25, 2, 18},
        {"s2_two_threads", 2, 2, 18}, {"tiny_table", 0.25, 2, 2},
    };
    for (const cache_case& c : cases) {
        const std::vector<rings> objs = objects(c.s);
        std::vector<orv::assess::verdict> alone, shared(objs.size());
        std::uint32_t statuses = 0;
        int top = orv::no_level;
        for (const rings& r : objs) {
            alone.push_back(judged(r, f, c.s, nullptr));
            statuses |= alone.back().statuses;
            top = std::max(top, alone.back().level);
        }
        // The objects reach every kind of sample: results, both ends, upstream.
        EXPECT_EQ(statuses & 0b100111u, 0b100111u) << c.name;
        EXPECT_EQ(top, 3) << c.name;
        orv::assess::lattice_cache cache(c.s, c.slot_bits);
        // Twice: the second round reads what the first one kept.
        for (int round = 0; round < 2; ++round) {
            orv::base::for_each(objs.size(), c.threads, [&](unsigned, std::size_t k) {
                shared[k] = judged(objs[k], f, c.s, &cache);
            });
            for (std::size_t k = 0; k < objs.size(); ++k) expect_same(alone[k], shared[k], c.name);
        }
    }
}

TEST(AssessLatticeCache, StatusesAndLevelsSurviveTheTable) {
    struct row {
        orv::assess::point_outcome o;
    };
    const std::vector<row> rows = {
        {{0, 3, 1.5f, 7.25f}}, {{0, -1, NAN, 0}}, {{1, 2, 0, 0}},
        {{2, -1, 0, 0}},       {{5, -1, 0, 0}},   {{0, 0, -0.0f, 1e-30f}},
    };
    orv::assess::lattice_cache cache(1, 4);
    std::int32_t k = -7;
    for (const row& r : rows) {
        cache.put(k, 3, r.o);
        orv::assess::point_outcome got;
        ASSERT_TRUE(cache.find(k, 3, got));
        EXPECT_EQ(got.st, r.o.st);
        EXPECT_EQ(got.level, r.o.level);
        EXPECT_EQ(std::memcmp(&got.h, &r.o.h, sizeof got.h), 0);
        EXPECT_EQ(std::memcmp(&got.q, &r.o.q, sizeof got.q), 0);
        // Another point of the same slot is no hit.
        EXPECT_FALSE(cache.find(k + 16, 3, got));
        ++k;
    }
}

TEST(AssessLatticeCache, OnlyExactLatticePointsHaveAnIndex) {
    struct row {
        double s, e, n;
        bool lattice;
        std::int32_t k, m;
    };
    const std::vector<row> rows = {
        {1, 0.5, -0.5, true, 0, -1},
        {0.25, 2600000.125, 1200000.375, true, 10400000, 4800001},
        {1, 0.5000000001, 0.5, false, 0, 0},
        {1, 1.0, 0.5, false, 0, 0},
        {1, 3e9, 0.5, false, 0, 0},  // beyond 32-bit indices
        {0.1, 0.35, 0.05, false, 0, 0}, // 3.5 * 0.1 is not the double 0.35
        {0.1, 3.5 * 0.1, 0.5 * 0.1, true, 3, 0},
    };
    for (const row& r : rows) {
        orv::assess::lattice_cache cache(r.s, 4);
        std::int32_t k = 0, m = 0;
        EXPECT_EQ(cache.index(r.e, r.n, k, m), r.lattice) << r.e << " " << r.n;
        if (!r.lattice) continue;
        EXPECT_EQ(k, r.k) << r.e;
        EXPECT_EQ(m, r.m) << r.n;
    }
}

} // namespace
