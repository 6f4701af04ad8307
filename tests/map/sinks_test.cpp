// Two sinks of one frame fed as one, and when world coordinates are too
// large for a grid's cells.
#include <vector>

#include <gtest/gtest.h>

#include "map/axis.h"
#include "map/frame.h"
#include "map/strip.h"

namespace {

// Counts the strips it takes and fails from the given one on.
class counting_sink : public orv::map::strip_sink {
  public:
    explicit counting_sink(int fail_at = -1) : fail_at_(fail_at) {}
    bool take(const orv::map::strip&) override { return ++taken != fail_at_ + 1 || fail_at_ < 0; }
    int taken = 0;

  private:
    int fail_at_;
};

// Each strip reaches both sinks in turn; a failing first sink stops the
// strip before the second, and either may be missing.
TEST(SinkPair, FeedsBothInTurn) {
    struct row {
        bool first, second;
        int first_fails_at, second_fails_at;
        bool ok;
        int first_taken, second_taken;
    };
    const std::vector<row> rows = {
        {true, true, -1, -1, true, 1, 1},  {true, false, -1, -1, true, 1, 0},
        {false, true, -1, -1, true, 0, 1}, {false, false, -1, -1, true, 0, 0},
        {true, true, 0, -1, false, 1, 0},  {true, true, -1, 0, false, 1, 1},
        {false, true, -1, 0, false, 0, 1},
    };
    orv::map::strip s;
    for (const row& r : rows) {
        counting_sink a(r.first_fails_at), b(r.second_fails_at);
        orv::map::sink_pair pair(r.first ? &a : nullptr, r.second ? &b : nullptr);
        EXPECT_EQ(pair.take(s), r.ok);
        EXPECT_EQ(a.taken, r.first_taken);
        EXPECT_EQ(b.taken, r.second_taken);
    }
}

// Coordinates of a few hundred kilometres keep a metre grid; those near
// 2^56 lose the cells, and a span lost in their rounding is too coarse too.
TEST(MapFrame, TooCoarse) {
    struct row {
        double e0, n0, cell;
        bool coarse;
    };
    const std::vector<row> rows = {
        {2600000, 1200000, 1, false}, {0, 0, 0.001, false}, {-2600000, 1200000, 0.5, false},
        {1e17, 0, 1, true},           {0, -1e17, 1, true},  {1e12, 0, 1e-6, true},
        {1e12, 0, 1, false},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.e0 + r.n0);
        const orv::map::axis x = orv::map::make_axis(0, 100 * r.cell, r.cell);
        const orv::map::axis y = orv::map::make_axis(-10 * r.cell, 10 * r.cell, r.cell);
        EXPECT_EQ(orv::map::too_coarse({r.e0, r.n0, 30}, x, y), r.coarse);
    }
}

} // namespace
