// The intensity computation: intermediate values, printed results, warnings
// and the corrections of the Parameter set.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/intensity.h"
#include "model/params.h"

namespace {

using orv::params;

// The four results as the report prints them, two decimals each.
std::string printed(const orv::intensity& r) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "%.2f %.2f %.2f %.2f", double(r.q), double(r.v), double(r.h),
                  double(r.he));
    return buf;
}

params with(void (*edit)(params&)) {
    params p;
    edit(p);
    return p;
}

struct result_case {
    const char* name;
    params p;
    const char* out;
};

TEST(Intensity, PrintedResults) {
    const std::vector<result_case> cases = {
        {"initial", params{}, "0.51 1.61 0.32 0.45"},
        {"y1 = 20", with([](params& p) { p.y1 = 20; }), "0.44 1.50 0.29 0.41"},
        {"y1 = -20", with([](params& p) { p.y1 = -20; }), "0.51 1.61 0.32 0.45"},
        {"y1 = 200", with([](params& p) { p.y1 = 200; }), "0.00 0.00 0.00 0.00"},
        {"slp = 3", with([](params& p) { p.slp = 3; }), "0.97 2.63 0.37 0.72"},
        {"slp = 0.25", with([](params& p) { p.slp = 0.25f; }), "0.29 0.95 0.30 0.35"},
        {"slp = 16", with([](params& p) { p.slp = 16; }), "3.14 6.46 0.49 2.61"},
        {"short jet", params{10, 10, 10, 1, 0.15f, 7, 0}, "20.25 11.19 1.81 8.19"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto o = orv::compute_intensity(c.p);
        EXPECT_EQ(o.st, 0);
        EXPECT_EQ(printed(o.res), c.out);
    }
}

void near(double got, double want) {
    EXPECT_NEAR(got, want, 1e-6 * std::fabs(want));
}

TEST(Intensity, InitialTrace) {
    orv::intensity_trace t{};
    const auto o = orv::compute_intensity(params{}, &t);
    ASSERT_EQ(o.st, 0);
    const std::vector<std::pair<double, double>> vals = {
        {t.vrel, 16},
        {t.lref, 7.0710678},
        {t.xrel, 14.142136},
        {t.vfac, 2.5198188},
        {t.xqa, 6.2995472},
        {t.xva, 7.5594563},
        {t.abase, 250},
        {t.expq, 0.24898896},
        {t.dxv, 6.5826793},
        {t.expv, 0.1245226},
        {t.fq, 3.9542177},
        {t.fv, 1.9888303},
        {t.xq, 55.921082},
        {t.xv, 28.126308},
        {t.erq, 0.1},
        {t.erv, 0.25},
        {t.rrel, 1.1111110},
        {t.rootb, 3.1622777},
        {t.rq, 1.0105917},
        {t.cel, 7.0035706},
        {t.rv, 1.0266901},
        {t.qc, 0.031871181},
        {t.vc, 0.2238913},
        {t.ywid, 42.369735},
        {t.pq, 1},
        {t.pv, 1},
        {o.res.q, 0.50926512},
        {o.res.v, 1.6098896},
        {o.res.h, 0.31633541},
        {o.res.he, 0.44843248},
    };
    for (size_t i = 0; i < vals.size(); ++i) {
        SCOPED_TRACE(i);
        near(vals[i].first, vals[i].second);
    }
    EXPECT_EQ(t.yrel, 0);
}

TEST(Intensity, OtherTraces) {
    orv::intensity_trace t{};
    orv::compute_intensity(with([](params& p) { p.y1 = 20; }), &t);
    near(t.yrel, 0.26396710);
    near(t.pq, 0.85603291);
    near(t.pv, 0.93441317);

    orv::compute_intensity(with([](params& p) { p.slp = 3; }), &t);
    near(t.xqa, 6.9295015);
    near(t.xq, 44.637360);
    near(t.qc, 0.060484290);

    orv::compute_intensity(params{10, 10, 10, 1, 0.15f, 7, 0}, &t);
    near(t.xrel, 0.7);
    near(t.fq, 2.1662245);
    near(t.xq, 1.5163571);
    near(t.xv, 0.81584102);
    near(t.vc, 1.0430664);
}

TEST(Intensity, BeyondTheEdgeOfTheJet) {
    orv::intensity_trace t{};
    const auto o = orv::compute_intensity(with([](params& p) { p.y1 = 200; }), &t);
    ASSERT_EQ(o.st, 0);
    EXPECT_NEAR(t.yrel, 2.64, 0.005);
    EXPECT_EQ(t.pq, 0);
    EXPECT_EQ(t.pv, 0);
    EXPECT_EQ(o.res.q, 0);
    EXPECT_GT(o.res.v, 0);
    EXPECT_NEAR(o.res.v, 1.6e-10, 0.05e-10);
    EXPECT_EQ(o.res.h, 0);
}

TEST(Intensity, NegativeWidthGivesNanWithoutWarning) {
    const auto o = orv::compute_intensity(with([](params& p) { p.b = -10; }));
    EXPECT_EQ(o.st, 0);
    EXPECT_TRUE(std::isnan(o.res.q));
    EXPECT_TRUE(std::isnan(o.res.v));
    EXPECT_TRUE(std::isnan(o.res.h));
    EXPECT_TRUE(std::isnan(o.res.he));
}

// A warning, its correction, and the calculation that follows with the
// corrected Parameter set.
struct warning_case {
    const char* name;
    params p;
    int32_t st;
    float x1, slp;    // after the correction
    int32_t next_st;  // status of the next calculation
    const char* next; // its printed result when next_st is 0
};

TEST(Intensity, WarningsAndCorrections) {
    const std::string initial = "0.51 1.61 0.32 0.45";
    const std::vector<warning_case> cases = {
        {"x1 = 5", with([](params& p) { p.x1 = 5; }), 1, 7.0710678f, 1, 0, "12.74 7.55 1.69 4.59"},
        {"x1 = 1000", with([](params& p) { p.x1 = 1000; }), 2, 100, 1, 0, initial.c_str()},
        {"x1 = 700", with([](params& p) { p.x1 = 700; }), 2, 100, 1, 0, initial.c_str()},
        {"vol = 40", with([](params& p) { p.vol = 40; }), 2, 100, 1, 2, ""},
        {"vol = 0", with([](params& p) { p.vol = 0; }), 2, 100, 1, 2, ""},
        {"slp = 0.1", with([](params& p) { p.slp = 0.1f; }), 3, 100, 0.25f, 0,
         "0.29 0.95 0.30 0.35"},
        {"slp = 20", with([](params& p) { p.slp = 20; }), 4, 100, 16, 0, "3.14 6.46 0.49 2.61"},
        {"slp = 20, x1 = 5", with([](params& p) { p.slp = 20, p.x1 = 5; }), 4, 5, 16, 1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        params p = c.p;
        const auto o = orv::compute_intensity(p);
        EXPECT_EQ(o.st, c.st);
        orv::correct_params(p, o);
        EXPECT_FLOAT_EQ(p.x1, c.x1);
        EXPECT_EQ(p.slp, c.slp);
        orv::intensity_trace t{};
        const auto next = orv::compute_intensity(p, &t);
        EXPECT_EQ(next.st, c.next_st);
        if (c.next_st == 0) {
            EXPECT_EQ(printed(next.res), c.next);
        }
        if (c.st == 1) {
            EXPECT_EQ(t.xrel, 1.0f); // x1 now equals the reference length
        }
    }
}

TEST(Intensity, RelativeVolumeTooSmallKeepsWarning) {
    orv::intensity_trace t{};
    const auto o = orv::compute_intensity(with([](params& p) { p.vol = 40; }), &t);
    near(t.vrel, 0.16);
    near(t.abase, 25000);
    EXPECT_NEAR(t.xq, 2.7e9, 0.05e9);
    EXPECT_EQ(o.st, 2);
}

struct correction_case {
    int32_t st;
    float xq, x1_in, x1, slp;
};

TEST(Intensity, CorrectionRules) {
    const float nan = std::nanf("");
    const std::vector<correction_case> cases = {
        {1, 0.5f, 5, 10, 1},     // scaled onto the first distance
        {1, 0.001f, 5, 500, 1},  // lookup distance below 0.01 counts as 0.01
        {1, nan, 5, 500, 1},     // so does a NaN one
        {2, 1e6f, 250, 100, 1},  // capped at 100
        {2, 1e6f, 40, 40, 1},    // shorter distances stay
        {2, 1e6f, nan, 100, 1},  // NaN distance becomes 100
        {3, 1, 100, 100, 0.25f}, // slope up to the first class
        {4, 1, 100, 100, 16},    // slope down to the last class
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.st);
        params p;
        p.x1 = c.x1_in;
        orv::intensity_outcome o{};
        o.st = c.st;
        o.xq = c.xq;
        orv::correct_params(p, o);
        EXPECT_FLOAT_EQ(p.x1, c.x1);
        EXPECT_EQ(p.slp, c.slp);
    }
}

} // namespace
