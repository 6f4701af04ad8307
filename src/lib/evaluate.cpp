// The public point and grid evaluation over the model's stages.
#include "orvalis/orvalis.h"

#include "model/grid.h"
#include "model/point.h"

namespace orvalis {

namespace detail {

// The model's site stage behind a public site.
struct site_stage {
    orv::site s;
};

} // namespace detail

namespace {

// The model's parameter set for site p and the point (x, y).
orv::params model_params(const site_params& p, float x, float y) {
    return {p.H, p.B, p.Vol, p.S, p.D, x, y};
}

// The public form of a point's outcome.
result public_result(const orv::point_result& r) {
    return {r.st, r.res.q, r.res.v, r.res.h, r.res.he};
}

} // namespace

// All three stages through the model's pointwise evaluation.
result evaluate(const site_params& p, float x, float y) {
    return public_result(orv::evaluate(model_params(p, x, y)));
}

// Computes the site stage of p.
site::site(const site_params& p)
    : stage_(std::make_shared<const detail::site_stage>(
          detail::site_stage{orv::make_site(model_params(p, 0, 0))})) {}

// The distance and lateral stages at (x, y).
result site::evaluate(float x, float y) const {
    return public_result(orv::evaluate(stage_->s, x, y));
}

// The model's grid evaluation.
void site::evaluate_grid(const float* xs, std::size_t nx, const float* ys, std::size_t ny,
                         const grid_out& out, unsigned threads) const {
    orv::evaluate_grid(stage_->s, xs, nx, ys, ny, {out.q, out.v, out.h, out.he, out.status},
                       threads);
}

} // namespace orvalis
