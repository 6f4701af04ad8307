// The shared table of lattice point outcomes.
#include "assess/lattice_cache.h"

#include <bit>
#include <cmath>

namespace orv::assess {

namespace {

// Status in the low byte, the level (-1 .. 3) plus one in the next.
std::uint32_t pack(const point_outcome& o) {
    return static_cast<std::uint32_t>(o.st & 0xff) |
           static_cast<std::uint32_t>((o.level + 1) & 0xff) << 8;
}

// The index k with (k + 0.5) s == c exactly, when it fits 32 bits.
bool index_of(double c, double s, std::int32_t& k) {
    const double f = std::floor(c / s);
    if (!(std::fabs(f) < 2147483647.0)) return false;
    k = static_cast<std::int32_t>(f);
    return (static_cast<double>(k) + 0.5) * s == c;
}

} // namespace

lattice_cache::lattice_cache(double s, unsigned slot_bits)
    : s_(s), bits_(slot_bits), half_(slot_bits / 2), slots_(new slot[std::size_t{1} << slot_bits]) {}

bool lattice_cache::index(double e, double n, std::int32_t& k, std::int32_t& m) const {
    return index_of(e, s_, k) && index_of(n, s_, m);
}

// Tiles of 2^half x 2^(bits - half) points: neighbours never share a slot.
std::uint32_t lattice_cache::at(std::int32_t k, std::int32_t m) const {
    const auto uk = static_cast<std::uint32_t>(k);
    const auto um = static_cast<std::uint32_t>(m);
    return (uk & ((1u << half_) - 1)) | (um & ((1u << (bits_ - half_)) - 1)) << half_;
}

bool lattice_cache::find(std::int32_t k, std::int32_t m, point_outcome& o) const {
    const slot& sl = slots_[at(k, m)];
    const std::uint32_t before = sl.seq.load(std::memory_order_acquire);
    if (before == 0 || (before & 1)) return false;
    const std::uint32_t sk = sl.k.load(std::memory_order_relaxed);
    const std::uint32_t sm = sl.m.load(std::memory_order_relaxed);
    const std::uint32_t h = sl.h.load(std::memory_order_relaxed);
    const std::uint32_t q = sl.q.load(std::memory_order_relaxed);
    const std::uint32_t meta = sl.meta.load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (sl.seq.load(std::memory_order_relaxed) != before) return false;
    if (sk != static_cast<std::uint32_t>(k) || sm != static_cast<std::uint32_t>(m)) return false;
    o.st = static_cast<std::int32_t>(meta & 0xff);
    o.level = static_cast<int>(meta >> 8 & 0xff) - 1;
    o.h = std::bit_cast<real>(h);
    o.q = std::bit_cast<real>(q);
    return true;
}

void lattice_cache::put(std::int32_t k, std::int32_t m, const point_outcome& o) {
    slot& sl = slots_[at(k, m)];
    std::uint32_t seq = sl.seq.load(std::memory_order_relaxed);
    if ((seq & 1) || !sl.seq.compare_exchange_strong(seq, seq + 1, std::memory_order_acquire))
        return;
    std::atomic_thread_fence(std::memory_order_release);
    sl.k.store(static_cast<std::uint32_t>(k), std::memory_order_relaxed);
    sl.m.store(static_cast<std::uint32_t>(m), std::memory_order_relaxed);
    sl.h.store(std::bit_cast<std::uint32_t>(o.h), std::memory_order_relaxed);
    sl.q.store(std::bit_cast<std::uint32_t>(o.q), std::memory_order_relaxed);
    sl.meta.store(pack(o), std::memory_order_relaxed);
    // Skips 0 on wrapping, which would read as never written.
    const std::uint32_t next = seq + 2 == 0 ? 2 : seq + 2;
    sl.seq.store(next, std::memory_order_release);
}

} // namespace orv::assess
