#include "platform/surface.h"

#include <algorithm>

namespace platform {

Surface::Surface(int32_t width, int32_t height, Color fill)
    : width_(std::max<int32_t>(0, width)),
      height_(std::max<int32_t>(0, height)),
      px_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill) {}

void Surface::fill(Color c) {
    std::fill(px_.begin(), px_.end(), c);
}

void Surface::resize(int32_t width, int32_t height, Color fill) {
    width = std::max<int32_t>(0, width);
    height = std::max<int32_t>(0, height);
    if (width == width_ && height == height_) return;
    std::vector<Color> next(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
    const int32_t w = std::min(width, width_);
    const int32_t h = std::min(height, height_);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            next[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                at(x, y);
    px_ = std::move(next);
    width_ = width;
    height_ = height;
}

}  // namespace platform
