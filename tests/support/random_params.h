// Reproducible random Parameter sets for bitwise comparisons: plausible
// sites and points, with one value in ten replaced by an awkward one
// (NaN, 0, negative, infinite, tiny) and the calculator's examples mixed in.
#pragma once
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "model/params.h"

namespace orv::test {

// A small generator of its own, so the sequence is the same everywhere.
class random_params {
  public:
    explicit random_params(uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 1) {}

    // Next 64 random bits (splitmix64).
    uint64_t next() {
        uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A float in [lo, hi) from 24 random bits.
    float in(float lo, float hi) {
        const float t = static_cast<float>(next() >> 40) * (1.0f / 16777216.0f);
        return lo + (hi - lo) * t;
    }

    // The next Parameter set.
    params operator()() {
        params p;
        const uint64_t mode = next() % 10;
        p.h = in(0.1f, 30);
        p.b = in(0.5f, 200);
        p.vol = std::exp(in(0, 16));
        p.slp = std::exp(in(-3, 3.3f));
        p.dm = in(0.001f, 1);
        p.x1 = std::exp(in(-2, 9));
        p.y1 = in(-300, 300);
        if (mode == 1) {
            const float odd[] = {std::numeric_limits<float>::quiet_NaN(), 0, -1,
                                 std::numeric_limits<float>::infinity(), 1e-30f};
            real* f[] = {&p.h, &p.b, &p.vol, &p.slp, &p.dm, &p.x1, &p.y1};
            const auto k = next() % 5;
            *f[next() % 7] = odd[k];
        } else if (mode == 2) {
            p.h = 5, p.b = 10, p.vol = 4000, p.slp = 1, p.dm = 0.15f;
        }
        return p;
    }

  private:
    uint64_t s_;
};

// The bits of a float.
inline uint32_t bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

} // namespace orv::test
