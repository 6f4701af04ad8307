// Claims of blocks of rows by compare-and-swap; completion by atomic wait.
#include "batch/row_compute.h"

#include <algorithm>

namespace orv::batch {

namespace {

// Rows claimed at once.
constexpr uint32_t block = 64;

constexpr uint64_t pack(uint32_t front, uint32_t back) {
    return static_cast<uint64_t>(front) << 32 | back;
}

// Claims up to a block of rows [a, b) from one end; false when none is left.
bool claim(chunk& c, bool front, uint32_t& a, uint32_t& b) {
    uint64_t cur = c.claims.load(std::memory_order_relaxed);
    for (;;) {
        const uint32_t f = static_cast<uint32_t>(cur >> 32);
        const uint32_t e = static_cast<uint32_t>(cur);
        if (f >= e) return false;
        const uint32_t n = std::min(block, e - f);
        a = front ? f : e - n;
        b = a + n;
        const uint64_t next = front ? pack(f + n, e) : pack(f, e - n);
        if (c.claims.compare_exchange_weak(cur, next, std::memory_order_relaxed)) return true;
    }
}

} // namespace

void open_rows(chunk& c) {
    c.done.store(0, std::memory_order_relaxed);
    c.claims.store(pack(0, static_cast<uint32_t>(c.rows.size())), std::memory_order_relaxed);
}

void compute_rows(chunk& c, row_evaluator& eval, bool front) {
    uint32_t a, b;
    while (claim(c, front, a, b)) {
        for (uint32_t i = a; i < b; ++i) {
            row_out& r = c.rows[i];
            if (r.kind != row_kind::data) continue;
            const row_result res = eval.run(c.sites[r.site], r.x, r.y);
            r.st = static_cast<int8_t>(res.st);
            r.level = static_cast<int8_t>(res.level);
            r.res = res.res;
        }
        c.done.fetch_add(b - a, std::memory_order_release);
        c.done.notify_all();
    }
}

void await_rows(chunk& c) {
    const uint32_t n = static_cast<uint32_t>(c.rows.size());
    for (uint32_t d; (d = c.done.load(std::memory_order_acquire)) != n;)
        c.done.wait(d, std::memory_order_acquire);
}

} // namespace orv::batch
