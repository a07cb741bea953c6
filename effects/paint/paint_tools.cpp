#include "effects/paint/paint_tools.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/runtime/convert.h"

namespace kavrel {

namespace {

// Products of four box extents (each below 2^17) need more than 64 bits.
__extension__ using Wide = __int128;

int64_t nearest(double v) {
    return static_cast<int64_t>(platform::roundHalfEven(v));
}

void paintCell(Picture& p, const PaintGeometry& g, int64_t col, int64_t row, uint32_t color) {
    if (g.onGrid(col, row)) p.set(col, row, color);
}

// The part of the box that lies on the grid; empty when lo > hi.
struct Span {
    int64_t lo, hi;
};
Span clip(int64_t a, int64_t b, int count) {
    return {std::max<int64_t>(a, 0), std::min<int64_t>(b, int64_t{count} - 1)};
}

bool inCircle(int64_t i, int64_t j, int64_t w, int64_t h) {
    const Wide di = 2 * i - w, dj = 2 * j - h;
    const Wide ww = Wide{w} * w, hh = Wide{h} * h;
    return di * di * hh + dj * dj * ww <= ww * hh;
}

bool inFilledBox(int64_t i, int64_t j, int64_t w, int64_t h) {
    return i >= 0 && j >= 0 && i <= w && j <= h && inCircle(i, j, w, h);
}

}  // namespace

CellBox cellBox(const PaintGeometry& g, CanvasPoint a, CanvasPoint b) {
    const int64_t ca = g.column(a.x), cb = g.column(b.x);
    const int64_t ra = g.row(a.y), rb = g.row(b.y);
    return {std::min(ca, cb), std::min(ra, rb), std::max(ca, cb), std::max(ra, rb)};
}

void paintLine(Picture& p, const PaintGeometry& g, CanvasPoint a, CanvasPoint b, uint32_t color) {
    if (a.x == b.x && a.y == b.y) return;
    if (std::llabs(b.x - a.x) > std::llabs(b.y - a.y)) {
        if (b.x < a.x) std::swap(a, b);
        for (int64_t i = 0; i < g.cols; ++i) {
            const int64_t cx = g.centreX(i);
            if (cx < a.x || cx > b.x) continue;
            const int64_t cy =
                nearest(static_cast<double>(a.y) + static_cast<double>(b.y - a.y) *
                                                       static_cast<double>(cx - a.x) /
                                                       static_cast<double>(b.x - a.x));
            paintCell(p, g, i, g.row(cy), color);
        }
        return;
    }
    if (b.y < a.y) std::swap(a, b);
    for (int64_t j = 0; j < g.rows; ++j) {
        const int64_t cy = g.centreY(j);
        if (cy < a.y || cy > b.y) continue;
        const int64_t cx = nearest(static_cast<double>(a.x) + static_cast<double>(b.x - a.x) *
                                                                  static_cast<double>(cy - a.y) /
                                                                  static_cast<double>(b.y - a.y));
        paintCell(p, g, g.column(cx), j, color);
    }
}

void paintRect(Picture& p, const PaintGeometry& g, const CellBox& box, bool filled,
               uint32_t color) {
    const Span xs = clip(box.c0, box.c1, g.cols), ys = clip(box.r0, box.r1, g.rows);
    for (int64_t x = xs.lo; x <= xs.hi; ++x)
        for (int64_t y = ys.lo; y <= ys.hi; ++y) {
            const bool border = x == box.c0 || x == box.c1 || y == box.r0 || y == box.r1;
            if (filled || border) p.set(x, y, color);
        }
}

void paintCircle(Picture& p, const PaintGeometry& g, const CellBox& box, bool filled,
                 uint32_t color) {
    const int64_t w = box.c1 - box.c0, h = box.r1 - box.r0;
    if (w == 0 || h == 0) return paintRect(p, g, box, true, color);
    const Span xs = clip(box.c0, box.c1, g.cols), ys = clip(box.r0, box.r1, g.rows);
    for (int64_t x = xs.lo; x <= xs.hi; ++x)
        for (int64_t y = ys.lo; y <= ys.hi; ++y) {
            const int64_t i = x - box.c0, j = y - box.r0;
            if (!inCircle(i, j, w, h)) continue;
            const bool edge = !inFilledBox(i - 1, j, w, h) || !inFilledBox(i + 1, j, w, h) ||
                              !inFilledBox(i, j - 1, w, h) || !inFilledBox(i, j + 1, w, h);
            if (filled || edge) p.set(x, y, color);
        }
}

void replaceColor(Picture& p, int cols, int rows, uint32_t from, uint32_t to) {
    for (int x = 0; x < cols; ++x)
        for (int y = 0; y < rows; ++y)
            if (p.get(x, y, 0u) == from) p.set(x, y, to);
}

void shiftLeft(Picture& p, int cols, int rows) {
    if (cols < 1) return;
    for (int y = 0; y < rows; ++y) {
        const uint32_t held = p.get(0, y, 0u);
        for (int x = 1; x < cols; ++x) p.set(x - 1, y, p.get(x, y, 0u));
        p.set(cols - 1, y, held);
    }
}

void shiftRight(Picture& p, int cols, int rows) {
    if (cols < 1) return;
    for (int y = 0; y < rows; ++y) {
        const uint32_t held = p.get(cols - 1, y, 0u);
        for (int x = cols - 2; x >= 0; --x) p.set(x + 1, y, p.get(x, y, 0u));
        p.set(0, y, held);
    }
}

void shiftUp(Picture& p, int cols, int rows) {
    if (rows < 1) return;
    for (int x = 0; x < cols; ++x) {
        const uint32_t held = p.get(x, 0, 0u);
        for (int y = 1; y < rows; ++y) p.set(x, y - 1, p.get(x, y, 0u));
        p.set(x, rows - 1, held);
    }
}

void shiftDown(Picture& p, int cols, int rows) {
    if (rows < 1) return;
    for (int x = 0; x < cols; ++x) {
        const uint32_t held = p.get(x, rows - 1, 0u);
        for (int y = rows - 2; y >= 0; --y) p.set(x, y + 1, p.get(x, y, 0u));
        p.set(x, 0, held);
    }
}

void copyCells(const Picture& from, Picture& to, int cols, int rows) {
    for (int x = 0; x < cols; ++x)
        for (int y = 0; y < rows; ++y) to.set(x, y, from.get(x, y, 0u));
}

void takeFrame(Picture& p, const Frame& frame, int cols, int rows) {
    for (int x = 0; x < cols; ++x)
        for (int y = 0; y < rows; ++y) p.set(x, y, frame.rgb(x, y));
}

void coverGrid(Picture& p, int cols, int rows) {
    if (p.cols() >= cols && p.rows() >= rows) return;
    p.resize(std::max(p.cols(), cols), std::max(p.rows(), rows), 0u);
}

}  // namespace kavrel
