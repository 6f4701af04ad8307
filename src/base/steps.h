// Readable steps: 1, 2 or 5 (sometimes 2.5) times a power of ten, for cell
// sizes, sample spacings, axis ticks, scale tops and scale bars.
#pragma once

namespace orv {

// The smallest of 1, 2, 5 or 10 times the power of ten below raw that is at
// least raw: a tick step giving no more ticks than asked. 1 for raw <= 0 or
// not finite.
double step_at_least(double raw);

// Of 1, 2, 5 or 10 times the power of ten below raw, the one nearest to raw
// on a logarithmic scale: a cell size or sample spacing. 1 for raw <= 0 or
// not finite.
double step_nearest(double raw);

// A readable round number at or above v (1, 2, 2.5, 5 or 10 times a power
// of ten): the top of a value scale. 1 for v <= 0 or not finite.
double round_up_readable(double v);

// The largest of 1, 2 or 5 times a power of ten at or below v: the length of
// a scale bar. 1 for v <= 0 or not finite.
double round_down_readable(double v);

} // namespace orv
