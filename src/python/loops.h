// The Python module's loops over whole arrays, free of Python objects so
// that they run without the interpreter lock.
#pragma once
#include <cstddef>
#include <cstdint>

#include "orvalis/orvalis.h"

namespace orv::python {

// An input of n points: n values, or one value for all of them (step 0).
struct column {
    const float* p;
    std::size_t step;
    float at(std::size_t i) const { return p[i * step]; }
};

// The seven inputs of a point evaluation.
struct point_in {
    column H, B, Vol, S, D, x, y;
};

// Where a point evaluation writes, n values each.
struct point_out {
    float* q;
    float* v;
    float* h;
    float* he;
    int32_t* st;
    int8_t* level;
};

// Evaluates n points with their danger levels; the site stage is computed
// once when the five site inputs are single values.
void evaluate_points(const point_in& in, std::size_t n, const point_out& out,
                     const orvalis::levels& l);

// The danger levels of n grid results.
void grid_levels(const orvalis::grid_out& g, std::size_t n, int8_t* level,
                 const orvalis::levels& l);

// The danger levels of n pairs of flow depth and specific discharge.
void danger_levels(column h, column q, std::size_t n, int8_t* level, const orvalis::levels& l);

} // namespace orv::python
