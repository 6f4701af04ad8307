// The model on arrays of points on one thread: the C++ side of the Python
// module's benchmark (bench/python_intensity.py makes the same points).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "model/point.h"
#include "orvalis/orvalis.h"

namespace {

// Point i of n: x in [8, 120) m, where the initial site has results, y in
// [-100, 100) m and a head in [1, 10) m, by golden-ratio sequences computed
// in double, as the Python benchmark computes them.
struct points {
    std::vector<float> x, y, h;
    explicit points(std::size_t n) : x(n), y(n), h(n) {
        for (std::size_t i = 0; i < n; ++i) {
            const double d = static_cast<double>(i);
            x[i] = static_cast<float>(8 + 112 * std::fmod(d * 0.6180339887498949, 1.0));
            y[i] = static_cast<float>(-100 + 200 * std::fmod(d * 0.7548776662466927, 1.0));
            h[i] = static_cast<float>(1 + 9 * std::fmod(d * 0.5698402909980532, 1.0));
        }
    }
};

// The outputs of n points.
struct outputs {
    std::vector<float> q, v, h, he;
    std::vector<int32_t> st;
    std::vector<int8_t> level;
    explicit outputs(std::size_t n) : q(n), v(n), h(n), he(n), st(n), level(n) {}
    void put(std::size_t i, const orvalis::result& r) {
        q[i] = r.q, v[i] = r.v, h[i] = r.h, he[i] = r.he, st[i] = r.status;
        level[i] = static_cast<int8_t>(orvalis::danger_level(r));
    }
};

// Counts the points with a result, to compare with the Python run.
void count_results(benchmark::State& state, const outputs& o) {
    std::size_t ok = 0;
    for (int32_t s : o.st) ok += s == 0;
    state.counters["results"] = static_cast<double>(ok);
}

// The model alone: site stage once, then distance and lateral stages per
// point, the four results and the status stored.
void bm_model(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const points p(n);
    outputs o(n);
    const orv::site s = orv::make_site(orv::params{});
    for (auto _ : state) {
        for (std::size_t i = 0; i < n; ++i) {
            const orv::point_result r = orv::evaluate(s, p.x[i], p.y[i]);
            o.q[i] = r.res.q, o.v[i] = r.res.v, o.h[i] = r.res.h, o.he[i] = r.res.he;
            o.st[i] = r.st;
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    count_results(state, o);
}

// The public interface as the Python module's loop uses it: one site, then
// every point with its danger level.
void bm_public(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const points p(n);
    outputs o(n);
    for (auto _ : state) {
        const orvalis::site s(orvalis::site_params{});
        for (std::size_t i = 0; i < n; ++i) o.put(i, s.evaluate(p.x[i], p.y[i]));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    count_results(state, o);
}

// Every point with a site of its own (head varying): all three stages.
void bm_each_site(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const points p(n);
    outputs o(n);
    for (auto _ : state) {
        for (std::size_t i = 0; i < n; ++i) {
            const orvalis::site_params sp{p.h[i], 10, 4000, 1, 0.15f};
            o.put(i, orvalis::evaluate(sp, p.x[i], p.y[i]));
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    count_results(state, o);
}

} // namespace

BENCHMARK(bm_model)->Name("points/model")->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(bm_public)->Name("points/public")->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(bm_each_site)->Name("points/each_site")->Arg(1000000)->Unit(benchmark::kMillisecond);
