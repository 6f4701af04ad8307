// Reference results for the Python tests: reads points as seven float bit
// patterns in hex (H B Vol S D x y) per line and writes per line the status,
// the bits of q, v, h and he, and the danger level, all from the model's
// pointwise computation with the shared rules applied here: x <= 0 is status
// 5 without computing, else the model at (x, |y|). Arguments: optional three
// thresholds of the levels. With "jet E0 N0 AZ" it reads instead two double
// bit patterns (E N) per line and writes the bits of the jet frame's x and y.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "model/intensity.h"
#include "model/jet_frame.h"
#include "model/level.h"
#include "model/point.h"

namespace {

// The float with bit pattern u.
float from_bits(uint32_t u) {
    float f;
    std::memcpy(&f, &u, sizeof f);
    return f;
}

// The bit pattern of f.
uint32_t to_bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

// The jet frame's x and y of each world point on stdin.
int jet(char** argv) {
    const orv::world_frame g{std::strtod(argv[2], nullptr), std::strtod(argv[3], nullptr),
                             std::strtod(argv[4], nullptr)};
    unsigned long long e, n;
    while (std::scanf("%llx %llx", &e, &n) == 2) {
        double de, dn;
        std::memcpy(&de, &e, sizeof de);
        std::memcpy(&dn, &n, sizeof dn);
        const orv::jet_point p = orv::to_jet(g, de, dn);
        unsigned long long x, y;
        std::memcpy(&x, &p.x, sizeof x);
        std::memcpy(&y, &p.y, sizeof y);
        std::printf("%016llx %016llx\n", x, y);
    }
    return std::fflush(stdout) != 0 ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "jet") == 0) return jet(argv);
    orv::levels lv;
    if (argc == 4) {
        for (int k = 0; k < 3; ++k) lv.t[k] = std::strtof(argv[k + 1], nullptr);
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: %s [t1 t2 t3] < points\n", argv[0]);
        return 2;
    }
    char line[256];
    while (std::fgets(line, sizeof line, stdin)) {
        uint32_t u[7];
        if (std::sscanf(line, "%x %x %x %x %x %x %x", &u[0], &u[1], &u[2], &u[3], &u[4], &u[5],
                        &u[6]) != 7) {
            std::fprintf(stderr, "bad line: %s", line);
            return 2;
        }
        orv::params p{from_bits(u[0]), from_bits(u[1]), from_bits(u[2]),           from_bits(u[3]),
                      from_bits(u[4]), from_bits(u[5]), std::fabs(from_bits(u[6]))};
        orv::point_result r{orv::not_downstream, orv::no_result()};
        if (!(p.x1 <= 0)) {
            const orv::intensity_outcome o = orv::compute_intensity(p);
            r = {o.st, o.st == 0 ? o.res : orv::no_result()};
        }
        std::printf("%d %08x %08x %08x %08x %d\n", r.st, to_bits(r.res.q), to_bits(r.res.v),
                    to_bits(r.res.h), to_bits(r.res.he), orv::danger_level(r.st, r.res, lv));
    }
    return std::ferror(stdin) || std::fflush(stdout) != 0 ? 1 : 0;
}
