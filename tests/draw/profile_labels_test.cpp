// The threshold labels of a profile panel: never two over each other.
#include <vector>

#include <gtest/gtest.h>

#include "draw/profile_picture.h"

namespace {

TEST(ProfileLabels, CloseLinesMoveLeftNoneOverlap) {
    // Heights from the top down, widths 30; near 10, gap 4, right end 200.
    const struct {
        std::vector<double> y;
        std::vector<double> want;
    } rows[] = {
        {{10, 50, 90}, {200, 200, 200}},       // far apart: all at the right end
        {{90, 95, 99}, {200, 166, 132}},       // all close: side by side
        {{10, 48, 52}, {200, 200, 166}},       // the lower two close
        {{10, 15, 60}, {200, 166, 200}},       // the upper two close
        {{80, 89.99, 100}, {200, 166, 200}},   // just under and at the distance
    };
    for (const auto& r : rows) {
        const auto ends = orv::draw::label_ends(r.y, {30, 30, 30}, 200, 10, 4);
        EXPECT_EQ(ends, r.want) << r.y[0] << ", " << r.y[1] << ", " << r.y[2];
    }
}

} // namespace
