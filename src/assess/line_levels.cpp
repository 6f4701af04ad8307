// Runs of equal level along a line, built while its samples stream past.
#include "assess/line_levels.h"

#include <algorithm>

namespace orv::assess {

namespace {

// Judges each sample alone and joins the pieces between consecutive
// samples into runs; only run ends and the line's vertices are kept, so a
// long line costs memory by its vertices and level changes, not its samples.
class run_builder : public sample_sink {
  public:
    explicit run_builder(const frame& f) : f_(f) {}

    void take(const xy* p, std::size_t n) override {
        for (std::size_t k = 0; k < n; ++k) {
            if (skip_) {
                skip_ = false;
                continue;
            }
            judge j(f_);
            j.take(p + k, 1);
            step(p[k], j.result().level);
        }
    }

    // The next sample repeats the last one (a segment's first vertex).
    void skip_next() { skip_ = true; }

    // The last sample was a vertex: the run holds it, so the line's shape stays.
    void vertex() {
        if (!runs_.empty() && !prev_in_) runs_.back().pts.push_back(prev_);
        prev_in_ = true;
    }

    std::vector<level_run> finish() {
        // A single sample: one run from it to itself, drawn as a dot.
        if (runs_.empty() && started_) runs_.push_back({prev_level_, {prev_, prev_}});
        vertex();
        return std::move(runs_);
    }

  private:
    void step(xy q, int level) {
        if (!started_) {
            started_ = true;
            prev_ = q, prev_level_ = level, prev_in_ = false;
            return;
        }
        const int piece = std::max(prev_level_, level);
        if (runs_.empty() || runs_.back().level != piece) {
            if (!runs_.empty() && !prev_in_) runs_.back().pts.push_back(prev_);
            runs_.push_back({piece, {prev_}});
        }
        prev_ = q, prev_level_ = level, prev_in_ = false;
    }

    const frame& f_;
    std::vector<level_run> runs_;
    bool started_ = false, skip_ = false;
    xy prev_{};
    int prev_level_ = no_level;
    bool prev_in_ = false; // prev_ is the last point of the last run
};

} // namespace

std::vector<level_run> line_runs(const frame& f, double spacing, const xy* v, std::size_t n) {
    run_builder b(f);
    std::vector<xy> buf;
    sampler s(spacing, b, buf);
    // Segment by segment, as sampler::line puts them: each vertex, then the
    // points strictly between it and the next.
    if (n == 1) {
        s.line(v, 1);
        s.flush();
    }
    for (std::size_t i = 0; i + 1 < n; ++i) {
        if (i > 0) b.skip_next();
        s.line(v + i, 2);
        s.flush();
        b.vertex();
    }
    return b.finish();
}

} // namespace orv::assess
