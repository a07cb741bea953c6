#include "platform/drawing/surface.h"

#include <algorithm>
#include <utility>

namespace platform {

Surface::Surface(int32_t width, int32_t height, Color fill)
    : width_(std::max<int32_t>(0, width)),
      height_(std::max<int32_t>(0, height)),
      own_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill) {
    relink();
}

Surface::Surface(const Surface& other)
    : width_(other.width_), height_(other.height_), own_(other.own_), shared_(other.shared_) {
    relink();
}

Surface::Surface(Surface&& other) noexcept
    : width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      own_(std::move(other.own_)),
      shared_(std::move(other.shared_)) {
    other.own_.clear();
    other.relink();
    relink();
}

Surface& Surface::operator=(const Surface& other) {
    if (this == &other) return *this;
    width_ = other.width_;
    height_ = other.height_;
    if (other.shared_) {
        own_ = {};
    } else {
        own_ = other.own_;  // reuses this buffer's storage when it is large enough
    }
    shared_ = other.shared_;
    relink();
    return *this;
}

Surface& Surface::operator=(Surface&& other) noexcept {
    if (this == &other) return *this;
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    own_ = std::move(other.own_);
    shared_ = std::move(other.shared_);
    other.own_.clear();
    other.relink();
    relink();
    return *this;
}

void Surface::share() {
    if (shared_) return;
    shared_ = std::make_shared<const std::vector<Color>>(std::move(own_));
    own_ = {};
    relink();
}

void Surface::unshare() {
    own_ = *shared_;
    shared_.reset();
    relink();
}

void Surface::fill(Color c) {
    if (shared_) {
        // Every pixel is overwritten: nothing of the shared pixels is needed.
        own_.assign(shared_->size(), c);
        shared_.reset();
        relink();
        return;
    }
    std::fill(own_.begin(), own_.end(), c);
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
    own_ = std::move(next);
    shared_.reset();
    width_ = width;
    height_ = height;
    relink();
}

}  // namespace platform
