#pragma once
// The painting tools and picture operations on a picture of cols x rows cells
// (one 0x00BBGGRR colour per cell). Cells off the grid are never written, and
// the work done is bounded by the grid, however far off the points lie.
#include <cstdint>

#include "core/frame.h"
#include "core/grid2d.h"
#include "effects/paint/paint_geometry.h"

namespace kavrel {

using Picture = Grid2D<uint32_t>;

// A canvas pixel.
struct CanvasPoint {
    int64_t x = 0;
    int64_t y = 0;
};

// A box of cells, corners sorted: c0 <= c1, r0 <= r1. It may reach off the grid.
struct CellBox {
    int64_t c0 = 0, r0 = 0, c1 = 0, r1 = 0;
};

// The box whose corner cells are the cells of the two canvas pixels.
CellBox cellBox(const PaintGeometry& g, CanvasPoint a, CanvasPoint b);

// A line through the cell centres: one cell per column when it runs wider
// than high, else one per row, for the columns (rows) whose centre lies
// between the end points, both included. Equal end points paint nothing.
void paintLine(Picture& p, const PaintGeometry& g, CanvasPoint a, CanvasPoint b, uint32_t color);
// Every cell of the box, or only its border cells.
void paintRect(Picture& p, const PaintGeometry& g, const CellBox& box, bool filled, uint32_t color);
// The circle (ellipse) that fills the box: with w = c1 - c0, h = r1 - r0, box
// cell (i, j) lies in it when (2i - w)^2 h^2 + (2j - h)^2 w^2 <= w^2 h^2; a
// box one cell wide or high is filled whole. The outline keeps the cells of
// the filled circle with a 4-neighbour outside it or outside the box.
void paintCircle(Picture& p, const PaintGeometry& g, const CellBox& box, bool filled,
                 uint32_t color);
// Every cell of exactly colour `from` becomes `to`.
void replaceColor(Picture& p, int cols, int rows, uint32_t from, uint32_t to);

// Wrap-around shifts by one cell.
void shiftLeft(Picture& p, int cols, int rows);
void shiftRight(Picture& p, int cols, int rows);
void shiftUp(Picture& p, int cols, int rows);
void shiftDown(Picture& p, int cols, int rows);

// Copies the cells of cols x rows from one picture to another.
void copyCells(const Picture& from, Picture& to, int cols, int rows);
// Every cell the colour of the frame's light (red + 256 green + 65536 blue).
void takeFrame(Picture& p, const Frame& frame, int cols, int rows);
// Grows the picture to hold every cell of cols x rows (and the spare ones),
// keeping what it holds; new cells are black.
void coverGrid(Picture& p, int cols, int rows);

}  // namespace kavrel
