// List-directed read of one Real from a 64-character Entry buffer.
#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <string_view>

#include "consoleio/read.h"

namespace {

using entry_t = std::array<char, 64>;

// The answer as the line read leaves it: the text padded with blanks.
entry_t entry_of(std::string_view text) {
    entry_t e;
    e.fill(' ');
    std::memcpy(e.data(), text.data(), text.size());
    return e;
}

// Reads the answer again and again, catching errors and end of file as the
// dialogue does, so that "abc" does not end the process.
void bm_read(benchmark::State& state, std::string_view text) {
    const entry_t e = entry_of(text);
    float v = 0;
    for (auto _ : state) {
        orv::read_outcome r =
            orv::read_internal({169, 0}, e, v, orv::handles_error | orv::handles_end);
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(v);
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK_CAPTURE(bm_read, int, std::string_view("7"))->Name("read_internal/\"7\"");
BENCHMARK_CAPTURE(bm_read, comma, std::string_view("  2,5"))->Name("read_internal/\"  2,5\"");
BENCHMARK_CAPTURE(bm_read, exp, std::string_view("1.5E-3"))->Name("read_internal/\"1.5E-3\"");
BENCHMARK_CAPTURE(bm_read, dec, std::string_view("4000.4"))->Name("read_internal/\"4000.4\"");
BENCHMARK_CAPTURE(bm_read, bad, std::string_view("abc"))->Name("read_internal/\"abc\"");
