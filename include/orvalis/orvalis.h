// The ORVALIS model as a library: flow intensities at points below a breach.
//
// A site (head H, breach width B, storage volume Vol, bed slope S, grain
// diameter D) and a point (x metres downstream of the breach along the jet,
// y metres beside its centre line) give the specific discharge q, the flow
// velocity v, the flow depth h and the energy head he, with a status. The
// results are bit for bit those of the orvalis programs: the computation runs
// in the library, compiled with the project's own floating-point settings, so
// a caller's compiler options cannot change them. The method is symmetric
// about the jet's axis: y and -y give the same result.
//
//     #include <orvalis/orvalis.h>
//
//     orvalis::result r = orvalis::evaluate({}, 100, 0); // initial site
//     // r.status == orvalis::ok, r.q == 0.50926512f
//
//     const orvalis::site s({5, 10, 4000, 1, 0.15f}); // site stage once
//     for (float x : xs) use(s.evaluate(x, 0));       // then per point
//
// Link with the CMake target orvalis::model (find_package(orvalis)).
// Requires C++17. The functions are thread-safe; a site may be shared
// between threads.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

namespace orvalis {

// The site; the defaults are the calculator's initial values.
struct site_params {
    float H = 5;      // head of water behind the breach [m]
    float B = 10;     // breach width [m]
    float Vol = 4000; // storage volume [m3]
    float S = 1;      // bed slope [%]
    float D = 0.15f;  // grain diameter [m]
};

// Status of a point: ok with a result, else no result. 1 to 4: the method's
// tables do not reach the point or the slope (the calculator's warnings);
// 5: x <= 0, the point is not below the breach and is not computed.
enum status_code : int32_t {
    ok = 0,
    too_close = 1,      // distance from the breach too small
    too_far = 2,        // distance from the breach too large
    too_flat = 3,       // slope too small
    too_steep = 4,      // slope too large
    not_downstream = 5, // x <= 0
};

// The intensities at a point; q, v, h and he are NaN unless status is ok.
struct result {
    int32_t status;
    float q;  // specific discharge [m2/s]
    float v;  // flow velocity [m/s]
    float h;  // flow depth [m]
    float he; // energy head [m]
};

// The result at (x, y) for site p, every stage computed afresh.
result evaluate(const site_params& p, float x, float y);

// Where a grid evaluation writes: arrays of ny rows by nx columns, the point
// (xs[i], ys[j]) at index j * nx + i.
struct grid_out {
    float* q;
    float* v;
    float* h;
    float* he;
    int32_t* status;
};

namespace detail {
struct site_stage;
} // namespace detail

// A site with what depends only on the site computed once; evaluating points
// of it gives the same bits as evaluate() with its parameters.
class site {
  public:
    explicit site(const site_params& p = {});

    // The result at (x, y).
    result evaluate(float x, float y) const;

    // Every point of the grid xs by ys into out; each distinct x is taken
    // once. threads: how many threads to use, 0 for all cores.
    void evaluate_grid(const float* xs, std::size_t nx, const float* ys, std::size_t ny,
                       const grid_out& out, unsigned threads = 1) const;

  private:
    std::shared_ptr<const detail::site_stage> stage_;
};

// Thresholds of the danger levels, ascending; each holds for h in m and q in m2/s.
struct levels {
    float t[3] = {0.5f, 1.0f, 2.0f};
};

// True when the three thresholds are finite, positive and strictly ascending.
bool valid(const levels& l);

// No danger level: a result without status ok, or with a NaN in h or q.
inline constexpr int no_level = -1;

// The danger level 0 to 3 of r: the highest k for which h or q exceeds
// threshold k, compared in double; no_level when there is none.
int danger_level(const result& r, const levels& l = {});

// The same for a flow depth h and a specific discharge q.
int danger_level(float h, float q, const levels& l = {});

} // namespace orvalis
