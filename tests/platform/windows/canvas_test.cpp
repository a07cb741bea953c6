#include "platform/windows/canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/drawing/system_colors.h"

using namespace platform;

namespace {

constexpr Color kBack = rgb(9, 9, 9);
constexpr Color kRed = rgb(255, 0, 0);
constexpr Color kBlue = rgb(0, 0, 255);

// A canvas in pixel scale over a w x h buffer cleared to kBack.
struct Board {
    Surface surface;
    Canvas canvas{surface};
    Board(int32_t w, int32_t h) : surface(w, h, kBack) {
        canvas.setScaleMode(ScaleMode::Pixels);
        canvas.setBackColor(kBack);
    }
    int count(Color c) const {
        int n = 0;
        for (Color p : surface.pixels()) n += p == c;
        return n;
    }
};

}  // namespace

TEST(Canvas, FilledBoxIncludesBothCornersWhicheverWayRound) {
    for (bool reversed : {false, true}) {
        Board b(10, 10);
        if (reversed)
            b.canvas.Line(5, 7, 2, 3, kRed, true, true);
        else
            b.canvas.Line(2, 3, 5, 7, kRed, true, true);
        for (int32_t y = 0; y < 10; ++y)
            for (int32_t x = 0; x < 10; ++x)
                EXPECT_EQ(b.surface.at(x, y), x >= 2 && x <= 5 && y >= 3 && y <= 7 ? kRed : kBack);
    }
}

TEST(Canvas, OutlineBoxFillsItsInsideOnlyWithASolidFillStyle) {
    Board b(8, 8);
    b.canvas.Line(1, 1, 5, 4, kRed, true);
    EXPECT_EQ(b.count(kRed), 14);  // the 5 x 4 border
    EXPECT_EQ(b.surface.at(3, 2), kBack);
    b.canvas.setFillStyle(FillStyle::Solid);
    b.canvas.setFillColor(kBlue);
    b.canvas.Line(1, 1, 5, 4, kRed, true);
    EXPECT_EQ(b.count(kRed), 14);
    EXPECT_EQ(b.count(kBlue), 6);
}

TEST(Canvas, CoordinatesRoundHalfToEven) {
    Board b(10, 4);
    b.canvas.Line(2.5f, 0.5f, 6.5f, 1.5f, kRed);  // (2, 0) to (6, 2)
    EXPECT_EQ(b.surface.at(2, 0), kRed);
    EXPECT_EQ(b.surface.at(6, 2), kRed);
    EXPECT_EQ(b.surface.at(7, 2), kBack);
    EXPECT_EQ(b.count(kRed), 5);       // one pixel per column 2..6
    b.canvas.PSet(3.5f, 2.5f, kBlue);  // (4, 2)
    EXPECT_EQ(b.canvas.Point(4, 2), static_cast<int32_t>(kBlue));
    EXPECT_EQ(b.canvas.Point(4.5f, 1.5f), static_cast<int32_t>(kBlue));
}

TEST(Canvas, LinesAreTheSameBothWaysAndHaveNoGaps) {
    const float ends[][4] = {{0, 0, 11, 4}, {1, 9, 10, 2}, {3, 0, 5, 9}, {0, 0, 9, 9}};
    for (const auto& e : ends) {
        Board ab(12, 10), ba(12, 10);
        ab.canvas.Line(e[0], e[1], e[2], e[3], kRed);
        ba.canvas.Line(e[2], e[3], e[0], e[1], kRed);
        EXPECT_EQ(ab.surface.pixels(), ba.surface.pixels());
        EXPECT_EQ(ab.canvas.Point(e[0], e[1]), static_cast<int32_t>(kRed));
        EXPECT_EQ(ab.canvas.Point(e[2], e[3]), static_cast<int32_t>(kRed));
        const int steps =
            static_cast<int>(std::max(std::fabs(e[2] - e[0]), std::fabs(e[3] - e[1]))) + 1;
        EXPECT_EQ(ab.count(kRed), steps);
    }
}

TEST(Canvas, PointIsMinusOneOutside) {
    Board b(4, 3);
    b.canvas.PSet(3, 2, kRed);
    EXPECT_EQ(b.canvas.Point(3, 2), static_cast<int32_t>(kRed));
    for (auto [x, y] : {std::pair{-1.f, 0.f}, {4.f, 0.f}, {0.f, 3.f}, {-0.6f, 0.f}, {3.6f, 0.f}})
        EXPECT_EQ(b.canvas.Point(x, y), -1) << x << "," << y;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(b.canvas.Point(nan, 0), -1);
    EXPECT_EQ(b.canvas.Point(1e30f, -1e30f), -1);
}

TEST(Canvas, CircleIsSymmetricWithTheRightExtent) {
    Board b(21, 21);
    b.canvas.Circle(10, 10, 6, kRed);
    for (int32_t y = 0; y < 21; ++y)
        for (int32_t x = 0; x < 21; ++x) {
            const Color c = b.surface.at(x, y);
            EXPECT_EQ(c, b.surface.at(20 - x, y));
            EXPECT_EQ(c, b.surface.at(x, 20 - y));
            EXPECT_EQ(c, b.surface.at(y, x));
        }
    EXPECT_EQ(b.surface.at(4, 10), kRed);
    EXPECT_EQ(b.surface.at(3, 10), kBack);
    EXPECT_EQ(b.surface.at(10, 10), kBack);  // outline only

    b.canvas.setFillStyle(FillStyle::Solid);
    b.canvas.setFillColor(kBlue);
    b.canvas.Circle(10, 10, 6, kRed);
    EXPECT_EQ(b.surface.at(10, 10), kBlue);
    EXPECT_EQ(b.surface.at(4, 10), kRed);
    EXPECT_EQ(b.surface.at(0, 0), kBack);
}

