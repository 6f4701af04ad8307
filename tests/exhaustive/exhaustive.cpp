// Exhaustive checks over all 2^32 float bit patterns:
//  - F8.2, F6.2 and F6.3 editing against the printf reference;
//  - reading back the "%.9g" text of every finite float through the list
//    reader of the Entry buffer gives the same bits (-0 included).
// Usage: orv_exhaustive [first [count]]   (bit patterns, hex or decimal)
#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "consoleio/edit.h"
#include "consoleio/read.h"
#include "support/reference.h"

namespace {

using orv::ref::f_ref;

struct fmt {
    int w, d;
};
constexpr fmt formats[] = {{8, 2}, {6, 2}, {6, 3}};
constexpr int nchecks = 5; // three formats, read-back, "%.9g" text
const char* const check_name[nchecks] = {"F8.2", "F6.2", "F6.3", "read %.9g", "text %.9g"};

// Patterns per unit of work handed to a thread.
constexpr uint64_t chunk = uint64_t{1} << 20;
// The fast "%.9g" text is compared with snprintf on every stride-th pattern.
constexpr uint32_t text_stride = 61;
// Mismatches kept per check for the report.
constexpr std::size_t keep = 8;

struct mismatch {
    uint32_t bits;
    std::string got, want;
};

struct tally {
    uint64_t tested[nchecks] = {};
    uint64_t failed[nchecks] = {};
    std::vector<mismatch> first[nchecks];

    void fail(int k, uint32_t bits, std::string got, std::string want) {
        ++failed[k];
        if (first[k].size() == keep && bits > first[k].back().bits) return;
        first[k].push_back({bits, std::move(got), std::move(want)});
        std::sort(first[k].begin(), first[k].end(),
                  [](const mismatch& a, const mismatch& b) { return a.bits < b.bits; });
        if (first[k].size() > keep) first[k].pop_back();
    }

    void merge(const tally& o) {
        for (int k = 0; k < nchecks; ++k) {
            tested[k] += o.tested[k];
            for (const auto& m : o.first[k]) fail(k, m.bits, m.got, m.want);
            failed[k] += o.failed[k] - o.first[k].size();
        }
    }
};

float as_float(uint32_t bits) {
    float x;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

uint32_t as_bits(float x) {
    uint32_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

// Checks one bit pattern with every check that applies to it.
void check_one(uint32_t bits, const f_ref (&refs)[3], tally& t) {
    float x = as_float(bits);
    char got[orv::ref::max_w], want[orv::ref::max_w];
    for (int k = 0; k < 3; ++k) {
        std::size_t w = static_cast<std::size_t>(formats[k].w);
        orv::edit_f({got, w}, formats[k].d, x);
        refs[k].field(want, x);
        ++t.tested[k];
        if (std::memcmp(got, want, w) != 0) t.fail(k, bits, {got, w}, {want, w});
    }
    if (!std::isfinite(x)) return;

    // to_chars with a precision is specified as printf's %.*g; a sample of
    // patterns confirms it against snprintf itself.
    char text[64];
    std::memset(text, ' ', sizeof text);
    auto r = std::to_chars(text, text + sizeof text, static_cast<double>(x),
                           std::chars_format::general, 9);
    std::size_t n = static_cast<std::size_t>(r.ptr - text);
    if (bits % text_stride == 0) {
        char slow[64];
        std::snprintf(slow, sizeof slow, "%.9g", static_cast<double>(x));
        ++t.tested[4];
        if (std::string_view(slow) != std::string_view(text, n)) t.fail(4, bits, {text, n}, slow);
    }
    float var = as_float(0x7fc0dead); // a NaN that no text reads as
    orv::read_outcome o =
        orv::read_internal({0, 0}, {text, sizeof text}, var, orv::handles_error | orv::handles_end);
    ++t.tested[3];
    if (o != orv::read_outcome::value || as_bits(var) != bits) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08" PRIx32, as_bits(var));
        std::string g = o == orv::read_outcome::value ? std::string("value ") + hex
                                                      : "outcome " + std::to_string(int(o));
        t.fail(3, bits, g, std::string(text, n));
    }
}

uint64_t parse(const char* s) {
    return std::strtoull(s, nullptr, 0);
}

} // namespace

int main(int argc, char** argv) {
    uint64_t first = argc > 1 ? parse(argv[1]) : 0;
    uint64_t count = argc > 2 ? parse(argv[2]) : (uint64_t{1} << 32) - first;
    uint64_t last = std::min(first + count, uint64_t{1} << 32);
    unsigned nthreads = 2;

    const f_ref refs[3] = {{8, 2}, {6, 2}, {6, 3}};
    std::atomic<uint64_t> next{first};
    std::atomic<uint64_t> done{0};
    std::mutex mu;
    tally total;
    auto start = std::chrono::steady_clock::now();
    auto seconds = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };

    auto worker = [&] {
        tally t;
        for (;;) {
            uint64_t lo = next.fetch_add(chunk);
            if (lo >= last) break;
            uint64_t hi = std::min(lo + chunk, last);
            for (uint64_t b = lo; b < hi; ++b) check_one(static_cast<uint32_t>(b), refs, t);
            uint64_t d = done.fetch_add(hi - lo) + (hi - lo);
            // about every 1/64 of the whole range
            if ((d / chunk) % 64 == 0 || d == last - first) {
                std::lock_guard<std::mutex> lock(mu);
                std::printf("progress %5.1f%%  %8.1f s\n", 100.0 * double(d) / double(last - first),
                            seconds());
                std::fflush(stdout);
            }
        }
        std::lock_guard<std::mutex> lock(mu);
        total.merge(t);
    };
    std::vector<std::thread> pool;
    for (unsigned k = 0; k < nthreads; ++k) pool.emplace_back(worker);
    for (auto& th : pool) th.join();

    std::printf("patterns 0x%08" PRIx64 " .. 0x%08" PRIx64 ", %u threads, %.1f s\n", first,
                last - 1, nthreads, seconds());
    uint64_t bad = 0;
    for (int k = 0; k < nchecks; ++k) {
        std::printf("%-10s tested %11" PRIu64 "  mismatches %" PRIu64 "\n", check_name[k],
                    total.tested[k], total.failed[k]);
        for (const auto& m : total.first[k])
            std::printf("    bits 0x%08" PRIx32 " (%.9g): got \"%s\" want \"%s\"\n", m.bits,
                        static_cast<double>(as_float(m.bits)), m.got.c_str(), m.want.c_str());
        bad += total.failed[k];
    }
    std::printf("%s\n", bad == 0 ? "all checks passed" : "MISMATCHES FOUND");
    return bad == 0 ? 0 : 1;
}
