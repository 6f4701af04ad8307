// Samples of lines and polygons: spacing, ring closure, holes, the
// half-open rule on lattice lines and the row order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "assess/sample.h"

namespace {

using orv::assess::sampler;
using orv::assess::xy;

struct collect : orv::assess::sample_sink {
    std::vector<xy> got;
    void take(const xy* p, std::size_t n) override { got.insert(got.end(), p, p + n); }
};

using ring = std::vector<xy>;

struct polygon_case {
    const char* name;
    double s;
    std::vector<ring> rings;
    std::vector<xy> lattice; // expected after the ring samples
};

TEST(AssessSample, PolygonRingsThenLatticeNorthToSouth) {
    const std::vector<polygon_case> cases = {
        // Edges on the lattice lines x = 0.5 and y = 0.5 hold their centres,
        // those on x = 2.5 and y = 2.5 do not.
        {"half_open",
         1,
         {{{0.5, 0.5}, {2.5, 0.5}, {2.5, 2.5}, {0.5, 2.5}, {0.5, 0.5}}},
         {{0.5, 1.5}, {1.5, 1.5}, {0.5, 0.5}, {1.5, 0.5}}},
        // A hole takes its centres out, whatever the rings' direction.
        {"hole",
         1,
         {{{0, 0}, {3, 0}, {3, 2}, {0, 2}, {0, 0}},
          {{1, 0.25}, {1, 1.75}, {2, 1.75}, {2, 0.25}, {1, 0.25}}},
         {{0.5, 1.5}, {2.5, 1.5}, {0.5, 0.5}, {2.5, 0.5}}},
        // Smaller than the spacing: no lattice point, the ring stands for it.
        {"small", 10, {{{1, 1}, {2, 1}, {2, 2}, {1, 1}}}, {}},
        // Negative coordinates and a spacing of 2: centres at odd numbers.
        {"negative",
         2,
         {{{-4, -4}, {0, -4}, {0, 0}, {-4, 0}, {-4, -4}}},
         {{-3, -1}, {-1, -1}, {-3, -3}, {-1, -3}}},
    };
    for (const auto& c : cases) {
        collect out;
        std::vector<xy> buf;
        sampler smp(c.s, out, buf);
        smp.polygon(c.rings);
        smp.flush();
        // Each ring without its closing vertex: a vertex, then ceil(L/s) - 1
        // points to the next.
        std::size_t ring_samples = 0;
        for (const ring& r : c.rings) {
            for (std::size_t i = 0; i + 1 < r.size(); ++i) {
                const double len = std::hypot(r[i + 1].e - r[i].e, r[i + 1].n - r[i].n);
                EXPECT_EQ(out.got.at(ring_samples).e, r[i].e) << c.name;
                ring_samples += static_cast<std::size_t>(std::max(1.0, std::ceil(len / c.s)));
            }
        }
        ASSERT_EQ(out.got.size(), ring_samples + c.lattice.size()) << c.name;
        for (std::size_t k = 0; k < c.lattice.size(); ++k) {
            EXPECT_EQ(out.got[ring_samples + k].e, c.lattice[k].e) << c.name << " " << k;
            EXPECT_EQ(out.got[ring_samples + k].n, c.lattice[k].n) << c.name << " " << k;
        }
    }
}

TEST(AssessSample, LineHasVerticesAndPointsAtTheSpacing) {
    collect out;
    std::vector<xy> buf;
    sampler smp(1, out, buf);
    // 2.5 m: vertex, 1, 2, vertex; a repeated vertex adds only itself.
    const xy v[] = {{0, 0}, {0, 2.5}, {0, 2.5}, {3, 2.5}};
    smp.line(v, 4);
    smp.flush();
    const std::vector<double> e = {0, 0, 0, 0, 0, 1, 2, 3};
    const std::vector<double> n = {0, 1, 2, 2.5, 2.5, 2.5, 2.5, 2.5};
    ASSERT_EQ(out.got.size(), e.size());
    for (std::size_t k = 0; k < e.size(); ++k) {
        EXPECT_EQ(out.got[k].e, e[k]) << k;
        EXPECT_EQ(out.got[k].n, n[k]) << k;
    }
}

// Beyond 2^52 spacings a double index no longer steps by one: such rings
// are sampled, no lattice is laid, and nothing loops; just inside, the
// lattice holds its exact centres.
TEST(AssessSample, LatticeEndsWhereIndicesStopBeingExact) {
    struct far_case {
        const char* name;
        double s;
        std::vector<ring> rings;
        std::size_t lattice; // points after the ring samples
    };
    const double edge = 2.0 * orv::assess::max_lattice_index; // s = 2: 2^52 spacings
    const std::vector<far_case> cases = {
        {"triangle_1e17", 1, {{{1e17, 1e17}, {1e17 + 16, 1e17}, {1e17, 1e17 + 16}, {1e17, 1e17}}}, 0},
        {"degenerate_1e300", 1, {{{1e300, 1e300}, {1e300, 1e300}, {1e300, 1e300}}}, 0},
        {"micro_spacing", 1e-11, {{{2600050, 1199990}, {2600050.000001, 1199990},
                                   {2600050.000001, 1199990.000001}, {2600050, 1199990}}}, 0},
        {"at_the_limit", 2, {{{edge, 0}, {edge + 4, 0}, {edge + 4, 4}, {edge, 4}, {edge, 0}}}, 0},
        {"inside_the_limit", 2, {{{-edge + 8, 0}, {-edge + 12, 0}, {-edge + 12, 4},
                                  {-edge + 8, 4}, {-edge + 8, 0}}}, 4},
    };
    for (const auto& c : cases) {
        collect out;
        std::vector<xy> buf;
        sampler smp(c.s, out, buf);
        smp.polygon(c.rings);
        smp.flush();
        std::size_t ring_samples = 0;
        for (const auto& r : c.rings) {
            for (std::size_t i = 0; i + 1 < r.size(); ++i) {
                const double len = std::hypot(r[i + 1].e - r[i].e, r[i + 1].n - r[i].n);
                ring_samples += static_cast<std::size_t>(std::max(1.0, std::ceil(len / c.s)));
            }
        }
        EXPECT_EQ(out.got.size(), ring_samples + c.lattice) << c.name;
    }
    EXPECT_TRUE(orv::assess::in_lattice(-4503599627370495.0, 1));
    EXPECT_FALSE(orv::assess::in_lattice(4503599627370496.0, 1));
    EXPECT_FALSE(orv::assess::in_lattice(1, 1e-300));
}

} // namespace