TEST(Canvas, AspectSquashesOneAxis) {
    Board wide(21, 21), tall(21, 21);
    wide.canvas.Circle(10, 10, 8, kRed, 0.5f);  // radius is the horizontal half-axis
    tall.canvas.Circle(10, 10, 8, kRed, 2.0f);  // radius is the vertical half-axis
    EXPECT_EQ(wide.surface.at(2, 10), kRed);
    EXPECT_EQ(wide.surface.at(10, 6), kRed);
    EXPECT_EQ(wide.surface.at(10, 5), kBack);
    EXPECT_EQ(tall.surface.at(10, 2), kRed);
    EXPECT_EQ(tall.surface.at(6, 10), kRed);
    EXPECT_EQ(tall.surface.at(5, 10), kBack);
}

TEST(Canvas, UserTwipAndPixelScales) {
    Board b(8, 8);
    EXPECT_TRUE(b.canvas.setUserScale(0, 0, 4, 2));  // 2 pixels per unit across, 4 down
    EXPECT_EQ(b.canvas.scaleMode(), ScaleMode::User);
    b.canvas.PSet(1, 1, kRed);
    EXPECT_EQ(b.surface.at(2, 4), kRed);
    EXPECT_FLOAT_EQ(b.canvas.ScaleWidth(), 4);
    // A negative height turns the vertical axis upwards.
    EXPECT_TRUE(b.canvas.setUserScale(-4, 8, 8, -8));
    b.canvas.PSet(-4, 8, kBlue);
    EXPECT_EQ(b.surface.at(0, 0), kBlue);
    EXPECT_EQ(b.canvas.Point(-2, 4), static_cast<int32_t>(kRed));  // pixel (2, 4)
    // A scale with no extent is refused and the old one kept.
    EXPECT_FALSE(b.canvas.setUserScale(0, 0, 0, 5));
    EXPECT_FALSE(b.canvas.setUserScale(0, 0, 5, std::numeric_limits<float>::infinity()));
    EXPECT_FLOAT_EQ(b.canvas.ScaleTop(), 8);

    b.canvas.setScaleMode(ScaleMode::Twips);
    EXPECT_FLOAT_EQ(b.canvas.ScaleWidth(), 8 * 15);
    EXPECT_EQ(b.canvas.Point(30, 60), static_cast<int32_t>(kRed));  // pixel (2, 4)
    b.canvas.setScaleMode(ScaleMode::User);  // keeps the twip scale as a user scale
    EXPECT_FLOAT_EQ(b.canvas.ScaleHeight(), 8 * 15);
    EXPECT_EQ(b.canvas.Point(30, 60), static_cast<int32_t>(kRed));
}

TEST(Canvas, ClsAndSystemColoursAreTranslated) {
    Board b(3, 3);
    const Color sysFace = 0x8000000Fu;
    b.canvas.setBackColor(sysFace);
    b.canvas.Cls();
    EXPECT_EQ(b.surface.pixels(), Surface(3, 3, translateColor(sysFace)).pixels());
    b.canvas.setForeColor(0x80000008u);
    b.canvas.PSet(1, 1);
    EXPECT_EQ(b.surface.at(1, 1), translateColor(0x80000008u));
    EXPECT_EQ(b.surface.at(1, 1) >> 24, 0u);
}

TEST(Canvas, WidePenDrawsSquareDotsAndThickLines) {
    Board b(9, 9);
    b.canvas.setDrawWidth(3);
    b.canvas.PSet(4, 4, kRed);
    EXPECT_EQ(b.count(kRed), 9);
    EXPECT_EQ(b.surface.at(3, 3), kRed);
    EXPECT_EQ(b.surface.at(5, 5), kRed);
    b.canvas.Line(1, 1, 7, 1, kBlue);
    EXPECT_EQ(b.count(kBlue), 9 * 3);  // x 0..8, y 0..2
    b.canvas.setDrawWidth(0);
    EXPECT_EQ(b.canvas.DrawWidth(), 1);
}

TEST(Canvas, FarAndInvalidCoordinatesDoNotHangOrCrash) {
    Board b(6, 6);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    b.canvas.Line(nan, 0, 5, 5, kRed);
    b.canvas.Circle(3, 3, nan, kRed);
    b.canvas.Circle(3, 3, -1, kRed);
    b.canvas.PSet(nan, nan, kRed);
    EXPECT_EQ(b.count(kRed), 0);
    b.canvas.Line(-1e30f, 2, 1e30f, 2, kRed);
    EXPECT_EQ(b.count(kRed), 6);
    b.canvas.setFillStyle(FillStyle::Solid);
    b.canvas.setFillColor(kBlue);
    b.canvas.Circle(3, 3, 1e30f, kRed);  // the buffer lies inside the circle
    EXPECT_EQ(b.count(kBlue), 36);
    b.canvas.setDrawWidth(32767);
    b.canvas.Line(-1e9f, -1e9f, 1e9f, 1e9f, kRed);
    EXPECT_EQ(b.count(kRed), 36);
}
