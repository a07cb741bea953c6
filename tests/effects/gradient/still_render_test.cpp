#include <gtest/gtest.h>

#include <functional>

#include "effects/color/color_effect.h"
#include "effects/gradient/gradient_effect.h"
#include "effects/paint/paint_effect.h"
#include "platform/drawing/system_colors.h"

namespace kavrel {
namespace {

constexpr uint32_t kFrom = platform::rgb(10, 20, 30);
constexpr uint32_t kTo = platform::rgb(250, 0, 128);

class StillRender : public ::testing::Test {
  protected:
    void use(int cols, int rows, int16_t direction) {
        bank.frame.resize(cols, rows);
        bank.eff.assign(1, EffectRecord{});
        bank.curEff = 0;
        bank.eff[0].color1 = kFrom;
        bank.eff[0].color2 = kTo;
        bank.eff[0].direction = direction;
    }

    // Every light for which `where` holds shows `color`.
    void expectLights(int cols, int rows, const std::function<bool(int, int)>& where,
                      uint32_t color) const {
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < cols; ++x) {
                if (where(x, y)) {
                    EXPECT_EQ(bank.frame.rgb(x, y), color) << x << "," << y;
                }
            }
    }

    BankState bank{'A'};
};

TEST_F(StillRender, FillColorPaintsColor1AndInvalidEntryBlack) {
    use(4, 3, 0);
    renderColor(bank, 4, 3);
    expectLights(
        4, 3, [](int, int) { return true; }, kFrom);
    EXPECT_EQ(bank.frame.rgb(4, 3), 0u);  // spare light untouched

    bank.curEff = 5;
    renderColor(bank, 4, 3);
    expectLights(
        4, 3, [](int, int) { return true; }, 0u);
}

TEST_F(StillRender, GradientEndpointsPerDirection) {
    const int w = 6, h = 4;
    struct Case {
        int16_t direction;
        std::function<bool(int, int)> start, end;
    };
    const Case cases[] = {
        {1, [](int, int y) { return y == 3; }, [](int, int y) { return y == 0; }},
        {5, [](int, int y) { return y == 0; }, [](int, int y) { return y == 3; }},
        {3, [](int x, int) { return x == 5; }, [](int x, int) { return x == 0; }},
        {7, [](int x, int) { return x == 0; }, [](int x, int) { return x == 5; }},
        {2, [](int x, int y) { return x == 5 && y == 3; }, [](int x, int y) { return x + y == 0; }},
        {4, [](int x, int y) { return x == 5 && y == 0; },
         [](int x, int y) { return x == 0 && y == 3; }},
        {6, [](int x, int y) { return x + y == 0; }, [](int x, int y) { return x == 5 && y == 3; }},
        {8, [](int x, int y) { return x == 0 && y == 3; },
         [](int x, int y) { return x == 5 && y == 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.direction);
        use(w, h, c.direction);
        ASSERT_TRUE(renderGradient(bank, w, h));
        expectLights(w, h, c.start, kFrom);
        expectLights(w, h, c.end, kTo);
    }
}

TEST_F(StillRender, GradientFromAndToTheCentre) {
    const auto corner = [](int x, int y) { return (x == 0 || x == 4) && (y == 0 || y == 4); };
    const auto centre = [](int x, int y) { return x == 2 && y == 2; };
    use(5, 5, 9);
    ASSERT_TRUE(renderGradient(bank, 5, 5));
    expectLights(5, 5, centre, kFrom);
    expectLights(5, 5, corner, kTo);
    EXPECT_EQ(bank.frame.rgb(1, 2), bank.frame.rgb(2, 3));  // same distance, same colour

    use(5, 5, 10);
    ASSERT_TRUE(renderGradient(bank, 5, 5));
    expectLights(5, 5, centre, kTo);
    expectLights(5, 5, corner, kFrom);
}

TEST_F(StillRender, GradientInterpolatesWithHalfToEven) {
    use(3, 1, 7);
    bank.eff[0].color1 = platform::rgb(0, 0, 0);
    bank.eff[0].color2 = platform::rgb(1, 3, 200);
    ASSERT_TRUE(renderGradient(bank, 3, 1));
    EXPECT_EQ(bank.frame.rgb(1, 0), platform::rgb(0, 2, 100));  // 0.5 -> 0, 1.5 -> 2
}

TEST_F(StillRender, GradientOnSingleLightLinesAndCells) {
    for (int16_t d = 1; d <= 10; ++d) {
        use(1, 1, d);
        ASSERT_TRUE(renderGradient(bank, 1, 1));
        EXPECT_EQ(bank.frame.rgb(0, 0), d == 10 ? kTo : kFrom) << d;
    }
    use(1, 4, 6);  // one column: only the rows count
    ASSERT_TRUE(renderGradient(bank, 1, 4));
    EXPECT_EQ(bank.frame.rgb(0, 0), kFrom);
    EXPECT_EQ(bank.frame.rgb(0, 3), kTo);
    use(4, 1, 9);
    ASSERT_TRUE(renderGradient(bank, 4, 1));
    EXPECT_EQ(bank.frame.rgb(0, 0), kTo);
    EXPECT_EQ(bank.frame.rgb(3, 0), kTo);
}

TEST_F(StillRender, InvalidDirectionLeavesFrameUnchanged) {
    for (int16_t d : {int16_t{0}, int16_t{11}, int16_t{-1}, int16_t{32767}}) {
        use(3, 3, d);
        bank.frame.setRgb(1, 1, 7, 8, 9);
        const Frame before = bank.frame;
        EXPECT_FALSE(renderGradient(bank, 3, 3)) << d;
        EXPECT_EQ(bank.frame, before);
    }
}

TEST_F(StillRender, PaintReadsBlackOutsideASmallerPicture) {
    use(6, 4, 0);
    bank.frame.setRgb(5, 3, 1, 1, 1);
    Grid2D<uint32_t>& px = bank.eff[0].pixels;
    px.assign(2, 1, platform::rgb(1, 2, 3));  // covers x 0..2, y 0..1
    px.at(2, 1) = 0x80000005u;                // system colour
    renderPaint(bank, 6, 4);
    EXPECT_EQ(bank.frame.rgb(0, 0), platform::rgb(1, 2, 3));
    EXPECT_EQ(bank.frame.rgb(2, 1), platform::sysColor(5));
    EXPECT_EQ(bank.frame.rgb(3, 0), 0u);
    EXPECT_EQ(bank.frame.rgb(5, 3), 0u);

    bank.curEff = -1;
    renderPaint(bank, 6, 4);
    expectLights(
        6, 4, [](int, int) { return true; }, 0u);
}

TEST_F(StillRender, SizesBeyondTheFrameAreCut) {
    use(3, 2, 7);
    renderColor(bank, 1000, -5);
    renderPaint(bank, 40000, 40000);
    EXPECT_TRUE(renderGradient(bank, 99, 99));
    // The gradient is laid over the lights the frame holds.
    EXPECT_EQ(bank.frame.rgb(2, 0), kTo);
}

}  // namespace
}  // namespace kavrel
