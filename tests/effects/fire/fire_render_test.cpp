// One Fire frame on a frame alone, with a scripted generator.
#include <gtest/gtest.h>

#include <deque>

#include "effects/fire/fire_render.h"
#include "platform/drawing/surface.h"

namespace kavrel {
namespace {

constexpr double kNearOne = 0.9999999;
constexpr uint32_t kMark = platform::rgb(1, 2, 3);

EffectRecord fire(uint32_t main, uint32_t sec, int16_t level) {
    EffectRecord e;
    e.type = static_cast<int16_t>(EffectType::Fire);
    e.color1 = main;
    e.color2 = sec;
    e.level = level;
    return e;
}

Frame marked(int cols, int rows) {
    Frame f(cols, rows);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x) f.setRgb(x, y, 1, 2, 3);
    return f;
}

TEST(FireRender, TopRowByLevel) {
    const struct {
        int lo, hi;
        int64_t top;
    } table[] = {{1, 12, 11}, {13, 24, 10}, {25, 37, 9}, {38, 49, 8},  {50, 62, 7},
                 {63, 74, 6}, {75, 87, 5},  {88, 99, 4}, {100, 100, 3}};
    for (const auto& t : table)
        for (int level = t.lo; level <= t.hi; ++level)
            EXPECT_EQ(fireTopRow(level, 12), t.top) << level;
    EXPECT_EQ(fireTopRow(87, 50), 21);
    EXPECT_EQ(fireTopRow(100, 1), 0);
    EXPECT_EQ(fireTopRow(100, 3), 0);
    EXPECT_LT(fireTopRow(150, 12), 0);
}

TEST(FireRender, LevelZeroOrLessIsBlackWithoutRandomNumbers) {
    for (int16_t level : {int16_t{0}, int16_t{-5}}) {
        Frame f = marked(4, 3);
        platform::Random random;
        renderFire(f, fire(platform::rgb(255, 255, 255), 0, level), 4, 3, random, 100.0);
        EXPECT_EQ(random.draws(), 0u);
        EXPECT_EQ(f, Frame(4, 3));
    }
}

TEST(FireRender, OneLightInThreeFromTheRandomStart) {
    // 3 x 2 from k = 1: only the last light of each row is recomputed.
    Frame f = marked(3, 2);
    platform::Random random;
    random.script({0.4, kNearOne, 0.0, kNearOne, 0.0});
    renderFire(f, fire(platform::rgb(255, 255, 255), 0, 100), 3, 2, random, 5.0);
    EXPECT_EQ(random.draws(), 5u);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(f.rgb(0, y), kMark);
        EXPECT_EQ(f.rgb(1, y), kMark);
    }
    // Rows 2, topRow 1 - 1 = 0, n = 2: main weight 0.5^(1/2) in the bottom row.
    EXPECT_EQ(f.rgb(2, 1), platform::rgb(180, 180, 180));
    EXPECT_EQ(f.rgb(2, 0), platform::rgb(127, 127, 127));
}

TEST(FireRender, CutOffActsOnEachComponent) {
    // One row, level 100: n = 1, the main weight is one half.
    Frame f(1, 1);
    platform::Random random;
    random.script({0.0, kNearOne, 0.0});
    renderFire(f, fire(platform::rgb(138, 140, 0), 0, 100), 1, 1, random, 5.0);
    EXPECT_EQ(f.rgb(0, 0), platform::rgb(0, 70, 0));  // 69 -> 0, 70 stays
}

TEST(FireRender, LevelOneLeavesAllButTheBottomRowBlack) {
    Frame f = marked(12, 12);
    platform::Random random;
    std::deque<double> near(1 + 12 * 12 * 2, kNearOne);
    near.front() = 0.0;  // every light from k = 0 ... then every third
    random.script(near);
    renderFire(f, fire(platform::rgb(255, 255, 255), platform::rgb(255, 255, 255), 1), 12, 12,
               random, 5.0);
    // Bottom row: 255 x (0.5 + 2/3 x 0.4) at most; each row above halves the
    // main weight and takes 0.4 of the secondary one, so from row 9 up every
    // light falls below the cut-off.
    EXPECT_EQ(f.rgb(0, 11), platform::rgb(195, 195, 195));
    EXPECT_EQ(f.rgb(0, 10), platform::rgb(91, 91, 91));
    EXPECT_EQ(f.rgb(0, 9), 0u);
    EXPECT_EQ(f.rgb(3, 0), 0u);
    EXPECT_EQ(f.rgb(1, 10), kMark);  // not recomputed this frame
}

TEST(FireRender, BlackMainWhiteSecondaryBodyIsBlackOrFaintGrey) {
    Frame f(3, 4);
    platform::Random random;  // the real generator
    for (int i = 0; i < 30; ++i)
        renderFire(f, fire(0, platform::rgb(255, 255, 255), 100), 3, 4, random, 7.0 + i);
    // Level 100 on 4 rows: topRow 1, so rows 2 and 3 are body.
    for (int y = 2; y < 4; ++y)
        for (int x = 0; x < 3; ++x) {
            const uint8_t v = f.get(x, y, 0);
            EXPECT_TRUE(v == 0 || (v >= 70 && v <= 85)) << int{v};
        }
}

TEST(FireRender, SmallGridsAndLevelsBeyondTheSliderStayInRange) {
    for (int rows : {1, 3}) {
        Frame f(5, rows);
        platform::Random random;
        renderFire(f, fire(platform::rgb(255, 128, 0), platform::rgb(255, 255, 255), 100), 5, rows,
                   random, 9.0);
        EXPECT_GT(random.draws(), 0u);
    }
    Frame f(4, 4);
    platform::Random random;
    random.script({0.0});
    renderFire(f, fire(platform::rgb(255, 255, 255), platform::rgb(255, 255, 255), 32767), 4, 4,
               random, 9.0);
    EXPECT_EQ(f.rgb(4, 4), 0u);  // the spare light is never written
    EXPECT_GT(f.get(0, 3, 0), 0);
}

}  // namespace
}  // namespace kavrel
