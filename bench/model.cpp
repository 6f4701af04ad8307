// The intensity computation on the initial Parameter set and a few others.
#include <benchmark/benchmark.h>

#include "model/intensity.h"

namespace {

// Computes the intensities for p; the outcome is kept from the optimiser.
void bm_compute(benchmark::State& state, orv::params p) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(p);
        orv::intensity_outcome o = orv::compute_intensity(p);
        benchmark::DoNotOptimize(o);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["status"] = orv::compute_intensity(p).st;
}

// The initial values with some fields changed.
orv::params with(float h, float b, float vol, float slp, float dm, float x1, float y1) {
    return orv::params{h, b, vol, slp, dm, x1, y1};
}

} // namespace

BENCHMARK_CAPTURE(bm_compute, initial, orv::params{})->Name("compute_intensity/initial");
BENCHMARK_CAPTURE(bm_compute, lateral, with(5, 10, 4000, 1, 0.15f, 100, 25))
    ->Name("compute_intensity/y1=25");
BENCHMARK_CAPTURE(bm_compute, big, with(12, 60, 2.5e6f, 6, 0.05f, 900, 80))
    ->Name("compute_intensity/large_breach");
BENCHMARK_CAPTURE(bm_compute, steep, with(2, 4, 300, 14, 0.4f, 20, 3))
    ->Name("compute_intensity/steep_small");
BENCHMARK_CAPTURE(bm_compute, near, with(5, 10, 4000, 1, 0.15f, 1, 0))
    ->Name("compute_intensity/warn_x1_small");
BENCHMARK_CAPTURE(bm_compute, far, with(5, 10, 4000, 1, 0.15f, 500, 0))
    ->Name("compute_intensity/warn_x1_large");
BENCHMARK_CAPTURE(bm_compute, flat, with(5, 10, 4000, 0.1f, 0.15f, 100, 0))
    ->Name("compute_intensity/warn_slope_small");
