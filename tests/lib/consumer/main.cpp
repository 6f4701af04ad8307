// Prints the initial point, one point of a site and of a grid, with the
// bits of q, through the installed library's public header only.
#include <orvalis/orvalis.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// The bit pattern of f.
uint32_t bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

} // namespace

int main() {
    const orvalis::result r = orvalis::evaluate({}, 100, 0);
    std::printf("q = %.8g v = %.8g h = %.8g he = %.8g status = %d level = %d\n", r.q, r.v, r.h,
                r.he, static_cast<int>(r.status), orvalis::danger_level(r));
    std::printf("bits q = %08x\n", static_cast<unsigned>(bits(r.q)));

    const orvalis::site s({5, 10, 4000, 1, 0.15f});
    const float xs[] = {5, 100};
    const float ys[] = {-20};
    float q[2], v[2], h[2], he[2];
    int32_t st[2];
    s.evaluate_grid(xs, 2, ys, 1, {q, v, h, he, st});
    const orvalis::result p = s.evaluate(100, 20);
    std::printf("grid status = %d %d, q(100, -20) = %.8g, same as point: %s\n",
                static_cast<int>(st[0]), static_cast<int>(st[1]), q[1],
                bits(q[1]) == bits(p.q) ? "yes" : "no");
    return 0;
}
