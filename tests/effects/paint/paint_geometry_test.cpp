#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "effects/paint/paint_geometry.h"

namespace kavrel {
namespace {

constexpr int kCanvas = 273;

TEST(PaintGeometry, SquareAndTallGridsSpanTheHeightAndCentreAcross) {
    struct Case {
        int cols, rows;
        int64_t cell, ox, oy;
    };
    // cell = nearest((273 - 10) / longer side); the other offset centres the grid.
    for (const Case& c : {Case{12, 12, 22, 4, 5},  // (273 - 264) / 2 = 4.5 -> 4
                          Case{1, 1, 263, 5, 5}, Case{50, 50, 5, 12, 5}, Case{10, 20, 13, 72, 5}}) {
        const PaintGeometry g = paintGeometry(kCanvas, kCanvas, c.cols, c.rows);
        EXPECT_EQ(g.cell, c.cell) << c.cols << "x" << c.rows;
        EXPECT_EQ(g.ox, c.ox) << c.cols << "x" << c.rows;
        EXPECT_EQ(g.oy, c.oy) << c.cols << "x" << c.rows;
    }
}

TEST(PaintGeometry, WideGridsSpanTheWidthAndCentreDown) {
    const PaintGeometry g = paintGeometry(kCanvas, kCanvas, 20, 10);
    EXPECT_EQ(g.cell, 13);  // 263 / 20 = 13.15
    EXPECT_EQ(g.ox, 5);
    EXPECT_EQ(g.oy, 72);  // (273 - 130) / 2 = 71.5 -> 72
}

TEST(PaintGeometry, CellSquaresLeaveOnePixelGap) {
    const PaintGeometry g = paintGeometry(kCanvas, kCanvas, 12, 12);
    EXPECT_EQ(g.cellLeft(0), 4);
    EXPECT_EQ(g.cellRight(0), 24);  // 21 pixels: cell - 1
    EXPECT_EQ(g.cellLeft(1), 26);   // pixel 25 is the gap
    EXPECT_EQ(g.cellTop(11), 247);
    EXPECT_EQ(g.cellBottom(11), 267);
    EXPECT_EQ(g.centreX(0), 15);
    EXPECT_EQ(g.centreY(2), 60);
}

TEST(PaintGeometry, PixelsMapToCellsTruncatingTowardZero) {
    const PaintGeometry g = paintGeometry(kCanvas, kCanvas, 20, 10);
    // Left of the grid by less than a cell: still column 0.
    EXPECT_EQ(g.column(2), 0);
    EXPECT_EQ(g.column(5 - 12), 0);
    EXPECT_EQ(g.column(5 - 13), -1);
    EXPECT_EQ(g.column(-10), -1);  // more than a cell left: column -1
    EXPECT_EQ(g.column(5 + 13 * 19 + 12), 19);
    EXPECT_EQ(g.column(5 + 13 * 20), 20);
    EXPECT_FALSE(g.onGrid(20, 0));
    EXPECT_FALSE(g.onGrid(0, 10));
    EXPECT_TRUE(g.onGrid(19, 9));
    // Cell borders: the last pixel of a cell's span and the first of the next.
    EXPECT_EQ(g.row(72 + 12), 0);
    EXPECT_EQ(g.row(72 + 13), 1);
}

TEST(PaintGeometry, NearestPixelRoundsHalfToEvenAndStaysIn16Bits) {
    EXPECT_EQ(nearestPixel(14.5f), 14);
    EXPECT_EQ(nearestPixel(15.5f), 16);
    EXPECT_EQ(nearestPixel(-0.5f), 0);
    EXPECT_EQ(nearestPixel(-1.5f), -2);
    EXPECT_EQ(nearestPixel(24.49f), 24);
    EXPECT_EQ(nearestPixel(1e9f), 32767);
    EXPECT_EQ(nearestPixel(-1e9f), -32768);
    EXPECT_EQ(nearestPixel(std::numeric_limits<float>::infinity()), 32767);
    EXPECT_EQ(nearestPixel(std::nanf("")), -32768);
}

}  // namespace
}  // namespace kavrel
