// Grid evaluation by stages beside the same grid computed point by point, on
// one and two threads: cells per second (items_per_second, real time).
#include <cmath>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include "model/grid.h"
#include "model/point.h"

namespace {

// A 1000 x 1000 map of the initial site from the breach to just beyond the
// end of the tables; symmetric: y from -85 to 85 m (every |y| twice),
// asymmetric: y from -30 to 140 m.
struct bench_grid {
    orv::params p;
    orv::site s;
    std::vector<float> xs, ys;
    std::vector<float> q, v, h, he;
    std::vector<int32_t> st;

    explicit bench_grid(bool symmetric) : s(orv::make_site(p)) {
        const std::size_t n = 1000;
        const double cell = 0.17;
        for (std::size_t i = 0; i < n; ++i)
            xs.push_back(static_cast<float>(0.0 + (i + 0.5) * 0.125));
        const double y0 = symmetric ? -85.0 : -30.0;
        for (std::size_t j = 0; j < n; ++j) ys.push_back(static_cast<float>(y0 + (j + 0.5) * cell));
        q.resize(n * n), v.resize(n * n), h.resize(n * n), he.resize(n * n), st.resize(n * n);
    }
    orv::grid_out out() { return {q.data(), v.data(), h.data(), he.data(), st.data()}; }
};

// Splits rows [0, n) over threads, as evaluate_grid does.
template <class F> void on_threads(std::size_t n, unsigned threads, const F& fn) {
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t)
        pool.emplace_back(fn, n * t / threads, n * (t + 1) / threads);
    fn(std::size_t{0}, n / threads);
    for (auto& t : pool) t.join();
}

// The staged grid evaluation.
void bm_staged(benchmark::State& state, bool symmetric) {
    bench_grid g(symmetric);
    const auto threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        orv::evaluate_grid(g.s, g.xs.data(), g.xs.size(), g.ys.data(), g.ys.size(), g.out(),
                           threads);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * g.q.size());
}

// Point by point with the site stage computed once: evaluate(s, x, y).
void bm_pointwise(benchmark::State& state, bool symmetric) {
    bench_grid g(symmetric);
    const auto threads = static_cast<unsigned>(state.range(0));
    const std::size_t nx = g.xs.size();
    for (auto _ : state) {
        on_threads(g.ys.size(), threads, [&](std::size_t b, std::size_t e) {
            for (std::size_t j = b; j < e; ++j) {
                for (std::size_t i = 0; i < nx; ++i) {
                    const orv::point_result r = orv::evaluate(g.s, g.xs[i], g.ys[j]);
                    const std::size_t k = j * nx + i;
                    g.q[k] = r.res.q, g.v[k] = r.res.v, g.h[k] = r.res.h, g.he[k] = r.res.he;
                    g.st[k] = r.st;
                }
            }
        });
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * g.q.size());
}

// Point by point with all three stages per point: evaluate(params).
void bm_pointwise_full(benchmark::State& state, bool symmetric) {
    bench_grid g(symmetric);
    const auto threads = static_cast<unsigned>(state.range(0));
    const std::size_t nx = g.xs.size();
    for (auto _ : state) {
        on_threads(g.ys.size(), threads, [&](std::size_t b, std::size_t e) {
            orv::params p = g.p;
            for (std::size_t j = b; j < e; ++j) {
                for (std::size_t i = 0; i < nx; ++i) {
                    p.x1 = g.xs[i];
                    p.y1 = g.ys[j];
                    const orv::point_result r = orv::evaluate(p);
                    const std::size_t k = j * nx + i;
                    g.q[k] = r.res.q, g.v[k] = r.res.v, g.h[k] = r.res.h, g.he[k] = r.res.he;
                    g.st[k] = r.st;
                }
            }
        });
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * g.q.size());
}

} // namespace

BENCHMARK_CAPTURE(bm_staged, symmetric, true)
    ->Name("grid/staged/symmetric")
    ->Arg(1)
    ->Arg(2)
    ->ArgName("threads")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bm_staged, asymmetric, false)
    ->Name("grid/staged/asymmetric")
    ->Arg(1)
    ->Arg(2)
    ->ArgName("threads")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bm_pointwise, symmetric, true)
    ->Name("grid/pointwise/symmetric")
    ->Arg(1)
    ->Arg(2)
    ->ArgName("threads")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bm_pointwise, asymmetric, false)
    ->Name("grid/pointwise/asymmetric")
    ->Arg(1)
    ->Arg(2)
    ->ArgName("threads")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bm_pointwise_full, asymmetric, false)
    ->Name("grid/pointwise_full/asymmetric")
    ->Arg(1)
    ->Arg(2)
    ->ArgName("threads")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
