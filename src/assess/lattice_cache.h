// What the judge found at lattice points, kept in a bounded table that the
// threads of one run share, so that a point held by many objects is
// evaluated about once.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

#include "model/stages.h"

namespace orv::assess {

// What a sample's judgement takes from the model at one point: its status
// and, for status 0, the level and the two results the worst point is
// chosen by; for status 1 and 2 the level at the near or far end of the
// tables (no_level when the site has no such end).
struct point_outcome {
    std::int32_t st = 0;
    int level = -1;
    real h = 0;
    real q = 0;
};

// A direct-mapped table of point outcomes keyed by lattice indices (k, m),
// the point ((k + 0.5) s, (m + 0.5) s). An outcome is a function of the
// point alone, so a slot overwritten or read while written only costs a
// new evaluation: each slot is guarded by a sequence number, and a read
// that saw it change, or found another point, is a miss.
class lattice_cache {
  public:
    // Spacing s; 2^slot_bits slots of 24 bytes.
    explicit lattice_cache(double s, unsigned slot_bits = default_bits);

    // Whether (e, n) is a lattice point whose indices fit the table: k, m set.
    bool index(double e, double n, std::int32_t& k, std::int32_t& m) const;
    // The outcome kept for (k, m); false when there is none.
    bool find(std::int32_t k, std::int32_t m, point_outcome& o) const;
    // Keeps o for (k, m), unless another thread writes the slot just now.
    void put(std::int32_t k, std::int32_t m, const point_outcome& o);

    // 2^18 slots: 6 MiB, tiles of 512 x 512 lattice points without conflict.
    static constexpr unsigned default_bits = 18;

  private:
    struct slot {
        std::atomic<std::uint32_t> seq{0}; // 0 never written, odd while written
        std::atomic<std::uint32_t> k{0}, m{0}, h{0}, q{0}, meta{0};
    };
    std::uint32_t at(std::int32_t k, std::int32_t m) const;

    double s_;
    unsigned bits_;
    unsigned half_; // bits of k in a slot's number; the rest are m's
    std::unique_ptr<slot[]> slots_;
};

} // namespace orv::assess
