// Evaluation of the model on a grid of points given by two axes, and on lists of points.
#pragma once
#include <cstddef>
#include <cstdint>

#include "model/stages.h"

namespace orv {

// Where the results of a grid go: arrays of ny rows by nx columns, row j
// holding the points (xs[i], ys[j]) at index j * nx + i.
struct grid_out {
    real* q;
    real* v;
    real* h;
    real* he;
    int32_t* st;
};

// Computes every point of the grid xs by ys for site s, bit for bit as
// evaluate() does point by point: each distinct x once, then only the lateral
// stage per point. threads: how many threads to use, 0 for all cores.
void evaluate_grid(const site& s, const real* xs, std::size_t nx, const real* ys, std::size_t ny,
                   const grid_out& out, unsigned threads = 1);

// The distance stage of each column xs[0..nx) into st[0..nx). A column whose
// x is <= 0 gets a station with status 5 (not downstream) and nothing else.
void make_stations(const site& s, const real* xs, std::size_t nx, station* st,
                   unsigned threads = 1);

// Computes the rows ys[0..ny) of a grid whose columns have the stations
// st[0..nx) from make_stations: the lateral stage per point, bit for bit
// evaluate() at (x, y); rows with equal |y| are computed once and copied.
void evaluate_rows(const site& s, const station* st, std::size_t nx, const real* ys, std::size_t ny,
                   const grid_out& out, unsigned threads = 1);

// Computes n unrelated points (xs[k], ys[k]) as evaluate() does, result k at
// index k of out.
void evaluate_points(const site& s, const real* xs, const real* ys, std::size_t n,
                     const grid_out& out, unsigned threads = 1);

// The number of threads to use for work of the given number of cells:
// threads (0 for all cores), but 1 when the work is too small to pay for
// starting threads.
unsigned threads_for(std::size_t cells, unsigned threads);

} // namespace orv
