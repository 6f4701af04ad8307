// Axis ticks: readable steps, their positions and labels.
#pragma once
#include <string>
#include <vector>

namespace orv::draw {

// The step of 1, 2 or 5 times a power of ten that gives about n ticks over
// a span (at least one step per span / n).
double tick_step(double span, int n);

// The multiples of step from lo to hi.
std::vector<double> ticks(double lo, double hi, double step);

// The decimals a label needs at this step.
int step_decimals(double step);

} // namespace orv::draw
