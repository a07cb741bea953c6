#include "effects/paint/paint_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/runtime/convert.h"

namespace kavrel {

namespace {

constexpr int kMargin = 5;

int64_t nearest(double v) {
    return static_cast<int64_t>(platform::roundHalfEven(v));
}

}  // namespace

int64_t PaintGeometry::column(int64_t px) const {
    return platform::divTrunc(px - ox, cell);
}

int64_t PaintGeometry::row(int64_t py) const {
    return platform::divTrunc(py - oy, cell);
}

int64_t PaintGeometry::centreX(int64_t col) const {
    return nearest(static_cast<double>(ox) +
                   (static_cast<double>(col) + 0.5) * static_cast<double>(cell));
}

int64_t PaintGeometry::centreY(int64_t row) const {
    return nearest(static_cast<double>(oy) +
                   (static_cast<double>(row) + 0.5) * static_cast<double>(cell));
}

PaintGeometry paintGeometry(int width, int height, int cols, int rows) {
    PaintGeometry g;
    g.cols = std::max(cols, 0);
    g.rows = std::max(rows, 0);
    const int across = std::max(g.cols, 1), down = std::max(g.rows, 1);
    if (g.cols > g.rows) {
        g.cell = nearest(static_cast<double>(width - 2 * kMargin) / across);
    } else {
        g.cell = nearest(static_cast<double>(height - 2 * kMargin) / down);
    }
    g.cell = std::max<int64_t>(g.cell, 1);
    if (g.cols > g.rows) {
        g.ox = kMargin;
        g.oy = nearest(static_cast<double>(int64_t{height} - g.rows * g.cell) / 2);
    } else {
        g.oy = kMargin;
        g.ox = nearest(static_cast<double>(int64_t{width} - g.cols * g.cell) / 2);
    }
    return g;
}

int16_t nearestPixel(float v) {
    constexpr double lo = std::numeric_limits<int16_t>::min();
    constexpr double hi = std::numeric_limits<int16_t>::max();
    if (std::isnan(v)) return std::numeric_limits<int16_t>::min();
    return static_cast<int16_t>(std::clamp(platform::roundHalfEven(v), lo, hi));
}

}  // namespace kavrel
