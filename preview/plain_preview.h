#pragma once
// Drawing the output frame as a grid of filled boxes on the plain preview
// window: the cell geometry for a drawing area, the changed-cells update and
// the full redraw.
#include <cstdint>

#include "core/frame.h"
#include "platform/drawing/surface.h"

namespace kavrel {

struct CellGeometry {
    int16_t cellWidth = 0;
    int16_t cellHeight = 0;
    int16_t offsetX = 0;
    int16_t offsetY = 0;
};

// Cells for a drawing area of scaleW x scaleH pixels with at least 10 pixels
// of margin in all per direction, the grid centred. cols and rows are >= 1.
CellGeometry plainGeometry(float scaleW, float scaleH, int cols, int rows);

// Light (x, y) as a box from its cell corner to two pixels short of the next
// cell, filled with its colour.
void drawPlainCell(platform::Surface& surface, const CellGeometry& g, int x, int y,
                   platform::Color c);

// Draws the lights whose colour differs from `drawn` and copies them into
// it. Returns how many were drawn.
int drawChangedCells(platform::Surface& surface, const CellGeometry& g, const Frame& frameM,
                     Frame& drawn, int cols, int rows);

// Black, then every light; `drawn` is left alone.
void drawAllCells(platform::Surface& surface, const CellGeometry& g, const Frame& frameM, int cols,
                  int rows);

}  // namespace kavrel
