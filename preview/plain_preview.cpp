#include "preview/plain_preview.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/convert.h"

namespace kavrel {

namespace {

// The geometry's values fit 16 bits for any real drawing area; one that
// would not is cut rather than wrapped.
int16_t to16(int64_t v) {
    return static_cast<int16_t>(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX));
}

int64_t rounded(double v) {
    return static_cast<int64_t>(platform::roundHalfEven(v));
}

}  // namespace

CellGeometry plainGeometry(float scaleW, float scaleH, int cols, int rows) {
    CellGeometry g;
    cols = std::max(cols, 1);
    rows = std::max(rows, 1);
    g.cellWidth = to16(platform::divTrunc(rounded(double{scaleW} - 10), cols));
    g.cellHeight = to16(platform::divTrunc(rounded(double{scaleH} - 10), rows));
    g.offsetX = to16(
        platform::divTrunc(rounded(double{scaleW} - static_cast<double>(g.cellWidth) * cols), 2));
    g.offsetY = to16(
        platform::divTrunc(rounded(double{scaleH} - static_cast<double>(g.cellHeight) * rows), 2));
    return g;
}

void drawPlainCell(platform::Surface& surface, const CellGeometry& g, int x, int y,
                   platform::Color c) {
    const int64_t px = int64_t{x} * g.cellWidth + g.offsetX;
    const int64_t py = int64_t{y} * g.cellHeight + g.offsetY;
    const int64_t qx = px + g.cellWidth - 2, qy = py + g.cellHeight - 2;
    // A box's corners may come in either order; both corners are inside it.
    const int64_t x0 = std::max<int64_t>(std::min(px, qx), 0);
    const int64_t x1 = std::min<int64_t>(std::max(px, qx), int64_t{surface.width()} - 1);
    const int64_t y0 = std::max<int64_t>(std::min(py, qy), 0);
    const int64_t y1 = std::min<int64_t>(std::max(py, qy), int64_t{surface.height()} - 1);
    for (int64_t yy = y0; yy <= y1; ++yy)
        for (int64_t xx = x0; xx <= x1; ++xx)
            surface.set(static_cast<int32_t>(xx), static_cast<int32_t>(yy), c);
}

int drawChangedCells(platform::Surface& surface, const CellGeometry& g, const Frame& frameM,
                     Frame& drawn, int cols, int rows) {
    int count = 0;
    for (int x = 0; x < cols; ++x) {
        for (int y = 0; y < rows; ++y) {
            const uint8_t r = frameM.at(x, y, 0), gr = frameM.at(x, y, 1), b = frameM.at(x, y, 2);
            if (r == drawn.at(x, y, 0) && gr == drawn.at(x, y, 1) && b == drawn.at(x, y, 2))
                continue;
            drawPlainCell(surface, g, x, y, platform::rgb(r, gr, b));
            drawn.at(x, y, 0) = r;
            drawn.at(x, y, 1) = gr;
            drawn.at(x, y, 2) = b;
            ++count;
        }
    }
    return count;
}

void drawAllCells(platform::Surface& surface, const CellGeometry& g, const Frame& frameM, int cols,
                  int rows) {
    surface.fill(platform::rgb(0, 0, 0));
    for (int x = 0; x < cols; ++x)
        for (int y = 0; y < rows; ++y) drawPlainCell(surface, g, x, y, frameM.rgb(x, y));
}

}  // namespace kavrel
