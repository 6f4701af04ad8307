// F and I editing of single values, and a whole prompt into the Entry buffer.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "consoleio/edit.h"
#include "consoleio/write.h"

namespace {

// Values a Result report or a prompt typically shows, and the edge cases.
const std::vector<float>& typical() {
    static const std::vector<float> v = {
        0.5093f, 1.6099f, 0.3163f, 0.4484f, 5.0f,      10.0f,    0.15f,
        1.0f,    0.005f,  0.125f,  -0.004f, 123.456f,  999.996f, -99.99f,
        12.34f,  4000.4f, 0.0005f, -0.0f,   12345.68f, 1.0e10f,  3.0e-8f,
    };
    return v;
}

// Log-uniform magnitudes from 1e-4 to 1e6 with random signs, fixed seed.
const std::vector<float>& varied() {
    static const std::vector<float> v = [] {
        std::mt19937 gen(20261207);
        std::uniform_real_distribution<double> ex(-4.0, 6.0);
        std::bernoulli_distribution neg(0.25);
        std::vector<float> r(1024);
        for (float& x : r) {
            x = static_cast<float>(std::pow(10.0, ex(gen)));
            if (neg(gen)) x = -x;
        }
        return r;
    }();
    return v;
}

// Infinities, NaN and the smallest subnormal, the slowest exact expansion.
const std::vector<float>& extreme() {
    static const std::vector<float> v = {
        std::numeric_limits<float>::infinity(),  -std::numeric_limits<float>::infinity(),
        std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::denorm_min(),
        std::numeric_limits<float>::max(),
    };
    return v;
}

// Edits the values one after the other into a field of width w with d decimals.
void run_f(benchmark::State& state, const std::vector<float>& vals, int w, int d) {
    char field[8];
    std::size_t k = 0;
    for (auto _ : state) {
        orv::edit_f({field, static_cast<std::size_t>(w)}, d, vals[k]);
        benchmark::DoNotOptimize(field);
        benchmark::ClobberMemory();
        if (++k == vals.size()) k = 0;
    }
    state.SetItemsProcessed(state.iterations());
}

void bm_f82_typical(benchmark::State& s) {
    run_f(s, typical(), 8, 2);
}
void bm_f82_varied(benchmark::State& s) {
    run_f(s, varied(), 8, 2);
}
void bm_f82_extreme(benchmark::State& s) {
    run_f(s, extreme(), 8, 2);
}
void bm_f63_typical(benchmark::State& s) {
    run_f(s, typical(), 6, 3);
}
void bm_f63_varied(benchmark::State& s) {
    run_f(s, varied(), 6, 3);
}

// I editing in the widths of the prompts.
void bm_i10(benchmark::State& state) {
    const int32_t vals[] = {4000, 0, -5, 123456, 2147483647, std::numeric_limits<int32_t>::min()};
    char field[10];
    std::size_t k = 0;
    for (auto _ : state) {
        orv::edit_i(field, vals[k]);
        benchmark::DoNotOptimize(field);
        benchmark::ClobberMemory();
        if (++k == std::size(vals)) k = 0;
    }
    state.SetItemsProcessed(state.iterations());
}

// One prompt formatted into the 64-character Entry buffer: format walk,
// character constants, F6.2 and the blank fill.
void bm_prompt_internal(benchmark::State& state) {
    char entry[64];
    float h = 5.0f;
    for (auto _ : state) {
        orv::write_internal({165, 0}, entry, "(' <Stauhoehe       H (',f6.2,'m)>')", {h});
        benchmark::DoNotOptimize(entry);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(bm_f82_typical)->Name("edit_f/F8.2/typical");
BENCHMARK(bm_f82_varied)->Name("edit_f/F8.2/varied");
BENCHMARK(bm_f82_extreme)->Name("edit_f/F8.2/extreme");
BENCHMARK(bm_f63_typical)->Name("edit_f/F6.3/typical");
BENCHMARK(bm_f63_varied)->Name("edit_f/F6.3/varied");
BENCHMARK(bm_i10)->Name("edit_i/I10");
BENCHMARK(bm_prompt_internal)->Name("write_internal/prompt_f6.2");
