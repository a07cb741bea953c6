#pragma once
// Where the cells of a painted picture lie on the square painting canvas, and
// which cell a canvas pixel falls in. Pure arithmetic in whole canvas pixels.
#include <cstdint>

namespace kavrel {

struct PaintGeometry {
    int64_t cell = 1;  // side of a cell's square plus the one-pixel gap
    int64_t ox = 0;    // canvas pixel of column 0's left edge
    int64_t oy = 0;    // canvas pixel of row 0's top edge
    int cols = 0;
    int rows = 0;

    // Column and row of a canvas pixel, truncated toward zero: a point up to a
    // cell left of or above the grid still falls in column or row 0.
    int64_t column(int64_t px) const;
    int64_t row(int64_t py) const;
    bool onGrid(int64_t col, int64_t row) const {
        return col >= 0 && row >= 0 && col < cols && row < rows;
    }
    // The cell's filled square, both corners included: cell - 1 pixels a side.
    int64_t cellLeft(int64_t col) const { return col * cell + ox; }
    int64_t cellTop(int64_t row) const { return row * cell + oy; }
    int64_t cellRight(int64_t col) const { return (col + 1) * cell + ox - 2; }
    int64_t cellBottom(int64_t row) const { return (row + 1) * cell + oy - 2; }
    // The centre pixel of a column or row, rounded half to even.
    int64_t centreX(int64_t col) const;
    int64_t centreY(int64_t row) const;
};

// The geometry for a canvas of width x height inner pixels and a grid of
// cols x rows: the longer side of the grid spans the canvas less a margin of
// 5 pixels on each side, the other is centred. The cell is at least 1 pixel.
PaintGeometry paintGeometry(int width, int height, int cols, int rows);

// A canvas coordinate taken to the nearest whole pixel (half to even) as a
// 16-bit value: far-off points are pulled in to the 16-bit range, where they
// still lie off the grid; a point that is no number goes far off the top left.
int16_t nearestPixel(float v);

}  // namespace kavrel
