// A feature's samples through the model: the worst point, the counts and
// the levels at the ends of the tables.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "assess/lattice_cache.h"
#include "assess/sample.h"
#include "map/frame.h"
#include "model/level.h"
#include "model/stages.h"

namespace orv::assess {

// What every feature is judged by: the site, the thresholds, the jet in
// world coordinates, and the stations at the ends of the tables. All of it
// depends on the scenario alone: made once, read by every thread.
struct frame {
    site s;
    levels lv;
    map::georef g;
    bool has_near = false; // status 1 occurs: near is the first Real x after it
    station near{};
    real near_x = 0;
    bool has_far = false; // status 2 occurs: far is the last Real x before it
    station far{};
    real far_x = 0;
    jet_turn turn{}; // g with its azimuth's sine and cosine
};

// The frame of site s with thresholds lv and the jet g.
frame make_frame(const site& s, const levels& lv, const map::georef& g);

// What became of a feature.
enum class state { full, part, none, upstream, empty };

// The German-free key of a state, as written to the output.
const char* state_key(state st);

// The judgement of one feature.
struct verdict {
    std::uint64_t n = 0;        // samples
    std::uint64_t nores = 0;    // samples without a result
    int level = no_level;       // the worst point's level, no_level when none
    intensity worst{};          // the worst point's results
    real x = 0, y = 0;          // the worst point as handed to the model (y signed)
    double east = 0, north = 0; // the worst point as sampled, in the site's system
    int start = no_level;       // highest level at the near end over samples of status 1
    int end = no_level;         // highest level at the far end over samples of status 2
    bool near = false;          // some sample has status 1
    bool beyond = false;        // some sample has status 2
    std::uint32_t statuses = 0; // bit k set when some sample has status k
    state st = state::empty;
    bool failed = false; // the geometry could not be read (--keep-going)
};

// The critical quantity at level: "h", "q", "hq", or nullptr below level 1.
const char* criterion(const verdict& v, const levels& lv);

// Whether a feature leaves the verdict open when level from counts as
// endangered: it is not endangered, but its geometry could not be read or
// the zone reaches from at an end of the tables where it has samples.
bool is_open(const verdict& v, int from);

// Why such a feature is open, in German with umlauts (for data files).
std::string open_reason(const verdict& v, int from);

// Judges samples one after another. With a cache, samples on its lattice
// take what another object found there, bit for bit what they would find.
class judge : public sample_sink {
  public:
    explicit judge(const frame& f, lattice_cache* cache = nullptr) : f_(f), cache_(cache) {}
    void take(const xy* p, std::size_t n) override;
    // The judgement so far, its state set.
    verdict result() const;

  private:
    const station& station_at(real x);
    point_outcome evaluate(real x, real ay, intensity& r);
    void add(const point_outcome& o, const xy& p, real x, real y, const intensity* r);

    const frame& f_;
    lattice_cache* cache_;
    verdict v_;
    bool have_station_ = false;
    std::uint32_t x_bits_ = 0;
    station t_{};
};

} // namespace orv::assess
