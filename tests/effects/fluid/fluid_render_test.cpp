// One Fluid step on a frame alone, with a scripted generator.
#include <gtest/gtest.h>

#include <deque>

#include "effects/fluid/fluid_render.h"
#include "platform/drawing/surface.h"

namespace kavrel {
namespace {

constexpr uint32_t kMain = platform::rgb(200, 0, 0);
constexpr uint32_t kSec = platform::rgb(0, 0, 200);

EffectRecord fluid(int16_t direction, int16_t level, uint32_t main = kMain, uint32_t sec = kSec) {
    EffectRecord e;
    e.type = static_cast<int16_t>(EffectType::Fluid);
    e.color1 = main;
    e.color2 = sec;
    e.direction = direction;
    e.level = level;
    return e;
}

// Light (x, y) holds grey 10 * (y * cols + x) + 1.
Frame numbered(int cols, int rows) {
    Frame f(cols, rows);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x) {
            const auto v = static_cast<uint8_t>(10 * (y * cols + x) + 1);
            f.setRgb(x, y, v, v, v);
        }
    return f;
}

TEST(FluidRender, RoughnessZeroFillsWithTheMainColour) {
    Frame f = numbered(12, 12);
    platform::Random random;
    for (int i = 0; i < 11; ++i) renderFluid(f, fluid(1, 0), 12, 12, random, 1.0);
    EXPECT_NE(f.rgb(5, 0), kMain);  // one row of the old picture is left
    renderFluid(f, fluid(1, 0), 12, 12, random, 1.0);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) ASSERT_EQ(f.rgb(x, y), kMain) << x << "," << y;
}

TEST(FluidRender, BlendsByRoughnessAndEqualColoursStay) {
    Frame f(2, 2);
    platform::Random random;
    random.script({0.5, 0.0});
    renderFluid(f, fluid(5, 50), 2, 2, random, 1.0);
    EXPECT_EQ(f.rgb(0, 0), platform::rgb(150, 0, 50));
    EXPECT_EQ(f.rgb(1, 0), kMain);

    const uint32_t same = platform::rgb(10, 99, 250);
    random.script({0.9, 0.3});
    renderFluid(f, fluid(5, 100, same, same), 2, 2, random, 1.0);
    EXPECT_EQ(f.rgb(0, 0), same);
    EXPECT_EQ(f.rgb(1, 0), same);
    EXPECT_EQ(f.rgb(0, 1), platform::rgb(150, 0, 50));  // moved down
}

TEST(FluidRender, EachDirectionMovesAwayFromItsFeedEdge) {
    struct Case {
        int16_t dir;
        int fedX, fedY;      // a light of the new line
        int movedX, movedY;  // takes the old colour of (fromX, fromY)
        int fromX, fromY;
    } cases[] = {
        {1, 1, 2, 1, 0, 1, 1}, {3, 2, 1, 0, 1, 1, 1}, {5, 1, 0, 1, 2, 1, 1}, {7, 0, 1, 2, 1, 1, 1}};
    for (const Case& c : cases) {
        const Frame before = numbered(3, 3);
        Frame f = before;
        platform::Random random;
        renderFluid(f, fluid(c.dir, 0), 3, 3, random, 1.0);
        EXPECT_EQ(random.draws(), 3u);
        EXPECT_EQ(f.rgb(c.fedX, c.fedY), kMain) << c.dir;
        EXPECT_EQ(f.rgb(c.movedX, c.movedY), before.rgb(c.fromX, c.fromY)) << c.dir;
    }
}

TEST(FluidRender, OneRowIsReplacedAndOtherDirectionsFreeze) {
    for (int16_t dir : {int16_t{1}, int16_t{5}}) {
        Frame f = numbered(4, 1);
        platform::Random random;
        renderFluid(f, fluid(dir, 0), 4, 1, random, 1.0);
        for (int x = 0; x < 4; ++x) EXPECT_EQ(f.rgb(x, 0), kMain) << dir;
    }
    for (int16_t dir : {int16_t{0}, int16_t{2}, int16_t{8}, int16_t{-7}}) {
        const Frame before = numbered(4, 3);
        Frame f = before;
        platform::Random random;
        renderFluid(f, fluid(dir, 60), 4, 3, random, 1.0);
        EXPECT_EQ(f, before) << dir;
        EXPECT_EQ(random.draws(), 3u) << dir;  // one number per row
    }
}

TEST(FluidRender, RoughnessOutsideTheSliderIsClampedToBytes) {
    Frame f(1, 1);
    platform::Random random;
    random.script({0.5});  // t = -0.5: main 1.5 x, secondary -0.5 x
    renderFluid(f, fluid(1, -100), 1, 1, random, 1.0);
    EXPECT_EQ(f.rgb(0, 0), platform::rgb(255, 0, 0));
    random.script({0.9});  // t = 2.7
    renderFluid(f, fluid(1, 300), 1, 1, random, 1.0);
    EXPECT_EQ(f.rgb(0, 0), platform::rgb(0, 0, 255));
}

}  // namespace
}  // namespace kavrel
