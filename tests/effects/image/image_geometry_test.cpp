#include "effects/image/image_geometry.h"

#include <gtest/gtest.h>

namespace kavrel {
namespace {

ScrollGeometry geo(int W, int H, int w, int h, int level, int d) {
    ScrollGeometry g;
    g.W = W, g.H = H, g.w = w, g.h = h, g.level = level, g.direction = d;
    return g;
}

ViewPos start(const ScrollGeometry& g) {
    ViewPos p{-999, -999};
    EXPECT_TRUE(startView(g, p));
    return p;
}

TEST(ImageGeometry, SpeedGivesTheStepInterval) {
    const std::pair<int, int> cases[] = {{100, 10},  {90, 90},  {75, 510},
                                         {50, 2010}, {1, 7851}, {0, 8010}};
    for (auto [speed, ms] : cases) EXPECT_EQ(imageStepInterval(speed), ms) << speed;
    EXPECT_GT(imageStepInterval(-32768), 0);  // far outside the slider, no overflow
}

TEST(ImageGeometry, StartTableForEveryDirectionAndOffset) {
    // W - w = 8, H - h = 4: off 0, 4, 8 and offY 0, 2, 4 for levels 0, 50, 100.
    struct Row {
        int d, level, x, y;
    } rows[] = {
        {0, 0, 0, 0},      {0, 50, 4, 0}, {1, 100, 8, 0},  {2, 0, -11, -11},
        {2, 100, -3, -11}, {3, 0, 0, 0},  {3, 50, 0, 2},   {3, 100, 0, 4},
        {4, 50, -7, 15},   {5, 0, 0, 3},  {5, 100, 8, 3},  {6, 0, 19, 15},
        {6, 100, 11, 15},  {7, 50, 7, 2}, {8, 0, 19, -11}, {8, 100, 11, -11},
    };
    for (const Row& r : rows) {
        const ViewPos p = start(geo(20, 16, 12, 12, r.level, r.d));
        EXPECT_EQ(p.x, r.x) << "d " << r.d << " level " << r.level;
        EXPECT_EQ(p.y, r.y) << "d " << r.d << " level " << r.level;
    }
    // A picture narrower than the matrix: Int(-7 x 50 / 100) rounds down to -4.
    EXPECT_EQ(start(geo(5, 12, 12, 12, 50, 1)).x, -4);
    // Directions outside 0..8 keep the position.
    ViewPos kept{3, 4};
    EXPECT_FALSE(startView(geo(20, 16, 12, 12, 0, 9), kept));
    EXPECT_EQ(kept.x, 3);
    EXPECT_EQ(kept.y, 4);
}

TEST(ImageGeometry, TravelExtentComparesAcross) {
    EXPECT_EQ(travelExtent(geo(20, 12, 12, 12, 0, 2)), 12);  // 0 is not greater than 8
    EXPECT_EQ(travelExtent(geo(12, 30, 12, 12, 0, 2)), 12);  // 18 > 0: the width
    EXPECT_EQ(travelExtent(geo(15, 17, 12, 12, 0, 2)), 15);  // 5 > 3: the width
    EXPECT_EQ(travelExtent(geo(20, 16, 12, 8, 0, 2)), 16);   // a tie gives H
}

TEST(ImageGeometry, StraightStepsWrap) {
    // The worked example: d = 3 runs 0..19 and wraps to 0.
    const ScrollGeometry left = geo(20, 12, 12, 12, 0, 3);
    ViewPos p = start(left);
    for (int i = 1; i <= 19; ++i) {
        stepView(left, 12, p);
        EXPECT_EQ(p.x, i);
    }
    stepView(left, 12, p);
    EXPECT_EQ(p.x, 0);

    // d = 5 never shows row 0 after a step; d = 7 shows column 0.
    const ScrollGeometry down = geo(12, 12, 12, 12, 0, 5);
    ViewPos q{0, 1};
    stepView(down, 12, q);
    EXPECT_EQ(q.y, 11);
    const ScrollGeometry right = geo(20, 12, 12, 12, 0, 7);
    ViewPos r{1, 0};
    stepView(right, 12, r);
    EXPECT_EQ(r.x, 0);
    stepView(right, 12, r);
    EXPECT_EQ(r.x, 19);
    ViewPos u{5, 11};
    stepView(geo(12, 12, 12, 12, 0, 1), 12, u);
    EXPECT_EQ(u.y, 0);
    EXPECT_EQ(u.x, 5);
}

TEST(ImageGeometry, DiagonalRunsRestartFromTheirStart) {
    // d = 6 on a matrix-sized picture passes (-12, -12), all black, then restarts.
    const ScrollGeometry g = geo(12, 12, 12, 12, 0, 6);
    ViewPos p = start(g);
    ASSERT_EQ(p.x, 11);
    for (int i = 0; i < 23; ++i) stepView(g, 12, p);
    EXPECT_EQ(p.x, -12);
    EXPECT_EQ(p.y, -12);
    stepView(g, 12, p);
    EXPECT_EQ(p.x, 11);
    EXPECT_EQ(p.y, 11);

    // W = 100, H = 12, L = 100, d = 2: the start 77 already reaches the
    // extent 12, so every step restarts and the picture stands still.
    const ScrollGeometry still = geo(100, 12, 12, 12, 100, 2);
    ViewPos s = start(still);
    const int32_t extent = travelExtent(still);
    for (int i = 0; i < 3; ++i) {
        stepView(still, extent, s);
        EXPECT_EQ(s.x, 77);
        EXPECT_EQ(s.y, -11);
    }
    // d = 8 restarts on its row coordinate, keeping the extent it was given.
    const ScrollGeometry up = geo(12, 12, 12, 12, 0, 8);
    ViewPos t{0, 4};
    stepView(up, 5, t);
    EXPECT_EQ(t.x, 11);
    EXPECT_EQ(t.y, -11);
    // Directions outside 1..8 do not move.
    ViewPos n{3, 3};
    stepView(geo(20, 20, 12, 12, 0, 0), 12, n);
    stepView(geo(20, 20, 12, 12, 0, -2), 12, n);
    EXPECT_EQ(n.x, 3);
    EXPECT_EQ(n.y, 3);
}

TEST(ImageGeometry, ListIntervalsGuardTheirDurations) {
    EXPECT_EQ(listInterval(2.5), 2000);  // whole seconds, half to even
    EXPECT_EQ(listInterval(3.5), 4000);
    EXPECT_EQ(listInterval(0), 1000);
    EXPECT_EQ(listInterval(-1), 1000);
    EXPECT_EQ(listInterval(40000), 32767000);
    EXPECT_EQ(listIntervalExact(2.5), 2500);
    EXPECT_EQ(listIntervalExact(0.2), 1000);
    EXPECT_EQ(listIntervalExact(-3), 1000);
    EXPECT_EQ(toPos16(40000), 32767);
    EXPECT_EQ(toPos16(-40000), -32768);
}

}  // namespace
}  // namespace kavrel
