// Evaluation of the model on a grid of points given by two axes.
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

} // namespace orv
