// The levels along a line, piece by piece between its samples, each sample
// judged alone by the judge so that the pieces agree with the verdict.
#pragma once
#include <cstddef>
#include <vector>

#include "assess/judge.h"
#include "assess/sample.h"

namespace orv::assess {

// A stretch of a line whose pieces share one level (no_level: no result
// there): the polyline from one sample to another through the line's
// vertices between them.
struct level_run {
    int level = no_level;
    std::vector<xy> pts;
};

// The runs of the line v[0..n), sampled at spacing exactly as
// sampler::line samples it and judged under f. A piece between two
// consecutive samples takes the higher level of its two ends (a sample
// without a result counting below level 0), so that no stretch is shown
// less endangered than a sample on it; consecutive pieces of one level
// form one run. The highest level among the runs is the level the judge
// gives the whole line. A line of one vertex is one run from it to itself.
std::vector<level_run> line_runs(const frame& f, double spacing, const xy* v, std::size_t n);

} // namespace orv::assess
