// Grid evaluation by the stages of the model, split over threads.
#include "model/grid.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>
#include <unordered_map>
#include <vector>

#include "base/workers.h"
#include "model/point.h"

namespace orv {

namespace {

// Below this many cells per thread, starting a thread costs more than it saves.
constexpr std::size_t min_cells_per_thread = 16384;

// A station costs about as much as this many lateral stages.
constexpr std::size_t station_weight = 16;

// Runs fn(begin, end) over [0, n) cut into parts contiguous ranges, one per
// worker; where a thread cannot be started, the calling thread takes its range.
template <class F> void split(std::size_t n, unsigned parts, const F& fn) {
    if (parts > n) parts = static_cast<unsigned>(n);
    if (parts <= 1) {
        fn(std::size_t{0}, n);
        return;
    }
    base::for_each(parts, parts,
                   [&](unsigned, std::size_t p) { fn(n * p / parts, n * (p + 1) / parts); });
}

// Writes one point's outcome to index k of out.
void put(const grid_out& out, std::size_t k, int32_t st, const intensity& r) {
    out.q[k] = r.q;
    out.v[k] = r.v;
    out.h[k] = r.h;
    out.he[k] = r.he;
    out.st[k] = st;
}

// Row j of the grid: the lateral stage at |y| beside every column.
void compute_row(const site& s, const station* st, std::size_t nx, real y, const grid_out& out,
                 std::size_t j) {
    const std::size_t k0 = j * nx;
    make_row(s, st, nx, std::fabs(y), out.q + k0, out.v + k0, out.h + k0, out.he + k0, out.st + k0);
}

// Copies row from to row to.
void copy_row(const grid_out& out, std::size_t nx, std::size_t from, std::size_t to) {
    const std::size_t bytes = nx * sizeof(real);
    std::memcpy(out.q + to * nx, out.q + from * nx, bytes);
    std::memcpy(out.v + to * nx, out.v + from * nx, bytes);
    std::memcpy(out.h + to * nx, out.h + from * nx, bytes);
    std::memcpy(out.he + to * nx, out.he + from * nx, bytes);
    std::memcpy(out.st + to * nx, out.st + from * nx, nx * sizeof(int32_t));
}

// The bits of |y|: rows with equal bits have equal results.
uint32_t abs_bits(real y) {
    const real a = std::fabs(y);
    uint32_t u;
    std::memcpy(&u, &a, sizeof u);
    return u;
}

} // namespace

// All cores for 0; at most one thread per min_cells_per_thread cells.
unsigned threads_for(std::size_t cells, unsigned threads) {
    unsigned t = threads != 0 ? threads : std::thread::hardware_concurrency();
    if (t == 0) t = 1;
    const std::size_t most = std::max<std::size_t>(1, cells / min_cells_per_thread);
    return static_cast<unsigned>(std::min<std::size_t>(t, most));
}

// A station per column; x <= 0 (a NaN x is not) never reaches the model.
void make_stations(const site& s, const real* xs, std::size_t nx, station* st, unsigned threads) {
    split(nx, threads_for(nx * station_weight, threads), [&](std::size_t b, std::size_t e) {
        for (std::size_t i = b; i < e; ++i) {
            if (xs[i] <= 0) {
                st[i] = station{};
                st[i].st = not_downstream;
            } else {
                st[i] = make_station(s, xs[i]);
            }
        }
    });
}

// Each distinct |y| once, then the copies.
void evaluate_rows(const site& s, const station* st, std::size_t nx, const real* ys, std::size_t ny,
                   const grid_out& out, unsigned threads) {
    std::vector<std::size_t> own;  // rows computed
    std::vector<std::size_t> from; // for each copied row: the row it copies
    std::vector<std::size_t> to;
    std::unordered_map<uint32_t, std::size_t> seen;
    seen.reserve(ny);
    for (std::size_t j = 0; j < ny; ++j) {
        const auto [it, fresh] = seen.emplace(abs_bits(ys[j]), j);
        if (fresh) {
            own.push_back(j);
        } else {
            from.push_back(it->second);
            to.push_back(j);
        }
    }
    split(own.size(), threads_for(own.size() * nx, threads), [&](std::size_t b, std::size_t e) {
        for (std::size_t r = b; r < e; ++r) compute_row(s, st, nx, ys[own[r]], out, own[r]);
    });
    split(to.size(), threads_for(to.size() * nx / 8, threads), [&](std::size_t b, std::size_t e) {
        for (std::size_t r = b; r < e; ++r) copy_row(out, nx, from[r], to[r]);
    });
}

// The stations once per column, then the rows.
void evaluate_grid(const site& s, const real* xs, std::size_t nx, const real* ys, std::size_t ny,
                   const grid_out& out, unsigned threads) {
    std::vector<station> st(nx);
    make_stations(s, xs, nx, st.data(), threads);
    evaluate_rows(s, st.data(), nx, ys, ny, out, threads);
}

// Point by point, in contiguous parts per thread.
void evaluate_points(const site& s, const real* xs, const real* ys, std::size_t n,
                     const grid_out& out, unsigned threads) {
    split(n, threads_for(n * station_weight, threads), [&](std::size_t b, std::size_t e) {
        for (std::size_t k = b; k < e; ++k) {
            const point_result r = evaluate(s, xs[k], ys[k]);
            put(out, k, r.st, r.res);
        }
    });
}

} // namespace orv
