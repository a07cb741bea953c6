// One BeamShow frame on a bank state alone, with a scripted generator.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "effects/beam_show/beam_render.h"
#include "platform/drawing/surface.h"

namespace kavrel {
namespace {

constexpr uint32_t kBack = platform::rgb(5, 5, 5);
constexpr uint32_t kC0 = platform::rgb(0, 255, 0);
constexpr uint32_t kC1 = platform::rgb(255, 0, 0);
constexpr uint32_t kC2 = platform::rgb(0, 0, 255);

class BeamRender : public ::testing::Test {
  protected:
    void grid(int cols, int rows) {
        c = cols;
        r = rows;
        bank.frame.resize(cols, rows);
    }
    void beams(std::vector<int32_t> types) {
        e.color1 = kBack;
        e.colors = {kC0, kC1, kC2, platform::rgb(255, 255, 0), 0};
        types.resize(5, -1);
        e.colorValues = types;
    }
    void draw() { renderBeamShow(bank, e, c, r, random, 12.0); }
    // The lights showing `colour`, row by row.
    std::vector<std::pair<int, int>> lit(uint32_t colour) const {
        std::vector<std::pair<int, int>> out;
        for (int y = 0; y < r; ++y)
            for (int x = 0; x < c; ++x)
                if (bank.frame.rgb(x, y) == colour) out.emplace_back(x, y);
        return out;
    }

    BankState bank{'A'};
    EffectRecord e;
    platform::Random random;
    int c = 0, r = 0;
};

TEST_F(BeamRender, BeamsOffOrOfUnknownTypeShowTheBackground) {
    grid(4, 3);
    for (const std::vector<int32_t>& types :
         {std::vector<int32_t>{-1, -1, -1, -1}, std::vector<int32_t>{4, -2, 77, -32768}}) {
        beams(types);
        draw();
        EXPECT_EQ(lit(kBack).size(), 12u);
    }
}

TEST_F(BeamRender, LinesDownReachTheirEndOnlyWhenFalling) {
    grid(10, 10);
    beams({0});
    random.script({0.5, 0.0, 0.95});  // down, xa = 0, xb = 9
    draw();
    std::vector<std::pair<int, int>> rising;
    for (int y = 0; y < 10; ++y) rising.emplace_back(y == 0 ? 0 : y - 1, y);
    std::vector<std::pair<int, int>> got = lit(kC0);
    std::sort(got.begin(), got.end(), [](auto a, auto b) { return a.second < b.second; });
    EXPECT_EQ(got, rising);

    random.script({0.5, 0.95, 0.0});  // xa = 9, xb = 0
    draw();
    got = lit(kC0);
    std::sort(got.begin(), got.end(), [](auto a, auto b) { return a.second < b.second; });
    std::vector<std::pair<int, int>> falling;
    for (int y = 0; y < 10; ++y) falling.emplace_back(9 - y, y);
    EXPECT_EQ(got, falling);

    // Across with ya = yb: one straight row.
    random.script({0.0, 0.35, 0.35});
    draw();
    EXPECT_EQ(lit(kC0).size(), 10u);
    EXPECT_EQ(lit(kC0).front(), std::make_pair(0, 3));
    EXPECT_EQ(lit(kC0).back(), std::make_pair(9, 3));
}

TEST_F(BeamRender, SweepsMoveBeforeDrawingAndBounce) {
    grid(3, 2);
    beams({2, -1, 3});
    bank.laserDir = {1, 0, 1, 0, 0};
    std::vector<int16_t> rows, cols;
    for (int i = 0; i < 4; ++i) {
        draw();
        rows.push_back(bank.laserPos[0]);
        cols.push_back(bank.laserPos[2]);
        EXPECT_EQ(lit(kC0).size(), 2u);  // the vertical beam covers one light of it
        EXPECT_EQ(lit(kC2).size(), 2u);
    }
    EXPECT_EQ(rows, (std::vector<int16_t>{1, 0, 1, 0}));
    EXPECT_EQ(cols, (std::vector<int16_t>{1, 2, 1, 0}));
}

TEST_F(BeamRender, OneRowOrColumnAndStalePositionsStayInside) {
    grid(4, 1);
    beams({2});
    bank.laserPos[0] = 7;
    draw();
    EXPECT_EQ(bank.laserPos[0], 0);
    EXPECT_EQ(lit(kC0).size(), 4u);

    grid(5, 10);
    beams({2, 3});
    bank.laserPos = {30, -4, 0, 0, 0};  // the matrix shrank under them
    bank.laserDir = {1, 1, 0, 0, 0};
    draw();
    EXPECT_EQ(bank.laserPos[0], 8);       // brought to row 9, then turned
    EXPECT_EQ(bank.laserPos[1], 1);       // brought to column 0, then on
    EXPECT_EQ(bank.frame.rgb(5, 9), 0u);  // nothing beyond the grid
}

TEST_F(BeamRender, LaterBeamsWinAndShortArraysAreOff) {
    grid(4, 4);
    beams({2, -1, 2});
    bank.laserDir = {1, 0, 1, 0, 0};
    draw();
    EXPECT_TRUE(lit(kC0).empty());
    EXPECT_EQ(lit(kC2).size(), 4u);

    beams({1, 1});
    e.colors.resize(1);  // beam 1 has a type but no colour
    e.colorValues = {0};
    random.script({0.0, 0.0, 0.0});
    draw();
    EXPECT_EQ(lit(kC0).size(), 4u);  // the line across row 0
    EXPECT_EQ(lit(kBack).size(), 12u);
}

TEST(BeamArrays, GrowingKeepsWhatIsThereAndAddsDefaults) {
    EffectRecord e;
    e.colors = {platform::rgb(1, 1, 1), platform::rgb(2, 2, 2)};
    e.colorValues = {3};
    growBeams(e);
    EXPECT_EQ(e.colors, (std::vector<uint32_t>{platform::rgb(1, 1, 1), platform::rgb(2, 2, 2), kC2,
                                               platform::rgb(255, 255, 0), 0}));
    EXPECT_EQ(e.colorValues, (std::vector<int32_t>{3, -1, -1, -1, 0}));
    const EffectRecord grown = e;
    growBeams(e);
    EXPECT_EQ(e.colors, grown.colors);
}

}  // namespace
}  // namespace kavrel
